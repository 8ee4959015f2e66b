#pragma once

#include <QByteArray>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

namespace quorvel::fuzz {

// One application folder for the whole run, in memory where the system
// offers it, so that writing every input to a file stays cheap.
inline const QString &folder()
{
    static const std::unique_ptr<QTemporaryDir> dir = [] {
        const QString shm = QStringLiteral("/dev/shm");
        const bool inMemory = QFileInfo(shm).isDir() && QFileInfo(shm).isWritable();
        return std::make_unique<QTemporaryDir>(
            inMemory ? shm + QStringLiteral("/quorvel-fuzz-XXXXXX") : QString());
    }();
    static const QString path = dir->path();
    return path;
}

} // namespace quorvel::fuzz
