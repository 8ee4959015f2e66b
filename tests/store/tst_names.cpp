// Names: the order a unit takes among the others, and the rules for new
// category and unit names.
#include "store/datastore.h"
#include "support/row.h"

#include <QTest>

using namespace quorvel;
using quorvel::test::row;

class TestNames : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void insertsByName_data();
    void insertsByName();

    void categoryNameProblem_data();
    void categoryNameProblem();
    void unitNameProblem_data();
    void unitNameProblem();
};

void TestNames::insertsByName_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("added");
    QTest::addColumn<QStringList>("expected");

    row("into a sorted table", QStringList { "Days", "Hours", "Minutes", "Seconds" }, "Fortnights",
        QStringList { "Days", "Fortnights", "Hours", "Minutes", "Seconds" });
    row("one pass only on an unsorted table", QStringList { "Meters", "Feet", "Inches" },
        "Centimeters", QStringList { "Centimeters", "Meters", "Feet", "Inches" });
    row("pass keeps running after a pair in order", QStringList { "B", "A", "C" }, "D",
        QStringList { "A", "B", "C", "D" });
    row("between two", QStringList { "Feet", "Meters" }, "Inches",
        QStringList { "Feet", "Inches", "Meters" });
    row("lower case after upper case", QStringList { "Feet", "Meters" }, "feet",
        QStringList { "Feet", "Meters", "feet" });
    row("upper case before lower case", QStringList { "inches", "yards" }, "Zebra",
        QStringList { "Zebra", "inches", "yards" });
    row("prefix is the lesser", QStringList { "Feet", "Foot" }, "Fee",
        QStringList { "Fee", "Feet", "Foot" });
    row("duplicate after the existing one", QStringList { "Feet", "Meters" }, "Feet",
        QStringList { "Feet", "Feet", "Meters" });
    row("first unit of an empty table", QStringList {}, "Meters", QStringList { "Meters" });
    row("blank orders before letters", QStringList { "A" }, " Z", QStringList { " Z", "A" });
    row("code units, not alphabet", QStringList { "Zulu" }, QString::fromUtf8("Ärmel"),
        QStringList { "Zulu", QString::fromUtf8("Ärmel") });
}

void TestNames::insertsByName()
{
    QFETCH(QStringList, names);
    QFETCH(QString, added);
    QFETCH(QStringList, expected);
    UnitTable units;
    for (qsizetype i = 0; i < names.size(); ++i) {
        units.names.append(names[i]);
        units.factors.append(double(i + 1)); // factors tell the entries apart
    }
    insertUnitByName(units, added, 1000);

    QCOMPARE(units.names, expected);
    QCOMPARE(units.factors.size(), expected.size());
    // Each factor travelled with its name; the new unit's is 1000, and of two
    // equal names the new one is the later.
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const double factor = units.factors[i];
        if (factor == 1000) {
            QCOMPARE(units.names[i], added);
            QVERIFY(i + 1 >= expected.size() || units.names[i + 1] != added);
        } else {
            QCOMPARE(units.names[i], names[qsizetype(factor) - 1]);
        }
    }
}

