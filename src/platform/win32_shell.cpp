#include "win32_shell.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

namespace quorvel::platform::win32 {

bool shellOpen(void *owner, const std::string &url)
{
    const HINSTANCE result
        = ShellExecuteA(static_cast<HWND>(owner), "Open", url.c_str(), nullptr, nullptr, SW_SHOW);
    // Values above 32 mean success; the rest are error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool startProgram(const std::string &path)
{
    if (path.empty())
        return false;
    // CreateProcessA may write into the command line, so it gets a copy.
    std::string commandLine = "\"" + path + "\"";
    STARTUPINFOA startup {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process {};
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
            nullptr, &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool fileExists(const std::string &path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace quorvel::platform::win32
