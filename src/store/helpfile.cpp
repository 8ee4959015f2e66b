#include "store/helpfile.h"

#include "store/datafile.h"
#include "store/fieldreader.h"

namespace quorvel {

QStringList readHelpFile(const QString &path)
{
    FieldReader reader(readCodePageFile(path), path);
    QStringList lines;
    while (!reader.atEnd())
        lines.append(reader.readText());
    return lines;
}

} // namespace quorvel
