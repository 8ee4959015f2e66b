// The main window in normal mode: start-up, conversions, focus, the Output
// menu, key handling, failures and the switch of layouts.

#include "support/row.h"
#include "support/widgets.h"

#include "ui/main/frmConversion.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include <algorithm>

using namespace quorvel::test;

class tst_frmConversion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void firstSight();

    void conversion_data();
    void conversion();
    void conversionWithoutResult_data();
    void conversionWithoutResult();

    void decimalsWhilePlain();
    void decimalsItems_data();
    void decimalsItems();
    void outputCommandWithoutResult_data();
    void outputCommandWithoutResult();

    void arrowKeysLoadEachCategory();
    void choosingCategoryResetsConversion();
    void typedCategoryNameLoadsNothing_data();
    void typedCategoryNameLoadsNothing();
    void unitListKeys_data();
    void unitListKeys();
    void valueBoxSelectsAllOnFocus_data();
    void valueBoxSelectsAllOnFocus();
    void tabFollowsTabOrder_data();
    void tabFollowsTabOrder();

    void partlyReadUnitFile();

    void editLayout();
    void editTwiceRestoresNormalLayout();

    void categoryChoiceFillsListsUnselected();
    void loadingAgainAppendsToLists();
    void destroyingWindowWithTypedCategoryRunsNoHandler();

private:
    std::unique_ptr<WindowDriver> f;
};

void tst_frmConversion::init()
{
    QLocale::setDefault(QLocale::c());
    f = std::make_unique<WindowDriver>();
    QVERIFY(f->folderReady());
}

void tst_frmConversion::cleanup()
{
    const QString problems = finish(f);
    QLocale::setDefault(QLocale::c());
    QVERIFY2(problems.isEmpty(), qPrintable(problems));
}

// ---------------------------------------------------------------------------
// Start-up

void tst_frmConversion::firstSight()
{
    f->writeStandardFiles();
    QVERIFY(f->start());

    QCOMPARE(f->window->windowTitle(), QStringLiteral("Quorvel"));
    QCOMPARE(f->category->currentText(), QStringLiteral("Conversion"));
    QCOMPARE(f->category->currentIndex(), -1);
    QCOMPARE(f->from->currentText(), QStringLiteral("Convert From"));
    QCOMPARE(f->to->currentText(), QStringLiteral("Convert To"));
    QCOMPARE(f->from->count(), 0);
    QCOMPARE(f->to->count(), 0);
    QVERIFY(f->value->text().isEmpty());
    QVERIFY(f->output->text().isEmpty());
    QVERIFY(!f->note->isVisible());
    QVERIFY(f->to->isVisible());
    QVERIFY(f->output->isVisible());
    QTRY_COMPARE(focusName(), QStringLiteral("cboConversionType"));

    QVERIFY(!f->action("mnuFileEdit")->isChecked());
    QVERIFY(f->action("mnuOutputScientific")->isChecked());
    QVERIFY(f->action("mnuOutput6")->isChecked());
    for (const char *name : { "mnuOutput3", "mnuOutput9", "mnuOutput12", "mnuOutput15" })
        QVERIFY2(!f->action(name)->isChecked(), name);
}

// ---------------------------------------------------------------------------
// Conversions

void tst_frmConversion::conversion_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("fromUnit");
    QTest::addColumn<QString>("toUnit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("scientific");
    QTest::addColumn<QString>("plain");

    const QLocale c = QLocale::c();
    row("12 inches to feet rounds to one", c, "Length", "Inches", "Feet", "12", "1.000000 e+0 ",
        "1");
    row("a single blank is a value", c, "Length", "Meters", "Meters", " ", "0.000000 e+0 ", "0");
    // The typed text reaches the reader as typed, where a comma ends the
    // number; the factor 0.001 is read from the file with "." whatever the
    // locale.
    row("comma locale", QLocale(QLocale::German, QLocale::Germany), "Weight", "Grams", "Kilograms",
        "1234,5", "1,234000 e+0 ", "1,234");
}

