#include "store/codepage.h"
#include "store/datastore.h"
#include "store/helpfile.h"
#include "support/files.h"
#include "support/loads.h"

#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <cmath>

using namespace quorvel;
using quorvel::test::contents;
using quorvel::test::whole;

namespace {

const QString kDataDir = QStringLiteral(QUORVEL_DATA_DIR);

// The lines of a CR LF file, without their line ends.
QStringList fileLines(const QString &path)
{
    QStringList lines = decodeCodePage(contents(path)).split(QStringLiteral("\r\n"));
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

// The default unit (factor 1) of each category: the coherent SI unit, except
// in Angle and Data Storage.
const QHash<QString, QString> kDefaultUnits = {
    { "Absorbed Dose", "Grays" },
    { "Acceleration", "Meters per second squared" },
    { "Amount of Substance", "Moles" },
    { "Angle", "Degrees" },
    { "Angular Speed", "Radians per second" },
    { "Area", "Square meters" },
    { "Capacitance", "Farads" },
    { "Data Rate", "Bits per second" },
    { "Data Storage", "Bytes" },
    { "Density", "Kilograms per cubic meter" },
    { "Dynamic Viscosity", "Pascal seconds" },
    { "Electric Charge", "Coulombs" },
    { "Electric Conductance", "Siemens" },
    { "Electric Current", "Amperes" },
    { "Electric Potential", "Volts" },
    { "Electric Resistance", "Ohms" },
    { "Energy", "Joules" },
    { "Equivalent Dose", "Sieverts" },
    { "Force", "Newtons" },
    { "Frequency", "Hertz" },
    { "Fuel Consumption", "Cubic meters per meter" },
    { "Illuminance", "Lux" },
    { "Inductance", "Henries" },
    { "Kinematic Viscosity", "Square meters per second" },
    { "Length", "Meters" },
    { "Luminance", "Candelas per square meter" },
    { "Magnetic Flux", "Webers" },
    { "Magnetic Flux Density", "Teslas" },
    { "Mass Flow Rate", "Kilograms per second" },
    { "Power", "Watts" },
    { "Pressure", "Pascals" },
    { "Radioactivity", "Becquerels" },
    { "Speed", "Meters per second" },
    { "Temperature Difference", "Kelvins" },
    { "Time", "Seconds" },
    { "Torque", "Newton meters" },
    { "Volume", "Cubic meters" },
    { "Volume Flow Rate", "Cubic meters per second" },
    { "Weight", "Kilograms" },
};

// Units that are by definition exactly as large as the default unit.
const QHash<QString, QStringList> kSameSizeAsDefault = {
    { "Temperature Difference", { "Degrees Celsius" } },
};

} // namespace

class tst_BundledData : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void categoryList();
    void unitFiles_data();
    void unitFiles();
    void conversions_data();
    void conversions();
    void writtenForm_data();
    void writtenForm();
    void helpText();
};

void tst_BundledData::categoryList()
{
    DataStore store(kDataDir);
    const QStringList categories = whole(store.loadCategories());
    QVERIFY2(categories.size() >= 30, qPrintable(categories.join(u", ")));
    QCOMPARE(QSet<QString>(categories.begin(), categories.end()).size(), categories.size());
    QStringList sorted = categories;
    sorted.sort(Qt::CaseInsensitive);
    QCOMPARE(categories, sorted);
    // The program writes the list in that order; these names keep it by code too.
    sorted.sort(Qt::CaseSensitive);
    QCOMPARE(categories, sorted);
    QVERIFY(!categories.contains(QString::fromUtf16(kNewEntryMarker)));
    QStringList known = kDefaultUnits.keys();
    known.sort();
    QCOMPARE(categories, known);

    // Names that make valid file names on Windows too, unique without regard to case.
    qsizetype unitCount = 0;
    for (qsizetype i = 0; i < categories.size(); ++i) {
        QStringList others = categories;
        others.removeAt(i);
        QVERIFY2(!categoryNameProblem(categories[i], others), qPrintable(categories[i]));
        unitCount += whole(store.loadUnits(categories[i])).names.size();
    }
    QVERIFY2(unitCount >= 450, qPrintable(QString::number(unitCount)));

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
    QTest::addColumn<QString>("defaultUnit");
    for (const QString &category : whole(DataStore(kDataDir).loadCategories()))
        QTest::newRow(qPrintable(category)) << category << kDefaultUnits.value(category);
}

