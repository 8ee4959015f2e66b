#pragma once

#include <QString>

namespace quorvel {

// Reads comma- or line-delimited fields from decoded file text, the one rule
// shared by the data files and the help file.
class FieldReader {
public:
    // path is only used in the failures this reader throws.
    explicit FieldReader(QString text, QString path = {});

    // The end-of-file test made before each record.
    bool atEnd() const;

    // Next field as text. Throws Failure(InputPastEndOfFile, path, line).
    QString readText();
    // Next field as a number ("." always, not a number reads as 0).
    // Throws Failure(InputPastEndOfFile, path, line).
    double readNumber();

    // The 1-based line the next field starts on.
    int line() const;

    // (private parts are the implementer's)
};

} // namespace quorvel
