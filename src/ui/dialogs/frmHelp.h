#pragma once

#include "ui/dialogs/fixeddialog.h"

class QLabel;
class QPushButton;
class QScrollArea;

// The Help dialog: the text of help.txt in the application folder, read
// again each time the dialog becomes the active window. OK unloads it.
class frmHelp : public quorvel::ui::FixedDialog {
    Q_OBJECT

public:
    explicit frmHelp(QString appFolder);

    void Form_Activate();
    void OKButton_Click();

    const QString &helpFilePath() const { return m_helpFilePath; }

protected:
    bool event(QEvent *event) override;

private:
    QString m_appFolder;
    QString m_helpFilePath;
    QString m_field;

    QScrollArea *m_scroller;
    QLabel *lblHelp;
    QPushButton *OKButton;
};
