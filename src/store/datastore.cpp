#include "store/datastore.h"

#include "convert/readnumber.h"
#include "core/failure.h"
#include "store/datafile.h"
#include "store/names.h"

#include <QCoreApplication>
#include <QDir>
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

const QString kListAdvice = QStringLiteral(
    "Switch File > Edit off and on to see the category list as it is now, then make the "
    "edit again.");
const QString kUnitAdvice = QStringLiteral(
    "Choose the category again to see its units as they are now, then add the unit again.");

Failure refused(const QString &path, const QString &detail)
{
    return Failure(FailureKind::Refused, path, 0, detail);
}

} // namespace

CategoryLoad DataStore::loadCategories(bool offerMarker)
{
    const QString path = categoryListPath();
    QByteArray bytes;
    CategoryLoad loaded = readAndParse(path, parseCategories, &bytes);
    noteLoad(path, loaded, bytes, kListReload);
    m_model.reset([&] { m_categories.assign(loaded.records, offerMarker && !loaded.problem); });
    m_loaded.category.reset();
    return loaded;
}

UnitLoad DataStore::loadUnits(const QString &category)
{
    const QString path = unitFilePath(category);
    UnitLoad loaded;
    QByteArray bytes;
    if (const std::optional<QString> problem = unitFileProblem(category, false))
        loaded.problem = Failure(FailureKind::BadFileNameOrNumber, path, 0,
            *problem
                + QStringLiteral(" No unit file is read or written for it: rename the "
                                 "category in conversion.txt by hand."));
    else
        loaded = readAndParse(path, parseUnits, &bytes);
    // Only the unit file loaded last can take a unit: what the store knows
    // of the one before goes, and that file is not written until loaded again.
    if (m_loaded.category && *m_loaded.category != category)
        m_files.remove(unitFilePath(*m_loaded.category));
    noteLoad(path, loaded, bytes, kUnitReload);
    m_loaded = { category, loaded.records };
    return loaded;
}

template <typename Records>
void DataStore::noteLoad(const QString &path, const Loaded<Records> &loaded,
    const QByteArray &bytes, const QString &reload)
{
    // Why no edit rewrites the file as it was read: the load's refusal, or
    // the failure of the read in the words of an edit.
    std::optional<Failure> refusal = loaded.problem;
    if (const std::optional<Failure> failure = loaded.failure()) {
        if (failure->kind() == FailureKind::FileNotFound)
            refusal = refused(path,
                QStringLiteral("The file is missing, so no edit writes it: Quorvel does not "
                               "make it anew in place of a file that may come back. Copy it "
                               "back%1, then %2.")
                    .arg(reload == kUnitReload ? QStringLiteral(", or delete the category and "
                                                                "add it again to start it "
                                                                "with no units")
                                               : QString(),
                        reload));
        else if (failure->kind() != FailureKind::BadFileNameOrNumber)
            refusal = refused(path,
                QStringLiteral("The file could not be read whole (%1%2), so it is not "
                               "rewritten: that would lose what could not be read. Mend the "
                               "file, then %3.")
                    .arg(failure->kindText(),
                        failure->line() > 0 ? QStringLiteral(", line %1").arg(failure->line())
                                            : QString(),
                        reload));
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

void DataStore::rewrite(const QString &path, const QString &text, const QString &advice)
{
    const FileState expected = expectedState(path);
    m_files.insert(path, { writeDataFile(path, text, expected, advice, m_folderId), std::nullopt });
}

std::optional<QString> DataStore::unitFileProblem(const QString &category, bool write) const
{
    if (category.contains(u'/') || category.contains(u'\\'))
        return QStringLiteral("The category name \"%1\" holds a path separator, so its unit "
                              "file would not lie in the application folder.")
            .arg(category);
    if (category == u"." || category == u"..")
        return QStringLiteral("\"%1\" names no unit file of its own.").arg(category);
    // The files are compared by identity, so that no spelling and no link
    // leads to them; a write is refused by the names alone too, as a file
    // system that ignores case would take them for the program's files.
    const QString path = unitFilePath(category);
    const QString program
        = QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
    if ((write && namesProgramFile(category)) || isSameFile(path, categoryListPath())
        || isSameFile(path, m_appFolder + QStringLiteral("/help.txt"))
        || (!program.isEmpty() && isSameFile(path, program)))
        return QStringLiteral("The unit file of the category \"%1\" would be a file of Quorvel "
                              "itself.")
            .arg(category);
    return std::nullopt;
}

void DataStore::saveCategories(const QStringList &names)
{
    const QString path = categoryListPath();
    const QString text = categoryListText(names);
    refuseUnlessReadsBack(path, text, names);
    rewrite(path, text, kListAdvice);
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
    rewrite(path, text, kUnitAdvice);
}

void DataStore::addCategory(const QString &name)
{
    if (!m_categories.markerChosen())
        throw refused({},
            QStringLiteral("Choose --> NEW <-- in the category list to add a "
                           "category."));
    const QStringList others = m_categories.categories();
    QString problem = categoryNameProblem(name, others);
    if (problem.isEmpty())
        problem = unitFileProblem(name, true).value_or(QString());
    if (!problem.isEmpty())
        throw refused(
            {}, QStringLiteral("The category \"%1\" cannot be created. %2").arg(name, problem));
    const QString listPath = categoryListPath();
    if (others.size() >= kMaxRecords)
        throw refused(listPath,
            QStringLiteral("The category list holds %1 categories, the most it can hold.")
                .arg(kMaxRecords));
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
        throw Failure(failure.kind(), failure.path(), failure.line(),
            failure.detail()
                + QStringLiteral(" The empty unit file %1 made for the category could not be "
                                 "removed again; remove it by hand.")
                      .arg(QDir::toNativeSeparators(unitPath)));
    }
    m_model.replaceRow(listed.chosen(), [&] { m_categories = std::move(listed); });
}

void DataStore::removeCategory()
{
    if (!m_categories.chosenCategory())
        throw refused({}, QStringLiteral("Choose the category to delete first."));
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
        throw refused({},
            QStringLiteral("Choose a category first: its units must be loaded "
                           "before a unit can be added to it."));
    const QString &category = *loaded.category;
    const QString path = unitFilePath(category);
    if (const std::optional<QString> problem = unitFileProblem(category, true))
        throw refused(path, *problem + QStringLiteral(" No unit is written into it."));
    expectedState(path); // refuses a unit file that may not be rewritten
    if (const QString problem = unitNameProblem(name); !problem.isEmpty())
        throw refused({}, problem);
    if (loaded.units.names.size() >= kMaxRecords)
        throw refused(path, QStringLiteral("A category holds at most %1 units.").arg(kMaxRecords));
    const double factor = ReadNumber(factorText);

    UnitTable units = loaded.units;
    insertUnitByName(units, name, factor);
    writeUnits(category, units);
    loaded.units = std::move(units);
}

} // namespace quorvel
