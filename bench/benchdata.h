#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace quorvel::bench {

// The bytes of a unit file of count units named "Unit 00001", "Unit 00002"...
// in name order, each with its own factor: 23 bytes a record, so 32767 units
// make the 754 KB file of the largest category.
QByteArray unitFileBytes(int count);

// The bytes of a category list file of count distinct names in shuffled
// order (a fixed seed), so that the sorted list has real sorting to do.
QByteArray categoryFileBytes(int count);

// A temporary application folder with data files written into it.
class AppFolder {
public:
    AppFolder();

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const;
    void write(const QString &name, const QByteArray &bytes) const;

private:
    QTemporaryDir m_dir;
};

} // namespace quorvel::bench
