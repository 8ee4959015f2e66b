#pragma once

// Thin wrappers over the registry calls of the Windows API, in plain C++ so
// that they build without Qt. Every call answers the system's result code,
// 0 on success.

#include <cstdint>
#include <string>

namespace quorvel::platform::win32 {

long openKey(
    std::uint32_t root, const std::string &keyName, std::uint32_t access, std::uintptr_t &key);

// buffer.size() is the capacity handed to the system; size goes in as the
// capacity to use (at most buffer.size()) and comes back as the bytes written.
long queryValue(std::uintptr_t key, const std::string &valueName, std::uint32_t &type,
    std::string &buffer, std::uint32_t &size);

void closeKey(std::uintptr_t key);

} // namespace quorvel::platform::win32
