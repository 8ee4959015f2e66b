#pragma once

#include "platform/services.h"
#include "ui/dialogs/fixeddialog.h"

#include <QPointer>

class QLabel;
class QPushButton;
class QTimer;

// The About dialog: title, version, description and a warning about
// accuracy, and a button that starts the system-information tool. Its first
// showing is a timed notice without OK that hides itself after five seconds.
class frmAbout : public quorvel::ui::FixedDialog {
    Q_OBJECT

public:
    // mainWindow is brought forward when the timed notice ends; the dialog
    // has no owner.
    frmAbout(QWidget *mainWindow, quorvel::platform::Services &services);

    void Timer1_Timer();
    void cmdOK_Click();
    void cmdSysInfo_Click();

    // Locates and starts the system-information tool, or shows
    // "System Information Is Unavailable At This Time".
    void StartSysInfo();

    // Reads the value SubKeyRef of the key KeyName under KeyRoot into KeyVal
    // (see convertRegistryValue for the conversion). false, with KeyVal
    // emptied, when the key cannot be opened or the value not read; true
    // for every value read, converted or not. Throws Failure when the data
    // cannot be cut to its size.
    bool GetKeyValue(
        quint32 KeyRoot, const QString &KeyName, const QString &SubKeyRef, QString &KeyVal);

    void reject() override;

private:
    void Form_Load();
    void showUnavailable();

    quorvel::platform::Services &m_services;
    QPointer<QWidget> m_mainWindow;

    QLabel *lblTitle;
    QLabel *lblVersion;
    QLabel *lblDescription;
    QLabel *lblWarning;
    QPushButton *cmdOK;
    QPushButton *cmdSysInfo;
    QTimer *Timer1;
};
