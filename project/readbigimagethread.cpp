#include "readbigimagethread.h"

#include "depthmodel.h"
#include "piecedecoder.h"
#include "projectinfo.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <limits>

std::atomic<int> ReadBigImageThread::s_pieceDelay{0};

ReadBigImageThread::ReadBigImageThread(const QString &path, int pageStart, int pageEnd, QObject *parent)
    : QThread(parent), m_pageStart(pageStart), m_pageEnd(pageEnd), m_projectPath(path)
{
    qRegisterMetaType<KdImage>("KdImage");
    ProjectInfo *info = ProjectInfo::instance();
    m_direction = info->direction();
    m_projectStart = info->start();
    m_maxDepth = info->maxDepth();
}

ReadBigImageThread::~ReadBigImageThread()
{
    if (isRunning()) {
        requestStop();
        wait();
    }
    close();
}

void ReadBigImageThread::requestStop()
{
    QMutexLocker lock(&m_paceMutex);
    stopRequested = true;
    m_paceChanged.wakeAll();
}

void ReadBigImageThread::placed()
{
    QMutexLocker lock(&m_paceMutex);
    ++m_placed;
    m_paceChanged.wakeAll();
}

void ReadBigImageThread::handOn(const KdImage &piece)
{
    // The piece is decoded; it goes when the window has room for it. Called
    // on the creating thread (run() without start()) nobody could answer.
    if (QThread::currentThread() != thread()) {
        QMutexLocker lock(&m_paceMutex);
        while (!stopRequested && m_sent - m_placed >= kPiecesAhead)
            m_paceChanged.wait(&m_paceMutex);
    }
    if (stopRequested)
        return; // nobody wants it any more
    ++m_sent;
    emit readOneBigImage(piece);
    // Runs on the thread this object lives on, behind the window's handler
    // of the piece just sent; dropped with the object if it goes first.
    QMetaObject::invokeMethod(this, [this] { placed(); }, Qt::QueuedConnection);
    pause();
}

void ReadBigImageThread::setPieceDelay(int ms)
{
    s_pieceDelay = std::max(0, ms);
}

int ReadBigImageThread::pieceDelay()
{
    return s_pieceDelay;
}

QImage ReadBigImageThread::decodeImage(const QByteArray &data)
{
    return PieceDecoder::decode(data);
}

void ReadBigImageThread::pause()
{
    QElapsedTimer timer;
    timer.start();
    const int delay = s_pieceDelay;
    if (delay <= 0)
        return;
    while (!stopRequested && timer.elapsed() < delay)
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(20, delay - timer.elapsed())));
}

void ReadBigImageThread::emitReadFinished()
{
    if (!m_readFinishedEmitted) {
        m_readFinishedEmitted = true;
        emit readFinieshed();
    }
}

void ReadBigImageThread::run()
{
    m_readFinishedEmitted = false;
    m_imageCount = 0;
    m_sent = 0;
    m_placed = 0;

    const bool down = m_direction == QLatin1String("down");
    const bool up = m_direction == QLatin1String("up");
    if (!down && !up) {
        // Neither direction: nothing is read rather than guessed.
        qDebug() << "error when get big images !" << "unknown logging direction" << m_direction;
    } else if (open(m_projectPath)) {
        // The connection belongs to this thread: open, use and close it here.
        if (countImages() && m_imageCount != 0) {
            const bool ok = down ? readImages() : readImagesUp();
            if (!ok)
                qDebug() << "error when get big images !";
        }
    }
    // Also after a failed open, which may have added the connection already.
    close();

    emitReadFinished();
    emit readThreadFinished();
}

