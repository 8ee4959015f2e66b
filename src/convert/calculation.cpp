#include "convert/calculation.h"

#include "convert/readnumber.h"

namespace quorvel {

Conversion calculate(int from, int to, const QString &typed, const QList<double> &factors,
    OutputMode mode, LastResult &last, const QLocale &locale)
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
        // A product that failed is no result of this value, nor of the last.
        last.m_has = false;
        last.m_defaultValue = multiplyChecked(value, factors[from]);
        last.m_has = true;
        result.text = formatOutput(last.m_defaultValue, factors[to], mode, locale);
    } catch (const Failure &failure) {
        result.failure = failure;
    }
    return result;
}

std::optional<QString> LastResult::shownAgain(
    int to, const QList<double> &factors, OutputMode mode, const QLocale &locale) const
{
    if (!m_has || to < 0)
        return std::nullopt;
    if (to >= factors.size())
        throw Failure(FailureKind::SubscriptOutOfRange);
    return formatOutput(m_defaultValue, factors[to], mode, locale);
}

} // namespace quorvel
