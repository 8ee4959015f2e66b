#include "store/filefailure.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <utility>

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

Failure writeFailure(FailureKind kind, const QString &path, QString reason)
{
    if (kind == FailureKind::PermissionDenied) {
        const QFileInfo file(path);
        if (file.exists() && QFileInfo(file.absolutePath()).isWritable())
            reason = QStringLiteral("The file is read-only, so it is not rewritten. Make it "
                                    "writable (chmod u+w \"%1\"), then make the edit again.")
                         .arg(QDir::toNativeSeparators(path));
        else
            reason = QStringLiteral("The application folder is read-only. Edits need a "
                                    "writable application folder: start an installed Quorvel "
                                    "from the menu or as quorvel, which gives each user one, or "
                                    "run the program from a folder you can write to.");
    }
    return Failure(kind, path, 0, std::move(reason));
}

void failWrite(
    int error, QFileDevice::FileError fileError, const QString &path, const QString &reason)
{
    throw writeFailure(failureKind(error, fileError, Access::Write), path, reason);
}

Failure changedBehind(const QString &path, const QString &advice)
{
    return Failure(FailureKind::Refused, path, 0,
        QStringLiteral("The file was changed by another program since Quorvel read it, so it "
                       "is not rewritten: that would lose the change. %1")
            .arg(advice));
}

} // namespace quorvel
