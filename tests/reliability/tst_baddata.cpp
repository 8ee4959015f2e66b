// Damaged data files in the real main window: a failed load is one message
// that names the kind, the file and, where one applies, the line, and the
// window goes on converting; no edit rewrites a file it could not read
// whole, or read only by skipping text, or one changed behind it.
#include "core/failure.h"
#include "store/datastore.h"
#include "support/row.h"
#include "support/widgets.h"
#include "ui/main/frmConversion.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

using namespace quorvel;
using namespace quorvel::test;
using Press = ModalAnswerer::Press;

namespace {

// The window showed the failure the row expects, with its kind, file and
// line, in one message; or nothing where kindText is empty.
void checkShown(const QStringList &messages, const QString &kindText, const QString &path, int line)
{
    if (kindText.isEmpty()) {
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("\n")));
        return;
    }
    QCOMPARE(messages.size(), 1);
    const QString &text = messages.first();
    QVERIFY2(text.startsWith("Quorvel\t" + kindText), qPrintable(text));
    QVERIFY2(text.contains(QDir::toNativeSeparators(path)), qPrintable(text));
    if (line > 0)
        QVERIFY2(text.contains(QString("Line: %1").arg(line)), qPrintable(text));
}

} // namespace

class TestBadData : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void badUnitFile_data();
    void badUnitFile();
    void badCategoryList_data();
    void badCategoryList();
    void editsAfterFailedLoad_data();
    void editsAfterFailedLoad();
    void editsAfterChangeBehind_data();
    void editsAfterChangeBehind();

private:
    std::unique_ptr<WindowDriver> f;
    QString m_folder;
};

void TestBadData::init()
{
    f = std::make_unique<WindowDriver>();
    m_folder = f->folder();
    QVERIFY(f->writeStandardFiles());
    f->answerer.keepFailures();
}

void TestBadData::cleanup()
{
    QCOMPARE(finish(f), QString());
}

// The store's table of bad files has every kind; the window shows the
// failure of a load and goes on (a failure with a line, and the units read
// before it, converting: tst_frmconversion's partlyReadUnitFile).
void TestBadData::badUnitFile_data()
{
    QTest::addColumn<QString>("recipe");
    QTest::addColumn<QString>("kindText"); // empty: loads
    QTest::addColumn<int>("units"); // listed, also those read before a failure
    QTest::addColumn<int>("line"); // of the failure; 0: none named

    row("listed category without unit file", "missing", "File not found", 0, 0);
    row("NUL byte in a name", "NUL byte", QString(), 2, 0);
}

void TestBadData::badUnitFile()
{
    QFETCH(QString, recipe);
    QFETCH(QString, kindText);
    QFETCH(int, units);
    QFETCH(int, line);

    QVERIFY(put(m_folder + "/conversion.txt", kStandardCategories + "\"Bad\"\r\n"));
    const QString path = m_folder + "/Bad.txt";
    QVERIFY(makeBadFile(recipe, path, true));
    QVERIFY(f->start());
    QVERIFY(choose(f->category, "Bad"));
    checkShown(f->answerer.takeMessages(), kindText, path, line);
    QCOMPARE(f->from->count(), units);
    QCOMPARE(f->window->UnitNames().size(), units);
    // And the window goes on: another category loads and converts.
    QVERIFY(f->convert("Length", "Inches", "Feet", "12"));
    QCOMPARE(f->output->text(), QString("1.000000 e+0 "));
    QVERIFY(f->answerer.takeMessages().isEmpty());
}

void TestBadData::badCategoryList_data()
{
    QTest::addColumn<QString>("recipe");
    QTest::addColumn<QString>("kindText");
    QTest::addColumn<int>("categories");
    QTest::addColumn<int>("line");

    row("32768 records", "32768 records", "Overflow", 32768, 32768);
    row("category list missing", "missing", "File not found", 0, 0);
}

void TestBadData::badCategoryList()
{
    QFETCH(QString, recipe);
    QFETCH(QString, kindText);
    QFETCH(int, categories);
    QFETCH(int, line);

    const QString path = m_folder + "/conversion.txt";
    QVERIFY(QFile::remove(path));
    QVERIFY(makeBadFile(recipe, path, false));

    // The window reports it at start-up and stays usable: once the list
    // file is put right, switching edit mode on and off lists it again.
    QVERIFY(f->start());
    checkShown(f->answerer.takeMessages(), kindText, path, line);
    QCOMPARE(f->category->count(), categories);
    QFile::remove(path);
    QVERIFY(put(path, kStandardCategories));
    f->setEditMode(true);
    f->setEditMode(false);
    QCOMPARE(entries(f->category), QStringList({ "Length", "Time", "Weight" }));
    QVERIFY(f->convert("Length", "Inches", "Feet", "12"));
    QCOMPARE(f->output->text(), QString("1.000000 e+0 "));
    QVERIFY(f->answerer.takeMessages().isEmpty());
}

