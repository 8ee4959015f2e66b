#include "convert/outputformat.h"

#include "convert/failure.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace quorvel {

namespace {

// The shortest buffer that holds "-d.<40 digits>e-308" and the general form.
constexpr int kMaxDecimals = 40;
constexpr std::size_t kBufferSize = 64;

// The largest magnitude whose 15-digit text still reads back as a double:
// rounding anything above it gives 1.79769313486232E+308, beyond the range.
constexpr double kLargestPlain = 1.79769313486231e308;

QString withSeparator(std::string_view text, const QLocale &locale)
{
    const QString separator = locale.decimalPoint();
    QString result;
    result.reserve(int(text.size()) + separator.size());
    for (char c : text) {
        if (c == '.')
            result += separator;
        else
            result += QLatin1Char(c);
    }
    return result;
}

} // namespace

double multiplyChecked(double value, double factor)
{
    if (!std::isfinite(value) || !std::isfinite(factor))
        throw Failure(FailureKind::Overflow);
    const double product = value * factor;
    if (!std::isfinite(product))
        throw Failure(FailureKind::Overflow);
    return product;
}

double divideChecked(double value, double divisor)
{
    if (!std::isfinite(value) || !std::isfinite(divisor))
        throw Failure(FailureKind::Overflow);
    if (divisor == 0.0)
        throw Failure(value == 0.0 ? FailureKind::Overflow : FailureKind::DivisionByZero);
    const double quotient = value / divisor;
    if (!std::isfinite(quotient))
        throw Failure(FailureKind::Overflow);
    return quotient;
}

QString plainForm(double q, const QLocale &locale)
{
    if (q == 0.0)
        q = 0.0; // negative zero shows as "0"
    if (std::fabs(q) > kLargestPlain)
        q = std::copysign(kLargestPlain, q);
    char buffer[kBufferSize];
    // The general form with 15 significant digits is printf's %.15G: exponent
    // form below 1E-04 and from 1E+15 on, trailing zeros removed.
    const auto [end, ec]
        = std::to_chars(buffer, buffer + sizeof buffer, q, std::chars_format::general, 15);
    Q_ASSERT(ec == std::errc());
    std::replace(buffer, end, 'e', 'E');
    return withSeparator(std::string_view(buffer, std::size_t(end - buffer)), locale);
}

QString scientificForm(double q, int decimals, const QLocale &locale)
{
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    if (q == 0.0)
        q = 0.0;
    char buffer[kBufferSize];
    // to_chars rounds the exact binary value, so a carry (9.9996 to 1.000e+01)
    // is already in the exponent it writes.
    const auto [end, ec]
        = std::to_chars(buffer, buffer + sizeof buffer, q, std::chars_format::scientific, decimals);
    Q_ASSERT(ec == std::errc());
    const std::string_view text(buffer, std::size_t(end - buffer));
    const std::size_t e = text.find('e');
    if (e == std::string_view::npos) // inf or nan: nothing to arrange
        return QString::fromLatin1(text.data(), qsizetype(text.size()));

    std::string_view exponent = text.substr(e + 2);
    while (exponent.size() > 1 && exponent.front() == '0')
        exponent.remove_prefix(1);

    QString result = withSeparator(text.substr(0, e), locale);
    result += QLatin1String(" e");
    result += QLatin1Char(text[e + 1]);
    result += QLatin1String(exponent.data(), qsizetype(exponent.size()));
    result += QLatin1Char(' ');
    return result;
}

QString formatOutput(double value, double divisor, OutputMode mode, const QLocale &locale)
{
    const double q = divideChecked(value, divisor);
    return mode.scientific ? scientificForm(q, mode.decimals, locale) : plainForm(q, locale);
}

} // namespace quorvel
