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
    // Shown since the last Hide: Qt 6.8 sends Show again when show() is
    // called on the dialog while it shows, which is no new showing.
    bool m_shown = false;

    QScrollArea *m_scroller;
    QLabel *lblHelp;
    QPushButton *OKButton;
};
