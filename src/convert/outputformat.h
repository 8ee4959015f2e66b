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

// The general number-to-text form: at most 15 significant digits, an exact
// half rounded away from zero as in the scientific form (123456789012344.5
// gives 123456789012345), exponent form (1E+15, 1.5E-05, 1E+100) from 1E+15
// up and below 1E-04, the locale's decimal separator, no grouping; negative
// zero shows as "0". Magnitudes above 1.79769313486231E+308 are written as
// that number, since their rounded text would lie beyond the double range and
// not read back. Infinity and NaN, which the checked arithmetic never yields,
// show as "inf", "-inf" and "nan".
QString plainForm(double q, const QLocale &locale = QLocale());

// The number form the data files are written in, as ASCII, without a
// QString made for it: the plain form with "." whatever the locale, except
// that an exact half rounds to the even digit, as the files always had it
// (1000000000000005 gives 1E+15, where the plain form shows
// 1.00000000000001E+15).
struct PlainDigits {
    char chars[32]; // "-1.79769313486231E+308" at the longest
    qsizetype size = 0;
    QLatin1StringView view() const { return QLatin1StringView(chars, size); }
};
PlainDigits plainDigits(double q);

// The scientific pattern "0.<decimals zeros> e+ ": e.g. "1.235 e+3 ": one
// digit, the locale's separator, exactly decimals digits (0 to 40) rounded
// from the exact binary value, an exact half away from zero (1.0625 gives
// "1.063 e+0 "), " e", the exponent's sign and digits without leading zeros,
// and a final blank. 0 and -0 give "0.000 e+0 ".
QString scientificForm(double q, int decimals, const QLocale &locale = QLocale());

// divideChecked(value, divisor) written in the given mode.
QString formatOutput(
    double value, double divisor, OutputMode mode, const QLocale &locale = QLocale());

} // namespace quorvel
