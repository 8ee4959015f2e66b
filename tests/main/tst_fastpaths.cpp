// The fast paths behind the loaders keep the results of the general ones:
// the code-page decoding, long number fields, the category order, and lists
// filled in one step.

#include "platform/services.h"
#include "store/codepage.h"
#include "store/fieldreader.h"
#include "ui/main/frmConversion.h"

#include "core/failure.h"

#include <QCollator>
#include <QComboBox>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace quorvel;

class tst_FastPaths : public QObject {
    Q_OBJECT

private Q_SLOTS:
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
    std::unique_ptr<frmConversion> makeWindow(const QByteArray &categories);
    void write(const QString &name, const QByteArray &bytes);
    QComboBox *combo(frmConversion &w, const char *name);

    QTemporaryDir m_dir;
};

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

void tst_FastPaths::write(const QString &name, const QByteArray &bytes)
{
    QFile file(m_dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

std::unique_ptr<frmConversion> tst_FastPaths::makeWindow(const QByteArray &categories)
{
    write(QStringLiteral("conversion.txt"), categories);
    auto w = std::make_unique<frmConversion>(m_dir.path(), platform::systemServices());
    w->Form_Load();
    return w;
}

QComboBox *tst_FastPaths::combo(frmConversion &w, const char *name)
{
    return w.findChild<QComboBox *>(QLatin1String(name));
}

static QStringList entriesOf(const QComboBox *list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries.append(list->itemText(i));
    return entries;
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
    const auto w = makeWindow(file);

    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    QStringList expected = names;
    std::stable_sort(expected.begin(), expected.end(),
        [&collator](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    QCOMPARE(entriesOf(combo(*w, "cboConversionType")), expected);
    QCOMPARE(combo(*w, "cboConversionType")->currentIndex(), -1);
}

void tst_FastPaths::categoryChoiceFillsListsUnselected()
{
    write(QStringLiteral("Length.txt"), "\"Feet\",0.3048\r\n\"Inches\",0.0254\r\n\"Meters\",1\r\n");
    const auto w = makeWindow("\"Length\"\r\n");
    QComboBox *type = combo(*w, "cboConversionType");
    QComboBox *from = combo(*w, "cboConvFrom");
    QComboBox *to = combo(*w, "cboConvTo");
    const QStringList units = { "Feet", "Inches", "Meters" };

    // Twice: a second choice of the same category lists its units once.
    for (int round = 0; round < 2; ++round) {
        type->setCurrentIndex(0);
        Q_EMIT type->activated(0);
        QCOMPARE(entriesOf(from), units);
        QCOMPARE(entriesOf(to), units);
        QCOMPARE(w->UnitNames(), units);
        QCOMPARE(from->currentIndex(), -1);
        QCOMPARE(to->currentIndex(), -1);
        QCOMPARE(from->currentText(), QStringLiteral("Convert From"));
        QCOMPARE(to->currentText(), QStringLiteral("Convert To"));
    }
    // Entries filled in one step can be replaced one by one.
    from->setItemText(1, QStringLiteral("Yards"));
    QCOMPARE(from->itemText(1), QStringLiteral("Yards"));
    QCOMPARE(to->itemText(1), QStringLiteral("Inches"));
    QCOMPARE(w->UnitNames().at(1), QStringLiteral("Inches"));
}

void tst_FastPaths::loadingAgainAppendsToLists()
{
    write(QStringLiteral("Time.txt"), "\"Hours\",3600\r\n\"Minutes\",60\r\n");
    const auto w = makeWindow("\"Time\"\r\n");
    QComboBox *type = combo(*w, "cboConversionType");
    QComboBox *from = combo(*w, "cboConvFrom");
    type->setCurrentIndex(0);
    w->LoadUnits();
    from->setCurrentIndex(1);
    w->LoadUnits();
    QCOMPARE(entriesOf(from), (QStringList { "Hours", "Minutes", "Hours", "Minutes" }));
    QCOMPARE(from->currentIndex(), 1);
    QCOMPARE(w->UnitNames(), (QStringList { "Hours", "Minutes" }));
    QCOMPARE(w->UnitFactors(), (QList<double> { 3600, 60 }));
}

void tst_FastPaths::destroyingWindowWithTypedCategoryRunsNoHandler()
{
    write(QStringLiteral("Time.txt"), "\"Hours\",3600\r\n");
    auto w = makeWindow("\"Time\"\r\n");
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QComboBox *type = combo(*w, "cboConversionType");
    type->setFocus();
    type->setEditText(QStringLiteral("Time"));
    // The text field loses the focus while the window is destroyed.
    w.reset();
}

QTEST_MAIN(tst_FastPaths)
#include "tst_fastpaths.moc"
