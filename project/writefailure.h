#ifndef WRITEFAILURE_H
#define WRITEFAILURE_H

#include <QString>

class QSqlError;

// Puts the reason a write failed into words a user understands: the disk is
// full, the folder or the file is read-only, another program holds a lock.
// Anything else keeps the system's own text.
class WriteFailure
{
public:
    enum Cause { Unknown, DiskFull, ReadOnly, Locked, MissingFolder };

    // Cause of a failed file operation from the system's error text (as
    // QFile::errorString() gives it).
    static Cause causeOfSystemText(const QString &systemText);
    // Cause of a failed SQLite statement.
    static Cause causeOfSqlError(const QSqlError &error);

    // Why writing path failed, given the system's error text: "the disk is
    // full", "the folder ... is read-only", ... (translated).
    static QString forFile(const QString &path, const QString &systemText);
    // Why writing the database file at path failed.
    static QString forSql(const QString &path, const QSqlError &error);
    // The words for a cause; readOnly texts name the folder when it is the
    // folder that refuses, otherwise the file; MissingFolder names the folder
    // path should be in. detail is used for Unknown.
    static QString describe(Cause cause, const QString &path, const QString &detail);

    // True when the folder of path refuses new files (its owner's write
    // permission is honoured even for root).
    static bool folderIsReadOnly(const QString &path);
};

#endif // WRITEFAILURE_H
