#pragma once

#include <QString>

namespace quorvel::platform {

// Whether a file exists at a full path.
class FileProbe {
public:
    virtual ~FileProbe() = default;

    virtual bool fileExists(const QString &path) = 0;
};

} // namespace quorvel::platform
