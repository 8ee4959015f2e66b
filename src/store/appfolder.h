#pragma once

#include "core/failure.h"

#include <QString>

#include <optional>
#include <utility>

namespace quorvel {

// The application folder the program reads and writes its data files in, and,
// where the user's own folder could not be used, why.
struct AppFolder {
    AppFolder(QString folder = {}) // NOLINT: a folder is an application folder
        : path(std::move(folder))
    {
    }

    QString path;
    // The word for why the user's own folder was not used ("read-only",
    // "full", "shared", ...), empty when it is used or none was asked for.
    QString fallback;
    QString wanted; // the user's own folder, where one was named
};

// The application folder, given the folder of the program file and what
// the launcher says. wanted is the user's own folder, which the launcher has
// filled: it is used if it is a folder of this user's that no one else may
// write. fallback is the launcher's word for why it could not use wanted.
// Either way the program's own folder stands in, with the reason; with
// neither it is the application folder.
AppFolder chooseAppFolder(
    const QString &programFolder, const QString &wanted, const QString &fallback = {});

// What stands in the way of edits in an application folder this process may
// not write (a folder of the installed package, a read-only file system):
// Failure(PermissionDenied, AppFolderReadOnly) naming the folder, then why
// the user's own folder was not used (OwnFolderUnused) or, for an installed
// program started without its launcher, that the launcher gives each user
// one (UseLauncher).
// None for a folder the process may write.
std::optional<Failure> readOnlyFolderFailure(const AppFolder &folder);

} // namespace quorvel
