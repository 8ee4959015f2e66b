#pragma once

// The temporary file of a write and the folder it is made in (the store's
// own; not for the windows).

#include "store/datafile.h"

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

#ifdef Q_OS_UNIX
#include <sys/types.h>

namespace quorvel {

// A name for a file of the store's own beside name: a dot and six letters
// or digits appended.
QByteArray temporaryName(const QByteArray &name);

// The permissions of a new data file: those of the folder's category list,
// never more open than 0644, less the umask.
mode_t newFileMode(int folder);

// Opens folder for the steps of a write; refuses one that is no longer the
// folder id names, when id names the folder that path lies in.
int openFolder(const QString &folder, const QString &path, const std::optional<FolderId> &id);

// The temporary file of a write, beside its target and named after it with a
// dot and six letters or digits; it is removed again unless released. It is
// made, renamed and removed relative to the folder that held the target when
// the write began, so that it never stays behind in a folder moved away.
class TemporaryFile {
public:
    // Made with the permissions of the file it replaces, or, for a new file,
    // those of newFileMode().
    TemporaryFile(const QString &target, const QString &path, const std::optional<FolderId> &id);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    // Writes every byte, syncs them to the disk and closes the file; a sync
    // that fails means the bytes may never reach the disk. A file system
    // without sync support (EINVAL) is no failure.
    void write(const QByteArray &bytes, const QString &path);

    int folder() const { return m_folder; }
    const QByteArray &name() const { return m_name; }
    const QByteArray &target() const { return m_target; }
    // The path of the temporary file, for reading and messages.
    QString path(const QString &target) const;
    // The file was renamed into place: nothing to remove.
    void release() { m_name.clear(); }

private:
    [[noreturn]] void fail(int error, QFileDevice::FileError fileError, const QString &path);
    void discard();

    QByteArray m_target;
    QByteArray m_name;
    int m_folder = -1;
    int m_fd = -1;
};

} // namespace quorvel

#endif
