#include "convert/calculation.h"
#include "convert/outputformat.h"
#include "convert/readnumber.h"
#include "core/failure.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <limits>

using namespace quorvel;

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Digits of the mantissa without leading zeros, e.g. 3 for "-0.00123E-05".
int significantDigits(const QString &text)
{
    int count = 0;
    bool started = false;
    for (QChar c : text) {
        if (c == u'E')
            break;
        if (!c.isDigit())
            continue;
        if (c != u'0')
            started = true;
        if (started)
            ++count;
    }
    return count;
}

} // namespace

class tst_OutputFormat : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void examples_data();
    void examples();
    void plainForm_data();
    void plainForm();
    void commaLocale_data();
    void commaLocale();
    void conversions_data();
    void conversions();
    void shownAgain_data();
    void shownAgain();
    void failures_data();
    void failures();
    void plainFormRoundTrip();
};

void tst_OutputFormat::examples_data()
{
    QTest::addColumn<double>("q");
    QTest::addColumn<OutputMode>("mode");
    QTest::addColumn<QString>("expected");

    struct Example {
        const char *name;
        double q;
        const char *plain;
        const char *scientific[5]; // 3, 6, 9, 12 and 15 decimals
    };
    const Example examples[] = {
        { "1234.5678", 1234.5678, "1234.5678",
            { "1.235 e+3 ", "1.234568 e+3 ", "1.234567800 e+3 ", "1.234567800000 e+3 ",
                "1.234567800000000 e+3 " } },
        { "-0.000123456", -0.000123456, "-0.000123456",
            { "-1.235 e-4 ", "-1.234560 e-4 ", "-1.234560000 e-4 ", "-1.234560000000 e-4 ",
                "-1.234560000000000 e-4 " } },
        { "zero", 0.0, "0",
            { "0.000 e+0 ", "0.000000 e+0 ", "0.000000000 e+0 ", "0.000000000000 e+0 ",
                "0.000000000000000 e+0 " } },
        { "negative zero", -0.0, "0",
            { "0.000 e+0 ", "0.000000 e+0 ", "0.000000000 e+0 ", "0.000000000000 e+0 ",
                "0.000000000000000 e+0 " } },
        { "9.9996", 9.9996, "9.9996",
            { "1.000 e+1 ", "9.999600 e+0 ", "9.999600000 e+0 ", "9.999600000000 e+0 ",
                "9.999599999999999 e+0 " } },
        { "1/3", 1.0 / 3.0, "0.333333333333333",
            { "3.333 e-1 ", "3.333333 e-1 ", "3.333333333 e-1 ", "3.333333333333 e-1 ",
                "3.333333333333333 e-1 " } },
        { "1E100", 1e100, "1E+100",
            { "1.000 e+100 ", "1.000000 e+100 ", "1.000000000 e+100 ", "1.000000000000 e+100 ",
                "1.000000000000000 e+100 " } },
        { "-1E-100", -1e-100, "-1E-100",
            { "-1.000 e-100 ", "-1.000000 e-100 ", "-1.000000000 e-100 ", "-1.000000000000 e-100 ",
                "-1.000000000000000 e-100 " } },
    };
    const int decimals[] = { 3, 6, 9, 12, 15 };
    for (const Example &example : examples) {
        QTest::addRow("%s plain", example.name)
            << example.q << OutputMode { false, 6 } << QString::fromLatin1(example.plain);
        for (int i = 0; i < 5; ++i) {
            QTest::addRow("%s %d decimals", example.name, decimals[i])
                << example.q << OutputMode { true, decimals[i] }
                << QString::fromLatin1(example.scientific[i]);
        }
    }

    QTest::newRow("half 3 decimals") << 1.0625 << OutputMode { true, 3 } << "1.063 e+0 ";
    QTest::newRow("negative half") << -1.0625 << OutputMode { true, 3 } << "-1.063 e+0 ";
    QTest::newRow("whole half") << 10625000.0 << OutputMode { true, 3 } << "1.063 e+7 ";
    QTest::newRow("half 15 decimals")
        << 1.0000152587890625 << OutputMode { true, 15 } << "1.000015258789063 e+0 ";
    const OutputMode plain { false, 6 };
    QTest::newRow("plain half") << 123456789012344.5 << plain << "123456789012345";
    QTest::newRow("plain negative half") << -1045033.001953125 << plain << "-1045033.00195313";
    QTest::newRow("plain half to 1E+15") << 1000000000000005.0 << plain << "1.00000000000001E+15";
}

