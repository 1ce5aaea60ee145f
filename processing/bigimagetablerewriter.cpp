#include "bigimagetablerewriter.h"

#include "writefailure.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QUrl>
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
    m_cause.clear();
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
            markFailed(query.lastError());
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
        markFailed(query.lastError());
        return false;
    }
    return true;
}

bool BigImageTableRewriter::execPrepared(QSqlQuery *query, const QString &statement,
                                         const QVariantList &values)
{
    if (!query->prepare(statement)) {
        markFailed(query->lastError());
        return false;
    }
    for (const QVariant &value : values)
        query->addBindValue(value);
    if (!query->exec()) {
        markFailed(query->lastError());
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
            markFailed(m_insert->lastError());
            m_insert.reset();
            return false;
        }
    }
    m_insert->bindValue(QStringLiteral(":id"), id);
    m_insert->bindValue(QStringLiteral(":data"), jpeg);
    if (!m_insert->exec()) {
        markFailed(m_insert->lastError());
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
        markFailed(query.lastError());
    }
    if (!query.exec(QStringLiteral("ROLLBACK")))
        qDebug() << "ROLLBACK" << query.lastError().text();
    // SQLite ends the transaction itself on some errors (a full disk, for
    // one); the file is unchanged either way.
    m_inTransaction = false;
    return false;
}

QString BigImageTableRewriter::filePath() const
{
    // Project files are opened through an SQLite URI ("file:...?mode=rw").
    const QString name = m_db.databaseName();
    if (!name.startsWith(QLatin1String("file:")))
        return name;
    return QUrl(name).toLocalFile();
}

bool BigImageTableRewriter::compact()
{
    if (!m_committed || m_inTransaction || !m_db.isOpen())
        return false;
    qint64 pages = 0;
    qint64 free = 0;
    qint64 pageSize = 0;
    {
        QSqlQuery query(m_db);
        if (query.exec(QStringLiteral("PRAGMA page_count")) && query.next())
            pages = query.value(0).toLongLong();
        if (query.exec(QStringLiteral("PRAGMA freelist_count")) && query.next())
            free = query.value(0).toLongLong();
        if (query.exec(QStringLiteral("PRAGMA page_size")) && query.next())
            pageSize = query.value(0).toLongLong();
    }
    if (pages <= 0 || free * 4 <= pages)
        return false;
    const qint64 size = pages * pageSize;
    const QString path = filePath();
    const QStorageInfo here(QFileInfo(path).absolutePath());
    const QStorageInfo temp(QDir::tempPath());
    if (!here.isValid() || here.bytesAvailable() < 2 * size
        || (temp.isValid() && temp.bytesAvailable() < size)) {
        qDebug() << "not compacted: too little room on the disk";
        return false;
    }
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("VACUUM"))) {
        qDebug() << "VACUUM" << query.lastError().text();
        return false;
    }
    return true;
}

void BigImageTableRewriter::markFailed(const QString &reason)
{
    m_failed = true;
    m_lastError = reason;
}

void BigImageTableRewriter::markFailed(const QSqlError &error)
{
    // The first cause counts: a failed COMMIT after a full disk still says so.
    if (m_cause.isEmpty())
        m_cause = WriteFailure::forSql(filePath(), error);
    markFailed(error.text());
}

QString BigImageTableRewriter::failureCause() const
{
    return m_cause.isEmpty() ? m_lastError : m_cause;
}
