#include "scopedsqliteconnection.h"

#include "sqliteconnection.h"

#include <QSqlError>
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

bool ScopedSqliteConnection::transact(const std::function<bool(QSqlQuery &)> &work, QString *error)
{
    bool ok = false;
    {
        QSqlQuery q(m_db);
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            *error = q.lastError().text();
            return false;
        }
        ok = work(q);
        if (!ok)
            *error = q.lastError().text();
        q.finish();
    }
    QSqlQuery end(m_db);
    if (ok && !end.exec(QStringLiteral("COMMIT"))) {
        *error = end.lastError().text();
        ok = false;
    }
    if (!ok)
        end.exec(QStringLiteral("ROLLBACK"));
    return ok;
}

bool ScopedSqliteConnection::run(QSqlQuery &q, const QString &statement, const QVariantList &values)
{
    if (!q.prepare(statement))
        return false;
    for (const QVariant &v : values)
        q.addBindValue(v);
    return q.exec();
}
