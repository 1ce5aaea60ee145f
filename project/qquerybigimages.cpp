#include "qquerybigimages.h"

#include "globals.h"

#include <QDebug>
#include <QPainter>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <limits>
#include <memory>

QQueryBigImages::QQueryBigImages(QObject *parent)
    : QObject(parent)
{
}

QQueryBigImages::~QQueryBigImages()
{
    close();
}

void QQueryBigImages::setScale(double scaleX, double scaleY)
{
    m_scaleX = scaleX;
    m_scaleY = scaleY;
}

int QQueryBigImages::CountOfDepthRange(int startMetre, int endMetre)
{
    if (!isOpen())
        return 0;
    QSqlQuery query(m_database);
    const bool prepared = query.prepare(QStringLiteral("select COUNT(1) from bigImages where id > ? AND id <= ?"));
    query.addBindValue(startMetre * kDepthUnitsPerMetre);
    query.addBindValue(endMetre * kDepthUnitsPerMetre);
    if (!prepared || !query.exec() || !query.next()) {
        qDebug() << "CountOfDepthRange---last Error:" << query.lastError().text();
        return 0;
    }
    return query.value(0).toInt();
}

bool QQueryBigImages::queryRange(int startMetre, int endMetre)
{
    return queryRange(startMetre, endMetre, kRawPageDepth);
}

bool QQueryBigImages::queryRange(int startMetre, int endMetre, int pageDepth)
{
    if (busy || !isOpen() || pageDepth <= 0)
        return false;
    if (!beginBusy())
        return false;

    m_dVerticalDensity = pixelsPerUnit;
    m_nRangeStart = m_nLastDepth = startMetre * kDepthUnitsPerMetre;
    m_pageDepth = pageDepth;

    const bool ok = runQuery(startMetre, endMetre);
    // Every query object is gone here, so a close() asked for by a receiver
    // can remove the connection cleanly.
    endBusy();
    return ok;
}

bool QQueryBigImages::runQuery(int startMetre, int endMetre)
{
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    const bool prepared = query.prepare(QStringLiteral("select id, data from bigImages where id > ? AND id <= ?"));
    query.addBindValue(startMetre * kDepthUnitsPerMetre);
    query.addBindValue(endMetre * kDepthUnitsPerMetre);
    if (!prepared || !query.exec()) {
        qDebug() << query.lastError().text();
        return false;
    }

    const bool rawMode = (m_pageDepth == kRawPageDepth);
    m_nPageIndex = 1;
    m_nPendingBlankRows = 0;
    m_nOutputWidth = 0; // taken from the first piece that decodes
    QImage accumulated;
    while (!stopRequested && query.next()) {
        const int id = query.value(0).toInt();
        std::unique_ptr<QByteArray> bytes(new QByteArray(query.value(1).toByteArray()));
        if (rawMode) {
            emit ProgressingImageBuffers(id, bytes.get());
        } else {
            accumulated = joinPiece(accumulated, *bytes, id);
            m_nLastDepth = id;
        }
    }
    query.finish();

    if (!rawMode && !accumulated.isNull())
        emit ProgressingImageJointer(accumulated, m_nLastDepth);
    return true;
}

QImage QQueryBigImages::joinPiece(const QImage &accumulated, const QByteArray &bytes, int id)
{
    QImage piece;
    if (!piece.loadFromData(bytes, "JPG"))
        piece = QImage();

    const int span = id - m_nLastDepth;
    if (span > 0 && !piece.isNull())
        m_dVerticalDensity = double(piece.height()) / double(span);
    if (m_nPageIndex == 1 && !piece.isNull())
        m_nOutputWidth = static_cast<int>(piece.width() * m_scaleX);
    const double pageRows = m_pageDepth * m_dVerticalDensity * m_scaleY;
    const int pageHeight = pageRows < double(std::numeric_limits<int>::max()) ? static_cast<int>(pageRows)
                                                                               : std::numeric_limits<int>::max();

    // A piece that does not decode keeps its depth span as white rows at the
    // density of the piece before it, so the pages below stay at their depths.
    int pieceHeight = 0;
    if (!piece.isNull())
        pieceHeight = static_cast<int>(piece.height() * m_scaleY);
    else if (span > 0)
        pieceHeight = static_cast<int>(span * m_dVerticalDensity * m_scaleY);
    pieceHeight = std::max(0, pieceHeight);
    if (m_nOutputWidth <= 0) {
        // No piece has given the page width yet: remember the white rows
        // of undecodable pieces until one does.
        m_nPendingBlankRows += pieceHeight;
        return accumulated;
    }
    QImage above = accumulated;
    if (above.isNull() && m_nPendingBlankRows > 0) {
        above = QImage(m_nOutputWidth, m_nPendingBlankRows, QImage::Format_RGB32);
        above.fill(Qt::white);
    }
    m_nPendingBlankRows = 0;
    const int accumulatedHeight = above.isNull() ? 0 : above.height();
    QImage joined;
    if (pieceHeight + accumulatedHeight > 0) {
        joined = QImage(m_nOutputWidth, pieceHeight + accumulatedHeight, QImage::Format_RGB32);
        joined.fill(Qt::white);
        QPainter painter(&joined);
        if (!above.isNull())
            painter.drawImage(QRect(0, 0, m_nOutputWidth, accumulatedHeight), above);
        if (!piece.isNull() && pieceHeight > 0)
            painter.drawImage(QRect(0, accumulatedHeight, m_nOutputWidth, pieceHeight), piece);
    }

    // Cut off every page that this piece completes.
    qint64 cut = m_nRangeStart + qint64(m_nPageIndex) * m_pageDepth;
    while (!joined.isNull() && id >= cut) {
        // Without a known density the whole accumulated image is one page.
        const int rows = pageHeight > 0 ? std::min(pageHeight, joined.height()) : joined.height();
        const QImage page = joined.copy(0, 0, joined.width(), rows);
        emit ProgressingImageJointer(page, static_cast<int>(cut));
        if (id != cut && pageHeight > 0 && pageHeight < joined.height())
            joined = joined.copy(0, pageHeight, joined.width(), joined.height() - pageHeight);
        else
            joined = QImage();
        ++m_nPageIndex;
        cut = m_nRangeStart + qint64(m_nPageIndex) * m_pageDepth;
    }
    return joined;
}
