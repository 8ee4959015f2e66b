#include "convert/readnumber.h"
#include "core/failure.h"

#include <QLocale>
#include <QTest>

using quorvel::Failure;
using quorvel::FailureKind;
using quorvel::ReadNumber;

class tst_ReadNumber : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void reads_data();
    void reads();
    void overflows_data();
    void overflows();
};

// A typed value reads the same in every locale: the rows run where the comma
// is the decimal separator.
void tst_ReadNumber::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void tst_ReadNumber::reads_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    // Decimal numbers.
    QTest::newRow("whole number") << "42" << 42.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("trailing point") << "5." << 5.0;
    QTest::newRow("plus sign") << "+3" << 3.0;
    QTest::newRow("minus sign") << "-2.25" << -2.25;
    QTest::newRow("leading zeros") << "00012" << 12.0;
    QTest::newRow("comma is no separator") << "1,5" << 1.0;
    QTest::newRow("second point ends the number") << "1.2.3" << 1.2;
    QTest::newRow("double point") << "1..5" << 1.0;

    // Exponents.
    QTest::newRow("exponent e") << "1.5e3" << 1500.0;
    QTest::newRow("exponent E") << "1.5E3" << 1500.0;
    QTest::newRow("exponent D") << "1.5D3" << 1500.0;
    QTest::newRow("exponent d") << "1.5d3" << 1500.0;
    QTest::newRow("negative exponent") << "25E-1" << 2.5;
    QTest::newRow("plus exponent") << "2e+2" << 200.0;
    QTest::newRow("exponent without digits") << "1e" << 1.0;
    QTest::newRow("exponent sign without digits") << "1e+" << 1.0;
    QTest::newRow("exponent letter then text") << "7dx" << 7.0;
    QTest::newRow("exponent with blanks") << "1 e + 3" << 1000.0;
    QTest::newRow("data file exponent form") << "1.5E-05" << 1.5e-5;
    QTest::newRow("exponent without mantissa") << "e5" << 0.0;
    QTest::newRow("point then exponent") << ".e5" << 0.0;

    // Blanks, tabs and line feeds.
    QTest::newRow("blanks between digits") << " 2 45 7" << 2457.0;
    QTest::newRow("sign then blank") << "- 5" << -5.0;
    QTest::newRow("tab and line feed") << "3\t\n4" << 34.0;
    QTest::newRow("carriage return ends") << "3\r4" << 3.0;
    QTest::newRow("trailing blanks") << "8   " << 8.0;

    // Where the number stops.
    QTest::newRow("letters after number") << "12abc" << 12.0;
    QTest::newRow("words after number") << "24 and 57" << 24.0;
    QTest::newRow("double sign") << "--5" << 0.0;

    // No number.
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("lone point") << "." << 0.0;
    QTest::newRow("blanks only") << "   " << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("lone sign") << "-" << 0.0;

    // Range limits.
    QTest::newRow("largest double") << "1.7976931348623157E308" << 1.7976931348623157e308;
    QTest::newRow("smallest subnormal") << "4.9E-324" << 4.9406564584124654e-324;
    QTest::newRow("underflow reads as zero") << "1E-400" << 0.0;
    QTest::newRow("huge negative exponent") << "1e-99999999999999999999" << 0.0;
    QTest::newRow("many leading zeros after point")
        << QString(QStringLiteral("0.") + QString(400, u'0') + u'1') << 0.0;

    // Hexadecimal and octal literals.
    QTest::newRow("hex") << "&HFF" << 255.0;
    QTest::newRow("hex lower case") << "&hff" << 255.0;
    QTest::newRow("hex 16-bit minus one") << "&HFFFF" << -1.0;
    QTest::newRow("hex 16-bit lowest") << "&H8000" << -32768.0;
    QTest::newRow("hex 16-bit highest") << "&H7FFF" << 32767.0;
    QTest::newRow("hex five digits with a leading zero are 32 bits") << "&H0FFFF" << 65535.0;
    QTest::newRow("hex eight digits with leading zeros are 32 bits") << "&H00008000" << 32768.0;
    QTest::newRow("hex four digits with leading zeros are 16 bits") << "&H0001" << 1.0;
    QTest::newRow("hex 32-bit") << "&H10000" << 65536.0;
    QTest::newRow("hex 32-bit minus one") << "&HFFFFFFFF" << -1.0;
    QTest::newRow("hex 32-bit lowest") << "&H80000000" << -2147483648.0;
    QTest::newRow("hex stops at non-digit") << "&H1G" << 1.0;
    QTest::newRow("hex stops at point") << "&H1.5" << 1.0;
    QTest::newRow("hex with blanks") << " & H 1 0" << 16.0;
    QTest::newRow("hex without digits") << "&H" << 0.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal lower case") << "&o17" << 15.0;
    QTest::newRow("octal 16-bit minus one") << "&O177777" << -1.0;
    QTest::newRow("octal 32-bit") << "&O200000" << 65536.0;
    QTest::newRow("octal 32-bit minus one") << "&O37777777777" << -1.0;
    QTest::newRow("octal stops at 8") << "&O78" << 7.0;
    QTest::newRow("ampersand other letter") << "&Q1" << 0.0;
    QTest::newRow("sign before hex") << "-&H1" << 0.0;
}

void tst_ReadNumber::reads()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(ReadNumber(text), expected);
}

void tst_ReadNumber::overflows_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("1E400") << "1E400";
    QTest::newRow("negative 1E400") << "-1E400";
    QTest::newRow("just above the largest double") << "1.7976931348623159E308";
    QTest::newRow("huge exponent") << "1e99999999999999999999";
    QTest::newRow("400 digits") << QString(QLatin1Char('1') + QString(400, u'0'));
    QTest::newRow("hex beyond 32 bits") << "&H100000000";
    QTest::newRow("hex with many digits") << "&HFFFFFFFFFFFFFFFFFFFFFFFF";
    QTest::newRow("hex of nine digits, leading zero") << "&H000000001";
    QTest::newRow("octal beyond 32 bits") << "&O40000000000";
}

void tst_ReadNumber::overflows()
{
    QFETCH(QString, text);
    try {
        const double value = ReadNumber(text);
        QFAIL(qPrintable(QStringLiteral("read as %1").arg(value)));
    } catch (const Failure &failure) {
        QCOMPARE(failure.kind(), FailureKind::Overflow);
    }
}

QTEST_GUILESS_MAIN(tst_ReadNumber)
#include "tst_readnumber.moc"
