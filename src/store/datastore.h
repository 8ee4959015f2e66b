#pragma once

#include "core/failure.h"
#include "store/datafile.h"
#include "store/names.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quorvel {

// Counts and indexes of records are 16-bit signed numbers.
inline constexpr int kMaxRecords = 32767;

// The units of one category, in file order: names and factors in parallel.
struct UnitTable {
    QStringList names;
    QList<double> factors;
};

// What a load read: the records in file order up to the first failure, and
// that failure; none when the file was read whole.
template <typename Records> struct Loaded {
    Records records;
    std::optional<Failure> failure;
    bool whole() const { return !failure; }
};
using CategoryLoad = Loaded<QStringList>;
using UnitLoad = Loaded<UnitTable>;

// The units the window converts with and adds to: those the last unit load
// read (with the units added since), and the category they were read for,
// none while no category is chosen.
struct CategoryUnits {
    std::optional<QString> category;
    UnitTable units;
};

// The data files of one application folder. Every operation opens, reads or
// writes, and closes its file within the call, and throws Failure on error.
//
// Writes never lose data (writeDataFile): a file is replaced only once its
// new content is complete, and only if it still holds what this store last
// read or wrote there (it keeps those bytes for the category list and the
// unit file loaded last); any other file is written only where there is
// none. The new content must read back as the records meant. A file
// whose last load failed is not rewritten at all (Failure(Refused)): the
// records that could not be read would be lost. conversion.txt and help.txt
// are never written as a unit file.
class DataStore {
public:
    explicit DataStore(QString appFolder);

    const QString &appFolder() const { return m_appFolder; }
    QString categoryListPath() const; // <folder>/conversion.txt
    QString unitFilePath(const QString &category) const; // <folder>/<category>.txt

    // The category names in file order. Past 32767 records the 32768th is
    // the last one read, and the failure an Overflow. No category is chosen
    // afterwards: the units loaded last stay, but take no new unit.
    CategoryLoad loadCategories();
    // Whether a new category can be added: the category list was loaded and
    // read whole.
    bool canAddCategory() const;
    // The units of a category in file order, likewise at most 32768. Blank
    // lines and blanks at the end of the file are no record. They become
    // the loaded units, also those read before a failure.
    UnitLoad loadUnits(const QString &category);
    const CategoryUnits &loadedUnits() const { return m_loaded; }
    // As the loads, but throw the failure instead; they do not count as
    // loads for the writes.
    QStringList readCategories() const;
    UnitTable readUnits(const QString &category) const;

    // Rewrites the category list from these entries, skipping every marker.
    void saveCategories(const QStringList &entries);
    // Creates the empty unit file of a new category; a unit file that is
    // there already keeps its units. True when the file was made here.
    bool createCategoryFile(const QString &category) const;
    // Rewrites a category's unit file from the table; Failure(Overflow) past
    // 32767 units or for a factor that is not a finite number.
    void writeUnits(const QString &category, const UnitTable &units);

    // Adds the category name in place of entries[index], the marker the user
    // chose, and writes both its files, or neither: its empty unit file first
    // (one that is there already keeps its units), then the category list in
    // the order of entries. A unit file made here is removed again when the
    // list cannot be written. Refused (Failure(Refused)) for a name that
    // categoryNameProblem() refuses and for a list already at 32767.
    void addCategory(const QStringList &entries, qsizetype index, const QString &name);
    // Adds a unit to the loaded units, which must be those of category, the
    // one the category list shows, in name order (insertUnitByName) and
    // rewrites its unit file; the table takes the unit only once the file is
    // written. Refused unless the units are those of category, read whole, for a name that
    // unitNameProblem() refuses and for a category already at 32767 units.
    // The factor is the typed text read by ReadNumber.
    void addUnit(const QString &category, const QString &name, const QString &factorText);
    // Rewrites the category list without entries[index], the category the
    // user chose to delete; its unit file stays. No category is chosen
    // afterwards.
    void removeCategory(const QStringList &entries, qsizetype index);

private:
    // What the last load of a file read, or what the last write wrote.
    struct FileRecord {
        QByteArray bytes; // when read whole
        QString notReadWhole; // what went wrong, when not
    };

    void noteLoad(
        const QString &path, const std::optional<Failure> &failure, const QByteArray &bytes);
    FileState expectedState(const QString &path) const;
    void rewrite(const QString &path, const QString &text, const QString &advice);
    void refuseProgramFile(const QString &category) const;

    QString m_appFolder;
    QHash<QString, FileRecord> m_files;
    CategoryUnits m_loaded;
};

// Appends the unit and makes the one ordering pass down to index 1 that keeps
// a sorted table sorted (UTF-16 code units, case significant, equal names
// never exchanged). Failure(Overflow), with the table unchanged, when it
// already holds 32767 units.
void insertUnitByName(UnitTable &units, const QString &name, double factor);

} // namespace quorvel
