#pragma once

// The Windows shell and process calls, in plain C++ so that they build
// without Qt. Texts go to the 8-bit ("A") calls in the ANSI code page; one
// that cannot be handed over whole (see encodeForAnsiCall) fails the call,
// rather than reach a look-alike file or URL.

#include <string_view>

namespace quorvel::platform::win32 {

// ShellExecuteA(owner, "Open", url, NULL, NULL, SW_SHOW). owner is a window
// handle or null. true when the shell reports that it started a handler.
bool shellOpen(void *owner, std::u16string_view url);

// Starts the program at path in a new process, its window shown normally,
// without waiting. The path is the program itself, never parsed as a
// command line, so a path with blanks cannot start a different program.
bool startProgram(std::u16string_view path);

// Whether a file (not a folder) exists at path.
bool fileExists(std::u16string_view path);

} // namespace quorvel::platform::win32
