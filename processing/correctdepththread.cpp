#include "correctdepththread.h"

#include <QDebug>
#include <QSqlQuery>
#include <QVariant>
#include <cmath>
#include <limits>

#include "globals.h"
#include "imagejointer.h"
#include "pickcorrection.h"
#include "piecedecoder.h"
#include "projectinfo.h"
#include "sqliteconnection.h"

namespace {

const int kPieceDepth = 10000;

int truncated(double value)
{
    if (!(value == value) || value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(value);
}

} // namespace

CorrectDepthThread::CorrectDepthThread(const QString &path, int realDepthMm, QObject *parent)
    : CorrectionThread(path, SqliteConnection::uniqueName(QStringLiteral("DB5")), true, parent)
    , m_realDepth(realDepthMm)
{
    m_maxDepth = m_projectInfo->maxDepth();
    m_start = m_projectInfo->start();
    m_diameter = m_projectInfo->diameter();
    if (m_realDepth > 0)
        m_ratio = float(m_maxDepth / (double(m_realDepth) * 10.0));
    // Rows per depth unit as the record sees the pieces; used only for a
    // piece whose own depth span is unknown.
    m_fallbackScale = m_projectInfo->computePixelFactor();
}

CorrectDepthThread::~CorrectDepthThread()
{
    if (isRunning()) {
        m_rewriter.requestCancel();
        wait();
    }
    delete m_jointer;
}

double CorrectDepthThread::correctedDepth(int id) const
{
    // id x real depth / test depth, exact for the deepest piece.
    if (m_maxDepth <= 0)
        return 0.0;
    return double(qint64(id) * qint64(m_realDepth) * 10) / double(m_maxDepth);
}

void CorrectDepthThread::correctImages(QSqlDatabase &db)
{
    int fileMax = 0;
    {
        QSqlQuery query(db);
        if (query.exec(QStringLiteral("select max(id) from bigImages")) && query.next()
            && !query.isNull(0))
            fileMax = query.value(0).toInt();
    }
    int count = 0;
    const bool complete = allPiecesWithin(db, 0, m_maxDepth, &count);
    emit signalImagesCount(count);

    // The real depth was entered against the test depth of the record; a
    // file that has changed since must not be stretched by it.
    if (fileMax != m_maxDepth) {
        qDebug() << "deepest piece moved from" << m_maxDepth << "to" << fileMax << ", depth correction refused";
        m_rewriter.markFailed(QStringLiteral("the project file changed since it was opened"));
    } else if (m_maxDepth <= 0) {
        m_rewriter.markFailed(QStringLiteral("the project has no images to correct"));
    } else if (m_realDepth <= 0 || qint64(m_realDepth) * 10 > std::numeric_limits<int>::max()) {
        qDebug() << "real depth" << m_realDepth << "out of range, depth correction refused";
        m_rewriter.markFailed(QStringLiteral("real depth out of range"));
    } else if (!complete) {
        qDebug() << "pieces outside 0 .." << m_maxDepth << "found, depth correction refused";
        m_rewriter.markFailed(QStringLiteral("the project record does not match its images"));
    }
    if (m_rewriter.shouldStop())
        return;
    correctDepths(db, count);
}

int CorrectDepthThread::correctedStart() const
{
    return int(std::lround(correctedDepth(m_start)));
}

bool CorrectDepthThread::correctStart(QSqlDatabase &db, QString *error)
{
    // The start moves with the wall, or the first piece would be spread from
    // the old start over wall that now lies deeper. A piece that ended at or
    // above the new start could be reached by no page.
    const int start = correctedStart();
    QSqlQuery query(db);
    if (!m_rewriter.execPrepared(&query, QStringLiteral("select COUNT(1) from bigImages where id > ? AND id <= ?"),
                                 {std::numeric_limits<qint64>::min(), qint64(start)})
        || !query.next()) {
        *error = m_rewriter.lastError();
        return false;
    }
    const qint64 above = query.value(0).toLongLong();
    query.finish();
    if (above > 0) {
        *error = QStringLiteral("%1 corrected piece(s) would lie above the project start %2 m")
                     .arg(above)
                     .arg(start / 10000.0, 0, 'f', 4);
        return false;
    }
    if (!m_rewriter.execPrepared(&query, QStringLiteral("update  ProjectInfo set  start = ?"), {start})) {
        *error = QStringLiteral("the project start could not be corrected: %1").arg(m_rewriter.lastError());
        return false;
    }
    return true;
}

bool CorrectDepthThread::correctPicks(QSqlDatabase &db, QString *error)
{
    // Runs after the new table is in place, inside the same transaction.
    if (!correctStart(db, error))
        return false;
    // correctedDepth(): depth x real depth / test depth.
    return PickCorrection::correctDepths(db, double(m_realDepth) * 10.0, double(m_maxDepth),
                                         double(m_diameter), error, &m_picksNotMoved);
}

void CorrectDepthThread::flush(QImage &accumulated, QByteArray &storedBytes, int id)
{
    if (accumulated.isNull() || accumulated.height() <= 0) {
        accumulated = QImage();
        storedBytes.clear();
        return;
    }
    if (!storedBytes.isEmpty())
        insertInOrder(storedBytes, id);
    else
        encodeLater(accumulated, id);
    accumulated = QImage();
    storedBytes.clear();
}

void CorrectDepthThread::correctDepths(QSqlDatabase &db, int count)
{
    if (count <= 0) {
        emit signalOneImageProcessed(count);
        return;
    }

    delete m_jointer;
    m_jointer = new ImageJointer;
    m_peakAccumulatedRows = 0;

    // Every piece, in depth order (ids up to the deepest one).
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!m_rewriter.execPrepared(&query, QStringLiteral("select id ,data from bigImages where id > ? AND id < ?"),
                                 {0, qint64(m_maxDepth) + 1})) {
        qDebug() << m_rewriter.lastError();
    }

