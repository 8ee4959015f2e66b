#pragma once

// Thin wrappers over the registry calls of the Windows API, in plain C++ so
// that they build without Qt. Every call answers the system's result code,
// 0 on success. Names go to the 8-bit ("A") calls in the ANSI code page; a
// name that cannot be handed over whole (see encodeForAnsiCall) names
// nothing those calls can reach and answers ERROR_FILE_NOT_FOUND (2).

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvel::platform::win32 {

long openKey(
    std::uint32_t root, std::u16string_view keyName, std::uint32_t access, std::uintptr_t &key);

// buffer.size() is the capacity handed to the system; size goes in as the
// capacity to use (at most buffer.size()) and comes back as the bytes written.
long queryValue(std::uintptr_t key, std::u16string_view valueName, std::uint32_t &type,
    std::string &buffer, std::uint32_t &size);

void closeKey(std::uintptr_t key);

} // namespace quorvel::platform::win32
