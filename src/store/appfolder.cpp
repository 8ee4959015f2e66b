#include "store/appfolder.h"

#include <QDir>
#include <QFileInfo>

namespace quorvel {

std::optional<Failure> readOnlyFolderFailure(const QString &folder)
{
    // The access test of the system: it knows read-only mounts and access
    // lists as well as the permission bits.
    const QFileInfo info(folder);
    if (info.isDir() && info.isWritable())
        return std::nullopt;

    QString detail = QStringLiteral("Quorvel may not write to its application folder %1. "
                                    "Edits need a writable application folder.")
                         .arg(QDir::toNativeSeparators(folder));
    // An installed tree holds the program in <prefix>/lib/quorvel and, in
    // <prefix>/bin/quorvel, the launcher that gives each user a folder.
    const QString parent = QDir::cleanPath(folder + QStringLiteral("/.."));
    if (info.fileName() == QLatin1String("quorvel")
        && QFileInfo(parent).fileName() == QLatin1String("lib")
        && QFileInfo(parent + QStringLiteral("/../bin/quorvel")).isFile())
        detail += QStringLiteral(" Start Quorvel from the menu or as quorvel: that gives each "
                                 "user an application folder of their own.");
    return Failure(FailureKind::PermissionDenied, {}, 0, detail);
}

} // namespace quorvel
