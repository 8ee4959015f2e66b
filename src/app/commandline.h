#pragma once

#include <QString>
#include <QStringList>

namespace quorvel::app {

// What the command line asks of the program. The launcher passes the
// options; a user may too.
struct CommandLine {
    // --app-folder=FOLDER, or the FOLDER of --fallback=REASON:FOLDER, made
    // absolute; empty when neither names one. The last of the two counts.
    QString wanted;
    // The REASON of --fallback: the launcher's word for why it could not use
    // the user's own folder; empty without the option.
    QString fallback;
    // --upgrade: the installed data files changed since the user's folder
    // was last brought up to date with them.
    bool upgrade = false;
};

// The options among arguments, the program's name first.
CommandLine readCommandLine(const QStringList &arguments);

// Answers --version and --help on standard output; true when it did, and the
// program ends. Asked before any window or display is needed, as
// command-line users and packaging tools expect.
bool answeredCommandLine(int argc, char *argv[]);

} // namespace quorvel::app
