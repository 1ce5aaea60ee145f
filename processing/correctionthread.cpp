#include "correctionthread.h"

#include "piecedecoder.h"
#include "structurepickstore.h"
#include "writefailure.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <limits>

#include "projectinfo.h"
#include "sqliteconnection.h"

CorrectionThread::CorrectionThread(const QString &path, const QString &connectionName,
                                   bool prefixedLogs, QObject *parent)
    : QThread(parent)
    , m_projectPath(path)
    , m_projectInfo(ProjectInfo::instance())
    , m_connectionName(connectionName)
    , m_prefixedLogs(prefixedLogs)
{
}

CorrectionThread::~CorrectionThread()
{
    // A worker deleted while it runs stops and rolls back first.
    if (isRunning()) {
        m_rewriter.requestCancel();
        wait();
    }
}

void CorrectionThread::canceled()
{
    // Runs on the thread that owns this object. Nothing is dropped here: the
    // worker sees the request at its next piece and rolls its rewrite back.
    qDebug().noquote() << runName() << "canceled";
    m_rewriter.requestCancel();
}

QImage CorrectionThread::decodePiece(const QByteArray &bytes)
{
    QImage image = PieceDecoder::decode(bytes);
    if (image.isNull())
        return QImage();
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}

void CorrectionThread::run()
{
    m_succeeded.store(false);
    m_canceled.store(false);
    m_failureText.clear();
    m_picksNotMoved = 0;
    m_picksLeft = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        // SQLite would create a missing file; a project is never created here,
        // and a read-only one is opened for reading only (also for a user the
        // permissions do not bind).
        const bool opened = SqliteConnection::openExisting(db, m_projectPath);
        if (!opened) {
            qDebug() << "database open failed!" << m_projectPath;
            m_failureText = WriteFailure::forSql(m_projectPath, db.lastError());
        } else if (SqliteConnection::isReadOnlyFile(m_projectPath) || WriteFailure::folderIsReadOnly(m_projectPath)) {
            // SQLite needs the folder for its journal, and the owner's write
            // permission counts even for root.
            qDebug() << "project file cannot be written: read-only";
            m_failureText = WriteFailure::describe(WriteFailure::ReadOnly, m_projectPath, QString());
        } else {
            m_rewriter.attach(db);
            if (m_rewriter.begin()) {
                addNewTableOfBigImages();
                if (!m_rewriter.shouldStop())
                    correctImages(db);
                takeEncoded();
                deleteOldTableAndRenameNewTable();
                QString error;
                const QString unreadable = StructurePickStore::unreadableReason(db);
                if (!unreadable.isEmpty() && m_leavePicks) {
                    qDebug().noquote() << runName() << "leaves the structure picks as they are:" << unreadable;
                    m_picksLeft = true;
                } else if (!m_rewriter.shouldStop() && !correctPicks(db, &error)) {
                    qDebug().noquote() << runName() << "could not correct the structure picks:" << error;
                    m_rewriter.markFailed(error);
                    m_failureText = QCoreApplication::translate("CorrectionThread",
                                                                "the structure-pick table cannot be read (%1)")
                                        .arg(error);
                }
            } else {
                qDebug() << "project file cannot be written:" << m_rewriter.lastError();
            }
            const bool ok = m_rewriter.finish();
            if (ok) {
                qDebug().noquote() << runName() << "done," << m_rewriter.insertedCount() << "pieces written";
                if (m_rewriter.compact())
                    qDebug().noquote() << runName() << "compacted the file";
            } else if (m_rewriter.cancelRequested() && !m_rewriter.failed()) {
                qDebug().noquote() << runName() << "canceled, project left unchanged";
                m_canceled.store(true);
            } else {
                qDebug().noquote() << runName() << "failed, project left unchanged:" << m_rewriter.lastError();
                if (m_failureText.isEmpty())
                    m_failureText = m_rewriter.failureCause();
            }
            m_rewriter.detach();
            m_succeeded.store(ok);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    emit signalProcessFinished();
}

bool CorrectionThread::correctPicks(QSqlDatabase &, QString *)
{
    return true;
}

QString CorrectionThread::createStatement() const
{
    return QStringLiteral("create table newBigImages (\t\t\t\t\t\t  id integer primary key,"
                          "\t\t\t\t\t\t  data blob)");
}

void CorrectionThread::logInsertion(int id, bool encoded) const
{
    if (!m_prefixedLogs)
        qDebug() << "insertNewBigImageIntoTable endDepth:" << id << (encoded ? "true" : "false");
}

bool CorrectionThread::addNewTableOfBigImages()
{
    if (!m_rewriter.exec(createStatement())) {
        if (m_prefixedLogs)
            qDebug() << "error in addNewTableOfBigImages:" << m_rewriter.lastError();
        else
            qDebug() << m_rewriter.lastError();
        return false;
    }
    return true;
}

bool CorrectionThread::insertNewBigImageIntoTable(const QImage &image, int id)
{
    if (image.isNull())
        return true;
    QByteArray bytes;
    const bool res = BigImageTableRewriter::encodeJpeg(image, &bytes);
    logInsertion(id, res);
    if (!res) {
        // An empty blob would replace the user's image: stop instead.
        m_rewriter.markFailed(QStringLiteral("JPEG encoding failed at %1").arg(id));
        return false;
    }
    return insertBytes(bytes, id);
}

void CorrectionThread::encodeLater(const QImage &image, int id)
{
    takeEncoded();
    if (m_rewriter.shouldStop() || image.isNull())
        return;
    if (!m_encoder.start(image, id))
        insertNewBigImageIntoTable(image, id);
}

void CorrectionThread::insertInOrder(const QByteArray &bytes, int id)
{
    takeEncoded();
    if (!m_rewriter.shouldStop())
        insertStoredPiece(bytes, id);
}

void CorrectionThread::takeEncoded()
{
    if (!m_encoder.busy())
        return;
    QByteArray bytes;
    int id = 0;
    const bool res = m_encoder.take(&bytes, &id);
    logInsertion(id, res);
    if (!res) {
        // An empty blob would replace the user's image: stop instead.
        m_rewriter.markFailed(QStringLiteral("JPEG encoding failed at %1").arg(id));
        return;
    }
    if (!m_rewriter.shouldStop())
        insertBytes(bytes, id);
}

bool CorrectionThread::insertStoredPiece(const QByteArray &bytes, int id)
{
    return insertBytes(bytes, id);
}

bool CorrectionThread::insertBytes(const QByteArray &bytes, int id)
{
    if (m_rewriter.insertedCount() > 0 && id <= m_rewriter.lastInsertedId()) {
        if (m_rewriter.lastInsertedId() == std::numeric_limits<int>::max()) {
            m_rewriter.markFailed(QStringLiteral("depth out of range"));
            return false;
        }
        id = m_rewriter.lastInsertedId() + 1;
    }
    if (!m_rewriter.insertPiece(id, bytes)) {
        if (m_prefixedLogs)
            qDebug() << "error in insertNewBigImageIntoTable" << m_rewriter.lastError();
        else
            qDebug() << m_rewriter.lastError();
        return false;
    }
    return true;
}

void CorrectionThread::deleteOldTableAndRenameNewTable()
{
    // After a failure or a cancel the old table stays; the transaction is
    // rolled back by run().
    if (m_rewriter.shouldStop())
        return;
    const QStringList statements = QStringList{QStringLiteral("DROP TABLE bigImages"),
                                               QStringLiteral("ALTER TABLE newBigImages rename  to bigImages")}
        + recordUpdates();
    for (const QString &statement : statements) {
        if (!m_rewriter.exec(statement)) {
            if (m_prefixedLogs)
                qDebug() << "error in deleteOldTableAndRenameNewTable:" << m_rewriter.lastError();
            else
                qDebug() << m_rewriter.lastError();
            return;
        }
    }
}

bool CorrectionThread::allPiecesWithin(QSqlDatabase &db, qint64 low, qint64 high, int *count)
{
    const QString statement = QStringLiteral("select COUNT(1) from bigImages where id > ? AND id <= ?");
    QSqlQuery query(db);
    qint64 inRange = 0;
    qint64 total = 0;
    if (m_rewriter.execPrepared(&query, statement, {low, high}) && query.next())
        inRange = query.value(0).toLongLong();
    query.finish();
    const QVariantList all{std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()};
    if (m_rewriter.execPrepared(&query, statement, all) && query.next())
        total = query.value(0).toLongLong();
    query.finish();
    *count = int(qMin<qint64>(inRange, std::numeric_limits<int>::max()));
    return inRange == total;
}
