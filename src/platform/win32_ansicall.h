#pragma once

// Names and paths for the 8-bit ("A") calls of the Windows API, in plain C++
// so that it builds without Qt.

#include <optional>
#include <string>
#include <string_view>

namespace quorvel::win32 {

// A name or path for the "A" calls: the text in the ANSI code page, or
// nullopt when it cannot be handed over whole, because the code page cannot
// carry it or because a NUL in it would end it early.
std::optional<std::string> encodeForAnsiCall(std::u16string_view text);

} // namespace quorvel::win32
