#pragma once

// The conversions between UTF-16 and the 8-bit code pages of Windows, in
// plain C++ so that they build without Qt. codePage is the number of an
// ANSI code page (1252, 932, ...) or of UTF-8 (65001). Texts longer than
// INT_MAX units throw std::length_error: the system calls count in int.

#include <optional>
#include <string>
#include <string_view>

namespace quorvel::win32 {

// The system's ANSI code page: the one of the data files and of the 8-bit
// ("A") calls of the Windows API.
unsigned ansiCodePage();

// Every byte sequence decodes: one the code page has no character for
// becomes the code page's replacement character.
std::u16string decodeCodePage(unsigned codePage, std::string_view bytes);

// nullopt when the text holds a character the code page cannot carry
// exactly: neither a look-alike ("A" for U+0100) nor "?" stands in for it.
std::optional<std::string> encodeCodePage(unsigned codePage, std::u16string_view text);

} // namespace quorvel::win32
