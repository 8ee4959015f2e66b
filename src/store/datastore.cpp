#include "store/datastore.h"

#include "convert/readnumber.h"
#include "core/failure.h"
#include "store/datafile.h"
#include "store/fieldreader.h"
#include "store/fieldwriter.h"
#include "store/names.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace quorvel {

DataStore::DataStore(QString appFolder)
    : m_appFolder(std::move(appFolder))
{
}

QString DataStore::categoryListPath() const
{
    return m_appFolder + QStringLiteral("/conversion.txt");
}

QString DataStore::unitFilePath(const QString &category) const
{
    return m_appFolder + u'/' + category + QStringLiteral(".txt");
}

namespace {

CategoryLoad parseCategories(const QString &text, const QString &path)
{
    CategoryLoad loaded;
    try {
        FieldReader reader(text, path);
        while (!reader.atEnd()) {
            const int line = reader.line();
            loaded.records.append(reader.readText());
            // The count is a 16-bit number: it overflows once the 32768th
            // record is in.
            if (loaded.records.size() > kMaxRecords)
                throw Failure(FailureKind::Overflow, path, line);
        }
    } catch (const Failure &failure) {
        loaded.failure = failure;
    }
    return loaded;
}

UnitLoad parseUnits(const QString &text, const QString &path)
{
    UnitLoad loaded;
    UnitTable &units = loaded.records;
    try {
        FieldReader reader(text, path);
        // Hand-written files often end in an empty line or stray blanks:
        // that rest is no record.
        while (!reader.onlyBlanksLeft()) {
            const int line = reader.line();
            QString name = reader.readText();
            const double factor = reader.readNumber();
            units.names.append(std::move(name));
            units.factors.append(factor);
            if (units.names.size() > kMaxRecords)
                throw Failure(FailureKind::Overflow, path, line);
        }
    } catch (const Failure &failure) {
        loaded.failure = failure;
    }
    return loaded;
}

// Reads and parses the file at path; bytes receives what was read when the
// file could be read.
template <typename Parse>
auto readAndParse(const QString &path, Parse parse, QByteArray *bytes = nullptr)
{
    try {
        const DataFileRead file = readDataFile(path);
        if (bytes)
            *bytes = file.bytes;
        return parse(file.text, path);
    } catch (const Failure &failure) {
        decltype(parse(QString(), path)) loaded;
        loaded.failure = failure;
        return loaded;
    }
}

template <typename Records> Records wholeOrThrow(Loaded<Records> loaded)
{
    if (loaded.failure)
        throw *loaded.failure;
    return std::move(loaded.records);
}

// Refuses a write whose text the reader would not give back as the records
// meant: a name that came from a hand-written file may hold a double quote,
// which the written form cannot carry. The text is read as the loads read
// it; factors are none for the category list. A factor reads back as the
// 15 digits written of it: mostly the very same double, which spares
// formatting it again.
void refuseUnlessReadsBack(const QString &path, const QString &text, const QStringList &names,
    const QList<double> *factors = nullptr)
{
    FieldReader reader(text, path);
    auto atEnd = [&] { return factors ? reader.onlyBlanksLeft() : reader.atEnd(); };
    qsizetype i = 0;
    try {
        for (; i < names.size() && !atEnd(); ++i) {
            if (reader.readTextView() != names[i])
                break;
            if (!factors)
                continue;
            const double factor = reader.readNumber();
            const double meant = (*factors)[i];
            if (factor != meant && numberFieldText(factor) != numberFieldText(meant))
                break;
        }
    } catch (const Failure &) {
        // read past the end: the record at i did not read back
    }
    if (i == names.size() && atEnd())
        return;
    throw Failure(FailureKind::Refused, path, 0,
        QStringLiteral("The record \"%1\" cannot be stored: the file's form cannot carry its "
                       "name (a double quote or a line break in it), so nothing was written. "
                       "Mend that record by hand in the file, then load it again.")
            .arg(names.value(i, names.isEmpty() ? QString() : names.last())));
}

const QString kListAdvice = QStringLiteral(
    "Switch File > Edit off and on to see the category list as it is now, then make the "
    "edit again.");
const QString kUnitAdvice = QStringLiteral(
    "Choose the category again to see its units as they are now, then add the unit again.");

} // namespace

