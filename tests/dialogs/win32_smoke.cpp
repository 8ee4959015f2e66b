// Runs the Windows platform calls against a real (or emulated) Windows
// registry and file system. Plain C++: built with a cross-compiler by
// scripts/check-win32. Exits 0 when every check passes.

#include "platform/win32_registry.h"
#include "platform/win32_shell.h"

#include <cstdio>
#include <string>

namespace {

int failures = 0;

void check(bool ok, const char *what)
{
    std::printf("%s: %s\n", ok ? "PASS" : "FAIL", what);
    if (!ok)
        ++failures;
}

} // namespace

int main()
{
    using namespace quorvel::platform::win32;
    constexpr std::uint32_t localMachine = 0x80000002u;
    constexpr std::uint32_t readAccess = 0x20019u; // KEY_READ
    const std::string versionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

    std::uintptr_t key = 0;
    check(openKey(localMachine, versionKey, readAccess, key) == 0,
        "open a key under the local machine root");

    std::string buffer(1024, '\0');
    std::uint32_t type = 0;
    std::uint32_t size = 1024;
    check(queryValue(key, "SystemRoot", type, buffer, size) == 0, "query a string value");
    check(type == 1 || type == 2, "string value has a string type");
    check(size > 1 && buffer[size - 1] == '\0', "string size counts its terminating NUL");

    std::string small(2, '\0');
    std::uint32_t smallSize = 2;
    check(queryValue(key, "SystemRoot", type, small, smallSize) == 234,
        "value larger than the buffer is a failed query");

    std::uint32_t missingSize = 1024;
    check(queryValue(key, "NoSuchValue-Quorvel", type, buffer, missingSize) != 0,
        "missing value fails");
    closeKey(key);

    std::uintptr_t missing = 0;
    check(openKey(localMachine, "SOFTWARE\\NoSuchKey-Quorvel", readAccess, missing) != 0,
        "missing key fails");

    check(fileExists("C:\\windows\\system32\\kernel32.dll"), "an existing file is found");
    check(!fileExists("C:\\windows\\system32"), "a folder is not a file");
    check(!fileExists("C:\\no-such-file-quorvel.exe"), "a missing file is not found");
    check(startProgram("C:\\windows\\system32\\hostname.exe"), "an existing program starts");
    check(!startProgram(""), "an empty path starts nothing");
    check(!startProgram("C:\\no-such-file-quorvel.exe"), "a missing program starts nothing");

    return failures == 0 ? 0 : 1;
}
