#pragma once

#include "platform/memoryregistry.h"
#include "platform/services.h"

#include <QSet>
#include <QStringList>

// Stand-ins for the operating-system services, recording what they were asked.

// The registry held in memory, counting the keys opened and not yet closed:
// every way out of a lookup must close what it opened.
class CountingRegistry : public quorvel::platform::MemoryRegistry {
public:
    long openKey(quint32 root, const QString &keyName, quint32 access, Key &key) override
    {
        const long result = MemoryRegistry::openKey(root, keyName, access, key);
        if (result == quorvel::platform::kErrorSuccess)
            m_open.insert(key);
        return result;
    }
    void closeKey(Key key) override
    {
        m_open.remove(key);
        MemoryRegistry::closeKey(key);
    }
    int openKeyCount() const { return int(m_open.size()); }

private:
    QSet<Key> m_open;
};

class FakeUrlOpener : public quorvel::platform::UrlOpener {
public:
    bool openUrl(const QString &url, QWidget *) override
    {
        urls.append(url);
        return true;
    }
    QStringList urls;
};

class FakeProgramStarter : public quorvel::platform::ProgramStarter {
public:
    bool startProgram(const QString &path) override
    {
        attempts.append(path);
        return startable.contains(path);
    }
    QSet<QString> startable;
    QStringList attempts;
};

class FakeFileProbe : public quorvel::platform::FileProbe {
public:
    bool fileExists(const QString &path) override
    {
        probed.append(path);
        return files.contains(path);
    }
    QSet<QString> files;
    QStringList probed;
};

struct FakeServices {
    CountingRegistry registry;
    FakeUrlOpener urlOpener;
    FakeProgramStarter programStarter;
    FakeFileProbe fileProbe;
    quorvel::platform::Services services { registry, urlOpener, programStarter, fileProbe };
};
