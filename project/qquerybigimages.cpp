#include "qquerybigimages.h"

#include "depthmodel.h"
#include "globals.h"
#include "piecedecoder.h"

#include <QBuffer>
#include <QDebug>
#include <QImageReader>
#include <QPainter>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <cstring>
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

namespace {

// Depth units of a whole number of metres, kept within the 32-bit range of
// the file format (so that every id the range selects fits an int).
qint64 metresToUnits(int metres)
{
    const qint64 units = qint64(metres) * kDepthUnitsPerMetre;
    return std::max<qint64>(std::numeric_limits<int>::min(),
                            std::min<qint64>(std::numeric_limits<int>::max(), units));
}

} // namespace

int QQueryBigImages::CountOfDepthRange(int startMetre, int endMetre)
{
    if (!isOpen())
        return 0;
    QSqlQuery query(m_database);
    const bool prepared = query.prepare(QStringLiteral("select COUNT(1) from bigImages where id > ? AND id <= ?"));
    query.addBindValue(metresToUnits(startMetre));
    query.addBindValue(metresToUnits(endMetre));
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

    const qint64 low = metresToUnits(startMetre);
    m_dVerticalDensity = pixelsPerUnit;
    m_nRangeStart = m_nLastDepth = int(low);
    m_pageDepth = pageDepth;

    const bool ok = runQuery(low, metresToUnits(endMetre));
    dropRows();
    // Every query object is gone here, so a close() asked for by a receiver
    // can remove the connection cleanly.
    endBusy();
    return ok;
}

namespace {

QImage decodeAtWidth(const QByteArray &bytes, int width)
{
    const QSize stored = PieceDecoder::headerSize(bytes);
    if (width <= 0 || !PieceDecoder::isSaneSize(stored) || stored.width() <= width)
        return PieceDecoder::decode(bytes);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "JPG");
    reader.setScaledSize(QSize(width, std::max(1, int(std::lround(double(stored.height()) * width / stored.width())))));
    const QImage image = reader.read();
    if (image.isNull())
        qDebug() << "QImage Load Fail";
    return image;
}

} // namespace

bool QQueryBigImages::queryPieces(int from, int to, int projectStart, int decodeWidth)
{
    if (busy || !isOpen() || to <= from)
        return false;
    if (!beginBusy())
        return false;

    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    bool ok = query.prepare(QStringLiteral("select max(id) from bigImages where id <= ?"));
    query.addBindValue(from);
    const bool found = ok && query.exec() && query.next() && !query.isNull(0);
    int top = DepthModel(projectStart, 0.0, 0).pieceTop(found, found ? query.value(0).toLongLong() : 0);
    query.finish();

    ok = query.prepare(QStringLiteral("select id ,data from bigImages where id > ?"));
    query.addBindValue(from);
    if (!ok || !query.exec()) {
        qDebug() << query.lastError().text();
        ok = false;
    }
    while (ok && !stopRequested && query.next()) {
        const qint64 id = query.value(0).toLongLong();
        if (id > std::numeric_limits<int>::max())
            break;
        emit ProgressingPiece(KdImage(top, int(id), decodeAtWidth(query.value(1).toByteArray(), decodeWidth)));
        if (id >= to)
            break;
        top = int(id);
    }
    query.finish();
    endBusy();
    return ok;
}

bool QQueryBigImages::runQuery(qint64 low, qint64 high)
{
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    const bool prepared = query.prepare(QStringLiteral("select id, data from bigImages where id > ? AND id <= ?"));
    query.addBindValue(low);
    query.addBindValue(high);
    if (!prepared || !query.exec()) {
        qDebug() << query.lastError().text();
        return false;
    }

    const bool rawMode = (m_pageDepth == kRawPageDepth);
    m_nPageIndex = 1;
    m_nOutputWidth = 0; // taken from the first piece that decodes
    dropRows();
    while (!stopRequested && query.next()) {
        const qint64 id = query.value(0).toLongLong();
        std::unique_ptr<QByteArray> bytes(new QByteArray(query.value(1).toByteArray()));
        if (rawMode) {
            emit ProgressingImageBuffers(int(id), bytes.get());
        } else {
            joinPiece(*bytes, id);
            m_nLastDepth = int(id);
        }
    }
    query.finish();

    if (!rawMode && m_nOutputWidth > 0 && m_nWaitingRows > 0) {
        const QImage page = takeRows(m_nWaitingRows);
        if (!page.isNull())
            emit ProgressingImageJointer(page, m_nLastDepth);
    }
    return true;
}

qint64 QQueryBigImages::maxPageRows() const
{
    if (m_nOutputWidth <= 0)
        return PieceDecoder::kMaxPixels;
    return std::max<qint64>(1, PieceDecoder::kMaxPixels / m_nOutputWidth);
}

