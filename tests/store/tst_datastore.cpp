#include "core/failure.h"
#include "store/codepage.h"
#include "store/datafile.h"
#include "store/datastore.h"
#include "support/files.h"
#include "support/loads.h"
#include "support/row.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <cstdio>
#include <future>
#include <memory>

#ifdef Q_OS_UNIX
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace quorvel;
using namespace quorvel::test;

Q_DECLARE_METATYPE(quorvel::FailureKind)

namespace {

const QByteArray kTimeFile
    = "\"Days\",86400\r\n\"Hours\",3600\r\n\"Minutes\",60\r\n\"Seconds\",1\r\n";

// Root passes every permission test of the system.
bool privileged()
{
#ifdef Q_OS_UNIX
    return geteuid() == 0;
#else
    return false;
#endif
}

// Skips a row that needs what Windows lacks: symbolic links, named pipes,
// /proc, permissions that make a file unreadable or a folder unwritable.
#ifdef Q_OS_WIN
#define SKIP_ON_WINDOWS(why) QSKIP(why)
#else
#define SKIP_ON_WINDOWS(why) (void)0
#endif

// Runs the operation and returns the failure it throws; fails the test if it
// throws none.
template <typename Operation> std::optional<Failure> failureOf(Operation operation)
{
    try {
        operation();
    } catch (const Failure &failure) {
        return failure;
    }
    return std::nullopt;
}

// Helper mode: run inside a private mount namespace on a small or read-only
// file system prepared by the test. Tries to rewrite Length.txt and reports
// the failure kind, whether the old file survived, and the files left over.
int constrainedWrite(const QString &folder)
{
    DataStore store(folder);
    const QString path = store.unitFilePath("Length");
    const QByteArray before = contents(path);
    QString kind = "none";
    try {
        store.loadCategories();
        store.chooseCategory(0);
        store.loadUnits("Length");
        store.addUnit(QString(70000, u'x'), "1"); // about 70 KiB
    } catch (const Failure &failure) {
        kind = QString::number(int(failure.kind()));
    }
    QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    files.sort();
    std::printf("kind=%s intact=%d files=%s\n", qPrintable(kind), contents(path) == before,
        qPrintable(files.join(u'+')));
    return 0;
}

#ifdef Q_OS_UNIX
// Runs once in the last instant before the store renames a file into place,
// as another program's save might.
std::function<void()> beforeRename;
int renamesBeforeHook = 0; // calls that pass before beforeRename runs
bool refuseExchange = false; // as a file system without renameat2's flags
int folderSyncs = 0;

// Starts save as another program would, and returns once it is done or its
// open for writing waits for the store to release the file.
std::future<void> savingMeanwhile(std::function<void()> save)
{
    auto saving = std::async(std::launch::async, std::move(save));
    for (int i = 0; i < 50000
         && saving.wait_for(std::chrono::microseconds(100)) != std::future_status::ready
         && !contents("/proc/locks").contains("BREAKING");)
        ++i;
    return saving;
}

template <typename Real, typename... Args> int renamedAfterHook(const char *name, Args... args)
{
    static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, name));
    if (beforeRename && renamesBeforeHook-- <= 0)
        std::exchange(beforeRename, {})();
    return real(args...);
}

#endif

} // namespace

#ifdef Q_OS_UNIX
// The store's renames pass through these, linked before the C library's.
extern "C" int renameat2(int from, const char *a, int to, const char *b, unsigned int flags)
{
    if (refuseExchange && flags != 0)
        return errno = EINVAL, -1;
    return renamedAfterHook<int (*)(int, const char *, int, const char *, unsigned int)>(
        "renameat2", from, a, to, b, flags);
}
extern "C" int rename(const char *a, const char *b)
{
    return renamedAfterHook<int (*)(const char *, const char *)>("rename", a, b);
}
extern "C" int linkat(int from, const char *a, int to, const char *b, int flags)
{
    return renamedAfterHook<int (*)(int, const char *, int, const char *, int)>(
        "linkat", from, a, to, b, flags);
}
extern "C" int fsync(int fd)
{
    static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    struct stat status { };
    folderSyncs += ::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode);
    return real(fd);
}
#endif

class TestDataStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void buildsPaths();
    void readsCategories_data();
    void readsCategories();
    void readsUnits_data();
    void readsUnits();
    void unitFileEndingEarlyFails_data();
    void unitFileEndingEarlyFails();
    void loadsBadFile_data();
    void loadsBadFile();
    void unreadableFileFails();
    void loadsAtMost32767Records_data();
    void loadsAtMost32767Records();

    void savesCategories_data();
    void savesCategories();
    void writesUnits_data();
    void writesUnits();
    void refusesTextOutsideCodePage();
    void refusesTooManyOrNonFiniteUnits_data();
    void refusesTooManyOrNonFiniteUnits();
    void refusesWriteThatWouldLoseData_data();
    void refusesWriteThatWouldLoseData();
    void longestAcceptedNameTakesUnits();
    void fullCategoryListRefusesCategory();
