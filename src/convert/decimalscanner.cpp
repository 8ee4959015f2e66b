#include "convert/decimalscanner.h"

#include <charconv>
#include <string>
#include <string_view>

namespace quorvel {

namespace {

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// The number's characters as plain ASCII for from_chars, so that the
// conversion is locale-independent. Factors fit on the stack; longer
// numbers go to the heap.
class AsciiNumber {
public:
    void append(char c)
    {
        if (m_long.empty() && m_size < sizeof m_buffer) {
            m_buffer[m_size++] = c;
            return;
        }
        if (m_long.empty())
            m_long.assign(m_buffer, m_size);
        m_long += c;
    }
    std::string_view view() const
    {
        return m_long.empty() ? std::string_view(m_buffer, m_size) : std::string_view(m_long);
    }

private:
    char m_buffer[64];
    std::size_t m_size = 0;
    std::string m_long;
};

// Exponents are kept within this bound while reading; anything this large is
// far outside the double range either way.
constexpr long kExponentLimit = 100000;

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
    AsciiNumber text;
    bool negative = false;
    if (cursor.peek() == u'+' || cursor.peek() == u'-') {
        negative = cursor.peek() == u'-';
        if (negative)
            text.append('-'); // from_chars takes "-" but not "+"
        cursor.advance();
    }

    bool anyDigit = false;
    bool point = false;
    // The decimal exponent of the first significant digit, to tell an
    // overflow from an underflow when the value leaves the double range.
    long leadExponent = 0;
    bool significant = false;
    for (;; cursor.advance()) {
        const char16_t c = cursor.peek();
        if (isDigit(c)) {
            anyDigit = true;
            significant = significant || c != u'0';
            if (!point && significant && leadExponent < kExponentLimit)
                ++leadExponent;
            if (point && !significant && leadExponent > -kExponentLimit)
                --leadExponent;
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

    const std::string_view ascii = text.view();
    double value = 0.0;
    const auto [end, ec] = std::from_chars(
        ascii.data(), ascii.data() + ascii.size(), value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (significant && leadExponent + exponent > 0)
            return std::nullopt;
        return negative ? -0.0 : 0.0;
    }
    Q_ASSERT(ec == std::errc() && end == ascii.data() + ascii.size());
    return value;
}

} // namespace quorvel
