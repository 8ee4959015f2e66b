#include "core/failure.h"
#include "store/datastore.h"
#include "support/files.h"
#include "support/row.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

#ifdef Q_OS_UNIX
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

UnitTable table(const QStringList &names, const QList<double> &factors)
{
    return UnitTable { names, factors };
}

UnitTable manyUnits(int count)
{
    UnitTable units;
    for (int i = 0; i < count; ++i) {
        units.names.append(QString("Unit %1").arg(i, 5, 10, QChar(u'0')));
        units.factors.append(i + 0.5);
    }
    return units;
}

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
        store.loadUnits("Length");
        store.writeUnits("Length", manyUnits(3000));
    } catch (const Failure &failure) {
        kind = QString::number(int(failure.kind()));
    }
    QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    files.sort();
    std::printf("kind=%s intact=%d files=%s\n", qPrintable(kind), contents(path) == before,
        qPrintable(files.join(u'+')));
    return 0;
}

} // namespace

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
    void missingOrUnusableFileFails_data();
    void missingOrUnusableFileFails();
    void unreadableFileFails();
    void refusesHugeFile();
    void loadsAtMost32767Records_data();
    void loadsAtMost32767Records();

    void savesCategories_data();
    void savesCategories();
    void writesUnits_data();
    void writesUnits();
    void roundTripsCodePageBytes();
    void roundTripsNamesAndFactors();
    void refusesTextOutsideCodePage();
    void refusesTooManyOrNonFiniteUnits_data();
    void refusesTooManyOrNonFiniteUnits();
    void refusesWriteThatWouldLoseData_data();
    void refusesWriteThatWouldLoseData();
    void longestAcceptedNameTakesUnits();

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
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QStringList folderFiles() const;

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

QStringList TestDataStore::folderFiles() const
{
    QStringList files = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    files.sort();
    return files;
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
    QTest::newRow("empty line in the middle")
        << QByteArray("\"A\"\r\n\r\n\"B\"\r\n") << QStringList { "A", "", "B" };
    QTest::newRow("no line end at the end")
        << QByteArray("\"A\"\r\n\"B\"") << QStringList { "A", "B" };
    QTest::newRow("byte-order mark skipped")
        << QByteArray("\xEF\xBB\xBF\"Length\"\r\n") << QStringList { "Length" };
    QTest::newRow("LF line ends") << QByteArray("\"A\"\n\"B\"\n") << QStringList { "A", "B" };
    QTest::newRow("name with a comma")
        << QByteArray("\"Speed, nautical\"\r\n") << QStringList { "Speed, nautical" };
    QTest::newRow("Windows-1252 letters") << QByteArray(
        "\"\xC1rea\"\r\n\"Gr\xF6\xDF"
        "e\"\r\n") << QStringList { QString::fromUtf8("Área"), QString::fromUtf8("Größe") };
}

void TestDataStore::readsCategories()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QVERIFY(put(m_store->categoryListPath(), bytes));
    QCOMPARE(m_store->readCategories(), expected);
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
    row("factor on the next line", QByteArray("\"Feet\"\r\n0.3048\r\n\"Inches\",.0254\r\n"),
        QStringList { "Feet", "Inches" }, QList<double> { 0.3048, 0.0254 });
    row("factor that is not a number", QByteArray("\"Feet\",abc\r\n"), QStringList { "Feet" },
        QList<double> { 0 });
    row("exponent forms", QByteArray("\"Big\",1E+15\r\n\"Small\",1.5E-05\r\n"),
        QStringList { "Big", "Small" }, QList<double> { 1e15, 1.5e-5 });
}

void TestDataStore::readsUnits()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    QFETCH(QList<double>, factors);
    QVERIFY(put(m_store->unitFilePath("Length"), bytes));
    const UnitTable units = m_store->readUnits("Length");
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
    const UnitLoad loaded = m_store->loadUnits("Length");
    QVERIFY(loaded.failure);
    QCOMPARE(loaded.failure->kind(), FailureKind::InputPastEndOfFile);
    QCOMPARE(loaded.failure->path(), file);
    QCOMPARE(loaded.failure->line(), line);
    QCOMPARE(loaded.records.names, kept);
    QCOMPARE(loaded.records.factors.size(), kept.size());

    // A file not read whole is not rewritten, until a load reads it whole.
    const auto refused = failureOf([&] { m_store->writeUnits("Length", loaded.records); });
    QVERIFY(refused);
    QCOMPARE(refused->kind(), FailureKind::Refused);
    QCOMPARE(refused->path(), file);
    QCOMPARE(contents(file), bytes);
    QVERIFY(put(file, kTimeFile));
    QVERIFY(m_store->loadUnits("Length").whole());
    m_store->writeUnits("Length", loaded.records);
}

