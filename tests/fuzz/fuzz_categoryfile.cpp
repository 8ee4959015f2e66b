// The category list file as the store loads it and edits it: no input
// crashes the loader or fails with an unexpected kind; a list read only by
// skipping text offers no new category and is never rewritten; and a new
// category either is refused, the file left as it was, or the file reads
// back as the list shows it, in the store's own written form.
#include "fuzzcheck.h"
#include "fuzzfolder.h"
#include "support/files.h"
#include "support/loads.h"

#include "core/failure.h"
#include "store/codepage.h"
#include "store/datastore.h"

#include <cstdint>
#include <cstring>

using namespace quorvel;
using namespace quorvel::test;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    DataStore store(fuzz::folder());
    const QString path = store.categoryListPath();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    FUZZ_CHECK(put(path, bytes));
    const QString name = QStringLiteral("Zz Fuzz");
    QFile::remove(store.unitFilePath(name));

    const CategoryLoad loaded = store.loadCategories(true);
    const QStringList &names = loaded.records;
    if (const std::optional<Failure> failure = loaded.failure()) {
        FUZZ_CHECK(failure->kind() == FailureKind::InputPastEndOfFile
                || failure->kind() == FailureKind::Overflow,
            failure->what());
        FUZZ_CHECK(failure->path() == path, failure->what());
        FUZZ_CHECK(failure->line() >= 1, failure->what());
        FUZZ_CHECK(store.categories().markerIndex() < 0);
        return 0;
    }
    FUZZ_CHECK(names.size() <= kMaxRecords);
    // A byte-order mark alone is no record either.
    const bool bomOnly = size == 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0;
    FUZZ_CHECK(names.isEmpty() == (size == 0 || bomOnly));
    FUZZ_CHECK(store.categories().categories().size() == names.size());
    if (loaded.problem) {
        FUZZ_CHECK(store.categories().markerIndex() < 0);
        if (!names.isEmpty()) {
            store.chooseCategory(0);
            try {
                store.removeCategory();
                FUZZ_CHECK(false, QStringLiteral("rewrote a list read by skipping text"));
            } catch (const Failure &failure) {
                FUZZ_CHECK(failure.kind() == FailureKind::Refused, failure.what());
            }
            FUZZ_CHECK(contents(path) == bytes);
        }
        return 0;
    }

    store.chooseCategory(store.categories().markerIndex());
    try {
        store.addCategory(name);
    } catch (const Failure &failure) {
        FUZZ_CHECK(failure.kind() == FailureKind::Refused, failure.what());
        FUZZ_CHECK(contents(path) == bytes);
        FUZZ_CHECK(!QFile::exists(store.unitFilePath(name)));
        return 0;
    }
    const QStringList back = whole(DataStore(fuzz::folder()).loadCategories());
    FUZZ_CHECK(back == store.categories().categories(),
        store.categories().categories().join(u'|') + QStringLiteral(" read back as ")
            + back.join(u'|'));
    FUZZ_CHECK(back.size() == names.size() + 1 && back.contains(name));
    FUZZ_CHECK(encodeCodePage(categoryListText(back)) == contents(path));
    FUZZ_CHECK(fileNames(fuzz::folder())
            == (QStringList { QStringLiteral("Zz Fuzz.txt"), QStringLiteral("conversion.txt") }),
        fileNames(fuzz::folder()).join(u'|'));
    return 0;
}
