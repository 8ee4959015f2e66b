#include "platform/services.h"
#include "ui/main/frmConversion.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/quorvel.png"), QSize(64, 64));
    icon.addFile(QStringLiteral(":/icons/quorvel-32.png"), QSize(32, 32));
    QApplication::setWindowIcon(icon);
    // The data files live in the application folder, beside the program.
    frmConversion window(QDir::cleanPath(QCoreApplication::applicationDirPath()),
        quorvel::platform::systemServices());
    window.Form_Load();
    window.show();
    // Without a window manager (as under a bare X server) a new window gets
    // no keyboard focus unless it asks for it.
    window.activateWindow();
    return app.exec();
}
