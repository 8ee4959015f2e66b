#include "core/failure.h"
#include "store/codepage.h"
#include "store/fieldreader.h"
#include "store/fieldwriter.h"
#include "support/row.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace quorvel;
using quorvel::test::row;

Q_DECLARE_METATYPE(quorvel::FailureKind)

namespace {

// One record's worth of reads, written as a pattern: T reads a text field,
// N a number field.
struct Reads {
    QStringList texts;
    QList<double> numbers;
};

Reads readAll(FieldReader &reader, QStringView pattern)
{
    Reads result;
    // A loop guard: a reader that stops advancing must fail, not hang.
    for (int guard = 0; !reader.atEnd() && guard < 100000; ++guard) {
        for (const QChar step : pattern) {
            if (step == u'T')
                result.texts.append(reader.readText());
            else
                result.numbers.append(reader.readNumber());
        }
        reader.endRecord();
    }
    return result;
}

} // namespace

class TestFieldReader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void readsTextFields_data();
    void readsTextFields();
    void readsRecords_data();
    void readsRecords();
    void notesSkippedText_data();
    void notesSkippedText();
    void readsNumberForms_data();
    void readsNumberForms();
    void numberBeyondDoubleRangeOverflows();
    void readingPastTheEndFails_data();
    void readingPastTheEndFails();
    void countsLines_data();
    void countsLines();
    void finalLineEndEndsTheText_data();
    void finalLineEndEndsTheText();
    void onlyBlanksLeft_data();
    void onlyBlanksLeft();
    void survivesHostileInput_data();
    void survivesHostileInput();

    void writesRecords_data();
    void writesRecords();
    void roundTripsThroughWriterAndReader_data();
    void roundTripsThroughWriterAndReader();

    void codePageRoundTripsUpperHalf();
    void codePageDecodingMatchesConverter_data();
    void codePageDecodingMatchesConverter();
    void codePageRefusesForeignCharacters_data();
    void codePageRefusesForeignCharacters();
};

// Data files use "." whatever the user's locale: every row reads and writes
// under one whose decimal separator is the comma.
void TestFieldReader::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestFieldReader::readsTextFields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    row("quoted lines with CR LF", "\"Length\"\r\n\"Time\"\r\n\"Weight\"\r\n",
        QStringList { "Length", "Time", "Weight" });
    row("comma inside quotes belongs to the text", "\"Meters, metric\"\r\n",
        QStringList { "Meters, metric" });
    row("two fields on one line", "\"A\",\"B\"\r\n", QStringList { "A", "B" });
    row("empty line reads as empty text", "\"A\"\r\n\r\n\"B\"\r\n", QStringList { "A", "", "B" });
    row("empty last line is one more empty text", "\"A\"\r\n\r\n", QStringList { "A", "" });
    row("empty quoted field", "\"\"\r\n", QStringList { "" });
    row("lone LF ends lines", "\"A\"\n\"B\"\n", QStringList { "A", "B" });
    row("lone CR ends lines", "\"A\"\r\"B\"\r", QStringList { "A", "B" });
    row("LF CR is two line ends", "\"A\"\n\r\"B\"", QStringList { "A", "", "B" });
    row("no line end after the last field", "\"A\"\r\n\"B\"", QStringList { "A", "B" });
    row("blanks before a field skipped", "  \t\"A\",   \"B\"\r\n", QStringList { "A", "B" });
    row("blanks inside quotes kept", "\"  A  \"\r\n", QStringList { "  A  " });
    row("unquoted field up to comma, trailing blanks trimmed", "Feet  ,Inches\t\r\n",
        QStringList { "Feet", "Inches" });
    row("unquoted field keeps inner quote", "ab\"c\r\n", QStringList { "ab\"c" });
    row("text after closing quote skipped", "\"A\"junk,\"B\" x\r\n", QStringList { "A", "B" });
    row("quoted field spans lines", "\"two\r\nlines\"\r\n", QStringList { "two\r\nlines" });
    row("unterminated quote runs to the end", "\"A\"\r\n\"open, and\r\nmore",
        QStringList { "A", "open, and\r\nmore" });
    row("NUL byte is an ordinary character", QString::fromLatin1("\"a\0b\"\r\n", 7),
        QStringList { QString::fromLatin1("a\0b", 3) });
    row("blanks only after last line read as empty text", "\"A\"\r\n   ", QStringList { "A", "" });
}

void TestFieldReader::readsTextFields()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    FieldReader reader(text);
    QCOMPARE(readAll(reader, u"T").texts, expected);
    QVERIFY(reader.atEnd());
}

