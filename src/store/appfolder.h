#pragma once

#include "core/failure.h"

#include <QString>

#include <optional>

namespace quorvel {

// What stands in the way of edits in an application folder this process may
// not write (a folder of the installed package, a read-only file system):
// Failure(PermissionDenied) naming the folder and saying that edits need a
// writable one, and, for an installed program started without its launcher,
// how each user gets one. None for a folder the process may write.
std::optional<Failure> readOnlyFolderFailure(const QString &folder);

} // namespace quorvel
