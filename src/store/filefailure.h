#pragma once

// The failures of the data file's reads and writes, shared by its parts
// (the store's own; not for the windows).

#include "core/failure.h"

#include <QFileDevice>
#include <QString>

namespace quorvel {

enum class Access { Read, Write };

// The failure kind of a file operation that failed with this errno. Qt keeps
// errno from the failing system call; where it is lost (0) the file's own
// error code decides.
FailureKind failureKind(int error, QFileDevice::FileError fileError, Access access);

// A failed write. One that lacks permission also says whether the file or
// its folder is read-only: the user can make a file writable, while a
// read-only folder (the program's folder may be a read-only installation)
// needs another. Any other failure gives the system's own description,
// where there is one.
Failure writeFailure(FailureKind kind, const QString &path, const QString &systemText = {});

[[noreturn]] void failWrite(int error, QFileDevice::FileError fileError, const QString &path,
    const QString &systemText = {});

// The file no longer holds what the caller read there.
Failure changedBehind(const QString &path);

} // namespace quorvel
