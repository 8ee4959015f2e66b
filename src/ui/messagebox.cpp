#include "ui/messagebox.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLayout>
#include <QMessageBox>

namespace quorvel::ui {

int titleBarWidth(const QWidget &window)
{
    // Qt knows no window manager's title font; the desktop's title font, or
    // else the application's, in bold is as near as it gets.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    // The icon and each button take about a title bar's height across, and
    // the bar keeps a margin at each end and around the title.
    const int button = metrics.height() * 3 / 2;
    return metrics.horizontalAdvance(window.windowTitle()) + 4 * button + 2 * metrics.height();
}

void fitTitle(QMessageBox &box)
{
    // The box fixes its size to its layout's minimum whenever it is shown;
    // the row of buttons spans the layout, so its minimum widens the box.
    auto *buttons = box.findChild<QDialogButtonBox *>();
    if (!buttons || !box.layout())
        return;
    const QMargins margins = box.layout()->contentsMargins();
    buttons->setMinimumWidth(titleBarWidth(box) - margins.left() - margins.right());
}

} // namespace quorvel::ui
