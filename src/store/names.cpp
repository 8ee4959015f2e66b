#include "store/names.h"

#include "store/codepage.h"
#include "store/datafile.h"

#include <QStringList>

namespace quorvel {

namespace {

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

bool namesProgramFile(const QString &category)
{
    return category.compare(u"conversion", Qt::CaseInsensitive) == 0
        || category.compare(u"help", Qt::CaseInsensitive) == 0;
}

std::optional<Reason> categoryNameProblem(const QString &name, const QStringList &existing)
{
    if (name.isEmpty())
        return Reason { Cause::CategoryNameEmpty };
    if (name == QStringView(kNewEntryMarker) || namesProgramFile(name))
        return Reason { Cause::CategoryNameReserved, { name } };
    for (const QString &other : existing) {
        // Compared without regard to case: on many file systems both names
        // would share one unit file.
        if (name.compare(other, Qt::CaseInsensitive) == 0)
            return Reason { Cause::CategoryExists, { other } };
    }
    for (const QChar c : name) {
        if (isControl(c.unicode()))
            return Reason { Cause::CategoryNameControl };
        if (QStringView(u"\\/:*?\"<>|").contains(c))
            return Reason { Cause::CategoryNameCharacter, { c } };
    }
    if (name == u"." || name == u"..")
        return Reason { Cause::CategoryNameReserved, { name } };
    if (name.endsWith(u' ') || name.endsWith(u'.'))
        return Reason { Cause::CategoryNameEnd };
    if (isReservedDeviceName(name))
        return Reason { Cause::DeviceName, { name } };
    if (!codePageCanCarry(name))
        return Reason { Cause::CategoryNameCodePage };
    // The unit file's temporary file must fit the file name limit too.
    if ((name + QStringLiteral(".txt")).toUtf8().size() + kTemporarySuffixLength > 255)
        return Reason { Cause::NameTooLong };
    return std::nullopt;
}

std::optional<Reason> unitNameProblem(const QString &name)
{
    if (name.isEmpty())
        return Reason { Cause::UnitNameEmpty };
    if (name == QStringView(kNewEntryMarker))
        return Reason { Cause::UnitNameReserved, { name } };
    for (const QChar c : name) {
        if (c == u'"')
            return Reason { Cause::UnitNameQuote };
        if (isControl(c.unicode()))
            return Reason { Cause::UnitNameControl };
    }
    if (!codePageCanCarry(name))
        return Reason { Cause::UnitNameCodePage };
    return std::nullopt;
}

} // namespace quorvel