void TestFieldReader::readsRecords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<double>>("factors");

    row("unit file as written",
        "\"Days\",86400\r\n\"Hours\",3600\r\n\"Minutes\",60\r\n\"Seconds\",1\r\n",
        QStringList { "Days", "Hours", "Minutes", "Seconds" },
        QList<double> { 86400, 3600, 60, 1 });
    row("record spread over lines", "\"Feet\"\r\n0.3048\r\n\"Inches\",\r\n0.0254\r\n",
        QStringList { "Feet", "Inches" }, QList<double> { 0.3048, 0.0254 });
    row("two records on one line", "\"Feet\",0.3048,\"Inches\",0.0254\r\n",
        QStringList { "Feet", "Inches" }, QList<double> { 0.3048, 0.0254 });
    row("missing factor taken from the next line", "\"Feet\"\r\n\"Inches\",0.0254\r\n5\r\n",
        QStringList { "Feet", "0.0254" }, QList<double> { 0, 5 });
    row("blank lines before a factor skipped", "\"Feet\",\r\n\r\n  \r\n0.3048\r\n",
        QStringList { "Feet" }, QList<double> { 0.3048 });
    row("factor that is not a number reads as 0", "\"Feet\",about a third\r\n",
        QStringList { "Feet" }, QList<double> { 0 });
    row("empty factor reads as 0", "\"Feet\",,\"Yards\",0.9144\r\n",
        QStringList { "Feet", "Yards" }, QList<double> { 0, 0.9144 });
    row("quoted factor reads its text", "\"Feet\",\"0.3048\"\r\n", QStringList { "Feet" },
        QList<double> { 0.3048 });
    row("lone LF and lone CR between records", "\"A\",1\n\"B\",2\r\"C\",3",
        QStringList { "A", "B", "C" }, QList<double> { 1, 2, 3 });
}

void TestFieldReader::readsRecords()
{
    QFETCH(QString, text);
    QFETCH(QStringList, names);
    QFETCH(QList<double>, factors);
    FieldReader reader(text);
    const Reads reads = readAll(reader, u"TN");
    QCOMPARE(reads.texts, names);
    QCOMPARE(reads.numbers, factors);
}

void TestFieldReader::notesSkippedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern"); // one record's reads, as readAll takes them
    QTest::addColumn<int>("line"); // where the skipped text is; 0 for none
    QTest::addColumn<Cause>("what");

    row("a unit file as written", "\"Feet\",0.3048\r\n\"Inches\",.0254\r\n", "TN", 0, Cause::None);
    row("forms the writer normalises", " \"Feet\" ,3.048E-1 \n\"Inches\"\r\n0.0254", "TN", 0,
        Cause::None);
    row("text after a closing quote", "\"A\"\r\n\"Len\"g\"th\"\r\n", "T", 2, Cause::TextAfterQuote);
    row("a quote never closed", "\"A\"\r\n\"open", "T", 2, Cause::UnclosedQuote);
    row("two categories on a line", "\"A\",\"B\"\r\n", "T", 1, Cause::ExtraFields);
    row("fields beyond a unit", "\"Yards\",0.9144,a,5\r\n", "TN", 1, Cause::ExtraFields);
    row("text after a factor", "\"Meters\",1 ; SI\r\n", "TN", 1, Cause::TextAfterNumber);
    row("a factor that is not a number", "\"Feet\",abc\r\n", "TN", 1, Cause::NotANumber);
    row("a factor too small to keep", "\"Tiny\",1E-400\r\n", "TN", 1, Cause::NumberTooSmall);
}

// What a rewrite of the records read would lose.
void TestFieldReader::notesSkippedText()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(int, line);
    QFETCH(Cause, what);
    FieldReader reader(text);
    readAll(reader, pattern);
    const std::optional<SkippedText> &noted = reader.skipped();
    QCOMPARE(noted ? noted->line : 0, line);
    QCOMPARE(noted ? noted->what : Cause::None, what);
}

