// The main window in edit mode: adding units and categories, deleting
// categories, and what is refused, checked byte for byte on disk.

#include "support/row.h"
#include "support/widgets.h"

#include "ui/main/frmConversion.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

using namespace quorvel::test;
using Press = ModalAnswerer::Press;

namespace {

const QStringList kTimeNames { "Days", "Hours", "Minutes", "Seconds" };
const QStringList kLengthNames { "Feet", "Inches", "Meters", "Miles" };

} // namespace

class tst_frmConversionEdit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void fortnightsStepByStep();
    void factorTypedBeforeName();
    void choosingExistingUnit_data();
    void choosingExistingUnit();
    void guidingTextNamesNoUnit();
    void noOnTwoCategories();
    void arrowKeysAskForEveryEntry();

    void newCategory();
    void newCategoryCreatesNothing_data();
    void newCategoryCreatesNothing();
    void refusedCategoryName();

    void deleteCategory();
    void listReadBySkippingTextSaysSoInEditMode();

    void addUnitRefused_data();
    void addUnitRefused();

private:
    bool startEditing();
    bool loadForEditing(const QString &category);
    bool addUnit(const QString &name, const QString &factor);
    void clearAndType(QWidget *widget, const QString &text);

    std::unique_ptr<WindowDriver> f;
};

void tst_frmConversionEdit::init()
{
    QLocale::setDefault(QLocale::c());
    f = std::make_unique<WindowDriver>();
    QVERIFY(f->folderReady());
}

void tst_frmConversionEdit::cleanup()
{
    const QString problems = finish(f);
    QLocale::setDefault(QLocale::c());
    QVERIFY2(problems.isEmpty(), qPrintable(problems));
}

bool tst_frmConversionEdit::startEditing()
{
    if (!f->start())
        return false;
    f->action("mnuFileEdit")->trigger();
    return f->action("mnuFileEdit")->isChecked();
}

// Chooses a category and answers No to the delete question.
bool tst_frmConversionEdit::loadForEditing(const QString &category)
{
    f->answerer.expectDeleteQuestion(Press::No);
    return choose(f->category, category) && f->answerer.pending() == 0
        && f->from->itemText(f->from->count() - 1) == kMarker;
}

// Adds a unit the usual way: "--> NEW <--", the name, Enter, the factor, Enter.
bool tst_frmConversionEdit::addUnit(const QString &name, const QString &factor)
{
    if (!choose(f->from, lastMarkerRow(f->from)) || !f->from->currentText().isEmpty())
        return false;
    type(f->from, name);
    pressEnter(f->from);
    if (!hasFocus(f->value))
        return false;
    type(f->value, factor);
    pressEnter(f->value);
    return true;
}

void tst_frmConversionEdit::clearAndType(QWidget *widget, const QString &text)
{
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(widget, Qt::Key_Backspace);
    type(widget, text);
}

// ---------------------------------------------------------------------------
// Adding units

void tst_frmConversionEdit::fortnightsStepByStep()
{
    f->writeStandardFiles();
    QVERIFY(startEditing());
    QVERIFY(loadForEditing(QStringLiteral("Time")));
    QCOMPARE(entries(f->from), kTimeNames + QStringList { kMarker });
    QCOMPARE(f->from->currentText(), QStringLiteral("Convert From/To"));
    QTRY_VERIFY(hasFocus(f->from));

    QVERIFY(choose(f->from, kMarker));
    QVERIFY(f->from->currentText().isEmpty());
    QVERIFY(hasFocus(f->from));

    type(f->from, QStringLiteral("Fortnights"));
    pressEnter(f->from);
    QTRY_VERIFY(hasFocus(f->value));
    QVERIFY(f->value->text().isEmpty());
    QCOMPARE(f->readFile(QStringLiteral("Time.txt")), kTimeUnits);

    type(f->value, QStringLiteral("1209600"));
    pressEnter(f->value);
    QCOMPARE(f->readFile(QStringLiteral("Time.txt")),
        QByteArray("\"Days\",86400\r\n\"Fortnights\",1209600\r\n\"Hours\",3600\r\n"
                   "\"Minutes\",60\r\n\"Seconds\",1\r\n"));
    QVERIFY(f->value->text().isEmpty());
    QTRY_VERIFY(hasFocus(f->from));
    QCOMPARE(f->from->currentText(), QStringLiteral("Fortnights"));
    // The lists show the new unit only once the category is loaded again.
    QCOMPARE(entries(f->from), kTimeNames + QStringList { kMarker });
    QCOMPARE(f->window->UnitNames(),
        (QStringList { "Days", "Fortnights", "Hours", "Minutes", "Seconds" }));
}

