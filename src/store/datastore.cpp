#include "store/datastore.h"

#include "convert/failure.h"
#include "convert/readnumber.h"
#include "store/codepage.h"
#include "store/fieldreader.h"
#include "store/fieldwriter.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cmath>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace quorvel {

namespace {

enum class Access { Read, Write };

// The failure kind of a file operation that failed with this errno. Qt keeps
// errno from the failing system call; where it is lost (0) the file's own
// error code decides.
FailureKind failureKind(int error, QFileDevice::FileError fileError, Access access)
{
    switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
        return FailureKind::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
        return FailureKind::PermissionDenied;
    case EISDIR:
        return FailureKind::PathFileAccessError;
    case ENOENT:
        return access == Access::Read ? FailureKind::FileNotFound
                                      : FailureKind::BadFileNameOrNumber;
    case ENOTDIR:
        return access == Access::Read ? FailureKind::FileNotFound
                                      : FailureKind::PathFileAccessError;
    case ENAMETOOLONG:
    case EINVAL:
        return FailureKind::BadFileNameOrNumber;
    case EIO:
        return FailureKind::DeviceIOError;
    default:
        break;
    }
    switch (fileError) {
    case QFileDevice::ResourceError:
        return FailureKind::DiskFull;
    case QFileDevice::PermissionsError:
        return FailureKind::PermissionDenied;
    case QFileDevice::OpenError:
        return FailureKind::PathFileAccessError;
    default:
        return FailureKind::DeviceIOError;
    }
}

} // namespace

QString readCodePageFile(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        throw Failure(FailureKind::PathFileAccessError, path);
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        const int error = errno;
        if (error == 0 && !QFileInfo::exists(path))
            throw Failure(FailureKind::FileNotFound, path);
        throw Failure(failureKind(error, file.error(), Access::Read), path);
    }
    if (file.size() > kMaxDataFileBytes)
        throw Failure(FailureKind::FileTooLarge, path);
    // Read in chunks up to one byte past the bound: a device or pipe reports
    // no size, and one read of the whole bound would allocate the bound
    // (64 MiB) for every file, however small.
    QByteArray bytes;
    bytes.reserve(qBound<qint64>(0, file.size() + 1, kMaxDataFileBytes + 1));
    constexpr qint64 kChunk = 64 * 1024;
    for (;;) {
        const QByteArray chunk = file.read(kChunk);
        if (file.error() != QFileDevice::NoError)
            throw Failure(FailureKind::DeviceIOError, path, 0, file.errorString());
        if (chunk.isEmpty())
            break;
        bytes += chunk;
        if (bytes.size() > kMaxDataFileBytes)
            throw Failure(FailureKind::FileTooLarge, path);
    }
    return decodeCodePage(bytes);
}