void QQueryBigImages::dropRows()
{
    m_bands.clear();
    m_nBandOffset = 0;
    m_nWaitingRows = 0;
}

QImage QQueryBigImages::takeRows(qint64 rows)
{
    rows = std::min(rows, m_nWaitingRows);
    // A page never holds more than the sane bound of pixels; rows beyond it
    // are passed over.
    const qint64 kept = std::min(rows, maxPageRows());
    QImage page(m_nOutputWidth, int(kept), QImage::Format_RGB32);
    if (!page.isNull())
        page.fill(Qt::white);
    const size_t lineBytes = size_t(m_nOutputWidth) * sizeof(QRgb);

    qint64 y = 0;
    qint64 left = rows;
    while (left > 0 && !m_bands.empty()) {
        const Band &band = m_bands.front();
        const qint64 n = std::min(band.rows - m_nBandOffset, left);
        if (!band.image.isNull() && !page.isNull()) {
            const qint64 copy = std::min(n, kept - y);
            for (qint64 r = 0; r < copy; ++r)
                std::memcpy(page.scanLine(int(y + r)), band.image.constScanLine(int(m_nBandOffset + r)), lineBytes);
        }
        y += n;
        left -= n;
        m_nBandOffset += n;
        if (m_nBandOffset >= band.rows) {
            m_bands.pop_front();
            m_nBandOffset = 0;
        }
    }
    m_nWaitingRows -= rows;
    return page;
}

void QQueryBigImages::joinPiece(const QByteArray &bytes, qint64 id)
{
    const QImage piece = PieceDecoder::decode(bytes);

    const qint64 span = id - m_nLastDepth;
    if (span > 0 && !piece.isNull())
        m_dVerticalDensity = double(piece.height()) / double(span);
    if (m_nOutputWidth <= 0 && !piece.isNull())
        m_nOutputWidth = std::max(0, static_cast<int>(piece.width() * m_scaleX));
    const double pageRowsExact = m_pageDepth * m_dVerticalDensity * m_scaleY;
    const qint64 pageRows = pageRowsExact >= 1.0 ? qint64(std::min(pageRowsExact, double(maxPageRows()))) : 0;

    const qint64 firstCut = qint64(m_nRangeStart) + qint64(m_nPageIndex) * m_pageDepth;
    qint64 rows = 0;
    if (!piece.isNull()) {
        rows = std::min(qint64(piece.height() * m_scaleY), maxPageRows());
    } else if (span > 0) {
        // A piece that does not decode keeps its depth span as white rows at
        // the density of the piece before it, so the pages below stay at
        // their depths. The rows are only counted, never allocated as one
        // block, and are bounded by the pages the piece completes plus one:
        // a hostile id far below the rest cannot ask for more than that.
        const qint64 cuts = id >= firstCut ? (id - firstCut) / m_pageDepth + 1 : 0;
        const double bound = double(pageRows > 0 ? pageRows : maxPageRows()) * double(cuts + 1);
        rows = qint64(std::min(double(span) * m_dVerticalDensity * m_scaleY, bound));
    }

    if (rows > 0) {
        if (piece.isNull()) {
            m_bands.push_back(Band{QImage(), rows});
            m_nWaitingRows += rows;
        } else if (m_nOutputWidth > 0) {
            // Scaled once, to the output width and its share of rows.
            QImage band;
            if (piece.width() == m_nOutputWidth && piece.height() == rows) {
                band = piece.convertToFormat(QImage::Format_RGB32);
            } else {
                band = QImage(m_nOutputWidth, int(rows), QImage::Format_RGB32);
                if (!band.isNull()) {
                    band.fill(Qt::white);
                    QPainter painter(&band);
                    painter.drawImage(QRect(0, 0, m_nOutputWidth, int(rows)), piece);
                }
            }
            m_bands.push_back(Band{band, rows});
            m_nWaitingRows += rows;
        }
    }
    // Without a width no page can be made yet: the rows wait for it.
    if (m_nOutputWidth <= 0)
        return;

    // Cut off every page that this piece completes.
    qint64 cut = firstCut;
    while (m_nWaitingRows > 0 && id >= cut) {
        const qint64 waiting = m_nWaitingRows;
        // Without a known density the whole waiting image is one page.
        const qint64 take = pageRows > 0 ? std::min(pageRows, waiting) : waiting;
        const QImage page = takeRows(take);
        if (!page.isNull())
            emit ProgressingImageJointer(page, int(cut));
        if (!(id != cut && pageRows > 0 && pageRows < waiting))
            dropRows();
        ++m_nPageIndex;
        cut = qint64(m_nRangeStart) + qint64(m_nPageIndex) * m_pageDepth;
    }
}
