#include "ui/main/keypress.h"

namespace quorvel::ui {

std::optional<int> keyPressCode(int key, Qt::KeyboardModifiers modifiers, QStringView text)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    if (ctrl != alt || (modifiers & Qt::MetaModifier))
        return std::nullopt;
    const bool altGr = ctrl && alt;
    if (!altGr) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return 13;
        if (key == Qt::Key_Backspace)
            return 8;
        if (key == Qt::Key_Escape)
            return 27;
    }
    if (text.isEmpty())
        return std::nullopt;
    const char16_t first = text.front().unicode();
    // Tab, Delete and the other control codes move the focus or edit; they
    // type nothing.
    if (first < 0x20 || first == 0x7F)
        return std::nullopt;
    return first;
}

} // namespace quorvel::ui