void TestFieldReader::readsNumberForms_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("expected");

    QTest::newRow("whole") << "86400" << 86400.0;
    QTest::newRow("no zero before point") << ".0254" << 0.0254;
    QTest::newRow("zero before point") << "0.0254" << 0.0254;
    QTest::newRow("negative") << "-3" << -3.0;
    QTest::newRow("negative fraction without zero") << "-.5" << -0.5;
    QTest::newRow("plus sign") << "+2.5" << 2.5;
    QTest::newRow("large exponent form") << "1E+15" << 1e15;
    QTest::newRow("small exponent form") << "1.5E-05" << 1.5e-5;
    QTest::newRow("lower-case exponent") << "2e3" << 2000.0;
    QTest::newRow("D as exponent letter") << "1D+3" << 1000.0;
    QTest::newRow("fifteen digits") << "0.123456789012345" << 0.123456789012345;
    QTest::newRow("blanks around") << "  12  " << 12.0;
    QTest::newRow("trailing letters ignored") << "12abc" << 12.0;
    QTest::newRow("letters only") << "abc" << 0.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("two signs") << "+-5" << 0.0;
    QTest::newRow("point only") << "." << 0.0;
    QTest::newRow("exponent without mantissa") << "E5" << 0.0;
    QTest::newRow("infinity word") << "inf" << 0.0;
    QTest::newRow("not-a-number word") << "nan" << 0.0;
    QTest::newRow("hexadecimal is not read") << "0x10" << 0.0;
    QTest::newRow("below the smallest double") << "1E-400" << 0.0;
    QTest::newRow("underflow by position") << ("0." + QString(400, u'0') + "1") << 0.0;
    QTest::newRow("smallest subnormal") << "5E-324" << 5e-324;
    // Past the 64 characters the scanner keeps on the stack.
    const QString digits63(63, u'7');
    QTest::newRow("63 digits") << digits63 << digits63.toDouble();
    QTest::newRow("65 digits") << digits63 + "77" << (digits63 + "77").toDouble();
    const QString longFraction = "0." + QString(80, u'3') + "E+2";
    QTest::newRow("long fraction with exponent") << longFraction << longFraction.toDouble();
    QTest::newRow("long mantissa, D exponent")
        << "1." + QString(70, u'5') + "D-3" << ("1." + QString(70, u'5') + "e-3").toDouble();
}

void TestFieldReader::readsNumberForms()
{
    QFETCH(QString, field);
    QFETCH(double, expected);
    FieldReader reader(field + "\r\n");
    const double value = reader.readNumber();
    QCOMPARE(value, expected);
    QVERIFY(reader.atEnd());
}

void TestFieldReader::numberBeyondDoubleRangeOverflows()
{
    const QStringList fields { "1E400", "-2E+309", QString(400, u'9'), "0.001E312" };
    for (const QString &field : fields) {
        FieldReader reader("\"A\",1\r\n\"B\"," + field + "\r\n", "units.txt");
        reader.readText();
        reader.readNumber();
        reader.readText();
        try {
            reader.readNumber();
            QFAIL(qPrintable("no failure for " + field));
        } catch (const Failure &failure) {
            QCOMPARE(failure.kind(), FailureKind::Overflow);
            QCOMPARE(failure.path(), QString("units.txt"));
            QCOMPARE(failure.line(), 2);
        }
    }
}

void TestFieldReader::readingPastTheEndFails_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("line");

    row("text field of empty text", "", "T", 1);
    row("name without factor, CR LF", "\"A\",1\r\n\"B\",2\r\n\"C\"\r\n", "TNTNTN", 3);
    row("name without factor, no line end", "\"A\",1\r\n\"B\"", "TNTN", 2);
    row("name and comma without factor", "\"A\",1\r\n\"B\",", "TNTN", 2);
    row("name then blank lines", "\"A\",1\r\n\"B\"\r\n\r\n  \r\n", "TNTN", 2);
    row("missing factor shifts the records to the end", "\"Feet\"\r\n\"Inches\",0.0254\r\n", "TNTN",
        2);
    row("text after the last record", "\"A\"\r\n", "TT", 1);
}

void TestFieldReader::readingPastTheEndFails()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(int, line);
    FieldReader reader(text, "Time.txt");
    try {
        for (const QChar step : pattern) {
            if (step == u'T')
                reader.readText();
            else
                reader.readNumber();
        }
        QFAIL("read past the end without failure");
    } catch (const Failure &failure) {
        QCOMPARE(failure.kind(), FailureKind::InputPastEndOfFile);
        QCOMPARE(failure.path(), QString("Time.txt"));
        QCOMPARE(failure.line(), line);
    }
}

void TestFieldReader::countsLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("lines"); // line() before each text field

    QTest::newRow("CR LF") << "\"A\"\r\n\"B\"\r\n\"C\"\r\n" << QList<int> { 1, 2, 3 };
    QTest::newRow("lone LF") << "\"A\"\n\"B\"\n" << QList<int> { 1, 2 };
    QTest::newRow("lone CR") << "\"A\"\r\"B\"\r" << QList<int> { 1, 2 };
    QTest::newRow("two fields on a line") << "\"A\",\"B\"\r\n\"C\"" << QList<int> { 1, 1, 2 };
    QTest::newRow("line ends inside quotes") << "\"A\r\nB\nC\rD\"\r\n\"E\"" << QList<int> { 1, 5 };
    QTest::newRow("empty lines") << "\r\n\r\n\"C\"" << QList<int> { 1, 2, 3 };
}