void TestDataStore::missingOrUnusableFileFails_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<bool>("categoryList");
    QTest::addColumn<FailureKind>("kind");

    QTest::newRow("category list missing") << "none" << true << FailureKind::FileNotFound;
    QTest::newRow("unit file missing") << "none" << false << FailureKind::FileNotFound;
    QTest::newRow("category list is a directory")
        << "directory" << true << FailureKind::PathFileAccessError;
    QTest::newRow("unit file is a directory")
        << "directory" << false << FailureKind::PathFileAccessError;
    QTest::newRow("unit file is a dangling link")
        << "dangling link" << false << FailureKind::FileNotFound;
    QTest::newRow("category list is a named pipe")
        << "pipe" << true << FailureKind::PathFileAccessError;
    QTest::newRow("unit file is a named pipe")
        << "pipe" << false << FailureKind::PathFileAccessError;
}

void TestDataStore::missingOrUnusableFileFails()
{
    QFETCH(QString, setup);
    QFETCH(bool, categoryList);
    QFETCH(FailureKind, kind);
    const QString file = categoryList ? m_store->categoryListPath() : m_store->unitFilePath("Time");
    if (setup == "directory")
        QVERIFY(QDir().mkdir(file));
    else if (setup == "dangling link")
        QVERIFY(QFile::link(path("nowhere.txt"), file));
    else if (setup == "pipe")
        QCOMPARE(
            ::mkfifo(QFile::encodeName(file).constData(), 0600), 0); // never opened by a writer
    const auto failure = failureOf([&] {
        if (categoryList)
            m_store->readCategories();
        else
            m_store->readUnits("Time");
    });
    QVERIFY(failure);
    QCOMPARE(failure->kind(), kind);
    QCOMPARE(failure->path(), file);
}

void TestDataStore::unreadableFileFails()
{
    if (privileged())
        QSKIP("Privileges read any file: no unreadable file can be made");
    QVERIFY(put(m_store->unitFilePath("Time"), kTimeFile));
    QVERIFY(QFile::setPermissions(m_store->unitFilePath("Time"), QFileDevice::WriteOwner));
    const auto failure = failureOf([&] { m_store->readUnits("Time"); });
    QVERIFY(failure);
    QCOMPARE(failure->kind(), FailureKind::PermissionDenied);
}

void TestDataStore::refusesHugeFile()
{
    {
        QFile file(m_store->categoryListPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(kMaxDataFileBytes + 1)); // sparse: costs no disk space
    }
    const auto failure = failureOf([&] { m_store->readCategories(); });
    QVERIFY(failure);
    QCOMPARE(failure->kind(), FailureKind::FileTooLarge);
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
    QByteArray bytes;
    for (int i = 0; i < records; ++i)
        bytes += "\"Entry " + QByteArray::number(i) + (units ? "\",1.5\r\n" : "\"\r\n");
    QVERIFY(put(units ? m_store->unitFilePath("Many") : m_store->categoryListPath(), bytes));

    // Every record is kept, the 32768th too: the count overflows after it.
    QStringList names;
    std::optional<Failure> failure;
    if (units) {
        const UnitLoad loaded = m_store->loadUnits("Many");
        names = loaded.records.names;
        failure = loaded.failure;
    } else {
        const CategoryLoad loaded = m_store->loadCategories();
        names = loaded.records;
        failure = loaded.failure;
    }
    QCOMPARE(names.size(), records);
    QCOMPARE(names.last(), QString("Entry %1").arg(records - 1));
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
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QByteArray>("expected");

    const QString marker = QString::fromUtf16(kNewEntryMarker);
    row("no entries", QStringList {}, QByteArray());
    row("marker only", QStringList { marker }, QByteArray());
    row("marker first", QStringList { marker, "Length", "Time" },
        QByteArray("\"Length\"\r\n\"Time\"\r\n"));
    row("marker in the middle", QStringList { "Length", marker, "Time" },
        QByteArray("\"Length\"\r\n\"Time\"\r\n"));
    row("markers at both ends", QStringList { marker, "Time", marker }, QByteArray("\"Time\"\r\n"));
    row("marker in other case is a name", QStringList { "--> new <--" },
        QByteArray("\"--> new <--\"\r\n"));
    row("order kept as given", QStringList { "Weight", "Length" },
        QByteArray("\"Weight\"\r\n\"Length\"\r\n"));
    row("empty entry", QStringList { "", "Time" }, QByteArray("\"\"\r\n\"Time\"\r\n"));
}

