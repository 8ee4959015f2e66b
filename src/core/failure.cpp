#include "core/failure.h"

#include <QDir>

namespace quorvel {

QString kindText(FailureKind kind)
{
    switch (kind) {
    case FailureKind::Overflow:
        return QStringLiteral("Overflow");
    case FailureKind::DivisionByZero:
        return QStringLiteral("Division by zero");
    case FailureKind::SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case FailureKind::FileNotFound:
        return QStringLiteral("File not found");
    case FailureKind::InputPastEndOfFile:
        return QStringLiteral("Input past end of file");
    case FailureKind::PathFileAccessError:
        return QStringLiteral("Path/File access error");
    case FailureKind::PermissionDenied:
        return QStringLiteral("Permission denied");
    case FailureKind::DiskFull:
        return QStringLiteral("Disk full");
    case FailureKind::BadFileNameOrNumber:
        return QStringLiteral("Bad file name or number");
    case FailureKind::DeviceIOError:
        return QStringLiteral("Device I/O error");
    case FailureKind::FileTooLarge:
        return QStringLiteral("File too large");
    case FailureKind::Refused:
        return QStringLiteral("Not possible");
    }
    return QStringLiteral("Unknown failure");
}

Failure::Failure(FailureKind kind, QString path, int line, QString detail)
    : m_kind(kind)
    , m_path(std::move(path))
    , m_line(line)
    , m_detail(std::move(detail))
    , m_what(message().toUtf8())
{
}

QString Failure::kindText() const
{
    return quorvel::kindText(m_kind);
}

QString Failure::message() const
{
    QString text = kindText();
    if (!m_path.isEmpty()) {
        text += QStringLiteral("\n\nFile: ") + QDir::toNativeSeparators(m_path);
        if (m_line > 0)
            text += QStringLiteral("\nLine: ") + QString::number(m_line);
    }
    if (!m_detail.isEmpty())
        text += QStringLiteral("\n\n") + m_detail;
    return text;
}

const char *Failure::what() const noexcept
{
    return m_what.constData();
}

} // namespace quorvel
