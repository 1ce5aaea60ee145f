#include "processupprojectthread.h"

#include "piecedecoder.h"

#include <QByteArray>
#include <QDebug>
#include <QSqlQuery>
#include <QVariant>
#include <QVector>
#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "globals.h"
#include "imagejointer.h"
#include "projectinfo.h"
#include "sqliteconnection.h"

namespace {

const int kPieceDepth = 10000;

// The create statement of this worker (runs of 54 spaces).
const char *const kCreateStatement =
    "create table newBigImages ("
    "                                                      "
    "id integer primary key,"
    "                                                      "
    "data blob)";

// Rows and depths computed in double precision, clamped into int (a bogus
// id or pixel factor must not overflow the conversion).
int saturatedInt(double value)
{
    if (!(value == value))
        return 0;
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(value);
}

// top with bottom below it, no overlap search (used next to blank rows).
QImage stack(const QImage &topIn, const QImage &bottomIn)
{
    if (topIn.isNull())
        return bottomIn;
    if (bottomIn.isNull())
        return topIn;
    const QImage top = topIn.convertToFormat(QImage::Format_RGB32);
    const QImage bottom = bottomIn.convertToFormat(QImage::Format_RGB32);
    QImage result(top.width(), top.height() + bottom.height(), QImage::Format_RGB32);
    if (result.isNull())
        return QImage();
    result.fill(0xff000000u);
    const int topBytes = top.bytesPerLine();
    const int bottomBytes = qMin(bottom.bytesPerLine(), topBytes);
    for (int y = 0; y < top.height(); ++y)
        std::memcpy(result.scanLine(y), top.constScanLine(y), size_t(topBytes));
    for (int y = 0; y < bottom.height(); ++y)
        std::memcpy(result.scanLine(top.height() + y), bottom.constScanLine(y), size_t(bottomBytes));
    return result;
}

} // namespace

ProcessUpProjectThread::ProcessUpProjectThread(const QString &path, QObject *parent)
    : CorrectionThread(path, SqliteConnection::uniqueName(QStringLiteral("KORA")), false, parent)
{
    // Made on the GUI thread: the record and the pixel factor are read here
    // and nowhere else.
    const ProjectInfo *info = ProjectInfo::instance();
    m_direction = info->direction();
    m_maxDepth = info->maxDepth();
    m_diameter = info->diameter();
    m_givenPixelFactor = (std::isfinite(pixelsPerUnit) && pixelsPerUnit > 0.0) ? pixelsPerUnit : 0.0;
    m_pixelFactor = m_givenPixelFactor;
}

void ProcessUpProjectThread::run()
{
    m_pixelFactor = m_givenPixelFactor;
    if (m_direction != QLatin1String("up")) {
        qDebug() << "project is not logged upward, nothing to convert:" << m_projectPath;
        emit signalProcessFinished();
        return;
    }
    CorrectionThread::run();
}

void ProcessUpProjectThread::correctImages(QSqlDatabase &db)
{
    ImageJointer jointer;
    m_database = db;
    m_jointer = &jointer;
    processImages();
    m_jointer = nullptr;
    m_database = QSqlDatabase();
}

QString ProcessUpProjectThread::createStatement() const
{
    return QString::fromLatin1(kCreateStatement);
}

QStringList ProcessUpProjectThread::recordUpdates() const
{
    return {QStringLiteral("update  ProjectInfo set  direction = 'down' where direction = 'up'"),
            QStringLiteral("update  ProjectInfo set  start = '0'")};
}

void ProcessUpProjectThread::logInsertion(int id, bool encoded) const
{
    qDebug() << "insertNewBigImageIntoTable endDepth:" << id << " Res:" << encoded;
}

void ProcessUpProjectThread::cutAbove(QImage &accumulated, int reachedDepth)
{
    // Every metre that lies wholly above reachedDepth (the depth the
    // accumulated image reaches down to) is cut off and saved.
    while (!accumulated.isNull() && m_cutDepth < reachedDepth && !m_rewriter.shouldStop()) {
        cutAndSave(accumulated, m_cutDepth, reachedDepth);
        if (m_cutDepth > std::numeric_limits<int>::max() - kPieceDepth) {
            m_rewriter.markFailed(QStringLiteral("depth out of range"));
            return;
        }
        m_cutDepth += kPieceDepth;
    }
}

