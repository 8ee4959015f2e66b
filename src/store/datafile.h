#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quorvel {

// The largest data file that is read, and so the largest that is written.
// Names have no length limit, but 32767 records of sane names stay well
// under 1 MiB; the bound keeps a stray huge file from exhausting memory.
inline constexpr qint64 kMaxDataFileBytes = 64 * 1024 * 1024;

// The temporary file of a write is named after its file with a dot and six
// characters appended ("Length.txt.AbC123"); a write killed halfway may
// leave one behind, which is never read.
inline constexpr int kTemporarySuffixLength = 7;

// What a caller knows of a file before it replaces it: the bytes it last
// read or wrote there, or none when there was no file.
using FileState = std::optional<QByteArray>;

struct DataFileRead {
    QString text; // decoded from the code page, a leading byte-order mark left out
    QByteArray bytes; // as they are on disk
};

// Reads a whole data file (or the help file) and decodes it from the code
// page. Throws Failure(FileNotFound), (PathFileAccessError) for a folder, a
// pipe or a device, which are never waited on, (PermissionDenied),
// (FileTooLarge) past kMaxDataFileBytes, with the path.
DataFileRead readDataFile(const QString &path);
QString readCodePageFile(const QString &path);

// Replaces the file at path with text, or leaves it as it was, and returns
// the bytes written. The new content goes to a temporary file in the same
// folder that replaces the old file only once it is complete, and only if
// the file replaced held the expected bytes; otherwise Failure(Refused) says
// it was changed by another program (Cause::ChangedBehind). On Linux the two
// files are exchanged in one step and the displaced one is checked, so that
// no save of another program can fall between check and replacement; while
// the check and the replacement run, the folder is locked against other
// copies of the program. Refused too, before any file is touched: a text the
// code page cannot carry, and one past kMaxDataFileBytes. A read-only file
// is not replaced (Failure(PermissionDenied)); a symbolic link is written
// through to its target.
//
// folder, where given, is the identity of the application folder when the
// program started: a write into a folder at that path that is no longer
// that one (another folder was moved or linked into its place) is refused
// before anything is written, and every step of the write happens in the
// folder so checked, whatever is put at its path meanwhile.
struct FolderId {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FolderId &) const = default;
};
std::optional<FolderId> folderId(const QString &folder);
QByteArray writeDataFile(const QString &path, const QString &text, const FileState &expected,
    const std::optional<FolderId> &folder = std::nullopt);

// True when both paths lead to one file, links followed; false when either
// is missing.
bool isSameFile(const QString &a, const QString &b);

// Creates an empty file at path; one that is there already (or a link) is
// kept. True when the file was made here.
bool createEmptyFile(const QString &path, const std::optional<FolderId> &folder = std::nullopt);

} // namespace quorvel