void tst_OutputFormat::examples()
{
    QFETCH(double, q);
    QFETCH(OutputMode, mode);
    QFETCH(QString, expected);
    QCOMPARE(formatOutput(q, 1.0, mode, QLocale::c()), expected);
}

void tst_OutputFormat::plainForm_data()
{
    QTest::addColumn<double>("q");
    QTest::addColumn<QString>("expected");

    QTest::newRow("whole") << 86400.0 << "86400";
    QTest::newRow("below one") << 0.0254 << "0.0254";
    QTest::newRow("negative") << -2.5 << "-2.5";
    QTest::newRow("15 digits stay plain") << 999999999999999.0 << "999999999999999";
    QTest::newRow("1E+15 is exponent form") << 1e15 << "1E+15";
    QTest::newRow("rounding reaches 1E+15") << 999999999999999.9 << "1E+15";
    QTest::newRow("1.5E+15") << 1.5e15 << "1.5E+15";
    QTest::newRow("rounded to 15 digits") << 123456789012345678.0 << "1.23456789012346E+17";
    QTest::newRow("0.0001 stays plain") << 0.0001 << "0.0001";
    QTest::newRow("1.5E-05") << 1.5e-5 << "1.5E-05";
    QTest::newRow("1E-09") << 1e-9 << "1E-09";
    QTest::newRow("rounded fraction") << 0.1 + 0.2 << "0.3";
    QTest::newRow("worked example quotient") << 0.9999999999999998 << "1";
    QTest::newRow("largest double stays in range")
        << 1.7976931348623157e308 << "1.79769313486231E+308";
    QTest::newRow("largest negative double stays in range")
        << -1.7976931348623157e308 << "-1.79769313486231E+308";
    QTest::newRow("just below the clamp") << 1.7976931348623149e308 << "1.79769313486231E+308";
    QTest::newRow("smallest subnormal") << 4.9406564584124654e-324 << "4.94065645841247E-324";
}

void tst_OutputFormat::plainForm()
{
    QFETCH(double, q);
    QFETCH(QString, expected);
    QCOMPARE(quorvel::plainForm(q, QLocale::c()), expected);
}

void tst_OutputFormat::commaLocale_data()
{
    QTest::addColumn<double>("q");
    QTest::addColumn<OutputMode>("mode");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << 1234.5678 << OutputMode { false, 6 } << "1234,5678";
    QTest::newRow("plain no grouping") << 1234567.0 << OutputMode { false, 6 } << "1234567";
    QTest::newRow("plain exponent form") << 1.5e-5 << OutputMode { false, 6 } << "1,5E-05";
    QTest::newRow("3 decimals") << 1234.5678 << OutputMode { true, 3 } << "1,235 e+3 ";
    QTest::newRow("15 decimals") << 1.0 / 3.0 << OutputMode { true, 15 }
                                 << "3,333333333333333 e-1 ";
}

void tst_OutputFormat::commaLocale()
{
    QFETCH(double, q);
    QFETCH(OutputMode, mode);
    QFETCH(QString, expected);
    QCOMPARE(formatOutput(q, 1.0, mode, QLocale(QLocale::German, QLocale::Germany)), expected);
}

