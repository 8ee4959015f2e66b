#pragma once

class frmConversion;

namespace quorvel::ui {

// Starts the program's window as the program does: the application icon for
// every window, the load step, then shown and given the keyboard focus.
void startMainWindow(frmConversion &window);

} // namespace quorvel::ui
