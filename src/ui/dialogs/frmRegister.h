#pragma once

#include "platform/services.h"
#include "ui/dialogs/fixeddialog.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The Register dialog: the support note and the author's contact data, with
// an e-mail link and a web link that open in the user's default programs.
class frmRegister : public quorvel::ui::FixedDialog {
    Q_OBJECT

public:
    explicit frmRegister(quorvel::platform::Services &services);

    void Form_Activate();
    void txtEmail_Click();
    void txtWebsite_Click();
    void cmdOK_Click();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Link { Unvisited, Visited };
    void setLinkColour(QLineEdit *link, Link state);

    quorvel::platform::Services &m_services;

    QLabel *lblRegister;
    QFrame *fraMail;
    QLabel *lblWebsite;
    QLineEdit *txtWebsite;
    QLabel *lblEmail;
    QLineEdit *txtEmail;
    QLabel *lblTo;
    QPlainTextEdit *txtAddress;
    QPushButton *cmdOK;
};
