#include "store/appfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quorvel {

namespace {

// Why the user's own folder is not one to use: only a folder of this user's
// that no one else may write holds the data files.
QString unusableReason(const QFileInfo &info)
{
    if (!info.isDir())
        return QStringLiteral("not-a-folder");
#ifdef Q_OS_UNIX
    if (info.ownerId() != ::geteuid())
        return QStringLiteral("not-owned");
#endif
    if (info.permissions() & (QFileDevice::WriteGroup | QFileDevice::WriteOther))
        return QStringLiteral("shared");
#ifdef Q_OS_UNIX
    // As ssh checks the folders of its files: each folder above, up to the
    // home folder (or the root), belongs to this user or root, and no one
    // else may write to it, unless its sticky bit keeps others from renaming
    // what is not theirs (/tmp).
    const QString home = QDir(QDir::homePath()).canonicalPath();
    QString dir = info.canonicalFilePath();
    while (!dir.isEmpty() && dir != home && dir != QDir::rootPath()) {
        dir = QFileInfo(dir).absolutePath();
        struct stat status { };
        if (::stat(QFile::encodeName(dir).constData(), &status) != 0
            || (status.st_uid != ::geteuid() && status.st_uid != 0)
            || ((status.st_mode & (S_IWGRP | S_IWOTH)) && !(status.st_mode & S_ISVTX)))
            return QStringLiteral("parent-shared");
    }
#endif
    return {};
}

} // namespace

AppFolder chooseAppFolder(
    const QString &programFolder, const QString &wanted, const QString &fallback)
{
    AppFolder folder(programFolder);
    folder.wanted = wanted;
    folder.fallback = fallback;
    if (folder.fallback.isEmpty() && !folder.wanted.isEmpty()) {
        folder.fallback = unusableReason(QFileInfo(folder.wanted));
        if (folder.fallback.isEmpty())
            folder.path = folder.wanted;
    }
    return folder;
}

std::optional<Failure> readOnlyFolderFailure(const AppFolder &folder)
{
    // The access test of the system: it knows read-only mounts and access
    // lists as well as the permission bits.
    const QFileInfo info(folder.path);
    if (info.isDir() && info.isWritable())
        return std::nullopt;

    Failure failure(
        FailureKind::PermissionDenied, {}, 0, Cause::AppFolderReadOnly, { folder.path });
    // An installed tree holds the program in <prefix>/lib/quorvel and, in
    // <prefix>/bin/quorvel, the launcher that gives each user a folder.
    const QString parent = QDir::cleanPath(folder.path + QStringLiteral("/.."));
    if (!folder.fallback.isEmpty())
        failure.because(Cause::OwnFolderUnused, { folder.fallback, folder.wanted });
    else if (info.fileName() == QLatin1String("quorvel")
        && QFileInfo(parent).fileName() == QLatin1String("lib")
        && QFileInfo(parent + QStringLiteral("/../bin/quorvel")).isFile())
        failure.because(Cause::UseLauncher);
    return failure;
}

} // namespace quorvel
