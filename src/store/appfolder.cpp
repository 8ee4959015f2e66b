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

// What went wrong and what to do, by the word for it that the launcher
// passes or unusableReason() gives; %1 is the user's own folder.
struct Advice {
    const char *reason;
    const char *text;
};
constexpr Advice kAdvice[] = {
    { "no-home",
        "There is no folder of your own for Quorvel, as HOME is not set. Set HOME and start "
        "Quorvel again." },
    { "read-only",
        "Your own folder %1 could not be made or filled, as your home folder is read-only. "
        "Make it writable and start Quorvel again." },
    { "full",
        "Your own folder %1 could not be filled, as the disk is full. Free some space and "
        "start Quorvel again." },
    { "not-owned",
        "Your own folder %1 belongs to another user. Remove it, or set XDG_DATA_HOME to a "
        "folder of yours, and start Quorvel again." },
    { "shared",
        "Other users may write to your own folder %1, so Quorvel does not use it. Make it "
        "yours alone (chmod go-w %1) and start Quorvel again." },
    { "parent-shared",
        "Other users may write to a folder above your own folder %1, and so put another folder "
        "in its place, so Quorvel does not use it. Make each folder above it, up to your home "
        "folder, writable by you alone (chmod go-w) and start Quorvel again." },
    { "not-a-folder",
        "Your own folder %1 is missing or no folder. Move what lies there away and start "
        "Quorvel again, which makes the folder." },
    { "blocked",
        "The category list conversion.txt in your own folder %1 is not a regular file. Move "
        "it away and start Quorvel again, which puts the bundled one there." },
};

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

QString fallbackAdvice(const AppFolder &folder)
{
    if (folder.fallback.isEmpty())
        return {};
    const QString wanted = QDir::toNativeSeparators(folder.wanted);
    for (const Advice &advice : kAdvice) {
        if (folder.fallback != QLatin1String(advice.reason))
            continue;
        // The advice for no HOME names no folder: arg() would warn of no %1.
        const QString text = QString::fromUtf8(advice.text);
        return text.contains(QLatin1String("%1")) ? text.arg(wanted) : text;
    }
    return QStringLiteral("Your own folder %1 could not be set up; quorvel said why on its "
                          "standard error.")
        .arg(wanted);
}

std::optional<Failure> readOnlyFolderFailure(const AppFolder &folder)
{
    // The access test of the system: it knows read-only mounts and access
    // lists as well as the permission bits.
    const QFileInfo info(folder.path);
    if (info.isDir() && info.isWritable())
        return std::nullopt;

    QString detail = QStringLiteral("Quorvel may not write to its application folder %1. "
                                    "Edits need a writable application folder.")
                         .arg(QDir::toNativeSeparators(folder.path));
    // An installed tree holds the program in <prefix>/lib/quorvel and, in
    // <prefix>/bin/quorvel, the launcher that gives each user a folder.
    const QString parent = QDir::cleanPath(folder.path + QStringLiteral("/.."));
    if (!folder.fallback.isEmpty())
        detail += u' ' + fallbackAdvice(folder);
    else if (info.fileName() == QLatin1String("quorvel")
        && QFileInfo(parent).fileName() == QLatin1String("lib")
        && QFileInfo(parent + QStringLiteral("/../bin/quorvel")).isFile())
        detail += QStringLiteral(" Start Quorvel from the menu or as quorvel: that gives each "
                                 "user an application folder of their own.");
    return Failure(FailureKind::PermissionDenied, {}, 0, detail);
}

} // namespace quorvel
