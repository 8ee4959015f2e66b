#include "win32_registry.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace quorvel::platform::win32 {

namespace {

// The predefined roots are sign-extended 32-bit values: 0x80000002 is
// HKEY_LOCAL_MACHINE only when widened through LONG.
HKEY rootHandle(std::uint32_t root)
{
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

} // namespace

long openKey(
    std::uint32_t root, const std::string &keyName, std::uint32_t access, std::uintptr_t &key)
{
    HKEY opened = nullptr;
    const LONG result
        = RegOpenKeyExA(rootHandle(root), keyName.c_str(), 0, static_cast<REGSAM>(access), &opened);
    if (result == ERROR_SUCCESS)
        key = reinterpret_cast<std::uintptr_t>(opened);
    return result;
}

long queryValue(std::uintptr_t key, const std::string &valueName, std::uint32_t &type,
    std::string &buffer, std::uint32_t &size)
{
    DWORD valueType = 0;
    DWORD dataSize = size < buffer.size() ? size : static_cast<DWORD>(buffer.size());
    const LONG result = RegQueryValueExA(reinterpret_cast<HKEY>(key), valueName.c_str(), nullptr,
        &valueType, reinterpret_cast<LPBYTE>(buffer.data()), &dataSize);
    type = valueType;
    size = dataSize;
    return result;
}

void closeKey(std::uintptr_t key)
{
    RegCloseKey(reinterpret_cast<HKEY>(key));
}

} // namespace quorvel::platform::win32