CategoryLoad DataStore::loadCategories()
{
    const QString path = categoryListPath();
    QByteArray bytes;
    CategoryLoad loaded = readAndParse(path, parseCategories, &bytes);
    noteLoad(path, loaded.failure, bytes);
    m_loaded.category.reset();
    return loaded;
}

bool DataStore::canAddCategory() const
{
    const auto it = m_files.constFind(categoryListPath());
    return it != m_files.cend() && it->notReadWhole.isEmpty();
}

UnitLoad DataStore::loadUnits(const QString &category)
{
    const QString path = unitFilePath(category);
    QByteArray bytes;
    UnitLoad loaded = readAndParse(path, parseUnits, &bytes);
    // Only the unit file loaded last can take a unit: what the store knows
    // of the one before goes, and that file is not written until loaded again.
    if (m_loaded.category && *m_loaded.category != category)
        m_files.remove(unitFilePath(*m_loaded.category));
    noteLoad(path, loaded.failure, bytes);
    m_loaded = { category, loaded.records };
    return loaded;
}

QStringList DataStore::readCategories() const
{
    return wholeOrThrow(readAndParse(categoryListPath(), parseCategories));
}

UnitTable DataStore::readUnits(const QString &category) const
{
    return wholeOrThrow(readAndParse(unitFilePath(category), parseUnits));
}

void DataStore::noteLoad(
    const QString &path, const std::optional<Failure> &failure, const QByteArray &bytes)
{
    if (!failure) {
        m_files.insert(path, { bytes, {} });
        return;
    }
    QString what = failure->kindText();
    if (failure->line() > 0)
        what += QStringLiteral(", line %1").arg(failure->line());
    m_files.insert(path, { {}, what });
}

FileState DataStore::expectedState(const QString &path) const
{
    const auto it = m_files.constFind(path);
    if (it == m_files.cend())
        return std::nullopt; // never loaded: only a file that is not there is written
    if (!it->notReadWhole.isEmpty())
        throw Failure(FailureKind::Refused, path, 0,
            QStringLiteral("The file could not be read whole (%1), so it is not rewritten: that "
                           "would lose what could not be read. Mend the file, then load it "
                           "again.")
                .arg(it->notReadWhole));
    return it->bytes;
}

void DataStore::rewrite(const QString &path, const QString &text, const QString &advice)
{
    const FileState expected = expectedState(path);
    m_files.insert(path, { writeDataFile(path, text, expected, advice), {} });
}

void DataStore::refuseProgramFile(const QString &category) const
{
    if (namesProgramFile(category))
        throw Failure(FailureKind::Refused, unitFilePath(category), 0,
            QStringLiteral("The file belongs to Quorvel itself and is no unit file: no unit is "
                           "written into it."));
}

void DataStore::saveCategories(const QStringList &entries)
{
    const QString path = categoryListPath();
    QStringList records = entries;
    records.removeAll(QString::fromUtf16(kNewEntryMarker));
    RecordWriter writer;
    for (const QString &record : std::as_const(records)) {
        writer.addText(record);
        writer.endRecord();
    }
    refuseUnlessReadsBack(path, writer.text(), records);
    rewrite(path, writer.text(), kListAdvice);
}

bool DataStore::createCategoryFile(const QString &category) const
{
    refuseProgramFile(category);
    return createEmptyFile(unitFilePath(category));
}