void tst_frmConversionEdit::factorTypedBeforeName()
{
    f->writeStandardFiles();
    QVERIFY(startEditing());
    QVERIFY(loadForEditing(QStringLiteral("Time")));
    QVERIFY(focusOn(f->value));
    type(f->value, QStringLiteral("604800"));

    QVERIFY(choose(f->from, kMarker));
    type(f->from, QStringLiteral("Weeks"));
    pressEnter(f->from);

    QCOMPARE(f->readFile(QStringLiteral("Time.txt")), kTimeUnits + "\"Weeks\",604800\r\n");
    QVERIFY(f->value->text().isEmpty());
    QTRY_VERIFY(hasFocus(f->from));

    // A second unit right after, without loading again.
    QVERIFY(choose(f->from, lastMarkerRow(f->from)));
    type(f->from, QStringLiteral("Years"));
    pressEnter(f->from);
    QTRY_VERIFY(hasFocus(f->value));
    type(f->value, QStringLiteral("31536000"));
    pressEnter(f->value);
    QCOMPARE(f->readFile(QStringLiteral("Time.txt")),
        kTimeUnits + "\"Weeks\",604800\r\n\"Years\",31536000\r\n");
}

void tst_frmConversionEdit::choosingExistingUnit_data()
{
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("focused");

    row("with a factor typed stores a second unit", "7",
        QByteArray("\"Days\",86400\r\n\"Hours\",3600\r\n\"Hours\",7\r\n\"Minutes\","
                   "60\r\n\"Seconds\",1\r\n"),
        "cboConvFrom");
}

void tst_frmConversionEdit::choosingExistingUnit()
{
    QFETCH(QString, factor);
    QFETCH(QByteArray, after);
    QFETCH(QString, focused);
    f->writeStandardFiles();
    QVERIFY(startEditing());
    QVERIFY(loadForEditing(QStringLiteral("Time")));
    QVERIFY(focusOn(f->value));
    type(f->value, factor);

    QVERIFY(choose(f->from, QStringLiteral("Hours")));
    QCOMPARE(f->readFile(QStringLiteral("Time.txt")), after);
    QTRY_COMPARE(focusName(), focused);
    QVERIFY(f->value->text().isEmpty());
}

void tst_frmConversionEdit::guidingTextNamesNoUnit()
{
    f->writeStandardFiles();
    QVERIFY(startEditing());
    QVERIFY(loadForEditing(QStringLiteral("Time")));
    QVERIFY(focusOn(f->value));
    type(f->value, QStringLiteral("5"));
    pressEnter(f->value);
    QCOMPARE(f->readFile(QStringLiteral("Time.txt")), kTimeUnits);
    QTRY_VERIFY(hasFocus(f->from));
}

void tst_frmConversionEdit::noOnTwoCategories()
{
    f->writeStandardFiles();
    QVERIFY(startEditing());
    QVERIFY(loadForEditing(QStringLiteral("Length")));
    QVERIFY(loadForEditing(QStringLiteral("Time")));

    QCOMPARE(entries(f->from),
        kLengthNames + QStringList { kMarker } + kTimeNames + QStringList { kMarker });
    QCOMPARE(entries(f->to), kLengthNames + kTimeNames);
    QCOMPARE(f->window->UnitNames(), kTimeNames);
    QCOMPARE(f->window->UnitFactors(), (QList<double> { 86400, 3600, 60, 1 }));

    // A unit added now belongs to Time, the category shown and loaded last.
    QVERIFY(addUnit(QStringLiteral("Weeks"), QStringLiteral("604800")));
    QCOMPARE(f->readFile(QStringLiteral("Time.txt")), kTimeUnits + "\"Weeks\",604800\r\n");
    QCOMPARE(f->readFile(QStringLiteral("Length.txt")), kLengthUnits);
}

void tst_frmConversionEdit::arrowKeysAskForEveryEntry()
{
    f->writeStandardFiles();
    QVERIFY(startEditing());
    QVERIFY(loadForEditing(QStringLiteral("Length")));

    QVERIFY(focusOn(f->category));
    f->answerer.expectDeleteQuestion(Press::No);
    QTest::keyClick(f->category, Qt::Key_Down);
    QCOMPARE(f->category->currentText(), QStringLiteral("Time"));
    QVERIFY(focusOn(f->category));
    f->answerer.expectDeleteQuestion(Press::No);
    QTest::keyClick(f->category, Qt::Key_Down);
    QCOMPARE(f->category->currentText(), QStringLiteral("Weight"));

    QCOMPARE(f->answerer.pending(), 0);
    QCOMPARE(f->from->count(), 4 + 1 + 4 + 1 + 3 + 1);
    QCOMPARE(f->window->UnitNames(), (QStringList { "Grams", "Kilograms", "Pounds" }));
    QCOMPARE(f->readFile(QStringLiteral("conversion.txt")), kStandardCategories);
}

