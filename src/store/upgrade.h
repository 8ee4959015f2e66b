#pragma once

#include "core/failure.h"
#include "store/datastore.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quorvel {

// The folder, inside an application folder, that keeps plain copies of the
// bundled data files as they were when the folder was last brought up to
// date: the base that tells the user's changes from the bundle's.
inline constexpr char kBundleRecordFolder[] = ".bundle";

// What an upgrade did with one record or file of the user's.
enum class UpgradeChange {
    Replaced, // a file the user never changed became the bundled one
    Added, // a unit new in the bundle joined the user's file
    Corrected, // the bundle's new factor replaced the old one the user still had
    NewCategory, // a category new in the bundle joined the user's list
    Kept, // the bundle changed what the user had changed or removed: the user's stays
    Duplicate, // the file names a unit or category twice: left as it is
    LeftAlone, // the file could not be merged and stays as it is: failure says why
};

struct UpgradeEntry {
    UpgradeChange change;
    QString file; // the file's name in the folder, "Length.txt"
    QString name = {}; // the unit or category; empty for the whole file
    std::optional<double> factor = {}; // the bundle's factor, where one applies
    std::optional<Failure> failure = {};
};
using UpgradeReport = QList<UpgradeEntry>;

// The user's records merged with what the bundle changed since the base.
// The user's order stays; a new unit is placed as an added unit is. No
// merge is made when a table names a unit twice (a Duplicate entry, units
// as the user's).
struct UnitMerge {
    UnitTable units;
    UpgradeReport entries; // without their file
    bool changed = false;
};
UnitMerge mergeUnits(const UnitTable &base, const UnitTable &user, const UnitTable &bundle);

struct CategoryMerge {
    QStringList names;
    UpgradeReport entries; // without their file
    bool changed = false;
};
// A category new in the bundle joins where it sorts; one the user deleted
// stays deleted, and the user's own stay.
CategoryMerge mergeCategories(
    const QStringList &base, const QStringList &user, const QStringList &bundle);

// Brings the data files of folder up to date with those of bundleFolder
// (every .txt file but help.txt), one file at a time, the unit files first
// and conversion.txt last: a file the user never changed becomes the
// bundled one, any other is merged record by record; a unit file new in the
// bundle is made where the user's list has no category of its name, and a
// new category joins the list only once its unit file is there. The file's
// base copy in kBundleRecordFolder is replaced by the bundled file, with its
// time of change, once the user's file is written; a file that has no base
// copy yet takes legacyBase's, the bundle that filled folders before any
// base was kept. Once every file is done, kBundleRecordFolder takes the time
// of change of bundleFolder; a file that cannot be merged is left as it is
// and keeps its base, and the folder its time, so that a later start tries
// again. Each rewrite is the store's safe write; starts that upgrade at once
// take turns, and a start killed midway leaves every file either as it was
// or merged, so the next start finishes the work.
UpgradeReport upgradeFolder(
    const QString &folder, const QString &bundleFolder, const QString &legacyBase);

} // namespace quorvel
