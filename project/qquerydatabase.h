#ifndef QQUERYDATABASE_H
#define QQUERYDATABASE_H

#include <QSqlDatabase>
#include <QString>
#include <atomic>

// Connection holder mixed into the readers and the upward-conversion worker.
// Each holder gets its own connection, named "KORA" plus a unique suffix, so
// two holders that are alive at once (a page read while a report runs) never
// share one. A connection must be opened, used and closed on one thread.
class QQueryDataBase
{
public:
    QQueryDataBase();
    virtual ~QQueryDataBase();

    // False when no file exists at path (nothing is ever created) or when
    // SQLite cannot open it.
    bool open(const QString &path);
    bool isOpen() const { return !m_openedPath.isEmpty(); }
    // Closes and removes the connection. While a range query runs, it asks
    // the query to stop and the querying thread closes the connection when
    // the query returns; a caller on another thread waits for that in 100 ms
    // slices while its events are processed. Called from inside the running
    // query (a directly connected receiver), it only asks and returns.
    // Otherwise call it on the thread that opened the connection.
    void close();

    QString connectionName() const { return m_connectionName; }
    QString openedPath() const { return m_openedPath; }

protected:
    // For range queries: marks the holder busy on the calling thread; false
    // when a query already runs.
    bool beginBusy();
    // Carries out a close() that arrived during the query, then clears busy.
    void endBusy();

    QSqlDatabase m_database;
    QString m_openedPath;
    std::atomic<bool> busy{false};
    std::atomic<bool> stopRequested{false};

private:
    void closeConnection();

    QString m_connectionName;
    std::atomic<void *> m_busyThread{nullptr};
    std::atomic<bool> m_closePending{false};
};

#endif // QQUERYDATABASE_H