#ifdef Q_OS_UNIX // the exchange, the lease and the folder's identity
    void keepsSaveJustBeforeReplacement_data();
    void keepsSaveJustBeforeReplacement();
    void keepsOtherProgramsWrite_data();
    void keepsOtherProgramsWrite();
    void writesNewFileOnlyWhereNone();
#endif

    void createsEmptyCategoryFile();
    void keepsExistingCategoryFile();
    void createCategoryFileOverDirectoryFails();

    void keepsReadOnlyFile_data();
    void keepsReadOnlyFile();
    void directoryInPlaceOfUnitFileFails();
    void readOnlyFolderFailsWithoutLoss();
    void writesThroughSymbolicLink();
    void keepsFilePermissions();
    void constrainedDiskKeepsOldFile_data();
    void constrainedDiskKeepsOldFile();

private:
    QString path(const QString &name) const
    {
        return m_dir->filePath(name);
    }
    QStringList folderFiles() const
    {
        return fileNames(m_dir->path());
    }
    // conversion.txt lists the category, whose unit file holds units.
    void putCategory(const QString &category, const QByteArray &units);
    // Loads the category list with the marker, and the category, chosen, as
    // the window does when the user answers No to deleting it.
    void loadForEdit(const QString &category);
    std::optional<Failure> addCategory(const QString &name);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<DataStore> m_store;
};

void TestDataStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_store = std::make_unique<DataStore>(m_dir->path());
}

void TestDataStore::cleanup()
{
    // Give back write permission so that the folder can be removed.
    QFile::setPermissions(
        m_dir->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_store.reset();
    m_dir.reset();
}

void TestDataStore::putCategory(const QString &category, const QByteArray &units)
{
    QVERIFY(put(m_store->categoryListPath(), "\"" + category.toLatin1() + "\"\r\n"));
    QVERIFY(put(m_store->unitFilePath(category), units));
}

void TestDataStore::loadForEdit(const QString &category)
{
    m_store->loadCategories(true);
    m_store->chooseCategory(m_store->categories().entries().indexOf(category));
    m_store->loadUnits(category);
}

void TestDataStore::buildsPaths()
{
    const DataStore store("/data/app");
    QCOMPARE(store.categoryListPath(), QString("/data/app/conversion.txt"));
    QCOMPARE(store.unitFilePath("Time"), QString("/data/app/Time.txt"));
    QCOMPARE(store.unitFilePath(" Mixed Case "), QString("/data/app/ Mixed Case .txt"));
    QCOMPARE(store.unitFilePath(""), QString("/data/app/.txt"));
}

void TestDataStore::readsCategories_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("empty file") << QByteArray() << QStringList {};
    QTest::newRow("three categories") << QByteArray("\"Length\"\r\n\"Time\"\r\n\"Weight\"\r\n")
                                      << QStringList { "Length", "Time", "Weight" };
    QTest::newRow("category named twice")
        << QByteArray("\"Time\"\r\n\"Time\"\r\n") << QStringList { "Time", "Time" };
    QTest::newRow("empty last line is an empty category")
        << QByteArray("\"Length\"\r\n\r\n") << QStringList { "Length", "" };
    QTest::newRow("byte-order mark skipped")
        << QByteArray("\xEF\xBB\xBF\"Length\"\r\n") << QStringList { "Length" };
    QTest::newRow("Windows-1252 letters") << QByteArray(
        "\"\xC1rea\"\r\n\"Gr\xF6\xDF"
        "e\"\r\n") << QStringList { QString::fromUtf8("Área"), QString::fromUtf8("Größe") };
}

void TestDataStore::readsCategories()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QVERIFY(put(m_store->categoryListPath(), bytes));
    QCOMPARE(whole(m_store->loadCategories()), expected);
}

void TestDataStore::readsUnits_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<double>>("factors");

    row("time units", kTimeFile, QStringList { "Days", "Hours", "Minutes", "Seconds" },
        QList<double> { 86400, 3600, 60, 1 });
    row("no records", QByteArray(), QStringList {}, QList<double> {});
    row("empty last line tolerated", QByteArray("\"Feet\",0.3048\r\n\r\n"), QStringList { "Feet" },
        QList<double> { 0.3048 });
    row("trailing blank lines and blanks tolerated",
        QByteArray("\"Feet\",0.3048\r\n\r\n  \t\r\n\n "), QStringList { "Feet" },
        QList<double> { 0.3048 });
    row("only blank lines", QByteArray("\r\n\r\n"), QStringList {}, QList<double> {});
}

void TestDataStore::readsUnits()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    QFETCH(QList<double>, factors);
    QVERIFY(put(m_store->unitFilePath("Length"), bytes));
    const UnitTable units = whole(m_store->loadUnits("Length"));
    QCOMPARE(units.names, names);
    QCOMPARE(units.factors, factors);
}

void TestDataStore::unitFileEndingEarlyFails_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::addColumn<QStringList>("kept"); // the records read before the failure

    const QStringList feet { "Feet" };
    row("name without factor", QByteArray("\"Feet\",0.3048\r\n\"Inches\"\r\n"), 2, feet);
    row("name and comma", QByteArray("\"Feet\",0.3048\r\n\"Inches\","), 2, feet);
    row("name, then blank lines", QByteArray("\"Feet\",0.3048\r\n\"Inches\"\r\n\r\n\r\n"), 2, feet);
    row("blank line inside the file", QByteArray("\"Feet\",0.3048\r\n\r\n\"Inches\",0.0254\r\n"), 3,
        QStringList { "Feet", "" });
}

