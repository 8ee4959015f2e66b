// Upgrades of a user's data files: the record merge, and one file of a
// folder brought up to date from its base and the bundle.
#include "store/upgrade.h"
#include "support/files.h"
#include "support/row.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <utime.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

// "A=1 B=2" as a unit table.
UnitTable units(const QString &records)
{
    UnitTable table;
    for (const QString &record : records.split(u' ', Qt::SkipEmptyParts)) {
        table.names.append(record.section(u'=', 0, 0));
        table.factors.append(record.section(u'=', 1).toDouble());
    }
    return table;
}

// "Added:B Kept:A", in report order.
QString reportText(const UpgradeReport &report)
{
    static const char *const kChanges[]
        = { "Replaced", "Added", "Corrected", "NewCategory", "Kept", "Duplicate", "LeftAlone" };
    QStringList entries;
    for (const UpgradeEntry &entry : report)
        entries.append(QStringLiteral("%1:%2").arg(kChanges[int(entry.change)], entry.name));
    return entries.join(u' ');
}

} // namespace

class TestUpgrade : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void mergesUnits_data();
    void mergesUnits();
    void mergesCategories_data();
    void mergesCategories();
    void upgradesAFile_data();
    void upgradesAFile();
};

void TestUpgrade::mergesUnits_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("bundle");
    QTest::addColumn<QString>("merged");
    QTest::addColumn<QString>("report");

    row("new unit joins", "A=1 C=3", "A=1 C=3", "A=1 B=2 C=3", "A=1 B=2 C=3", "Added:B");
    row("new unit placed as an added one", "M=1 F=3", "M=1 F=3", "M=1 F=3 C=2", "C=2 M=1 F=3",
        "Added:C");
    row("new name the user has: user's stays", "", "B=9", "B=2", "B=9", "Kept:B");
    row("new name the user has alike", "", "B=2", "B=2", "B=2", "");
    row("correction where the user has the old factor", "A=1", "A=1 X=5", "A=2", "A=2 X=5",
        "Corrected:A");
    row("correction of a unit the user changed", "A=1", "A=7", "A=2", "A=7", "Kept:A");
    row("user made the same correction", "A=1", "A=2", "A=2", "A=2", "");
    row("correction of a unit the user removed", "A=1 D=4", "A=1", "A=1 D=5", "A=1", "Kept:D");
    row("unit the bundle dropped stays", "A=1 D=4", "A=1 D=4", "A=1", "A=1 D=4", "");
    row("user's duplicate: no merge", "A=1", "A=1 A=2", "A=1 B=2", "A=1 A=2", "Duplicate:A");
    row("bundle's duplicate: no merge", "A=1", "A=1", "A=2 A=3", "A=1", "Duplicate:A");
}

void TestUpgrade::mergesUnits()
{
    QFETCH(QString, base);
    QFETCH(QString, user);
    QFETCH(QString, bundle);
    QFETCH(QString, merged);
    const UnitMerge merge = mergeUnits(units(base), units(user), units(bundle));
    QCOMPARE(unitFileText(merge.units), unitFileText(units(merged)));
    QTEST(reportText(merge.entries), "report");
    QCOMPARE(merge.changed, merged != user);
}

void TestUpgrade::mergesCategories_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("bundle");
    QTest::addColumn<QString>("merged");
    QTest::addColumn<QString>("report");

    row("new ones join in list order", "Length Time", "Time Length", "Length Time Typography Area",
        "Area Length Time Typography", "NewCategory:Typography NewCategory:Area");
    row("user's deletion stays", "Length Time", "Length", "Length Time Area", "Area Length",
        "NewCategory:Area");
    row("user's own stay", "Length", "Length Mine", "Length", "Length Mine", "");
    row("user has the new name", "Length", "Area Length", "Area Length", "Area Length", "");
    row("dropped by the bundle stays", "Length Time", "Length Time", "Length", "Length Time", "");
    row("duplicate: no merge", "Length", "Length Length", "Length Area", "Length Length",
        "Duplicate:Length");
}

