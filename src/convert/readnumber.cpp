#include "convert/readnumber.h"

#include "convert/decimalscanner.h"
#include "core/failure.h"

#include <cstdint>

namespace quorvel {

namespace {

int digitValue(char16_t c, int base)
{
    int value = -1;
    if (c >= u'0' && c <= u'9')
        value = c - u'0';
    else if (c >= u'a' && c <= u'f')
        value = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        value = c - u'A' + 10;
    return value < base ? value : -1;
}

double readInteger(NumberCursor &cursor, int base)
{
    std::uint64_t value = 0;
    int digits = 0;
    for (int digit; (digit = digitValue(cursor.peek(), base)) >= 0; cursor.advance()) {
        value = value * std::uint64_t(base) + std::uint64_t(digit);
        ++digits;
        if (value > 0xFFFFFFFFu || (base == 16 && digits > 8))
            throw Failure(FailureKind::Overflow);
    }
    // Two's complement in 16 or 32 bits: a hexadecimal number takes its width
    // from the digits written, leading zeros included (&H0FFFF is 65535,
    // &HFFFF is -1); an octal one from its value.
    const bool narrow = base == 16 ? digits <= 4 : value <= 0xFFFFu;
    if (narrow)
        return double(std::int16_t(std::uint16_t(value)));
    return double(std::int32_t(std::uint32_t(value)));
}

} // namespace

double ReadNumber(QStringView text)
{
    NumberCursor cursor(text, NumberCursor::Blanks::Anywhere);
    if (cursor.peek() == u'&') {
        cursor.advance();
        const char16_t letter = cursor.peek();
        if (letter == u'H' || letter == u'h' || letter == u'O' || letter == u'o') {
            cursor.advance();
            return readInteger(cursor, letter == u'H' || letter == u'h' ? 16 : 8);
        }
        return 0.0;
    }
    const std::optional<double> value = scanDecimal(cursor);
    if (!value)
        throw Failure(FailureKind::Overflow);
    return *value;
}

} // namespace quorvel
