#pragma once

#include <QString>
#include <QStringView>

namespace quorvel {

// Builds the text of a data file record by record: fields joined by one
// comma, text between double quotes as it stands, numbers in the plain form
// with "." always, every record ended by CR LF.
class RecordWriter {
public:
    void addText(QStringView text);
    void addNumber(double value);
    void endRecord();

    // Everything written so far; empty when no record was written.
    const QString &text() const { return m_text; }

private:
    void separate();

    QString m_text;
    bool m_recordOpen = false;
};

// The text of a number field: at most 15 significant digits, exponent form
// for very large and small magnitudes, "." whatever the locale.
QString numberFieldText(double value);

} // namespace quorvel