void TestNames::categoryNameProblem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Cause>("refused");

    QTest::newRow("plain name") << "Frequency" << Cause::None;
    QTest::newRow("two words") << "Data Storage" << Cause::None;
    QTest::newRow("accented letter") << QString::fromUtf8("Área") << Cause::None;
    QTest::newRow("euro sign") << QString::fromUtf8("€uro") << Cause::None;
    QTest::newRow("inner dot") << "x.y" << Cause::None;
    QTest::newRow("comma and parentheses") << "Speed (nautical), old" << Cause::None;
    QTest::newRow("device name inside a word") << "Console" << Cause::None;
    QTest::newRow("port name with two digits") << "COM10" << Cause::None;
    QTest::newRow("leading blank") << " Padded" << Cause::None;
    QTest::newRow("longest file name") << QString(244, u'a') << Cause::None;

    QTest::newRow("empty") << "" << Cause::CategoryNameEmpty;
    QTest::newRow("same as listed") << "Time" << Cause::CategoryExists;
    QTest::newRow("listed in other case") << "tIME" << Cause::CategoryExists;
    QTest::newRow("marker") << QString::fromUtf16(kNewEntryMarker) << Cause::CategoryNameReserved;
    for (const char *c : { "\\", "/", ":", "*", "?", "\"", "<", ">", "|" })
        QTest::addRow("character %s", c)
            << QString("a%1b").arg(QLatin1String(c)) << Cause::CategoryNameCharacter;
    QTest::newRow("tab") << "a\tb" << Cause::CategoryNameControl;
    QTest::newRow("line feed") << "a\nb" << Cause::CategoryNameControl;
    QTest::newRow("NUL") << QString::fromLatin1("a\0b", 3) << Cause::CategoryNameControl;
    QTest::newRow("DEL") << "a\x7f"
                            "b"
                         << Cause::CategoryNameControl;
    QTest::newRow("ends in blank") << "Time " << Cause::CategoryNameEnd;
    QTest::newRow("ends in dot") << "Time." << Cause::CategoryNameEnd;
    QTest::newRow("dot") << "." << Cause::CategoryNameReserved;
    QTest::newRow("dot dot") << ".." << Cause::CategoryNameReserved;
    QTest::newRow("CON") << "CON" << Cause::DeviceName;
    QTest::newRow("con lower case") << "con" << Cause::DeviceName;
    QTest::newRow("PRN") << "PRN" << Cause::DeviceName;
    QTest::newRow("AUX mixed case") << "Aux" << Cause::DeviceName;
    QTest::newRow("NUL device") << "NUL" << Cause::DeviceName;
    QTest::newRow("COM1") << "COM1" << Cause::DeviceName;
    QTest::newRow("com9") << "com9" << Cause::DeviceName;
    QTest::newRow("LPT1") << "LPT1" << Cause::DeviceName;
    QTest::newRow("lpt9") << "lpt9" << Cause::DeviceName;
    QTest::newRow("device with extension") << "con.txt" << Cause::DeviceName;
    QTest::newRow("port with extension") << "COM1.x" << Cause::DeviceName;
    QTest::newRow("device, blank, extension") << "NUL .old" << Cause::DeviceName;
    QTest::newRow("outside the code page")
        << QString::fromUtf8("Длина") << Cause::CategoryNameCodePage;
    QTest::newRow("file name too long") << QString(245, u'a') << Cause::NameTooLong;
    QTest::newRow("the category list's file") << "Conversion" << Cause::CategoryNameReserved;
    QTest::newRow("the help file") << "HELP" << Cause::CategoryNameReserved;
    QTest::newRow("long in bytes, short in characters")
        << QString(200, QChar(0xE9)) << Cause::NameTooLong;
}

void TestNames::categoryNameProblem()
{
    QFETCH(QString, name);
    QFETCH(Cause, refused);
    const QStringList existing { "Length", "Time", "Weight" };
    QCOMPARE(quorvel::categoryNameProblem(name, existing).value_or(Reason {}).cause, refused);
}

void TestNames::unitNameProblem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Cause>("refused");

    QTest::newRow("plain name") << "Meters" << Cause::None;
    QTest::newRow("comma") << "Feet, US survey" << Cause::None;
    QTest::newRow("characters a file name may not hold") << "km/h <fast>" << Cause::None;
    QTest::newRow("micro sign") << QString::fromUtf8("µm") << Cause::None;
    QTest::newRow("empty") << "" << Cause::UnitNameEmpty;
    QTest::newRow("double quote") << "6\" pipe" << Cause::UnitNameQuote;
    QTest::newRow("carriage return") << "a\rb" << Cause::UnitNameControl;
    QTest::newRow("line feed") << "a\nb" << Cause::UnitNameControl;
    QTest::newRow("other control character") << "a\x01"
                                                "b"
                                             << Cause::UnitNameControl;
    QTest::newRow("outside the code page")
        << QString::fromUtf8("Ångström Ω") << Cause::UnitNameCodePage;
    QTest::newRow("marker") << QString::fromUtf16(kNewEntryMarker) << Cause::UnitNameReserved;
}

void TestNames::unitNameProblem()
{
    QFETCH(QString, name);
    QFETCH(Cause, refused);
    QCOMPARE(quorvel::unitNameProblem(name).value_or(Reason {}).cause, refused);
}

QTEST_GUILESS_MAIN(TestNames)
#include "tst_names.moc"
