#pragma once

#include "platform/registry.h"

#include <QHash>
#include <QMap>
#include <QPair>

namespace quorvel::platform {

// A registry held in memory, with the answers of the system's registry
// calls to a user without elevation: the stand-in where the platform has no
// registry. A key under HKEY_LOCAL_MACHINE opened with any write right is
// refused (kErrorAccessDenied), as Windows refuses it.
class MemoryRegistry : public Registry {
public:
    // Stores a value, creating its key. data is stored as given: a string
    // that should carry its terminating NUL must include it.
    void setValue(quint32 root, const QString &keyName, const QString &valueName, quint32 type,
        const QByteArray &data);
    void removeKey(quint32 root, const QString &keyName);

    long openKey(quint32 root, const QString &keyName, quint32 access, Key &key) override;
    long queryValue(Key key, const QString &valueName, quint32 &type, QByteArray &buffer,
        quint32 &size) override;
    void closeKey(Key key) override;

private:
    struct StoredValue {
        quint32 type = 0;
        QByteArray data;
    };
    using KeyPath = QPair<quint32, QString>;

    QMap<KeyPath, QHash<QString, StoredValue>> m_keys;
    QHash<Key, KeyPath> m_open;
    Key m_nextKey = 1;
};

} // namespace quorvel::platform
