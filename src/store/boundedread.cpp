#include "store/boundedread.h"

#include "store/codepage.h"
#include "store/datafile.h"
#include "store/filefailure.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quorvel {

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
            directory ? Cause::None : Cause::NotRegularFile);
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw Failure(
            FailureKind::DeviceIOError, path, 0, Cause::SystemError, { file.errorString() });
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

} // namespace

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
            throw Failure(
                FailureKind::DeviceIOError, path, 0, Cause::SystemError, { file.errorString() });
        if (chunk.isEmpty())
            break;
        bytes += chunk;
        if (bytes.size() > kMaxDataFileBytes)
            throw Failure(FailureKind::FileTooLarge, path);
    }
    return bytes;
}

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

} // namespace quorvel
