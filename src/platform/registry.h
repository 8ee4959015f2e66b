#pragma once

#include "platform/registrykeys.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace quorvel::platform {

// Value types and answer codes, with the values the system's registry calls
// use.
inline constexpr quint32 kRegSz = 1;
inline constexpr quint32 kRegExpandSz = 2;
inline constexpr quint32 kRegDword = 4;
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorMoreData = 234;

// The size of the buffer a value's data is read into.
inline constexpr int kRegistryBufferSize = 1024;

// Reading values from the system registry: open a key, query values in it,
// close it. Every call answers kErrorSuccess (0) on success.
class Registry {
public:
    using Key = quintptr;

    virtual ~Registry() = default;

    virtual long openKey(quint32 root, const QString &keyName, quint32 access, Key &key) = 0;

    // buffer holds size bytes on the way in (its capacity). On success the
    // value's data is written to its start, and size becomes the number of
    // bytes written (for strings, the terminating NUL included). A value
    // larger than size is not read and answers kErrorMoreData.
    virtual long queryValue(
        Key key, const QString &valueName, quint32 &type, QByteArray &buffer, quint32 &size)
        = 0;

    virtual void closeKey(Key key) = 0;
};

} // namespace quorvel::platform