void TestDataStore::unitFileEndingEarlyFails()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QFETCH(QStringList, kept);
    const QString file = m_store->unitFilePath("Length");
    QVERIFY(put(file, bytes));
    QVERIFY(put(m_store->categoryListPath(), "\"Length\"\r\n"));
    m_store->loadCategories();
    m_store->chooseCategory(0);
    const UnitLoad loaded = m_store->loadUnits("Length");
    QVERIFY(loaded.failure());
    QCOMPARE(loaded.problem->kind(), FailureKind::InputPastEndOfFile);
    QCOMPARE(loaded.problem->path(), file);
    QCOMPARE(loaded.problem->line(), line);
    QCOMPARE(loaded.records.names, kept);
    QCOMPARE(loaded.records.factors.size(), kept.size());

    // A file not read whole is not rewritten, until a load reads it whole.
    const auto refused = failureOf([&] { m_store->addUnit("Yards", "0.9144"); });
    QVERIFY(refused);
    QCOMPARE(refused->kind(), FailureKind::Refused);
    QCOMPARE(refused->path(), file);
    QCOMPARE(contents(file), bytes);
    QVERIFY(put(file, kTimeFile));
    QVERIFY(!m_store->loadUnits("Length").failure());
    m_store->addUnit("Yards", "0.9144");
}

void TestDataStore::loadsBadFile_data()
{
    QTest::addColumn<QString>("recipe"); // makeBadFile's
    QTest::addColumn<bool>("categoryList");
    QTest::addColumn<QString>("kindText"); // empty: loads
    QTest::addColumn<int>("records"); // read, also before a failure
    QTest::addColumn<int>("line"); // of the failure; 0: none named

    const QString tooLarge = "File too large";
    const QString access = "Path/File access error";
    for (const bool list : { false, true }) {
        const char *file = list ? "category list" : "unit file";
        auto add = [&](const char *recipe, const QString &kind, int records, int line = 0) {
            QTest::addRow("%s: %s", file, recipe) << recipe << list << kind << records << line;
        };
        add("100 MB file", tooLarge, 0);
        add("directory", access, 0);
        add("missing", "File not found", 0);
        add("named pipe", access, 0);
        add("unreadable", "Device I/O error", 0);
        add("leftover temporary file", "", list ? 4 : 1);
        if (list)
            add("unterminated quote", "", 2); // runs to the end
        else
            add("unterminated quote", "Input past end of file", 1, 2);
    }
    QTest::newRow("unit file: linked to an endless device")
        << "linked to an endless device" << false << access << 0 << 0;
    QTest::newRow("unit file: dangling link")
        << "dangling link" << false << "File not found" << 0 << 0;
}

// Damaged and hostile files load, or fail with their kind, the file and the
// line, keeping what was read before; memory stays bounded: past 64 MiB a
// file is refused before it is held. (Garbage, NUL bytes and huge lines
// are the field reader's survivesHostileInput and the fuzz targets'.)
void TestDataStore::loadsBadFile()
{
    QFETCH(QString, recipe);
    QFETCH(bool, categoryList);
    QFETCH(QString, kindText);
    QFETCH(int, records);
    QFETCH(int, line);
    const QString file = categoryList ? m_store->categoryListPath() : m_store->unitFilePath("Bad");
    if (recipe.contains("link") || recipe == "named pipe" || recipe == "unreadable")
        SKIP_ON_WINDOWS("no links, named pipes or /proc");
    QVERIFY(makeBadFile(recipe, file, !categoryList));
#ifdef Q_OS_UNIX
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    const long peakBefore = usage.ru_maxrss;
#endif
    std::optional<Failure> failure;
    qsizetype read = 0;
    if (categoryList) {
        const CategoryLoad loaded = m_store->loadCategories();
        std::tie(failure, read) = std::pair(loaded.failure(), loaded.records.size());
    } else {
        const UnitLoad loaded = m_store->loadUnits("Bad");
        std::tie(failure, read) = std::pair(loaded.failure(), loaded.records.names.size());
    }
#ifdef Q_OS_UNIX
    getrusage(RUSAGE_SELF, &usage);
    QVERIFY2(
        usage.ru_maxrss - peakBefore < 400 * 1024, qPrintable(QString::number(usage.ru_maxrss)));
#endif
    QCOMPARE(read, records);
    if (kindText.isEmpty()) {
        QVERIFY2(!failure, failure ? failure->what() : "");
        return;
    }
    QVERIFY2(failure, "the read did not fail");
    QCOMPARE(failure->kindText(), kindText);
    QCOMPARE(failure->path(), file);
    QCOMPARE(failure->line(), line);
}