// ---------------------------------------------------------------------------
// Adding categories

void tst_frmConversionEdit::newCategory()
{
    f->writeFile(QStringLiteral("conversion.txt"), "\"Time\"\r\n\"Length\"\r\n\"Weight\"\r\n");
    f->writeFile(QStringLiteral("Length.txt"), kLengthUnits);
    f->writeFile(QStringLiteral("Time.txt"), kTimeUnits);
    f->writeFile(QStringLiteral("Weight.txt"), kWeightUnits);
    QVERIFY(startEditing());

    f->answerer.expectNewCategory(QStringLiteral("Frequency"));
    QVERIFY(choose(f->category, kMarker));
    QCOMPARE(f->answerer.pending(), 0);

    // Written in the order the list shows, without the marker.
    QCOMPARE(f->readFile(QStringLiteral("conversion.txt")),
        QByteArray("\"Frequency\"\r\n\"Length\"\r\n\"Time\"\r\n\"Weight\"\r\n"));
    QVERIFY(f->exists(QStringLiteral("Frequency.txt")));
    QCOMPARE(f->readFile(QStringLiteral("Frequency.txt")), QByteArray());
    QCOMPARE(f->category->currentText(), QStringLiteral("Frequency"));
    QCOMPARE(entries(f->category), (QStringList { "Frequency", "Length", "Time", "Weight" }));
    QCOMPARE(entries(f->from), QStringList { kMarker });
    QCOMPARE(f->from->currentText(), QStringLiteral("Convert From/To"));
    QVERIFY(f->window->UnitNames().isEmpty());
    QTRY_VERIFY(hasFocus(f->from));

    QVERIFY(addUnit(QStringLiteral("Hertz"), QStringLiteral("1")));
    QCOMPARE(f->readFile(QStringLiteral("Frequency.txt")), QByteArray("\"Hertz\",1\r\n"));
    QVERIFY(addUnit(QStringLiteral("Kilohertz"), QStringLiteral("1000")));
    QCOMPARE(f->readFile(QStringLiteral("Frequency.txt")),
        QByteArray("\"Hertz\",1\r\n\"Kilohertz\",1000\r\n"));

    f->action("mnuFileEdit")->trigger();
    QVERIFY(!entries(f->category).contains(kMarker));
    QVERIFY(choose(f->category, QStringLiteral("Frequency")));
    QCOMPARE(entries(f->from), (QStringList { "Hertz", "Kilohertz" }));
    QVERIFY(choose(f->from, QStringLiteral("Kilohertz")));
    QVERIFY(choose(f->to, QStringLiteral("Hertz")));
    QTRY_VERIFY(hasFocus(f->value));
    type(f->value, QStringLiteral("2"));
    pressEnter(f->value);
    QCOMPARE(f->output->text(), QStringLiteral("2.000000 e+3 "));
}

void tst_frmConversionEdit::newCategoryCreatesNothing_data()
{
    QTest::addColumn<bool>("cancel");

    QTest::newRow("Cancel") << true;
    QTest::newRow("empty answer") << false;
}

void tst_frmConversionEdit::newCategoryCreatesNothing()
{
    QFETCH(bool, cancel);
    f->writeStandardFiles();
    QVERIFY(startEditing());
    const QStringList listed = entries(f->category);
    const Snapshot files = f->folderSnapshot();

    if (cancel)
        f->answerer.expectNewCategoryCancelled();
    else
        f->answerer.expectNewCategory(QString());
    QVERIFY(choose(f->category, kMarker));
    QCOMPARE(f->answerer.pending(), 0);

    QCOMPARE(f->folderSnapshot(), files);
    QCOMPARE(entries(f->category), listed);
    // The marker stays chosen: Down moves on to the next category.
    QCOMPARE(f->category->currentText(), kMarker);
    f->answerer.expectDeleteQuestion(Press::No);
    QTest::keyClick(f->category, Qt::Key_Down);
    QCOMPARE(f->answerer.pending(), 0);
    QCOMPARE(f->category->currentText(), listed.at(f->category->currentIndex()));
    QVERIFY(f->category->currentText() != kMarker);
    // The marker is still there for another try.
    f->answerer.expectNewCategory(QStringLiteral("Area"));
    QVERIFY(choose(f->category, kMarker));
    QCOMPARE(f->readFile(QStringLiteral("Area.txt")), QByteArray());
}

