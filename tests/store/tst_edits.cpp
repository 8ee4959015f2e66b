// The rules of edit mode without the window: the category list with its
// marker and chosen entry, and what each edit-mode event means.
#include "store/categorylist.h"
#include "store/editstep.h"
#include "support/row.h"

#include <QLocale>
#include <QTest>

using namespace quorvel;
using namespace quorvel::test;

Q_DECLARE_METATYPE(quorvel::EditEvent)

namespace {

const QString kMarker = QString::fromUtf16(kNewEntryMarker);

// A step as a short text: "ask name", "add unit, want unit name", ...
QString describe(const EditStep &step)
{
    static const char *const asks[] = { "", "ask name", "ask delete" };
    static const char *const changes[] = { "", "add category", "delete category", "add unit" };
    static const char *const wanted[] = { "want category", "want unit name", "want factor" };
    QStringList parts;
    for (const char *part : { asks[int(step.ask)], changes[int(step.change)],
             step.loadUnits ? "load units" : "", step.clearUnitText ? "clear unit text" : "",
             step.wanted ? wanted[int(*step.wanted)] : "" }) {
        if (*part)
            parts << QString::fromLatin1(part);
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

class tst_Edits : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void categoryListOrder_data();
    void categoryListOrder();
    void categoryListEdits();
    void editStep_data();
    void editStep();
};

void tst_Edits::initTestCase()
{
    // The order the rows expect is the C locale's collation.
    QLocale::setDefault(QLocale::c());
}

void tst_Edits::categoryListOrder_data()
{
    QTest::addColumn<QStringList>("names"); // in file order
    QTest::addColumn<bool>("marker");
    QTest::addColumn<QStringList>("listed");

    row("letters without regard to case", QStringList { "beta", "Alpha", "gamma" }, false,
        QStringList { "Alpha", "beta", "gamma" });
    row("reverse file order", QStringList { "Weight", "Time", "Length" }, false,
        QStringList { "Length", "Time", "Weight" });
    row("a name listed twice", QStringList { "Time", "Area", "Time" }, false,
        QStringList { "Area", "Time", "Time" });
    row("empty file", QStringList {}, false, QStringList {});
    row("the marker sorts among the names", QStringList { "Time", "Length" }, true,
        QStringList { kMarker, "Length", "Time" });
    row("the marker alone", QStringList {}, true, QStringList { kMarker });
    // Equal names, letter case ignored, keep the file order.
    row("case variants, accents, digits and punctuation",
        QStringList { "weight", "Time", "Área", "area", "Area", "time", "10 Speed", "9 Speed",
            "data storage", "Data-Storage", "Zeta", "éclat", "Eclat", "_under" },
        false,
        QStringList { "10 Speed", "9 Speed", "_under", "area", "Area", "data storage",
            "Data-Storage", "Eclat", "Time", "time", "weight", "Zeta", "Área", "éclat" });
}

void tst_Edits::categoryListOrder()
{
    QFETCH(QStringList, names);
    QFETCH(bool, marker);
    QFETCH(QStringList, listed);
    CategoryList list;
    list.assign(names, marker);
    QCOMPARE(list.entries(), listed);
    QCOMPARE(list.markerIndex() >= 0, marker);
    QCOMPARE(list.categories().size(), names.size());
    QCOMPARE(list.chosen(), -1);
}

// The marker is known by its place: a category that bears its text stays a
// category. A new category takes the marker's place; a deleted one goes.
void tst_Edits::categoryListEdits()
{
    CategoryList list;
    list.assign({ kMarker, "Time" }, true);
    QCOMPARE(list.entries(), (QStringList { kMarker, kMarker, "Time" }));
    list.choose(0);
    QCOMPARE(list.chosenCategory(), kMarker);
    list.choose(1);
    QVERIFY(list.markerChosen());
    QVERIFY(!list.chosenCategory());
    list.replaceChosenMarker("Area");
    QCOMPARE(list.entries(), (QStringList { kMarker, "Area", "Time" }));
    QCOMPARE(list.markerIndex(), -1);
    QCOMPARE(list.chosenCategory(), QString("Area"));
    list.choose(0);
    list.removeChosen();
    QCOMPARE(list.categories(), (QStringList { "Area", "Time" }));
    QCOMPARE(list.chosen(), -1);
    list.choose(2);
    QCOMPARE(list.chosen(), -1);
}

void tst_Edits::editStep_data()
{
    QTest::addColumn<EditEvent>("event");
    QTest::addColumn<bool>("marker"); // the marker is the chosen category entry
    QTest::addColumn<QString>("unit"); // the from-list: "marker", "named" or "unnamed"
    QTest::addColumn<bool>("factor"); // the value box holds text
    QTest::addColumn<QString>("answer"); // "name X", "cancel", "yes", "no"; empty: none yet
    QTest::addColumn<QString>("step");

    const EditEvent category = EditEvent::CategoryChosen;
    const EditEvent chosen = EditEvent::UnitChosen;
    const EditEvent unitEnter = EditEvent::UnitListEnter;
    const EditEvent valueEnter = EditEvent::ValueBoxEnter;
    const QString store = "add unit, want unit name";
    const QString nothing = "want unit name";
    row("marker chosen asks for a name", category, true, "unnamed", false, "", "ask name");
    row("a name adds the category", category, true, "unnamed", false, "name Area",
        "add category, load units, want unit name");
    row("Cancel adds nothing", category, true, "unnamed", false, "cancel", "want category");
    row("a category chosen asks to delete it", category, false, "unnamed", false, "", "ask delete");
    row("Yes deletes it, with no marker after", category, false, "unnamed", false, "yes",
        "delete category, want unit name");
    row("No loads its units", category, false, "unnamed", false, "no",
        "load units, want unit name");
    row("the from-list's marker empties its text", chosen, false, "marker", true, "",
        "clear unit text");
    row("a unit chosen without a factor asks for one", chosen, false, "named", false, "",
        "want factor");
    row("a unit chosen with a factor stores it again", chosen, false, "named", true, "", store);
    row("a unit chosen whose name reads as no name", chosen, false, "unnamed", true, "", store);
    row("from-list Enter without a factor", unitEnter, false, "named", false, "", "want factor");
    row("from-list Enter with a factor", unitEnter, false, "named", true, "", store);
    row("from-list Enter without a name", unitEnter, false, "unnamed", true, "", nothing);
    row("value box Enter stores", valueEnter, false, "named", true, "", store);
    row("value box Enter without a factor stores 0", valueEnter, false, "named", false, "", store);
    row("value box Enter without a name", valueEnter, false, "unnamed", true, "", nothing);
}

void tst_Edits::editStep()
{
    QFETCH(EditEvent, event);
    QFETCH(bool, marker);
    QFETCH(QString, unit);
    QFETCH(bool, factor);
    QFETCH(QString, answer);
    QFETCH(QString, step);
    EditInput input { .event = event,
        .markerChosen = marker,
        .unitMarkerChosen = unit == "marker",
        .unitNamed = unit == "named",
        .factorGiven = factor };
    if (answer.startsWith("name "))
        input.typedName = answer.mid(5);
    else if (answer == "cancel")
        input.typedName = QString();
    else if (!answer.isEmpty())
        input.deleteConfirmed = answer == "yes";
    QCOMPARE(describe(quorvel::editStep(input)), step);
}

QTEST_GUILESS_MAIN(tst_Edits)
#include "tst_edits.moc"