void TestDataStore::savesCategories()
{
    QFETCH(QStringList, entries);
    QFETCH(QByteArray, expected);
    QVERIFY(put(m_store->categoryListPath(), "\"Old\"\r\n\"Older\"\r\n"));
    m_store->loadCategories();
    m_store->saveCategories(entries);
    QCOMPARE(contents(m_store->categoryListPath()), expected);
    QCOMPARE(folderFiles(), QStringList { "conversion.txt" });
}

void TestDataStore::writesUnits_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<double>>("factors");
    QTest::addColumn<QByteArray>("expected");

    row("time units", QStringList { "Days", "Hours", "Minutes", "Seconds" },
        QList<double> { 86400, 3600, 60, 1 }, kTimeFile);
    row("no units", QStringList {}, QList<double> {}, QByteArray());
    row("number forms", QStringList { "Inches", "Big", "Small", "Minus" },
        QList<double> { 0.0254, 1e15, 1.5e-5, -3 },
        QByteArray("\"Inches\",0.0254\r\n\"Big\",1E+15\r\n\"Small\",1.5E-05\r\n\"Minus\",-3\r\n"));
    row("name with comma", QStringList { "Feet, US" }, QList<double> { 0.3048 },
        QByteArray("\"Feet, US\",0.3048\r\n"));
}

void TestDataStore::writesUnits()
{
    QFETCH(QStringList, names);
    QFETCH(QList<double>, factors);
    QFETCH(QByteArray, expected);
    QVERIFY(put(m_store->unitFilePath("Time"), "\"Old\",1\r\n"));
    m_store->loadUnits("Time");
    m_store->writeUnits("Time", table(names, factors));
    QCOMPARE(contents(m_store->unitFilePath("Time")), expected);
    QCOMPARE(folderFiles(), QStringList { "Time.txt" });
}

void TestDataStore::roundTripsCodePageBytes()
{
    // Every byte of the upper half except the quote-free range's delimiters
    // survives a read and a rewrite unchanged.
    QByteArray name;
    for (int byte = 0x80; byte <= 0xFF; ++byte)
        name.append(char(byte));
    const QByteArray bytes = "\"" + name + "\",1\r\n";
    QVERIFY(put(m_store->unitFilePath("Bytes"), bytes));
    const UnitTable units = m_store->loadUnits("Bytes").records;
    QCOMPARE(units.names.size(), 1);
    QCOMPARE(units.names.first().size(), 128);
    m_store->writeUnits("Bytes", units);
    QCOMPARE(contents(m_store->unitFilePath("Bytes")), bytes);
}

void TestDataStore::roundTripsNamesAndFactors()
{
    // A quote inside a name cannot be carried: refusesWriteThatWouldLoseData.
    const UnitTable units
        = table({ "Feet, international", QString::fromUtf8("Ångström"), "  spaced  " },
            { 0.3048, 1e-10, 123456789012345.0 });
    m_store->writeUnits("Length", units);
    const UnitTable back = m_store->readUnits("Length");
    QCOMPARE(back.factors, units.factors);
    QCOMPARE(back.names, units.names);

    m_store->saveCategories({ "Length, metric", QString::fromUtf8("Área") });
    QCOMPARE(
        m_store->readCategories(), (QStringList { "Length, metric", QString::fromUtf8("Área") }));
}

void TestDataStore::refusesTextOutsideCodePage()
{
    QVERIFY(put(m_store->categoryListPath(), "\"Length\"\r\n"));
    QVERIFY(put(m_store->unitFilePath("Length"), kTimeFile));

    auto failure = failureOf([&] {
        m_store->saveCategories({ "Length", QString::fromUtf8("Länge Ω") });
    });
    QVERIFY(failure);
    QCOMPARE(failure->kind(), FailureKind::Refused);
    QVERIFY(failure->detail().contains("Windows-1252"));
    QCOMPARE(contents(m_store->categoryListPath()), QByteArray("\"Length\"\r\n"));

    failure = failureOf([&] {
        m_store->writeUnits("Length", table({ "Days", QString::fromUtf8("µm 😀") }, { 1, 2 }));
    });
    QVERIFY(failure);
    QCOMPARE(failure->kind(), FailureKind::Refused);
    QCOMPARE(contents(m_store->unitFilePath("Length")), kTimeFile);
    QCOMPARE(folderFiles(), (QStringList { "Length.txt", "conversion.txt" }));
}

