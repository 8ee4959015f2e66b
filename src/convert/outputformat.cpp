#include "convert/outputformat.h"

#include "core/failure.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace quorvel {

namespace {

// A buffer that holds "-d.<41 digits>e-308" and the general form.
constexpr int kMaxDecimals = 40;
constexpr std::size_t kBufferSize = 64;

// The largest magnitude whose 15-digit text still reads back as a double:
// rounding anything above it gives 1.79769313486232E+308, beyond the range.
constexpr double kLargestPlain = 1.79769313486231e308;

QString withSeparator(std::string_view text, const QLocale &locale)
{
    QString result = QString::fromLatin1(text.data(), qsizetype(text.size()));
    if (const QString separator = locale.decimalPoint(); separator != u'.')
        result.replace(u'.', separator);
    return result;
}

// The decimal exponent of a text that to_chars wrote in scientific form; e
// is the position of its 'e'.
int exponentOf(std::string_view text, std::size_t e)
{
    std::size_t digits = e + 1;
    if (text[digits] == '+')
        ++digits;
    int exponent = 0;
    std::from_chars(text.data() + digits, text.data() + text.size(), exponent);
    return exponent;
}

// Whether the exact value of q ends within `decimals` decimals of its
// scientific form, whose decimal exponent is `exponent`: nothing but zeros
// would follow them.
bool endsWithin(double q, int decimals, int exponent)
{
    int binaryExponent = 0;
    const double fraction = std::frexp(std::fabs(q), &binaryExponent);
    // |q| = odd × 2^low, with an odd integer below 2^53.
    auto odd = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int zeros = std::countr_zero(odd);
    odd >>= zeros;
    const int low = binaryExponent - 53 + zeros;
    if (low < 0) {
        // odd ÷ 2^-low has exactly -low places after the point, the last a 5.
        return exponent - low <= decimals;
    }
    // A whole number: 10^tens must divide it, 2^tens the power of two and
    // 5^tens the odd part, which lies below 2^53 < 5^23.
    const int tens = exponent - decimals;
    if (tens <= 0)
        return true;
    if (tens > low || tens > 22)
        return false;
    std::uint64_t five = 1;
    for (int i = 0; i < tens; ++i)
        five *= 5;
    return odd % five == 0;
}

// to_chars rounds a mantissa that lies exactly halfway between two texts of
// `decimals` decimals to the even last digit, down when that digit is even;
// a half rounds away from zero here. text is q written with `decimals`
// decimals. For such a half, q written with one decimal more is exact and
// ends in the 5: without it, and with the even digit before it one higher
// (which never carries), that text replaces text, in longer. Every other
// text is returned as it is.
std::string_view roundHalfAway(
    double q, int decimals, std::string_view text, char (&longer)[kBufferSize])
{
    // Where text carried into the next power of ten its exponent is one too
    // high; one lower asks no more of q.
    if (!endsWithin(q, decimals + 1, exponentOf(text, text.find('e')) - 1))
        return text;
    const auto [end, ec] = std::to_chars(
        longer, longer + kBufferSize, q, std::chars_format::scientific, decimals + 1);
    Q_ASSERT(ec == std::errc());
    std::string_view half(longer, std::size_t(end - longer));
    const std::size_t e = half.find('e');
    // Without decimals the 5 follows the point, which goes with it.
    const std::size_t keep = half[e - 2] == '.' ? e - 2 : e - 1;
    const char digit = half[keep - 1];
    if (half[e - 1] != '5' || (digit - '0') % 2 != 0
        || !endsWithin(q, decimals + 1, exponentOf(half, e)))
        return text;
    longer[keep - 1] = char(digit + 1);
    std::copy(end - (half.size() - e), end, longer + keep);
    return half.substr(0, keep + (half.size() - e));
}

// q, or, where its exact value lies halfway between two texts of 15
// significant digits, the double of the text away from zero: any text of 15
// significant digits reads back as a double that writes as that text again.
double halfAwayAt15Digits(double q)
{
    if (q == 0.0 || !std::isfinite(q))
        return q;
    char buffer[kBufferSize];
    const auto [end, ec]
        = std::to_chars(buffer, buffer + sizeof buffer, q, std::chars_format::scientific, 14);
    Q_ASSERT(ec == std::errc());
    const std::string_view text(buffer, std::size_t(end - buffer));
    char longer[kBufferSize];
    const std::string_view rounded = roundHalfAway(q, 14, text, longer);
    if (rounded.data() == text.data())
        return q;
    double away = q;
    std::from_chars(rounded.data(), rounded.data() + rounded.size(), away);
    return away;
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

PlainDigits plainDigits(double q)
{
    if (q == 0.0)
        q = 0.0; // negative zero shows as "0"
    if (std::fabs(q) > kLargestPlain)
        q = std::copysign(kLargestPlain, q);
    PlainDigits digits;
    // The general form with 15 significant digits is printf's %.15G: exponent
    // form below 1E-04 and from 1E+15 on, trailing zeros removed.
    char *const first = digits.chars;
    const auto [end, ec]
        = std::to_chars(first, first + sizeof digits.chars, q, std::chars_format::general, 15);
    Q_ASSERT(ec == std::errc());
    std::replace(first, end, 'e', 'E');
    digits.size = end - first;
    return digits;
}

QString plainForm(double q, const QLocale &locale)
{
    const PlainDigits digits = plainDigits(halfAwayAt15Digits(q));
    return withSeparator(std::string_view(digits.chars, std::size_t(digits.size)), locale);
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
    std::string_view text(buffer, std::size_t(end - buffer));
    if (!std::isfinite(q)) // inf or nan: nothing to arrange
        return QString::fromLatin1(text.data(), qsizetype(text.size()));
    char longer[kBufferSize];
    if (q != 0.0)
        text = roundHalfAway(q, decimals, text, longer);
    const std::size_t e = text.find('e');

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
