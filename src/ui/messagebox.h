#pragma once

class QMessageBox;
class QWidget;

namespace quorvel::ui {

// The width a window needs for a title bar that shows its whole title: the
// title in the bold desktop title font, with room for an icon before it and
// three buttons after it.
int titleBarWidth(const QWidget &window);

// Makes the box at least titleBarWidth wide: a message box is only as wide
// as its text and buttons, and a window manager cuts a longer title. Call it
// once the title and the texts are set.
void fitTitle(QMessageBox &box);

} // namespace quorvel::ui
