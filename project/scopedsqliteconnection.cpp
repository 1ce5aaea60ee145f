#include "scopedsqliteconnection.h"

#include "sqliteconnection.h"

#include <QSqlQuery>
#include <QVariant>

ScopedSqliteConnection::ScopedSqliteConnection(const QString &path, const QString &nameBase)
    : m_name(SqliteConnection::uniqueName(nameBase))
{
    m_db = SqliteConnection::connection(m_name);
    m_open = SqliteConnection::openExisting(m_db, path);
    if (m_open)
        QSqlQuery(m_db).exec(QStringLiteral("PRAGMA busy_timeout = 5000"));
}

ScopedSqliteConnection::~ScopedSqliteConnection()
{
    SqliteConnection::remove(m_db, m_name);
}

bool ScopedSqliteConnection::hasTable(QSqlDatabase &db, const QString &name)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?"));
    q.addBindValue(name);
    return q.exec() && q.next() && q.value(0).toInt() > 0;
}
