#include "store/temporaryfile.h"

#ifdef Q_OS_UNIX

#include "store/filefailure.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {

QByteArray temporaryName(const QByteArray &name)
{
    static constexpr char kLetters[]
        = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray result = name + '.';
    for (int i = 0; i < kTemporarySuffixLength - 1; ++i)
        result += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
    return result;
}

mode_t newFileMode(int folder)
{
    struct stat list { };
    const bool listed = ::fstatat(folder, "conversion.txt", &list, 0) == 0 && S_ISREG(list.st_mode);
    return listed ? list.st_mode & 0644 : 0644;
}

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
        throw Failure(FailureKind::Refused, path, 0, Cause::FolderReplaced, { folder });
    }
    return fd;
}

TemporaryFile::TemporaryFile(
    const QString &target, const QString &path, const std::optional<FolderId> &id)
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

TemporaryFile::~TemporaryFile()
{
    discard();
    ::close(m_folder);
}

void TemporaryFile::write(const QByteArray &bytes, const QString &path)
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

QString TemporaryFile::path(const QString &target) const
{
    return QFileInfo(target).absolutePath() + u'/' + QFile::decodeName(m_name);
}

void TemporaryFile::fail(int error, QFileDevice::FileError fileError, const QString &path)
{
    discard();
    ::close(std::exchange(m_folder, -1));
    failWrite(error, fileError, path);
}

void TemporaryFile::discard()
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    if (!m_name.isEmpty())
        ::unlinkat(m_folder, std::exchange(m_name, {}).constData(), 0);
}

} // namespace quorvel

#endif
