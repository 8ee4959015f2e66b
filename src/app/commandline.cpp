#include "app/commandline.h"

#include "appinfo.h"

#include <QByteArrayView>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace quorvel::app {

namespace {

const QString kAppFolderOption = QStringLiteral("--app-folder=");
const QString kFallbackOption = QStringLiteral("--fallback=");
const QString kUpgradeOption = QStringLiteral("--upgrade");

} // namespace

CommandLine readCommandLine(const QStringList &arguments)
{
    CommandLine line;
    for (const QString &argument : arguments.mid(1)) {
        if (argument.startsWith(kAppFolderOption)) {
            line.wanted = argument.mid(kAppFolderOption.size());
            line.fallback.clear();
        } else if (argument.startsWith(kFallbackOption)) {
            const QString value = argument.mid(kFallbackOption.size());
            const qsizetype colon = value.indexOf(u':');
            line.fallback = value.left(colon);
            line.wanted = colon < 0 ? QString() : value.mid(colon + 1);
        } else if (argument == kUpgradeOption) {
            line.upgrade = true;
        }
    }
    if (!line.wanted.isEmpty())
        line.wanted = QDir::cleanPath(QFileInfo(line.wanted).absoluteFilePath());
    return line;
}

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

} // namespace quorvel::app
