#include "platform/services.h"

#include <QWidget>

#ifdef Q_OS_WIN
#include "platform/win32_registry.h"
#include "platform/win32_shell.h"
#else
#include "platform/sysinfo.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>
#endif

namespace quorvel::platform {

namespace {

#ifdef Q_OS_WIN

// The Windows calls take the UTF-16 text that a QString holds.
std::u16string_view utf16(QStringView text)
{
    return { text.utf16(), std::size_t(text.size()) };
}

class WindowsRegistry : public Registry {
public:
    long openKey(quint32 root, const QString &keyName, quint32 access, Key &key) override
    {
        std::uintptr_t opened = 0;
        const long result = win32::openKey(root, utf16(keyName), access, opened);
        key = opened;
        return result;
    }

    long queryValue(Key key, const QString &valueName, quint32 &type, QByteArray &buffer,
        quint32 &size) override
    {
        std::string data(std::size_t(buffer.size()), '\0');
        std::uint32_t valueType = 0;
        std::uint32_t dataSize = size;
        const long result = win32::queryValue(key, utf16(valueName), valueType, data, dataSize);
        type = valueType;
        size = dataSize;
        if (result == 0)
            buffer = QByteArray(data.data(), qsizetype(data.size()));
        return result;
    }

    void closeKey(Key key) override { win32::closeKey(key); }
};

class ShellUrlOpener : public UrlOpener {
public:
    bool openUrl(const QString &url, QWidget *owner) override
    {
        void *window = owner ? reinterpret_cast<void *>(owner->winId()) : nullptr;
        return win32::shellOpen(window, utf16(url));
    }
};

class WindowsProgramStarter : public ProgramStarter {
public:
    bool startProgram(const QString &path) override { return win32::startProgram(utf16(path)); }
};

class WindowsFileProbe : public FileProbe {
public:
    bool fileExists(const QString &path) override { return win32::fileExists(utf16(path)); }
};

#else

class DesktopUrlOpener : public UrlOpener {
public:
    bool openUrl(const QString &url, QWidget *) override
    {
        return QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
    }
};

class DetachedProgramStarter : public ProgramStarter {
public:
    bool startProgram(const QString &path) override
    {
        if (path.isEmpty())
            return false;
        return QProcess::startDetached(path, {});
    }
};

class FileInfoProbe : public FileProbe {
public:
    bool fileExists(const QString &path) override { return QFileInfo(path).isFile(); }
};

#endif

} // namespace

Services &systemServices()
{
#ifdef Q_OS_WIN
    static WindowsRegistry registry;
    static ShellUrlOpener urlOpener;
    static WindowsProgramStarter programStarter;
    static WindowsFileProbe fileProbe;
#else
    static SubstituteRegistry registry;
    static DesktopUrlOpener urlOpener;
    static DetachedProgramStarter programStarter;
    static FileInfoProbe fileProbe;
#endif
    static Services services { registry, urlOpener, programStarter, fileProbe };
    return services;
}

} // namespace quorvel::platform
