#include "writefailure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QStorageInfo>

#include <cerrno>
#include <sys/resource.h>

namespace {

bool matches(const QString &text, int code)
{
    return !text.isEmpty() && text.contains(qt_error_string(code), Qt::CaseInsensitive);
}

// A write of the SQLite file failed on the system level (SQLITE_IOERR): with
// the disk (nearly) full, or a file size limit set on this process, that is a
// full disk for the user.
bool diskLooksFull(const QString &path)
{
    const QStorageInfo storage(QFileInfo(path).absolutePath());
    if (storage.isValid() && storage.bytesAvailable() < 4 * 1024 * 1024)
        return true;
    rlimit limit{};
    return getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY;
}

} // namespace

WriteFailure::Cause WriteFailure::causeOfSystemText(const QString &systemText)
{
    if (matches(systemText, ENOSPC) || matches(systemText, EFBIG) || matches(systemText, EDQUOT))
        return DiskFull;
    if (matches(systemText, EROFS) || matches(systemText, EACCES) || matches(systemText, EPERM))
        return ReadOnly;
    if (matches(systemText, ETXTBSY) || matches(systemText, EBUSY) || matches(systemText, EAGAIN))
        return Locked;
    return Unknown;
}

WriteFailure::Cause WriteFailure::causeOfSqlError(const QSqlError &error)
{
    const int code = error.nativeErrorCode().toInt() & 0xff;
    switch (code) {
    case 13: // SQLITE_FULL
        return DiskFull;
    case 8: // SQLITE_READONLY
    case 23: // SQLITE_AUTH
        return ReadOnly;
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return Locked;
    default:
        break;
    }
    const QString text = error.text();
    if (text.contains(QLatin1String("disk is full"), Qt::CaseInsensitive))
        return DiskFull;
    if (text.contains(QLatin1String("readonly"), Qt::CaseInsensitive)
        || text.contains(QLatin1String("read-only"), Qt::CaseInsensitive))
        return ReadOnly;
    if (text.contains(QLatin1String("locked"), Qt::CaseInsensitive))
        return Locked;
    return Unknown;
}

bool WriteFailure::folderIsReadOnly(const QString &path)
{
    // The owner's write permission is honoured even for root, as it is for
    // project files.
    const QFileInfo folder(QFileInfo(path).absolutePath());
    return folder.exists() && (!folder.isWritable() || !(folder.permissions() & QFileDevice::WriteOwner));
}

QString WriteFailure::describe(Cause cause, const QString &path, const QString &detail)
{
    switch (cause) {
    case DiskFull:
        return QCoreApplication::translate("WriteFailure", "the disk is full");
    case ReadOnly:
        if (folderIsReadOnly(path))
            return QCoreApplication::translate("WriteFailure", "the folder \"%1\" is read-only")
                .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
        return QCoreApplication::translate("WriteFailure", "the file \"%1\" is read-only")
            .arg(QDir::toNativeSeparators(QFileInfo(path).fileName()));
    case Locked:
        return QCoreApplication::translate("WriteFailure", "the file is locked by another program");
    case MissingFolder:
        return QCoreApplication::translate("WriteFailure", "the folder \"%1\" does not exist")
            .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
    case Unknown:
        break;
    }
    return detail.isEmpty() ? QCoreApplication::translate("WriteFailure", "the system gave no reason")
                            : detail;
}

QString WriteFailure::forFile(const QString &path, const QString &systemText)
{
    return describe(causeOfSystemText(systemText), path, systemText);
}

QString WriteFailure::forSql(const QString &path, const QSqlError &error)
{
    Cause cause = causeOfSqlError(error);
    if (cause == Unknown && (error.nativeErrorCode().toInt() & 0xff) == 10 /* SQLITE_IOERR */
        && diskLooksFull(path))
        cause = DiskFull;
    if (cause == Unknown && (error.nativeErrorCode().toInt() & 0xff) == 14 /* SQLITE_CANTOPEN */
        && folderIsReadOnly(path))
        cause = ReadOnly;
    return describe(cause, path, error.text());
}