void TestDataStore::unreadableFileFails()
{
    SKIP_ON_WINDOWS("no permission keeps a file from its owner");
    if (privileged())
        QSKIP("Privileges read any file: no unreadable file can be made");
    QVERIFY(put(m_store->unitFilePath("Time"), kTimeFile));
    QVERIFY(QFile::setPermissions(m_store->unitFilePath("Time"), QFileDevice::WriteOwner));
    const auto failure = failureOf([&] { whole(m_store->loadUnits("Time")); });
    QVERIFY(failure);
    QCOMPARE(failure->kind(), FailureKind::PermissionDenied);
}

void TestDataStore::loadsAtMost32767Records_data()
{
    QTest::addColumn<bool>("units");
    QTest::addColumn<int>("records");

    QTest::newRow("32767 categories") << false << 32767;
    QTest::newRow("32768 categories") << false << 32768;
    QTest::newRow("32767 units") << true << 32767;
    QTest::newRow("32768 units") << true << 32768;
}

void TestDataStore::loadsAtMost32767Records()
{
    QFETCH(bool, units);
    QFETCH(int, records);
    const QByteArray bytes = units ? unitFileBytes(records) : categoryFileBytes(records);
    QVERIFY(put(units ? m_store->unitFilePath("Many") : m_store->categoryListPath(), bytes));

    // Every record is kept, the 32768th too: the count overflows after it.
    QStringList names;
    std::optional<Failure> failure;
    if (units) {
        const UnitLoad loaded = m_store->loadUnits("Many");
        names = loaded.records.names;
        failure = loaded.failure();
    } else {
        const CategoryLoad loaded = m_store->loadCategories();
        names = loaded.records;
        failure = loaded.failure();
    }
    QCOMPARE(names.size(), records);
    if (units)
        QCOMPARE(names.last(), QString("Unit %1").arg(records));
    if (records <= kMaxRecords) {
        QVERIFY(!failure);
        return;
    }
    QVERIFY(failure);
    QCOMPARE(failure->kind(), FailureKind::Overflow);
    QCOMPARE(failure->line(), records);
}

void TestDataStore::savesCategories_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("deleted");
    QTest::addColumn<QByteArray>("expected");

    row("the only category leaves an empty file", QByteArray("\"Time\"\r\n"), "Time", QByteArray());
    row("file order rewritten in list order",
        QByteArray("\"Weight\"\r\n\"Length\"\r\n\"Time\"\r\n"), "Time",
        QByteArray("\"Length\"\r\n\"Weight\"\r\n"));
    row("empty name kept", QByteArray("\"\"\r\n\"Time\"\r\n"), "Time", QByteArray("\"\"\r\n"));
    row("a category of the marker's text kept", QByteArray("\"--> NEW <--\"\r\n\"Time\"\r\n"),
        "Time", QByteArray("\"--> NEW <--\"\r\n"));
    row("Windows-1252 letters and a comma kept",
        QByteArray("\"Zone \xC1rea\"\r\n\"Time\"\r\n\"Speed, nautical\"\r\n"), "Time",
        QByteArray("\"Speed, nautical\"\r\n\"Zone \xC1rea\"\r\n"));
}

// Deleting a category rewrites the list in list order, never with the
// marker that edit mode offers.
void TestDataStore::savesCategories()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, deleted);
    QFETCH(QByteArray, expected);
    QVERIFY(put(m_store->categoryListPath(), before));
    m_store->loadCategories(true);
    QVERIFY(m_store->categories().markerIndex() >= 0);
    m_store->chooseCategory(m_store->categories().entries().indexOf(deleted));
    m_store->removeCategory();
    QCOMPARE(contents(m_store->categoryListPath()), expected);
    QCOMPARE(folderFiles(), QStringList { "conversion.txt" });
    QCOMPARE(m_store->categories().chosen(), -1);
}

void TestDataStore::writesUnits_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QByteArray>("expected");

    row("time units", kTimeFile, "Fortnights", "1209600",
        QByteArray(
            "\"Days\",86400\r\n\"Fortnights\",1209600\r\n\"Hours\",3600\r\n\"Minutes\",60\r\n"
            "\"Seconds\",1\r\n"));
    row("first unit", QByteArray(), "Meters", "1", QByteArray("\"Meters\",1\r\n"));
    row("hand-written forms in the written form",
        QByteArray("\"Inches\",.0254\r\n\"Minus\",-3\r\n\"Small\",1.5e-5\r\n"), "Big", "1E15",
        QByteArray("\"Big\",1E+15\r\n\"Inches\",0.0254\r\n\"Minus\",-3\r\n\"Small\",1.5E-05\r\n"));
}

void TestDataStore::writesUnits()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, name);
    QFETCH(QString, factor);
    QFETCH(QByteArray, expected);
    putCategory("Time", before);
    loadForEdit("Time");
    m_store->addUnit(name, factor);
    QCOMPARE(contents(m_store->unitFilePath("Time")), expected);
    QCOMPARE(folderFiles(), (QStringList { "Time.txt", "conversion.txt" }));
}

