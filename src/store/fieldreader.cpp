#include "store/fieldreader.h"

#include "convert/decimalscanner.h"
#include "core/failure.h"

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

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// What a number field loses when it is read as value, the number ending at
// end; none when the field is the number and blanks. Only 0 can come from a
// field without a number, or from one too small to keep: its digits before
// the exponent tell.
Cause numberLoss(QStringView field, qsizetype end, double value)
{
    if (value == 0) {
        bool digit = false;
        bool nonZero = false;
        for (qsizetype i = 0; i < end; ++i) {
            const char16_t c = field[i].unicode();
            if (c == u'E' || c == u'e' || c == u'D' || c == u'd')
                break;
            digit = digit || isDigit(c);
            nonZero = nonZero || (isDigit(c) && c != u'0');
        }
        if (!digit)
            return field.trimmed().isEmpty() ? Cause::None : Cause::NotANumber;
        if (nonZero)
            return Cause::NumberTooSmall;
    }
    for (qsizetype i = end; i < field.size(); ++i) {
        if (!isBlank(field[i].unicode()))
            return Cause::TextAfterNumber;
    }
    return Cause::None;
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

void FieldReader::noteSkipped(int line, Cause what)
{
    if (!m_skipped)
        m_skipped = SkippedText { line, what };
}

QStringView FieldReader::takeQuoted()
{
    const int startLine = m_line;
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
    if (m_pos >= size) {
        noteSkipped(startLine, Cause::UnclosedQuote);
        return value;
    }
    ++m_pos; // the closing quote
    // Whatever follows the closing quote up to the delimiter is not part of it.
    for (; m_pos < size && data[m_pos] != kComma && data[m_pos] != kCr && data[m_pos] != kLf;
         ++m_pos) {
        if (!isBlank(data[m_pos].unicode()))
            noteSkipped(m_line, Cause::TextAfterQuote);
    }
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
    m_endedByComma = !atEnd() && m_text.constData()[m_pos] == kComma;
    if (m_endedByComma)
        ++m_pos;
    else if (!atEnd())
        skipLineEnd();
}

void FieldReader::endRecord()
{
    if (m_endedByComma)
        noteSkipped(m_line, Cause::ExtraFields);
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
    return readTextView().toString();
}

QStringView FieldReader::readTextView()
{
    if (atEnd())
        failPastEnd();
    skipBlanks();
    return takeField();
}

double FieldReader::readNumber()
{
    skipBlanksAndLineEnds();
    if (atEnd())
        failPastEnd();
    const int line = m_line;
    const QStringView field = takeField();
    NumberCursor cursor(field, NumberCursor::Blanks::Leading);
    const std::optional<double> value = scanDecimal(cursor);
    if (!value)
        throw Failure(FailureKind::Overflow, m_path, line);
    if (const Cause what = numberLoss(field, cursor.position(), *value); what != Cause::None)
        noteSkipped(line, what);
    return *value;
}

} // namespace quorvel
