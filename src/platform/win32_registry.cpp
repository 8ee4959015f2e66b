#include "win32_registry.h"

#include "platform/win32_ansicall.h"

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
    std::uint32_t root, std::u16string_view keyName, std::uint32_t access, std::uintptr_t &key)
{
    const auto name = quorvel::win32::encodeForAnsiCall(keyName);
    if (!name)
        return ERROR_FILE_NOT_FOUND;
    HKEY opened = nullptr;
    const LONG result
        = RegOpenKeyExA(rootHandle(root), name->c_str(), 0, static_cast<REGSAM>(access), &opened);
    if (result == ERROR_SUCCESS)
        key = reinterpret_cast<std::uintptr_t>(opened);
    return result;
}

long queryValue(std::uintptr_t key, std::u16string_view valueName, std::uint32_t &type,
    std::string &buffer, std::uint32_t &size)
{
    const auto name = quorvel::win32::encodeForAnsiCall(valueName);
    if (!name)
        return ERROR_FILE_NOT_FOUND;
    DWORD valueType = 0;
    DWORD dataSize = size < buffer.size() ? size : static_cast<DWORD>(buffer.size());
    const LONG result = RegQueryValueExA(reinterpret_cast<HKEY>(key), name->c_str(), nullptr,
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