void tst_BundledData::unitFiles()
{
    QFETCH(QString, category);
    QFETCH(QString, defaultUnit);
    const UnitTable units = whole(DataStore(kDataDir).loadUnits(category));
    QCOMPARE(units.factors.size(), units.names.size());
    QVERIFY2(units.names.size() >= 8, qPrintable(QString::number(units.names.size())));

    QStringList defaults; // the units of factor 1
    for (qsizetype i = 0; i < units.names.size(); ++i) {
        const double factor = units.factors[i];
        QVERIFY2(std::isfinite(factor) && factor > 0, qPrintable(units.names[i]));
        if (factor == 1.0)
            defaults.append(units.names[i]);
        // A name a user could give: no quote, no control character, all
        // in the code page, and none of its five undefined bytes (which
        // read as C1 controls).
        QVERIFY2(!unitNameProblem(units.names[i]), qPrintable(units.names[i]));
        QVERIFY2(!units.names[i].contains(QRegularExpression("[\\x{80}-\\x{9f}]")),
            qPrintable(units.names[i]));
        // Strictly ascending by UTF-16 code units, so also unique: the order
        // in which adding a unit keeps the file.
        if (i > 0) {
            QVERIFY2(units.names[i - 1] < units.names[i],
                qPrintable(units.names[i - 1] + QStringLiteral(" / ") + units.names[i]));
        }
    }
    // One default unit, and only units of the very same size share its factor.
    QStringList expected = kSameSizeAsDefault.value(category);
    expected.append(defaultUnit);
    expected.sort();
    QCOMPARE(defaults, expected);
}

