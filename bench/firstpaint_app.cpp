// The program's start-up exactly as the application makes it, with the
// bundled data beside this executable, timed to the main window's first
// paint. The application itself stays free of timing code.

#include "firstpaint.h"

#include "platform/services.h"
#include "ui/main/frmConversion.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

int main(int argc, char *argv[])
{
    QElapsedTimer mainStarted;
    mainStarted.start();

    QApplication app(argc, argv);
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/quorvel.png"), QSize(64, 64));
    icon.addFile(QStringLiteral(":/icons/quorvel-32.png"), QSize(32, 32));
    QApplication::setWindowIcon(icon);
    frmConversion window(QDir::cleanPath(QCoreApplication::applicationDirPath()),
        quorvel::platform::systemServices());
    window.Form_Load();
    window.show();
    window.activateWindow();

    quorvel::bench::FirstPaintProbe probe(&window, "quorvel", mainStarted);
    probe.arm();
    quorvel::bench::quitAfterTimeout(20000);
    const int result = app.exec();
    return probe.report() && result == 0 ? 0 : 1;
}
