#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace quorvel {

// The 8-bit code page of the data files: the system's ANSI code page on
// Windows, Windows-1252 elsewhere.
QString decodeCodePage(QByteArrayView bytes);

// nullopt when the text holds a character the code page cannot carry: the
// writer never turns it into "?" silently.
std::optional<QByteArray> encodeCodePage(QStringView text);

bool codePageCanCarry(QStringView text);

// The code page's name for messages, e.g. "Windows-1252".
QString codePageName();

} // namespace quorvel
