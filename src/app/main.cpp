#include "platform/services.h"
#include "ui/main/frmConversion.h"
#include "ui/main/startup.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The data files live in the application folder, beside the program.
    frmConversion window(QDir::cleanPath(QCoreApplication::applicationDirPath()),
        quorvel::platform::systemServices());
    quorvel::ui::startMainWindow(window);
    return app.exec();
}