void tst_BundledData::conversions_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    // Values from the definitions of the units, not from the data generator.
    const auto row = [](const char *category, const char *from, const char *to, double value,
                         double expected) {
        QTest::addRow("%s: %s to %s", category, from, to)
            << QString::fromLatin1(category) << QString::fromLatin1(from) << QString::fromLatin1(to)
            << value << expected;
    };
    row("Absorbed Dose", "Rads", "Grays", 1, 0.01);
    row("Absorbed Dose", "Grays", "Ergs per gram", 1, 1e4);
    row("Acceleration", "Standard gravities", "Feet per second squared", 1, 32.17404855643045);
    row("Acceleration", "Gals", "Meters per second squared", 1, 0.01);
    row("Amount of Substance", "Pound-moles", "Moles", 1, 453.59237);
    row("Amount of Substance", "Moles", "Particles", 1, 6.02214076e23);
    row("Angle", "Revolutions", "Radians", 1, 6.283185307179586);
    row("Angle", "Radians", "Degrees", 1, 57.29577951308232);
    row("Angle", "Gradians", "Degrees", 100, 90);
    row("Angle", "Revolutions", "Mils (NATO)", 1, 6400);
    row("Angular Speed", "Revolutions per minute", "Radians per second", 60, 6.283185307179586);
    row("Angular Speed", "Revolutions per second", "Degrees per second", 1, 360);
    row("Area", "Acres", "Square meters", 1, 4046.8564224);
    row("Area", "Hectares", "Acres", 1, 2.471053814671653);
    row("Area", "Square miles", "Acres", 1, 640);
    row("Area", "Barns", "Square meters", 1, 1e-28);
    row("Capacitance", "Microfarads", "Picofarads", 1, 1e6);
    row("Capacitance", "Statfarads", "Picofarads", 1, 1.1126500560536184);
    row("Data Rate", "Megabytes per second", "Megabits per second", 1, 8);
    row("Data Rate", "Gibibits per second", "Bits per second", 1, 1073741824);
    row("Data Storage", "Gibibytes", "Bytes", 1, 1073741824);
    row("Data Storage", "Terabytes", "Tebibytes", 1, 0.9094947017729282);
    row("Data Storage", "Bytes", "Bits", 1, 8);
    row("Data Storage", "Exbibytes", "Bytes", 1, 1152921504606846976.0);
    row("Density", "Grams per cubic centimeter", "Kilograms per cubic meter", 1, 1000);
    row("Density", "Pounds per cubic foot", "Kilograms per cubic meter", 1, 16.01846337396014);
    row("Density", "Kilograms per liter", "Pounds per cubic foot", 1, 62.42796057614461);
    row("Dynamic Viscosity", "Centipoises", "Pascal seconds", 1, 0.001);
    row("Dynamic Viscosity", "Poises", "Centipoises", 1, 100);
    row("Dynamic Viscosity", "Slugs per foot second", "Pascal seconds", 1, 47.88025898033584);
    row("Electric Charge", "Ampere hours", "Coulombs", 1, 3600);
    row("Electric Charge", "Milliampere hours", "Coulombs", 1000, 3600);
    row("Electric Charge", "Faradays", "Coulombs", 1, 96485.33212331002);
    row("Electric Charge", "Elementary charges", "Coulombs", 1, 1.602176634e-19);
    row("Electric Conductance", "Millisiemens", "Siemens", 1, 0.001);
    row("Electric Conductance", "Abmhos", "Siemens", 1, 1e9);
    row("Electric Current", "Milliamperes", "Amperes", 1, 0.001);
    row("Electric Current", "Abamperes", "Amperes", 1, 10);
    row("Electric Potential", "Kilovolts", "Millivolts", 1, 1e6);
    row("Electric Potential", "Statvolts", "Volts", 1, 299.792458);
    row("Electric Resistance", "Megohms", "Kilohms", 1, 1000);
    row("Electric Resistance", "Abohms", "Ohms", 1, 1e-9);
    row("Energy", "Kilowatt hours", "Megajoules", 1, 3.6);
    row("Energy", "Calories", "Joules", 1, 4.184);
    row("Energy", "British thermal units", "Joules", 1, 1055.05585262);
    row("Energy", "Electronvolts", "Joules", 1, 1.602176634e-19);
    row("Energy", "Foot-pounds", "Joules", 1, 1.3558179483314004);
    row("Energy", "Tonnes of oil equivalent", "Gigajoules", 1, 41.868);
    row("Energy", "Megatons of TNT", "Joules", 1, 4.184e15);
    row("Equivalent Dose", "Rems", "Millisieverts", 1, 10);
    row("Equivalent Dose", "Sieverts", "Millirems", 1, 1e5);
    row("Force", "Pounds-force", "Newtons", 1, 4.4482216152605);
    row("Force", "Kilograms-force", "Newtons", 1, 9.80665);
    row("Force", "Dynes", "Newtons", 1e5, 1);
    row("Force", "Kips", "Pounds-force", 1, 1000);
    row("Frequency", "Megahertz", "Kilohertz", 1, 1000);
    row("Frequency", "Cycles per minute", "Hertz", 60, 1);
    row("Fuel Consumption", "Liters per 100 kilometers", "US gallons per 100 miles", 1,
        0.425143707430272);
    row("Fuel Consumption", "Liters per kilometer", "Liters per 100 kilometers", 1, 100);
    row("Fuel Consumption", "US gallons per mile", "Liters per kilometer", 1, 2.3521458333333333);
    row("Illuminance", "Foot-candles", "Lux", 1, 10.763910416709722);
    row("Illuminance", "Phots", "Lux", 1, 1e4);
    row("Inductance", "Millihenries", "Microhenries", 1, 1000);
    row("Inductance", "Abhenries", "Nanohenries", 1, 1);
    row("Kinematic Viscosity", "Stokes", "Centistokes", 1, 100);
    row("Kinematic Viscosity", "Centistokes", "Square meters per second", 1, 1e-6);
    row("Kinematic Viscosity", "Square feet per second", "Square meters per second", 1, 0.09290304);
    row("Length", "Miles", "Kilometers", 1, 1.609344);
    row("Length", "Inches", "Centimeters", 1, 2.54);
    row("Length", "Feet", "Inches", 1, 12);
    row("Length", "Nautical miles", "Meters", 1, 1852);
    row("Length", "Light years", "Meters", 1, 9460730472580800);
    row("Length", "Parsecs", "Light years", 1, 3.2615637771674336);
    row("Length", "US survey feet", "Meters", 3937, 1200);
    row("Luminance", "Foot-lamberts", "Candelas per square meter", 1, 3.4262590996353905);
    row("Luminance", "Stilbs", "Candelas per square meter", 1, 1e4);
    row("Luminance", "Lamberts", "Candelas per square meter", 1, 3183.098861837907);
    row("Magnetic Flux", "Maxwells", "Webers", 1, 1e-8);
    row("Magnetic Flux", "Magnetic flux quanta", "Webers", 1, 2.0678338484619293e-15);
    row("Magnetic Flux Density", "Gauss", "Teslas", 1, 1e-4);
    row("Magnetic Flux Density", "Gammas", "Nanoteslas", 1, 1);
    row("Mass Flow Rate", "Kilograms per hour", "Kilograms per second", 3600, 1);
    row("Mass Flow Rate", "Pounds per hour", "Kilograms per hour", 1, 0.45359237);
    row("Mass Flow Rate", "Tonnes per day", "Kilograms per hour", 24, 1000);
    row("Power", "Horsepower", "Watts", 1, 745.6998715822702);
    row("Power", "Horsepower (metric)", "Watts", 1, 735.49875);
    row("Power", "Tons of refrigeration", "Watts", 1, 3516.8528420666667);
    row("Power", "BTUs per hour", "Watts", 1, 0.2930710701722222);
    row("Pressure", "Atmospheres", "Pascals", 1, 101325);
    row("Pressure", "Pounds per square inch", "Kilopascals", 1, 6.894757293168361);
    row("Pressure", "Bars", "Pounds per square inch", 1, 14.503773773020922);
    row("Pressure", "Torr", "Pascals", 760, 101325);
    row("Pressure", "Millimeters of mercury", "Pascals", 1, 133.322387415);
    row("Pressure", "Inches of mercury", "Pascals", 1, 3386.388640341);
    row("Radioactivity", "Curies", "Becquerels", 1, 3.7e10);
    row("Radioactivity", "Becquerels", "Picocuries", 1, 27.027027027027028);
    row("Radioactivity", "Rutherfords", "Megabecquerels", 1, 1);
    row("Speed", "Miles per hour", "Kilometers per hour", 1, 1.609344);
    row("Speed", "Knots", "Kilometers per hour", 1, 1.852);
    row("Speed", "Kilometers per hour", "Meters per second", 36, 10);
    row("Speed", "Speed of light", "Kilometers per second", 1, 299792.458);
    row("Temperature Difference", "Degrees Fahrenheit", "Kelvins", 9, 5);
    row("Temperature Difference", "Degrees Celsius", "Degrees Fahrenheit", 100, 180);
    row("Temperature Difference", "Degrees Rankine", "Degrees Fahrenheit", 1, 1);
    row("Temperature Difference", "Degrees Reaumur", "Degrees Celsius", 80, 100);
    row("Time", "Days", "Seconds", 1, 86400);
    row("Time", "Weeks", "Hours", 1, 168);
    row("Time", "Julian years", "Days", 1, 365.25);
    row("Time", "Gregorian years", "Days", 1, 365.2425);
    row("Time", "Months (average)", "Days", 1, 30.436875);
    row("Torque", "Pound-force feet", "Newton meters", 1, 1.3558179483314004);
    row("Torque", "Kilogram-force meters", "Newton meters", 1, 9.80665);
    row("Torque", "Pound-force inches", "Newton meters", 1, 0.1129848290276167);
    row("Volume", "US gallons", "Liters", 1, 3.785411784);
    row("Volume", "Imperial gallons", "Liters", 1, 4.54609);
    row("Volume", "Cubic feet", "Liters", 1, 28.316846592);
    row("Volume", "US fluid ounces", "Milliliters", 1, 29.5735295625);
    row("Volume", "Barrels (oil)", "US gallons", 1, 42);
    row("Volume", "US bushels", "Liters", 1, 35.23907016688);
    row("Volume", "Acre-feet", "Cubic meters", 1, 1233.48183754752);
    row("Volume Flow Rate", "US gallons per minute", "Liters per minute", 1, 3.785411784);
    row("Volume Flow Rate", "Cubic feet per second", "Liters per second", 1, 28.316846592);
    row("Volume Flow Rate", "Cubic meters per hour", "Liters per second", 3.6, 1);
    row("Weight", "Pounds", "Kilograms", 1, 0.45359237);
    row("Weight", "Ounces", "Grams", 1, 28.349523125);
    row("Weight", "Stones", "Pounds", 1, 14);
    row("Weight", "Troy ounces", "Grams", 1, 31.1034768);
    row("Weight", "Slugs", "Kilograms", 1, 14.593902937206365);
}

