#include "store/datafile.h"

#include "core/failure.h"
#include "store/codepage.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quorvel {

namespace {

enum class Access { Read, Write };

// The failure kind of a file operation that failed with this errno. Qt keeps
// errno from the failing system call; where it is lost (0) the file's own
// error code decides.
FailureKind failureKind(int error, QFileDevice::FileError fileError, Access access)
{
    switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
        return FailureKind::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
        return FailureKind::PermissionDenied;
    case EISDIR:
        return FailureKind::PathFileAccessError;
    case ENOENT:
        return access == Access::Read ? FailureKind::FileNotFound
                                      : FailureKind::BadFileNameOrNumber;
    case ENOTDIR:
        return access == Access::Read ? FailureKind::FileNotFound
                                      : FailureKind::PathFileAccessError;
    case ENAMETOOLONG:
    case EINVAL:
        return FailureKind::BadFileNameOrNumber;
    case EIO:
        return FailureKind::DeviceIOError;
    default:
        break;
    }
    switch (fileError) {
    case QFileDevice::ResourceError:
        return FailureKind::DiskFull;
    case QFileDevice::PermissionsError:
        return FailureKind::PermissionDenied;
    case QFileDevice::OpenError:
        return FailureKind::PathFileAccessError;
    default:
        return FailureKind::DeviceIOError;
    }
}

} // namespace

namespace {

// Opens a file for reading without ever blocking: a named pipe or a device
// in place of a data file would wait for a writer that never comes.
void openRegularFile(QFile &file, const QString &path)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw Failure(failureKind(errno, QFileDevice::OpenError, Access::Read), path);
    struct stat status { };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        const bool directory = S_ISDIR(status.st_mode);
        ::close(fd);
        throw Failure(FailureKind::PathFileAccessError, path, 0,
            directory ? QString() : QStringLiteral("It is not a regular file."));
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw Failure(FailureKind::DeviceIOError, path, 0, file.errorString());
    }
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw Failure(FailureKind::PathFileAccessError, path);
    file.setFileName(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        const int error = errno;
        if (error == 0 && !QFileInfo::exists(path))
            throw Failure(FailureKind::FileNotFound, path);
        throw Failure(failureKind(error, file.error(), Access::Read), path);
    }
#endif
}

QByteArray readBounded(const QString &path)
{
    QFile file;
    openRegularFile(file, path);
    if (file.size() > kMaxDataFileBytes)
        throw Failure(FailureKind::FileTooLarge, path);
    // Read in chunks up to one byte past the bound: a file that grows while
    // it is read must not make one read of the whole bound.
    QByteArray bytes;
    bytes.reserve(qBound<qint64>(0, file.size() + 1, kMaxDataFileBytes + 1));
    constexpr qint64 kChunk = 64 * 1024;
    for (;;) {
        const QByteArray chunk = file.read(kChunk);
        if (file.error() != QFileDevice::NoError)
            throw Failure(FailureKind::DeviceIOError, path, 0, file.errorString());
        if (chunk.isEmpty())
            break;
        bytes += chunk;
        if (bytes.size() > kMaxDataFileBytes)
            throw Failure(FailureKind::FileTooLarge, path);
    }
    return bytes;
}

} // namespace

DataFileRead readDataFile(const QString &path)
{
    const QByteArray bytes = readBounded(path);
    // Some editors begin a file with a UTF-8 byte-order mark: it is no text.
    constexpr QByteArrayView kByteOrderMark = "\xEF\xBB\xBF";
    const QByteArrayView text = bytes.startsWith(kByteOrderMark)
        ? QByteArrayView(bytes).sliced(kByteOrderMark.size())
        : QByteArrayView(bytes);
    return { decodeCodePage(text), bytes };
}

QString readCodePageFile(const QString &path)
{
    return readDataFile(path).text;
}

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