void TestDataStore::refusesTextOutsideCodePage()
{
    // Names are refused before, but the write itself refuses too.
    const QString file = m_store->unitFilePath("Length");
    QVERIFY(put(file, kTimeFile));
    const auto failure = failureOf(
        [&] { writeDataFile(file, QString::fromUtf8("\"µm 😀\",1\r\n"), kTimeFile, {}); });
    QVERIFY(failure);
    QCOMPARE(failure->kind(), FailureKind::Refused);
    QCOMPARE(failure->cause(), Cause::OutsideCodePage);
    QCOMPARE(contents(file), kTimeFile);
    QCOMPARE(folderFiles(), QStringList { "Length.txt" });
}

void TestDataStore::refusesTooManyOrNonFiniteUnits_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<FailureKind>("kind");

    QTest::newRow("32767 units") << unitFileBytes(32767) << "1" << FailureKind::Refused;
    QTest::newRow("factor beyond the double range")
        << unitFileBytes(1) << "1E400" << FailureKind::Overflow;
}

void TestDataStore::refusesTooManyOrNonFiniteUnits()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, factor);
    QFETCH(FailureKind, kind);
    putCategory("Time", bytes);
    loadForEdit("Time");
    const QStringList names = m_store->loadedUnits().units.names;
    const auto failure = failureOf([&] { m_store->addUnit("Weeks", factor); });
    QVERIFY(failure);
    QCOMPARE(failure->kind(), kind);
    QCOMPARE(contents(m_store->unitFilePath("Time")), bytes);
    QCOMPARE(m_store->loadedUnits().units.names, names);
}

void TestDataStore::refusesWriteThatWouldLoseData_data()
{
    QTest::addColumn<QString>("file"); // "conversion" for the category list, else a category
    QTest::addColumn<QByteArray>("bytes"); // the file as the user left it
    QTest::addColumn<QByteArray>("behind"); // appended by another program after the load
    QTest::addColumn<QString>("name"); // the unit added, or the category deleted
    QTest::addColumn<Cause>("says");

    const Cause changed = Cause::ChangedBehind;
    const Cause skips = Cause::TextAfterQuote;
    const Cause own = Cause::ProgramFile;
    const QByteArray none;
    row("unit file changed behind", "Time", kTimeFile, QByteArray("\"Weeks\",604800\r\n"),
        "Fortnights", changed);
    row("category list changed behind", "conversion", QByteArray("\"Time\"\r\n\"Volume\"\r\n"),
        QByteArray("\"Speed\"\r\n"), "Volume", changed);
    row("unquoted unit name with double quotes", "Time", QByteArray("Flow \"A\" rate,1\r\n"), none,
        "Weeks", Cause::NotStorable);
    row("unquoted category name with a double quote", "conversion",
        QByteArray("\"Time\"\r\nLen\"gth\r\n"), none, "Time", Cause::NotStorable);
    row("text after a closing quote", "Time", QByteArray("\"Flow \"A\" rate\",1\r\n"), none,
        "Weeks", skips);
    row("category text after a closing quote", "conversion",
        QByteArray("\"Len\"g\"th\"\r\n\"Time\"\r\n"), none, "Time", skips);
    row("unit file named as the category list", "Conversion", kTimeFile, none, "Meters", own);
    row("unit file named as the help text", "HELP", kTimeFile, none, "Meters", own);
    row("unit file that is the category list by its path", "./conversion", none, none, "Meters",
        Cause::PathSeparator);
    row("unit file linked to the help text", "Manual", QByteArray("link"), none, "Meters", own);
    row("unit file missing", "Time", none, none, "Meters", Cause::FileMissing);
    row("unit file past the size limit", "Time", kTimeFile, none, QString(kMaxDataFileBytes, u'x'),
        Cause::TooLarge);
}

// Each refused edit leaves the folder byte for byte as it was; after a
// change behind the store, a fresh load sees it and the edit keeps it.
void TestDataStore::refusesWriteThatWouldLoseData()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, behind);
    QFETCH(QString, name);
    QFETCH(Cause, says);
    if (bytes == "link" || file == "Conversion")
        SKIP_ON_WINDOWS("no links; Conversion.txt is conversion.txt");
    const bool list = file == "conversion";
    const QString target = list ? m_store->categoryListPath() : m_store->unitFilePath(file);
    QVERIFY(put(path("help.txt"), "Help\r\n"));
    QVERIFY(put(m_store->categoryListPath(), list ? bytes : "\"" + file.toLatin1() + "\"\r\n"));
    if (bytes == "link")
        QVERIFY(QFile::link(path("help.txt"), target));
    else if (!list && !bytes.isEmpty())
        QVERIFY(put(target, bytes));
    auto load = [&] {
        m_store->loadCategories(true);
        m_store->chooseCategory(m_store->categories().entries().indexOf(list ? name : file));
        if (!list)
            m_store->loadUnits(file);
    };
    auto edit = [&] {
        if (list)
            m_store->removeCategory();
        else
            m_store->addUnit(name, "1");
    };
    load();
    if (!behind.isEmpty())
        QVERIFY(put(target, contents(target) + behind));
    const Snapshot before = snapshot(m_dir->path());

    const auto failure = failureOf(edit);
    QVERIFY(failure);
    QCOMPARE(failure->kind(), FailureKind::Refused);
    QCOMPARE(failure->cause(), says);
    QCOMPARE(snapshot(m_dir->path()), before);
    if (!behind.isEmpty()) {
        load();
        edit();
        QVERIFY(contents(target).contains(behind));
        QCOMPARE(contents(target).contains(name.toLatin1()), !list);
    }
}

