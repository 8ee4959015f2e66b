#pragma once

// The Windows shell and process calls, in plain C++ so that they build
// without Qt.

#include <string>

namespace quorvel::platform::win32 {

// ShellExecuteA(owner, "Open", url, NULL, NULL, SW_SHOW). owner is a window
// handle or null. true when the shell reports that it started a handler.
bool shellOpen(void *owner, const std::string &url);

// Starts the program at path in a new process, its window shown normally,
// without waiting. The path is the program itself, never parsed as a
// command line, so a path with blanks cannot start a different program.
bool startProgram(const std::string &path);

// Whether a file (not a folder) exists at path.
bool fileExists(const std::string &path);

} // namespace quorvel::platform::win32