namespace {

// Depths are 32-bit in the file format; the arithmetic of the upward
// reader is done in 64 bits and its results must fit back.
bool fitsInt(qint64 value)
{
    return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

// The id of the current row, false when it lies outside the 32-bit range
// of the file format.
bool rowId(const QSqlQuery &query, qint64 *id)
{
    bool ok = false;
    *id = query.value(0).toLongLong(&ok);
    return ok && fitsInt(*id);
}

} // namespace

bool ReadBigImageThread::countImages()
{
    qint64 low = m_pageStart;
    qint64 high = m_pageEnd;
    QSqlQuery query(m_database);
    if (m_direction == QLatin1String("up")) {
        low = qint64(m_maxDepth) - m_pageEnd;
        high = qint64(m_maxDepth) - m_pageStart;
    } else if (query.prepare(QStringLiteral("select min(id) from bigImages where id >= ?"))) {
        // The piece that reaches the page end lies on the page too, also when
        // its id lies far below (the wall below missing pieces).
        query.addBindValue(m_pageEnd);
        if (query.exec() && query.next() && !query.isNull(0))
            high = query.value(0).toLongLong();
        query.finish();
    }
    const bool prepared = query.prepare(QStringLiteral("select COUNT(*) from bigImages where id > ? AND id <= ?"));
    query.addBindValue(low);
    query.addBindValue(high);
    if (!prepared || !query.exec() || !query.next()) {
        qDebug() << query.lastError().text();
        return false;
    }
    m_imageCount = query.value(0).toInt();
    emit bigImageCountGetted(m_imageCount);
    return true;
}

bool ReadBigImageThread::readImages()
{
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    const bool prepared = query.prepare(QStringLiteral("select id ,data from bigImages where id > ?"));
    query.addBindValue(m_pageStart);
    if (!prepared || !query.exec()) {
        qDebug() << query.lastError().text();
        return false;
    }

    // Each piece is sent with the whole span it covers, from the id of the
    // piece before it: the page shows the part of it that lies on the page.
    int top = firstPieceTop();
    while (!stopRequested && query.next()) {
        qint64 id = 0;
        if (!rowId(query, &id)) {
            // Rows come in ascending order: nothing after this one fits.
            qDebug() << "piece id out of range:" << query.value(0).toString();
            query.finish();
            return false;
        }
        const QImage image = decodeImage(query.value(1).toByteArray());
        handOn(KdImage(top, int(id), image));
        if (id >= m_pageEnd) {
            emitReadFinished();
            break;
        }
        top = int(id);
    }
    query.finish();
    return true;
}

int ReadBigImageThread::firstPieceTop()
{
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    const bool prepared = query.prepare(QStringLiteral("select max(id) from bigImages where id <= ?"));
    query.addBindValue(m_pageStart);
    const bool found = prepared && query.exec() && query.next() && !query.isNull(0);
    const qint64 previous = found ? query.value(0).toLongLong() : 0;
    query.finish();
    return DepthModel(m_projectStart, 0.0, 0).pieceTop(found, previous);
}

bool ReadBigImageThread::readImagesUp()
{
    // Rows come from the collar downwards. The look-ahead row gives the
    // bottom of each piece, so the query is not cut off at the page end (the
    // row below the page is the bottom of the page's last piece); the loop
    // ends at the piece that reaches the page end. Pieces that lie wholly
    // above the page start are passed over. Depths are computed in 64 bits:
    // ids near the ends of the 32-bit range must not wrap round.
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    const bool prepared = query.prepare(QStringLiteral("select id ,data from bigImages where id > ? order by id desc\t"));
    query.addBindValue(qint64(std::numeric_limits<int>::min()) - 1); // every stored id
    if (!prepared || !query.exec()) {
        qDebug() << query.lastError().text();
        return false;
    }

    // Rows with ids beyond the 32-bit range of the format are not pieces.
    auto nextRow = [&query]() {
        while (query.next()) {
            qint64 id = 0;
            if (rowId(query, &id))
                return true;
            qDebug() << "piece id out of range:" << query.value(0).toString();
        }
        return false;
    };

    const qint64 maxDepth = m_maxDepth;
    bool hasRow = nextRow();
    while (hasRow && !stopRequested) {
        const qint64 id = query.value(0).toLongLong();
        const QByteArray data = query.value(1).toByteArray();
        const qint64 top = maxDepth - id;
        hasRow = nextRow();
        qint64 bottom;
        if (hasRow)
            bottom = maxDepth - query.value(0).toLongLong();
        else
            bottom = std::min(maxDepth - m_projectStart, top + 10000);
        if (bottom <= m_pageStart)
            continue;
        if (!fitsInt(top) || !fitsInt(bottom)) {
            // A page cannot hold this piece: its depths lie beyond the
            // 32-bit range (ids spread over more than that range).
            qDebug() << "piece depth out of range:" << top << bottom;
            query.finish();
            return false;
        }
        handOn(KdImage(int(top), int(bottom), decodeImage(data)));
        if (bottom >= m_pageEnd) {
            emitReadFinished();
            break;
        }
    }
    query.finish();
    return true;
}
