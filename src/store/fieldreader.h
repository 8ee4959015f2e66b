#pragma once

#include "core/failure.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace quorvel {

// Text that a read passed over, or read as something other than it stands:
// a rewrite of the records read would lose it.
struct SkippedText {
    int line = 0;
    Cause what; // Cause::TextAfterQuote, ...
};

// Reads comma- or line-delimited fields from decoded file text, the one rule
// shared by the data files and the help file.
//
// - A field ends at a comma or a line end; CR LF, a lone LF and a lone CR are
//   all line ends. A record may span lines and two records may share one.
// - Blanks (spaces and tabs) before a field are skipped.
// - A field that begins with a double quote yields the characters up to the
//   next double quote, commas and line ends included; without a closing quote
//   it runs to the end of the text. Whatever stands between the closing quote
//   and the next comma or line end is skipped.
// - An unquoted text field yields the characters up to the next comma or line
//   end, with trailing blanks trimmed; an empty line yields the empty text.
// - A number field skips blank lines before it. Its value is the leading
//   decimal number of the field: optional sign, digits with "." as the decimal
//   separator, optional exponent (E, e, D or d, optional sign, digits), as in
//   ".0254", "0.0254", "-3", "1E+15", "1.5E-05". A field without a leading
//   number reads as 0, and so does a number too small for a double.
//
// Besides the records, the reader notes the first text it skipped or
// reinterpreted by these rules (skipped()): text after a closing quote, a
// quote that is never closed, text after a number, a number field that is no
// number, a number too small to keep, and fields beyond a record on its line
// (endRecord()). Blanks, line ends and the form of a number are no such text.
class FieldReader {
public:
    // path is only used in the failures this reader throws.
    explicit FieldReader(QString text, QString path = {});

    // The end-of-file test made before each record: true when nothing at all
    // is left. A line end after the last field is that field's delimiter, so
    // text ending in CR LF is at its end after its last record.
    bool atEnd() const;
    // True when nothing but blanks and line ends is left (also at the end).
    bool onlyBlanksLeft() const;

    // Next field as text. Throws Failure(InputPastEndOfFile, path, line).
    QString readText();
    // As readText, without a copy: valid as long as this reader.
    QStringView readTextView();
    // Next field as a number ("." always, not a number reads as 0).
    // Throws Failure(InputPastEndOfFile, path, line), and Failure(Overflow,
    // path, line) for a number beyond the double range.
    double readNumber();

    // Ends a record: more fields after it on its line are noted as skipped.
    void endRecord();
    // The first text skipped or reinterpreted so far; none when there was none.
    const std::optional<SkippedText> &skipped() const { return m_skipped; }

    // The 1-based line the next field starts on.
    int line() const;

private:
    bool atLineEnd() const;
    void skipLineEnd();
    void skipBlanks();
    void skipBlanksAndLineEnds();
    QStringView takeQuoted();
    QStringView takeUnquoted();
    void skipDelimiter();
    QStringView takeField();
    [[noreturn]] void failPastEnd() const;
    void noteSkipped(int line, Cause what);

    QString m_text;
    QString m_path;
    qsizetype m_pos = 0;
    int m_line = 1;
    bool m_endedByComma = false; // the last field's delimiter
    std::optional<SkippedText> m_skipped;
    // Where onlyBlanksLeft() last found a character other than a blank.
    mutable qsizetype m_contentAt = -1;
};

} // namespace quorvel