// A name the rules refuse: one message, and nothing changes.
void tst_frmConversionEdit::refusedCategoryName()
{
    const QString name = QStringLiteral("a/b");
    f->writeStandardFiles();
    QVERIFY(startEditing());
    const QStringList listed = entries(f->category);
    const Snapshot files = f->folderSnapshot();

    f->answerer.expectNewCategory(name);
    f->answerer.expectFailure(QString());
    QVERIFY(choose(f->category, kMarker));
    QCOMPARE(f->answerer.pending(), 0);

    QCOMPARE(f->folderSnapshot(), files);
    QCOMPARE(entries(f->category), listed);
    QCOMPARE(f->category->currentText(), kMarker);
    QCOMPARE(f->from->count(), 0);
}

// ---------------------------------------------------------------------------
// Deleting categories

// Yes, the default button: the list file and the list lose the category.
void tst_frmConversionEdit::deleteCategory()
{
    f->writeStandardFiles();
    QVERIFY(startEditing());

    f->answerer.expectDeleteQuestion(Press::Enter);
    QVERIFY(choose(f->category, QStringLiteral("Time")));
    QCOMPARE(f->answerer.pending(), 0);

    QCOMPARE(f->readFile(QStringLiteral("conversion.txt")), "\"Length\"\r\n\"Weight\"\r\n");
    QCOMPARE(f->readFile(QStringLiteral("Time.txt")), kTimeUnits);
    QCOMPARE(entries(f->category), (QStringList { kMarker, "Length", "Weight" }));
    QVERIFY(f->category->currentText().isEmpty());
    // No category is chosen now, so no unit can be added.
    QCOMPARE(f->from->count(), 0);
}

// ---------------------------------------------------------------------------
// Refused units and failing writes

// Normal mode lists what it could read; edit mode says at once why it
// offers no new category.
void tst_frmConversionEdit::listReadBySkippingTextSaysSoInEditMode()
{
    f->writeStandardFiles();
    QVERIFY(f->writeFile(QStringLiteral("conversion.txt"), "\"Length\" old\r\n\"Time\"\r\n"));
    QVERIFY(f->start());
    f->answerer.expectFailure(QStringLiteral("skips"));
    f->action("mnuFileEdit")->trigger();
    QCOMPARE(f->answerer.pending(), 0);
    QCOMPARE(entries(f->category), (QStringList { "Length", "Time" }));
}

void tst_frmConversionEdit::addUnitRefused_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("name");

    row("before any category is chosen", "none", "Widgets");
    row("after a deletion", "deleted", "Widgets");
    row("after a deletion, units loaded before", "loaded then deleted", "Weeks");
    row("category typed, not chosen", "typed", "Yards");
    row("name refused", "loaded", "Big\"Foot");
}

void tst_frmConversionEdit::addUnitRefused()
{
    QFETCH(QString, situation);
    QFETCH(QString, name);
    f->writeStandardFiles();
    QVERIFY(startEditing());
    if (situation.contains(QLatin1String("loaded")))
        QVERIFY(loadForEditing(QStringLiteral("Time")));
    if (situation.contains(QLatin1String("deleted"))) {
        f->answerer.expectDeleteQuestion(Press::Enter);
        QVERIFY(choose(f->category, QStringLiteral("Weight")));
    }
    if (situation == QLatin1String("typed")) {
        QVERIFY(loadForEditing(QStringLiteral("Time")));
        QVERIFY(focusOn(f->category));
        clearAndType(f->category, QStringLiteral("Length"));
    }
    const Snapshot files = f->folderSnapshot();
    const QStringList units = f->window->UnitNames();

    QVERIFY(focusOn(f->from));
    clearAndType(f->from, name);
    QCOMPARE(f->from->currentText(), name);
    pressEnter(f->from);
    QTRY_VERIFY(hasFocus(f->value));
    type(f->value, QStringLiteral("5"));
    f->answerer.expectFailure(QString());
    pressEnter(f->value);
    QCOMPARE(f->answerer.pending(), 0);

    QCOMPARE(f->folderSnapshot(), files);
    QCOMPARE(f->window->UnitNames(), units);
    QCOMPARE(f->value->text(), QStringLiteral("5"));
}

QTEST_MAIN(tst_frmConversionEdit)
#include "tst_frmconversion_edit.moc"
