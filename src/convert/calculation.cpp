#include "convert/calculation.h"

#include "convert/readnumber.h"

namespace quorvel {

Conversion calculate(int from, int to, const QString &typed, const QList<double> &factors,
    OutputMode mode, const QLocale &locale)
{
    Conversion result;
    if (from < 0)
        result.lacking = Lacking::FromUnit;
    else if (to < 0)
        result.lacking = Lacking::ToUnit;
    else if (typed.isEmpty())
        result.lacking = Lacking::Value;
    if (result.lacking != Lacking::Nothing)
        return result;

    try {
        if (from >= factors.size() || to >= factors.size())
            throw Failure(FailureKind::SubscriptOutOfRange);
        const double value = ReadNumber(typed);
        try {
            result.defaultValue = multiplyChecked(value, factors[from]);
        } catch (const Failure &) {
            result.productFailed = true;
            throw;
        }
        result.text = formatOutput(*result.defaultValue, factors[to], mode, locale);
    } catch (const Failure &failure) {
        result.failure = failure;
    }
    return result;
}

} // namespace quorvel
