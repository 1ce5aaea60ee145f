#ifndef SQLITECONNECTION_H
#define SQLITECONNECTION_H

#include <QSqlDatabase>
#include <QString>

// Small helpers shared by every holder of an SQLite connection to a project
// file. Project files are only ever opened, never created: a path without a
// regular file behind it is refused, and an existing file is opened through
// an SQLite URI with mode=rw (or mode=ro), which never creates a file either.
class SqliteConnection
{
public:
    // base + "-" + a number unique in this process ("KORA-3", "DB1-1").
    static QString uniqueName(const QString &base);

    // True when a regular file exists at path.
    static bool fileExists(const QString &path);

    // True when the file must not be written: the file system refuses writes
    // or the owner's write permission is cleared (also honoured for root).
    static bool isReadOnlyFile(const QString &path);

    // The connection called name (driver "QSQLITE"), added if it does not
    // exist yet; opening it is left to openExisting().
    static QSqlDatabase connection(const QString &name);

    // Configures db (driver "QSQLITE") for the existing file at path and
    // opens it; read-only files are opened read-only. Returns false without
    // touching the file system when no file exists at path.
    static bool openExisting(QSqlDatabase &db, const QString &path);

    // Opens every project file of this process read-only from now on,
    // writable or not (a batch run that must leave the file as it found it).
    static void setAlwaysReadOnly(bool on);
    static bool alwaysReadOnly();

    // Closes db, drops the handle and removes the connection. Every
    // QSqlQuery of the connection must be gone before this is called.
    static void remove(QSqlDatabase &db, const QString &connectionName);
};

#endif // SQLITECONNECTION_H
