#pragma once

#include <QStringView>

#include <optional>

namespace quorvel {

// Walks a number's text one significant character at a time. With
// Blanks::Anywhere, blanks, tabs and line feeds are passed over wherever they
// stand, as in a typed value; with Blanks::Leading only blanks and tabs
// before the number are, as in a data file's field.
class NumberCursor {
public:
    enum class Blanks { Leading, Anywhere };

    NumberCursor(QStringView text, Blanks blanks);

    char16_t peek() const { return m_pos < m_text.size() ? m_text[m_pos].unicode() : u'\0'; }
    void advance();
    qsizetype position() const { return m_pos; }
    void rewind(qsizetype pos) { m_pos = pos; }

private:
    void skipBlanks(bool lineFeeds);

    QStringView m_text;
    qsizetype m_pos = 0;
    bool m_anywhere;
};

// Reads the decimal number at the cursor: an optional "+" or "-", digits
// with at most one ".", and an optional exponent (E, e, D or d, an optional
// sign, digits; without digits the letter ends the number). The first
// character that cannot continue the number ends it. Without a digit before
// the exponent the value is 0; a magnitude below the smallest subnormal is 0
// (or -0). None for a magnitude beyond the double range.
std::optional<double> scanDecimal(NumberCursor &cursor);

} // namespace quorvel
