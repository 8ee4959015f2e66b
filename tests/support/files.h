#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

namespace quorvel::test {

// The standard data folder of the window tests, byte for byte: three
// categories and their unit files.
inline const QByteArray kStandardCategories = "\"Length\"\r\n\"Time\"\r\n\"Weight\"\r\n";
inline const QByteArray kLengthUnits
    = "\"Feet\",0.3048\r\n\"Inches\",0.0254\r\n\"Meters\",1\r\n\"Miles\",1609.344\r\n";
inline const QByteArray kTimeUnits
    = "\"Days\",86400\r\n\"Hours\",3600\r\n\"Minutes\",60\r\n\"Seconds\",1\r\n";
inline const QByteArray kWeightUnits
    = "\"Grams\",0.001\r\n\"Kilograms\",1\r\n\"Pounds\",0.45359237\r\n";

// The bytes of a unit file of count units named "Unit 00001", "Unit
// 00002"... in name order, each with its own factor: 23 bytes a record, so
// 32767 units make a file of 754 KB.
QByteArray unitFileBytes(int count);
// The bytes of a category list file of count distinct names of mixed case in
// shuffled order (a fixed seed), so that the sorted list has real sorting to do.
QByteArray categoryFileBytes(int count);

// Makes a damaged or hostile data file at path: "NUL byte", "100 MB file"
// (sparse), "unterminated quote", "text after a closing quote", "missing
// factor at the end", "32768 records", "directory", "missing", "dangling link", "named pipe",
// "linked to an endless device", "unreadable", "leftover temporary file";
// units for a unit file, else a category list. False when it cannot.
bool makeBadFile(const QString &recipe, const QString &path, bool units);

// The names of the files in a folder, in code-unit order.
QStringList fileNames(const QString &folder);

// Writes the file whole, replacing what it held; false when it cannot.
bool put(const QString &path, const QByteArray &bytes);
// The bytes of the file, or "<unreadable>".
QByteArray contents(const QString &path);
// conversion.txt naming Length, Time and Weight, and their unit files.
bool writeStandardFiles(const QString &folder);

// Every entry of a folder by name: a file with its bytes, a directory, or a
// link with its target and the target's bytes. Compared whole, it tells
// whether anything at all in the folder changed.
using Snapshot = QMap<QString, QString>;
Snapshot snapshot(const QString &folder);
// The snapshot with the files' bytes as text, for a failure message.
QString describe(const Snapshot &snapshot);
// The entry of a file with these bytes.
QString fileEntry(const QByteArray &bytes);

} // namespace quorvel::test
