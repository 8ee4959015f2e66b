#pragma once

#include "platform/memoryregistry.h"
#include "platform/services.h"

#include <QSet>
#include <QStringList>

// Stand-ins for the operating-system services, recording what they were asked.
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
    quorvel::platform::MemoryRegistry registry;
    FakeUrlOpener urlOpener;
    FakeProgramStarter programStarter;
    FakeFileProbe fileProbe;
    quorvel::platform::Services services { registry, urlOpener, programStarter, fileProbe };
};
