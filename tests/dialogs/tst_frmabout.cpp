#include "platform/registry.h"
#include "platform/sysinfo.h"
#include "support/fakes.h"
#include "support/row.h"
#include "support/widgets.h"
#include "ui/dialogs/frmAbout.h"

#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace quorvel;
using namespace quorvel::platform;
using namespace quorvel::test;

namespace {

const QString kKey = QStringLiteral("SOFTWARE\\Test");
const QString kValue = QStringLiteral("Value");
const QString kUnavailable = QStringLiteral("System Information Is Unavailable At This Time");

QString toolIn(const QString &folder)
{
    return folder + QDir::separator() + QStringLiteral("MSINFO32.EXE");
}

} // namespace

class TestFrmAbout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void getKeyValue_data();
    void getKeyValue();
    void startSysInfo_data();
    void startSysInfo();

    void loadSetsTexts();
    void dialogIsFixedAndNamed();
    void firstShowingIsTimed();
    void tickTakesTheKeyboardOnlyFromThisProgram();
    void timerHidesTheNoticeAfterFiveSeconds();
    void laterShowingOffersOkWithoutTimer();
    void keysCloseOnlyWhenOkIsOffered_data();
    void keysCloseOnlyWhenOkIsOffered();

private:
    std::unique_ptr<FakeServices> m_fakes;
    std::unique_ptr<QWidget> m_mainWindow;
    QPointer<frmAbout> m_dialog;
};

void TestFrmAbout::init()
{
    m_fakes = std::make_unique<FakeServices>();
    m_mainWindow = std::make_unique<QWidget>();
    m_mainWindow->setWindowTitle(QStringLiteral("main"));
    m_dialog = new frmAbout(m_mainWindow.get(), m_fakes->services);
}

void TestFrmAbout::cleanup()
{
    delete m_dialog;
    m_mainWindow.reset();
    m_fakes.reset();
}

void TestFrmAbout::getKeyValue_data()
{
    QTest::addColumn<bool>("keyExists");
    QTest::addColumn<bool>("valueExists");
    QTest::addColumn<uint>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("expectedOk");
    QTest::addColumn<QString>("expected");

    // How the data turns into text is convertRegistryValue's table; these
    // rows are the opening, the query and what reaches KeyVal.
    row("string replaces the earlier text", true, true, kRegSz, QByteArray("abc", 4), "old", true,
        "abc");
    row("string of 1024 bytes without NUL is read whole", true, true, kRegSz, QByteArray(1024, 'y'),
        QString(), true, QString(1024, u'y'));
    row("value of 1025 bytes is a failed query", true, true, kRegSz, QByteArray(1025, 'z'), "keep",
        false, QString());
    row("expandable string is read but not converted", true, true, kRegExpandSz,
        QByteArray("%SystemRoot%\\x.exe", 19), "before", true, "before");
    row("missing key empties the text", false, false, kRegSz, QByteArray(), "keep", false,
        QString());
    row("missing value empties the text", true, false, kRegSz, QByteArray(), "keep", false,
        QString());
}

void TestFrmAbout::getKeyValue()
{
    QFETCH(bool, keyExists);
    QFETCH(bool, valueExists);
    QFETCH(uint, type);
    QFETCH(QByteArray, data);
    QFETCH(QString, before);
    QFETCH(bool, expectedOk);
    QFETCH(QString, expected);

    if (keyExists && valueExists)
        m_fakes->registry.setValue(kHkeyLocalMachine, kKey, kValue, type, data);
    else if (keyExists)
        m_fakes->registry.setValue(kHkeyLocalMachine, kKey, QStringLiteral("Other"), kRegSz, "x");

    QString keyVal = before;
    QCOMPARE(m_dialog->GetKeyValue(kHkeyLocalMachine, kKey, kValue, keyVal), expectedOk);
    QCOMPARE(keyVal, expected);
    QCOMPARE(m_fakes->registry.openKeyCount(), 0);
}

