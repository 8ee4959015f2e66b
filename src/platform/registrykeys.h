#pragma once

// The root and the access mask with which the program opens registry keys,
// in plain C++ so that the Windows smoke test opens keys exactly as the
// program does.

#include <cstdint>

namespace quorvel::platform {

inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002u;
// Read control, query value, enumerate subkeys and notify: reading only.
// Windows refuses a user without elevation every write right under
// HKEY_LOCAL_MACHINE, so a mask that asks for one opens nothing there.
inline constexpr std::uint32_t kKeyRead = 0x20019u;

} // namespace quorvel::platform
