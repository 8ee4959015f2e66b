#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace quorvel::test {

QByteArray unitFileBytes(int count)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(count) * 23);
    char record[64];
    for (int i = 1; i <= count; ++i) {
        const int n
            = std::snprintf(record, sizeof record, "\"Unit %05d\",%.6f\r\n", i, 1.0 + i * 1e-6);
        bytes.append(record, n);
    }
    return bytes;
}

QByteArray categoryFileBytes(int count)
{
    std::vector<int> order(count);
    for (int i = 0; i < count; ++i)
        order[i] = i;
    std::mt19937 random(20240607);
    std::shuffle(order.begin(), order.end(), random);
    // Mixed case and a varying first letter, so that the case-insensitive
    // order differs from the plain code order.
    static const char *const stems[] = { "Area", "length", "Mass", "speed", "Time", "volume",
        "Energy", "power", "Force", "pressure", "Angle", "data" };
    QByteArray bytes;
    char record[64];
    for (const int i : order) {
        const int n = std::snprintf(record, sizeof record, "\"%s %05d\"\r\n", stems[i % 12], i);
        bytes.append(record, n);
    }
    return bytes;
}

bool makeBadFile(const QString &recipe, const QString &path, bool units)
{
    if (recipe == "NUL byte")
        return put(path,
            units ? QByteArray("\"Me\0ters\",1\r\n\"Feet\",0.3048\r\n", 28)
                  : QByteArray("\"Len\0gth\"\r\n\"Time\"\r\n", 19));
    if (recipe == "100 MB file") {
        // Sparse: the size is what counts, not the blocks.
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write("\"A\",1\r\n") == 7
            && file.resize(100 * 1000 * 1000);
    }
    if (recipe == "unterminated quote")
        return put(path, units ? "\"Feet\",0.3048\r\n\"Inches,0.0254\r\n" : "\"Length\"\r\n\"Ti");
    if (recipe == "text after a closing quote")
        return put(
            path, units ? "\"Feet\" old,0.3048\r\n" : kStandardCategories + "\"Bad\" old\r\n");
    if (recipe == "missing factor at the end")
        return put(path, "\"Feet\",0.3048\r\n\"Inches\"\r\n");
    if (recipe == "32768 records")
        return put(path, units ? unitFileBytes(32768) : categoryFileBytes(32768));
    if (recipe == "directory")
        return QDir().mkdir(path) && put(path + "/inside.txt", "\"x\",1\r\n");
    if (recipe == "missing")
        return !QFile::exists(path) || QFile::remove(path);
    if (recipe == "dangling link")
        return QFile::link(path + ".nowhere", path);
#ifdef Q_OS_UNIX
    // Never opened by a writer: a read that waited for one would hang.
    if (recipe == "named pipe")
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
#endif
    if (recipe == "linked to an endless device")
        return QFile::link("/dev/zero", path);
    // Reading a process's memory at offset 0 fails with EIO, for root too.
    if (recipe == "unreadable")
        return QFile::link("/proc/self/mem", path);
    if (recipe == "leftover temporary file") {
        return put(path, units ? "\"Feet\",0.3048\r\n" : kStandardCategories + "\"Bad\"\r\n")
            && put(path + ".AbC123", "\"Broken\",\r\n\"");
    }
    return false;
}

QStringList fileNames(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.sort();
    return names;
}

bool put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeStandardFiles(const QString &folder)
{
    return put(folder + "/conversion.txt", kStandardCategories)
        && put(folder + "/Length.txt", kLengthUnits) && put(folder + "/Time.txt", kTimeUnits)
        && put(folder + "/Weight.txt", kWeightUnits);
}

QString fileEntry(const QByteArray &bytes)
{
    return QStringLiteral("file ") + QString::fromLatin1(bytes.toHex());
}

Snapshot snapshot(const QString &folder)
{
    Snapshot entries;
    const QFileInfoList infos = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &info : infos) {
        QString entry;
        if (info.isSymLink()) {
            QFile target(info.symLinkTarget());
            entry = QStringLiteral("link ") + info.symLinkTarget() + u' '
                + (target.open(QIODevice::ReadOnly) ? fileEntry(target.readAll())
                                                    : QStringLiteral("unreadable"));
        } else if (info.isDir()) {
            entry = QStringLiteral("directory");
        } else {
            QFile file(info.filePath());
            entry = file.open(QIODevice::ReadOnly) ? fileEntry(file.readAll())
                                                   : QStringLiteral("unreadable");
        }
        entries.insert(info.fileName(), entry);
    }
    return entries;
}

QString describe(const Snapshot &snapshot)
{
    QStringList parts;
    for (auto it = snapshot.begin(); it != snapshot.end(); ++it) {
        QString value = it.value();
        if (value.startsWith("file "))
            value = QString::fromLatin1(QByteArray::fromHex(value.mid(5).toLatin1()))
                        .replace("\r\n", "|");
        parts << it.key() + ": " + value;
    }
    return parts.join("; ");
}

} // namespace quorvel::test
