#pragma once

// The lock that copies of the program take on a folder they change (the
// store's own; not for the windows).

#include <QString>

#include <chrono>

namespace quorvel {

// An exclusive advisory lock on a folder while it lives: copies of the
// program that lock one folder take turns. The lock is on the folder itself,
// so no lock file appears in it. While another copy holds it, the lock is
// tried again every 10 ms until patience runs out. Windows has no such lock
// and nothing there shares a folder between copies: held() is true at once.
class FolderLock {
public:
    enum class Links { Follow, Refuse }; // Refuse: a symbolic link at folder is not locked

    FolderLock(
        const QString &folder, std::chrono::milliseconds patience, Links links = Links::Follow);
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    bool held() const { return m_held; }
    // Another copy held the lock for all of patience. Neither held nor busy:
    // the folder could not be opened, or its file system has no locks.
    bool busy() const { return m_busy; }

private:
    int m_fd = -1;
    bool m_held = false;
    bool m_busy = false;
};

} // namespace quorvel
