#include "store/appfolder.h"
#include "support/row.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace quorvel;
using quorvel::test::row;

class TestAppFolder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void chosen_data();
    void chosen();
};

void TestAppFolder::chosen_data()
{
    QTest::addColumn<QString>("fallback"); // the launcher's word
    QTest::addColumn<QString>("wanted"); // %1 is the user's folder
    QTest::addColumn<QString>("made"); // the user's folder: its mode, a file, or another's
    QTest::addColumn<QString>("advice"); // a part of it; empty: the user's folder is used

    row("no option: the program's folder", QString(), QString(), "700", QString());
    row("the user's own folder", QString(), "%1", "700", QString());
    row("one others may write", QString(), "%1", "770", "chmod go-w");
    row("one in a folder others may write", QString(), "%1", "in 777", "folder above");
    row("one of another user", QString(), "%1", "other", "belongs to another user");
    row("a file", QString(), "%1", "file", "no folder");
    row("HOME unset", "no-home", QString(), "700", "HOME is not set");
    row("read-only home", "read-only", "%1", "700", "home folder is read-only");
    row("full home", "full", "%1", "700", "disk is full");
    row("launcher: odd list", "blocked", "%1", "700", "conversion.txt");
    row("launcher: other failure", "failed", "%1", "700", "standard error");
}

void TestAppFolder::chosen()
{
    QFETCH(QString, fallback);
    QFETCH(QString, wanted);
    QFETCH(QString, made);
    QFETCH(QString, advice);
    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("mine"));
    QVERIFY(QDir().mkdir(folder) && ::chmod(qPrintable(folder), made.toUInt(nullptr, 8)) == 0);
    QVERIFY(made != "in 777" || ::chmod(qPrintable(dir.path()), 0777) == 0);
    if (made == QLatin1String("file"))
        folder = QCoreApplication::applicationFilePath();
    // As root, a folder of nobody's; otherwise the root folder is another's.
    if (made == QLatin1String("other")
        && (::geteuid() != 0 || ::chown(qPrintable(folder), 65534, 65534) != 0))
        folder = QStringLiteral("/");

    const AppFolder chosen = chooseAppFolder(
        QStringLiteral("/opt/program"), wanted.isEmpty() ? wanted : folder, fallback);
    QCOMPARE(chosen.path,
        advice.isEmpty() && !wanted.isEmpty() ? folder : QStringLiteral("/opt/program"));
    const QString text = fallbackAdvice(chosen);
    QVERIFY2(text.contains(advice) && text.isEmpty() == advice.isEmpty(), qPrintable(text));
    QVERIFY(advice.isEmpty() || wanted.isEmpty() || text.contains(folder));
}

QTEST_GUILESS_MAIN(TestAppFolder)
#include "tst_appfolder.moc"
