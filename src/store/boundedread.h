#pragma once

// The bounded read under readDataFile(), for the parts of the data file that
// compare bytes on disk (the store's own; not for the windows).

#include <QByteArray>
#include <QString>

namespace quorvel {

// The bytes of a regular file, at most kMaxDataFileBytes of them, read
// without ever waiting on a pipe or a device. Throws the failures that
// readDataFile() documents.
QByteArray readBounded(const QString &path);

} // namespace quorvel