namespace {

// The file a write goes to: the target of a symbolic link, so that the link
// stays a link.
QString writeTarget(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

bool isReadOnly(const QFileInfo &info)
{
    // The permission bits themselves: a process with privileges passes the
    // access test on any file, yet a file without write permission was made
    // read-only on purpose and is not replaced.
    constexpr QFileDevice::Permissions anyWrite
        = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !info.isWritable() || !(info.permissions() & anyWrite);
}

// A failed write. One that lacks permission also says what the user can do
// about it, since the program's folder may be a read-only installation.
Failure writeFailure(FailureKind kind, const QString &path, QString reason = {})
{
    if (kind == FailureKind::PermissionDenied)
        reason = QStringLiteral("The file or the application folder is read-only. Edits need "
                                "a writable application folder: copy the program's folder to "
                                "one you can write to and start it from there.");
    return Failure(kind, path, 0, std::move(reason));
}

[[noreturn]] void failWrite(QSaveFile &file, int error, const QString &path)
{
    const QFileDevice::FileError fileError = file.error();
    const QString reason = file.errorString();
    file.cancelWriting();
    throw writeFailure(failureKind(error, fileError, Access::Write), path, reason);
}

// Replaces the file at path with text, or leaves it as it was.
void writeDataFile(const QString &path, const QString &text)
{
    const std::optional<QByteArray> bytes = encodeCodePage(text);
    if (!bytes)
        throw Failure(FailureKind::Refused, path, 0,
            QStringLiteral("The text holds a character that cannot be written in the "
                           "%1 code page.")
                .arg(codePageName()));

    const QString target = writeTarget(path);
    const QFileInfo info(target);
    if (info.isDir())
        throw Failure(FailureKind::PathFileAccessError, path);
    if (info.exists() && isReadOnly(info))
        throw writeFailure(FailureKind::PermissionDenied, path);

    // Unbuffered, so that every byte reaches the file in write() where its
    // result is checked; a buffered QSaveFile flushes inside commit() and can
    // lose the error of that last write.
    QSaveFile file(target);
    file.setDirectWriteFallback(false);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        failWrite(file, errno, path);
    if (!bytes->isEmpty()) {
        errno = 0;
        if (file.write(*bytes) != bytes->size())
            failWrite(file, errno, path);
    }
    errno = 0;
    if (!file.flush() || file.error() != QFileDevice::NoError)
        failWrite(file, errno, path);
#ifdef Q_OS_UNIX
    // commit() syncs too but ignores the result: a sync that fails means the
    // bytes may never reach the disk, and the old file must not be replaced.
    // A file system without sync support (EINVAL) is no failure.
    if (::fdatasync(file.handle()) != 0 && errno != EINVAL)
        failWrite(file, errno, path);
#endif
    errno = 0;
    if (!file.commit()) {
        const int error = errno;
        throw writeFailure(
            failureKind(error, file.error(), Access::Write), path, file.errorString());
    }
}

bool isControl(char16_t c)
{
    return c < 0x20 || c == 0x7F;
}

bool isReservedDeviceName(const QString &name)
{
    // The part before the first dot names the device whatever follows, and
    // blanks before that dot do not count.
    QStringView base = QStringView(name);
    const qsizetype dot = base.indexOf(u'.');
    if (dot >= 0)
        base = base.left(dot);
    while (!base.isEmpty() && base.back() == u' ')
        base.chop(1);
    static const QStringList fixed = { QStringLiteral("CON"), QStringLiteral("PRN"),
        QStringLiteral("AUX"), QStringLiteral("NUL") };
    for (const QString &device : fixed) {
        if (base.compare(device, Qt::CaseInsensitive) == 0)
            return true;
    }
    if (base.size() != 4)
        return false;
    const bool port = base.left(3).compare(u"COM", Qt::CaseInsensitive) == 0
        || base.left(3).compare(u"LPT", Qt::CaseInsensitive) == 0;
    const char16_t last = base[3].unicode();
    // The digits include the superscripts 1, 2 and 3 that the system also
    // takes as port numbers.
    const bool digit = (last >= u'0' && last <= u'9') || last == u'\u00B9' || last == u'\u00B2'
        || last == u'\u00B3';
    return port && digit;
}

} // namespace

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
    const QString path = unitFilePath(category);
    const QFileInfo info(path);
    if (info.isDir())
        throw Failure(FailureKind::PathFileAccessError, path);
    if (info.exists() || info.isSymLink())
        return false; // a unit file that is there already keeps its units
    // NewOnly fails rather than empty a file that appeared since the test.
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        const int error = errno;
        const QFileInfo now(path);
        if (now.isDir())
            throw Failure(FailureKind::PathFileAccessError, path);
        if (error == EEXIST || now.exists() || now.isSymLink())
            return false;
        throw writeFailure(
            failureKind(error, file.error(), Access::Write), path, file.errorString());
    }
    file.close();
    return true;
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

QString categoryNameProblem(const QString &name, const QStringList &existing)
{
    if (name.isEmpty())
        return QStringLiteral("A category needs a name.");
    if (name == QStringView(kNewEntryMarker))
        return QStringLiteral("\"%1\" cannot be a category name.").arg(name);
    for (const QString &other : existing) {
        // Compared without regard to case: on many file systems both names
        // would share one unit file.
        if (name.compare(other, Qt::CaseInsensitive) == 0)
            return QStringLiteral("The category \"%1\" exists already.").arg(other);
    }
    for (const QChar c : name) {
        if (isControl(c.unicode()))
            return QStringLiteral("A category name cannot hold control characters.");
        if (QStringView(u"\\/:*?\"<>|").contains(c))
            return QStringLiteral("A category name cannot hold the character %1.").arg(c);
    }
    if (name == u"." || name == u"..")
        return QStringLiteral("\"%1\" cannot be a category name.").arg(name);
    if (name.endsWith(u' ') || name.endsWith(u'.'))
        return QStringLiteral("A category name cannot end in a blank or a dot.");
    if (isReservedDeviceName(name))
        return QStringLiteral("\"%1\" is reserved for a device and cannot name a file.").arg(name);
    if (!codePageCanCarry(name))
        return QStringLiteral("A category name cannot hold characters outside the %1 code page.")
            .arg(codePageName());
    if ((name + QStringLiteral(".txt")).toUtf8().size() > 255)
        return QStringLiteral("That name is too long for a file name.");
    return {};
}

QString unitNameProblem(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("A unit needs a name.");
    if (name == QStringView(kNewEntryMarker))
        return QStringLiteral("\"%1\" cannot be a unit name.").arg(name);
    for (const QChar c : name) {
        if (c == u'"')
            return QStringLiteral("A unit name cannot hold a double quote.");
        if (isControl(c.unicode()))
            return QStringLiteral("A unit name cannot hold line breaks or other control "
                                  "characters.");
    }
    if (!codePageCanCarry(name))
        return QStringLiteral("A unit name cannot hold characters outside the %1 code page.")
            .arg(codePageName());
    return {};
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