void tst_OutputFormat::conversions_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("from"); // positions in factors, -1: none chosen
    QTest::addColumn<int>("to");
    QTest::addColumn<QList<double>>("factors");
    QTest::addColumn<OutputMode>("mode");
    QTest::addColumn<QString>("expected"); // the text, or what is missing, or the failure

    const QList<double> inchFoot { 0.0254, 0.3048 };
    const OutputMode plain { false, 6 };
    const OutputMode six { true, 6 };
    QTest::newRow("inches to feet plain") << "12" << 0 << 1 << inchFoot << plain << "1";
    QTest::newRow("inches to feet 6 decimals")
        << "12" << 0 << 1 << inchFoot << six << "1.000000 e+0 ";
    QTest::newRow("inches to feet 15 decimals")
        << "12" << 0 << 1 << inchFoot << OutputMode { true, 15 } << "9.999999999999998 e-1 ";
    QTest::newRow("same unit 0.1 plain") << "3" << 0 << 0 << QList { 0.1 } << plain << "3";
    QTest::newRow("minutes to hours") << "90" << 0 << 1 << QList { 60.0, 3600.0 } << plain << "1.5";
    QTest::newRow("one blank reads as zero")
        << " " << 0 << 1 << QList { 60.0, 3600.0 } << six << "0.000000 e+0 ";
    QTest::newRow("no from-unit") << "5" << -1 << 1 << inchFoot << six << "missing from-unit";
    QTest::newRow("no from-unit, no to-unit, no value")
        << "" << -1 << -1 << inchFoot << six << "missing from-unit";
    QTest::newRow("no to-unit, no value") << "" << 0 << -1 << inchFoot << six << "missing to-unit";
    QTest::newRow("empty value") << "" << 0 << 1 << inchFoot << six << "missing value";
    QTest::newRow("position beyond the factors")
        << "5" << 0 << 2 << inchFoot << six << "Subscript out of range";
    QTest::newRow("value beyond the double range")
        << "1E400" << 0 << 0 << QList { 1.0 } << six << "Overflow";
    QTest::newRow("product first, then quotient")
        << "1E300" << 0 << 0 << QList { 1e10 } << six << "Overflow, no product";
    QTest::newRow("to-factor zero")
        << "5" << 0 << 1 << QList { 1.0, 0.0 } << six << "Division by zero";
}

// The window's calculation: what is missing first, else ReadNumber,
// multiply, then divide and format.
void tst_OutputFormat::conversions()
{
    QFETCH(QString, typed);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QList<double>, factors);
    QFETCH(OutputMode, mode);
    QFETCH(QString, expected);
    LastResult last; // a result that a failed product voids
    calculate(0, 0, "1", { 1.0 }, mode, last);
    const Conversion result = calculate(from, to, typed, factors, mode, last, QLocale::c());
    QString outcome = result.text;
    if (result.lacking != Lacking::Nothing) {
        const char *names[] = { "", "from-unit", "to-unit", "value" };
        outcome = QStringLiteral("missing ") + QLatin1String(names[int(result.lacking)]);
    } else if (result.failure) {
        outcome = result.failure->kindText();
        if (result.failure->kind() == FailureKind::Overflow && !last.has())
            outcome += QStringLiteral(", no product");
    }
    QCOMPARE(outcome, expected);
}

void tst_OutputFormat::shownAgain_data()
{
    QTest::addColumn<QStringList>("typed"); // converted in turn from minutes to hours
    QTest::addColumn<int>("to"); // the to-unit chosen when the last result is shown again
    QTest::addColumn<QString>("expected"); // the text, "none", or the failure

    QTest::newRow("nothing converted") << QStringList {} << 1 << "none";
    QTest::newRow("another to-unit") << QStringList { "90" } << 0 << "90";
    QTest::newRow("no to-unit") << QStringList { "90" } << -1 << "none";
    QTest::newRow("position beyond the factors")
        << QStringList { "90" } << 2 << "Subscript out of range";
    QTest::newRow("a failed product voids it") << QStringList { "90", "1E307" } << 1 << "none";
    QTest::newRow("a value beyond range keeps it") << QStringList { "90", "1E400" } << 1 << "1.5";
}

// What the Output commands show again: the last product, divided by the
// to-factor chosen now.
void tst_OutputFormat::shownAgain()
{
    QFETCH(QStringList, typed);
    QFETCH(int, to);
    QFETCH(QString, expected);
    const QList<double> factors { 60.0, 3600.0 };
    const OutputMode plain { false, 6 };
    LastResult last;
    for (const QString &value : typed)
        calculate(0, 1, value, factors, plain, last, QLocale::c());
    QString outcome;
    try {
        outcome = last.shownAgain(to, factors, plain, QLocale::c()).value_or("none");
    } catch (const Failure &failure) {
        outcome = failure.kindText();
    }
    QCOMPARE(outcome, expected);
}

