// The options the launcher passes, read without a window.
#include "app/commandline.h"
#include "support/row.h"

#include <QDir>
#include <QTest>

using quorvel::test::row;

class tst_CommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void options_data();
    void options();
};

void tst_CommandLine::options_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("wanted"); // "./" stands for the current folder
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<bool>("upgrade");

    const QString none;
    row("the user's folder", QStringList { "--app-folder=/u/q" }, "/u/q", none, false);
    row("a reason and its folder", QStringList { "--fallback=full:/u/q" }, "/u/q", "full", false);
    row("a reason without a folder", QStringList { "--fallback=no-home:" }, none, "no-home", false);
    row("the last folder option counts", QStringList { "--fallback=full:/a", "--app-folder=/b" },
        "/b", none, false);
    row("a relative folder, made absolute", QStringList { "--app-folder=q/../r" }, "./r", none,
        false);
    row("upgrade", QStringList { "--upgrade" }, none, none, true);
}

void tst_CommandLine::options()
{
    QFETCH(QStringList, options);
    QFETCH(QString, wanted);
    QFETCH(QString, fallback);
    QFETCH(bool, upgrade);
    if (wanted.startsWith(QLatin1String("./")))
        wanted = QDir::currentPath() + wanted.mid(1);
    const quorvel::app::CommandLine line
        = quorvel::app::readCommandLine(QStringList { "quorvel" } + options);
    QCOMPARE(line.wanted, wanted);
    QCOMPARE(line.fallback, fallback);
    QCOMPARE(line.upgrade, upgrade);
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
