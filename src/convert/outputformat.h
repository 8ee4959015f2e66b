#pragma once

#include <QLocale>
#include <QString>

namespace quorvel {

// How the output box writes a result: the Output menu's check marks.
struct OutputMode {
    bool scientific = true;
    int decimals = 6; // 3, 6, 9, 12 or 15
};

// value × factor as one rounded double multiplication; Failure(Overflow) when
// the product leaves the double range or is not a number.
double multiplyChecked(double value, double factor);

// value ÷ divisor as one rounded double division; Failure(DivisionByZero) for
// a zero divisor and a non-zero value, Failure(Overflow) for 0 ÷ 0 and for a
// quotient beyond the double range.
double divideChecked(double value, double divisor);

// The general number-to-text form: at most 15 significant digits, exponent
// form (1E+100) for very large and small magnitudes, the locale's decimal
// separator, no grouping.
QString plainForm(double q, const QLocale &locale = QLocale());

// The scientific pattern "0.<decimals zeros> e+ ": e.g. "1.235 e+3 ".
QString scientificForm(double q, int decimals, const QLocale &locale = QLocale());

// divideChecked(value, divisor) written in the given mode.
QString formatOutput(double value, double divisor, OutputMode mode,
                     const QLocale &locale = QLocale());

} // namespace quorvel