void tst_OutputFormat::failures_data()
{
    QTest::addColumn<bool>("multiply");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<FailureKind>("kind");

    QTest::newRow("product beyond range") << true << 1e300 << 1e10 << FailureKind::Overflow;
    QTest::newRow("negative product beyond range")
        << true << -1e300 << 1e10 << FailureKind::Overflow;
    QTest::newRow("infinite value times factor")
        << true << kInfinity << 1.0 << FailureKind::Overflow;
    QTest::newRow("infinite factor times zero")
        << true << 0.0 << kInfinity << FailureKind::Overflow;
    QTest::newRow("NaN value times factor") << true << kNaN << 1.0 << FailureKind::Overflow;
    QTest::newRow("value divided by zero") << false << 5.0 << 0.0 << FailureKind::DivisionByZero;
    QTest::newRow("negative value divided by zero")
        << false << -5.0 << 0.0 << FailureKind::DivisionByZero;
    QTest::newRow("zero divided by zero") << false << 0.0 << 0.0 << FailureKind::Overflow;
    QTest::newRow("negative zero divided by zero") << false << -0.0 << 0.0 << FailureKind::Overflow;
    QTest::newRow("quotient beyond range") << false << 1e300 << 1e-10 << FailureKind::Overflow;
    QTest::newRow("infinite value divided") << false << kInfinity << 2.0 << FailureKind::Overflow;
    QTest::newRow("value divided by infinity")
        << false << 1.0 << kInfinity << FailureKind::Overflow;
    QTest::newRow("NaN divided by zero") << false << kNaN << 0.0 << FailureKind::Overflow;
}

void tst_OutputFormat::failures()
{
    QFETCH(bool, multiply);
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(FailureKind, kind);
    try {
        const double result = multiply ? multiplyChecked(a, b) : divideChecked(a, b);
        QFAIL(qPrintable(QStringLiteral("gave %1").arg(result)));
    } catch (const Failure &failure) {
        QCOMPARE(failure.kind(), kind);
    }
    if (!multiply) {
        QVERIFY_THROWS_EXCEPTION(Failure, formatOutput(a, b, OutputMode {}, QLocale::c()));
    }
}

// What the store writes must read back as the same number, to 15 digits.
void tst_OutputFormat::plainFormRoundTrip()
{
    QList<double> values = { 0.0, 1.0, -1.0, 0.1, 1.0 / 3.0, 2.0 / 3.0, 999999999999999.0,
        999999999999999.4, 999999999999999.6, 123456789012345.6, 0.000099999999999999, 0.0001, 1e-5,
        1e15, 1.7976931348623157e308, -1.7976931348623157e308, 2.2250738585072014e-308,
        4.9406564584124654e-324, 0.45359237, 1609.344 };
    QRandomGenerator random(20240501);
    for (int i = 0; i < 20000; ++i) {
        const double mantissa = 1.0 + random.generateDouble() * 9.0;
        const int exponent = random.bounded(-320, 308);
        const double sign = random.bounded(2) ? -1.0 : 1.0;
        values.append(sign * mantissa * std::pow(10.0, exponent));
    }
    for (int i = 0; i < 2000; ++i) // whole numbers near the 15-digit limit
        values.append(double(random.bounded(qint64(1), qint64(1) << 53)));

    for (double v : values) {
        if (!std::isfinite(v))
            continue;
        const QString text = quorvel::plainForm(v, QLocale::c());
        QVERIFY2(significantDigits(text) <= 15, qPrintable(text));
        const double back = ReadNumber(text);
        // Rounding to 15 significant digits moves the value by at most half a
        // unit in the 15th digit, and reading the text back adds at most half
        // a unit in the last place; the largest magnitudes are written one
        // unit lower so that the text stays inside the double range.
        const double magnitude = std::fabs(v);
        const double unit = v == 0.0 ? 0.0 : std::pow(10.0, std::floor(std::log10(magnitude)) - 14);
        const double lastPlace = 2.0 * (magnitude - std::nextafter(magnitude, 0.0));
        const double tolerance = (magnitude > 1.79769313486231e308 ? 1.0 : 0.5) * unit + lastPlace;
        QVERIFY2(std::fabs(back - v) <= tolerance,
            qPrintable(QStringLiteral("%1 read back as %2 from %3")
                           .arg(v, 0, 'g', 17)
                           .arg(back, 0, 'g', 17)
                           .arg(text)));
        QCOMPARE(quorvel::plainForm(back, QLocale::c()), text);
    }
}

QTEST_GUILESS_MAIN(tst_OutputFormat)
#include "tst_outputformat.moc"