void TestDataStore::refusesTooManyOrNonFiniteUnits_data()
{
    QTest::addColumn<UnitTable>("units");
    QTest::addColumn<FailureKind>("kind");

    QTest::newRow("32768 units") << manyUnits(32768) << FailureKind::Overflow;
    QTest::newRow("infinite factor")
        << table({ "A" }, { std::numeric_limits<double>::infinity() }) << FailureKind::Overflow;
    QTest::newRow("factor not a number")
        << table({ "A" }, { std::numeric_limits<double>::quiet_NaN() }) << FailureKind::Overflow;
    QTest::newRow("more names than factors")
        << table({ "A", "B" }, { 1 }) << FailureKind::SubscriptOutOfRange;
}

void TestDataStore::refusesTooManyOrNonFiniteUnits()
{
    QFETCH(UnitTable, units);
    QFETCH(FailureKind, kind);
    QVERIFY(put(m_store->unitFilePath("Time"), kTimeFile));
    const auto failure = failureOf([&] { m_store->writeUnits("Time", units); });
    QVERIFY(failure);
    QCOMPARE(failure->kind(), kind);
    QCOMPARE(contents(m_store->unitFilePath("Time")), kTimeFile);
}

void TestDataStore::refusesWriteThatWouldLoseData_data()
{
    QTest::addColumn<QString>("file"); // "conversion" for the category list, else a category
    QTest::addColumn<QByteArray>("behind"); // appended by another program after the load
    QTest::addColumn<QString>("name"); // the record added
    QTest::addColumn<QString>("says");

    const QString changed = "changed by another program";
    row("unit file changed behind", "Time", QByteArray("\"Weeks\",604800\r\n"), "Fortnights",
        changed);
    row("category list changed behind", "conversion", QByteArray("\"Speed\"\r\n"), "Volume",
        changed);
    row("unit name with a double quote", "Time", QByteArray(), "Flow \"A\" rate",
        "\"Flow \"A\" rate\" cannot be stored");
    row("category name with a line break", "conversion", QByteArray(), "Two\"\nlines",
        "cannot be stored");
    row("unit file that is the category list", "Conversion", QByteArray(), "Meters",
        "belongs to Quorvel");
    row("unit file that is the help text", "HELP", QByteArray(), "Meters", "belongs to Quorvel");
    row("unit file past the size limit", "Time", QByteArray(), QString(kMaxDataFileBytes, u'x'),
        "grow past 64 MiB");
}

// Each refused write leaves the folder byte for byte as it was; after a
// change behind the store, a fresh load sees it and the write keeps it.
void TestDataStore::refusesWriteThatWouldLoseData()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, behind);
    QFETCH(QString, name);
    QFETCH(QString, says);
    const bool list = file == "conversion";
    const QString target = list ? m_store->categoryListPath() : m_store->unitFilePath(file);
    QVERIFY(put(m_store->categoryListPath(), "\"Time\"\r\n"));
    if (!list)
        QVERIFY(put(target, kTimeFile));
    QStringList categories;
    UnitTable units;
    auto load = [&] {
        categories = m_store->loadCategories().records;
        units = list ? UnitTable {} : m_store->loadUnits(file).records;
    };
    auto write = [&] {
        if (list)
            return m_store->saveCategories(categories + QStringList { name });
        insertUnitByName(units, name, 1);
        m_store->writeUnits(file, units);
    };
    load();
    QVERIFY(put(target, contents(target) + behind));
    const QByteArray before = contents(target);
    const QStringList files = folderFiles();

    const auto failure = failureOf(write);
    QVERIFY(failure);
    QCOMPARE(failure->kind(), FailureKind::Refused);
    QCOMPARE(failure->path(), target);
    QVERIFY2(failure->detail().contains(says), qPrintable(failure->detail()));
    QCOMPARE(contents(target), before);
    QCOMPARE(folderFiles(), files);
    if (!behind.isEmpty()) {
        load();
        write();
        QVERIFY(contents(target).contains(behind));
        QVERIFY(contents(target).contains(name.toLatin1()));
    }
}

void TestDataStore::longestAcceptedNameTakesUnits()
{
    // With ".txt" and the temporary file's suffix, the longest file name.
    const QString name(244, u'a');
    QVERIFY(put(m_store->categoryListPath(), ""));
    m_store->loadCategories();
    m_store->addCategory({ QString::fromUtf16(kNewEntryMarker) }, 0, name);
    m_store->loadUnits(name);
    m_store->addUnit(name, "Meters", "1");
    QCOMPARE(contents(m_store->unitFilePath(name)), QByteArray("\"Meters\",1\r\n"));
}

