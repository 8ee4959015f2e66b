// The fast paths behind the loaders keep the results of the general ones:
// the code-page decoding, long number fields, the category order, and lists
// filled in one step.

#include "store/codepage.h"
#include "store/fieldreader.h"
#include "support/widgets.h"
#include "ui/main/frmConversion.h"

#include "core/failure.h"

#include <QCollator>
#include <QComboBox>
#include <QStringDecoder>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace quorvel;
using namespace quorvel::test;

class tst_FastPaths : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void decodingMatchesConverter_data();
    void decodingMatchesConverter();
    void longNumberFields_data();
    void longNumberFields();
    void longNumberBeyondRangeOverflows();
    void categoryOrderMatchesCollator();
    void categoryChoiceFillsListsUnselected();
    void loadingAgainAppendsToLists();
    void destroyingWindowWithTypedCategoryRunsNoHandler();

private:
    // The window over a category list, loaded but not shown.
    bool load(const QByteArray &categories)
    {
        return f->writeFile("conversion.txt", categories) && f->load();
    }

    std::unique_ptr<WindowDriver> f;
};

void tst_FastPaths::init()
{
    f = std::make_unique<WindowDriver>();
    QVERIFY(f->folderReady());
}

void tst_FastPaths::cleanup()
{
    QCOMPARE(finish(f), QString());
}

void tst_FastPaths::decodingMatchesConverter_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QByteArray every;
    for (int i = 0; i < 256; ++i)
        every.append(char(i));
    const QByteArray ascii(200, 'a');
    auto withHigh = [&ascii](qsizetype at, char byte) {
        QByteArray bytes = ascii;
        bytes[at] = byte;
        return bytes;
    };
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("every byte, shorter than a block") << every.left(60);
    QTest::newRow("every byte") << every;
    QByteArray backwards = every;
    std::reverse(backwards.begin(), backwards.end());
    QTest::newRow("every byte backwards") << backwards;
    QTest::newRow("ascii only") << ascii;
    QTest::newRow("euro sign first") << withHigh(0, '\x80');
    QTest::newRow("undefined 0x81 last of first block") << withHigh(63, '\x81');
    QTest::newRow("0x9f first of second block") << withHigh(64, '\x9f');
    QTest::newRow("0x9d in the tail after the blocks") << withHigh(199, '\x9d');
    QTest::newRow("0xa0 and 0x7f are not fixed up") << withHigh(100, '\xa0') + "\x7f";
}

void tst_FastPaths::decodingMatchesConverter()
{
    QFETCH(QByteArray, bytes);
    QStringDecoder converter("windows-1252", QStringConverter::Flag::Stateless);
    QVERIFY(converter.isValid());
    const QString expected = converter.decode(bytes);
    QCOMPARE(decodeCodePage(bytes), expected);
}

void tst_FastPaths::longNumberFields_data()
{
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<double>("expected");
    const QByteArray digits63(63, '7');
    QTest::newRow("63 digits") << digits63 << digits63.toDouble();
    QTest::newRow("64 digits") << digits63 + "7" << (digits63 + "7").toDouble();
    QTest::newRow("65 digits") << digits63 + "77" << (digits63 + "77").toDouble();
    const QByteArray longFraction = "0." + QByteArray(80, '3') + "E+2";
    QTest::newRow("long fraction with exponent") << longFraction << longFraction.toDouble();
    const QByteArray longD = "1." + QByteArray(70, '5') + "D-3";
    QTest::newRow("long mantissa, D exponent")
        << longD << QByteArray("1." + QByteArray(70, '5') + "e-3").toDouble();
    QTest::newRow("long underflow reads as zero") << "0." + QByteArray(400, '0') + "1" << 0.0;
    QTest::newRow("long number, text after it")
        << QByteArray(70, '1') + "abc" << QByteArray(70, '1').toDouble();
}

void tst_FastPaths::longNumberFields()
{
    QFETCH(QByteArray, number);
    QFETCH(double, expected);
    FieldReader reader(QString::fromLatin1("\"Unit\"," + number + "\r\n"));
    QCOMPARE(reader.readText(), QStringLiteral("Unit"));
    QCOMPARE(reader.readNumber(), expected);
    QVERIFY(reader.atEnd());
}

void tst_FastPaths::longNumberBeyondRangeOverflows()
{
    FieldReader reader(QString::fromLatin1("1" + QByteArray(400, '0') + "\r\n"), "big.txt");
    try {
        reader.readNumber();
        QFAIL("no failure");
    } catch (const Failure &failure) {
        QCOMPARE(failure.kind(), FailureKind::Overflow);
    }
}

void tst_FastPaths::categoryOrderMatchesCollator()
{
    // Case variants, accents, digits and punctuation, in an order the file
    // gives; equal keys keep the file order.
    const QStringList names = { "weight", "Time", "Área", "area", "Area", "time", "10 Speed",
        "9 Speed", "data storage", "Data-Storage", "Zeta", "éclat", "Eclat", "_under" };
    QByteArray file;
    for (const QString &name : names)
        file += "\"" + name.toLatin1() + "\"\r\n";
    QVERIFY(load(file));

    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    QStringList expected = names;
    std::stable_sort(expected.begin(), expected.end(),
        [&collator](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    QCOMPARE(entries(f->category), expected);
    QCOMPARE(f->category->currentIndex(), -1);
}

void tst_FastPaths::categoryChoiceFillsListsUnselected()
{
    f->writeFile("Length.txt", "\"Feet\",0.3048\r\n\"Inches\",0.0254\r\n\"Meters\",1\r\n");
    QVERIFY(load("\"Length\"\r\n"));
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

void tst_FastPaths::loadingAgainAppendsToLists()
{
    f->writeFile("Time.txt", "\"Hours\",3600\r\n\"Minutes\",60\r\n");
    QVERIFY(load("\"Time\"\r\n"));
    f->category->setCurrentIndex(0);
    f->window->LoadUnits();
    f->from->setCurrentIndex(1);
    f->window->LoadUnits();
    QCOMPARE(entries(f->from), (QStringList { "Hours", "Minutes", "Hours", "Minutes" }));
    QCOMPARE(f->from->currentIndex(), 1);
    QCOMPARE(f->window->UnitNames(), (QStringList { "Hours", "Minutes" }));
    QCOMPARE(f->window->UnitFactors(), (QList<double> { 3600, 60 }));
}

void tst_FastPaths::destroyingWindowWithTypedCategoryRunsNoHandler()
{
    f->writeFile("Time.txt", "\"Hours\",3600\r\n");
    QVERIFY(load("\"Time\"\r\n"));
    f->window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f->window.get()));
    f->category->setFocus();
    f->category->setEditText(QStringLiteral("Time"));
    // The text field loses the focus while the window is destroyed.
    f->window.reset();
}

QTEST_MAIN(tst_FastPaths)
#include "tst_fastpaths.moc"
