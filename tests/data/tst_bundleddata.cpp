#include "store/codepage.h"
#include "store/datastore.h"
#include "store/fieldreader.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace quorvel;

namespace {

const QString kDataDir = QStringLiteral(QUORVEL_DATA_DIR);

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The lines of a CR LF file, without their line ends.
QStringList fileLines(const QString &path)
{
    QStringList lines = decodeCodePage(fileBytes(path)).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The files that go beside the program.
QStringList bundledFiles()
{
    QStringList files
        = QDir(kDataDir).entryList({ QStringLiteral("*.txt") }, QDir::Files, QDir::Name);
    files.removeAll(QStringLiteral("CMakeLists.txt"));
    return files;
}

} // namespace

class tst_BundledData : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void categoryList();
    void unitFiles_data();
    void unitFiles();
    void writtenForm_data();
    void writtenForm();
    void lineEnds_data();
    void lineEnds();
    void helpText();
};

void tst_BundledData::categoryList()
{
    const DataStore store(kDataDir);
    const QStringList categories = store.readCategories();
    QVERIFY2(categories.size() >= 10, qPrintable(categories.join(u", ")));
    QCOMPARE(QSet<QString>(categories.begin(), categories.end()).size(), categories.size());
    QStringList sorted = categories;
    sorted.sort(Qt::CaseInsensitive);
    QCOMPARE(categories, sorted);
    QVERIFY(!categories.contains(QString::fromUtf16(kNewEntryMarker)));

    // Every unit file belongs to a listed category, and every category has one.
    QStringList unitFiles = bundledFiles();
    unitFiles.removeAll(QStringLiteral("conversion.txt"));
    unitFiles.removeAll(QStringLiteral("help.txt"));
    QStringList expected;
    for (const QString &category : categories)
        expected.append(category + QStringLiteral(".txt"));
    expected.sort();
    QCOMPARE(unitFiles, expected);
}

void tst_BundledData::unitFiles_data()
{
    QTest::addColumn<QString>("category");
    for (const QString &category : DataStore(kDataDir).readCategories())
        QTest::newRow(qPrintable(category)) << category;
}

void tst_BundledData::unitFiles()
{
    QFETCH(QString, category);
    const UnitTable units = DataStore(kDataDir).readUnits(category);
    QCOMPARE(units.factors.size(), units.names.size());
    QVERIFY2(units.names.size() >= 8, qPrintable(QString::number(units.names.size())));

    int defaults = 0;
    for (qsizetype i = 0; i < units.names.size(); ++i) {
        const double factor = units.factors[i];
        QVERIFY2(std::isfinite(factor) && factor > 0, qPrintable(units.names[i]));
        if (factor == 1.0)
            ++defaults;
        QVERIFY2(!units.names[i].isEmpty(), "empty unit name");
        QVERIFY2(!units.names[i].contains(u'"'), qPrintable(units.names[i]));
        QVERIFY2(codePageCanCarry(units.names[i]), qPrintable(units.names[i]));
        // Strictly ascending by UTF-16 code units, so also unique: the order
        // in which adding a unit keeps the file.
        if (i > 0) {
            QVERIFY2(units.names[i - 1] < units.names[i],
                qPrintable(units.names[i - 1] + QStringLiteral(" / ") + units.names[i]));
        }
    }
    QCOMPARE(defaults, 1);
}

void tst_BundledData::writtenForm_data()
{
    QTest::addColumn<QString>("category"); // empty for the category list
    QTest::newRow("conversion.txt") << QString();
    for (const QString &category : DataStore(kDataDir).readCategories())
        QTest::newRow(qPrintable(category + QStringLiteral(".txt"))) << category;
}

// Writing what was read gives the same bytes: the files are in the program's
// own written form.
void tst_BundledData::writtenForm()
{
    QFETCH(QString, category);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const DataStore bundled(kDataDir);
    const DataStore copy(dir.path());
    QString original;
    QString written;
    if (category.isEmpty()) {
        copy.saveCategories(bundled.readCategories());
        original = bundled.categoryListPath();
        written = copy.categoryListPath();
    } else {
        copy.writeUnits(category, bundled.readUnits(category));
        original = bundled.unitFilePath(category);
        written = copy.unitFilePath(category);
    }
    const QByteArray expected = fileBytes(original);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(fileBytes(written), expected);
}

void tst_BundledData::lineEnds_data()
{
    QTest::addColumn<QString>("file");
    for (const QString &file : bundledFiles())
        QTest::newRow(qPrintable(file)) << file;
}

void tst_BundledData::lineEnds()
{
    QFETCH(QString, file);
    const QByteArray bytes = fileBytes(kDataDir + u'/' + file);
    QVERIFY(bytes.endsWith("\r\n"));
    int line = 1;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        const QByteArray where = "line " + QByteArray::number(line);
        if (c == '\r') {
            QVERIFY2(i + 1 < bytes.size() && bytes[i + 1] == '\n', where + ": lone CR");
        } else if (c == '\n') {
            QVERIFY2(i > 0 && bytes[i - 1] == '\r', where + ": lone LF");
            ++line;
        } else {
            // Printable text only: no tabs, no control characters, and none of
            // the five bytes that Windows-1252 leaves undefined.
            const bool undefined = c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
            QVERIFY2(c >= 0x20 && c != 0x7F && !undefined, where + ": unexpected byte");
        }
    }
}

void tst_BundledData::helpText()
{
    const QString path = kDataDir + QStringLiteral("/help.txt");
    const QStringList lines = fileLines(path);
    QVERIFY(!lines.isEmpty());
    QVERIFY2(lines.size() <= 40, qPrintable(QString::number(lines.size())));
    for (const QString &line : lines) {
        const bool quoted = line.size() >= 2 && line.startsWith(u'"') && line.endsWith(u'"');
        const QStringView inner = quoted ? QStringView(line).mid(1, line.size() - 2) : line;
        // A comma outside quotes would split the line; a quote inside would end it.
        QVERIFY2(quoted || !line.contains(u','), qPrintable(line));
        QVERIFY2(!inner.contains(u'"'), qPrintable(line));
        QVERIFY2(inner.size() <= 45, qPrintable(line));
        QVERIFY2(inner.isEmpty() || !inner.front().isSpace(), qPrintable(line));
    }

    // Read by the field rule, every line is one shown line.
    FieldReader reader(decodeCodePage(fileBytes(path)), path);
    QStringList shown;
    while (!reader.atEnd())
        shown.append(reader.readText());
    QCOMPARE(shown.size(), lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString expected = lines[i];
        if (expected.startsWith(u'"'))
            expected = expected.mid(1, expected.size() - 2);
        QCOMPARE(shown[i], expected);
    }
}

QTEST_GUILESS_MAIN(tst_BundledData)
#include "tst_bundleddata.moc"
