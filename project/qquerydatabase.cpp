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
    if (!m_database.isValid()) {
        if (QSqlDatabase::contains(m_connectionName))
            m_database = QSqlDatabase::database(m_connectionName, false);
        else
            m_database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    }
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
        stopRequested = true;
        if (m_busyThread.load() == QThread::currentThreadId()) {
            // Called from a receiver of the running query: waiting here would
            // never end. The query closes the connection when it returns.
            m_closePending = true;
            return;
        }
        while (busy) {
            QElapsedTimer slice;
            slice.start();
            while (busy && slice.elapsed() < 100) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
                if (busy)
                    QThread::msleep(5);
            }
        }
    }

    SqliteConnection::remove(m_database, m_connectionName);
    m_openedPath.clear();
    stopRequested = false;
}

bool QQueryDataBase::beginBusy()
{
    bool expected = false;
    if (!busy.compare_exchange_strong(expected, true))
        return false;
    stopRequested = false;
    m_closePending = false;
    m_busyThread = QThread::currentThreadId();
    return true;
}

void QQueryDataBase::endBusy()
{
    m_busyThread = nullptr;
    busy = false;
    if (m_closePending.exchange(false))
        close();
}
