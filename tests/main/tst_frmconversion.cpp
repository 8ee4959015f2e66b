// The main window in normal mode: start-up, conversions, focus, the Output
// menu, key handling, failures and the switch of layouts.

#include "support/row.h"
#include "support/widgets.h"

#include "ui/main/frmConversion.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QWheelEvent>

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
    void focusMovesToMissingInput_data();
    void focusMovesToMissingInput();
    void emptyValueKeepsOutput();
    void typedValues_data();
    void typedValues();
    void commaLocale_data();
    void commaLocale();

    void decimalsWhilePlain();
    void decimalsItems_data();
    void decimalsItems();
    void checkedDecimalsItemStaysChecked();
    void scientificTwiceRestoresText();
    void outputCommandWithoutResult_data();
    void outputCommandWithoutResult();

    void arithmeticFailures_data();
    void arithmeticFailures();
    void failedMultiplicationLeavesNoResult();

    void arrowKeysLoadEachCategory();
    void choosingAgainListsOnlyThatCategory();
    void choosingCategoryResetsConversion();
    void typedCategoryNameLoadsNothing_data();
    void typedCategoryNameLoadsNothing();
    void unitListKeys_data();
    void unitListKeys();
    void valueBoxSelectsAllOnFocus_data();
    void valueBoxSelectsAllOnFocus();
    void tabFollowsTabOrder_data();
    void tabFollowsTabOrder();
    void wheelOverUnfocusedList_data();
    void wheelOverUnfocusedList();

    void missingUnitFile();
    void partlyReadUnitFile();
    void missingCategoryFile();

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
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("fromUnit");
    QTest::addColumn<QString>("toUnit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("scientific");
    QTest::addColumn<QString>("plain");

    row("90 minutes to hours", "Time", "Minutes", "Hours", "90", "1.500000 e+0 ", "1.5");
    row("12 inches to feet rounds to one", "Length", "Inches", "Feet", "12", "1.000000 e+0 ", "1");
    row("days to seconds", "Time", "Days", "Seconds", "2", "1.728000 e+5 ", "172800");
    row("small result, negative exponent", "Time", "Seconds", "Days", "1", "1.157407 e-5 ",
        "1.15740740740741E-05");
    row("negative value", "Weight", "Kilograms", "Grams", "-2.5", "-2.500000 e+3 ", "-2500");
}

void tst_frmConversion::conversion()
{
    QFETCH(QString, category);
    QFETCH(QString, fromUnit);
    QFETCH(QString, toUnit);
    QFETCH(QString, typed);
    QFETCH(QString, scientific);
    QFETCH(QString, plain);
    f->writeStandardFiles();
    QVERIFY(f->start());

    QVERIFY(f->convert(category, fromUnit, toUnit, typed));
    QCOMPARE(f->output->text(), scientific);
    QCOMPARE(f->value->text(), typed);

    f->action("mnuOutputScientific")->trigger();
    QVERIFY(!f->action("mnuOutputScientific")->isChecked());
    QCOMPARE(f->output->text(), plain);
}

