#pragma once

#include <QColor>

namespace quorvel::ui {

// The contrast ratio of two colours, from 1 (the same) to 21 (black and
// white): the lighter one's relative luminance plus 0.05 over the darker
// one's plus 0.05, the luminance weighing the linear sRGB channels.
double contrastRatio(const QColor &a, const QColor &b);

// colour where its contrast ratio against background is at least 3:1, the
// least at which text stays readable; fallback otherwise.
QColor readableOr(const QColor &colour, const QColor &background, const QColor &fallback);

} // namespace quorvel::ui