void TestDataStore::longestAcceptedNameTakesUnits()
{
    // With ".txt" and the temporary file's suffix, the longest file name.
    const QString name(244, u'a');
    QVERIFY(put(m_store->categoryListPath(), ""));
    m_store->loadCategories(true);
    m_store->chooseCategory(m_store->categories().markerIndex());
    m_store->addCategory(name);
    m_store->loadUnits(name);
    m_store->addUnit("Meters", "1");
    QCOMPARE(contents(m_store->unitFilePath(name)), QByteArray("\"Meters\",1\r\n"));
}

// Adds the category in place of the marker.
std::optional<Failure> TestDataStore::addCategory(const QString &name)
{
    if (!QFileInfo::exists(m_store->categoryListPath()) && !put(m_store->categoryListPath(), ""))
        return Failure(FailureKind::FileNotFound);
    m_store->loadCategories(true);
    m_store->chooseCategory(m_store->categories().markerIndex());
    return failureOf([&] { m_store->addCategory(name); });
}

void TestDataStore::fullCategoryListRefusesCategory()
{
    const QByteArray full = categoryFileBytes(kMaxRecords);
    QVERIFY(put(m_store->categoryListPath(), full));
    const auto failure = addCategory("Zeta");
    QVERIFY(failure);
    QCOMPARE(failure->cause(), Cause::ListFull);
    QCOMPARE(folderFiles(), QStringList { "conversion.txt" });
    QCOMPARE(contents(m_store->categoryListPath()), full);
}

#ifdef Q_OS_UNIX
void TestDataStore::keepsSaveJustBeforeReplacement_data()
{
    QTest::addColumn<bool>("byRename");
    QTest::newRow("saved by rename") << true;
    QTest::newRow("saved in place") << false;
}

// Another program saves the unit file right before the store replaces it,
// 1000 times: each time its save stays and the edit is refused.
void TestDataStore::keepsSaveJustBeforeReplacement()
{
    QFETCH(bool, byRename);
    const QString file = m_store->unitFilePath("Time");
    const QByteArray weeks = "\"Weeks\",604800\r\n";
    for (int i = 0; i < 1000; ++i) {
        putCategory("Time", kTimeFile);
        loadForEdit("Time");
        std::future<void> saver;
        beforeRename = [&] {
            if (byRename)
                put(path("saved"), kTimeFile + weeks)
                    && ::rename(qPrintable(path("saved")), qPrintable(file)) == 0;
            else
                saver = savingMeanwhile([&] { put(file, kTimeFile + weeks); });
        };
        const auto failure = failureOf([&] { m_store->addUnit("Fortnights", "1209600"); });
        beforeRename = {};
        saver = {}; // done
        QVERIFY(failure);
        QCOMPARE(failure->kind(), FailureKind::Refused);
        QCOMPARE(contents(file), kTimeFile + weeks);
        QCOMPARE(folderFiles(), (QStringList { "Time.txt", "conversion.txt" }));
    }
}

void TestDataStore::keepsOtherProgramsWrite_data()
{
    QTest::addColumn<QString>("race");
    QTest::addColumn<QByteArray>("before"); // the unit file
    QTest::addColumn<QByteArray>("after"); // once the edit is refused
    QTest::addColumn<Cause>("cause");
    const QByteArray weeks = "\"Weeks\",604800\r\n", more = kTimeFile + weeks;
    const Cause writing = Cause::BeingWritten, changed = Cause::ChangedBehind;
    const Cause swapped = Cause::FolderReplaced;
    row("opened for writing before, written after", "open", kTimeFile, more, writing);
    row("empty file truncated at the exchange, written after", "truncate", QByteArray(), weeks,
        writing);
    row("no exchange: renamed over before the move", "rename", kTimeFile, more, changed);
    row("no exchange: renamed over before the link", "rename later", kTimeFile, more, changed);
    row("folder locked by another copy", "lock", kTimeFile, kTimeFile, Cause::FolderLocked);
    row("another folder in its place after the start", "swap", kTimeFile, kTimeFile, swapped);
}

