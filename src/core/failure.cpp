#include "core/failure.h"

namespace quorvel {

namespace {

const char *kindName(FailureKind kind)
{
    switch (kind) {
    case FailureKind::Overflow:
        return "Overflow";
    case FailureKind::DivisionByZero:
        return "Division by zero";
    case FailureKind::SubscriptOutOfRange:
        return "Subscript out of range";
    case FailureKind::FileNotFound:
        return "File not found";
    case FailureKind::InputPastEndOfFile:
        return "Input past end of file";
    case FailureKind::PathFileAccessError:
        return "Path/File access error";
    case FailureKind::PermissionDenied:
        return "Permission denied";
    case FailureKind::DiskFull:
        return "Disk full";
    case FailureKind::BadFileNameOrNumber:
        return "Bad file name or number";
    case FailureKind::DeviceIOError:
        return "Device I/O error";
    case FailureKind::FileTooLarge:
        return "File too large";
    case FailureKind::Refused:
        return "Not possible";
    }
    return "Unknown failure";
}

} // namespace

QString kindText(FailureKind kind)
{
    return QString::fromLatin1(kindName(kind));
}

Failure::Failure(FailureKind kind, QString path, int line, Cause cause, QStringList args)
    : m_kind(kind)
    , m_path(std::move(path))
    , m_line(line)
{
    if (cause != Cause::None)
        m_reasons.append({ cause, std::move(args) });
}

Failure &Failure::because(Cause cause, QStringList args)
{
    m_reasons.append({ cause, std::move(args) });
    return *this;
}

QString Failure::kindText() const
{
    return quorvel::kindText(m_kind);
}

const char *Failure::what() const noexcept
{
    return kindName(m_kind);
}

} // namespace quorvel
