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
    QTest::addColumn<bool>("refused");

    QTest::newRow("plain name") << "Frequency" << false;
    QTest::newRow("two words") << "Data Storage" << false;
    QTest::newRow("accented letter") << QString::fromUtf8("Área") << false;
    QTest::newRow("euro sign") << QString::fromUtf8("€uro") << false;
    QTest::newRow("inner dot") << "x.y" << false;
    QTest::newRow("comma and parentheses") << "Speed (nautical), old" << false;
    QTest::newRow("device name inside a word") << "Console" << false;
    QTest::newRow("port name with two digits") << "COM10" << false;
    QTest::newRow("leading blank") << " Padded" << false;
    QTest::newRow("longest file name") << QString(244, u'a') << false;

    QTest::newRow("empty") << "" << true;
    QTest::newRow("same as listed") << "Time" << true;
    QTest::newRow("listed in other case") << "tIME" << true;
    QTest::newRow("marker") << QString::fromUtf16(kNewEntryMarker) << true;
    for (const char *c : { "\\", "/", ":", "*", "?", "\"", "<", ">", "|" })
        QTest::addRow("character %s", c) << QString("a%1b").arg(QLatin1String(c)) << true;
    QTest::newRow("tab") << "a\tb" << true;
    QTest::newRow("line feed") << "a\nb" << true;
    QTest::newRow("NUL") << QString::fromLatin1("a\0b", 3) << true;
    QTest::newRow("DEL") << "a\x7f"
                            "b"
                         << true;
    QTest::newRow("ends in blank") << "Time " << true;
    QTest::newRow("ends in dot") << "Time." << true;
    QTest::newRow("dot") << "." << true;
    QTest::newRow("dot dot") << ".." << true;
    QTest::newRow("CON") << "CON" << true;
    QTest::newRow("con lower case") << "con" << true;
    QTest::newRow("PRN") << "PRN" << true;
    QTest::newRow("AUX mixed case") << "Aux" << true;
    QTest::newRow("NUL device") << "NUL" << true;
    QTest::newRow("COM1") << "COM1" << true;
    QTest::newRow("com9") << "com9" << true;
    QTest::newRow("LPT1") << "LPT1" << true;
    QTest::newRow("lpt9") << "lpt9" << true;
    QTest::newRow("device with extension") << "con.txt" << true;
    QTest::newRow("port with extension") << "COM1.x" << true;
    QTest::newRow("device, blank, extension") << "NUL .old" << true;
    QTest::newRow("outside the code page") << QString::fromUtf8("Длина") << true;
    QTest::newRow("file name too long") << QString(245, u'a') << true;
    QTest::newRow("the category list's file") << "Conversion" << true;
    QTest::newRow("the help file") << "HELP" << true;
    QTest::newRow("long in bytes, short in characters") << QString(200, QChar(0xE9)) << true;
}

void TestNames::categoryNameProblem()
{
    QFETCH(QString, name);
    QFETCH(bool, refused);
    const QStringList existing { "Length", "Time", "Weight" };
    const QString problem = quorvel::categoryNameProblem(name, existing);
    QCOMPARE(!problem.isEmpty(), refused);
    if (refused)
        QVERIFY2(problem.endsWith(u'.'), qPrintable(problem)); // a sentence for the user
}

void TestNames::unitNameProblem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("refused");

    QTest::newRow("plain name") << "Meters" << false;
    QTest::newRow("comma") << "Feet, US survey" << false;
    QTest::newRow("characters a file name may not hold") << "km/h <fast>" << false;
    QTest::newRow("micro sign") << QString::fromUtf8("µm") << false;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("double quote") << "6\" pipe" << true;
    QTest::newRow("carriage return") << "a\rb" << true;
    QTest::newRow("line feed") << "a\nb" << true;
    QTest::newRow("other control character") << "a\x01"
                                                "b"
                                             << true;
    QTest::newRow("outside the code page") << QString::fromUtf8("Ångström Ω") << true;
    QTest::newRow("marker") << QString::fromUtf16(kNewEntryMarker) << true;
}

void TestNames::unitNameProblem()
{
    QFETCH(QString, name);
    QFETCH(bool, refused);
    const QString problem = quorvel::unitNameProblem(name);
    QCOMPARE(!problem.isEmpty(), refused);
}

QTEST_GUILESS_MAIN(TestNames)
#include "tst_names.moc"
