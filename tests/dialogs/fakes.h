#pragma once

#include "platform/memoryregistry.h"
#include "platform/services.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QSet>
#include <QStringList>
#include <QTimer>

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

// Answers the next modal message box with OK, remembering what it showed.
class MessageBoxAnswerer : public QObject {
public:
    MessageBoxAnswerer()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { answer(); });
        m_timer.start();
    }

    int count = 0;
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QAbstractButton *>::size_type buttonCount = 0;

private:
    void answer()
    {
        const auto windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows) {
            auto *box = qobject_cast<QMessageBox *>(window);
            if (!box || !box->isVisible())
                continue;
            ++count;
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            buttonCount = box->buttons().size();
            if (QAbstractButton *ok = box->button(QMessageBox::Ok))
                ok->click();
            else
                box->close();
        }
    }

    QTimer m_timer;
};