void TestDataStore::createsEmptyCategoryFile()
{
    m_store->createCategoryFile("Speed");
    const QFileInfo info(m_store->unitFilePath("Speed"));
    QVERIFY(info.isFile());
    QCOMPARE(info.size(), 0);
    QVERIFY(m_store->readUnits("Speed").names.isEmpty());
}

void TestDataStore::keepsExistingCategoryFile()
{
    QVERIFY(put(m_store->unitFilePath("Time"), kTimeFile));
    m_store->createCategoryFile("Time");
    QCOMPARE(contents(m_store->unitFilePath("Time")), kTimeFile);

    // A link to a unit file elsewhere counts as the existing file too.
    QVERIFY(QFile::link(m_store->unitFilePath("Time"), m_store->unitFilePath("Clock")));
    m_store->createCategoryFile("Clock");
    QVERIFY(QFileInfo(m_store->unitFilePath("Clock")).isSymLink());
    QCOMPARE(contents(m_store->unitFilePath("Time")), kTimeFile);
}

void TestDataStore::createCategoryFileOverDirectoryFails()
{
    QVERIFY(QDir().mkdir(m_store->unitFilePath("Time")));
    const auto failure = failureOf([&] { m_store->createCategoryFile("Time"); });
    QVERIFY(failure);
    QCOMPARE(failure->kind(), FailureKind::PathFileAccessError);
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
    const QByteArray before = categoryList ? QByteArray("\"Time\"\r\n") : kTimeFile;
    QVERIFY(put(file, before));
    QVERIFY(QFile::setPermissions(
        file, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther)); // 0444
    const auto failure = failureOf([&] {
        if (categoryList)
            m_store->saveCategories({ "Length" });
        else
            m_store->writeUnits("Time", table({ "Weeks" }, { 604800 }));
    });
    QVERIFY(failure);
    QCOMPARE(failure->kind(), FailureKind::PermissionDenied);
    QCOMPARE(failure->path(), file);
    QCOMPARE(contents(file), before);
    QCOMPARE(folderFiles().size(), 1);
}

void TestDataStore::directoryInPlaceOfUnitFileFails()
{
    QVERIFY(QDir().mkdir(m_store->unitFilePath("Time")));
    const auto failure = failureOf([&] { m_store->writeUnits("Time", table({ "A" }, { 1 })); });
    QVERIFY(failure);
    QCOMPARE(failure->kind(), FailureKind::PathFileAccessError);
    QVERIFY(QFileInfo(m_store->unitFilePath("Time")).isDir());
    QVERIFY(folderFiles().isEmpty());
}

void TestDataStore::readOnlyFolderFailsWithoutLoss()
{
    if (privileged())
        QSKIP("Privileges write into any folder; constrainedDiskKeepsOldFile covers a "
              "read-only folder through a read-only mount");
    QVERIFY(put(m_store->unitFilePath("Time"), kTimeFile));
    m_store->loadUnits("Time");
    QVERIFY(QFile::setPermissions(m_dir->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const auto failure = failureOf([&] { m_store->writeUnits("Time", table({ "A" }, { 1 })); });
    QVERIFY(failure);
    QCOMPARE(failure->kind(), FailureKind::PermissionDenied);
    QCOMPARE(contents(m_store->unitFilePath("Time")), kTimeFile);
}

void TestDataStore::writesThroughSymbolicLink()
{
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    const QString target = elsewhere.filePath("shared-time.txt");
    QVERIFY(put(target, kTimeFile));
    QVERIFY(QFile::link(target, m_store->unitFilePath("Time")));
    m_store->loadUnits("Time");

    m_store->writeUnits("Time", table({ "Weeks" }, { 604800 }));
    QVERIFY(QFileInfo(m_store->unitFilePath("Time")).isSymLink());
    QCOMPARE(contents(target), QByteArray("\"Weeks\",604800\r\n"));
    QCOMPARE(folderFiles(), QStringList { "Time.txt" });
    QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden),
        QStringList { "shared-time.txt" });
}

void TestDataStore::keepsFilePermissions()
{
    const QString file = m_store->unitFilePath("Time");
    QVERIFY(put(file, kTimeFile));
    const auto permissions
        = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QVERIFY(QFile::setPermissions(file, permissions));
    m_store->loadUnits("Time");
    m_store->writeUnits("Time", table({ "Weeks" }, { 604800 }));
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
    QCOMPARE(output, QString("kind=%1 intact=1 files=Length.txt%2").arg(int(kind)).arg(fillFile));
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