void TestFrmAbout::startSysInfo_data()
{
    QTest::addColumn<QByteArray>("pathValue"); // null: not in the registry
    QTest::addColumn<uint>("pathType");
    QTest::addColumn<QByteArray>("folderValue"); // null: not in the registry
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("startable");
    QTest::addColumn<QStringList>("expectedProbed");
    QTest::addColumn<QStringList>("expectedStarted");
    QTest::addColumn<bool>("expectMessage");

    const QString folder = QStringLiteral("/opt/sysinfo");
    const QByteArray folderBytes = folder.toLatin1() + '\0';
    const QString tool = QStringLiteral("/usr/bin/sysinfo-tool");
    const QByteArray toolBytes = tool.toLatin1() + '\0';
    const QString doubled = folder + QDir::separator();

    const QStringList none;
    const QStringList started { tool };
    const QStringList inFolder { toolIn(folder) };
    const QStringList inDoubled { toolIn(doubled) };
    row("both lookups fail", QByteArray(), kRegSz, QByteArray(), none, none, none, none, true);
    row("first lookup gives a path that starts", toolBytes, kRegSz, QByteArray(), none, started,
        none, started, false);
    row("first lookup gives a path that fails to start, second not tried", toolBytes, kRegSz,
        folderBytes, inFolder, inFolder, none, started, true);
    row("second lookup gives a folder without the tool", QByteArray(), kRegSz, folderBytes, none,
        inFolder, inFolder, none, true);
    row("second lookup gives a folder with the tool", QByteArray(), kRegSz, folderBytes, inFolder,
        inFolder, inFolder, inFolder, false);
    row("folder ending in a separator is tested with a double separator", QByteArray(), kRegSz,
        doubled.toLatin1() + '\0', inDoubled, inDoubled, inDoubled, inDoubled, false);
    row("first lookup of an unconverted type gives an empty path",
        QByteArray("%SystemRoot%\\x.exe", 19), kRegExpandSz, QByteArray(), none, none, none,
        QStringList { QString() }, true);
    row("first lookup of size 0 is a run-time failure", QByteArray(""), kRegSz, folderBytes,
        inFolder, inFolder, none, none, true);
}

void TestFrmAbout::startSysInfo()
{
    QFETCH(QByteArray, pathValue);
    QFETCH(uint, pathType);
    QFETCH(QByteArray, folderValue);
    QFETCH(QStringList, files);
    QFETCH(QStringList, startable);
    QFETCH(QStringList, expectedProbed);
    QFETCH(QStringList, expectedStarted);
    QFETCH(bool, expectMessage);

    auto &fakes = *m_fakes;
    if (!pathValue.isNull()) {
        fakes.registry.setValue(kHkeyLocalMachine, QString::fromLatin1(kSysInfoPathKey),
            QStringLiteral("PATH"), pathType, pathValue);
    }
    if (!folderValue.isNull()) {
        fakes.registry.setValue(kHkeyLocalMachine, QString::fromLatin1(kSysInfoFolderKey),
            QStringLiteral("MSINFO"), kRegSz, folderValue);
    }
    fakes.fileProbe.files = QSet<QString>(files.cbegin(), files.cend());
    fakes.programStarter.startable = QSet<QString>(startable.cbegin(), startable.cend());

    m_dialog->show();
    const QString labelBefore = m_dialog->findChild<QLabel *>(QStringLiteral("lblVersion"))->text();
    ModalAnswerer answerer;
    if (expectMessage)
        answerer.expectNotice(kUnavailable);
    m_dialog->findChild<QPushButton *>(QStringLiteral("cmdSysInfo"))->click();

    QCOMPARE(fakes.fileProbe.probed, expectedProbed);
    QCOMPARE(fakes.programStarter.attempts, expectedStarted);
    QCOMPARE(answerer.verdict(), QString());
    QCOMPARE(fakes.registry.openKeyCount(), 0);
    // The dialog stays as it was.
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(m_dialog->findChild<QLabel *>(QStringLiteral("lblVersion"))->text(), labelBefore);
}

void TestFrmAbout::loadSetsTexts()
{
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("About Quorvel"));
    QCOMPARE(m_dialog->findChild<QLabel *>(QStringLiteral("lblTitle"))->text(),
        QStringLiteral("Quorvel"));
    QCOMPARE(m_dialog->findChild<QLabel *>(QStringLiteral("lblVersion"))->text(),
        QStringLiteral("Version " QUORVEL_VERSION));
    QCOMPARE(m_dialog->findChild<QLabel *>(QStringLiteral("lblDescription"))->text(),
        QStringLiteral("For quick value conversion to a different standard"));
    // One line break, after its heading.
    QCOMPARE(m_dialog->findChild<QLabel *>(QStringLiteral("lblWarning"))->text(),
        QStringLiteral("Warning:\nThe use of this program is strictly for converting values. All "
                       "conversions for precise values should always be double checked for "
                       "accuracy. The program author assumes absolutely no responsibility "
                       "whatsoever for any errors that may occur."));
    const QFont title = m_dialog->findChild<QLabel *>(QStringLiteral("lblTitle"))->font();
    QCOMPARE(title.family(), QStringLiteral("Dragonwick"));
    QCOMPARE(title.pointSizeF(), 14.25);
    QCOMPARE(title.weight(), QFont::Bold);
    QCOMPARE(m_dialog->findChild<QPushButton *>(QStringLiteral("cmdSysInfo"))->text(),
        QStringLiteral("&System Info..."));
}

