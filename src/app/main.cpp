#include "platform/services.h"
#include "store/appfolder.h"
#include "store/upgrade.h"
#include "ui/main/frmConversion.h"
#include "ui/main/startup.h"
#include "ui/main/upgradenotice.h"

#include <QApplication>
#include <QDir>

namespace {

// The launcher adds this when the installed data files changed since the
// user's folder was last brought up to date with them.
const QString kUpgradeOption = QStringLiteral("--upgrade");

// The bundle that filled users' folders before they kept a copy of it.
const QString kLegacyBundle = QStringLiteral("bundle-2.0.3");

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The data files live in the application folder: the folder of the
    // program file, or the user's own that the launcher names.
    const QStringList arguments = QCoreApplication::arguments();
    const QString programFolder = QDir::cleanPath(QCoreApplication::applicationDirPath());
    const quorvel::AppFolder folder = quorvel::appFolderFromArguments(arguments, programFolder);
    quorvel::UpgradeReport upgrade;
    if (arguments.contains(kUpgradeOption) && folder.fallback.isEmpty()
        && folder.path == folder.wanted)
        upgrade = quorvel::upgradeFolder(
            folder.path, programFolder, programFolder + u'/' + kLegacyBundle);
    frmConversion window(folder, quorvel::platform::systemServices());
    quorvel::ui::startMainWindow(window);
    quorvel::ui::showUpgradeReport(window, upgrade);
    return app.exec();
}
