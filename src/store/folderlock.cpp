#include "store/folderlock.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace quorvel {

#ifdef Q_OS_UNIX

FolderLock::FolderLock(const QString &folder, std::chrono::milliseconds patience, Links links)
{
    const int noFollow = links == Links::Refuse ? O_NOFOLLOW : 0;
    m_fd = ::open(
        QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | noFollow);
    if (m_fd < 0)
        return;
    constexpr std::chrono::milliseconds kStep(10);
    for (std::chrono::milliseconds waited(0); ::flock(m_fd, LOCK_EX | LOCK_NB) != 0;
         waited += kStep) {
        const bool taken = errno == EWOULDBLOCK || errno == EINTR;
        if (!taken || waited >= patience) {
            m_busy = taken;
            ::close(std::exchange(m_fd, -1));
            return;
        }
        ::usleep(useconds_t(std::chrono::microseconds(kStep).count()));
    }
    m_held = true;
}

FolderLock::~FolderLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // and the lock with it
}

#else

FolderLock::FolderLock(const QString &, std::chrono::milliseconds, Links)
    : m_held(true)
{
}

FolderLock::~FolderLock() = default;

#endif

} // namespace quorvel
