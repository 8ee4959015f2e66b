// The smallest Qt window with the main window's kinds of controls: three
// editable combo boxes and two line edits, in Qt's default settings. The
// reference for the program's first paint and memory.

#include "firstpaint.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

int main(int argc, char *argv[])
{
    QElapsedTimer mainStarted;
    mainStarted.start();

    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(407, 74);
    for (int row = 0; row < 3; ++row) {
        auto *combo = new QComboBox(&window);
        combo->setEditable(true);
        combo->setGeometry(8, row * 24, 193, 21);
    }
    for (int row = 1; row < 3; ++row)
        (new QLineEdit(&window))->setGeometry(208, row * 24, 193, 21);
    window.show();
    window.activateWindow();

    quorvel::bench::FirstPaintProbe probe(&window, "minimal", mainStarted);
    probe.arm();
    quorvel::bench::quitAfterTimeout(20000);
    const int result = app.exec();
    return probe.report() && result == 0 ? 0 : 1;
}