void tst_frmConversion::conversion()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, category);
    QFETCH(QString, fromUnit);
    QFETCH(QString, toUnit);
    QFETCH(QString, typed);
    QFETCH(QString, scientific);
    QFETCH(QString, plain);
    QLocale::setDefault(locale);
    f->writeStandardFiles();
    QVERIFY(f->start());

    QVERIFY(f->convert(category, fromUnit, toUnit, typed));
    QCOMPARE(f->output->text(), scientific);
    QCOMPARE(f->value->text(), typed);

    f->action("mnuOutputScientific")->trigger();
    QVERIFY(!f->action("mnuOutputScientific")->isChecked());
    QCOMPARE(f->output->text(), plain);
    f->action("mnuOutputScientific")->trigger();
    QVERIFY(f->action("mnuOutputScientific")->isChecked());
    QCOMPARE(f->output->text(), scientific);
}

void tst_frmConversion::conversionWithoutResult_data()
{
    QTest::addColumn<QString>("fromUnit");
    QTest::addColumn<QString>("toUnit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("enterIn");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<QString>("failure"); // the failure message's text, if any

    row("no from-unit", "", "", "5", "txtUserInput", "cboConvFrom", "");
    row("no to-unit", "Minutes", "", "5", "txtUserInput", "cboConvTo", "");
    row("empty value", "Minutes", "Hours", "", "cboConvFrom", "txtUserInput", "");
    row("failure", "Minutes", "Hours", "1E400", "txtUserInput", "txtUserInput", "Overflow");
}

// Enter that gives no result: the focus goes to the first missing input, or
// the failure is reported; the output box keeps what it showed.
void tst_frmConversion::conversionWithoutResult()
{
    QFETCH(QString, fromUnit);
    QFETCH(QString, toUnit);
    QFETCH(QString, typed);
    QFETCH(QString, enterIn);
    QFETCH(QString, focused);
    QFETCH(QString, failure);
    f->writeStandardFiles();
    QVERIFY(f->start());

    QVERIFY(choose(f->category, QStringLiteral("Time")));
    QTRY_COMPARE(focusName(), QStringLiteral("cboConvFrom"));
    if (!fromUnit.isEmpty()) {
        QVERIFY(choose(f->from, fromUnit));
        QTRY_COMPARE(focusName(), QStringLiteral("cboConvTo"));
    }
    if (!toUnit.isEmpty())
        QVERIFY(choose(f->to, toUnit));
    f->output->setText(QStringLiteral("before"));
    QVERIFY(focusOn(f->value));
    type(f->value, typed);
    QWidget *control = f->window->findChild<QWidget *>(enterIn);
    QVERIFY(focusOn(control));

    if (!failure.isEmpty())
        f->answerer.expectFailure(failure);
    pressEnter(control);
    QCOMPARE(f->answerer.pending(), 0);
    QTRY_COMPARE(focusName(), focused);
    QCOMPARE(f->output->text(), QStringLiteral("before"));
    if (failure.isEmpty())
        return;

    // The window goes on: choosing a to-unit converts the value typed now.
    QTest::keyClick(f->value, Qt::Key_A, Qt::ControlModifier);
    type(f->value, QStringLiteral("90"));
    QVERIFY(choose(f->to, QStringLiteral("Minutes")));
    QCOMPARE(f->output->text(), QStringLiteral("9.000000 e+1 "));
}

// ---------------------------------------------------------------------------
// Output menu

void tst_frmConversion::decimalsWhilePlain()
{
    f->writeStandardFiles();
    QVERIFY(f->start());
    QVERIFY(f->convert("Time", "Minutes", "Hours", "90"));

    f->action("mnuOutputScientific")->trigger();
    QCOMPARE(f->output->text(), QStringLiteral("1.5"));

    f->action("mnuOutput15")->trigger();
    QVERIFY(f->action("mnuOutput15")->isChecked());
    QVERIFY(!f->action("mnuOutput6")->isChecked());
    QVERIFY(!f->action("mnuOutputScientific")->isChecked());
    QCOMPARE(f->output->text(), QStringLiteral("1.5"));

    f->action("mnuOutputScientific")->trigger();
    QCOMPARE(f->output->text(), QStringLiteral("1.500000000000000 e+0 "));
}

void tst_frmConversion::decimalsItems_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("shown");

    row("3 decimals", "mnuOutput3", "1.500 e+0 ");
    row("6 decimals, the item already checked", "mnuOutput6", "1.500000 e+0 ");
    row("9 decimals", "mnuOutput9", "1.500000000 e+0 ");
    row("12 decimals", "mnuOutput12", "1.500000000000 e+0 ");
}

