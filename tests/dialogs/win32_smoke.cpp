// Runs the Windows platform calls against a real (or emulated) Windows
// registry and file system. Plain C++: built with a cross-compiler by
// scripts/check-win32. Exits 0 when every check passes.

#include "platform/registrykeys.h"
#include "platform/win32_registry.h"
#include "platform/win32_shell.h"
#include "store/win32_codepage.h"

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

// Each byte from 0x80 to 0x9F in Windows-1252; the undefined five are the C1
// control of the same number, as on the other platforms.
constexpr char16_t k1252From0x80[32]
    = { 0x20AC, 0x81, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
          0x2039, 0x0152, 0x8D, 0x017D, 0x8F, 0x90, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013,
          0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D, 0x017E, 0x0178 };

void checkCodePage()
{
    using namespace quorvel::win32;
    const unsigned ansi = ansiCodePage();
    check(ansi == 1252, "the ANSI code page is 1252");
    std::string bytes;
    std::u16string chars;
    for (int byte = 0; byte < 256; ++byte) {
        bytes += char(byte);
        chars += byte >= 0x80 && byte < 0xA0 ? k1252From0x80[byte - 0x80] : char16_t(byte);
    }
    check(decodeCodePage(ansi, bytes) == chars, "every byte, NUL included, decodes as 1252");
    check(encodeCodePage(ansi, chars) == bytes, "and encodes back");
    check(decodeCodePage(ansi, "").empty() && encodeCodePage(ansi, u"") == "", "empty text");
    check(encodeCodePage(ansi, u"?") == "?", "a real question mark is no refusal");
    // Not a look-alike, nor "?", in its place.
    const struct {
        const char16_t *text;
        const char *what;
    } foreign[] = { { u"\u0100", "U+0100 (best fit A) is refused" },
        { u"x\u221E", "U+221E (best fit 8) is refused" }, { u"\u4E00", "U+4E00 is refused" },
        { u"\xD800", "a lone surrogate is refused" } };
    for (const auto &row : foreign)
        check(!encodeCodePage(ansi, row.text), row.what);
    check(encodeCodePage(65001, u"\u00E9\u4E00") == "\xC3\xA9\xE4\xB8\x80"
            && decodeCodePage(65001, "\xC3\xA9\xE4\xB8\x80") == u"\u00E9\u4E00",
        "UTF-8 as the ANSI code page");
    check(!encodeCodePage(65001, u"\xD800"), "UTF-8 refuses a lone surrogate");
}

} // namespace

int main()
{
    checkCodePage();

    using namespace quorvel::platform::win32;
    using namespace std::literals;
    constexpr std::uint32_t localMachine = quorvel::platform::kHkeyLocalMachine;
    constexpr std::uint32_t readAccess = quorvel::platform::kKeyRead;
    const std::u16string versionKey = u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

    std::uintptr_t key = 0;
    check(openKey(localMachine, versionKey, readAccess, key) == 0,
        "open a key under the local machine root");

    std::string buffer(1024, '\0');
    std::uint32_t type = 0;
    std::uint32_t size = 1024;
    check(queryValue(key, u"SystemRoot", type, buffer, size) == 0, "query a string value");
    check(type == 1 || type == 2, "string value has a string type");
    check(size > 1 && buffer[size - 1] == '\0', "string size counts its terminating NUL");

    std::string small(2, '\0');
    std::uint32_t smallSize = 2;
    check(queryValue(key, u"SystemRoot", type, small, smallSize) == 234,
        "value larger than the buffer is a failed query");

    std::uint32_t missingSize = 1024;
    check(queryValue(key, u"NoSuchValue-Quorvel", type, buffer, missingSize) != 0,
        "missing value fails");
    closeKey(key);

    std::uintptr_t missing = 0;
    check(openKey(localMachine, u"SOFTWARE\\NoSuchKey-Quorvel", readAccess, missing) != 0,
        "missing key fails");
    check(openKey(localMachine, u"SOFTWAR\u0115\\Microsoft\\Windows NT\\CurrentVersion", readAccess,
              missing)
            == 2,
        "a key name outside the code page opens no look-alike");

    check(fileExists(u"C:\\windows\\system32\\kernel32.dll"), "an existing file is found");
    check(!fileExists(u"C:\\windows\\system32"), "a folder is not a file");
    check(!fileExists(u"C:\\no-such-file-quorvel.exe"), "a missing file is not found");
    check(!fileExists(u"C:\\windows\\system32\\k\u0115rnel32.dll"), "no look-alike file is found");
    check(!fileExists(u"C:\\windows\\system32\\kernel32.dll\0.txt"sv), "a NUL does not cut a path");
    check(startProgram(u"C:\\windows\\system32\\hostname.exe"), "an existing program starts");
    check(!startProgram(u""), "an empty path starts nothing");
    check(!startProgram(u"C:\\no-such-file-quorvel.exe"), "a missing program starts nothing");
    check(!startProgram(u"C:\\windows\\system32\\rundll32.\u0115xe"), "nor a look-alike");
    check(shellOpen(nullptr, u"C:\\windows\\system32\\rundll32.exe"), "the shell opens a program");
    check(!shellOpen(nullptr, u"C:\\no-such-file-quorvel.txt"), "the shell reports a missing file");
    check(!shellOpen(nullptr, u"quorvel-no-such-scheme:x"), "and a scheme without a handler");

    return failures == 0 ? 0 : 1;
}
