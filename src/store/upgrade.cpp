#include "store/upgrade.h"

#include "store/datafile.h"
#include "store/folderlock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#endif

#include <chrono>
#include <utility>

namespace quorvel {

namespace {

// The first name that a list holds twice; empty when none is.
QString duplicateName(const QStringList &names)
{
    QSet<QString> seen;
    for (const QString &name : names) {
        if (seen.contains(name))
            return name;
        seen.insert(name);
    }
    return {};
}

} // namespace

UnitMerge mergeUnits(const UnitTable &base, const UnitTable &user, const UnitTable &bundle)
{
    UnitMerge merge { user, {}, false };
    for (const QStringList *names : { &user.names, &bundle.names, &base.names }) {
        if (const QString twice = duplicateName(*names); !twice.isEmpty()) {
            merge.entries.append({ UpgradeChange::Duplicate, {}, twice });
            return merge;
        }
    }
    QHash<QString, double> before;
    for (qsizetype i = 0; i < base.names.size(); ++i)
        before.insert(base.names[i], base.factors[i]);
    UnitTable &units = merge.units;
    for (qsizetype i = 0; i < bundle.names.size(); ++i) {
        const QString &name = bundle.names[i];
        const double factor = bundle.factors[i];
        const qsizetype mine = units.names.indexOf(name);
        const auto old = before.constFind(name);
        if (old == before.cend()) {
            // New in the bundle: it joins, unless the user has a unit of that name.
            if (mine < 0 && units.names.size() < kMaxRecords) {
                insertUnitByName(units, name, factor);
                merge.entries.append({ UpgradeChange::Added, {}, name, factor });
                merge.changed = true;
            } else if (mine >= 0 && units.factors[mine] != factor) {
                merge.entries.append({ UpgradeChange::Kept, {}, name, factor });
            }
        } else if (*old != factor) {
            // Corrected in the bundle: only where the user still has the old factor.
            if (mine >= 0 && units.factors[mine] == *old) {
                units.factors[mine] = factor;
                merge.entries.append({ UpgradeChange::Corrected, {}, name, factor });
                merge.changed = true;
            } else if (mine < 0 || units.factors[mine] != factor) {
                merge.entries.append({ UpgradeChange::Kept, {}, name, factor });
            }
        }
    }
    return merge;
}

CategoryMerge mergeCategories(
    const QStringList &base, const QStringList &user, const QStringList &bundle)
{
    CategoryMerge merge { user, {}, false };
    for (const QStringList *names : { &user, &bundle }) {
        if (const QString twice = duplicateName(*names); !twice.isEmpty()) {
            merge.entries.append({ UpgradeChange::Duplicate, {}, twice });
            return merge;
        }
    }
    QStringList joined = user;
    for (const QString &name : bundle) {
        if (base.contains(name) || user.contains(name))
            continue; // the user's, deleted by the user, or one of the user's own
        joined.append(name);
        merge.entries.append({ UpgradeChange::NewCategory, {}, name });
    }
    if (joined.size() == user.size() || joined.size() > kMaxRecords)
        return merge;
    // In list order, as an edit writes the list.
    CategoryList list;
    list.assign(joined, false);
    merge.names = list.categories();
    merge.changed = true;
    return merge;
}

namespace {

const QString kCategoryList = QStringLiteral("conversion.txt");

#ifdef Q_OS_UNIX
using FileTime = struct timespec;

std::optional<FileTime> changeTime(const QString &path)
{
    struct stat status { };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return status.st_mtim;
}

bool sameTime(const FileTime &a, const FileTime &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Gives the file the time of change of the bundled file it copies, to the
// nanosecond: that is how a start tells that the bundle changed.
void setChangeTime(const QString &path, const FileTime &time)
{
    const struct timespec times[2] = { { 0, UTIME_OMIT }, time };
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

#else
// Windows has no launcher that upgrades a folder; the times are Qt's.
using FileTime = QDateTime;

std::optional<FileTime> changeTime(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() ? std::optional(info.lastModified()) : std::nullopt;
}

bool sameTime(const FileTime &a, const FileTime &b)
{
    return a == b;
}

void setChangeTime(const QString &path, const FileTime &time)
{
    QFile file(path);
    if (file.open(QIODevice::ReadWrite))
        file.setFileTime(time, QFileDevice::FileModificationTime);
}

#endif

// Writes bytes to path whole, or leaves it as it was.
bool writeCopy(const QString &path, const QByteArray &bytes, const FileTime &time)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return false;
    setChangeTime(path, time);
    return true;
}

std::optional<DataFileRead> readIfThere(const QString &path)
{
    try {
        return readDataFile(path);
    } catch (const Failure &failure) {
        if (failure.kind() == FailureKind::FileNotFound)
            return std::nullopt;
        throw;
    }
}

// The data files of a bundle folder: unit files by name, conversion.txt last.
QStringList dataFileNames(const QString &bundleFolder)
{
    QStringList names
        = QDir(bundleFolder)
              .entryList({ QStringLiteral("*.txt") }, QDir::Files | QDir::Readable, QDir::Name);
    names.removeAll(QStringLiteral("help.txt"));
    if (names.removeAll(kCategoryList) > 0)
        names.append(kCategoryList);
    return names;
}

// Makes the folder of base copies, for this user alone, where there is none.
bool makeBaseFolder(const QString &baseFolder)
{
    const QFileInfo info(baseFolder);
    if (!info.exists() && !info.isSymLink())
        QDir().mkdir(baseFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QFileInfo made(baseFolder);
    return made.isDir() && !made.isSymLink();
}

UpgradeReport withFile(UpgradeReport entries, const QString &file)
{
    for (UpgradeEntry &entry : entries)
        entry.file = file;
    return entries;
}

template <typename Parse> auto recordsOf(Parse parse, const QString &text, const QString &path)
{
    auto load = parse(text, path);
    if (load.problem)
        throw *load.problem;
    return load.records;
}

// What one start knows while it upgrades a folder.
struct Upgrade {
    QString folder;
    QString bundleFolder;
    QString baseFolder;
    QString legacyBase;
    std::optional<QStringList> listed; // the user's categories, when their list reads whole
    QString path(const QString &name) const { return folder + u'/' + name; }
};

// The user's category list merged with the bundle's: a new category joins
// only once its unit file is in the folder. The text to write, or none when
// nothing changes; whether a category still waits for its file; and what
// was done. Throws the failure of a list that cannot be merged.
struct Merged {
    std::optional<QString> text;
    UpgradeReport entries;
    bool waiting = false;
};

Merged mergedList(
    const Upgrade &upgrade, const QString &user, const QString &base, const QString &bundled)
{
    const QString path = upgrade.path(kCategoryList);
    const QStringList before = recordsOf(parseCategories, base, upgrade.baseFolder);
    const QStringList mine = recordsOf(parseCategories, user, path);
    QStringList offered = recordsOf(parseCategories, bundled, upgrade.bundleFolder);
    const qsizetype count = offered.size();
    offered.removeIf([&](const QString &name) {
        return !before.contains(name) && !mine.contains(name)
            && !QFileInfo(upgrade.path(name + QLatin1String(".txt"))).isFile();
    });
    const CategoryMerge merge = mergeCategories(before, mine, offered);
    Merged merged { std::nullopt, merge.entries, offered.size() != count };
    if (merge.changed) {
        merged.text = categoryListText(merge.names);
        refuseUnlessReadsBack(path, *merged.text, merge.names);
    }
    return merged;
}

Merged mergedUnits(const Upgrade &upgrade, const QString &name, const QString &user,
    const QString &base, const QString &bundled)
{
    const QString path = upgrade.path(name);
    const UnitMerge merge = mergeUnits(recordsOf(parseUnits, base, upgrade.baseFolder),
        recordsOf(parseUnits, user, path), recordsOf(parseUnits, bundled, upgrade.bundleFolder));
    Merged merged { std::nullopt, merge.entries };
    if (merge.changed) {
        merged.text = unitFileText(merge.units);
        refuseUnlessReadsBack(path, *merged.text, merge.units.names, &merge.units.factors);
    }
    return merged;
}

// Brings one data file up to date and then records the bundled file as its
// base; a file that fails keeps its base and clears finished, so that the
// next start tries again.
UpgradeReport upgradeFile(const Upgrade &upgrade, const QString &name, bool &finished)
{
    const QString path = upgrade.path(name);
    const QString bundlePath = upgrade.bundleFolder + u'/' + name;
    const QString basePath = upgrade.baseFolder + u'/' + name;
    const bool isList = name == kCategoryList;
    try {
        const std::optional<FileTime> time = changeTime(bundlePath);
        const DataFileRead bundled = readDataFile(bundlePath);
        const std::optional<FileTime> timeAfter = changeTime(bundlePath);
        if (!time || !timeAfter || !sameTime(*time, *timeAfter)) {
            finished = false; // being replaced: the next start takes the new file
            return {};
        }
        // A file without a base copy yet takes the legacy bundle's.
        const std::optional<FileTime> baseTime = changeTime(basePath);
        const std::optional<DataFileRead> base
            = readIfThere(baseTime ? basePath : upgrade.legacyBase + u'/' + name);
        const bool recorded = baseTime && base && base->bytes == bundled.bytes;
        if (recorded && sameTime(*baseTime, *time))
            return {};
        const QFileInfo info(path);
        if (info.isSymLink() || (info.exists() && !info.isFile()))
            throw Failure(FailureKind::PathFileAccessError, path);
        const std::optional<DataFileRead> user = readIfThere(path);
        const QString category = name.chopped(4);
        Merged done;
        if (base && base->bytes == bundled.bytes) {
            // The bundle did not change this file: only its time is new.
        } else if (!user) {
            if (base)
                done.entries.append({ UpgradeChange::Kept, name }); // the user removed it
            else if (!upgrade.listed)
                done.waiting = true; // the list says why; the next start tries again
            else if (upgrade.listed->contains(category))
                done.entries.append({ UpgradeChange::Kept, name }); // the user's category
            else
                writeDataFile(path, bundled.text, std::nullopt, {});
        } else if (user->bytes == bundled.bytes) {
            // already the bundled file
        } else if (base && user->bytes == base->bytes) {
            writeDataFile(path, bundled.text, user->bytes, {});
            done.entries.append({ UpgradeChange::Replaced, name });
        } else if (!base && !isList) {
            done.entries.append({ UpgradeChange::Kept, name }); // the user's own file
        } else {
            const QString before = base ? base->text : QString();
            done = isList ? mergedList(upgrade, user->text, before, bundled.text)
                          : mergedUnits(upgrade, name, user->text, before, bundled.text);
            if (done.text)
                writeDataFile(path, *done.text, user->bytes, {});
        }
        if (done.waiting)
            finished = false;
        else if (recorded)
            setChangeTime(basePath, *time);
        else if (!writeCopy(basePath, bundled.bytes, *time))
            throw Failure(FailureKind::PermissionDenied, basePath);
        return withFile(std::move(done.entries), name);
    } catch (const Failure &failure) {
        finished = false;
        return { { UpgradeChange::LeftAlone, name, {}, {}, failure } };
    }
}

std::optional<QStringList> listedCategories(const QString &path)
{
    try {
        return recordsOf(parseCategories, readDataFile(path).text, path);
    } catch (const Failure &) {
        return std::nullopt; // unreadable: no unit file is made for a new category this time
    }
}

} // namespace

UpgradeReport upgradeFolder(
    const QString &folder, const QString &bundleFolder, const QString &legacyBase)
{
    const QString baseFolder = folder + u'/' + QLatin1String(kBundleRecordFolder);
    const UpgradeEntry noBase { UpgradeChange::LeftAlone, QLatin1String(kBundleRecordFolder), {},
        {}, Failure(FailureKind::PathFileAccessError, baseFolder) };
    if (!makeBaseFolder(baseFolder))
        return { noBase };
    // Starts that upgrade at once take turns; the later finds the files up to date.
    const FolderLock lock(baseFolder, std::chrono::seconds(30), FolderLock::Links::Refuse);
    if (!lock.held())
        return { noBase };
    // What a start killed while it copied a base file left: the copy's
    // temporary file.
    QDir base(baseFolder);
    for (const QString &name : base.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (!name.endsWith(QLatin1String(".txt")))
            base.remove(name);
    const Upgrade upgrade { folder, bundleFolder, baseFolder, legacyBase,
        listedCategories(folder + u'/' + kCategoryList) };
    const std::optional<FileTime> bundleTime = changeTime(bundleFolder);
    bool finished = bundleTime.has_value();
    UpgradeReport report;
    for (const QString &name : dataFileNames(bundleFolder))
        report += upgradeFile(upgrade, name, finished);
    // How the launcher tells that the bundle changed since: every package
    // that adds, replaces or removes a file there changes its folder's time.
    if (finished)
        setChangeTime(baseFolder, *bundleTime);
    return report;
}

} // namespace quorvel
