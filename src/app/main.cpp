#include "platform/services.h"
#include "store/appfolder.h"
#include "ui/main/frmConversion.h"
#include "ui/main/startup.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The data files live in the application folder: the folder of the
    // program file, or the user's own that the launcher names.
    frmConversion window(quorvel::appFolderFromArguments(QCoreApplication::arguments(),
                             QDir::cleanPath(QCoreApplication::applicationDirPath())),
        quorvel::platform::systemServices());
    quorvel::ui::startMainWindow(window);
    return app.exec();
}
