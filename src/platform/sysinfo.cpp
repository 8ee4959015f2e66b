#include "platform/sysinfo.h"

#include "store/codepage.h"

#include <QStandardPaths>

#include <utility>

namespace quorvel::platform {

QStringList systemInfoToolNames()
{
    return {
        QStringLiteral("hardinfo"),
        QStringLiteral("kinfocenter"),
        QStringLiteral("gnome-system-monitor"),
        QStringLiteral("mate-system-monitor"),
        QStringLiteral("xfce4-taskmanager"),
        QStringLiteral("lxtask"),
        QStringLiteral("gnome-control-center"),
    };
}

QString findSystemInfoTool()
{
    const QStringList names = systemInfoToolNames();
    for (const QString &name : names) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

SubstituteRegistry::SubstituteRegistry(ToolFinder finder)
    : m_finder(std::move(finder))
{
}

long SubstituteRegistry::openKey(quint32 root, const QString &keyName, quint32 access, Key &key)
{
    const QString pathKey = QString::fromLatin1(kSysInfoPathKey);
    if (root == kHkeyLocalMachine && keyName == pathKey) {
        const QString tool = m_finder ? m_finder() : QString();
        // A path the code page cannot carry would come back garbled: better
        // no tool than a wrong one.
        const auto bytes = tool.isEmpty() ? std::nullopt : encodeCodePage(tool);
        if (bytes)
            setValue(root, pathKey, QString::fromLatin1(kSysInfoPathValue), kRegSz, *bytes + '\0');
        else
            removeKey(root, pathKey);
    }
    return MemoryRegistry::openKey(root, keyName, access, key);
}

} // namespace quorvel::platform
