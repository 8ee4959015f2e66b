// The output forms over any pair of doubles and any mode: no crash, the
// checked division fails only as it should, every text has its form, and
// each form reads back within its own precision.
#include "fuzzcheck.h"

#include "convert/outputformat.h"
#include "convert/readnumber.h"
#include "core/failure.h"

#include <QRegularExpression>

#include <cstdint>
#include <cstring>

using namespace quorvel;

namespace {

double takeDouble(const std::uint8_t *&data, std::size_t &size)
{
    double value = 0;
    const std::size_t n = std::min(size, sizeof value);
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

// How far a text of the form may lie from q: half a unit in its last
// digit relative to the mantissa, and what reading the text back rounds.
bool within(double q, double back, double relative)
{
    const double ulp
        = std::nextafter(std::fabs(q), std::numeric_limits<double>::infinity()) - std::fabs(q);
    return std::fabs(q - back) <= relative * std::fabs(q) + ulp;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t modeByte = *data++;
    --size;
    const double value = takeDouble(data, size);
    const double divisor = size > 0 ? takeDouble(data, size) : 1.0;

    static const int kDecimals[] = { 3, 6, 9, 12, 15 };
    OutputMode mode;
    mode.scientific = modeByte & 1;
    mode.decimals = kDecimals[(modeByte >> 1) % 5];

    double q = 0;
    try {
        q = divideChecked(value, divisor);
    } catch (const Failure &failure) {
        if (failure.kind() == FailureKind::DivisionByZero)
            FUZZ_CHECK(divisor == 0 && value != 0 && !std::isnan(value));
        else
            FUZZ_CHECK(failure.kind() == FailureKind::Overflow, failure.what());
        // The formatted output fails the same way.
        bool failed = false;
        try {
            formatOutput(value, divisor, mode, QLocale::c());
        } catch (const Failure &again) {
            failed = again.kind() == failure.kind();
        }
        FUZZ_CHECK(failed);
        return 0;
    }
    FUZZ_CHECK(std::isfinite(q), fuzz::bits(value) + u'/' + fuzz::bits(divisor));
    const QString shown = formatOutput(value, divisor, mode, QLocale::c());

    const QString plain = plainForm(q, QLocale::c());
    static const QRegularExpression plainPattern(
        QStringLiteral("^-?[0-9]+(\\.[0-9]*[1-9])?(E[+-][0-9]{2,3})?$"));
    FUZZ_CHECK(plainPattern.match(plain).hasMatch(), plain);
    FUZZ_CHECK(
        fuzz::within15Digits(q, ReadNumber(plain)), fuzz::bits(q) + QStringLiteral(" as ") + plain);

    const int decimals = mode.decimals;
    const QString scientific = scientificForm(q, decimals, QLocale::c());
    static const QRegularExpression sciPattern(
        QStringLiteral("^-?[0-9]\\.([0-9]+) e[+-](0|[1-9][0-9]*) $"));
    const QRegularExpressionMatch match = sciPattern.match(scientific);
    FUZZ_CHECK(match.hasMatch() && match.capturedLength(1) == decimals, scientific);
    FUZZ_CHECK(q == 0 || scientific.at(scientific.at(0) == u'-' ? 1 : 0) != u'0', scientific);
    // ReadNumber skips the blanks, so the text reads as mantissa E exponent.
    // Near the top of the range the rounded mantissa can pass it: the text
    // is then larger than any double and reads as an overflow.
    const double precision = 0.5 * std::pow(10.0, -decimals) * 1.0000001;
    try {
        FUZZ_CHECK(within(q, ReadNumber(scientific), precision),
            fuzz::bits(q) + QStringLiteral(" as ") + scientific);
    } catch (const Failure &failure) {
        FUZZ_CHECK(failure.kind() == FailureKind::Overflow
                && std::fabs(q) * (1 + precision) > std::numeric_limits<double>::max(),
            fuzz::bits(q) + QStringLiteral(" as ") + scientific);
    }

    FUZZ_CHECK(shown == (mode.scientific ? scientific : plain), shown);

    // A locale with a decimal comma changes the separator and nothing else.
    static const QLocale german(QLocale::German, QLocale::Germany);
    QString plainComma = plainForm(q, german);
    FUZZ_CHECK(!plainComma.contains(u'.'), plainComma);
    FUZZ_CHECK(plainComma.replace(u',', u'.') == plain, plainComma);

    // Any number of decimals the form allows keeps the form.
    const int anyDecimals = modeByte % 41;
    const QString wide = scientificForm(q, anyDecimals, QLocale::c());
    FUZZ_CHECK(wide.endsWith(u' ') && wide.contains(QStringLiteral(" e")), wide);
    return 0;
}
