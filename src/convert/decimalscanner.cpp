#include "convert/decimalscanner.h"

#include <QVarLengthArray>

#include <algorithm>
#include <charconv>
#include <string_view>

namespace quorvel {

namespace {

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Exponents are kept within this bound while reading; anything this large is
// far outside the double range either way.
constexpr long kExponentLimit = 100000;

// The decimal exponent of the first significant digit of the digits and
// point that begin number ("123" gives 2, "0.05" gives -2), without its
// exponent part; none when every digit is 0.
std::optional<long> leadingExponent(std::string_view number)
{
    long integerDigits = 0;
    long zerosAfterPoint = 0;
    bool point = false;
    for (const char c : number) {
        if (c == '.') {
            point = true;
        } else if (c < '0' || c > '9') {
            break;
        } else if (!point) {
            if (c != '0' || integerDigits > 0)
                integerDigits = std::min(integerDigits + 1, kExponentLimit);
        } else if (integerDigits > 0 || c != '0') {
            return integerDigits > 0 ? integerDigits - 1 : -(zerosAfterPoint + 1);
        } else {
            zerosAfterPoint = std::min(zerosAfterPoint + 1, kExponentLimit);
        }
    }
    if (integerDigits > 0)
        return integerDigits - 1;
    return std::nullopt;
}

} // namespace

NumberCursor::NumberCursor(QStringView text, Blanks blanks)
    : m_text(text)
    , m_anywhere(blanks == Blanks::Anywhere)
{
    skipBlanks(m_anywhere);
}

void NumberCursor::advance()
{
    ++m_pos;
    if (m_anywhere)
        skipBlanks(true);
}

void NumberCursor::skipBlanks(bool lineFeeds)
{
    for (; m_pos < m_text.size(); ++m_pos) {
        const char16_t c = m_text[m_pos].unicode();
        if (c != u' ' && c != u'\t' && !(lineFeeds && c == u'\n'))
            break;
    }
}

std::optional<double> scanDecimal(NumberCursor &cursor)
{
    // The number's characters as plain ASCII for from_chars, so that the
    // conversion is locale-independent; on the stack while they fit.
    QVarLengthArray<char, 64> text;
    bool negative = false;
    if (cursor.peek() == u'+' || cursor.peek() == u'-') {
        negative = cursor.peek() == u'-';
        if (negative)
            text.append('-'); // from_chars takes "-" but not "+"
        cursor.advance();
    }

    bool anyDigit = false;
    bool point = false;
    for (;; cursor.advance()) {
        const char16_t c = cursor.peek();
        if (isDigit(c)) {
            anyDigit = true;
            text.append(char(c));
        } else if (c == u'.' && !point) {
            point = true;
            text.append('.');
        } else {
            break;
        }
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
            char digits[16];
            const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, exponent);
            text.append('e');
            for (const char *d = digits; d != end; ++d)
                text.append(*d);
        } else {
            cursor.rewind(beforeLetter);
        }
    }

    const std::string_view ascii(text.constData(), std::size_t(text.size()));
    double value = 0.0;
    const auto [end, ec] = std::from_chars(
        ascii.data(), ascii.data() + ascii.size(), value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Beyond the double range, or below its smallest subnormal: the
        // decimal exponent of the first significant digit tells which.
        const std::optional<long> lead = leadingExponent(ascii.substr(negative ? 1 : 0));
        if (lead && *lead + exponent >= 0)
            return std::nullopt;
        return negative ? -0.0 : 0.0;
    }
    Q_ASSERT(ec == std::errc() && end == ascii.data() + ascii.size());
    return value;
}

} // namespace quorvel
