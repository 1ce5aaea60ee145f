#include "sqliteconnection.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <atomic>

namespace {
std::atomic<bool> s_alwaysReadOnly{false};
}

void SqliteConnection::setAlwaysReadOnly(bool on)
{
    s_alwaysReadOnly = on;
}

bool SqliteConnection::alwaysReadOnly()
{
    return s_alwaysReadOnly;
}

QString SqliteConnection::uniqueName(const QString &base)
{
    static std::atomic<int> counter{0};
    return base + QLatin1Char('-') + QString::number(++counter);
}

bool SqliteConnection::fileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

bool SqliteConnection::isReadOnlyFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isWritable())
        return true;
    return !(info.permissions() & QFileDevice::WriteOwner);
}

QSqlDatabase SqliteConnection::connection(const QString &name)
{
    if (QSqlDatabase::contains(name))
        return QSqlDatabase::database(name, false);
    return QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
}

bool SqliteConnection::openExisting(QSqlDatabase &db, const QString &path)
{
    if (!fileExists(path))
        return false;
    if (!db.isValid())
        return false;
    if (db.isOpen())
        db.close();

    const bool readOnly = s_alwaysReadOnly || isReadOnlyFile(path);
    // mode=rw opens an existing file for reading and writing but never
    // creates one; mode=ro opens it for reading only.
    QString uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
    uri += readOnly ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw");
    db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY")
                                  : QStringLiteral("QSQLITE_OPEN_URI"));
    db.setDatabaseName(uri);
    return db.open();
}

void SqliteConnection::remove(QSqlDatabase &db, const QString &connectionName)
{
    if (db.isValid() && db.isOpen())
        db.close();
    db = QSqlDatabase();
    if (!connectionName.isEmpty() && QSqlDatabase::contains(connectionName))
        QSqlDatabase::removeDatabase(connectionName);
}
