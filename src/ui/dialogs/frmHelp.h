#pragma once

#include "ui/dialogs/fixeddialog.h"

#include <QPointer>
#include <QWindow>

class QLabel;
class QPushButton;
class QScrollArea;

// The Help dialog: the text of help.txt in the application folder, read
// when the dialog is shown and again each time it becomes the active window
// coming from another window of this program. OK unloads it.
class frmHelp : public quorvel::ui::FixedDialog {
    Q_OBJECT

public:
    explicit frmHelp(QString appFolder);

    void Form_Activate();
    void OKButton_Click();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString m_appFolder;
    // The window that had the keyboard focus last, the dialog's own left
    // out: none when another application had it, or when it is gone.
    QPointer<QWindow> m_focusBefore;
    // The text was read by the showing that the coming activation follows.
    bool m_readOnShow = false;
    // Active since the last WindowActivate: a platform may send that event
    // twice for one activation (Qt 6.8 does, right after the first
    // showing), which is no second activation.
    bool m_active = false;

    QScrollArea *m_scroller;
    QLabel *lblHelp;
    QPushButton *OKButton;
};
