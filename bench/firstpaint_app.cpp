// The program's start-up exactly as the application makes it, with the
// bundled data beside this executable or in the folder that --app-folder
// names, timed to the main window's first paint. The application itself
// stays free of timing code.

#include "firstpaint.h"

#include "app/commandline.h"
#include "platform/services.h"
#include "store/appfolder.h"
#include "ui/main/frmConversion.h"
#include "ui/main/startup.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QElapsedTimer mainStarted;
    mainStarted.start();

    QApplication app(argc, argv);
    const quorvel::app::CommandLine line
        = quorvel::app::readCommandLine(QCoreApplication::arguments());
    frmConversion window(
        quorvel::chooseAppFolder(
            QDir::cleanPath(QCoreApplication::applicationDirPath()), line.wanted, line.fallback),
        quorvel::platform::systemServices());
    quorvel::ui::startMainWindow(window);

    quorvel::bench::FirstPaintProbe probe(&window, "quorvel", mainStarted);
    probe.arm();
    quorvel::bench::quitAfterTimeout(20000);
    const int result = app.exec();
    return probe.report() && result == 0 ? 0 : 1;
}
