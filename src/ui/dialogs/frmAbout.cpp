#include "ui/dialogs/frmAbout.h"

#include "appinfo.h"
#include "core/failure.h"
#include "platform/registryvalue.h"
#include "platform/sysinfo.h"
#include "ui/messagebox.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

using namespace quorvel;
using quorvel::ui::makeLabel;
using namespace quorvel::platform;

namespace {

constexpr int kNoticeMilliseconds = 5000;

// A label's accessible name is what a screen reader speaks for it: its text.
void setLabelText(QLabel *label, const QString &text)
{
    label->setText(text);
    label->setAccessibleName(text);
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption,
    const QString &accessibleName, const QRect &geometry)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(accessibleName);
    button->setGeometry(geometry);
    return button;
}

} // namespace

frmAbout::frmAbout(QWidget *mainWindow, Services &services)
    : FixedDialog(5565, 2340)
    , m_services(services)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("frmAbout"));

    cmdOK = makeButton(
        this, "cmdOK", QStringLiteral("OK"), QStringLiteral("OK"), twips(4200, 1320, 1245, 345));
    setDefaultButton(cmdOK);
    cmdSysInfo = makeButton(this, "cmdSysInfo", QStringLiteral("&System Info..."),
        QStringLiteral("System Info"), twips(4200, 1800, 1245, 345));
    setTabOrder(cmdOK, cmdSysInfo);

    lblTitle = makeLabel(this, "lblTitle", {}, twips(90, 120, 5325, 360));
    QFont titleFont(QStringLiteral("Dragonwick"));
    titleFont.setPointSizeF(14.25);
    titleFont.setWeight(QFont::Bold);
    lblTitle->setFont(titleFont);
    lblVersion = makeLabel(this, "lblVersion", {}, twips(120, 480, 5325, 225));
    lblDescription = makeLabel(this, "lblDescription", {}, twips(120, 720, 5325, 210));
    // The warning reaches down to the bottom edge, so that its last line is
    // not cut off in fonts wider than the one the layout was measured with.
    lblWarning = makeLabel(this, "lblWarning", {}, twips(90, 960, 3735, 1380));
    lblWarning->setWordWrap(true);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    // A coarse timer may fire up to 5 % early; the notice lasts its full time.
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &frmAbout::Timer1_Timer);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    Form_Load();
}

void frmAbout::Form_Load()
{
    const QString title = QString::fromLatin1(appinfo::kTitle);
    setWindowTitle(QStringLiteral("About ") + title);
    setLabelText(lblVersion,
        QStringLiteral("Version ") + QString::number(appinfo::kVersionMajor) + QLatin1Char('.')
            + QString::number(appinfo::kVersionMinor) + QLatin1Char('.')
            + QString::number(appinfo::kVersionRevision));
    setLabelText(lblTitle, title);
    setLabelText(
        lblDescription, QStringLiteral("For quick value conversion to a different standard"));
    setLabelText(lblWarning,
        QStringLiteral("Warning:\n"
                       "The use of this program is strictly for converting values. "
                       "All conversions for precise values should always be double checked for "
                       "accuracy. "
                       "The program author assumes absolutely no responsibility whatsoever for any "
                       "errors that may occur."));
    cmdOK->hide();
    Timer1->setInterval(kNoticeMilliseconds);
    Timer1->start();
}

void frmAbout::Timer1_Timer()
{
    cmdOK->show();
    Timer1->stop();
    if (m_mainWindow) {
        m_mainWindow->show();
        m_mainWindow->raise();
        // Only while this program has the keyboard: keys typed into another
        // program must stay there.
        if (QApplication::activeWindow())
            m_mainWindow->activateWindow();
    }
    hide();
}

void frmAbout::cmdOK_Click()
{
    hide();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::reject()
{
    // Esc belongs to cmdOK, which the timed notice does not offer.
    if (cmdOK->isVisibleTo(this))
        cmdOK_Click();
}

void frmAbout::StartSysInfo()
{
    try {
        QString SysInfoPath;
        if (!GetKeyValue(kHkeyLocalMachine, QString::fromLatin1(kSysInfoPathKey),
                QString::fromLatin1(kSysInfoPathValue), SysInfoPath)) {
            if (!GetKeyValue(kHkeyLocalMachine, QString::fromLatin1(kSysInfoFolderKey),
                    QString::fromLatin1(kSysInfoFolderValue), SysInfoPath)) {
                showUnavailable();
                return;
            }
            // A plain join: a folder that already ends in a separator gets a
            // second one, which the file systems accept.
            const QString candidate
                = SysInfoPath + QDir::separator() + QString::fromLatin1(kSysInfoFileName);
            if (!m_services.fileProbe.fileExists(candidate)) {
                showUnavailable();
                return;
            }
            SysInfoPath = candidate;
        }
        if (!m_services.programStarter.startProgram(SysInfoPath))
            showUnavailable();
    } catch (const std::exception &) {
        showUnavailable();
    }
}

bool frmAbout::GetKeyValue(
    quint32 KeyRoot, const QString &KeyName, const QString &SubKeyRef, QString &KeyVal)
{
    Registry &registry = m_services.registry;
    Registry::Key hKey = 0;
    if (registry.openKey(KeyRoot, KeyName, kKeyRead, hKey) != kErrorSuccess) {
        KeyVal.clear();
        return false;
    }
    // The key is closed on every way out, a failed conversion included.
    const auto closer = qScopeGuard([&registry, hKey] { registry.closeKey(hKey); });

    QByteArray buffer(kRegistryBufferSize, '\0');
    quint32 size = kRegistryBufferSize;
    quint32 type = 0;
    if (registry.queryValue(hKey, SubKeyRef, type, buffer, size) != kErrorSuccess) {
        KeyVal.clear();
        return false;
    }
    convertRegistryValue(type, buffer, size, KeyVal);
    return true;
}

void frmAbout::showUnavailable()
{
    // Held by a QPointer: the dialog, and the box with it, may be deleted
    // while the box waits for the user.
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::NoIcon,
        QString::fromLatin1(appinfo::kTitle),
        QStringLiteral("System Information Is Unavailable At This Time"), QMessageBox::Ok, this);
    ui::fitTitle(*box);
    box->exec();
    delete box;
}