    // Rows per corrected depth unit = rows per uncorrected unit x ratio.
    const double stretch = double(m_maxDepth) / (double(m_realDepth) * 10.0);
    // The accumulated image is rows held .. held+heldRows-1 of buffer: pieces
    // are joined below them in place and cut from the top by moving held on.
    QImage buffer;
    QByteArray storedBytes;   // the accumulated image is this stored piece, untouched
    int held = 0;
    int heldRows = 0;
    const auto accumulatedView = [&buffer, &held, &heldRows]() {
        if (heldRows <= 0 || buffer.isNull())
            return QImage();
        return QImage(buffer.constBits() + qsizetype(held) * buffer.bytesPerLine(), buffer.width(),
                      heldRows, buffer.bytesPerLine(), buffer.format());
    };
    const auto flushHeld = [&](int at) {
        QImage accumulated = accumulatedView();
        flush(accumulated, storedBytes, at);
        // Rows below the flushed ones (a piece decoded there) stay put.
        held += heldRows;
        heldRows = 0;
    };
    int previousId = m_start > 0 ? m_start : 0;
    double scale = m_fallbackScale;
    double accumulatedScale = 0.0;
    qint64 cutIndex = 1;
    double lastDepth = 0.0;
    int step = 0;

    while (!m_rewriter.shouldStop() && query.isActive() && query.next()) {
        const int id = query.value(0).toInt();
        const QByteArray bytes = query.value(1).toByteArray();
        const double depth = correctedDepth(id);
        lastDepth = depth;

        // A piece is decoded straight into the rows below the held ones
        // when it fits there; otherwise (another width, a grey JPEG) it is
        // decoded on its own and joined by copying.
        QImage piece;
        int rowsInBuffer = 0;
        const QSize size = PieceDecoder::headerSize(bytes);
        if (PieceDecoder::isSaneSize(size)) {
            QImage slot = m_jointer->reserve(&buffer, &held, &heldRows, size.width(), size.height());
            if (m_jointer->failed()) {
                qDebug() << "异常！";
                m_rewriter.markFailed(QStringLiteral("out of memory"));
                break;
            }
            const uchar *at = slot.constBits();
            if (slot.isNull()) {
                piece = decodePiece(bytes);
            } else if (PieceDecoder::decodeInto(bytes, &slot)) {
                if (slot.constBits() == at)
                    rowsInBuffer = slot.height();
                else
                    piece = slot.convertToFormat(QImage::Format_RGB32);
            }
        } else {
            piece = decodePiece(bytes);
        }

        if (rowsInBuffer == 0 && piece.isNull()) {
            // Kept as stored: what lies above it ends where it begins.
            qDebug() << "undecodable piece kept as stored:" << id;
            flushHeld(truncated(correctedDepth(previousId)));
            insertInOrder(bytes, truncated(depth));
        } else {
            const int pieceRows = rowsInBuffer > 0 ? rowsInBuffer : piece.height();
            // A piece covers the depth span from the previous piece down to
            // its own id; its rows are spread over that span.
            const int span = id - previousId;
            if (span > 0)
                scale = double(pieceRows) / span;
            else if (!(scale > 0.0))
                scale = m_fallbackScale;

            // Rows of one output piece must share one density, or the page
            // display (which stretches a piece evenly over its span) would
            // move them: a piece that brings far fewer or more rows for its
            // span (the wall below missing pieces) starts a new piece.
            if (heldRows > 0 && accumulatedScale > 0.0
                && qAbs(scale - accumulatedScale) > accumulatedScale * 0.05) {
                flushHeld(truncated(correctedDepth(previousId)));
            }
            if (heldRows <= 0)
                accumulatedScale = scale;

            const bool hadPixels = heldRows > 0;
            if (rowsInBuffer > 0) {
                m_jointer->appendReserved(&buffer, &held, &heldRows, rowsInBuffer);
            } else if (!m_jointer->append(&buffer, &held, &heldRows, piece)) {
                qDebug() << "异常！";
                m_rewriter.markFailed(QStringLiteral("out of memory"));
                break;
            }
            storedBytes = hadPixels ? QByteArray() : bytes;
            m_peakAccumulatedRows = qMax(m_peakAccumulatedRows, heldRows);

            const double rowsPerUnit = scale * stretch;
            while (!m_rewriter.shouldStop() && double(cutIndex) * kPieceDepth <= depth) {
                const qint64 cut = cutIndex * kPieceDepth;
                ++cutIndex;
                if (heldRows <= 0)
                    continue;
                const int rowsBelow = truncated((depth - double(cut)) * rowsPerUnit);
                // A cut line above the top of the image: nothing lies above it.
                if (rowsBelow < 0 || rowsBelow >= heldRows)
                    continue;
                const int upperRows = heldRows - rowsBelow;
                if (rowsBelow == 0) {
                    flushHeld(int(cut));
                    continue;
                }
                // The upper part is only encoded: a view on its rows will do.
                const QImage upper(buffer.constBits() + qsizetype(held) * buffer.bytesPerLine(), buffer.width(),
                                   upperRows, buffer.bytesPerLine(), buffer.format());
                encodeLater(upper, int(cut));
                // The rows below stay where they are; the next join appends
                // below them.
                held += upperRows;
                heldRows = rowsBelow;
                storedBytes.clear();
            }
        }
        previousId = id;
        emit signalOneImageProcessed(step);
        ++step;
    }
    query.finish();

    if (!m_rewriter.shouldStop())
        flushHeld(truncated(lastDepth));
    takeEncoded();
    delete m_jointer;
    m_jointer = nullptr;
    if (!m_rewriter.shouldStop())
        emit signalOneImageProcessed(count);
}
