#pragma once

#include <QtMath>

// Window layouts are given in twips (1/1440 inch); a widget's logical DPI
// turns them into pixels, so a window keeps its size in inches at any DPI.
inline int twipsToPixels(int twips, int logicalDpi)
{
    return qRound(twips * logicalDpi / 1440.0);
}
