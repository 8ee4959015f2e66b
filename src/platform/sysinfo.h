#pragma once

#include "platform/memoryregistry.h"

#include <QStringList>

#include <functional>

namespace quorvel::platform {

// Where the registry records the system-information tool: its full path, or
// else the folder that holds kSysInfoFileName.
inline constexpr char kSysInfoPathKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr char kSysInfoPathValue[] = "PATH";
inline constexpr char kSysInfoFolderKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr char kSysInfoFolderValue[] = "MSINFO";
inline constexpr char kSysInfoFileName[] = "MSINFO32.EXE";

// The programs that show system information on the usual Linux and Unix
// desktops, in order of preference: dedicated information tools first.
QStringList systemInfoToolNames();

// The full path of the first of systemInfoToolNames() found on the PATH, or
// an empty text when none is installed.
QString findSystemInfoTool();

// The registry stand-in for platforms without one. It answers the lookup of
// the tool's full path with the desktop's system-information tool (as a
// string with its terminating NUL), searched afresh on every opening of the
// key, and has nothing else: without such a tool both lookups fail.
class SubstituteRegistry : public MemoryRegistry {
public:
    using ToolFinder = std::function<QString()>;

    explicit SubstituteRegistry(ToolFinder finder = findSystemInfoTool);

    long openKey(quint32 root, const QString &keyName, quint32 access, Key &key) override;

private:
    ToolFinder m_finder;
};

} // namespace quorvel::platform