void tst_frmConversion::decimalsItems()
{
    QFETCH(QString, item);
    QFETCH(QString, shown);
    f->writeStandardFiles();
    QVERIFY(f->start());
    QVERIFY(f->convert("Time", "Minutes", "Hours", "90"));
    // Make the box show something else, so that a rewrite can be seen.
    f->output->setText(QStringLiteral("edited"));

    f->action(qPrintable(item))->trigger();
    QCOMPARE(f->output->text(), shown);
    const QStringList group { "mnuOutput3", "mnuOutput6", "mnuOutput9", "mnuOutput12",
        "mnuOutput15" };
    for (const QString &other : group) {
        const QAction *action = f->action(qPrintable(other));
        QCOMPARE(action->isChecked(), other == item);
        // A tick: a menu draws a radio bullet for an item of an exclusive group.
        QVERIFY(!action->actionGroup() || !action->actionGroup()->isExclusive());
    }
    QVERIFY(f->action("mnuOutputScientific")->isChecked());
}

void tst_frmConversion::outputCommandWithoutResult_data()
{
    QTest::addColumn<QString>("item");

    row("Scientific", "mnuOutputScientific");
    row("a decimals item", "mnuOutput15");
}

void tst_frmConversion::outputCommandWithoutResult()
{
    QFETCH(QString, item);
    f->writeStandardFiles();
    QVERIFY(f->start());
    // A conversion before the category is chosen again: its result must not
    // come back once the lists have been reloaded.
    QVERIFY(f->convert("Time", "Minutes", "Hours", "90"));
    QVERIFY(choose(f->category, QStringLiteral("Time")));
    QVERIFY(f->output->text().isEmpty());
    QVERIFY(choose(f->from, QStringLiteral("Minutes")));
    QVERIFY(choose(f->to, QStringLiteral("Hours")));
    QAction *action = f->action(qPrintable(item));
    const bool wasChecked = action->isChecked();

    action->trigger();
    QVERIFY(f->output->text().isEmpty());
    if (item == QLatin1String("mnuOutputScientific"))
        QCOMPARE(action->isChecked(), !wasChecked);
    else
        QVERIFY(action->isChecked());
}

// ---------------------------------------------------------------------------
// Category list

void tst_frmConversion::arrowKeysLoadEachCategory()
{
    f->writeStandardFiles();
    QVERIFY(f->start());
    QVERIFY(hasFocus(f->category));

    const QList<QPair<QString, QStringList>> steps {
        { "Length", { "Feet", "Inches", "Meters", "Miles" } },
        { "Time", { "Days", "Hours", "Minutes", "Seconds" } },
        { "Weight", { "Grams", "Kilograms", "Pounds" } },
    };
    for (const auto &[name, units] : steps) {
        QVERIFY(focusOn(f->category));
        QTest::keyClick(f->category, Qt::Key_Down);
        QCOMPARE(f->category->currentText(), name);
        QCOMPARE(entries(f->from), units);
        QCOMPARE(entries(f->to), units);
        QCOMPARE(f->window->UnitNames(), units);
        QCOMPARE(f->from->currentText(), QStringLiteral("Convert From"));
        QCOMPARE(f->to->currentText(), QStringLiteral("Convert To"));
    }
}

void tst_frmConversion::choosingCategoryResetsConversion()
{
    f->writeStandardFiles();
    QVERIFY(f->start());
    QVERIFY(f->convert("Time", "Minutes", "Hours", "90"));

    QVERIFY(choose(f->category, QStringLiteral("Weight")));
    QVERIFY(f->value->text().isEmpty());
    QVERIFY(f->output->text().isEmpty());
    QCOMPARE(f->from->currentText(), QStringLiteral("Convert From"));
    QCOMPARE(f->to->currentText(), QStringLiteral("Convert To"));
    QCOMPARE(f->from->currentIndex(), -1);
    QCOMPARE(f->to->currentIndex(), -1);
    QTRY_COMPARE(focusName(), QStringLiteral("cboConvFrom"));
}

void tst_frmConversion::typedCategoryNameLoadsNothing_data()
{
    QTest::addColumn<bool>("editMode");

    QTest::newRow("normal mode") << false;
    QTest::newRow("edit mode") << true;
}

