#pragma once

#include "convert/failure.h"
#include "convert/outputformat.h"

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
    // The typed value in the default unit, once the multiplication succeeded.
    std::optional<double> defaultValue;
    // The multiplication failed: no earlier result may be shown again as if
    // it were this value's.
    bool productFailed = false;
    QString text; // what the output box shows
    std::optional<Failure> failure;
};

// Converts the typed value from the unit at position from to the unit at
// position to of factors (-1: none chosen). The first input missing, in the
// order from-unit, to-unit, value (an empty text; blanks are a value), stops
// it. Otherwise the value read by ReadNumber is multiplied by the from-factor,
// the product rounded to a double, and divided by the to-factor, the quotient
// written in mode. Failures: Subscript out of range for a position beyond the
// factors, those of ReadNumber, multiplyChecked and formatOutput.
Conversion calculate(int from, int to, const QString &typed, const QList<double> &factors,
    OutputMode mode, const QLocale &locale = QLocale());

} // namespace quorvel
