#include "app/commandline.h"
#include "platform/services.h"
#include "store/appfolder.h"
#include "store/upgrade.h"
#include "ui/main/frmConversion.h"
#include "ui/main/startup.h"
#include "ui/main/upgradenotice.h"

#include <QApplication>
#include <QDir>

namespace {

// The bundle that filled users' folders before they kept a copy of it.
const QString kLegacyBundle = QStringLiteral("bundle-2.0.3");

} // namespace

int main(int argc, char *argv[])
{
    if (quorvel::app::answeredCommandLine(argc, argv))
        return 0;
    QApplication app(argc, argv);
    // The data files live in the application folder: the folder of the
    // program file, or the user's own that the launcher names.
    const quorvel::app::CommandLine line
        = quorvel::app::readCommandLine(QCoreApplication::arguments());
    const QString programFolder = QDir::cleanPath(QCoreApplication::applicationDirPath());
    const quorvel::AppFolder folder
        = quorvel::chooseAppFolder(programFolder, line.wanted, line.fallback);
    quorvel::UpgradeReport upgrade;
    if (line.upgrade && folder.fallback.isEmpty() && folder.path == folder.wanted)
        upgrade = quorvel::upgradeFolder(
            folder.path, programFolder, programFolder + u'/' + kLegacyBundle);
    frmConversion window(folder, quorvel::platform::systemServices());
    quorvel::ui::startMainWindow(window);
    quorvel::ui::showUpgradeReport(window, upgrade);
    return app.exec();
}