void tst_frmConversion::typedCategoryNameLoadsNothing()
{
    QFETCH(bool, editMode);
    f->writeStandardFiles();
    QVERIFY(f->start());
    if (editMode)
        f->action("mnuFileEdit")->trigger();
    const QString fromText = f->from->currentText();

    QVERIFY(focusOn(f->category));
    QTest::keyClick(f->category, Qt::Key_A, Qt::ControlModifier);
    type(f->category, QStringLiteral("Time"));
    pressEnter(f->category);
    // Leaving the text field selects nothing either.
    QTest::keyClick(f->category, Qt::Key_Tab);
    QTRY_COMPARE(focusName(), QStringLiteral("cboConvFrom"));

    QCOMPARE(f->category->currentText(), QStringLiteral("Time"));
    QCOMPARE(f->from->count(), 0);
    QCOMPARE(f->to->count(), 0);
    QCOMPARE(f->from->currentText(), fromText);
    QCOMPARE(entries(f->category).count(QStringLiteral("Time")), 1);
    QCOMPARE(f->readFile(QStringLiteral("conversion.txt")), kStandardCategories);
}

// ---------------------------------------------------------------------------
// Unit lists and value box

void tst_frmConversion::unitListKeys_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("shown");

    const QString again = QStringLiteral("3.000000 e+0 ");
    const QString kept = QStringLiteral("1.500000 e+0 ");
    // Which keys give a character code is keyPressCode's table; here, what
    // each list does with a printable code, a control code, Enter, and a key
    // that gives none.
    row("to-list letter", "cboConvTo", int(Qt::Key_X), again);
    row("to-list Escape", "cboConvTo", int(Qt::Key_Escape), again);
    row("to-list Enter", "cboConvTo", int(Qt::Key_Return), again);
    row("to-list Tab", "cboConvTo", int(Qt::Key_Tab), kept);
    row("from-list letter", "cboConvFrom", int(Qt::Key_X), kept);
    row("from-list Enter", "cboConvFrom", int(Qt::Key_Return), again);
}

void tst_frmConversion::unitListKeys()
{
    QFETCH(QString, list);
    QFETCH(int, key);
    QFETCH(QString, shown);
    f->writeStandardFiles();
    QVERIFY(f->start());
    QVERIFY(f->convert("Time", "Minutes", "Hours", "90"));
    QCOMPARE(f->output->text(), QStringLiteral("1.500000 e+0 "));
    // A new value, typed but not entered: only a recalculation shows it.
    QTest::keyClick(f->value, Qt::Key_A, Qt::ControlModifier);
    type(f->value, QStringLiteral("180"));
    QCOMPARE(f->output->text(), QStringLiteral("1.500000 e+0 "));

    QComboBox *combo = list == QLatin1String("cboConvTo") ? f->to : f->from;
    QVERIFY(focusOn(combo));
    QTest::keyClick(combo, Qt::Key(key));
    QCOMPARE(f->output->text(), shown);
}

void tst_frmConversion::valueBoxSelectsAllOnFocus_data()
{
    QTest::addColumn<int>("reason"); // Tab and the mouse by real input
    QTest::addColumn<QString>("selected");

    QTest::newRow("Tab from the to-list") << int(Qt::TabFocusReason) << "90";
    QTest::newRow("mouse click") << int(Qt::MouseFocusReason) << "90";
    QTest::newRow("back from a menu") << int(Qt::PopupFocusReason) << "";
    QTest::newRow("back with the window") << int(Qt::ActiveWindowFocusReason) << "";
    QTest::newRow("back from the menu bar") << int(Qt::MenuBarFocusReason) << "";
}

void tst_frmConversion::valueBoxSelectsAllOnFocus()
{
    QFETCH(int, reason);
    QFETCH(QString, selected);
    f->writeStandardFiles();
    QVERIFY(f->start());
    QVERIFY(f->convert("Time", "Minutes", "Hours", "90"));
    QVERIFY(focusOn(f->to));
    QVERIFY(!hasFocus(f->value));

    if (reason == Qt::TabFocusReason)
        QTest::keyClick(f->to, Qt::Key_Tab);
    else if (reason == Qt::MouseFocusReason)
        QTest::mouseClick(f->value, Qt::LeftButton, {}, f->value->rect().center());
    else
        f->value->setFocus(Qt::FocusReason(reason));
    QTRY_VERIFY(hasFocus(f->value));
    QTest::qWait(20);
    QCOMPARE(f->value->selectedText(), selected);
    if (selected.isEmpty())
        return;

    // Typing replaces the whole value.
    type(f->value, QStringLiteral("180"));
    QCOMPARE(f->value->text(), QStringLiteral("180"));
    pressEnter(f->value);
    QCOMPARE(f->output->text(), QStringLiteral("3.000000 e+0 "));
}