// Converted the program's way, v * factor(from) / factor(to), within the
// rounding of two 15-digit factors.
void tst_BundledData::conversions()
{
    QFETCH(QString, category);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(double, value);
    QFETCH(double, expected);
    const UnitTable units = whole(DataStore(kDataDir).loadUnits(category));
    const qsizetype a = units.names.indexOf(from);
    const qsizetype b = units.names.indexOf(to);
    QVERIFY2(a >= 0, qPrintable(from));
    QVERIFY2(b >= 0, qPrintable(to));
    const double result = value * units.factors[a] / units.factors[b];
    QVERIFY2(std::fabs(result - expected) <= 1e-14 * std::fabs(expected),
        qPrintable(QString::number(result, 'g', 17)));
}

void tst_BundledData::writtenForm_data()
{
    QTest::addColumn<QString>("category"); // empty for the category list
    QTest::newRow("conversion.txt") << QString();
    for (const QString &category : whole(DataStore(kDataDir).loadCategories()))
        QTest::newRow(qPrintable(category + QStringLiteral(".txt"))) << category;
}

// Writing what was read gives the same bytes: the files are in the program's
// own written form.
void tst_BundledData::writtenForm()
{
    QFETCH(QString, category);
    DataStore bundled(kDataDir);
    const QString file
        = category.isEmpty() ? bundled.categoryListPath() : bundled.unitFilePath(category);
    const QString written = category.isEmpty() ? categoryListText(whole(bundled.loadCategories()))
                                               : unitFileText(whole(bundled.loadUnits(category)));
    const QByteArray expected = contents(file);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(encodeCodePage(written).value_or("<not in the code page>"), expected);
}

void tst_BundledData::helpText()
{
    const QString path = kDataDir + QStringLiteral("/help.txt");
    const QStringList lines = fileLines(path);
    QVERIFY(!lines.isEmpty());
    QVERIFY2(lines.size() <= 20, "more lines than fit the help label at the default font");
    for (const QString &line : lines) {
        const bool quoted = line.size() >= 2 && line.startsWith(u'"') && line.endsWith(u'"');
        const QStringView inner = quoted ? QStringView(line).mid(1, line.size() - 2) : line;
        // A comma outside quotes would split the line; a quote inside would end it.
        QVERIFY2(quoted || !line.contains(u','), qPrintable(line));
        QVERIFY2(!inner.contains(u'"'), qPrintable(line));
        QVERIFY2(inner.size() <= 45, qPrintable(line));
        QVERIFY2(inner.isEmpty() || !inner.front().isSpace(), qPrintable(line));
    }

    // Read as the Help dialog reads it, every line is one shown line.
    const QStringList shown = readHelpFile(path);
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
