#include "store/datafile.h"

#include "core/failure.h"
#include "store/codepage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <functional>
#include <optional>
#include <utility>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
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
// about it: a read-only file can be made writable, while a read-only folder
// (the program's folder may be a read-only installation) needs another.
Failure writeFailure(FailureKind kind, const QString &path, QString reason = {})
{
    if (kind == FailureKind::PermissionDenied) {
        const QFileInfo file(path);
        if (file.exists() && QFileInfo(file.absolutePath()).isWritable())
            reason = QStringLiteral("The file is read-only, so it is not rewritten. Make it "
                                    "writable (chmod u+w \"%1\"), then make the edit again.")
                         .arg(QDir::toNativeSeparators(path));
        else
            reason = QStringLiteral("The application folder is read-only. Edits need a "
                                    "writable application folder: start an installed Quorvel "
                                    "from the menu or as quorvel, which gives each user one, or "
                                    "run the program from a folder you can write to.");
    }
    return Failure(kind, path, 0, std::move(reason));
}

[[noreturn]] void failWrite(
    int error, QFileDevice::FileError fileError, const QString &path, const QString &reason = {})
{
    throw writeFailure(failureKind(error, fileError, Access::Write), path, reason);
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

Failure changedBehind(const QString &path, const QString &advice)
{
    return Failure(FailureKind::Refused, path, 0,
        QStringLiteral("The file was changed by another program since Quorvel read it, so it "
                       "is not rewritten: that would lose the change. %1")
            .arg(advice));
}

#ifdef Q_OS_UNIX

// A name for a file of the store's own beside name: a dot and six letters
// or digits appended.
QByteArray temporaryName(const QByteArray &name)
{
    static constexpr char kLetters[]
        = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray result = name + '.';
    for (int i = 0; i < kTemporarySuffixLength - 1; ++i)
        result += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
    return result;
}

// The permissions of a new data file: those of the folder's category list,
// never more open than 0644, less the umask.
mode_t newFileMode(int folder)
{
    struct stat list { };
    const bool listed = ::fstatat(folder, "conversion.txt", &list, 0) == 0 && S_ISREG(list.st_mode);
    return listed ? list.st_mode & 0644 : 0644;
}

// Opens folder for the steps of a write; refuses one that is no longer the
// folder id names, when id names the folder that path lies in.
int openFolder(const QString &folder, const QString &path, const std::optional<FolderId> &id)
{
    const int fd
        = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        failWrite(errno, QFileDevice::OpenError, path);
    struct stat status { };
    if (id && folder == QFileInfo(path).absolutePath()
        && (::fstat(fd, &status) != 0
            || FolderId { quint64(status.st_dev), quint64(status.st_ino) } != *id)) {
        ::close(fd);
        throw Failure(FailureKind::Refused, path, 0,
            QStringLiteral("The application folder %1 is no longer the folder Quorvel started "
                           "on: another folder was put in its place, so nothing is written "
                           "there. Start Quorvel again.")
                .arg(QDir::toNativeSeparators(folder)));
    }
    return fd;
}

// Makes the folder's entries durable: a replacement or a new file is on the
// disk before the edit is reported done. The file's bytes are synced before;
// a folder that cannot be synced (EINVAL and the like) has nothing to add,
// and a failed sync is no reason to report an edit that took effect as lost.
void syncFolder(int folder)
{
    ::fsync(folder);
}

// The temporary file of a write, beside its target and named after it with a
// dot and six letters or digits; it is removed again unless released. It is
// made, renamed and removed relative to the folder that held the target when
// the write began, so that it never stays behind in a folder moved away.
class TemporaryFile {
public:
    // Made with the permissions of the file it replaces, or, for a new file,
    // those of newFileMode().
    TemporaryFile(const QString &target, const QString &path, const std::optional<FolderId> &id)
        : m_target(QFile::encodeName(QFileInfo(target).fileName()))
    {
        m_folder = openFolder(QFileInfo(target).absolutePath(), path, id);
        struct stat old { };
        const bool replaces = ::fstatat(m_folder, m_target.constData(), &old, 0) == 0;
        const mode_t mode = replaces ? 0600 : newFileMode(m_folder);
        for (int attempt = 0; m_fd < 0; ++attempt) {
            m_name = temporaryName(m_target);
            m_fd = ::openat(m_folder, m_name.constData(),
                O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
            if (m_fd < 0 && (errno != EEXIST || attempt > 100)) {
                const int error = errno;
                m_name.clear();
                fail(error, QFileDevice::OpenError, path);
            }
        }
        if (replaces && ::fchmod(m_fd, old.st_mode & 07777) != 0)
            fail(errno, QFileDevice::PermissionsError, path);
    }
    ~TemporaryFile()
    {
        discard();
        ::close(m_folder);
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    // Writes every byte, syncs them to the disk and closes the file; a sync
    // that fails means the bytes may never reach the disk. A file system
    // without sync support (EINVAL) is no failure.
    void write(const QByteArray &bytes, const QString &path)
    {
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                fail(n < 0 ? errno : ENOSPC, QFileDevice::WriteError, path);
            done += n;
        }
        if (::fdatasync(m_fd) != 0 && errno != EINVAL)
            fail(errno, QFileDevice::WriteError, path);
        const int fd = std::exchange(m_fd, -1);
        if (::close(fd) != 0)
            fail(errno, QFileDevice::WriteError, path);
    }

    int folder() const { return m_folder; }
    const QByteArray &name() const { return m_name; }
    const QByteArray &target() const { return m_target; }
    // The path of the temporary file, for reading and messages.
    QString path(const QString &target) const
    {
        return QFileInfo(target).absolutePath() + u'/' + QFile::decodeName(m_name);
    }
    // The file was renamed into place: nothing to remove.
    void release() { m_name.clear(); }

private:
    [[noreturn]] void fail(int error, QFileDevice::FileError fileError, const QString &path)
    {
        discard();
        ::close(std::exchange(m_folder, -1));
        failWrite(error, fileError, path);
    }
    void discard()
    {
        if (m_fd >= 0)
            ::close(std::exchange(m_fd, -1));
        if (!m_name.isEmpty())
            ::unlinkat(m_folder, std::exchange(m_name, {}).constData(), 0);
    }

    QByteArray m_target;
    QByteArray m_name;
    int m_folder = -1;
    int m_fd = -1;
};

// An exclusive advisory lock on a folder while it lives: two copies of the
// program on one folder never interleave the check and the replacement. The
// lock is on the folder itself, so no lock file appears in it. A lock held
// elsewhere for seconds ends the edit instead of freezing the window.
class FolderLock {
public:
    FolderLock(const QString &folder, const QString &path)
    {
        m_fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_fd < 0)
            return; // a folder that cannot be opened is written without the lock
        for (int wait = 0; ::flock(m_fd, LOCK_EX | LOCK_NB) != 0; ++wait) {
            if (errno != EWOULDBLOCK && errno != EINTR)
                return; // a file system without locks
            if (wait == 500) {
                ::close(m_fd);
                throw Failure(FailureKind::Refused, path, 0,
                    QStringLiteral("Another program has held the application folder locked "
                                   "for five seconds, so the file is not rewritten. Close "
                                   "other copies of Quorvel, then make the edit again."));
            }
            ::usleep(10000);
        }
    }
    ~FolderLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // and the lock with it
    }
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

private:
    int m_fd = -1;
};

