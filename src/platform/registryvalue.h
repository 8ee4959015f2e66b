#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

namespace quorvel::platform {

// Turns the data of a registry value, as a query left it in its buffer, into
// text, the way GetKeyValue reports it:
// - the data is cut to size bytes, less one when the byte at size is NUL;
// - a string (kRegSz) replaces keyVal with the cut data, decoded from the
//   system's 8-bit code page;
// - a 32-bit number (kRegDword) appends the bytes of the cut data to keyVal
//   from last to first, each as upper-case hex without leading zeros, and
//   puts "&h" before the whole: the bytes 34 12 00 00 give "&h01234". The
//   text is left as it is, not turned into the number it denotes: no caller
//   can use a number, so it only has to stay readable;
// - any other type leaves keyVal unchanged.
// Throws Failure(SubscriptOutOfRange) when size is 0 or beyond the buffer:
// the cut has no byte to look at.
void convertRegistryValue(quint32 type, QByteArrayView buffer, quint32 size, QString &keyVal);

} // namespace quorvel::platform
