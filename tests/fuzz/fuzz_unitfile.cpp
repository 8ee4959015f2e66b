// A unit file as the store loads it: no input crashes the loader or fails
// with an unexpected kind, and a table that loads, written again, loads back
// with the same names and its factors within 15 significant digits.
#include "fuzzcheck.h"
#include "fuzzfolder.h"

#include "core/failure.h"
#include "store/codepage.h"
#include "store/datastore.h"
#include "store/fieldwriter.h"

#include <cstdint>

using namespace quorvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    DataStore store(fuzz::folder());
    const QString category = QStringLiteral("Fuzz");
    const QString path = store.unitFilePath(category);
    fuzz::put(path, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));

    const UnitLoad loaded = store.loadUnits(category);
    const UnitTable &units = loaded.records;
    if (const std::optional<Failure> &failure = loaded.failure) {
        FUZZ_CHECK(failure->kind() == FailureKind::InputPastEndOfFile
                || failure->kind() == FailureKind::Overflow,
            failure->message());
        FUZZ_CHECK(failure->path() == path, failure->message());
        FUZZ_CHECK(failure->line() >= 1, failure->message());
        return 0;
    }
    FUZZ_CHECK(units.names.size() == units.factors.size());
    FUZZ_CHECK(units.names.size() <= kMaxRecords);
    for (qsizetype i = 0; i < units.names.size(); ++i) {
        FUZZ_CHECK(std::isfinite(units.factors[i]));
        if (units.names[i].contains(u'"') || !codePageCanCarry(units.names[i]))
            return 0;
    }

    store.writeUnits(category, units);
    const QByteArray written = fuzz::contents(path);
    FUZZ_CHECK(written.isEmpty() == units.names.isEmpty());
    const UnitTable back = store.readUnits(category);
    FUZZ_CHECK(back.names == units.names,
        units.names.join(u'|') + QStringLiteral(" read back as ") + back.names.join(u'|'));
    FUZZ_CHECK(back.factors.size() == units.factors.size());
    for (qsizetype i = 0; i < units.factors.size(); ++i)
        FUZZ_CHECK(fuzz::within15Digits(units.factors[i], back.factors[i]),
            QStringLiteral("%1 written as %2 read back as %3")
                .arg(fuzz::bits(units.factors[i]), numberFieldText(units.factors[i]),
                    fuzz::bits(back.factors[i])));
    store.writeUnits(category, back);
    FUZZ_CHECK(fuzz::contents(path) == written);

    // An added unit keeps a sorted table sorted and lands in the file.
    UnitTable grown = back;
    if (grown.names.size() < kMaxRecords) {
        insertUnitByName(grown, QStringLiteral("M"), 2.5);
        FUZZ_CHECK(grown.names.size() == back.names.size() + 1);
        FUZZ_CHECK(
            grown.names.count(QStringLiteral("M")) == back.names.count(QStringLiteral("M")) + 1);
        store.writeUnits(category, grown);
        FUZZ_CHECK(store.readUnits(category).names == grown.names);
    }
    FUZZ_CHECK(QDir(fuzz::folder()).entryList(QDir::Files | QDir::Hidden | QDir::System)
        == QStringList { QStringLiteral("Fuzz.txt") });
    return 0;
}
