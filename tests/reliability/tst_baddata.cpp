// Damaged and hostile data files, read through the store and through the
// real main window: each loads or fails with a message that names the kind,
// the file and, where one applies, the line; memory stays bounded; and the
// window goes on converting afterwards.
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
#include <QRandomGenerator>
#include <QTest>

#include <sys/resource.h>

using namespace quorvel;
using namespace quorvel::test;
using Press = ModalAnswerer::Press;

namespace {

// Peak resident memory of this process so far, in MiB.
qint64 peakMiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Makes the file at path as the recipe says; false when it cannot.
bool make(const QString &recipe, const QString &path, bool units)
{
    if (recipe == "binary garbage") {
        QRandomGenerator random(42);
        QByteArray bytes(4096, Qt::Uninitialized);
        for (char &c : bytes)
            c = char(random.bounded(256));
        return put(path, bytes);
    }
    if (recipe == "NUL byte")
        return put(path,
            units ? QByteArray("\"Me\0ters\",1\r\n\"Feet\",0.3048\r\n", 28)
                  : QByteArray("\"Len\0gth\"\r\n\"Time\"\r\n", 19));
    if (recipe == "100 MB file") {
        // Sparse: the size is what counts, not the blocks.
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write("\"A\",1\r\n") == 7
            && file.resize(100 * 1000 * 1000);
    }
    if (recipe == "10 MB line")
        return put(path, '"' + QByteArray(10 * 1000 * 1000, 'x') + (units ? "\",1\r\n" : "\"\r\n"));
    if (recipe == "unterminated quote")
        return put(path, units ? "\"Feet\",0.3048\r\n\"Inches,0.0254\r\n" : "\"Length\"\r\n\"Ti");
    if (recipe == "text after a closing quote")
        return put(
            path, units ? "\"Feet\" old,0.3048\r\n" : kStandardCategories + "\"Bad\" old\r\n");
    if (recipe == "missing factor at the end")
        return put(path, "\"Feet\",0.3048\r\n\"Inches\"\r\n");
    if (recipe == "32767 records")
        return put(path, units ? unitFileBytes(32767) : categoryFileBytes(32767));
    if (recipe == "32768 records")
        return put(path, units ? unitFileBytes(32768) : categoryFileBytes(32768));
    if (recipe == "directory")
        return QDir().mkdir(path) && put(path + "/inside.txt", "\"x\",1\r\n");
    if (recipe == "missing")
        return !QFile::exists(path) || QFile::remove(path);
    if (recipe == "linked to an endless device")
        return QFile::link("/dev/zero", path);
    // Reading a process's memory at offset 0 fails with EIO, for root too.
    if (recipe == "unreadable")
        return QFile::link("/proc/self/mem", path);
    if (recipe == "leftover temporary file") {
        return put(path, units ? "\"Feet\",0.3048\r\n" : kStandardCategories + "\"Bad\"\r\n")
            && put(path + ".AbC123", "\"Broken\",\r\n\"");
    }
    return false;
}

// The failure a load met, as the row expects it: kindText empty for none,
// "*" for none or one of the failures of reading.
void checkFailure(
    const std::optional<Failure> &failure, const QString &kindText, const QString &path, int line)
{
    if (kindText == "*") {
        if (failure) {
            QVERIFY2(failure->kind() == FailureKind::InputPastEndOfFile
                    || failure->kind() == FailureKind::Overflow,
                qPrintable(failure->message()));
            QCOMPARE(failure->path(), path);
            QVERIFY(failure->line() > 0);
        }
    } else if (kindText.isEmpty()) {
        QVERIFY2(!failure, qPrintable(failure ? failure->message() : QString()));
    } else {
        QVERIFY2(failure, "the read did not fail");
        QCOMPARE(failure->kindText(), kindText);
        QCOMPARE(failure->path(), path);
        QCOMPARE(failure->line(), line);
    }
}

// The window showed that failure with its kind, file and line, or nothing.
void checkShown(
    const QStringList &messages, const std::optional<Failure> &failure, const QString &path)
{
    if (!failure) {
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("\n")));
        return;
    }
    QCOMPARE(messages.size(), 1);
    const QString &text = messages.first();
    QVERIFY2(text.startsWith("Quorvel\t" + failure->kindText()), qPrintable(text));
    QVERIFY2(text.contains(QDir::toNativeSeparators(path)), qPrintable(text));
    if (failure->line() > 0)
        QVERIFY2(text.contains(QString("Line: %1").arg(failure->line())), qPrintable(text));
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

