#pragma once

// The step of a write that puts its complete temporary file in place of the
// old file (the store's own; not for the windows).

#include "store/datafile.h"

#include <QString>

#ifdef Q_OS_UNIX
#include "store/temporaryfile.h"

namespace quorvel {

// Puts the complete temporary file in place of target, the file a write to
// path goes to, provided target holds what expected says: the bytes read
// there, or no file. Otherwise throws Failure(Refused, ChangedBehind), and the
// file another program put there stays. Also refused: a file that another
// program has open for writing.
void replaceFile(
    TemporaryFile &temp, const QString &target, const QString &path, const FileState &expected);

// Makes the folder's entries durable: a replacement or a new file is on the
// disk before the edit is reported done. The file's bytes are synced before;
// a folder that cannot be synced (EINVAL and the like) has nothing to add,
// and a failed sync is no reason to report an edit that took effect as lost.
void syncFolder(int folder);

} // namespace quorvel

#endif
