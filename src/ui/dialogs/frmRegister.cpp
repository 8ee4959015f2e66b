#include "ui/dialogs/frmRegister.h"

#include "appinfo.h"
#include "ui/contrast.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace quorvel;
using quorvel::ui::makeLabel;

namespace {

const QColor kLinkColour(0x00, 0x00, 0xFF);
const QColor kVisitedColour(0xFF, 0x00, 0x00);

// Text boxes drawn like the dialog around them: no border, button face.
void paintLikeButtonFace(QWidget *box)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    box->setPalette(palette);
}

QLineEdit *makeLink(QWidget *parent, const char *name, const QString &accessibleName,
    const QString &text, const QRect &geometry)
{
    auto *link = new QLineEdit(text, parent);
    link->setObjectName(QString::fromLatin1(name));
    link->setAccessibleName(accessibleName);
    link->setGeometry(geometry);
    link->setFrame(false);
    paintLikeButtonFace(link);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Normal);
    font.setUnderline(true);
    link->setFont(font);
    link->setCursorPosition(0);
    return link;
}

} // namespace

frmRegister::frmRegister(platform::Services &services)
    : FixedDialog(4560, 4065)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmRegister"));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setAccessibleName(QStringLiteral("OK"));
    cmdOK->setGeometry(twips(3240, 3600, 1215, 375));

    lblRegister = makeLabel(this, "lblRegister", {}, twips(120, 120, 4335, 1095));

    fraMail = new QFrame(this);
    fraMail->setObjectName(QStringLiteral("fraMail"));
    fraMail->setAccessibleName(QStringLiteral("Contact"));
    fraMail->setFrameShape(QFrame::Box);
    fraMail->setFrameShadow(QFrame::Sunken);
    fraMail->setGeometry(twips(120, 1320, 4335, 2175));
    // The captions take the room up to the text boxes: "Snail Mail" needs it
    // in fonts wider than the one the layout was measured with.
    constexpr int kCaptionWidth = 825;

    lblWebsite = makeLabel(
        fraMail, "lblWebsite", QStringLiteral("Website"), twips(120, 240, kCaptionWidth, 255));
    txtWebsite = makeLink(fraMail, "txtWebsite", QStringLiteral("Website link"),
        QString::fromUtf8(appinfo::kContactWebsite), twips(960, 240, 3255, 285));
    lblEmail = makeLabel(
        fraMail, "lblEmail", QStringLiteral("E-Mail"), twips(120, 600, kCaptionWidth, 255));
    txtEmail = makeLink(fraMail, "txtEmail", QStringLiteral("E-Mail link"),
        QString::fromUtf8(appinfo::kContactEmail), twips(960, 600, 3255, 285));
    txtEmail->setReadOnly(true);
    lblTo = makeLabel(
        fraMail, "lblTo", QStringLiteral("Snail Mail"), twips(120, 960, kCaptionWidth, 255));

    txtAddress = new QPlainTextEdit(fraMail);
    txtAddress->setObjectName(QStringLiteral("txtAddress"));
    txtAddress->setAccessibleName(QStringLiteral("Postal address"));
    txtAddress->setGeometry(twips(960, 960, 3255, 1095));
    txtAddress->setReadOnly(true);
    txtAddress->setFocusPolicy(Qt::StrongFocus);
    txtAddress->setTabChangesFocus(true);
    txtAddress->setFrameShape(QFrame::NoFrame);
    txtAddress->document()->setDocumentMargin(0);
    paintLikeButtonFace(txtAddress);

    setLinkColour(txtEmail, Link::Unvisited);
    setLinkColour(txtWebsite, Link::Unvisited);

    setTabOrder(cmdOK, txtEmail);
    setTabOrder(txtEmail, txtAddress);
    setTabOrder(txtAddress, txtWebsite);
    cmdOK->setFocus();

    txtEmail->installEventFilter(this);
    txtWebsite->installEventFilter(this);
    connect(cmdOK, &QPushButton::clicked, this, &frmRegister::cmdOK_Click);
}

bool frmRegister::event(QEvent *event)
{
    // Filled when shown as well: a window manager need not activate a new
    // window, and the dialog must never show up empty.
    if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)
        Form_Activate();
    return FixedDialog::event(event);
}

bool frmRegister::eventFilter(QObject *watched, QEvent *event)
{
    // A click opens a link; moving the focus there with the keyboard does not.
    if (event->type() == QEvent::MouseButtonRelease
        && (watched == txtEmail || watched == txtWebsite)) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        auto *link = static_cast<QLineEdit *>(watched);
        if (mouse->button() == Qt::LeftButton
            && link->rect().contains(mouse->position().toPoint())) {
            if (link == txtEmail)
                txtEmail_Click();
            else
                txtWebsite_Click();
        }
    }
    return FixedDialog::eventFilter(watched, event);
}

void frmRegister::Form_Activate()
{
    setWindowTitle(QStringLiteral("Register ") + QString::fromLatin1(appinfo::kTitle));
    const QString note = QStringLiteral("If you like this program and you find it useful,\n"
                                        "send money, lots of money.\n"
                                        "Even a buck.\n"
                                        "\n"
                                        "Send comments or questions to:");
    lblRegister->setText(note);
    lblRegister->setAccessibleName(note);
    txtAddress->setPlainText(QString::fromUtf8(appinfo::kContactAddress));
}

void frmRegister::txtEmail_Click()
{
    // Joined as they are: the shell receives the address without encoding.
    const QString url = QStringLiteral("mailto:") + txtEmail->text() + QStringLiteral("?subject=")
        + QString::fromLatin1(appinfo::kTitle);
    m_services.urlOpener.openUrl(url, this);
    setLinkColour(txtEmail, Link::Visited);
    cmdOK->setFocus();
}

void frmRegister::txtWebsite_Click()
{
    m_services.urlOpener.openUrl(txtWebsite->text(), this);
    setLinkColour(txtWebsite, Link::Visited);
    cmdOK->setFocus();
}

void frmRegister::cmdOK_Click()
{
    hide();
    setLinkColour(txtEmail, Link::Unvisited);
    setLinkColour(txtWebsite, Link::Unvisited);
}

void frmRegister::setLinkColour(QLineEdit *link, Link state)
{
    // The fixed colours where they are readable on the box, as on the usual
    // light button face; on a dark one the palette's link colours instead.
    QPalette palette = link->palette();
    const bool visited = state == Link::Visited;
    const QColor themed = palette.color(visited ? QPalette::LinkVisited : QPalette::Link);
    palette.setColor(QPalette::Text,
        ui::readableOr(
            visited ? kVisitedColour : kLinkColour, palette.color(QPalette::Base), themed));
    link->setPalette(palette);
}
