// The Help menu's dialogs, seen from the main window (File > Exit is
// the end-to-end exit case's: the process ends with every window).

#include "support/row.h"
#include "support/widgets.h"

#include "ui/main/frmConversion.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

using namespace quorvel::test;

namespace {

// The visible windows of a class, the main window's dialogs included.
int visibleWindows(const char *className)
{
    int count = 0;
    for (const QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->inherits(className))
            ++count;
    }
    return count;
}

} // namespace

class tst_frmConversionMenus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void dialogOpensOnce_data();
    void dialogOpensOnce();
    // Ends the program's event loops, so it runs last.

private:
    std::unique_ptr<WindowDriver> f;
};

void tst_frmConversionMenus::init()
{
    QLocale::setDefault(QLocale::c());
    f = std::make_unique<WindowDriver>();
    QVERIFY(f->folderReady());
    f->writeStandardFiles();
    f->writeFile(QStringLiteral("help.txt"), "\"Choose a category, two units and a value.\"\r\n");
}

void tst_frmConversionMenus::cleanup()
{
    const QString problems = finish(f);
    QVERIFY2(problems.isEmpty(), qPrintable(problems));
}

void tst_frmConversionMenus::dialogOpensOnce_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("dialog");

    row("About", "mnuHelpAbout", "frmAbout");
    row("Help", "mnuHelpHelp", "frmHelp");
    row("Register", "mnuHelpRegister", "frmRegister");
}

void tst_frmConversionMenus::dialogOpensOnce()
{
    QFETCH(QString, item);
    QFETCH(QString, dialog);
    QVERIFY(f->start());
    QAction *action = f->action(qPrintable(item));
    QVERIFY(action);

    action->trigger();
    QTRY_COMPARE(visibleWindows(qPrintable(dialog)), 1);
    action->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(visibleWindows(qPrintable(dialog)), 1);

    // Not modal: the main window still converts.
    QVERIFY(f->convert("Time", "Minutes", "Hours", "90"));
    QCOMPARE(f->output->text(), QStringLiteral("1.500000 e+0 "));
}

QTEST_MAIN(tst_frmConversionMenus)
#include "tst_frmconversion_menus.moc"
