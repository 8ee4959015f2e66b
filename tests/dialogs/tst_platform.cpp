#include "platform/services.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace quorvel::platform;

// The real services of this platform, on the parts a test can drive
// without starting anything visible.
class TestSystemServices : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void startProgramReportsFailure_data();
    void startProgramReportsFailure();
    void fileExists_data();
    void fileExists();

private:
    QTemporaryDir m_folder;
};

void TestSystemServices::initTestCase()
{
    QVERIFY(m_folder.isValid());
    QFile plain(m_folder.filePath(QStringLiteral("plain.txt")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("not a program\n");
}

void TestSystemServices::startProgramReportsFailure_data()
{
    QTest::addColumn<QString>("path");

    QTest::newRow("empty path") << QString();
    QTest::newRow("missing file") << m_folder.filePath(QStringLiteral("missing.exe"));
    QTest::newRow("a folder") << m_folder.path();
#ifndef Q_OS_WIN
    QTest::newRow("a file that is no program") << m_folder.filePath(QStringLiteral("plain.txt"));
#endif
}

void TestSystemServices::startProgramReportsFailure()
{
    QFETCH(QString, path);
    QVERIFY(!systemServices().programStarter.startProgram(path));
}

void TestSystemServices::fileExists_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("expected");

    QTest::newRow("existing file") << m_folder.filePath(QStringLiteral("plain.txt")) << true;
    QTest::newRow("missing file") << m_folder.filePath(QStringLiteral("missing.exe")) << false;
    QTest::newRow("a folder is no file") << m_folder.path() << false;
    QTest::newRow("empty path") << QString() << false;
}

void TestSystemServices::fileExists()
{
    QFETCH(QString, path);
    QFETCH(bool, expected);
    QCOMPARE(systemServices().fileProbe.fileExists(path), expected);
}

QTEST_MAIN(TestSystemServices)
#include "tst_systemservices.moc"
