#include "qquerydatabase.h"

#include "sqliteconnection.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QSqlError>
#include <QThread>

QQueryDataBase::QQueryDataBase()
    : m_connectionName(SqliteConnection::uniqueName(QStringLiteral("KORA")))
{
}

QQueryDataBase::~QQueryDataBase()
{
    close();
}

bool QQueryDataBase::open(const QString &path)
{
    if (!SqliteConnection::fileExists(path)) {
        qDebug() << "database open failed!" << path << "does not exist";
        return false;
    }
    if (busy)
        return false; // a range query still uses the connection

    m_openedPath.clear();
    if (!m_database.isValid())
        m_database = SqliteConnection::connection(m_connectionName);
    if (!SqliteConnection::openExisting(m_database, path)) {
        qDebug() << "database open failed!" << m_database.lastError().text();
        return false;
    }
    m_openedPath = path;
    return true;
}

void QQueryDataBase::close()
{
    if (!isOpen() && !m_database.isValid())
        return;

    if (busy) {
        // The thread running the query owns the connection: it closes it
        // itself as soon as the query returns (endBusy()).
        m_closePending = true;
        stopRequested = true;
        if (m_busyThread.load() == QThread::currentThreadId())
            return; // called from a receiver of the running query
        while (busy) {
            QElapsedTimer slice;
            slice.start();
            while (busy && slice.elapsed() < 100) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
                if (busy)
                    QThread::msleep(5);
            }
        }
        if (!m_closePending.exchange(false))
            return; // the querying thread has closed the connection
        // The query ended just before it could see the request.
    }
    closeConnection();
}

void QQueryDataBase::closeConnection()
{
    SqliteConnection::remove(m_database, m_connectionName);
    m_openedPath.clear();
    m_closePending = false;
    stopRequested = false;
}

bool QQueryDataBase::beginBusy()
{
    bool expected = false;
    if (!busy.compare_exchange_strong(expected, true))
        return false;
    // A stop or close asked for just before stays in force: the query ends
    // at once and the close is carried out when it returns.
    m_busyThread = QThread::currentThreadId();
    return true;
}

void QQueryDataBase::endBusy()
{
    // Close before clearing busy, so that a close() waiting on another
    // thread returns only once the connection is gone.
    if (m_closePending.exchange(false))
        closeConnection();
    m_busyThread = nullptr;
    busy = false;
}
