#pragma once

#include <QString>

namespace quorvel {

// The largest data file that is read. Names have no length limit, but 32767
// records of sane names stay well under 1 MiB; the bound keeps a stray huge
// file (or a link to a device) from exhausting memory: Failure(FileTooLarge).
inline constexpr qint64 kMaxDataFileBytes = 64 * 1024 * 1024;

// Reads a whole text file of the application folder and decodes it from the
// code page. Failure(FileNotFound), (PathFileAccessError) for a directory,
// (PermissionDenied), (FileTooLarge) past kMaxDataFileBytes, with the path.
QString readCodePageFile(const QString &path);

// Replaces the file at path with text, or leaves it as it was: the new
// content goes to a temporary file in the same folder that replaces the old
// file only once it is complete. A text the code page cannot carry is
// refused (Failure(Refused)) before any file is touched; a read-only file is
// not replaced (Failure(PermissionDenied)); a symbolic link is written
// through to its target.
void writeDataFile(const QString &path, const QString &text);

// Creates an empty file at path; one that is there already (or a link) is
// kept. True when the file was made here.
bool createEmptyFile(const QString &path);

} // namespace quorvel