void TestUpgrade::mergesCategories()
{
    QFETCH(QString, base);
    QFETCH(QString, user);
    QFETCH(QString, bundle);
    const CategoryMerge merge = mergeCategories(
        base.split(u' ', Qt::SkipEmptyParts), user.split(u' '), bundle.split(u' '));
    QTEST(merge.names.join(u' '), "merged");
    QTEST(reportText(merge.entries), "report");
}

void TestUpgrade::upgradesAFile_data()
{
    // The folder's base is the legacy bundle's Length.txt ("-" for none),
    // the user's list names Time, and Length where listed says so.
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("user"); // "-" none, "link" a link to a file elsewhere
    QTest::addColumn<QString>("bundle");
    QTest::addColumn<bool>("listed");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("report");

    row("unchanged file replaced", "A=1 D=4", "A=1 D=4", "A=2 B=3", true, "A=2 B=3", "Replaced:");
    row("changed file merged", "A=1", "A=1 S=9", "A=2 B=3", true, "A=2 B=3 S=9",
        "Corrected:A Added:B");
    row("new category's file made", "-", "-", "T=1", false, "T=1", "");
    row("user's category of that name", "-", "-", "T=1", true, "-", "Kept:");
    row("user's own file of that name", "-", "X=1", "T=1", false, "X=1", "Kept:");
    row("file the user removed", "A=1", "-", "A=2", true, "-", "Kept:");
    row("link left alone", "A=1", "link", "A=2", true, "link", "LeftAlone:");
    row("unreadable record left alone", "A=1", "\"A\",1\r\n\"B", "A=2", true, "\"A\",1\r\n\"B",
        "LeftAlone:");
}

void TestUpgrade::upgradesAFile()
{
    QFETCH(QString, base);
    QFETCH(QString, user);
    QFETCH(QString, bundle);
    QFETCH(bool, listed);
    QFETCH(QString, result);
    const QTemporaryDir dir;
    const QString folder = dir.filePath("user"), legacy = dir.filePath("legacy"),
                  bundled = dir.filePath("bundle"), elsewhere = dir.filePath("elsewhere.txt");
    for (const QString &made : { folder, legacy, bundled })
        QVERIFY(QDir().mkpath(made));
    auto text = [](const QString &records) {
        return records.contains(u'"') ? records.toLatin1()
                                      : unitFileText(units(records)).toLatin1();
    };
    const QByteArray list = listed ? "\"Length\"\r\n\"Time\"\r\n" : "\"Time\"\r\n";
    QVERIFY(put(folder + "/conversion.txt", list) && put(legacy + "/conversion.txt", list)
        && put(bundled + "/conversion.txt", list) && put(bundled + "/Length.txt", text(bundle)));
    if (base != u"-")
        QVERIFY(put(legacy + "/Length.txt", text(base)));
    if (user == u"link")
        QVERIFY(put(elsewhere, text(base)) && QFile::link(elsewhere, folder + "/Length.txt"));
    else if (user != u"-")
        QVERIFY(put(folder + "/Length.txt", text(user)));

    const utimbuf released { 1'000'000'000, 1'000'000'000 }; // long before the test
    QVERIFY(::utime(QFile::encodeName(bundled).constData(), &released) == 0);
    const QString first = reportText(upgradeFolder(folder, bundled, legacy));
    QTEST(first, "report");
    const QString path = folder + "/Length.txt";
    if (result == u"-")
        QVERIFY(!QFileInfo::exists(path));
    else if (result == u"link")
        QVERIFY(QFileInfo(path).isSymLink() && contents(elsewhere) == text(base));
    else
        QCOMPARE(contents(path), text(result));
    // Done once, and marked so for the launcher: a second start finds nothing
    // to do, but retries what failed.
    QCOMPARE(QFileInfo(folder + "/.bundle").lastModified() == QFileInfo(bundled).lastModified(),
        !first.startsWith(u"LeftAlone"));
    QCOMPARE(reportText(upgradeFolder(folder, bundled, legacy)),
        first.startsWith(u"LeftAlone") ? first : QString());
}

QTEST_GUILESS_MAIN(TestUpgrade)
#include "tst_upgrade.moc"