// Another program writes the unit file at the worst moment of an edit: its
// write stays and the edit is refused.
void TestDataStore::keepsOtherProgramsWrite()
{
    QFETCH(QString, race);
    QFETCH(QByteArray, before);
    const QString file = m_store->unitFilePath("Time");
    const QByteArray weeks = "\"Weeks\",604800\r\n";
    putCategory("Time", before);
    loadForEdit("Time");
    std::atomic<int> writer = race == "open" ? ::open(qPrintable(file), O_WRONLY | O_APPEND) : -1;
    const int folder = ::open(qPrintable(m_dir->path()), O_RDONLY | O_DIRECTORY);
    QVERIFY(race != "lock" || ::flock(folder, LOCK_EX) == 0);
    const QString moved = m_dir->path() + "-moved";
    if (race == "swap") {
        QVERIFY(QDir().rename(m_dir->path(), moved) && QDir().mkdir(m_dir->path()));
        putCategory("Time", before);
    }
    std::future<void> truncating;
    refuseExchange = race.startsWith("rename");
    renamesBeforeHook = race.endsWith("later");
    beforeRename = [&] {
        if (race == "truncate")
            truncating
                = savingMeanwhile([&] { writer = ::open(qPrintable(file), O_WRONLY | O_TRUNC); });
        else if (refuseExchange) {
            QVERIFY(put(path("saved"), kTimeFile + weeks));
            QCOMPARE(::rename(qPrintable(path("saved")), qPrintable(file)), 0);
        }
    };
    const auto failure = failureOf([&] { m_store->addUnit("Fortnights", "1209600"); });
    beforeRename = {};
    refuseExchange = false;
    truncating = {}; // done
    if (writer >= 0)
        QCOMPARE(::write(writer, weeks.constData(), size_t(weeks.size())), weeks.size());
    ::close(writer);
    ::close(folder);
    QVERIFY(failure);
    QCOMPARE(failure->kind(), FailureKind::Refused);
    QTEST(failure->cause(), "cause");
    QTEST(contents(file), "after");
    QCOMPARE(folderFiles(), (QStringList { "Time.txt", "conversion.txt" }));
    QVERIFY(race != "swap" || QDir(moved).removeRecursively());
}

// A new file never replaces one that another program made meanwhile.
void TestDataStore::writesNewFileOnlyWhereNone()
{
    beforeRename = [this] { put(path("New.txt"), "theirs"); };
    QVERIFY(failureOf([this] { writeDataFile(path("New.txt"), "ours", {}, {}); }));
    QCOMPARE(contents(path("New.txt")), "theirs");
}
#endif

void TestDataStore::createsEmptyCategoryFile()
{
#ifdef Q_OS_UNIX
    folderSyncs = 0;
    const mode_t umask = ::umask(0); // new files are never more open than 0644
    QVERIFY(!addCategory("Speed"));
    ::umask(umask);
    QCOMPARE(folderSyncs, 2); // the list and the new file, each in place before the edit ends
    QCOMPARE(int(QFileInfo(m_store->unitFilePath("Speed")).permissions() & 0x0777), 0x0644);
#else
    QVERIFY(!addCategory("Speed"));
#endif
    const QFileInfo info(m_store->unitFilePath("Speed"));
    QVERIFY(info.isFile());
    QCOMPARE(info.size(), 0);
    QVERIFY(whole(m_store->loadUnits("Speed")).names.isEmpty());
    QCOMPARE(whole(m_store->loadCategories()), QStringList { "Speed" });
}

void TestDataStore::keepsExistingCategoryFile()
{
    QVERIFY(put(m_store->unitFilePath("Time"), kTimeFile));
    QVERIFY(!addCategory("Time"));
    QCOMPARE(contents(m_store->unitFilePath("Time")), kTimeFile);

    // A link to a unit file elsewhere counts as the existing file too.
    SKIP_ON_WINDOWS("no symbolic links");
    QVERIFY(QFile::link(m_store->unitFilePath("Time"), m_store->unitFilePath("Clock")));
    QVERIFY(!addCategory("Clock"));
    QVERIFY(QFileInfo(m_store->unitFilePath("Clock")).isSymLink());
    QCOMPARE(contents(m_store->unitFilePath("Time")), kTimeFile);
}

void TestDataStore::createCategoryFileOverDirectoryFails()
{
    QVERIFY(QDir().mkdir(m_store->unitFilePath("Time")));
    const auto failure = addCategory("Time");
    QVERIFY(failure);
    QCOMPARE(failure->kind(), FailureKind::PathFileAccessError);
    QCOMPARE(contents(m_store->categoryListPath()), QByteArray());
}

void TestDataStore::keepsReadOnlyFile_data()
{
    QTest::addColumn<bool>("categoryList");
    QTest::newRow("unit file") << false;
    QTest::newRow("category list file") << true;
}

void TestDataStore::keepsReadOnlyFile()
{
    QFETCH(bool, categoryList);
    const QString file = categoryList ? m_store->categoryListPath() : m_store->unitFilePath("Time");
    putCategory("Time", kTimeFile);
    const QByteArray before = contents(file);
    QVERIFY(QFile::setPermissions(
        file, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther)); // 0444
    loadForEdit("Time");
    const auto failure = failureOf([&] {
        if (categoryList)
            m_store->removeCategory();
        else
            m_store->addUnit("Weeks", "604800");
    });
    QVERIFY(failure);
    QCOMPARE(failure->kind(), FailureKind::PermissionDenied);
    QCOMPARE(failure->path(), file);
    QCOMPARE(failure->cause(), Cause::FileReadOnly);
    QCOMPARE(contents(file), before);
    QCOMPARE(folderFiles().size(), 2);
}

