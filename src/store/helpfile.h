#pragma once

#include <QString>
#include <QStringList>

namespace quorvel {

// The lines the help file at path shows: its fields in file order, read by
// the field rule of the data files, so that a line of the file that holds
// commas outside quotes shows as several. Throws the Failure of
// readDataFile() or of the field reader.
QStringList readHelpFile(const QString &path);

} // namespace quorvel
