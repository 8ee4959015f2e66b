#pragma once

#include "convert/outputformat.h"
#include "core/failure.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <optional>

namespace quorvel {

// The input a conversion lacks; the keyboard focus goes to its control.
enum class Lacking { Nothing, FromUnit, ToUnit, Value };

// The outcome of one conversion.
struct Conversion {
    Lacking lacking = Lacking::Nothing;
    QString text; // what the output box shows
    std::optional<Failure> failure;
};

// The result of the last conversion, which the Output commands show again in
// another form: the typed value in the default unit (DefaultValue), while
// there is one. There is none before the first conversion, after the unit
// lists were loaded again, and after a multiplication that failed.
class LastResult {
public:
    double defaultValue() const { return m_defaultValue; } // 0 at first
    bool has() const { return m_has; }
    void forget() { m_has = false; }

    // The result divided by the factor at position to (-1: none chosen) and
    // written in mode; none while there is no result or no to-unit.
    // Failure(SubscriptOutOfRange) for a position beyond the factors, and
    // those of formatOutput.
    std::optional<QString> shownAgain(int to, const QList<double> &factors, OutputMode mode,
        const QLocale &locale = QLocale()) const;

private:
    friend Conversion calculate(int, int, const QString &, const QList<double> &, OutputMode,
        LastResult &, const QLocale &);

    double m_defaultValue = 0;
    bool m_has = false;
};

// Converts the typed value from the unit at position from to the unit at
// position to of factors (-1: none chosen). The first input missing, in the
// order from-unit, to-unit, value (an empty text; blanks are a value), stops
// it. Otherwise the value read by ReadNumber is multiplied by the from-factor,
// the product rounded to a double and kept in last, and divided by the
// to-factor, the quotient written in mode. Failures: Subscript out of range
// for a position beyond the factors, those of ReadNumber, multiplyChecked
// (which leaves last with no result) and formatOutput.
Conversion calculate(int from, int to, const QString &typed, const QList<double> &factors,
    OutputMode mode, LastResult &last, const QLocale &locale = QLocale());

} // namespace quorvel
