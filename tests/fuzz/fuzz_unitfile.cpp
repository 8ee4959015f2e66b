// A unit file as the store loads it and adds to it: no input crashes the
// loader or fails with an unexpected kind; a file read only by skipping text
// is never rewritten; and an added unit either is refused, the file left as
// it was, or the file reads back as the table with the unit, its factors
// within 15 significant digits, in the store's own written form.
#include "fuzzcheck.h"
#include "fuzzfolder.h"
#include "support/files.h"
#include "support/loads.h"

#include "core/failure.h"
#include "store/codepage.h"
#include "store/datastore.h"
#include "store/fieldwriter.h"

#include <algorithm>
#include <cstdint>

using namespace quorvel;
using namespace quorvel::test;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    DataStore store(fuzz::folder());
    const QString category = QStringLiteral("Fuzz");
    const QString path = store.unitFilePath(category);
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    FUZZ_CHECK(put(store.categoryListPath(), "\"Fuzz\"\r\n"));
    FUZZ_CHECK(put(path, bytes));

    store.loadCategories();
    store.chooseCategory(0);
    const UnitLoad loaded = store.loadUnits(category);
    const UnitTable &units = loaded.records;
    if (const std::optional<Failure> failure = loaded.failure()) {
        FUZZ_CHECK(failure->kind() == FailureKind::InputPastEndOfFile
                || failure->kind() == FailureKind::Overflow,
            failure->what());
        FUZZ_CHECK(failure->path() == path, failure->what());
        FUZZ_CHECK(failure->line() >= 1, failure->what());
        FUZZ_CHECK(loaded.problem);
        return 0;
    }
    FUZZ_CHECK(units.names.size() == units.factors.size());
    FUZZ_CHECK(units.names.size() <= kMaxRecords);
    for (const double factor : units.factors)
        FUZZ_CHECK(std::isfinite(factor));

    UnitTable grown = units;
    const QString name = QStringLiteral("M");
    if (grown.names.size() < kMaxRecords)
        insertUnitByName(grown, name, 2.5);
    try {
        store.addUnit(name, QStringLiteral("2.5"));
    } catch (const Failure &failure) {
        FUZZ_CHECK(failure.kind() == FailureKind::Refused, failure.what());
        FUZZ_CHECK(contents(path) == bytes);
        // Refused only for what a rewrite would lose or the form cannot carry.
        FUZZ_CHECK(loaded.problem || grown.names.size() == units.names.size()
                || std::any_of(units.names.begin(), units.names.end(),
                    [](const QString &n) { return n.contains(u'"'); }),
            failure.what());
        return 0;
    }
    FUZZ_CHECK(!loaded.problem, loaded.problem->what());
    const UnitTable back = whole(DataStore(fuzz::folder()).loadUnits(category));
    FUZZ_CHECK(back.names == grown.names,
        grown.names.join(u'|') + QStringLiteral(" read back as ") + back.names.join(u'|'));
    FUZZ_CHECK(back.factors.size() == grown.factors.size());
    for (qsizetype i = 0; i < grown.factors.size(); ++i)
        FUZZ_CHECK(fuzz::within15Digits(grown.factors[i], back.factors[i]),
            QStringLiteral("%1 written as %2 read back as %3")
                .arg(fuzz::bits(grown.factors[i]), numberFieldText(grown.factors[i]),
                    fuzz::bits(back.factors[i])));
    FUZZ_CHECK(encodeCodePage(unitFileText(back)) == contents(path));
    FUZZ_CHECK(fileNames(fuzz::folder())
            == (QStringList { QStringLiteral("Fuzz.txt"), QStringLiteral("conversion.txt") }),
        fileNames(fuzz::folder()).join(u'|'));
    return 0;
}
