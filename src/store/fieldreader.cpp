#include "store/fieldreader.h"

#include "convert/failure.h"

#include <charconv>
#include <climits>
#include <string>
#include <string_view>

namespace quorvel {

namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kComma = u',';
constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

bool isBlankOrLineEnd(char16_t c)
{
    return isBlank(c) || c == kCr || c == kLf;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The decimal exponent of the leading digit of a number's text ("123" gives
// 2, "0.05" gives -2, "5e3" gives 3), saturated. Only its sign matters: it
// tells an overflow from an underflow when the value is outside the double
// range.
long long magnitude(std::string_view number)
{
    long long integerDigits = 0;
    long long firstInteger = -1; // index of the first non-zero integer digit
    long long firstFraction = 0; // 1-based place of the first non-zero fraction digit
    long long fractionDigits = 0;
    bool seenPoint = false;
    std::size_t i = 0;
    for (; i < number.size() && (isDigit(number[i]) || number[i] == '.'); ++i) {
        const char c = number[i];
        if (c == '.') {
            seenPoint = true;
        } else if (!seenPoint) {
            if (c != '0' && firstInteger < 0)
                firstInteger = integerDigits;
            ++integerDigits;
        } else {
            ++fractionDigits;
            if (c != '0' && firstFraction == 0)
                firstFraction = fractionDigits;
        }
    }
    const long long leading = firstInteger >= 0 ? integerDigits - 1 - firstInteger : -firstFraction;

    long long exponent = 0;
    if (i < number.size() && number[i] == 'e') {
        ++i;
        bool negative = false;
        if (i < number.size() && (number[i] == '+' || number[i] == '-'))
            negative = number[i++] == '-';
        for (; i < number.size() && isDigit(number[i]); ++i) {
            if (exponent < LLONG_MAX / 20)
                exponent = exponent * 10 + (number[i] - '0');
        }
        if (negative)
            exponent = -exponent;
    }
    return leading + exponent;
}

enum class NumberResult { Value, OutOfRange };

// The leading decimal number of a field; 0 when it has none.
NumberResult parseNumber(QStringView field, double &value)
{
    value = 0;
    qsizetype i = 0;
    while (i < field.size() && isBlank(field[i].unicode()))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == u'+' || field[i] == u'-'))
        negative = field[i++] == u'-';

    // Collect the characters a decimal number can hold, as plain ASCII, so
    // that the conversion is locale-independent; D is an exponent letter too.
    // Factors fit the buffer on the stack; longer numbers go to the heap.
    char buffer[64];
    std::string longNumber;
    qsizetype length = 0;
    for (; i < field.size(); ++i) {
        const char16_t c = field[i].unicode();
        const bool numberChar = (c >= u'0' && c <= u'9') || c == u'.' || c == u'+' || c == u'-'
            || c == u'e' || c == u'E' || c == u'd' || c == u'D';
        if (!numberChar)
            break;
        const char ascii = (c == u'd' || c == u'D' || c == u'E') ? 'e' : char(c);
        if (length < qsizetype(sizeof buffer)) {
            buffer[length++] = ascii;
            continue;
        }
        if (longNumber.empty())
            longNumber.assign(buffer, std::size_t(length));
        longNumber += ascii;
    }
    const std::string_view number = longNumber.empty()
        ? std::string_view(buffer, std::size_t(length))
        : std::string_view(longNumber);
    if (number.empty() || !(isDigit(number[0]) || number[0] == '.'))
        return NumberResult::Value;

    double parsed = 0;
    const auto [end, ec] = std::from_chars(
        number.data(), number.data() + number.size(), parsed, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (magnitude(number) >= 0)
            return NumberResult::OutOfRange;
        value = negative ? -0.0 : 0.0; // below the smallest double: zero
        return NumberResult::Value;
    }
    if (ec != std::errc())
        return NumberResult::Value;
    value = negative ? -parsed : parsed;
    return NumberResult::Value;
}

} // namespace

FieldReader::FieldReader(QString text, QString path)
    : m_text(std::move(text))
    , m_path(std::move(path))
{
}

bool FieldReader::atEnd() const
{
    return m_pos >= m_text.size();
}