void tst_frmConversion::tabFollowsTabOrder_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QStringList>("order"); // after the category list, by Tab

    row("normal layout, value typed, not entered", "typed",
        QStringList {
            "cboConvFrom", "cboConvTo", "txtUserInput", "txtCalcOut", "cboConversionType" });
    row("edit layout", "edit", QStringList { "cboConvFrom", "txtUserInput", "cboConversionType" });
}

void tst_frmConversion::tabFollowsTabOrder()
{
    QFETCH(QString, state);
    QFETCH(QStringList, order);
    f->writeStandardFiles();
    QVERIFY(f->start());
    if (state == QLatin1String("edit"))
        f->action("mnuFileEdit")->trigger();
    if (state == QLatin1String("typed")) {
        QVERIFY(choose(f->category, QStringLiteral("Time")));
        QVERIFY(choose(f->from, QStringLiteral("Minutes")));
        QVERIFY(choose(f->to, QStringLiteral("Hours")));
        QVERIFY(focusOn(f->value));
        type(f->value, QStringLiteral("90"));
    }
    const auto texts = [this] {
        return QStringList { f->category->currentText(), f->from->currentText(),
            f->to->currentText(), f->value->text(), f->output->text() };
    };
    const QStringList before = texts();

    QVERIFY(focusOn(f->category));
    for (const QString &next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(focusName(), next);
    }
    QStringList back = order;
    std::reverse(back.begin(), back.end());
    back.removeFirst();
    back.append(QStringLiteral("cboConversionType"));
    for (const QString &previous : back) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QTRY_COMPARE(focusName(), previous);
    }
    QCOMPARE(texts(), before);
}

// ---------------------------------------------------------------------------
// A file read in part

// What a file read only in part lists also converts.
void tst_frmConversion::partlyReadUnitFile()
{
    f->writeStandardFiles();
    f->writeFile(QStringLiteral("Time.txt"), "\"Days\",86400\r\n\"Hours\",3600\r\n\"Minutes\"\r\n");
    QVERIFY(f->start());

    f->answerer.expectFailure({ QStringLiteral("Input past end of file"),
        QDir::toNativeSeparators(f->path("Time.txt")), QStringLiteral("Line: 3") });
    QVERIFY(choose(f->category, QStringLiteral("Time")));
    QCOMPARE(f->answerer.pending(), 0);
    QCOMPARE(entries(f->from), (QStringList { "Days", "Hours" }));
    QCOMPARE(entries(f->to), (QStringList { "Days", "Hours" }));
    QVERIFY(choose(f->from, QStringLiteral("Days")));
    QVERIFY(choose(f->to, QStringLiteral("Hours")));
    QVERIFY(focusOn(f->value));
    type(f->value, QStringLiteral("1"));
    pressEnter(f->value);
    QCOMPARE(f->output->text(), QStringLiteral("2.400000 e+1 "));
}

// ---------------------------------------------------------------------------
// Layouts

void tst_frmConversion::editLayout()
{
    f->writeStandardFiles();
    QVERIFY(f->start());
    f->action("mnuFileEdit")->trigger();

    QVERIFY(f->action("mnuFileEdit")->isChecked());
    QVERIFY(!f->to->isVisible());
    QVERIFY(!f->output->isVisible());
    QVERIFY(f->note->isVisible());
    QCOMPARE(f->note->text(),
        QStringLiteral("Make sure the conversion value converts to the default value *"));
    QCOMPARE(entries(f->category), (QStringList { kMarker, "Length", "Time", "Weight" }));
    QCOMPARE(f->category->currentText(), QStringLiteral("Conversion"));
    QCOMPARE(f->from->currentText(), QStringLiteral("Convert From/To"));
    QCOMPARE(f->from->count(), 0);
    // The Output menu keeps its check marks.
    QVERIFY(f->action("mnuOutputScientific")->isChecked());
    QVERIFY(f->action("mnuOutput6")->isChecked());
}

