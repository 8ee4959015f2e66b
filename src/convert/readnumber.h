#pragma once

#include <QStringView>

namespace quorvel {

// Reads the leading number of text typed by the user: blanks, tabs and line
// feeds are skipped anywhere, "." is the only decimal separator, exponent
// letters E, e, D, d, and &H / &O integer literals. Text without a leading
// number reads as 0. Throws Failure(Overflow) for a number beyond the double
// range.
//
// In detail:
// - Blanks, tabs and line feeds are skipped wherever they stand: between the
//   sign and the digits ("- 5" is -5), between digits ("2 45 7" is 2457), and
//   around the exponent letter. Any other character ends the number.
// - An optional "+" or "-", then digits with at most one "."; a second "."
//   ends the number. Without a digit before the exponent the text reads as 0
//   (".", "-", "e5" and ".e5" all give 0).
// - An exponent letter not followed by digits ends the number before it:
//   "1e" and "1e+" read as 1.
// - Magnitudes below the smallest subnormal read as 0 (or -0); magnitudes
//   beyond 1.7976931348623157E+308 throw Failure(Overflow).
// - &H (hexadecimal) and &O (octal), either case, only at the start of the
//   text: no sign may come before them ("-&H1" reads as 0), and "&H" without
//   digits reads as 0. The digits are a signed 16-bit or 32-bit integer. A
//   hexadecimal literal takes its width from the digits written, leading
//   zeros included: up to four digits 16 bits, so &HFFFF reads as -1 and
//   &H0FFFF as 65535; five to eight digits 32 bits, so &HFFFFFFFF reads as -1
//   and &H10000 as 65536. An octal literal takes its width from its value:
//   up to &O177777 16 bits (&O177777 reads as -1), up to &O37777777777 32
//   bits. Nine or more hexadecimal digits, or a larger octal value, throw
//   Failure(Overflow).
double ReadNumber(QStringView text);

} // namespace quorvel
