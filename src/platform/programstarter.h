#pragma once

#include <QString>

namespace quorvel::platform {

// Starts a program as a new process, its window shown normally and given
// the focus, without waiting for it.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;

    // false when the program cannot be started: an empty path, or one that
    // names no program.
    virtual bool startProgram(const QString &path) = 0;
};

} // namespace quorvel::platform
