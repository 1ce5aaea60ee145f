#include "readbigimagethread.h"

#include "projectinfo.h"

#include <QBuffer>
#include <QDebug>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <limits>

std::atomic<int> ReadBigImageThread::s_pieceDelay{ReadBigImageThread::kDefaultPieceDelay};

ReadBigImageThread::ReadBigImageThread(const QString &path, int pageStart, int pageEnd, QObject *parent)
    : QThread(parent), m_pageStart(pageStart), m_pageEnd(pageEnd), m_projectPath(path)
{
    qRegisterMetaType<KdImage>("KdImage");
    ProjectInfo *info = ProjectInfo::instance();
    m_direction = info->direction();
    m_projectStart = info->start();
    m_maxDepth = info->maxDepth();
    m_recordPageStart = info->pageStart();
}

ReadBigImageThread::~ReadBigImageThread()
{
    if (isRunning())
        wait();
    close();
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
    QImage image;
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly))
        return image;
    if (!image.load(&buffer, "JPG")) {
        qDebug() << "QImage Load Fail";
        return QImage();
    }
    return image;
}

void ReadBigImageThread::pause()
{
    QElapsedTimer timer;
    timer.start();
    const int delay = s_pieceDelay;
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

    // The connection belongs to this thread: open, use and close it here.
    if (open(m_projectPath)) {
        if (countImages() && m_imageCount != 0) {
            const bool ok = (m_direction == QLatin1String("down")) ? readImages() : readImagesUp();
            if (!ok)
                qDebug() << "error when get big images !";
        }
    }
    // Also after a failed open, which may have added the connection already.
    close();

    emitReadFinished();
    emit readThreadFinished();
}

bool ReadBigImageThread::countImages()
{
    int low = m_pageStart;
    int high = m_pageEnd;
    if (m_direction != QLatin1String("down")) {
        low = m_maxDepth - m_pageEnd;
        high = m_maxDepth - m_pageStart;
    }
    QSqlQuery query(m_database);
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

    int top = std::max(m_recordPageStart, m_projectStart);
    while (!stopRequested && query.next()) {
        const int id = query.value(0).toInt();
        const QImage image = decodeImage(query.value(1).toByteArray());
        emit readOneBigImage(KdImage(top, id, image));
        pause();
        if (id >= m_pageEnd) {
            emitReadFinished();
            break;
        }
        top = id;
    }
    query.finish();
    return true;
}

bool ReadBigImageThread::readImagesUp()
{
    // Rows come from the collar downwards. The look-ahead row gives the
    // bottom of each piece, so the query is not cut off at the page end (the
    // row below the page is the bottom of the page's last piece); the loop
    // ends at the piece that reaches the page end. Pieces that lie wholly
    // above the page start are passed over.
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    const bool prepared = query.prepare(QStringLiteral("select id ,data from bigImages where id > ? order by id desc\t"));
    query.addBindValue(std::numeric_limits<int>::min());
    if (!prepared || !query.exec()) {
        qDebug() << query.lastError().text();
        return false;
    }

    bool hasRow = query.next();
    while (hasRow && !stopRequested) {
        const int id = query.value(0).toInt();
        const QByteArray data = query.value(1).toByteArray();
        const int top = m_maxDepth - id;
        hasRow = query.next();
        int bottom;
        if (hasRow)
            bottom = m_maxDepth - query.value(0).toInt();
        else
            bottom = std::min(m_maxDepth - m_projectStart, top + 10000);
        if (bottom <= m_pageStart)
            continue;
        emit readOneBigImage(KdImage(top, bottom, decodeImage(data)));
        if (bottom >= m_pageEnd) {
            emitReadFinished();
            break;
        }
    }
    query.finish();
    return true;
}
