#include "store/datastore.h"

#include "convert/readnumber.h"
#include "core/failure.h"
#include "store/datafile.h"
#include "store/names.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace quorvel {

DataStore::DataStore(QString appFolder)
    : m_appFolder(std::move(appFolder))
    , m_folderId(folderId(m_appFolder))
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
        loaded.problem = failure;
        return loaded;
    }
}

} // namespace

namespace {

Failure refused(const QString &path, Cause cause, QStringList args = {})
{
    return Failure(FailureKind::Refused, path, 0, cause, std::move(args));
}

} // namespace

CategoryLoad DataStore::loadCategories(bool offerMarker)
{
    const QString path = categoryListPath();
    QByteArray bytes;
    CategoryLoad loaded = readAndParse(path, parseCategories, &bytes);
    noteLoad(path, loaded, bytes);
    m_model.reset([&] { m_categories.assign(loaded.records, offerMarker && !loaded.problem); });
    m_loaded.category.reset();
    return loaded;
}

UnitLoad DataStore::loadUnits(const QString &category)
{
    const QString path = unitFilePath(category);
    UnitLoad loaded;
    QByteArray bytes;
    if (const std::optional<Reason> problem = unitFileProblem(category, false))
        loaded.problem = Failure(FailureKind::BadFileNameOrNumber, path)
                             .because(*problem)
                             .because(Cause::NoUnitFile);
    else
        loaded = readAndParse(path, parseUnits, &bytes);
    // Only the unit file loaded last can take a unit: what the store knows
    // of the one before goes, and that file is not written until loaded again.
    if (m_loaded.category && *m_loaded.category != category)
        m_files.remove(unitFilePath(*m_loaded.category));
    noteLoad(path, loaded, bytes);
    m_loaded = { category, loaded.records };
    return loaded;
}

template <typename Records>
void DataStore::noteLoad(
    const QString &path, const Loaded<Records> &loaded, const QByteArray &bytes)
{
    // Why no edit rewrites the file as it was read: the load's refusal, or
    // the failure of the read in the words of an edit.
    std::optional<Failure> refusal = loaded.problem;
    if (const std::optional<Failure> failure = loaded.failure()) {
        if (failure->kind() == FailureKind::FileNotFound)
            refusal = refused(path, Cause::FileMissing);
        else if (failure->kind() != FailureKind::BadFileNameOrNumber)
            refusal = refused(path, Cause::ReadNotWhole,
                { failure->kindText(), QString::number(failure->line()) });
    }
    m_files.insert(path, { refusal ? QByteArray() : bytes, refusal });
}

FileState DataStore::expectedState(const QString &path) const
{
    const auto it = m_files.constFind(path);
    if (it == m_files.cend())
        return std::nullopt; // never loaded: only a file that is not there is written
    if (it->refusal)
        throw *it->refusal;
    return it->bytes;
}

void DataStore::rewrite(const QString &path, const QString &text)
{
    const FileState expected = expectedState(path);
    m_files.insert(path, { writeDataFile(path, text, expected, m_folderId), std::nullopt });
}

std::optional<Reason> DataStore::unitFileProblem(const QString &category, bool write) const
{
    if (category.contains(u'/') || category.contains(u'\\'))
        return Reason { Cause::PathSeparator, { category } };
    if (category == u"." || category == u"..")
        return Reason { Cause::NoOwnFile, { category } };
    // The files are compared by identity, so that no spelling and no link
    // leads to them; a write is refused by the names alone too, as a file
    // system that ignores case would take them for the program's files.
    const QString path = unitFilePath(category);
    const QString program
        = QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
    if ((write && namesProgramFile(category)) || isSameFile(path, categoryListPath())
        || isSameFile(path, m_appFolder + QStringLiteral("/help.txt"))
        || (!program.isEmpty() && isSameFile(path, program)))
        return Reason { Cause::ProgramFile, { category } };
    return std::nullopt;
}

void DataStore::saveCategories(const QStringList &names)
{
    const QString path = categoryListPath();
    const QString text = categoryListText(names);
    refuseUnlessReadsBack(path, text, names);
    rewrite(path, text);
}

bool DataStore::createCategoryFile(const QString &category)
{
    return createEmptyFile(unitFilePath(category), m_folderId);
}

void DataStore::writeUnits(const QString &category, const UnitTable &units)
{
    const QString path = unitFilePath(category);
    const QString text = unitFileText(units);
    refuseUnlessReadsBack(path, text, units.names, &units.factors);
    rewrite(path, text);
}

void DataStore::addCategory(const QString &name)
{
    // The window asks for a name only on the marker (editStep()); the new
    // category takes the marker's place, so there must be one chosen.
    if (!m_categories.markerChosen())
        throw refused({}, Cause::MarkerNotChosen);
    const QStringList others = m_categories.categories();
    std::optional<Reason> problem = categoryNameProblem(name, others);
    if (!problem)
        problem = unitFileProblem(name, true);
    if (problem)
        throw refused({}, Cause::CategoryNotCreated, { name }).because(*problem);
    const QString listPath = categoryListPath();
    if (others.size() >= kMaxRecords)
        throw refused(listPath, Cause::ListFull);
    expectedState(listPath); // refuses a list that may not be rewritten

    CategoryList listed = m_categories;
    listed.replaceChosenMarker(name);
    const QString unitPath = unitFilePath(name);
    const bool made = createCategoryFile(name);
    try {
        saveCategories(listed.categories());
    } catch (const Failure &failure) {
        // The list file names no category without its unit file: the one
        // made here goes again, while it is still the empty file.
        const QFileInfo info(unitPath);
        if (!made || !info.isFile() || info.isSymLink() || info.size() != 0
            || QFile::remove(unitPath))
            throw;
        throw Failure(failure).because(Cause::EmptyFileLeft, { unitPath });
    }
    m_model.replaceRow(listed.chosen(), [&] { m_categories = std::move(listed); });
}

void DataStore::removeCategory()
{
    if (!m_categories.chosenCategory())
        throw refused({}, Cause::NoCategoryChosen);
    CategoryList listed = m_categories;
    listed.removeChosen();
    saveCategories(listed.categories());
    m_model.removeRow(m_categories.chosen(), [&] { m_categories = std::move(listed); });
    m_loaded.category.reset();
}

void DataStore::addUnit(const QString &name, const QString &factorText)
{
    // A unit belongs to the category whose units are loaded and shown; any
    // other would be written into a unit file of no category or the wrong one.
    CategoryUnits &loaded = m_loaded;
    if (!loaded.category || m_categories.chosenCategory() != loaded.category)
        throw refused({}, Cause::UnitsNotLoaded);
    const QString &category = *loaded.category;
    const QString path = unitFilePath(category);
    if (const std::optional<Reason> problem = unitFileProblem(category, true))
        throw Failure(FailureKind::Refused, path).because(*problem).because(Cause::NoUnitWritten);
    expectedState(path); // refuses a unit file that may not be rewritten
    if (const std::optional<Reason> problem = unitNameProblem(name))
        throw Failure(FailureKind::Refused).because(*problem);
    if (loaded.units.names.size() >= kMaxRecords)
        throw refused(path, Cause::CategoryFull);
    const double factor = ReadNumber(factorText);

    UnitTable units = loaded.units;
    insertUnitByName(units, name, factor);
    writeUnits(category, units);
    loaded.units = std::move(units);
}

} // namespace quorvel
