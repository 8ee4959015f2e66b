#include "store/datafile.h"

#include "core/failure.h"
#include "store/codepage.h"
#include "store/filefailure.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <chrono>
#include <optional>

#ifdef Q_OS_UNIX
#include "store/folderlock.h"
#include "store/replacement.h"
#include "store/temporaryfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include "store/boundedread.h"
#endif

namespace quorvel {

namespace {

// The file a write goes to: the target of a symbolic link, so that the link
// stays a link.
QString writeTarget(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

bool isReadOnly(const QFileInfo &info)
{
    // The permission bits themselves: a process with privileges passes the
    // access test on any file, yet a file without write permission was made
    // read-only on purpose and is not replaced.
    constexpr QFileDevice::Permissions anyWrite
        = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !info.isWritable() || !(info.permissions() & anyWrite);
}

#ifndef Q_OS_UNIX
// True when the file at path is still in the state the caller knows.
bool isUnchanged(const QString &path, const FileState &expected)
{
    if (!expected)
        return !QFileInfo::exists(path) && !QFileInfo(path).isSymLink();
    try {
        return readBounded(path) == *expected;
    } catch (const Failure &) {
        return false; // gone, or no longer readable as it was
    }
}
#endif

} // namespace

std::optional<FolderId> folderId(const QString &folder)
{
#ifdef Q_OS_UNIX
    struct stat status { };
    if (::stat(QFile::encodeName(folder).constData(), &status) == 0)
        return FolderId { quint64(status.st_dev), quint64(status.st_ino) };
#else
    Q_UNUSED(folder);
#endif
    return std::nullopt;
}

QByteArray writeDataFile(const QString &path, const QString &text, const FileState &expected,
    const std::optional<FolderId> &folder)
{
    const std::optional<QByteArray> bytes = encodeCodePage(text);
    if (!bytes)
        throw Failure(FailureKind::Refused, path, 0, Cause::OutsideCodePage);
    if (bytes->size() > kMaxDataFileBytes)
        throw Failure(FailureKind::Refused, path, 0, Cause::TooLarge);

    const QString target = writeTarget(path);
    const QFileInfo info(target);
    if (info.exists() && !info.isFile())
        throw Failure(FailureKind::PathFileAccessError, path);
    if (info.exists() && isReadOnly(info))
        throw writeFailure(FailureKind::PermissionDenied, path);
    if (info.exists() != expected.has_value())
        throw changedBehind(path);

#ifdef Q_OS_UNIX
    TemporaryFile temp(target, path, folder);
    temp.write(*bytes, path);
    // Two copies of the program on one folder never interleave the check
    // and the replacement. A lock held elsewhere for seconds ends the edit
    // instead of freezing the window; a folder without locks is written
    // without.
    const FolderLock lock(QFileInfo(path).absolutePath(), std::chrono::seconds(5));
    if (lock.busy())
        throw Failure(FailureKind::Refused, path, 0, Cause::FolderLocked);
    replaceFile(temp, target, path, expected);
    syncFolder(temp.folder());
#else
    Q_UNUSED(folder);
    // Unbuffered, so that every byte reaches the file in write() where its
    // result is checked; a buffered QSaveFile flushes inside commit() and can
    // lose the error of that last write.
    QSaveFile file(target);
    file.setDirectWriteFallback(false);
    auto fail = [&file, &path] {
        const QFileDevice::FileError fileError = file.error();
        const QString reason = file.errorString();
        file.cancelWriting();
        failWrite(0, fileError, path, reason);
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail();
    if (!bytes->isEmpty() && file.write(*bytes) != bytes->size())
        fail();
    if (!file.flush() || file.error() != QFileDevice::NoError)
        fail();
    // The last moment before the old file is replaced: another program (or a
    // second Quorvel) may have written it since it was read.
    if (!isUnchanged(path, expected)) {
        file.cancelWriting();
        throw changedBehind(path);
    }
    if (!file.commit())
        failWrite(0, file.error(), path, file.errorString());
#endif
    return *bytes;
}

bool isSameFile(const QString &a, const QString &b)
{
#ifdef Q_OS_UNIX
    struct stat first { };
    struct stat second { };
    return ::stat(QFile::encodeName(a).constData(), &first) == 0
        && ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
#else
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
#endif
}

bool createEmptyFile(const QString &path, const std::optional<FolderId> &id)
{
    const QFileInfo info(path);
    if (info.isDir())
        throw Failure(FailureKind::PathFileAccessError, path);
    if (info.exists() || info.isSymLink())
        return false;
#ifdef Q_OS_UNIX
    // O_EXCL fails rather than empty a file that appeared since the test.
    const int folder = openFolder(info.absolutePath(), path, id);
    const int fd = ::openat(folder, QFile::encodeName(info.fileName()).constData(),
        O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, newFileMode(folder));
    const int error = errno;
    if (fd >= 0) {
        ::close(fd);
        syncFolder(folder);
    }
    ::close(folder);
    if (fd >= 0)
        return true;
    const QFileDevice::FileError fileError = QFileDevice::OpenError;
    const QString reason;
#else
    Q_UNUSED(id);
    // NewOnly fails rather than empty a file that appeared since the test.
    QFile file(path);
    errno = 0;
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return true;
    const int error = errno;
    const QFileDevice::FileError fileError = file.error();
    const QString reason = file.errorString();
#endif
    const QFileInfo now(path);
    if (now.isDir())
        throw Failure(FailureKind::PathFileAccessError, path);
    if (error == EEXIST || now.exists() || now.isSymLink())
        return false;
    throw writeFailure(failureKind(error, fileError, Access::Write), path, reason);
}

} // namespace quorvel
