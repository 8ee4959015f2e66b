// Field reading of data-file text: no input crashes the reader, and the
// fields it yields, written back as records, read back the same.
#include "fuzzcheck.h"

#include "core/failure.h"
#include "store/codepage.h"
#include "store/fieldreader.h"
#include "store/fieldwriter.h"

#include <QList>
#include <QStringList>

#include <cstdint>
#include <variant>

using namespace quorvel;

namespace {

using Field = std::variant<QString, double>;

// The first byte chooses the shape of the records read: which fields are
// text and which are numbers, as the category list (text only), the unit
// files (text, number) or the help file read them.
QList<Field> readFields(FieldReader &reader, std::uint8_t shape)
{
    QList<Field> fields;
    for (int i = 0; i < 100000 && !reader.atEnd(); ++i) {
        const bool number = (shape >> (i % 8)) & 1;
        if (number)
            fields.append(reader.readNumber());
        else
            fields.append(reader.readText());
    }
    return fields;
}

// A text field reads back only without a double quote, which the written
// form cannot carry, and within the code page.
bool writable(const QString &text)
{
    return !text.contains(u'"') && codePageCanCarry(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t shape = data[0];
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    FieldReader reader(decodeCodePage(bytes), QStringLiteral("fuzz.txt"));
    QList<Field> fields;
    try {
        fields = readFields(reader, shape);
    } catch (const Failure &failure) {
        FUZZ_CHECK(failure.kind() == FailureKind::InputPastEndOfFile
                || failure.kind() == FailureKind::Overflow,
            failure.what());
        FUZZ_CHECK(failure.line() >= 1, failure.what());
        return 0;
    }
    FUZZ_CHECK(reader.atEnd());

    // Every field as a record of its own.
    RecordWriter writer;
    for (const Field &field : fields) {
        if (const auto *text = std::get_if<QString>(&field)) {
            if (!writable(*text))
                return 0;
            writer.addText(*text);
        } else {
            writer.addNumber(std::get<double>(field));
        }
        writer.endRecord();
    }
    FUZZ_CHECK(fields.isEmpty() == writer.text().isEmpty());
    FUZZ_CHECK(fields.isEmpty() || writer.text().endsWith(QStringLiteral("\r\n")));

    FieldReader again(writer.text(), QStringLiteral("again.txt"));
    RecordWriter rewriter;
    for (const Field &field : fields) {
        FUZZ_CHECK(!again.atEnd(), writer.text());
        if (const auto *text = std::get_if<QString>(&field)) {
            const QString back = again.readText();
            FUZZ_CHECK(back == *text, QStringLiteral("wrote \"%1\", read \"%2\"").arg(*text, back));
            rewriter.addText(back);
        } else {
            const double value = std::get<double>(field);
            const double back = again.readNumber();
            FUZZ_CHECK(fuzz::within15Digits(value, back),
                QStringLiteral("wrote %1 as %2, read %3")
                    .arg(fuzz::bits(value), numberFieldText(value), fuzz::bits(back)));
            rewriter.addNumber(back);
        }
        rewriter.endRecord();
    }
    FUZZ_CHECK(again.atEnd(), writer.text());
    // The written form is a fixed point: writing what was read back gives
    // the same text.
    FUZZ_CHECK(rewriter.text() == writer.text(), writer.text() + u'|' + rewriter.text());
    return 0;
}