void TestFieldReader::countsLines()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, lines);
    FieldReader reader(text);
    QList<int> seen;
    while (!reader.atEnd()) {
        seen.append(reader.line());
        reader.readText();
    }
    QCOMPARE(seen, lines);
}

void TestFieldReader::finalLineEndEndsTheText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("records");

    QTest::newRow("CR LF after the last record") << "\"A\",1\r\n\"B\",2\r\n" << 2;
    QTest::newRow("LF after the last record") << "\"A\",1\n" << 1;
    QTest::newRow("CR after the last record") << "\"A\",1\r" << 1;
    QTest::newRow("nothing after the last record") << "\"A\",1" << 1;
    QTest::newRow("empty text") << "" << 0;
}

void TestFieldReader::finalLineEndEndsTheText()
{
    QFETCH(QString, text);
    QFETCH(int, records);
    FieldReader reader(text);
    QCOMPARE(readAll(reader, u"TN").texts.size(), records);
    QVERIFY(reader.atEnd());
}

void TestFieldReader::onlyBlanksLeft_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("blank");

    QTest::newRow("empty") << "" << true;
    QTest::newRow("line ends") << "\r\n\n\r" << true;
    QTest::newRow("blanks and tabs") << " \t \r\n " << true;
    QTest::newRow("a field after blank lines") << "\r\n\r\n\"A\"" << false;
    QTest::newRow("a NUL byte") << QString(1, QChar(0)) << false;
}

void TestFieldReader::onlyBlanksLeft()
{
    QFETCH(QString, text);
    QFETCH(bool, blank);
    const FieldReader reader(text);
    QCOMPARE(reader.onlyBlanksLeft(), blank);
    QCOMPARE(reader.onlyBlanksLeft(), blank); // asking again changes nothing
}

void TestFieldReader::survivesHostileInput_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("firstField");

    const QString longName(10 * 1024 * 1024, u'x');
    QTest::newRow("10 MB quoted line") << "\"" + longName + "\"\r\n" << longName;
    QTest::newRow("10 MB unquoted line") << longName << longName;
    QTest::newRow("10 MB unterminated quote") << "\"" + longName << longName;
    QByteArray garbage;
    for (int round = 0; round < 64; ++round) {
        for (int byte = 0; byte < 256; ++byte)
            garbage.append(char((byte * 37 + round * 11) & 0xFF));
    }
    const QString decoded = decodeCodePage(garbage);
    const qsizetype stop = decoded.indexOf(QRegularExpression("[,\r\n]"));
    QTest::newRow("binary garbage") << decoded << decoded.left(stop);
    QTest::newRow("NUL bytes only") << QString(1000, QChar(0)) << QString(1000, QChar(0));
}

void TestFieldReader::survivesHostileInput()
{
    QFETCH(QString, text);
    QFETCH(QString, firstField);
    {
        FieldReader reader(text);
        QCOMPARE(reader.readText(), firstField);
    }
    // Reading the rest as unit records either ends or fails cleanly.
    FieldReader reader(text);
    try {
        readAll(reader, u"TN");
        QVERIFY(reader.atEnd());
    } catch (const Failure &failure) {
        QVERIFY(failure.kind() == FailureKind::InputPastEndOfFile
            || failure.kind() == FailureKind::Overflow);
    }
}

void TestFieldReader::writesRecords_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<double>>("factors"); // empty: one-field records
    QTest::addColumn<QString>("expected");

    row("no records", QStringList {}, QList<double> {}, QString());
    row("category records", QStringList { "Length", "Time" }, QList<double> {},
        "\"Length\"\r\n\"Time\"\r\n");
    row("empty name", QStringList { "" }, QList<double> {}, "\"\"\r\n");
    row("comma and blanks kept inside quotes", QStringList { " a, b " }, QList<double> {},
        "\" a, b \"\r\n");
    row("unit records", QStringList { "Days", "Seconds" }, QList<double> { 86400, 1 },
        "\"Days\",86400\r\n\"Seconds\",1\r\n");
    row("fraction below one", QStringList { "Inches" }, QList<double> { 0.0254 },
        "\"Inches\",0.0254\r\n");
    row("large magnitude in exponent form", QStringList { "Big" }, QList<double> { 1e15 },
        "\"Big\",1E+15\r\n");
    row("small magnitude in exponent form", QStringList { "Small" }, QList<double> { 1.5e-5 },
        "\"Small\",1.5E-05\r\n");
    row("negative whole number", QStringList { "Minus" }, QList<double> { -3 }, "\"Minus\",-3\r\n");
    row("an exact half keeps its even digit", QStringList { "Half" },
        QList<double> { 1000000000000005.0 }, "\"Half\",1E+15\r\n");
    row("fifteen significant digits", QStringList { "Pi" },
        QList<double> { 3.14159265358979323846 }, "\"Pi\",3.14159265358979\r\n");
}

