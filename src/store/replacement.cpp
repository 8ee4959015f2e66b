#include "store/replacement.h"

#ifdef Q_OS_UNIX

#include "store/boundedread.h"
#include "store/filefailure.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <functional>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace quorvel {

namespace {

Failure beingWritten(const QString &path)
{
    return Failure(FailureKind::Refused, path, 0, Cause::BeingWritten);
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
    const FileState &expected, const std::function<bool()> &written)
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
            throw Failure(failure).because(Cause::KeptAside, { asidePath() });
        ::unlinkat(folder, aside.constData(), 0);
        throw failure;
    };
    if (expected) {
        aside = temporaryName(temp.target());
        if (::renameat2(folder, temp.target().constData(), folder, aside.constData(), 0) != 0) {
            if (errno == ENOENT)
                throw changedBehind(path);
            failWrite(errno, QFileDevice::RenameError, path);
        }
        const bool same = readsAs(asidePath(), *expected);
        if (!same || written())
            putBackAndThrow(same ? beingWritten(path) : changedBehind(path));
    }
    if (::linkat(folder, temp.name().constData(), folder, temp.target().constData(), 0) != 0) {
        const int error = errno;
        if (error == EEXIST) {
            // Another program's file came in the meantime and stays; the one
            // moved aside was as expected, which that program has replaced.
            if (!aside.isEmpty())
                ::unlinkat(folder, aside.constData(), 0);
            throw changedBehind(path);
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

} // namespace

// Puts the complete temporary file in place of target. The exchange swaps
// the two files in one step, so nothing another program saves can fall
// between the check and the replacement: the file displaced to the temporary
// name is the one checked, and one that is not as expected, or that another
// program opened for writing, is swapped back. Where the file system cannot
// exchange, replaceByLink() does the work.
void replaceFile(
    TemporaryFile &temp, const QString &target, const QString &path, const FileState &expected)
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
            const QString kept = temp.path(target);
            temp.release();
            throw changedBehind(path).because(Cause::OtherSaveKept, { kept });
        }
        throw written ? beingWritten(path) : changedBehind(path);
    }
    const int error = errno;
    if (error == EEXIST || error == ENOENT)
        throw changedBehind(path); // made, or removed, since it was read
    if (!exchangeUnsupported(error))
        failWrite(error, QFileDevice::RenameError, path);
    if (watch && watch->written())
        throw beingWritten(path);
    replaceByLink(temp, target, path, expected, [&watch] { return watch && watch->written(); });
#else
    replaceByLink(temp, target, path, expected, [] { return false; });
#endif
}

void syncFolder(int folder)
{
    ::fsync(folder);
}

} // namespace quorvel

#endif