void tst_frmConversion::editTwiceRestoresNormalLayout()
{
    f->writeStandardFiles();
    QVERIFY(f->start());
    QVERIFY(f->convert("Time", "Minutes", "Hours", "90"));

    f->action("mnuFileEdit")->trigger();
    // The list is read again from the file on each switch.
    f->writeFile(QStringLiteral("conversion.txt"), "\"Area\"\r\n\"Time\"\r\n");
    f->action("mnuFileEdit")->trigger();

    QVERIFY(!f->action("mnuFileEdit")->isChecked());
    QVERIFY(f->to->isVisible());
    QVERIFY(f->output->isVisible());
    QVERIFY(!f->note->isVisible());
    QCOMPARE(entries(f->category), (QStringList { "Area", "Time" }));
    QCOMPARE(f->category->currentText(), QStringLiteral("Conversion"));
    QCOMPARE(f->from->currentText(), QStringLiteral("Convert From"));
    QCOMPARE(f->to->currentText(), QStringLiteral("Convert To"));
    QCOMPARE(f->from->count(), 0);
    QCOMPARE(f->to->count(), 0);
    QVERIFY(f->value->text().isEmpty());
    QVERIFY(f->output->text().isEmpty());
    // The unit arrays keep the units loaded last.
    QCOMPARE(f->window->UnitNames(), (QStringList { "Days", "Hours", "Minutes", "Seconds" }));
}

// ---------------------------------------------------------------------------
// Lists filled in one step

void tst_frmConversion::categoryChoiceFillsListsUnselected()
{
    f->writeFile("Length.txt", "\"Feet\",0.3048\r\n\"Inches\",0.0254\r\n\"Meters\",1\r\n");
    QVERIFY(f->writeFile("conversion.txt", "\"Length\"\r\n") && f->load());
    const QStringList units = { "Feet", "Inches", "Meters" };

    // Twice: a second choice of the same category lists its units once.
    for (int round = 0; round < 2; ++round) {
        f->category->setCurrentIndex(0);
        Q_EMIT f->category->activated(0);
        QCOMPARE(entries(f->from), units);
        QCOMPARE(entries(f->to), units);
        QCOMPARE(f->window->UnitNames(), units);
        QCOMPARE(f->from->currentIndex(), -1);
        QCOMPARE(f->to->currentIndex(), -1);
        QCOMPARE(f->from->currentText(), QStringLiteral("Convert From"));
        QCOMPARE(f->to->currentText(), QStringLiteral("Convert To"));
    }
    // Entries filled in one step can be replaced one by one.
    f->from->setItemText(1, QStringLiteral("Yards"));
    QCOMPARE(f->from->itemText(1), QStringLiteral("Yards"));
    QCOMPARE(f->to->itemText(1), QStringLiteral("Inches"));
    QCOMPARE(f->window->UnitNames().at(1), QStringLiteral("Inches"));
}

void tst_frmConversion::loadingAgainAppendsToLists()
{
    f->writeFile("Time.txt", "\"Hours\",3600\r\n\"Minutes\",60\r\n");
    QVERIFY(f->writeFile("conversion.txt", "\"Time\"\r\n") && f->load());
    f->category->setCurrentIndex(0);
    f->window->LoadUnits();
    f->from->setCurrentIndex(1);
    f->window->LoadUnits();
    QCOMPARE(entries(f->from), (QStringList { "Hours", "Minutes", "Hours", "Minutes" }));
    QCOMPARE(f->from->currentIndex(), 1);
    QCOMPARE(f->window->UnitNames(), (QStringList { "Hours", "Minutes" }));
    QCOMPARE(f->window->UnitFactors(), (QList<double> { 3600, 60 }));
}

void tst_frmConversion::destroyingWindowWithTypedCategoryRunsNoHandler()
{
    f->writeFile("Time.txt", "\"Hours\",3600\r\n");
    QVERIFY(f->writeFile("conversion.txt", "\"Time\"\r\n") && f->load());
    f->window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f->window.get()));
    f->category->setFocus();
    f->category->setEditText(QStringLiteral("Time"));
    // The text field loses the focus while the window is destroyed.
    f->window.reset();
}

QTEST_MAIN(tst_frmConversion)
#include "tst_frmconversion.moc"