void TestFieldReader::writesRecords()
{
    QFETCH(QStringList, names);
    QFETCH(QList<double>, factors);
    QFETCH(QString, expected);
    RecordWriter writer;
    for (qsizetype i = 0; i < names.size(); ++i) {
        writer.addText(names[i]);
        if (!factors.isEmpty())
            writer.addNumber(factors[i]);
        writer.endRecord();
    }
    QCOMPARE(writer.text(), expected);
}

void TestFieldReader::roundTripsThroughWriterAndReader_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("factor");

    QTest::newRow("name with commas") << "Feet, US survey, old" << 0.304800609601219;
    QTest::newRow("fifteen digits, large") << "Large" << 123456789012345.0;
    QTest::newRow("fifteen digits, tiny") << "Tiny" << 1.23456789012345e-300;
    QTest::newRow("fifteen digits, negative") << "Negative" << -9.87654321098765e20;
    QTest::newRow("largest double with fifteen digits") << "Huge" << 1.79769313486231e308;
    QTest::newRow("leading and trailing blanks") << "  padded  " << 2.5;
    QTest::newRow("zero factor") << "Zero" << 0.0;
}

void TestFieldReader::roundTripsThroughWriterAndReader()
{
    QFETCH(QString, name);
    QFETCH(double, factor);
    RecordWriter writer;
    writer.addText(name);
    writer.addNumber(factor);
    writer.endRecord();
    writer.addText(u"After");
    writer.addNumber(1);
    writer.endRecord();

    FieldReader reader(writer.text());
    QCOMPARE(reader.readText(), name);
    QCOMPARE(reader.readNumber(), factor);
    QCOMPARE(reader.readText(), QString("After"));
    QCOMPARE(reader.readNumber(), 1.0);
    QVERIFY(reader.atEnd());
}

void TestFieldReader::codePageRoundTripsUpperHalf()
{
    QByteArray bytes;
    for (int byte = 0x80; byte <= 0xFF; ++byte)
        bytes.append(char(byte));
    const QString text = decodeCodePage(bytes);
    QCOMPARE(text.size(), bytes.size());
    QCOMPARE(text.at(0), QChar(0x20AC)); // the euro sign
    QCOMPARE(text.at(0xC1 - 0x80), QChar(0x00C1)); // Á
    const std::optional<QByteArray> back = encodeCodePage(text);
    QVERIFY(back.has_value());
    QCOMPARE(*back, bytes);
}

void TestFieldReader::codePageDecodingMatchesConverter_data()
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

void TestFieldReader::codePageDecodingMatchesConverter()
{
    QFETCH(QByteArray, bytes);
#ifdef Q_OS_WIN
    QSKIP("the system's own conversion there, which win32_smoke checks byte by byte");
#endif
    QStringDecoder converter("windows-1252", QStringConverter::Flag::Stateless);
    QVERIFY(converter.isValid());
    const QString expected = converter.decode(bytes);
    QCOMPARE(decodeCodePage(bytes), expected);
}

void TestFieldReader::codePageRefusesForeignCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("carried");

    QTest::newRow("plain ASCII") << "Meters" << true;
    QTest::newRow("accented Latin") << QString::fromUtf8("Área, Größe") << true;
    QTest::newRow("euro sign") << QString::fromUtf8("€") << true;
    QTest::newRow("Greek omega") << QString::fromUtf8("Ω") << false;
    QTest::newRow("CJK") << QString::fromUtf8("メートル") << false;
    QTest::newRow("emoji") << QString::fromUtf8("Feet 😀") << false;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << false;
}

void TestFieldReader::codePageRefusesForeignCharacters()
{
    QFETCH(QString, text);
    QFETCH(bool, carried);
    QCOMPARE(codePageCanCarry(text), carried);
    QCOMPARE(encodeCodePage(text).has_value(), carried);
    // One refusal must not taint the next text.
    QVERIFY(codePageCanCarry(u"Meters"));
}

QTEST_GUILESS_MAIN(TestFieldReader)
#include "tst_fieldreader.moc"