void ProcessUpProjectThread::fillGap(QImage &accumulated, int depthSpan, int bottomDepth, int width)
{
    // A metre at a time, cutting as it goes: a long stretch of missing wall
    // never has to be held in memory as a whole.
    int remaining = depthSpan;
    while (remaining > 0 && !m_rewriter.shouldStop()) {
        const int chunk = qMin(remaining, kPieceDepth);
        appendBlank(accumulated, chunk, width);
        remaining -= chunk;
        cutAbove(accumulated, bottomDepth - remaining);
    }
}

void ProcessUpProjectThread::appendBlank(QImage &accumulated, int depthSpan, int width)
{
    // The rows of a piece that cannot be decoded are kept as black rows of
    // its depth span, so everything below stays at its depth.
    const int rows = saturatedInt(depthSpan * m_pixelFactor);
    if (width <= 0 || rows <= 0)
        return;
    QImage blank(width, rows, QImage::Format_RGB32);
    if (blank.isNull()) {
        m_rewriter.markFailed(QStringLiteral("out of memory"));
        return;
    }
    blank.fill(0xff000000u);
    QImage joined = stack(accumulated, blank);
    if (joined.isNull()) {
        m_rewriter.markFailed(QStringLiteral("out of memory"));
        return;
    }
    accumulated = joined;
    m_peakAccumulatedRows = qMax(m_peakAccumulatedRows, accumulated.height());
}

int ProcessUpProjectThread::missingDepth(int span, int rows) const
{
    // A piece covers its depth span; when it brings far fewer rows than the
    // span needs (it did not decode, or the pieces of the span below it are
    // missing from the table) the rest of the span is missing wall.
    // The rows a span needs are judged by the scale the pieces themselves
    // have (see measurePieceScale()), so a record whose diameter does not
    // fit its pieces does not turn every piece into a gap.
    if (span <= 0)
        return 0;
    if (rows <= 0)
        return span;
    if (m_pixelFactor <= 1e-6)
        return 0;
    const double scale = m_pieceScale > 1e-6 ? m_pieceScale : m_pixelFactor;
    const double expected = span * scale;
    const double deficit = expected - rows;
    if (deficit > expected * 0.25 && deficit >= 2.0)
        return saturatedInt(deficit / scale);
    return 0;
}

double ProcessUpProjectThread::measurePieceScale(const QString &statement)
{
    // Rows per depth unit of the pieces, read from their JPEG headers only:
    // the upper median over the pieces, so the few whose span also covers
    // missing pieces below them do not count. 0 when nothing can be read.
    QVector<double> ratios;
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    if (!m_rewriter.execPrepared(&query, statement, {0, m_maxDepth})) {
        qDebug() << m_rewriter.lastError();
        return 0.0;
    }
    int previousId = -1;
    int previousRows = 0;
    const auto addRatio = [&ratios](int span, int rows) {
        if (span > 0 && rows > 0)
            ratios << double(rows) / span;
    };
    while (query.next()) {
        const int id = query.value(0).toInt();
        if (previousId >= 0)
            addRatio(previousId - id, previousRows);
        const QSize size = PieceDecoder::headerSize(query.value(1).toByteArray());
        previousRows = PieceDecoder::isSaneSize(size) ? size.height() : 0;
        previousId = id;
    }
    query.finish();
    if (previousId >= 0)
        addRatio(previousId, previousRows);
    if (ratios.isEmpty())
        return 0.0;
    std::sort(ratios.begin(), ratios.end());
    return ratios.at(ratios.size() / 2);
}