bool FieldReader::onlyBlanksLeft() const
{
    // Remembering the last character found keeps repeated tests over a long
    // run of blank lines linear.
    if (m_contentAt >= m_pos)
        return false;
    const QChar *data = m_text.constData();
    for (qsizetype i = m_pos; i < m_text.size(); ++i) {
        if (!isBlankOrLineEnd(data[i].unicode())) {
            m_contentAt = i;
            return false;
        }
    }
    return true;
}

int FieldReader::line() const
{
    return m_line;
}

bool FieldReader::atLineEnd() const
{
    if (atEnd())
        return false;
    const char16_t c = m_text.constData()[m_pos].unicode();
    return c == kCr || c == kLf;
}

void FieldReader::skipLineEnd()
{
    const QChar *data = m_text.constData();
    if (data[m_pos] == kCr && m_pos + 1 < m_text.size() && data[m_pos + 1] == kLf)
        ++m_pos;
    ++m_pos;
    ++m_line;
}

void FieldReader::skipBlanks()
{
    const QChar *data = m_text.constData();
    while (m_pos < m_text.size() && isBlank(data[m_pos].unicode()))
        ++m_pos;
}

void FieldReader::skipBlanksAndLineEnds()
{
    for (;;) {
        skipBlanks();
        if (!atLineEnd())
            return;
        skipLineEnd();
    }
}

QStringView FieldReader::takeQuoted()
{
    ++m_pos; // the opening quote
    const qsizetype start = m_pos;
    const qsizetype size = m_text.size();
    const QChar *data = m_text.constData();
    while (m_pos < size && data[m_pos] != kQuote) {
        const char16_t c = data[m_pos].unicode();
        if (c == kLf || (c == kCr && (m_pos + 1 >= size || data[m_pos + 1] != kLf)))
            ++m_line;
        ++m_pos;
    }
    const QStringView value = QStringView(m_text).mid(start, m_pos - start);
    if (m_pos < size)
        ++m_pos; // the closing quote
    // Whatever follows the closing quote up to the delimiter is not part of it.
    while (m_pos < size && data[m_pos] != kComma && data[m_pos] != kCr && data[m_pos] != kLf)
        ++m_pos;
    return value;
}

QStringView FieldReader::takeUnquoted()
{
    const qsizetype start = m_pos;
    const qsizetype size = m_text.size();
    const QChar *data = m_text.constData();
    while (m_pos < size && data[m_pos] != kComma && data[m_pos] != kCr && data[m_pos] != kLf)
        ++m_pos;
    qsizetype end = m_pos;
    while (end > start && isBlank(data[end - 1].unicode()))
        --end;
    return QStringView(m_text).mid(start, end - start);
}

void FieldReader::skipDelimiter()
{
    if (atEnd())
        return;
    if (m_text.constData()[m_pos] == kComma)
        ++m_pos;
    else
        skipLineEnd();
}

QStringView FieldReader::takeField()
{
    const QStringView value
        = (!atEnd() && m_text.constData()[m_pos] == kQuote) ? takeQuoted() : takeUnquoted();
    skipDelimiter();
    return value;
}

void FieldReader::failPastEnd() const
{
    // Report the last line that holds anything, not the empty one after the
    // final line end.
    int line = m_line;
    const QChar *data = m_text.constData();
    for (qsizetype i = m_text.size() - 1; i >= 0 && isBlankOrLineEnd(data[i].unicode()); --i) {
        const char16_t c = data[i].unicode();
        if (c == kCr || (c == kLf && !(i > 0 && data[i - 1] == kCr)))
            --line;
    }
    throw Failure(FailureKind::InputPastEndOfFile, m_path, line < 1 ? 1 : line);
}

QString FieldReader::readText()
{
    if (atEnd())
        failPastEnd();
    skipBlanks();
    return takeField().toString();
}

double FieldReader::readNumber()
{
    skipBlanksAndLineEnds();
    if (atEnd())
        failPastEnd();
    const int line = m_line;
    double value = 0;
    if (parseNumber(takeField(), value) == NumberResult::OutOfRange)
        throw Failure(FailureKind::Overflow, m_path, line);
    return value;
}

} // namespace quorvel
