#include "appinfo.h"
#include "platform/services.h"
#include "store/appfolder.h"
#include "store/upgrade.h"
#include "ui/main/frmConversion.h"
#include "ui/main/startup.h"
#include "ui/main/upgradenotice.h"

#include <QApplication>
#include <QByteArrayView>
#include <QDir>

#include <cstdio>

namespace {

// The launcher adds this when the installed data files changed since the
// user's folder was last brought up to date with them.
const QString kUpgradeOption = QStringLiteral("--upgrade");

// The bundle that filled users' folders before they kept a copy of it.
const QString kLegacyBundle = QStringLiteral("bundle-2.0.3");

// --version and --help are answered before any window or display is
// needed, as command-line users and packaging tools expect.
bool answeredCommandLine(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView argument(argv[i]);
        if (argument == "--version") {
            std::printf("quorvel %d.%d.%d\n", quorvel::appinfo::kVersionMajor,
                quorvel::appinfo::kVersionMinor, quorvel::appinfo::kVersionRevision);
            return true;
        }
        if (argument == "--help") {
            std::fputs("Usage: quorvel [OPTION]...\n"
                       "Converts values between units; what it knows lives in the data files\n"
                       "of its application folder.\n"
                       "\n"
                       "  --app-folder=FOLDER       read and write the data files in FOLDER\n"
                       "  --fallback=REASON:FOLDER  run on the program's own folder, saying why\n"
                       "                            FOLDER was not used\n"
                       "  --upgrade                 first bring the data files of the application\n"
                       "                            folder up to date with the installed ones\n"
                       "  --version                 print the version and exit\n"
                       "  --help                    print this help and exit\n"
                       "\n"
                       "Started as quorvel from an installed package, a launcher passes the\n"
                       "first three; see quorvel(1).\n",
                stdout);
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (answeredCommandLine(argc, argv))
        return 0;
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