void ProcessUpProjectThread::processImages()
{
    const QString countStatement = QStringLiteral("select count(*) from bigImages where id > ? AND id <= ?");
    int count = 0;
    qint64 total = -1;
    {
        QSqlQuery query(m_database);
        // Depths count from the deepest piece as the file holds it now, under
        // the write lock, even if it changed since the record was read.
        if (query.exec(QStringLiteral("select max(id) from bigImages")) && query.next()
            && !query.isNull(0) && query.value(0).toInt() != m_maxDepth) {
            qDebug() << "deepest piece moved from" << m_maxDepth << "to" << query.value(0).toInt();
            m_maxDepth = query.value(0).toInt();
        }
        query.finish();
        if (m_rewriter.execPrepared(&query, countStatement, {0, m_maxDepth}) && query.next())
            count = query.value(0).toInt();
        else
            qDebug() << m_rewriter.lastError();
        query.finish();
        const QVariantList all{std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()};
        if (m_rewriter.execPrepared(&query, countStatement, all) && query.next())
            total = query.value(0).toLongLong();
        query.finish();
        // Another program (or another window) may have converted the file
        // since the record was read; converting it again would turn it
        // upside down. The transaction holds the write lock from here on.
        if (query.exec(QStringLiteral("select * from projectInfo")) && query.next()
            && query.value(QStringLiteral("direction")).toString() != QLatin1String("up")
            && !m_rewriter.failed()) {
            qDebug() << "project is no longer logged upward, conversion refused";
            m_rewriter.markFailed(QStringLiteral("the project file was converted meanwhile"));
        }
    }
    emit signalImagesCount(count);
    if (m_maxDepth > std::numeric_limits<int>::max() - 2 * kPieceDepth && !m_rewriter.failed()) {
        qDebug() << "deepest piece" << m_maxDepth << "out of range, conversion refused";
        m_rewriter.markFailed(QStringLiteral("deepest piece out of range"));
    }
    if (total != count && !m_rewriter.failed()) {
        qDebug() << "pieces outside 0 .." << m_maxDepth << "found, conversion refused:" << total << count;
        m_rewriter.markFailed(QStringLiteral("the project record does not match its images"));
    }

    const QString selectStatement =
        QStringLiteral("select id ,data from bigImages where id > ? AND id <= ?  order by id desc");
    m_pieceScale = m_rewriter.shouldStop() ? 0.0 : measurePieceScale(selectStatement);

    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    if (!m_rewriter.shouldStop() && !m_rewriter.execPrepared(&query, selectStatement, {0, m_maxDepth}))
        qDebug() << m_rewriter.lastError();

    m_cutDepth = kPieceDepth;
    m_decodedCount = 0;
    m_peakAccumulatedRows = 0;
    int step = 0;
    QImage accumulated;
    int pendingGap = 0;       // depth of missing wall not yet filled with blank rows
    int previousId = -1;      // id of the previous row
    int previousRows = 0;     // pixel rows it brought (0 when it did not decode)
    bool endsWithBlank = false;

    while (!m_rewriter.shouldStop() && query.isActive() && query.next()) {
        const int id = query.value(0).toInt();
        const int d = m_maxDepth - id;

        if (previousId >= 0)
            pendingGap += missingDepth(previousId - id, previousRows);
        if (pendingGap > 0 && !accumulated.isNull() && m_pixelFactor > 1e-6) {
            fillGap(accumulated, pendingGap, d, accumulated.width());
            pendingGap = 0;
            endsWithBlank = true;
        }

        // Every metre that lies wholly above this piece is cut off now, so
        // pieces longer than a metre do not pile up in memory.
        cutAbove(accumulated, d);

        const QImage piece = PieceDecoder::decode(query.value(1).toByteArray());
        previousId = id;
        previousRows = piece.height();
        if (!piece.isNull()) {
            if (qAbs(m_pixelFactor) < 1e-6 && m_diameter > 0) {
                m_pixelFactor = piece.width() / (m_diameter * 3.14);
                qDebug() << "FACTORBTPIXELWITHMM:" << m_pixelFactor;
            }
            if (pendingGap > 0 && m_pixelFactor > 1e-6) {
                // Undecodable pieces at the collar: blank rows above this one.
                fillGap(accumulated, pendingGap, d, piece.width());
                pendingGap = 0;
                endsWithBlank = true;
            }
            if (endsWithBlank) {
                accumulated = stack(accumulated, piece);
                if (accumulated.isNull())
                    m_rewriter.markFailed(QStringLiteral("out of memory"));
            } else {
                accumulated = m_jointer->joint(accumulated, piece);
                if (m_jointer->failed()) {
                    m_rewriter.markFailed(QStringLiteral("out of memory"));
                    accumulated = QImage();
                }
            }
            endsWithBlank = false;
            ++m_decodedCount;
            m_peakAccumulatedRows = qMax(m_peakAccumulatedRows, accumulated.height());
        } else {
            qDebug() << "QImage Load Fail" << id;
        }

        emit signalOneImageProcessed(step);
        ++step;
    }
    query.finish();

    if (m_rewriter.shouldStop())
        return;

    if (m_decodedCount == 0 && step > 0) {
        // Swapping in an empty table would throw every piece away. (A
        // project without any piece has nothing to lose: it is only marked
        // as downward.)
        qDebug() << "no piece of the project could be decoded, nothing converted";
        m_rewriter.markFailed(QStringLiteral("no decodable piece"));
        return;
    }

    // The deepest piece reaches down to the bottom of the run (id 0).
    if (previousId >= 0)
        pendingGap += missingDepth(previousId, previousRows);
    if (pendingGap > 0 && !accumulated.isNull() && m_pixelFactor > 1e-6)
        fillGap(accumulated, pendingGap, m_maxDepth, accumulated.width());
    if (m_rewriter.shouldStop())
        return;

    if (!accumulated.isNull()) {
        qDebug() << ".....................................";
        if (m_pixelFactor > 1e-6) {
            int holeDepth = saturatedInt(accumulated.height() / m_pixelFactor);
            qDebug() << "holeDepth" << holeDepth;
            int last = saturatedInt(double(holeDepth) + m_cutDepth - kPieceDepth);
            bool finalInsert = true;
            while (holeDepth > kPieceDepth && !m_rewriter.shouldStop()) {
                last = saturatedInt(double(holeDepth) + m_cutDepth - kPieceDepth);
                cutAndSave(accumulated, m_cutDepth, last);
                if (accumulated.isNull()) {
                    finalInsert = false;
                    break;
                }
                holeDepth = saturatedInt(accumulated.height() / m_pixelFactor);
                if (holeDepth > kPieceDepth) {
                    if (m_cutDepth > std::numeric_limits<int>::max() - kPieceDepth) {
                        m_rewriter.markFailed(QStringLiteral("depth out of range"));
                        break;
                    }
                    m_cutDepth += kPieceDepth;
                }
            }
            if (finalInsert && !m_rewriter.shouldStop()) {
                // A remainder of less than one depth unit would collide with
                // the piece above it.
                if (m_rewriter.insertedCount() > 0 && last <= m_rewriter.lastInsertedId())
                    last = m_rewriter.lastInsertedId() + 1;
                insertNewBigImageIntoTable(accumulated, last);
            }
        } else {
            insertNewBigImageIntoTable(accumulated, m_cutDepth);
        }
    }

    emit signalOneImageProcessed(step);
}

void ProcessUpProjectThread::cutAndSave(QImage &accumulated, int endDepth, int lastImageDepth)
{
    int remainHeight = saturatedInt((double(lastImageDepth) - double(endDepth)) * m_pixelFactor);
    qDebug() << "lastImageDepth:" << lastImageDepth << " endDepth:" << endDepth
             << " remainHeight:" << remainHeight;
    if (remainHeight < 0)
        remainHeight = 0;
    if (remainHeight >= accumulated.height()) {
        // Nothing of the image lies above endDepth yet: keep it whole.
        return;
    }
    // The upper part is only encoded: a view on the accumulated rows will do.
    const QImage upper(accumulated.constBits(), accumulated.width(),
                       accumulated.height() - remainHeight, accumulated.bytesPerLine(),
                       accumulated.format());
    if (!upper.isNull())
        insertNewBigImageIntoTable(upper, endDepth);
    if (remainHeight == 0)
        accumulated = QImage();
    else
        accumulated = accumulated.copy(0, upper.height(), accumulated.width(), remainHeight);
}
