#include "convert/readnumber.h"

#include "convert/failure.h"

#include <charconv>
#include <cstdint>
#include <string>

namespace quorvel {

namespace {

// Walks the text one significant character at a time, skipping the blanks,
// tabs and line feeds that may stand anywhere in a number.
class Cursor {
public:
    explicit Cursor(QStringView text)
        : m_text(text)
    {
        skipBlanks();
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    char16_t peek() const { return atEnd() ? u'\0' : m_text[m_pos].unicode(); }
    void advance()
    {
        ++m_pos;
        skipBlanks();
    }

    qsizetype position() const { return m_pos; }
    void rewind(qsizetype pos) { m_pos = pos; }

private:
    void skipBlanks()
    {
        while (!atEnd()) {
            const char16_t c = m_text[m_pos].unicode();
            if (c != u' ' && c != u'\t' && c != u'\n')
                break;
            ++m_pos;
        }
    }

    QStringView m_text;
    qsizetype m_pos = 0;
};

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

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

double readInteger(Cursor &cursor, int base)
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

// Exponents are kept within this bound while reading; anything this large is
// far outside the double range either way.
constexpr long kExponentLimit = 100000;

double readDecimal(Cursor &cursor)
{
    std::string text;
    bool negative = false;
    if (cursor.peek() == u'+' || cursor.peek() == u'-') {
        negative = cursor.peek() == u'-';
        text += char(cursor.peek());
        cursor.advance();
    }

    bool anyDigit = false;
    bool point = false;
    // The decimal exponent of the first significant digit, to tell an
    // overflow from an underflow when the value leaves the double range.
    long leadExponent = 0;
    bool significant = false;
    for (;;) {
        const char16_t c = cursor.peek();
        if (isDigit(c)) {
            anyDigit = true;
            if (c != u'0')
                significant = true;
            if (!point && significant && leadExponent < kExponentLimit)
                ++leadExponent;
            if (point && !significant && leadExponent > -kExponentLimit)
                --leadExponent;
            text += char(c);
        } else if (c == u'.' && !point) {
            point = true;
            text += '.';
        } else {
            break;
        }
        cursor.advance();
    }
    if (!anyDigit)
        return 0.0;

    long exponent = 0;
    const char16_t letter = cursor.peek();
    if (letter == u'E' || letter == u'e' || letter == u'D' || letter == u'd') {
        const qsizetype beforeLetter = cursor.position();
        cursor.advance();
        bool negativeExponent = false;
        if (cursor.peek() == u'+' || cursor.peek() == u'-') {
            negativeExponent = cursor.peek() == u'-';
            cursor.advance();
        }
        if (isDigit(cursor.peek())) {
            for (; isDigit(cursor.peek()); cursor.advance()) {
                if (exponent < kExponentLimit)
                    exponent = exponent * 10 + (cursor.peek() - u'0');
            }
            if (negativeExponent)
                exponent = -exponent;
            text += 'e';
            text += std::to_string(exponent);
        } else {
            cursor.rewind(beforeLetter);
        }
    }

    double value = 0.0;
    const char *first = text.data();
    if (*first == '+')
        ++first; // from_chars takes "-" but not "+"
    const auto [end, ec]
        = std::from_chars(first, text.data() + text.size(), value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (significant && leadExponent + exponent > 0)
            throw Failure(FailureKind::Overflow);
        return negative ? -0.0 : 0.0;
    }
    Q_ASSERT(ec == std::errc() && end == text.data() + text.size());
    return value;
}

} // namespace

double ReadNumber(QStringView text)
{
    Cursor cursor(text);
    if (cursor.peek() == u'&') {
        cursor.advance();
        const char16_t letter = cursor.peek();
        if (letter == u'H' || letter == u'h' || letter == u'O' || letter == u'o') {
            cursor.advance();
            return readInteger(cursor, letter == u'H' || letter == u'h' ? 16 : 8);
        }
        return 0.0;
    }
    return readDecimal(cursor);
}

} // namespace quorvel
