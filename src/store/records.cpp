#include "store/records.h"

#include "store/fieldreader.h"
#include "store/fieldwriter.h"

namespace quorvel {

namespace {

// The refusal of a file read only by skipping some of its text.
std::optional<Failure> skippedRefusal(const FieldReader &reader, const QString &path)
{
    const std::optional<SkippedText> &skipped = reader.skipped();
    if (!skipped)
        return std::nullopt;
    return Failure(FailureKind::Refused, path, skipped->line, skipped->what);
}

} // namespace

CategoryLoad parseCategories(const QString &text, const QString &path)
{
    CategoryLoad loaded;
    try {
        FieldReader reader(text, path);
        while (!reader.atEnd()) {
            const int line = reader.line();
            loaded.records.append(reader.readText());
            reader.endRecord();
            // The count is a 16-bit number: it overflows once the 32768th
            // record is in.
            if (loaded.records.size() > kMaxRecords)
                throw Failure(FailureKind::Overflow, path, line);
        }
        loaded.problem = skippedRefusal(reader, path);
    } catch (const Failure &failure) {
        loaded.problem = failure;
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
            reader.endRecord();
            units.names.append(std::move(name));
            units.factors.append(factor);
            if (units.names.size() > kMaxRecords)
                throw Failure(FailureKind::Overflow, path, line);
        }
        loaded.problem = skippedRefusal(reader, path);
    } catch (const Failure &failure) {
        loaded.problem = failure;
    }
    return loaded;
}

// Refuses a write whose text the reader would not give back as the records
// meant: a name that came from a hand-written file may hold a double quote,
// which the written form cannot carry. The text is read as the loads read
// it; factors are none for the category list. A factor reads back as the
// 15 digits written of it: mostly the very same double, which spares
// formatting it again.

void refuseUnlessReadsBack(const QString &path, const QString &text, const QStringList &names,
    const QList<double> *factors)
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
    throw Failure(FailureKind::Refused, path, 0, Cause::NotStorable,
        { names.value(i, names.isEmpty() ? QString() : names.last()) });
}

QString categoryListText(const QStringList &names)
{
    RecordWriter writer;
    for (const QString &name : names) {
        writer.addText(name);
        writer.endRecord();
    }
    return writer.text();
}

QString unitFileText(const UnitTable &units)
{
    RecordWriter writer;
    for (qsizetype i = 0; i < units.names.size(); ++i) {
        writer.addText(units.names[i]);
        writer.addNumber(units.factors[i]);
        writer.endRecord();
    }
    return writer.text();
}

void insertUnitByName(UnitTable &units, const QString &name, double factor)
{
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
