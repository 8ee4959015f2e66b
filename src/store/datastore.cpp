#include "store/datastore.h"

#include "convert/failure.h"
#include "convert/readnumber.h"
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

CategoryLoad parseCategories(const QString &path)
{
    CategoryLoad loaded;
    try {
        FieldReader reader(readCodePageFile(path), path);
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

UnitLoad parseUnits(const QString &path)
{
    UnitLoad loaded;
    UnitTable &units = loaded.records;
    try {
        FieldReader reader(readCodePageFile(path), path);
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

template <typename Records> Records wholeOrThrow(Loaded<Records> loaded)
{
    if (loaded.failure)
        throw *loaded.failure;
    return std::move(loaded.records);
}

} // namespace

CategoryLoad DataStore::loadCategories()
{
    const QString path = categoryListPath();
    CategoryLoad loaded = parseCategories(path);
    noteLoad(path, loaded.failure);
    return loaded;
}

UnitLoad DataStore::loadUnits(const QString &category)
{
    const QString path = unitFilePath(category);
    UnitLoad loaded = parseUnits(path);
    noteLoad(path, loaded.failure);
    return loaded;
}

QStringList DataStore::readCategories() const
{
    return wholeOrThrow(parseCategories(categoryListPath()));
}

UnitTable DataStore::readUnits(const QString &category) const
{
    return wholeOrThrow(parseUnits(unitFilePath(category)));
}

void DataStore::noteLoad(const QString &path, const std::optional<Failure> &failure)
{
    if (!failure) {
        m_notReadWhole.remove(path);
        return;
    }
    QString what = failure->kindText();
    if (failure->line() > 0)
        what += QStringLiteral(", line %1").arg(failure->line());
    m_notReadWhole.insert(path, what);
}

void DataStore::refuseUnlessReadWhole(const QString &path) const
{
    const auto it = m_notReadWhole.constFind(path);
    if (it == m_notReadWhole.cend())
        return;
    throw Failure(FailureKind::Refused, path, 0,
        QStringLiteral("The file could not be read whole (%1), so it is not rewritten: that "
                       "would lose what could not be read. Mend the file, then load it again.")
            .arg(*it));
}

void DataStore::saveCategories(const QStringList &entries) const
{
    refuseUnlessReadWhole(categoryListPath());
    RecordWriter writer;
    for (const QString &entry : entries) {
        if (entry == QStringView(kNewEntryMarker))
            continue;
        writer.addText(entry);
        writer.endRecord();
    }
    writeDataFile(categoryListPath(), writer.text());
}

bool DataStore::createCategoryFile(const QString &category) const
{
    return createEmptyFile(unitFilePath(category));
}

void DataStore::writeUnits(const QString &category, const UnitTable &units) const
{
    const QString path = unitFilePath(category);
    refuseUnlessReadWhole(path);
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
    writeDataFile(path, writer.text());
}

void DataStore::addCategory(const QStringList &entries, qsizetype index, const QString &name) const
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
    refuseUnlessReadWhole(listPath);

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

void DataStore::addUnit(CategoryUnits &loaded, const QString &category, const QString &name,
    const QString &factorText) const
{
    // A unit belongs to the category whose units are loaded and shown; any
    // other would be written into a unit file of no category or the wrong one.
    if (!loaded.category || *loaded.category != category
        || category == QStringView(kNewEntryMarker))
        throw Failure(FailureKind::Refused, {}, 0,
            QStringLiteral("Choose a category first: its units must be loaded before a unit "
                           "can be added to it."));
    const QString path = unitFilePath(category);
    refuseUnlessReadWhole(path);
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