// A failed write. One that lacks permission also says what the user can do
// about it, since the program's folder may be a read-only installation.
Failure writeFailure(FailureKind kind, const QString &path, QString reason = {})
{
    if (kind == FailureKind::PermissionDenied)
        reason = QStringLiteral("The file or the application folder is read-only. Edits need "
                                "a writable application folder: start an installed Quorvel "
                                "from the menu or as quorvel, which gives each user one, or "
                                "run the program from a folder you can write to.");
    return Failure(kind, path, 0, std::move(reason));
}

[[noreturn]] void failWrite(QSaveFile &file, int error, const QString &path)
{
    const QFileDevice::FileError fileError = file.error();
    const QString reason = file.errorString();
    file.cancelWriting();
    throw writeFailure(failureKind(error, fileError, Access::Write), path, reason);
}

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

Failure changedBehind(const QString &path, const QString &advice)
{
    return Failure(FailureKind::Refused, path, 0,
        QStringLiteral("The file was changed by another program since Quorvel read it, so it "
                       "is not rewritten: that would lose the change. %1")
            .arg(advice));
}

} // namespace

QByteArray writeDataFile(
    const QString &path, const QString &text, const FileState &expected, const QString &advice)
{
    const std::optional<QByteArray> bytes = encodeCodePage(text);
    if (!bytes)
        throw Failure(FailureKind::Refused, path, 0,
            QStringLiteral("The text holds a character that cannot be written in the "
                           "%1 code page.")
                .arg(codePageName()));
    if (bytes->size() > kMaxDataFileBytes)
        throw Failure(FailureKind::Refused, path, 0,
            QStringLiteral("The file would grow past %1 MiB, more than Quorvel reads back, so "
                           "nothing was written.")
                .arg(kMaxDataFileBytes / (1024 * 1024)));

    const QString target = writeTarget(path);
    const QFileInfo info(target);
    if (info.exists() && !info.isFile())
        throw Failure(FailureKind::PathFileAccessError, path);
    if (info.exists() && isReadOnly(info))
        throw writeFailure(FailureKind::PermissionDenied, path);
    if (info.exists() != expected.has_value())
        throw changedBehind(path, advice);

    // Unbuffered, so that every byte reaches the file in write() where its
    // result is checked; a buffered QSaveFile flushes inside commit() and can
    // lose the error of that last write.
    QSaveFile file(target);
    file.setDirectWriteFallback(false);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        failWrite(file, errno, path);
    if (!bytes->isEmpty()) {
        errno = 0;
        if (file.write(*bytes) != bytes->size())
            failWrite(file, errno, path);
    }
    errno = 0;
    if (!file.flush() || file.error() != QFileDevice::NoError)
        failWrite(file, errno, path);
#ifdef Q_OS_UNIX
    // commit() syncs too but ignores the result: a sync that fails means the
    // bytes may never reach the disk, and the old file must not be replaced.
    // A file system without sync support (EINVAL) is no failure.
    if (::fdatasync(file.handle()) != 0 && errno != EINVAL)
        failWrite(file, errno, path);
#endif
    // The last moment before the old file is replaced: another program (or a
    // second Quorvel) may have written it since it was read.
    if (!isUnchanged(path, expected)) {
        file.cancelWriting();
        throw changedBehind(path, advice);
    }
    errno = 0;
    if (!file.commit()) {
        const int error = errno;
        throw writeFailure(
            failureKind(error, file.error(), Access::Write), path, file.errorString());
    }
    return *bytes;
}

bool createEmptyFile(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        throw Failure(FailureKind::PathFileAccessError, path);
    if (info.exists() || info.isSymLink())
        return false;
    // NewOnly fails rather than empty a file that appeared since the test.
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        const int error = errno;
        const QFileInfo now(path);
        if (now.isDir())
            throw Failure(FailureKind::PathFileAccessError, path);
        if (error == EEXIST || now.exists() || now.isSymLink())
            return false;
        throw writeFailure(
            failureKind(error, file.error(), Access::Write), path, file.errorString());
    }
    file.close();
    return true;
}

} // namespace quorvel
