#include "platform/registryvalue.h"

#include "core/failure.h"
#include "platform/registry.h"
#include "store/codepage.h"

namespace quorvel::platform {

void convertRegistryValue(quint32 type, QByteArrayView buffer, quint32 size, QString &keyVal)
{
    if (size == 0 || size > quint32(buffer.size())) {
        throw Failure(FailureKind::SubscriptOutOfRange);
    }
    const qsizetype kept = buffer[size - 1] == '\0' ? size - 1 : size;
    const QByteArrayView data = buffer.first(kept);

    switch (type) {
    case kRegSz:
        keyVal = decodeCodePage(data);
        break;
    case kRegDword: {
        QString digits = keyVal;
        for (qsizetype i = data.size() - 1; i >= 0; --i)
            digits += QString::number(quint8(data[i]), 16).toUpper();
        keyVal = QStringLiteral("&h") + digits;
        break;
    }
    default:
        break;
    }
}

} // namespace quorvel::platform
