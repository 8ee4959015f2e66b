#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

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
