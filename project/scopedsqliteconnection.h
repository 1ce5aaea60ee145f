#ifndef SCOPEDSQLITECONNECTION_H
#define SCOPEDSQLITECONNECTION_H

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <functional>

class QSqlQuery;

// A connection of its own to an existing project file for the length of one
// call, on the calling thread: opened (read-only for read-only files, with a
// busy timeout of 5 s) when made, closed and removed when it goes.
class ScopedSqliteConnection
{
public:
    ScopedSqliteConnection(const QString &path, const QString &nameBase);
    ~ScopedSqliteConnection();
    ScopedSqliteConnection(const ScopedSqliteConnection &) = delete;
    ScopedSqliteConnection &operator=(const ScopedSqliteConnection &) = delete;

    bool isOpen() const { return m_open; }
    QSqlDatabase &db() { return m_db; }

    bool hasTable(const QString &name) { return hasTable(m_db, name); }
    static bool hasTable(QSqlDatabase &db, const QString &name);

    // Runs work in one immediate transaction on this connection: committed
    // when work answers true and the commit succeeds, rolled back otherwise,
    // then false with *error saying which statement failed and why.
    bool transact(const std::function<bool(QSqlQuery &)> &work, QString *error);
    // Prepares statement on q, binds values in order and runs it.
    static bool run(QSqlQuery &q, const QString &statement, const QVariantList &values = {});

private:
    QString m_name;
    QSqlDatabase m_db;
    bool m_open = false;
};

#endif // SCOPEDSQLITECONNECTION_H
