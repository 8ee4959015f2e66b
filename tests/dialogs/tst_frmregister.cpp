#include "appinfo.h"
#include "support/fakes.h"
#include "support/row.h"
#include "support/widgets.h"
#include "ui/dialogs/frmRegister.h"

#include <QAccessible>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace quorvel::test;

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);

QColor textColour(QWidget *box)
{
    return box->palette().color(QPalette::Text);
}

} // namespace

class TestFrmRegister : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void showingSetsTexts();
    void linkClickOpensUrl_data();
    void linkClickOpensUrl();
    void keyboardFocusOpensNoLink();
    void okHidesAndResetsColours();
    void activationKeepsVisitedColour();
    void escDoesNotCloseAndEnterChoosesOk();
    void controlsAreNamedAndStyled();
    void darkFaceTakesThePaletteLinkColour();

private:
    template <typename T> T *child(const char *name) const
    {
        return m_dialog->findChild<T *>(QString::fromLatin1(name));
    }

    std::unique_ptr<FakeServices> m_fakes;
    QPointer<frmRegister> m_dialog;
};

void TestFrmRegister::init()
{
    m_fakes = std::make_unique<FakeServices>();
    m_dialog = new frmRegister(m_fakes->services);
}

void TestFrmRegister::cleanup()
{
    delete m_dialog;
    m_fakes.reset();
}

void TestFrmRegister::showingSetsTexts()
{
    // Filled by the showing itself: a window manager need not activate it.
    m_dialog->setAttribute(Qt::WA_ShowWithoutActivating);
    m_dialog->show();
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Register Quorvel"));
    QCOMPARE(child<QLabel>("lblRegister")->text(),
        QStringLiteral("If you like this program and you find it useful,\nsend money, lots of "
                       "money.\nEven a buck.\n\nSend comments or questions to:"));
    const QString address = child<QPlainTextEdit>("txtAddress")->toPlainText();
    QCOMPARE(address.split(u'\n').size(), 5);
    QVERIFY(!address.endsWith(u'\n'));
    QCOMPARE(child<QLabel>("lblWebsite")->text(), QStringLiteral("Website"));
    QCOMPARE(child<QLabel>("lblEmail")->text(), QStringLiteral("E-Mail"));
    QCOMPARE(child<QLabel>("lblTo")->text(), QStringLiteral("Snail Mail"));
    QCOMPARE(m_dialog->focusWidget(), child<QPushButton>("cmdOK"));
}

void TestFrmRegister::linkClickOpensUrl_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("other");
    QTest::addColumn<QString>("expectedUrl");

    row("e-mail link", "txtEmail", "txtWebsite",
        QStringLiteral("mailto:%1?subject=Quorvel")
            .arg(QString::fromUtf8(quorvel::appinfo::kContactEmail)));
    row("web link", "txtWebsite", "txtEmail", QString::fromUtf8(quorvel::appinfo::kContactWebsite));
}

void TestFrmRegister::linkClickOpensUrl()
{
    QFETCH(QString, link);
    QFETCH(QString, other);
    QFETCH(QString, expectedUrl);

    activate(m_dialog);
    auto *box = m_dialog->findChild<QLineEdit *>(link);
    auto *otherBox = m_dialog->findChild<QLineEdit *>(other);
    QCOMPARE(textColour(box), kBlue);

    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(m_fakes->urlOpener.urls, QStringList { expectedUrl });
    QCOMPARE(textColour(box), kRed);
    QCOMPARE(textColour(otherBox), kBlue);
    QCOMPARE(m_dialog->focusWidget(), child<QPushButton>("cmdOK"));

    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(m_fakes->urlOpener.urls, (QStringList { expectedUrl, expectedUrl }));
}

void TestFrmRegister::keyboardFocusOpensNoLink()
{
    activate(m_dialog);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(m_dialog->focusWidget(), Qt::Key_Tab);
    QTest::mouseClick(child<QLineEdit>("txtEmail"), Qt::RightButton);
    QVERIFY(m_fakes->urlOpener.urls.isEmpty());
    QCOMPARE(textColour(child<QLineEdit>("txtEmail")), kBlue);
    QCOMPARE(textColour(child<QLineEdit>("txtWebsite")), kBlue);
}

void TestFrmRegister::okHidesAndResetsColours()
{
    activate(m_dialog);
    QTest::mouseClick(child<QLineEdit>("txtEmail"), Qt::LeftButton);
    QTest::mouseClick(child<QLineEdit>("txtWebsite"), Qt::LeftButton);
    child<QPushButton>("cmdOK")->click();
    QVERIFY(!m_dialog->isVisible());
    QVERIFY(m_dialog);

    activate(m_dialog);
    QCOMPARE(textColour(child<QLineEdit>("txtEmail")), kBlue);
    QCOMPARE(textColour(child<QLineEdit>("txtWebsite")), kBlue);
}

void TestFrmRegister::activationKeepsVisitedColour()
{
    activate(m_dialog);
    QTest::mouseClick(child<QLineEdit>("txtEmail"), Qt::LeftButton);
    QWidget mainWindow;
    activate(&mainWindow);
    activate(m_dialog);
    QCOMPARE(textColour(child<QLineEdit>("txtEmail")), kRed);
}

void TestFrmRegister::escDoesNotCloseAndEnterChoosesOk()
{
    activate(m_dialog);
    QTest::keyClick(m_dialog->focusWidget(), Qt::Key_Escape);
    QVERIFY(m_dialog->isVisible());
    QTest::keyClick(m_dialog->focusWidget(), Qt::Key_Return);
    QVERIFY(!m_dialog->isVisible());
}

void TestFrmRegister::controlsAreNamedAndStyled()
{
    activate(m_dialog);
    const QStringList names { "lblRegister", "fraMail", "lblWebsite", "txtWebsite", "lblEmail",
        "txtEmail", "lblTo", "txtAddress", "cmdOK" };
    for (const QString &name : names) {
        auto *control = m_dialog->findChild<QWidget *>(name);
        QVERIFY2(control, qPrintable(name));
        QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(name));
        // A label is read by its text.
        if (auto *label = qobject_cast<QLabel *>(control))
            QCOMPARE(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name),
                label->text());
    }
    auto *email = child<QLineEdit>("txtEmail");
    auto *website = child<QLineEdit>("txtWebsite");
    QVERIFY(email->isReadOnly());
    QVERIFY(!website->isReadOnly());
    QVERIFY(child<QPlainTextEdit>("txtAddress")->isReadOnly());
    QVERIFY(!email->hasFrame());
    QVERIFY(email->font().underline());
    QCOMPARE(email->font().pointSizeF(), 8.25);
    QCOMPARE(email->palette().color(QPalette::Base), email->palette().color(QPalette::Button));
    QCOMPARE(email->parentWidget(), child<QFrame>("fraMail"));

    // OK is no default button: Enter in a text box does not choose it.
    website->setFocus();
    QTest::keyClick(website, Qt::Key_Return);
    QVERIFY(m_dialog->isVisible());
}

void TestFrmRegister::darkFaceTakesThePaletteLinkColour()
{
    const QPalette light = QApplication::palette();
    QPalette dark(QColor(0x40, 0x40, 0x40)); // blue is 1.2:1 on it
    dark.setColor(QPalette::Link, Qt::cyan);
    QApplication::setPalette(dark);
    frmRegister dialog(m_fakes->services);
    QApplication::setPalette(light);
    QCOMPARE(textColour(dialog.findChild<QLineEdit *>("txtEmail")), QColor(Qt::cyan));
}

QTEST_MAIN(TestFrmRegister)
#include "tst_frmregister.moc"
