#pragma once

#include <QPaintDevice>
#include <QRect>
#include <QSize>
#include <QtMath>

namespace quorvel::ui {

// Layout sizes are given in twips, 1/1440 inch.
inline constexpr int kTwipsPerInch = 1440;

inline int twipsToPixels(int twips, int logicalDpi)
{
    return qRound(double(twips) * logicalDpi / kTwipsPerInch);
}

// Twips to pixels at the logical resolution of a device (usually a widget).
class TwipsScale {
public:
    explicit TwipsScale(const QPaintDevice &device)
        : m_dpiX(device.logicalDpiX())
        , m_dpiY(device.logicalDpiY())
    {
    }

    int x(int twips) const { return twipsToPixels(twips, m_dpiX); }
    int y(int twips) const { return twipsToPixels(twips, m_dpiY); }
    QSize size(int width, int height) const { return { x(width), y(height) }; }
    // Edges are rounded, not the width and height, so that controls that
    // touch in twips touch in pixels too.
    QRect rect(int left, int top, int width, int height) const
    {
        return QRect(QPoint(x(left), y(top)), QPoint(x(left + width) - 1, y(top + height) - 1));
    }

private:
    int m_dpiX;
    int m_dpiY;
};

} // namespace quorvel::ui