void TestFrmAbout::dialogIsFixedAndNamed()
{
    const Qt::WindowFlags flags = m_dialog->windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QCOMPARE(m_dialog->minimumSize(), m_dialog->maximumSize());
    const int dpi = m_dialog->logicalDpiX();
    QCOMPARE(m_dialog->width(), qRound(5565.0 * dpi / 1440));
    QVERIFY(!m_dialog->parent());

    const QStringList names { "lblTitle", "lblVersion", "lblDescription", "lblWarning", "cmdOK",
        "cmdSysInfo" };
    for (const QString &name : names) {
        auto *control = m_dialog->findChild<QWidget *>(name);
        QVERIFY2(control, qPrintable(name));
        QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(name));
    }
    QVERIFY(m_dialog->findChild<QTimer *>(QStringLiteral("Timer1")));
}

void TestFrmAbout::firstShowingIsTimed()
{
    auto *cmdOK = m_dialog->findChild<QPushButton *>(QStringLiteral("cmdOK"));
    auto *timer = m_dialog->findChild<QTimer *>(QStringLiteral("Timer1"));
    m_mainWindow->show();
    m_dialog->show();
    QVERIFY(!cmdOK->isVisible());
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 5000);

    m_mainWindow->hide();
    m_dialog->Timer1_Timer();
    QVERIFY(!m_dialog->isVisible());
    QVERIFY(!timer->isActive());
    QVERIFY(m_mainWindow->isVisible());
    QVERIFY(cmdOK->isVisibleTo(m_dialog));
    QVERIFY(m_dialog); // hidden, not unloaded
}

void TestFrmAbout::tickTakesTheKeyboardOnlyFromThisProgram()
{
    m_mainWindow->show();
    m_dialog->show();
    {
        QWidget other; // gone by the tick, it stands for another program's window
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
    }
    m_dialog->Timer1_Timer();
    QTest::qWait(50);
    QVERIFY(m_mainWindow->isVisible() && !m_mainWindow->isActiveWindow());
}

void TestFrmAbout::timerHidesTheNoticeAfterFiveSeconds()
{
    QElapsedTimer clock;
    clock.start();
    m_dialog->show();
    QTRY_VERIFY_WITH_TIMEOUT(!m_dialog->isVisible(), 8000);
    QVERIFY2(clock.elapsed() >= 4900, qPrintable(QString::number(clock.elapsed())));
}

void TestFrmAbout::laterShowingOffersOkWithoutTimer()
{
    auto *cmdOK = m_dialog->findChild<QPushButton *>(QStringLiteral("cmdOK"));
    m_dialog->show();
    m_dialog->Timer1_Timer();

    m_dialog->show();
    QVERIFY(cmdOK->isVisible());
    QVERIFY(!m_dialog->findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
    QTest::qWait(50);
    QVERIFY(m_dialog->isVisible());

    cmdOK->click();
    QVERIFY(!m_dialog->isVisible());
    QVERIFY(m_dialog);
}

void TestFrmAbout::keysCloseOnlyWhenOkIsOffered_data()
{
    QTest::addColumn<bool>("okOffered");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("expectedVisible");

    row("Esc during the timed notice", false, int(Qt::Key_Escape), true);
    row("Enter during the timed notice", false, int(Qt::Key_Return), true);
    row("Esc with OK offered", true, int(Qt::Key_Escape), false);
    row("Enter with OK offered", true, int(Qt::Key_Return), false);
}

void TestFrmAbout::keysCloseOnlyWhenOkIsOffered()
{
    QFETCH(bool, okOffered);
    QFETCH(int, key);
    QFETCH(bool, expectedVisible);

    // Enter on System Info would start the tool: keep the focus off it.
    m_dialog->findChild<QPushButton *>(QStringLiteral("cmdSysInfo"))->setFocusPolicy(Qt::NoFocus);
    m_dialog->show();
    if (okOffered) {
        m_dialog->Timer1_Timer();
        m_dialog->show();
    }
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    QTest::keyClick(m_dialog, Qt::Key(key));
    QCOMPARE(m_dialog->isVisible(), expectedVisible);
    QVERIFY(m_dialog);
}

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