void TestBadData::badUnitFile_data()
{
    QTest::addColumn<QString>("recipe");
    QTest::addColumn<QString>("kindText"); // empty: loads; "*": loads or fails reading
    QTest::addColumn<int>("units"); // listed, also those read before a failure
    QTest::addColumn<int>("line"); // of the failure; 0: none named

    row("100 MB file", "100 MB file", "File too large", 0, 0);
    row("linked to an endless device", "linked to an endless device", "Path/File access error", 0,
        0);
    row("binary garbage", "binary garbage", "*", -1, -1);
    row("NUL byte in a name", "NUL byte", QString(), 2, 0);
    row("10 MB line", "10 MB line", QString(), 1, 0);
    row("unterminated quote", "unterminated quote", "Input past end of file", 1, 2);
    row("missing factor at the end", "missing factor at the end", "Input past end of file", 1, 2);
    row("32767 records", "32767 records", QString(), 32767, 0);
    row("32768 records", "32768 records", "Overflow", 32768, 32768);
    row("unit file is a directory", "directory", "Path/File access error", 0, 0);
    row("listed category without unit file", "missing", "File not found", 0, 0);
    row("unreadable", "unreadable", "Device I/O error", 0, 0);
    row("leftover temporary file beside it", "leftover temporary file", QString(), 1, 0);
}

void TestBadData::badUnitFile()
{
    QFETCH(QString, recipe);
    QFETCH(QString, kindText);
    QFETCH(int, units);
    QFETCH(int, line);

    QVERIFY(put(m_folder + "/conversion.txt", kStandardCategories + "\"Bad\"\r\n"));
    const QString path = m_folder + "/Bad.txt";
    QVERIFY(make(recipe, path, true));

    // Through the store, with the memory the read may take bounded: the
    // store refuses files past 64 MiB before it holds more than that.
    const qint64 peakBefore = peakMiB();
    DataStore store(m_folder);
    const UnitLoad loaded = store.loadUnits("Bad");
    const UnitTable &table = loaded.records;
    QVERIFY2(peakMiB() - peakBefore < 400, qPrintable(QString::number(peakMiB() - peakBefore)));
    checkFailure(loaded.failure, kindText, path, line);
    if (units >= 0)
        QCOMPARE(table.names.size(), units);

    // Through the window: choosing the category shows the same failure and
    // lists what was read before it.
    QVERIFY(f->start());
    QVERIFY(choose(f->category, "Bad"));
    checkShown(f->answerer.takeMessages(), loaded.failure, path);
    QCOMPARE(f->from->count(), table.names.size());
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

    row("100 MB file", "100 MB file", "File too large", 0, 0);
    row("binary garbage", "binary garbage", "*", -1, -1);
    row("NUL byte in a name", "NUL byte", QString(), 2, 0);
    row("10 MB line", "10 MB line", QString(), 1, 0);
    row("unterminated quote", "unterminated quote", QString(), 2, 0);
    row("32767 records", "32767 records", QString(), 32767, 0);
    row("32768 records", "32768 records", "Overflow", 32768, 32768);
    row("category list is a directory", "directory", "Path/File access error", 0, 0);
    row("category list missing", "missing", "File not found", 0, 0);
    row("unreadable", "unreadable", "Device I/O error", 0, 0);
    row("leftover temporary file beside it", "leftover temporary file", QString(), 4, 0);
}

void TestBadData::badCategoryList()
{
    QFETCH(QString, recipe);
    QFETCH(QString, kindText);
    QFETCH(int, categories);
    QFETCH(int, line);

    const QString path = m_folder + "/conversion.txt";
    QVERIFY(QFile::remove(path));
    QVERIFY(make(recipe, path, false));

    const qint64 peakBefore = peakMiB();
    DataStore store(m_folder);
    const CategoryLoad loaded = store.loadCategories();
    const QStringList &names = loaded.records;
    QVERIFY2(peakMiB() - peakBefore < 400, qPrintable(QString::number(peakMiB() - peakBefore)));
    checkFailure(loaded.failure, kindText, path, line);
    if (categories >= 0)
        QCOMPARE(names.size(), categories);

    // The window reports it at start-up and stays usable: once the list
    // file is put right, switching edit mode on and off lists it again.
    QVERIFY(f->start());
    checkShown(f->answerer.takeMessages(), loaded.failure, path);
    QCOMPARE(f->category->count(), names.size());
    if (QFileInfo(path).isDir())
        QVERIFY(QDir(path).removeRecursively());
    else
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
    QVERIFY(make(recipe, path, unitFile));
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
