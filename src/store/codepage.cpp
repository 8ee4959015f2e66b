#include "store/codepage.h"

#ifdef Q_OS_WIN
#include "store/win32_codepage.h"
#else
#include <QStringEncoder>
#endif

namespace quorvel {

#ifdef Q_OS_WIN

QString decodeCodePage(QByteArrayView bytes)
{
    const std::string_view data(bytes.data(), std::size_t(bytes.size()));
    return QString::fromStdU16String(win32::decodeCodePage(win32::ansiCodePage(), data));
}

std::optional<QByteArray> encodeCodePage(QStringView text)
{
    const std::u16string_view units(text.utf16(), std::size_t(text.size()));
    const auto bytes = win32::encodeCodePage(win32::ansiCodePage(), units);
    return bytes ? std::optional(QByteArray::fromStdString(*bytes)) : std::nullopt;
}

QString codePageName()
{
    return QStringLiteral("system ANSI");
}

#else

namespace {

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F; the five bytes it
// leaves undefined decode to the C1 control of the same number, as the
// converter of the platform decodes them.
constexpr char16_t kCharsFrom0x80[32]
    = { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
          0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
          0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178 };

} // namespace

QString decodeCodePage(QByteArrayView bytes)
{
    // One byte is one UTF-16 unit: Latin-1 decoding (vectorised in Qt) and a
    // fix-up of the bytes 0x80 to 0x9F, which data files rarely hold. This
    // keeps the general converter, and its start-up cost, out of every read.
    QString text = QString::fromLatin1(bytes.data(), bytes.size());
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    // Block by block, each a fixed count of bytes that the compiler can test
    // in vector registers.
    constexpr qsizetype kBlock = 64;
    qsizetype i = 0;
    for (; i + kBlock <= size; i += kBlock) {
        unsigned char high = 0;
        for (qsizetype j = 0; j < kBlock; ++j)
            high |= (in[i + j] & 0xE0) == 0x80;
        if (high)
            break;
    }
    if (i < size) {
        char16_t *out = reinterpret_cast<char16_t *>(text.data());
        for (; i < size; ++i) {
            if ((in[i] & 0xE0) == 0x80)
                out[i] = kCharsFrom0x80[in[i] - 0x80];
        }
    }
    return text;
}

std::optional<QByteArray> encodeCodePage(QStringView text)
{
    // A fresh encoder per call: an encoder's error flag survives resetState(),
    // so a shared one would refuse every text after the first refusal.
    QStringEncoder encoder("windows-1252", QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

QString codePageName()
{
    return QStringLiteral("Windows-1252");
}

#endif

bool codePageCanCarry(QStringView text)
{
    return encodeCodePage(text).has_value();
}

} // namespace quorvel
