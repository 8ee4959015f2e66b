#pragma once

#include <QByteArray>

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

} // namespace quorvel::test
