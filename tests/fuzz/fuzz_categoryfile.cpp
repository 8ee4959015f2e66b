// The category list file as the store loads it: no input crashes the
// loader or fails with an unexpected kind, and a list that loads, saved
// again, loads back the same.
#include "fuzzcheck.h"
#include "fuzzfolder.h"

#include "core/failure.h"
#include "store/codepage.h"
#include "store/datastore.h"

#include <cstdint>
#include <cstring>

using namespace quorvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    DataStore store(fuzz::folder());
    fuzz::put(store.categoryListPath(),
        QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));

    const CategoryLoad loaded = store.loadCategories();
    const QStringList &names = loaded.records;
    if (const std::optional<Failure> &failure = loaded.failure) {
        FUZZ_CHECK(failure->kind() == FailureKind::InputPastEndOfFile
                || failure->kind() == FailureKind::Overflow,
            failure->message());
        FUZZ_CHECK(failure->path() == store.categoryListPath(), failure->message());
        FUZZ_CHECK(failure->line() >= 1, failure->message());
        return 0;
    }
    FUZZ_CHECK(names.size() <= kMaxRecords);
    // A byte-order mark alone is no record either.
    const bool bomOnly = size == 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0;
    FUZZ_CHECK(names.isEmpty() == (size == 0 || bomOnly));

    for (const QString &name : names) {
        // Names the written form cannot carry; the marker is never saved.
        if (name.contains(u'"') || !codePageCanCarry(name) || name == QStringView(kNewEntryMarker))
            return 0;
    }
    store.saveCategories(names);
    const QByteArray saved = fuzz::contents(store.categoryListPath());
    FUZZ_CHECK(saved.isEmpty() == names.isEmpty());
    FUZZ_CHECK(saved.isEmpty() || saved.endsWith("\r\n"));
    const QStringList back = store.readCategories();
    FUZZ_CHECK(
        back == names, names.join(u'|') + QStringLiteral(" read back as ") + back.join(u'|'));
    // Saving what was read back writes the same bytes.
    store.saveCategories(back);
    FUZZ_CHECK(fuzz::contents(store.categoryListPath()) == saved);
    // The save leaves no other file behind.
    FUZZ_CHECK(QDir(fuzz::folder()).entryList(QDir::Files | QDir::Hidden | QDir::System)
        == QStringList { QStringLiteral("conversion.txt") });
    return 0;
}
