#include "store/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace quorvel {

namespace {

#ifdef Q_OS_WIN
constexpr auto kCodePage = QStringConverter::System;
#endif

QStringEncoder makeEncoder()
{
#ifdef Q_OS_WIN
    return QStringEncoder(kCodePage, QStringConverter::Flag::Stateless);
#else
    return QStringEncoder("windows-1252", QStringConverter::Flag::Stateless);
#endif
}

} // namespace

QString decodeCodePage(QByteArrayView bytes)
{
    // Every byte has a character in this code page, so the decoder never
    // records an error, and Stateless keeps one call from leaking into the
    // next: one shared decoder is safe.
#ifdef Q_OS_WIN
    static QStringDecoder decoder(kCodePage, QStringConverter::Flag::Stateless);
#else
    static QStringDecoder decoder("windows-1252", QStringConverter::Flag::Stateless);
#endif
    return decoder.decode(bytes);
}

std::optional<QByteArray> encodeCodePage(QStringView text)
{
    // A fresh encoder per call: an encoder's error flag survives resetState(),
    // so a shared one would refuse every text after the first refusal.
    QStringEncoder encoder = makeEncoder();
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

bool codePageCanCarry(QStringView text)
{
    return encodeCodePage(text).has_value();
}

QString codePageName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("system ANSI");
#else
    return QStringLiteral("Windows-1252");
#endif
}

} // namespace quorvel
