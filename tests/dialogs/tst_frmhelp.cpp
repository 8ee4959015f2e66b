#include "support/row.h"
#include "support/widgets.h"
#include "ui/dialogs/frmHelp.h"

#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace quorvel::test;

class TestFrmHelp : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void showsFieldsAsLines_data();
    void showsFieldsAsLines();
    void missingFileIsExplained();
    void activationRereadsTheFile();
    void okUnloadsAndNextInstanceShowsTextOnce();
    void focusStaysOnOk();
    void filledWhenShownWithoutActivation();
    void longTextScrolls();

private:
    void writeHelp(const QByteArray &contents);
    QString labelText(frmHelp *dialog) const;

    std::unique_ptr<QTemporaryDir> m_folder;
    QPointer<frmHelp> m_dialog;
};

void TestFrmHelp::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_dialog = new frmHelp(m_folder->path());
}

void TestFrmHelp::cleanup()
{
    delete m_dialog;
    m_folder.reset();
}

void TestFrmHelp::writeHelp(const QByteArray &contents)
{
    QVERIFY(put(m_folder->filePath(QStringLiteral("help.txt")), contents));
}

QString TestFrmHelp::labelText(frmHelp *dialog) const
{
    return dialog->findChild<QLabel *>(QStringLiteral("lblHelp"))->text();
}

void TestFrmHelp::showsFieldsAsLines_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("expected");

    // How the file splits into fields is the field reader's table; these rows
    // are what the label makes of the fields.
    row("empty file leaves the label empty", QByteArray(), QString());
    row("one line ends in a line feed", QByteArray("Hello\r\n"), "Hello\n");
    row("unquoted comma gives two lines, leading blanks dropped", QByteArray("Before, after\r\n"),
        "Before\nafter\n");
#ifndef Q_OS_WIN
    row("8-bit code page characters", QByteArray("Caf\xE9\r\n"), "Caf\u00E9\n");
#endif
}

void TestFrmHelp::showsFieldsAsLines()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, expected);

    writeHelp(contents);
    activate(m_dialog);
    QCOMPARE(labelText(m_dialog), expected);
    QCOMPARE(m_dialog->findChild<QLabel *>(QStringLiteral("lblHelp"))->textFormat(), Qt::PlainText);
}

void TestFrmHelp::missingFileIsExplained()
{
    activate(m_dialog);
    const QString path = QDir::toNativeSeparators(m_folder->filePath(QStringLiteral("help.txt")));
    QCOMPARE(labelText(m_dialog),
        QStringLiteral("The help file could not be read: %1 (File not found).").arg(path));
}

void TestFrmHelp::activationRereadsTheFile()
{
    writeHelp("First\r\n");
    m_dialog->show();
    writeHelp("Unread\r\n"); // a first showing reads the file once
    activate(m_dialog);
    QCOMPARE(labelText(m_dialog), QStringLiteral("First\n"));

    QWidget mainWindow;
    activate(&mainWindow);
    writeHelp("Second, edited\r\n");
    QCOMPARE(labelText(m_dialog), QStringLiteral("First\n"));

    activate(m_dialog);
    QCOMPARE(labelText(m_dialog), QStringLiteral("Second\nedited\n"));

    activate(std::make_unique<QWidget>().get()); // gone, it stands for another application
    writeHelp("Third\r\n");
    activate(m_dialog);
    QCOMPARE(labelText(m_dialog), QStringLiteral("Second\nedited\n"));
}

void TestFrmHelp::okUnloadsAndNextInstanceShowsTextOnce()
{
    writeHelp("Only once\r\n");
    activate(m_dialog);
    m_dialog->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(m_dialog.isNull());

    m_dialog = new frmHelp(m_folder->path());
    activate(m_dialog);
    QCOMPARE(labelText(m_dialog), QStringLiteral("Only once\n"));
    // Showing it again while shown only activates it: the text is rebuilt, not appended.
    activate(m_dialog);
    QCOMPARE(labelText(m_dialog), QStringLiteral("Only once\n"));
}

void TestFrmHelp::focusStaysOnOk()
{
    writeHelp("x\r\n");
    activate(m_dialog);
    auto *ok = m_dialog->findChild<QPushButton *>(QStringLiteral("OKButton"));
    QCOMPARE(m_dialog->focusWidget(), ok);
    // A screen reader reads the help text itself, not a name in its place.
    auto *label = m_dialog->findChild<QLabel *>(QStringLiteral("lblHelp"));
    QCOMPARE(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), label->text());
    QVERIFY(!ok->accessibleName().isEmpty());

    QTest::keyClick(m_dialog, Qt::Key_Tab);
    QCOMPARE(m_dialog->focusWidget(), ok);
}

void TestFrmHelp::filledWhenShownWithoutActivation()
{
    writeHelp("Shown\r\n");
    m_dialog->setAttribute(Qt::WA_ShowWithoutActivating);
    m_dialog->show();
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Quorvel Help"));
    QCOMPARE(labelText(m_dialog), QStringLiteral("Shown\n"));
}

void TestFrmHelp::longTextScrolls()
{
    QByteArray contents;
    for (int i = 0; i < 200; ++i)
        contents += "Line " + QByteArray::number(i) + "\r\n";
    writeHelp(contents);
    activate(m_dialog);
    auto *scroller = m_dialog->findChild<QScrollArea *>();
    QVERIFY(scroller);
    QScrollBar *bar = scroller->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 0);
    QVERIFY(labelText(m_dialog).endsWith(QStringLiteral("Line 199\n")));
    QTest::keyClick(m_dialog->focusWidget(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(bar->value(), bar->maximum());
    QTest::keyClick(m_dialog->focusWidget(), Qt::Key_Up); // a line up, OK keeps the focus
    QCOMPARE(bar->value(), bar->maximum() - bar->singleStep());
    QCOMPARE(m_dialog->focusWidget(), m_dialog->findChild<QPushButton *>("OKButton"));
}

QTEST_MAIN(TestFrmHelp)
#include "tst_frmhelp.moc"
