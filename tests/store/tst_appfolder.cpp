#include "app/commandline.h"
#include "store/appfolder.h"
#include "support/row.h"
#include "ui/failuretext.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace quorvel;
using quorvel::test::row;

class TestAppFolder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fromArguments_data();
    void fromArguments();
};

// The folder the program runs on, from the options the launcher passes.
void TestAppFolder::fromArguments_data()
{
    QTest::addColumn<QString>("arguments"); // %1 is the user's folder
    QTest::addColumn<QString>("made"); // the user's folder: its mode, a file, or another's
    QTest::addColumn<QString>("advice"); // a part of it; empty: the user's folder is used

    row("no option: the program's folder", QString(), "700", QString());
    row("the user's own folder", "--app-folder=%1", "700", QString());
    row("named through ..", "--app-folder=%1/../mine", "700", QString());
    row("the last folder option counts", "--fallback=full:/nowhere --app-folder=%1", "700",
        QString());
    row("one others may write", "--app-folder=%1", "770", "chmod go-w");
    row("one in a folder others may write", "--app-folder=%1", "in 777", "folder above");
    row("one of another user", "--app-folder=%1", "other", "belongs to another user");
    row("a file", "--app-folder=%1", "file", "no folder");
    row("HOME unset", "--fallback=no-home:", "700", "HOME is not set");
    row("read-only home", "--fallback=read-only:%1", "700", "home folder is read-only");
    row("full home", "--fallback=full:%1", "700", "disk is full");
    row("launcher: odd list", "--fallback=blocked:%1", "700", "conversion.txt");
    row("launcher: other failure", "--fallback=failed:%1", "700", "standard error");
}

void TestAppFolder::fromArguments()
{
    QFETCH(QString, arguments);
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

    const app::CommandLine line = app::readCommandLine(QStringList { QStringLiteral("quorvel") }
        + QString(arguments).replace(QLatin1String("%1"), folder).split(u' ', Qt::SkipEmptyParts));
    const AppFolder chosen
        = chooseAppFolder(QStringLiteral("/opt/program"), line.wanted, line.fallback);
    QCOMPARE(chosen.path,
        advice.isEmpty() && !arguments.isEmpty() ? folder : QStringLiteral("/opt/program"));
    const auto failure = readOnlyFolderFailure(chosen);
    const QString text = failure && failure->reasons().size() > 1 ? ui::failureText(*failure) : "";
    QVERIFY2(text.contains(advice) && text.isEmpty() == advice.isEmpty(), qPrintable(text));
    QVERIFY(advice.isEmpty() || !arguments.contains(u'%') || text.contains(folder));
}

QTEST_GUILESS_MAIN(TestAppFolder)
#include "tst_appfolder.moc"
