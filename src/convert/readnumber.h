#pragma once

#include <QStringView>

namespace quorvel {

// Reads the leading number of text typed by the user: blanks, tabs and line
// feeds are skipped anywhere, "." is the only decimal separator, exponent
// letters E, e, D, d, and &H / &O integer literals. Text without a leading
// number reads as 0. Throws Failure(Overflow) for a number beyond the double
// range.
double ReadNumber(QStringView text);

} // namespace quorvel
