#include "win32_shell.h"

#include "platform/win32_ansicall.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <string>

namespace quorvel::platform::win32 {

using quorvel::win32::encodeForAnsiCall;

bool shellOpen(void *owner, std::u16string_view url)
{
    const auto target = encodeForAnsiCall(url);
    if (!target)
        return false;
    const HINSTANCE result = ShellExecuteA(
        static_cast<HWND>(owner), "Open", target->c_str(), nullptr, nullptr, SW_SHOW);
    // Values above 32 mean success; the rest are error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool startProgram(std::u16string_view path)
{
    const auto program = encodeForAnsiCall(path);
    if (!program || program->empty())
        return false;
    // CreateProcessA may write into the command line, so it gets a copy.
    std::string commandLine = "\"" + *program + "\"";
    STARTUPINFOA startup {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process {};
    if (!CreateProcessA(program->c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
            nullptr, &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool fileExists(std::u16string_view path)
{
    const auto file = encodeForAnsiCall(path);
    if (!file)
        return false;
    const DWORD attributes = GetFileAttributesA(file->c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace quorvel::platform::win32
