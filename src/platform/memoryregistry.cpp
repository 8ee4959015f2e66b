#include "platform/memoryregistry.h"

#include <cstring>

namespace quorvel::platform {

namespace {

// Set value, create subkey, create link, delete, write DAC, write owner,
// generic all and generic write.
constexpr quint32 kWriteRights = 0x500D0026u;

} // namespace

void MemoryRegistry::setValue(quint32 root, const QString &keyName, const QString &valueName,
    quint32 type, const QByteArray &data)
{
    m_keys[{ root, keyName }].insert(valueName, { type, data });
}

void MemoryRegistry::removeKey(quint32 root, const QString &keyName)
{
    m_keys.remove({ root, keyName });
}

long MemoryRegistry::openKey(quint32 root, const QString &keyName, quint32 access, Key &key)
{
    const KeyPath path { root, keyName };
    if (!m_keys.contains(path))
        return kErrorFileNotFound;
    if (root == kHkeyLocalMachine && (access & kWriteRights) != 0)
        return kErrorAccessDenied;
    key = m_nextKey++;
    m_open.insert(key, path);
    return kErrorSuccess;
}

long MemoryRegistry::queryValue(
    Key key, const QString &valueName, quint32 &type, QByteArray &buffer, quint32 &size)
{
    const auto open = m_open.constFind(key);
    if (open == m_open.cend())
        return kErrorFileNotFound;
    const auto &values = m_keys.value(*open);
    const auto value = values.constFind(valueName);
    if (value == values.cend())
        return kErrorFileNotFound;

    const quint32 needed = quint32(value->data.size());
    const quint32 capacity = qMin(size, quint32(buffer.size()));
    if (needed > capacity) {
        size = needed;
        return kErrorMoreData;
    }
    if (needed > 0)
        std::memcpy(buffer.data(), value->data.constData(), needed);
    type = value->type;
    size = needed;
    return kErrorSuccess;
}

void MemoryRegistry::closeKey(Key key)
{
    m_open.remove(key);
}

} // namespace quorvel::platform
