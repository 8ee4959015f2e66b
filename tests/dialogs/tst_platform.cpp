#include "core/failure.h"
#include "platform/registryvalue.h"
#include "platform/services.h"
#include "platform/sysinfo.h"
#include "support/row.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace quorvel;
using namespace quorvel::platform;
using quorvel::test::row;

// The platform layer without windows: registry data as GetKeyValue turns it
// into text, the registry stand-in of platforms without one, and the real
// services on the parts a test can drive without starting anything visible.
class TestPlatform : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void convertsRegistryValues_data();
    void convertsRegistryValues();
    void substituteRegistryAnswersWithTheDesktopTool_data();
    void substituteRegistryAnswersWithTheDesktopTool();
    void startProgramReportsFailure_data();
    void startProgramReportsFailure();
    void fileExists_data();
    void fileExists();

private:
    QTemporaryDir m_folder;
};

void TestPlatform::initTestCase()
{
    QVERIFY(m_folder.isValid());
    QFile plain(m_folder.filePath(QStringLiteral("plain.txt")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("not a program\n");
}

void TestPlatform::convertsRegistryValues_data()
{
    QTest::addColumn<uint>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("expectFailure");

    const QString path = QStringLiteral("C:\\Tools\\msinfo32.exe");
    row("string stored with its NUL loses the NUL", kRegSz,
        QByteArray("C:\\Tools\\msinfo32.exe", 22), QString(), path, false);
    row("string stored without NUL stays whole", kRegSz, QByteArray("C:\\Tools\\msinfo32.exe"),
        QString(), path, false);
    row("one NUL byte gives the empty text", kRegSz, QByteArray(1, '\0'), "old", QString(), false);
    row("dword 34 12 00 00 loses its last byte", kRegDword, QByteArray("\x34\x12\x00\x00", 4),
        QString(), "&h01234", false);
    row("dword 05 01 00 00 gives single digits", kRegDword, QByteArray("\x05\x01\x00\x00", 4),
        QString(), "&h015", false);
    row("dword digits are upper-case hex", kRegDword, QByteArray("\xAB\x1A\x00\x00", 4), QString(),
        "&h01AAB", false);
    row("dword without a zero last byte keeps four bytes", kRegDword,
        QByteArray("\x01\x02\x03\x04", 4), QString(), "&h4321", false);
    row("dword digits follow the earlier text", kRegDword, QByteArray("\x1A\x00\x00\x00", 4), "7",
        "&h7001A", false);
    row("binary value is not converted", 3u, QByteArray("\x01\x02", 2), "before", "before", false);
    row("size 0 is a run-time failure", kRegSz, QByteArray(), "keep", "keep", true);
}

void TestPlatform::convertsRegistryValues()
{
    QFETCH(uint, type);
    QFETCH(QByteArray, data);
    QFETCH(QString, before);
    QFETCH(QString, expected);
    QFETCH(bool, expectFailure);

    // As a query leaves it: the data at the start of a buffer of NULs.
    const QByteArray buffer = data + QByteArray(kRegistryBufferSize - data.size(), '\0');
    QString keyVal = before;
    bool failed = false;
    try {
        convertRegistryValue(type, buffer, quint32(data.size()), keyVal);
    } catch (const Failure &failure) {
        failed = failure.kind() == FailureKind::SubscriptOutOfRange;
    }
    QCOMPARE(failed, expectFailure);
    QCOMPARE(keyVal, expected);
}

void TestPlatform::substituteRegistryAnswersWithTheDesktopTool_data()
{
    QTest::addColumn<QString>("tool"); // what the search of the desktop's tools finds
    QTest::addColumn<QByteArray>("expected"); // the path value's data; null: no such key

    row("a tool is installed", "/usr/bin/hardinfo", QByteArray("/usr/bin/hardinfo", 18));
    row("no tool is installed", QString(), QByteArray());
    row("a path the code page cannot carry is no tool", QStringLiteral("/opt/\u4E00/hardinfo"),
        QByteArray());
}

void TestPlatform::substituteRegistryAnswersWithTheDesktopTool()
{
    QFETCH(QString, tool);
    QFETCH(QByteArray, expected);

    SubstituteRegistry registry([tool] { return tool; });
    Registry::Key key = 0;
    const long opened
        = registry.openKey(kHkeyLocalMachine, QString::fromLatin1(kSysInfoPathKey), kKeyRead, key);
    QCOMPARE(opened, expected.isNull() ? kErrorFileNotFound : kErrorSuccess);
    if (opened == kErrorSuccess) {
        QByteArray buffer(kRegistryBufferSize, '\0');
        quint32 size = kRegistryBufferSize;
        quint32 type = 0;
        QCOMPARE(
            registry.queryValue(key, QStringLiteral("PATH"), type, buffer, size), kErrorSuccess);
        registry.closeKey(key);
        QCOMPARE(type, kRegSz);
        QCOMPARE(buffer.first(size), expected);
    }
    QCOMPARE(
        registry.openKey(kHkeyLocalMachine, QString::fromLatin1(kSysInfoFolderKey), kKeyRead, key),
        kErrorFileNotFound);
}

void TestPlatform::startProgramReportsFailure_data()
{
    QTest::addColumn<QString>("path");

    QTest::newRow("empty path") << QString();
    QTest::newRow("missing file") << m_folder.filePath(QStringLiteral("missing.exe"));
    QTest::newRow("a folder") << m_folder.path();
#ifndef Q_OS_WIN
    QTest::newRow("a file that is no program") << m_folder.filePath(QStringLiteral("plain.txt"));
#endif
}

void TestPlatform::startProgramReportsFailure()
{
    QFETCH(QString, path);
    QVERIFY(!systemServices().programStarter.startProgram(path));
}

void TestPlatform::fileExists_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("expected");

    QTest::newRow("existing file") << m_folder.filePath(QStringLiteral("plain.txt")) << true;
    QTest::newRow("missing file") << m_folder.filePath(QStringLiteral("missing.exe")) << false;
    QTest::newRow("a folder is no file") << m_folder.path() << false;
    QTest::newRow("empty path") << QString() << false;
}

void TestPlatform::fileExists()
{
    QFETCH(QString, path);
    QFETCH(bool, expected);
    QCOMPARE(systemServices().fileProbe.fileExists(path), expected);
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