void DataStore::writeUnits(const QString &category, const UnitTable &units)
{
    const QString path = unitFilePath(category);
    refuseProgramFile(category);
    if (units.names.size() > kMaxRecords)
        throw Failure(FailureKind::Overflow, path);
    if (units.names.size() != units.factors.size())
        throw Failure(FailureKind::SubscriptOutOfRange, path);
    RecordWriter writer;
    for (qsizetype i = 0; i < units.names.size(); ++i) {
        // A factor beyond the double range has no number text that reads back.
        if (!std::isfinite(units.factors[i]))
            throw Failure(FailureKind::Overflow, path);
        writer.addText(units.names[i]);
        writer.addNumber(units.factors[i]);
        writer.endRecord();
    }
    refuseUnlessReadsBack(path, writer.text(), units.names, &units.factors);
    rewrite(path, writer.text(), kUnitAdvice);
}

void DataStore::addCategory(const QStringList &entries, qsizetype index, const QString &name)
{
    QStringList others = entries;
    others.removeAt(index);
    others.removeAll(QString::fromUtf16(kNewEntryMarker));
    if (const QString problem = categoryNameProblem(name, others); !problem.isEmpty())
        throw Failure(FailureKind::Refused, {}, 0,
            QStringLiteral("The category \"%1\" cannot be created. %2").arg(name, problem));
    const QString listPath = categoryListPath();
    if (others.size() >= kMaxRecords)
        throw Failure(FailureKind::Refused, listPath, 0,
            QStringLiteral("The category list holds %1 categories, the most it can hold.")
                .arg(kMaxRecords));
    expectedState(listPath); // refuses a list that was not read whole

    QStringList listed = entries;
    listed[index] = name;
    const QString unitPath = unitFilePath(name);
    const bool made = createCategoryFile(name);
    try {
        saveCategories(listed);
    } catch (const Failure &) {
        // The list file names no category without its unit file: the one
        // made here goes again, while it is still the empty file.
        const QFileInfo info(unitPath);
        if (made && info.isFile() && !info.isSymLink() && info.size() == 0)
            QFile::remove(unitPath);
        throw;
    }
}

void DataStore::removeCategory(const QStringList &entries, qsizetype index)
{
    QStringList listed = entries;
    listed.removeAt(index);
    saveCategories(listed);
    m_loaded.category.reset();
}

void DataStore::addUnit(const QString &category, const QString &name, const QString &factorText)
{
    // A unit belongs to the category whose units are loaded and shown; any
    // other would be written into a unit file of no category or the wrong one.
    CategoryUnits &loaded = m_loaded;
    if (!loaded.category || *loaded.category != category
        || category == QStringView(kNewEntryMarker))
        throw Failure(FailureKind::Refused, {}, 0,
            QStringLiteral("Choose a category first: its units must be loaded before a unit "
                           "can be added to it."));
    const QString path = unitFilePath(category);
    expectedState(path); // refuses a unit file that was not read whole
    if (const QString problem = unitNameProblem(name); !problem.isEmpty())
        throw Failure(FailureKind::Refused, {}, 0, problem);
    if (loaded.units.names.size() >= kMaxRecords)
        throw Failure(FailureKind::Refused, path, 0,
            QStringLiteral("A category holds at most %1 units.").arg(kMaxRecords));
    const double factor = ReadNumber(factorText);

    UnitTable units = loaded.units;
    insertUnitByName(units, name, factor);
    writeUnits(category, units);
    loaded.units = std::move(units);
}

void insertUnitByName(UnitTable &units, const QString &name, double factor)
{
    if (units.names.size() >= kMaxRecords)
        throw Failure(FailureKind::Overflow);
    units.names.append(name);
    units.factors.append(factor);
    for (qsizetype i = units.names.size() - 1; i >= 1; --i) {
        if (units.names[i] < units.names[i - 1]) {
            units.names.swapItemsAt(i, i - 1);
            units.factors.swapItemsAt(i, i - 1);
        }
    }
}

} // namespace quorvel
