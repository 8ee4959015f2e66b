#pragma once

#include <QStringView>
#include <Qt>

#include <optional>

namespace quorvel::ui {

// The character code that a key press hands to a _KeyPress handler, or none
// for a key that produces no character. Characters are the printable ones,
// Enter (13), Backspace (8) and Escape (27). Tab, Shift+Tab, Delete, the
// arrow and function keys, and keys held with Ctrl, Alt or Meta only move
// the focus or give commands. Ctrl and Alt together with a printable text
// are AltGr on Windows, which types characters.
std::optional<int> keyPressCode(int key, Qt::KeyboardModifiers modifiers, QStringView text);

} // namespace quorvel::ui