void tst_frmConversion::focusMovesToMissingInput_data()
{
    QTest::addColumn<QString>("fromUnit");
    QTest::addColumn<QString>("toUnit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("focused");

    row("no from-unit", "", "", "5", "cboConvFrom");
    row("no from-unit, to-unit chosen", "", "Hours", "5", "cboConvFrom");
    row("no to-unit", "Minutes", "", "5", "cboConvTo");
    row("empty value", "Minutes", "Hours", "", "txtUserInput");
}

void tst_frmConversion::focusMovesToMissingInput()
{
    QFETCH(QString, fromUnit);
    QFETCH(QString, toUnit);
    QFETCH(QString, typed);
    QFETCH(QString, focused);
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
    QVERIFY(focusOn(f->value));
    type(f->value, typed);
    pressEnter(f->value);

    QTRY_COMPARE(focusName(), focused);
    QVERIFY(f->output->text().isEmpty());
}

void tst_frmConversion::emptyValueKeepsOutput()
{
    f->writeStandardFiles();
    QVERIFY(f->start());
    QVERIFY(f->convert("Time", "Minutes", "Hours", "90"));
    QCOMPARE(f->output->text(), QStringLiteral("1.500000 e+0 "));

    QTest::keyClick(f->value, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(f->value, Qt::Key_Backspace);
    QVERIFY(f->value->text().isEmpty());
    QVERIFY(focusOn(f->from));
    pressEnter(f->from);

    QTRY_COMPARE(focusName(), QStringLiteral("txtUserInput"));
    QCOMPARE(f->output->text(), QStringLiteral("1.500000 e+0 "));
}

void tst_frmConversion::typedValues_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("scientific");
    QTest::addColumn<QString>("plain");

    row("comma ends the number", "1,5", "1.000000 e+0 ", "1");
    row("leading point", ".5", "5.000000 e-1 ", "0.5");
    row("exponent letter D", "1.5D3", "1.500000 e+3 ", "1500");
    row("exponent letter e", "1.5e3", "1.500000 e+3 ", "1500");
    row("hexadecimal FF", "&HFF", "2.550000 e+2 ", "255");
    row("hexadecimal FFFF is 16-bit", "&HFFFF", "-1.000000 e+0 ", "-1");
    row("minus, blank, five", "- 5", "-5.000000 e+0 ", "-5");
    row("trailing letters", "12abc", "1.200000 e+1 ", "12");
    row("a single blank", " ", "0.000000 e+0 ", "0");
    row("letters alone", "abc", "0.000000 e+0 ", "0");
}

void tst_frmConversion::typedValues()
{
    QFETCH(QString, typed);
    QFETCH(QString, scientific);
    QFETCH(QString, plain);
    f->writeStandardFiles();
    QVERIFY(f->start());

    QVERIFY(f->convert("Length", "Meters", "Meters", typed));
    QCOMPARE(f->value->text(), typed);
    QCOMPARE(f->output->text(), scientific);
    f->action("mnuOutputScientific")->trigger();
    QCOMPARE(f->output->text(), plain);
}

void tst_frmConversion::commaLocale_data()
{
    QTest::addColumn<QString>("fromUnit");
    QTest::addColumn<QString>("toUnit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("scientific");
    QTest::addColumn<QString>("plain");

    row("fraction", "Meters", "Meters", "1234.5678", "1,234568 e+3 ", "1234,5678");
    row("typed point is still the separator", "Meters", "Meters", "2.5", "2,500000 e+0 ", "2,5");
    row("typed comma still ends the number", "Meters", "Meters", "2,5", "2,000000 e+0 ", "2");
    row("negative exponent", "Meters", "Meters", "-0.000123456", "-1,234560 e-4 ", "-0,000123456");
}

void tst_frmConversion::commaLocale()
{
    QFETCH(QString, fromUnit);
    QFETCH(QString, toUnit);
    QFETCH(QString, typed);
    QFETCH(QString, scientific);
    QFETCH(QString, plain);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    f->writeStandardFiles();
    QVERIFY(f->start());

    QVERIFY(f->convert("Length", fromUnit, toUnit, typed));
    QCOMPARE(f->output->text(), scientific);
    f->action("mnuOutputScientific")->trigger();
    QCOMPARE(f->output->text(), plain);

    // The data files are read with "." whatever the locale.
    QVERIFY(f->convert("Time", "Minutes", "Hours", "90"));
    QCOMPARE(f->output->text(), QStringLiteral("1,5"));
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

    row("3 decimals rounds with carry", "mnuOutput3", "1.000 e+1 ");
    row("6 decimals", "mnuOutput6", "9.999600 e+0 ");
    row("9 decimals", "mnuOutput9", "9.999600000 e+0 ");
    row("12 decimals", "mnuOutput12", "9.999600000000 e+0 ");
}

void tst_frmConversion::decimalsItems()
{
    QFETCH(QString, item);
    QFETCH(QString, shown);
    f->writeStandardFiles();
    QVERIFY(f->start());
    QVERIFY(f->convert("Length", "Meters", "Meters", "9.9996"));

    f->action(qPrintable(item))->trigger();
    QCOMPARE(f->output->text(), shown);
    const QStringList group { "mnuOutput3", "mnuOutput6", "mnuOutput9", "mnuOutput12",
        "mnuOutput15" };
    for (const QString &other : group)
        QCOMPARE(f->action(qPrintable(other))->isChecked(), other == item);
    QVERIFY(f->action("mnuOutputScientific")->isChecked());
}

void tst_frmConversion::checkedDecimalsItemStaysChecked()
{
    f->writeStandardFiles();
    QVERIFY(f->start());
    QVERIFY(f->convert("Time", "Minutes", "Hours", "90"));
    // Make the box show something else, so that a rewrite can be seen.
    f->output->setText(QStringLiteral("edited"));

    f->action("mnuOutput6")->trigger();
    QVERIFY(f->action("mnuOutput6")->isChecked());
    QCOMPARE(f->output->text(), QStringLiteral("1.500000 e+0 "));
}

void tst_frmConversion::scientificTwiceRestoresText()
{
    f->writeStandardFiles();
    QVERIFY(f->start());
    QVERIFY(f->convert("Length", "Inches", "Feet", "12"));
    const QString first = f->output->text();

    f->action("mnuOutputScientific")->trigger();
    QCOMPARE(f->output->text(), QStringLiteral("1"));
    f->action("mnuOutputScientific")->trigger();
    QCOMPARE(f->output->text(), first);
    QVERIFY(f->action("mnuOutputScientific")->isChecked());
}

void tst_frmConversion::outputCommandWithoutResult_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("unitsChosen");

    for (const char *item : { "mnuOutputScientific", "mnuOutput3", "mnuOutput15" }) {
        QTest::addRow("%s, no unit chosen", item) << item << false;
        QTest::addRow("%s, units chosen but nothing converted", item) << item << true;
    }
}

void tst_frmConversion::outputCommandWithoutResult()
{
    QFETCH(QString, item);
    QFETCH(bool, unitsChosen);
    f->writeStandardFiles();
    QVERIFY(f->start());
    // A conversion before the category is chosen again: its result must not
    // come back once the lists have been reloaded.
    QVERIFY(f->convert("Time", "Minutes", "Hours", "90"));
    QVERIFY(choose(f->category, QStringLiteral("Time")));
    QVERIFY(f->output->text().isEmpty());
    if (unitsChosen) {
        QVERIFY(choose(f->from, QStringLiteral("Minutes")));
        QVERIFY(choose(f->to, QStringLiteral("Hours")));
    }
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
// Failures of the calculation

void tst_frmConversion::arithmeticFailures_data()
{
    QTest::addColumn<QString>("fromUnit");
    QTest::addColumn<QString>("toUnit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kind");

    row("to-factor zero, value not zero", "One", "Zero", "5", "Division by zero");
    row("to-factor zero, value zero", "One", "Zero", "0", "Overflow");
    row("product beyond the double range", "Big", "Big", "1E300", "Overflow");
    row("value beyond the double range", "One", "One", "1E400", "Overflow");
    row("quotient beyond the double range", "One", "Tiny", "1E300", "Overflow");
}

void tst_frmConversion::arithmeticFailures()
{
    QFETCH(QString, fromUnit);
    QFETCH(QString, toUnit);
    QFETCH(QString, typed);
    QFETCH(QString, kind);
    f->writeFile(QStringLiteral("conversion.txt"), "\"Odd\"\r\n");
    f->writeFile(QStringLiteral("Odd.txt"),
        "\"Big\",1E+10\r\n\"One\",1\r\n\"Tiny\",1E-10\r\n\"Zero\",0\r\n");
    QVERIFY(f->start());
    QVERIFY(choose(f->category, QStringLiteral("Odd")));
    QVERIFY(choose(f->from, fromUnit));
    QVERIFY(choose(f->to, toUnit));
    QVERIFY(focusOn(f->output));
    type(f->output, QStringLiteral("before"));
    QVERIFY(focusOn(f->value));
    type(f->value, typed);

    f->answerer.expectFailure(kind);
    pressEnter(f->value);
    QCOMPARE(f->answerer.pending(), 0);
    QCOMPARE(f->output->text(), QStringLiteral("before"));

    // The window goes on: a sound conversion works.
    QVERIFY(focusOn(f->value));
    QTest::keyClick(f->value, Qt::Key_A, Qt::ControlModifier);
    type(f->value, QStringLiteral("3"));
    QVERIFY(choose(f->to, QStringLiteral("One")));
    QVERIFY(f->output->text().startsWith(QLatin1String("3.000000 e+")));
}

void tst_frmConversion::failedMultiplicationLeavesNoResult()
{
    f->writeFile(QStringLiteral("conversion.txt"), "\"Odd\"\r\n");
    f->writeFile(QStringLiteral("Odd.txt"), "\"Big\",1E+10\r\n\"One\",1\r\n");
    QVERIFY(f->start());
    QVERIFY(f->convert("Odd", "Big", "Big", "7"));
    QCOMPARE(f->output->text(), QStringLiteral("7.000000 e+0 "));

    QTest::keyClick(f->value, Qt::Key_A, Qt::ControlModifier);
    type(f->value, QStringLiteral("1E300"));
    f->answerer.expectFailure(QStringLiteral("Overflow"));
    pressEnter(f->value);
    QCOMPARE(f->answerer.pending(), 0);
    QCOMPARE(f->output->text(), QStringLiteral("7.000000 e+0 "));

    // The 7 of the earlier conversion is no result of the value now typed.
    f->action("mnuOutputScientific")->trigger();
    QCOMPARE(f->output->text(), QStringLiteral("7.000000 e+0 "));
    f->action("mnuOutput3")->trigger();
    QCOMPARE(f->output->text(), QStringLiteral("7.000000 e+0 "));
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

void tst_frmConversion::choosingAgainListsOnlyThatCategory()
{
    f->writeStandardFiles();
    QVERIFY(f->start());
    QVERIFY(choose(f->category, QStringLiteral("Time")));
    QVERIFY(choose(f->category, QStringLiteral("Length")));
    QVERIFY(choose(f->category, QStringLiteral("Time")));

    const QStringList time { "Days", "Hours", "Minutes", "Seconds" };
    QCOMPARE(entries(f->from), time);
    QCOMPARE(entries(f->to), time);
    QCOMPARE(f->window->UnitNames(), time);
    QCOMPARE(f->window->UnitFactors(), (QList<double> { 86400, 3600, 60, 1 }));
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
    QTest::newRow("to-list letter") << "cboConvTo" << int(Qt::Key_X) << again;
    QTest::newRow("to-list digit") << "cboConvTo" << int(Qt::Key_7) << again;
    QTest::newRow("to-list Backspace") << "cboConvTo" << int(Qt::Key_Backspace) << again;
    QTest::newRow("to-list Escape") << "cboConvTo" << int(Qt::Key_Escape) << again;
    QTest::newRow("to-list Enter") << "cboConvTo" << int(Qt::Key_Return) << again;
    QTest::newRow("to-list Tab") << "cboConvTo" << int(Qt::Key_Tab) << kept;
    QTest::newRow("from-list letter") << "cboConvFrom" << int(Qt::Key_X) << kept;
    QTest::newRow("from-list Backspace") << "cboConvFrom" << int(Qt::Key_Backspace) << kept;
    QTest::newRow("from-list Escape") << "cboConvFrom" << int(Qt::Key_Escape) << kept;
    QTest::newRow("from-list Enter") << "cboConvFrom" << int(Qt::Key_Return) << again;
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

    const QStringList normal { "cboConvFrom", "cboConvTo", "txtUserInput", "txtCalcOut",
        "cboConversionType" };
    QTest::newRow("nothing chosen") << "start" << normal;
    QTest::newRow("units chosen, no value") << "units" << normal;
    QTest::newRow("value typed, not entered") << "typed" << normal;
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
    if (state == QLatin1String("units") || state == QLatin1String("typed")) {
        QVERIFY(choose(f->category, QStringLiteral("Time")));
        QVERIFY(choose(f->from, QStringLiteral("Minutes")));
        QVERIFY(choose(f->to, QStringLiteral("Hours")));
    }
    if (state == QLatin1String("typed")) {
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

void tst_frmConversion::wheelOverUnfocusedList_data()
{
    QTest::addColumn<bool>("editMode");
    QTest::addColumn<QString>("list");

    QTest::newRow("category list, edit mode") << true << "cboConversionType";
    QTest::newRow("from-list, edit mode, factor typed") << true << "cboConvFrom";
    QTest::newRow("to-list, normal mode") << false << "cboConvTo";
}

void tst_frmConversion::wheelOverUnfocusedList()
{
    QFETCH(bool, editMode);
    QFETCH(QString, list);
    f->writeStandardFiles();
    QVERIFY(f->start());
    if (editMode) {
        f->action("mnuFileEdit")->trigger();
        f->answerer.expectDeleteQuestion(ModalAnswerer::Press::No);
    }
    QVERIFY(choose(f->category, QStringLiteral("Time")));
    QVERIFY(focusOn(f->value));
    type(f->value, QStringLiteral("5"));
    const Snapshot files = f->folderSnapshot();
    auto *combo = f->window->findChild<QComboBox *>(list);
    const int index = combo->currentIndex();

    for (const int notches : { -1, -1, 1 }) {
        // A real wheel first gives the focus to a control that takes it so.
        if ((combo->focusPolicy() & Qt::WheelFocus) == Qt::WheelFocus)
            combo->setFocus(Qt::MouseFocusReason);
        const QPointF inside = combo->rect().center();
        QWheelEvent wheel(inside, combo->mapToGlobal(inside), {}, { 0, notches * 120 },
            Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &wheel);
    }
    QCOMPARE(combo->currentIndex(), index);
    QCOMPARE(f->folderSnapshot(), files);
    QCOMPARE(f->answerer.pending(), 0);
    QVERIFY(hasFocus(f->value));
}

// ---------------------------------------------------------------------------
// Missing files

void tst_frmConversion::missingUnitFile()
{
    f->writeFile(QStringLiteral("conversion.txt"), "\"Ghost\"\r\n\"Time\"\r\n");
    f->writeFile(QStringLiteral("Time.txt"), kTimeUnits);
    QVERIFY(f->start());

    f->answerer.expectFailure(
        { QStringLiteral("File not found"), QDir::toNativeSeparators(f->path("Ghost.txt")) });
    QVERIFY(choose(f->category, QStringLiteral("Ghost")));
    QCOMPARE(f->answerer.pending(), 0);
    QCOMPARE(f->from->count(), 0);

    QVERIFY(f->convert("Time", "Minutes", "Hours", "90"));
    QCOMPARE(f->output->text(), QStringLiteral("1.500000 e+0 "));
}

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

void tst_frmConversion::missingCategoryFile()
{
    f->answerer.expectFailure(
        { QStringLiteral("File not found"), QStringLiteral("conversion.txt") });
    QVERIFY(f->start());
    QCOMPARE(f->answerer.pending(), 0);
    QCOMPARE(f->window->windowTitle(), QStringLiteral("Quorvel"));
    QCOMPARE(f->category->count(), 0);
    QCOMPARE(f->category->currentText(), QStringLiteral("Conversion"));

    // File > Edit still switches and reports the file again, but offers no
    // new category: the list it would write was not read.
    f->answerer.expectFailure(
        { QStringLiteral("File not found"), QStringLiteral("conversion.txt") });
    f->action("mnuFileEdit")->trigger();
    QCOMPARE(f->answerer.pending(), 0);
    QVERIFY(f->action("mnuFileEdit")->isChecked());
    QVERIFY(f->note->isVisible());
    QCOMPARE(f->category->count(), 0);
    QVERIFY(!f->exists(QStringLiteral("conversion.txt")));
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

    // The tab order skips the hidden bottom row.
    QVERIFY(focusOn(f->category));
    QTest::keyClick(f->category, Qt::Key_Tab);
    QTRY_COMPARE(focusName(), QStringLiteral("cboConvFrom"));
    QTest::keyClick(f->from, Qt::Key_Tab);
    QTRY_COMPARE(focusName(), QStringLiteral("txtUserInput"));
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
