#pragma once

#include "core/failure.h"
#include "store/categorylist.h"
#include "store/categorymodel.h"
#include "store/datafile.h"
#include "store/records.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quorvel {

// The units the window converts with and adds to: those the last unit load
// read (with the units added since), and the category they were read for,
// none while no category is chosen.
struct CategoryUnits {
    std::optional<QString> category;
    UnitTable units;
};

// The data files of one application folder, the category list the window
// shows, and the edits. Every operation opens, reads or writes, and closes
// its file within the call, and throws Failure on error.
//
// No edit loses what it did not mean to change. A file is replaced only
// once its new content is complete and reads back as the records meant, and
// only if it still holds what this store last read or wrote there (it keeps
// those bytes for the category list and the unit file loaded last); any
// other file is written only where there is none. A file that was not read
// whole, or only by skipping text, is not rewritten (Failure(Refused)), and
// a unit file is always a plain file of the folder of its own: never the
// category list, help.txt or the program, nor a file elsewhere.
class DataStore {
public:
    explicit DataStore(QString appFolder);
    DataStore(const DataStore &) = delete;
    DataStore &operator=(const DataStore &) = delete;

    const QString &appFolder() const { return m_appFolder; }
    QString categoryListPath() const; // <folder>/conversion.txt
    QString unitFilePath(const QString &category) const; // <folder>/<category>.txt

    // Reads the category list into categories(), where the marker is offered
    // with offerMarker while the list may be rewritten. The names come in
    // file order; past 32767 records the 32768th is the last one read, and
    // the failure an Overflow. No category is chosen afterwards: the units
    // loaded last stay, but take no new unit.
    CategoryLoad loadCategories(bool offerMarker = false);
    const CategoryList &categories() const { return m_categories; }
    // The same list for Qt's views, which follow each change of it.
    CategoryModel &categoryModel() { return m_model; }
    // The entry the user chose in the list, by its place; -1 for none.
    void chooseCategory(qsizetype index) { m_categories.choose(index); }

    // The units of a category in file order, likewise at most 32768. Blank
    // lines and blanks at the end of the file are no record. They become
    // the loaded units, also those read before a failure. A category whose
    // unit file would not be a plain file of its own (a name with a path
    // separator, "." or "..", a file of the program) reads nothing and fails
    // with Failure(BadFileNameOrNumber) saying why.
    UnitLoad loadUnits(const QString &category);
    const CategoryUnits &loadedUnits() const { return m_loaded; }

    // Adds the category name where the chosen marker stands, and writes both
    // its files, or neither: its empty unit file first (one that is there
    // already keeps its units), then the category list in list order. A unit
    // file made here is removed again when the list cannot be written.
    // Refused (Failure(Refused)) unless the marker is chosen, for a name that
    // categoryNameProblem() refuses or whose unit file is no plain file of
    // its own, and for a list already at 32767.
    void addCategory(const QString &name);
    // Rewrites the category list without the chosen category; its unit file
    // stays. Refused unless a category is chosen. No category is chosen
    // afterwards.
    void removeCategory();
    // Adds a unit to the loaded units, which must be those of the chosen
    // category, read whole, in name order (insertUnitByName), and rewrites
    // its unit file; the table takes the unit only once the file is written.
    // Refused for a name that unitNameProblem() refuses and for a category
    // already at 32767 units. The factor is the typed text read by
    // ReadNumber.
    void addUnit(const QString &name, const QString &factorText);

private:
    // What the last load of a file read, or what the last write wrote.
    struct FileRecord {
        QByteArray bytes;
        std::optional<Failure> refusal; // why the file is not rewritten
    };

    template <typename Records>
    void noteLoad(const QString &path, const Loaded<Records> &loaded, const QByteArray &bytes);
    FileState expectedState(const QString &path) const;
    void rewrite(const QString &path, const QString &text);
    // Why a category's unit file is no plain file of the folder of its own;
    // none when it is. A write is refused by the program's file names too.
    std::optional<Reason> unitFileProblem(const QString &category, bool write) const;

    void saveCategories(const QStringList &names);
    bool createCategoryFile(const QString &category);
    void writeUnits(const QString &category, const UnitTable &units);

    QString m_appFolder;
    std::optional<FolderId> m_folderId; // the folder as the program found it
    QHash<QString, FileRecord> m_files;
    CategoryList m_categories;
    CategoryModel m_model { m_categories };
    CategoryUnits m_loaded;
};

} // namespace quorvel