void TestBadData::editsAfterFailedLoad_data()
{
    QTest::addColumn<bool>("unitFile"); // else the category list
    QTest::addColumn<QString>("recipe");
    QTest::addColumn<bool>("wholeFirst"); // a load that reads it whole comes first

    for (const char *recipe : { "missing", "directory", "100 MB file", "32768 records",
             "missing factor at the end", "unreadable", "text after a closing quote" }) {
        // A category list ends inside no record: an open quote runs to its end.
        if (QByteArray(recipe) != "missing factor at the end")
            QTest::addRow("category list: %s", recipe) << false << recipe << false;
        QTest::addRow("unit file: %s", recipe) << true << recipe << false;
    }
    QTest::newRow("unit file: reloaded after it broke")
        << true << "missing factor at the end" << true;
}

// No edit rewrites a file whose last load failed, or read it only by
// skipping text: after the load, every
// edit that would write it (a new category or a deletion for the category
// list; a unit added by Enter in either box or by choosing an entry for a
// unit file) is refused, and the folder stays as it was, byte for byte.
void TestBadData::editsAfterFailedLoad()
{
    QFETCH(bool, unitFile);
    QFETCH(QString, recipe);
    QFETCH(bool, wholeFirst);
    QVERIFY(put(m_folder + "/conversion.txt", kStandardCategories + "\"Bad\"\r\n"));
    QVERIFY(put(m_folder + "/Bad.txt", "\"Feet\",0.3048\r\n"));
    const QString path = m_folder + (unitFile ? "/Bad.txt" : "/conversion.txt");

    QVERIFY(f->start());
    f->setEditMode(true);
    if (wholeFirst) {
        f->answerer.expectDeleteQuestion(Press::No);
        QVERIFY(choose(f->category, "Bad"));
    }
    QVERIFY(QFile::remove(path));
    QVERIFY(makeBadFile(recipe, path, unitFile));
    // Edit mode again: the category list is loaded anew.
    f->setEditMode(false);
    f->setEditMode(true);
    f->answerer.takeMessages();
    const Snapshot before = snapshot(m_folder);
    int refusals = 0;

    if (unitFile) {
        f->answerer.expectDeleteQuestion(Press::No);
        QVERIFY(choose(f->category, "Bad"));
        QCOMPARE(f->answerer.takeMessages().size(), 1);
        f->typeUnit("Zeta", "5");
        pressEnter(f->value);
        f->typeUnit("Zeta", "5");
        pressEnter(f->from);
        refusals = 2;
        if (choose(f->from, 0)) // with a factor typed: stores that unit again
            ++refusals;
    } else {
        QVERIFY(!entries(f->category).contains(kMarker));
        if (f->category->count() > 0) {
            f->answerer.expectDeleteQuestion(Press::Enter);
            QVERIFY(choose(f->category, 0));
            ++refusals;
        }
    }
    const QStringList messages = f->answerer.takeMessages();
    QCOMPARE(messages.size(), refusals);
    for (const QString &message : messages) {
        QVERIFY2(message.startsWith("Quorvel\tNot possible"), qPrintable(message));
        QVERIFY2(message.contains(QDir::toNativeSeparators(path)), qPrintable(message));
    }
    QCOMPARE(describe(snapshot(m_folder)), describe(before));
}

void TestBadData::editsAfterChangeBehind_data()
{
    QTest::addColumn<QString>("edit");
    QTest::newRow("unit added") << "unit";
    QTest::newRow("category deleted") << "delete";
    QTest::newRow("category added") << "new";
}

// A data file written by another program (or a second Quorvel) after the
// window read it is not overwritten: one refusal, the folder as it was.
void TestBadData::editsAfterChangeBehind()
{
    QFETCH(QString, edit);
    const bool unit = edit == "unit";
    const QString path = m_folder + (unit ? "/Time.txt" : "/conversion.txt");
    QVERIFY(f->start());
    f->setEditMode(true);
    if (unit) {
        f->answerer.expectDeleteQuestion(Press::No);
        QVERIFY(choose(f->category, "Time"));
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write(unit ? "\"Weeks\",604800\r\n" : "\"Speed\"\r\n");
    file.close();
    const Snapshot before = snapshot(m_folder);
    if (unit) {
        f->typeUnit("Fortnights", "1209600");
        pressEnter(f->value);
    } else if (edit == "delete") {
        f->answerer.expectDeleteQuestion(Press::Enter);
        QVERIFY(choose(f->category, "Weight"));
    } else {
        f->answerer.expectNewCategory("Volume");
        QVERIFY(choose(f->category, kMarker));
    }
    const QStringList messages = f->answerer.takeMessages();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().startsWith("Quorvel\tNot possible"), qPrintable(messages.first()));
    QVERIFY2(messages.first().contains("changed by another program"), qPrintable(messages.first()));
    // The advice is how to read that file again.
    QVERIFY2(messages.first().contains(unit ? "Choose the category again" : "Switch File > Edit"),
        qPrintable(messages.first()));
    QCOMPARE(describe(snapshot(m_folder)), describe(before));
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestBadData test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_baddata.moc"
