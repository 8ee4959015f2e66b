#include "store/filefailure.h"

#include <QFileInfo>

#include <cerrno>

namespace quorvel {

FailureKind failureKind(int error, QFileDevice::FileError fileError, Access access)
{
    switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
        return FailureKind::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
        return FailureKind::PermissionDenied;
    case EISDIR:
        return FailureKind::PathFileAccessError;
    case ENOENT:
        return access == Access::Read ? FailureKind::FileNotFound
                                      : FailureKind::BadFileNameOrNumber;
    case ENOTDIR:
        return access == Access::Read ? FailureKind::FileNotFound
                                      : FailureKind::PathFileAccessError;
    case ENAMETOOLONG:
    case EINVAL:
        return FailureKind::BadFileNameOrNumber;
    case EIO:
        return FailureKind::DeviceIOError;
    default:
        break;
    }
    switch (fileError) {
    case QFileDevice::ResourceError:
        return FailureKind::DiskFull;
    case QFileDevice::PermissionsError:
        return FailureKind::PermissionDenied;
    case QFileDevice::OpenError:
        return FailureKind::PathFileAccessError;
    default:
        return FailureKind::DeviceIOError;
    }
}

Failure writeFailure(FailureKind kind, const QString &path, const QString &systemText)
{
    Failure failure(kind, path);
    if (kind == FailureKind::PermissionDenied) {
        const QFileInfo file(path);
        failure.because(file.exists() && QFileInfo(file.absolutePath()).isWritable()
                ? Cause::FileReadOnly
                : Cause::FolderReadOnly);
    } else if (!systemText.isEmpty()) {
        failure.because(Cause::SystemError, { systemText });
    }
    return failure;
}

void failWrite(
    int error, QFileDevice::FileError fileError, const QString &path, const QString &systemText)
{
    throw writeFailure(failureKind(error, fileError, Access::Write), path, systemText);
}

Failure changedBehind(const QString &path)
{
    return Failure(FailureKind::Refused, path, 0, Cause::ChangedBehind);
}

} // namespace quorvel
