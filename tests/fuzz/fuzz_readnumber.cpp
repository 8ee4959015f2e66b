// ReadNumber over any typed text: no crash, a finite result or an overflow,
// and the plain form of the result reads back within 15 significant digits.
#include "fuzzcheck.h"

#include "convert/outputformat.h"
#include "convert/readnumber.h"
#include "core/failure.h"
#include "store/codepage.h"

#include <cstdint>

using namespace quorvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 4096)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // Typed text: as UTF-8, and byte by byte in the code page.
    for (const QString &text : { QString::fromUtf8(bytes), decodeCodePage(bytes) }) {
        double value = 0;
        try {
            value = ReadNumber(text);
        } catch (const Failure &failure) {
            FUZZ_CHECK(failure.kind() == FailureKind::Overflow, failure.what());
            continue;
        }
        FUZZ_CHECK(std::isfinite(value), text + QStringLiteral(" read as ") + fuzz::bits(value));

        const QString plain = plainForm(value, QLocale::c());
        double back = 0;
        try {
            back = ReadNumber(plain);
        } catch (const Failure &failure) {
            FUZZ_CHECK(false, plain + QStringLiteral(" does not read back: ") + failure.what());
        }
        FUZZ_CHECK(fuzz::within15Digits(value, back),
            QStringLiteral("%1 shown as %2 reads back as %3")
                .arg(fuzz::bits(value), plain, fuzz::bits(back)));
        // Reading stops at the first character that cannot continue the
        // number: whatever follows the number does not change it.
        FUZZ_CHECK(ReadNumber(plain + QStringLiteral("x1")) == back);
    }
    return 0;
}
