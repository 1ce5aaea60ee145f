#include "bigimagetablerewriter.h"

#include <QBuffer>
#include <QDebug>
#include <QSqlError>
#include <QVariant>

BigImageTableRewriter::~BigImageTableRewriter()
{
    detach();
}

void BigImageTableRewriter::attach(const QSqlDatabase &db)
{
    m_insert.reset();
    m_db = db;
    m_inTransaction = false;
    m_failed = false;
    m_committed = false;
    m_insertedCount = 0;
    m_lastInsertedId = 0;
    m_lastError.clear();
    for (const QString &statement : qAsConst(m_pragmas)) {
        QSqlQuery query(m_db);
        if (!query.exec(statement))
            qDebug() << statement << query.lastError().text();
    }
}

void BigImageTableRewriter::detach()
{
    m_insert.reset();
    if (m_inTransaction) {
        // Never leave a half-written rewrite open on the connection.
        QSqlQuery query(m_db);
        query.exec(QStringLiteral("ROLLBACK"));
        m_inTransaction = false;
    }
    m_db = QSqlDatabase();
}

bool BigImageTableRewriter::begin()
{
    if (!m_db.isOpen()) {
        markFailed(QStringLiteral("database is not open"));
        return false;
    }
    {
        // IMMEDIATE takes the write lock now, so a read-only or locked file
        // is found before any work is done.
        QSqlQuery query(m_db);
        if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            markFailed(query.lastError().text());
            return false;
        }
    }
    m_inTransaction = true;
    // A newBigImages table of an older run that ended outside a transaction
    // must not end up swapped in with its stale rows.
    if (m_db.tables().contains(QStringLiteral("newBigImages"), Qt::CaseInsensitive))
        return exec(QStringLiteral("DROP TABLE newBigImages"));
    return true;
}

bool BigImageTableRewriter::exec(const QString &statement)
{
    QSqlQuery query(m_db);
    if (!query.exec(statement)) {
        markFailed(query.lastError().text());
        return false;
    }
    return true;
}

bool BigImageTableRewriter::execPrepared(QSqlQuery *query, const QString &statement,
                                         const QVariantList &values)
{
    if (!query->prepare(statement)) {
        markFailed(query->lastError().text());
        return false;
    }
    for (const QVariant &value : values)
        query->addBindValue(value);
    if (!query->exec()) {
        markFailed(query->lastError().text());
        return false;
    }
    return true;
}

bool BigImageTableRewriter::encodeJpeg(const QImage &image, QByteArray *bytes)
{
    bytes->clear();
    QBuffer buffer(bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return false;
    return image.save(&buffer, "JPG");
}

bool BigImageTableRewriter::insertPiece(int id, const QByteArray &jpeg)
{
    if (!m_insert) {
        m_insert.reset(new QSqlQuery(m_db));
        if (!m_insert->prepare(QStringLiteral("INSERT INTO newBigImages (id,data)VALUES(:id, :data)"))) {
            markFailed(m_insert->lastError().text());
            m_insert.reset();
            return false;
        }
    }
    m_insert->bindValue(QStringLiteral(":id"), id);
    m_insert->bindValue(QStringLiteral(":data"), jpeg);
    if (!m_insert->exec()) {
        markFailed(m_insert->lastError().text());
        return false;
    }
    ++m_insertedCount;
    m_lastInsertedId = id;
    return true;
}

bool BigImageTableRewriter::finish()
{
    m_insert.reset();
    if (!m_inTransaction)
        return false;
    QSqlQuery query(m_db);
    if (!m_failed && !m_cancel.load()) {
        if (query.exec(QStringLiteral("COMMIT"))) {
            m_inTransaction = false;
            m_committed = true;
            return true;
        }
        markFailed(query.lastError().text());
    }
    if (!query.exec(QStringLiteral("ROLLBACK")))
        qDebug() << "ROLLBACK" << query.lastError().text();
    // SQLite ends the transaction itself on some errors (a full disk, for
    // one); the file is unchanged either way.
    m_inTransaction = false;
    return false;
}

void BigImageTableRewriter::markFailed(const QString &reason)
{
    m_failed = true;
    m_lastError = reason;
}