Failure beingWritten(const QString &path)
{
    return Failure(FailureKind::Refused, path, 0,
        QStringLiteral("Another program has the file open for writing, so it is not "
                       "rewritten: what that program writes would be lost. Close the file "
                       "there, then make the edit again."));
}

#ifdef Q_OS_LINUX
// A broken lease signals its holder with SIGIO, whose default ends the
// program; the store asks F_GETLEASE instead of waiting for the signal.
void ignoreLeaseSignal()
{
    static const bool ignored = [] {
        struct sigaction action { };
        if (::sigaction(SIGIO, nullptr, &action) != 0 || action.sa_handler != SIG_DFL)
            return false;
        action.sa_handler = SIG_IGN;
        return ::sigaction(SIGIO, &action, nullptr) == 0;
    }();
    Q_UNUSED(ignored);
}

// Another program's open for writing of the file to be replaced, seen
// through a read lease: the kernel grants one only while no one has the file
// open for writing, and anyone who opens it for writing afterwards breaks it
// and waits, before the open completes, until the lease goes. Where no lease
// can be had (a file of another owner, a file system without leases), the
// watch sees nothing.
class WriterWatch {
public:
    WriterWatch(int folder, const QByteArray &name)
    {
        ignoreLeaseSignal();
        m_fd = ::openat(folder, name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (m_fd >= 0 && ::fcntl(m_fd, F_SETLEASE, F_RDLCK) != 0) {
            m_writing = errno == EAGAIN;
            ::close(std::exchange(m_fd, -1));
        }
    }
    ~WriterWatch()
    {
        if (m_fd >= 0)
            ::close(m_fd); // and the lease with it
    }
    WriterWatch(const WriterWatch &) = delete;
    WriterWatch &operator=(const WriterWatch &) = delete;

    // Someone had the file open for writing when the watch began, or has
    // opened it for writing since.
    bool written() const
    {
        return m_writing || (m_fd >= 0 && ::fcntl(m_fd, F_GETLEASE) != F_RDLCK);
    }

private:
    int m_fd = -1;
    bool m_writing = false;
};

bool exchangeUnsupported(int error)
{
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP;
}
#endif

// True when the file at path holds the expected bytes.
bool readsAs(const QString &path, const QByteArray &expected)
{
    try {
        return readBounded(path) == expected;
    } catch (const Failure &) {
        return false; // unreadable: not as expected
    }
}

// Where the file system cannot exchange two files: the old file moves aside
// under a name of the store's own and is checked there, and the new one is
// linked into place only where nothing is, so that a file another program
// puts at the name meanwhile is never replaced. For those microseconds the
// name holds no file. A file system without links takes a rename instead,
// which replaces what appeared since the check.
void replaceByLink(TemporaryFile &temp, const QString &target, const QString &path,
    const FileState &expected, const QString &advice, const std::function<bool()> &written)
{
    const int folder = temp.folder();
    QByteArray aside;
    auto asidePath
        = [&] { return QFileInfo(target).absolutePath() + u'/' + QFile::decodeName(aside); };
    // Puts the file moved aside back in its place and throws failure, unless
    // another file is there by now: then it stays under its own name, which
    // the message gives.
    auto putBackAndThrow = [&](const Failure &failure) {
        if (aside.isEmpty())
            throw failure;
        if (::linkat(folder, aside.constData(), folder, temp.target().constData(), 0) != 0)
            throw Failure(failure.kind(), path, 0,
                failure.detail()
                    + QStringLiteral(" The file that was there is kept in %1.")
                          .arg(QDir::toNativeSeparators(asidePath())));
        ::unlinkat(folder, aside.constData(), 0);
        throw failure;
    };
    if (expected) {
        aside = temporaryName(temp.target());
        if (::renameat2(folder, temp.target().constData(), folder, aside.constData(), 0) != 0) {
            if (errno == ENOENT)
                throw changedBehind(path, advice);
            failWrite(errno, QFileDevice::RenameError, path);
        }
        const bool same = readsAs(asidePath(), *expected);
        if (!same || written())
            putBackAndThrow(same ? beingWritten(path) : changedBehind(path, advice));
    }
    if (::linkat(folder, temp.name().constData(), folder, temp.target().constData(), 0) != 0) {
        const int error = errno;
        if (error == EEXIST) {
            // Another program's file came in the meantime and stays; the one
            // moved aside was as expected, which that program has replaced.
            if (!aside.isEmpty())
                ::unlinkat(folder, aside.constData(), 0);
            throw changedBehind(path, advice);
        }
        const bool linkless
            = error == EPERM || error == EOPNOTSUPP || error == ENOTSUP || error == EMLINK;
        if (!linkless
            || ::renameat2(folder, temp.name().constData(), folder, temp.target().constData(), 0)
                != 0)
            putBackAndThrow(writeFailure(
                failureKind(linkless ? errno : error, QFileDevice::RenameError, Access::Write),
                path));
        temp.release();
    }
    if (!aside.isEmpty())
        ::unlinkat(folder, aside.constData(), 0);
}

// Puts the complete temporary file in place of target. The exchange swaps
// the two files in one step, so nothing another program saves can fall
// between the check and the replacement: the file displaced to the temporary
// name is the one checked, and one that is not as expected, or that another
// program opened for writing, is swapped back. Where the file system cannot
// exchange, replaceByLink() does the work.
void replace(TemporaryFile &temp, const QString &target, const QString &path,
    const FileState &expected, const QString &advice)
{
#ifdef Q_OS_LINUX
    const int folder = temp.folder();
    const char *const name = temp.name().constData();
    const char *const to = temp.target().constData();
    std::optional<WriterWatch> watch;
    if (expected) {
        watch.emplace(folder, temp.target());
        if (watch->written())
            throw beingWritten(path);
    }
    const unsigned int flags = expected ? RENAME_EXCHANGE : RENAME_NOREPLACE;
    if (::renameat2(folder, name, folder, to, flags) == 0) {
        if (!expected) {
            temp.release();
            return;
        }
        const bool written = watch->written();
        if (!written && readsAs(temp.path(target), *expected))
            return; // the temporary name now holds the old file, which goes
        if (::renameat2(folder, name, folder, to, RENAME_EXCHANGE) != 0) {
            // The other program's file stays at the temporary name.
            const QString kept = QDir::toNativeSeparators(temp.path(target));
            temp.release();
            throw Failure(FailureKind::Refused, path, 0,
                changedBehind(path, advice).detail()
                    + QStringLiteral(" Its content as the other program left it is in %1.")
                          .arg(kept));
        }
        throw written ? beingWritten(path) : changedBehind(path, advice);
    }
    const int error = errno;
    if (error == EEXIST || error == ENOENT)
        throw changedBehind(path, advice); // made, or removed, since it was read
    if (!exchangeUnsupported(error))
        failWrite(error, QFileDevice::RenameError, path);
    if (watch && watch->written())
        throw beingWritten(path);
    replaceByLink(
        temp, target, path, expected, advice, [&watch] { return watch && watch->written(); });
#else
    replaceByLink(temp, target, path, expected, advice, [] { return false; });
#endif
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
    const QString &advice, const std::optional<FolderId> &folder)
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

#ifdef Q_OS_UNIX
    TemporaryFile temp(target, path, folder);
    temp.write(*bytes, path);
    const FolderLock lock(QFileInfo(path).absolutePath(), path);
    replace(temp, target, path, expected, advice);
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
        throw changedBehind(path, advice);
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