void TestDataStore::directoryInPlaceOfUnitFileFails()
{
    putCategory("Time", kTimeFile);
    loadForEdit("Time");
    QVERIFY(QFile::remove(m_store->unitFilePath("Time")));
    QVERIFY(QDir().mkdir(m_store->unitFilePath("Time")));
    const auto failure = failureOf([&] { m_store->addUnit("A", "1"); });
    QVERIFY(failure);
    QCOMPARE(failure->kind(), FailureKind::PathFileAccessError);
    QVERIFY(QFileInfo(m_store->unitFilePath("Time")).isDir());
    QCOMPARE(folderFiles(), QStringList { "conversion.txt" });
}

void TestDataStore::readOnlyFolderFailsWithoutLoss()
{
    SKIP_ON_WINDOWS("a read-only folder takes new files");
    if (privileged())
        QSKIP("Privileges write into any folder; constrainedDiskKeepsOldFile covers a "
              "read-only folder through a read-only mount");
    putCategory("Time", kTimeFile);
    loadForEdit("Time");
    QVERIFY(QFile::setPermissions(m_dir->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const auto failure = failureOf([&] { m_store->addUnit("A", "1"); });
    QVERIFY(failure);
    QCOMPARE(failure->kind(), FailureKind::PermissionDenied);
    QCOMPARE(contents(m_store->unitFilePath("Time")), kTimeFile);
}

void TestDataStore::writesThroughSymbolicLink()
{
    SKIP_ON_WINDOWS("no symbolic links");
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    const QString target = elsewhere.filePath("shared-time.txt");
    QVERIFY(put(target, kTimeFile));
    QVERIFY(put(m_store->categoryListPath(), "\"Time\"\r\n"));
    QVERIFY(QFile::link(target, m_store->unitFilePath("Time")));
    loadForEdit("Time");

    m_store->addUnit("Weeks", "604800");
    QVERIFY(QFileInfo(m_store->unitFilePath("Time")).isSymLink());
    QCOMPARE(contents(target), kTimeFile + "\"Weeks\",604800\r\n");
    QCOMPARE(folderFiles(), (QStringList { "Time.txt", "conversion.txt" }));
    QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden),
        QStringList { "shared-time.txt" });
}

void TestDataStore::keepsFilePermissions()
{
    SKIP_ON_WINDOWS("no group or other permissions");
    const QString file = m_store->unitFilePath("Time");
    putCategory("Time", kTimeFile);
    const auto permissions
        = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QVERIFY(QFile::setPermissions(file, permissions));
    loadForEdit("Time");
    m_store->addUnit("Weeks", "604800");
    QCOMPARE(QFileInfo(file).permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
        permissions);
}

void TestDataStore::constrainedDiskKeepsOldFile_data()
{
    QTest::addColumn<QString>("prepare"); // shell commands run on the mounted folder "$2"
    QTest::addColumn<FailureKind>("kind");

    QTest::newRow("disk full") << "dd if=/dev/zero of=\"$2/fill\" bs=4096 2>/dev/null; true"
                               << FailureKind::DiskFull;
    QTest::newRow("disk too small for the new file") << "true" << FailureKind::DiskFull;
    QTest::newRow("read-only file system")
        << "mount --bind \"$2\" \"$2\" && mount -o remount,bind,ro \"$2\""
        << FailureKind::PermissionDenied;
}

void TestDataStore::constrainedDiskKeepsOldFile()
{
    QFETCH(QString, prepare);
    QFETCH(FailureKind, kind);
#ifndef Q_OS_LINUX
    QSKIP("A private mount namespace needs Linux");
#endif
    const QString unshare = QStandardPaths::findExecutable("unshare");
    if (unshare.isEmpty())
        QSKIP("unshare is not installed: no private mount for a small file system");

    // A private mount namespace with a 64 KiB file system: the 3000 units
    // written need about 70 KiB.
    const QString script = "mount -t tmpfs -o size=64k tmpfs \"$2\" || exit 99\n"
                           "printf '\"Meters\",1\\r\\n' > \"$2/Length.txt\" || exit 98\n"
                           "printf '\"Length\"\\r\\n' > \"$2/conversion.txt\" || exit 98\n"
        + prepare + " || exit 97\nexec \"$1\" --constrained-write \"$2\"\n";
    QStringList arguments { "-m", "--propagation", "private" };
    if (!privileged())
        arguments.prepend("-r"); // map the user to root in a user namespace
    arguments << "sh"
              << "-c" << script << "sh" << QCoreApplication::applicationFilePath() << m_dir->path();
    QProcess process;
    process.start(unshare, arguments);
    QVERIFY(process.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    if (process.exitCode() == 99 || process.exitCode() == 1)
        QSKIP(qPrintable("No private mount possible here: "
            + QString::fromLocal8Bit(process.readAllStandardError())));
    QCOMPARE(process.exitCode(), 0);
    const QString fillFile = output.contains("fill") ? "+fill" : "";
    QCOMPARE(output,
        QString("kind=%1 intact=1 files=Length.txt+conversion.txt%2").arg(int(kind)).arg(fillFile));
}

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--constrained-write") == 0) {
        QCoreApplication app(argc, argv);
        return constrainedWrite(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    TestDataStore test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_datastore.moc"
