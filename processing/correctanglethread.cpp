#include "correctanglethread.h"

#include "largeimage.h"
#include "pickcorrection.h"
#include "piecedecoder.h"
#include "sqliteconnection.h"

#include <QDebug>
#include <QSqlQuery>
#include <QVariant>
#include <cstring>
#include <limits>

CorrectAngleThread::CorrectAngleThread(const QString &path, int angleDegrees, QObject *parent)
    : CorrectionThread(path, SqliteConnection::uniqueName(QStringLiteral("DB6")), false, parent)
    , m_angle(normalizedAngle(angleDegrees))
    , m_turn(float(m_angle / 360.0))
{
}

int CorrectAngleThread::normalizedAngle(int angleDegrees)
{
    const int angle = angleDegrees % 360;
    return angle < 0 ? angle + 360 : angle;
}

namespace {

// Turns the rows of image (32-bit) to the left by shift columns, in place:
// no second image of the piece's size is needed.
void shiftRows(QImage &image, int shift)
{
    const int width = image.width();
    const size_t left = size_t(shift) * 4;
    const size_t right = size_t(width - shift) * 4;
    QByteArray spare(int(left), Qt::Uninitialized);
    for (int y = 0; y < image.height(); ++y) {
        uchar *row = image.scanLine(y);
        std::memcpy(spare.data(), row, left);
        std::memmove(row, row + left, right);
        std::memcpy(row + right, spare.constData(), left);
    }
}

} // namespace

int CorrectAngleThread::columnShift(int width, float turn)
{
    if (width <= 0)
        return 0;
    int shift = int(width * turn) % width;
    if (shift < 0)
        shift += width;
    return shift;
}

double CorrectAngleThread::turnedDegreesAt(double depth) const
{
    if (m_widths.isEmpty())
        return m_angle;
    // A piece holds the depths above its id down to it.
    WidthRun run = m_widths.last();
    for (const WidthRun &r : m_widths) {
        if (depth <= r.lastId) {
            run = r;
            break;
        }
    }
    return columnShift(run.width, m_turn) * 360.0 / run.width;
}

bool CorrectAngleThread::correctPicks(QSqlDatabase &db, QString *error)
{
    return PickCorrection::turnAll(db, [this](double depth) { return turnedDegreesAt(depth); }, error,
                                   &m_picksNotMoved);
}

QImage CorrectAngleThread::shiftImage(const QImage &source, float turn)
{
    if (source.isNull())
        return QImage();
    QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int shift = columnShift(image.width(), turn);
    if (shift > 0 && !image.isNull())
        shiftRows(image, shift);
    return image;
}

void CorrectAngleThread::correctImages(QSqlDatabase &db)
{
    // Every piece of the table, whatever its id.
    int count = 0;
    allPiecesWithin(db, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max(), &count);
    emit signalImagesCount(count);
    if (!m_rewriter.shouldStop())
        shiftImages(db, count);
}

void CorrectAngleThread::shiftImages(QSqlDatabase &db, int count)
{
    Q_UNUSED(count)
    m_widths.clear();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!m_rewriter.execPrepared(&query, QStringLiteral("select id ,data from bigImages where id > ? AND id <= ?"),
                                 {std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()})) {
        qDebug() << m_rewriter.lastError();
    }
    int step = 0;
    // Pieces of one size are decoded into the same memory, one after the
    // other; it is handed to the encoder as a copy.
    QImage piece;
    while (!m_rewriter.shouldStop() && query.isActive() && query.next()) {
        const int id = query.value(0).toInt();
        const QByteArray bytes = query.value(1).toByteArray();
        const QSize size = PieceDecoder::headerSize(bytes);
        if (PieceDecoder::isSaneSize(size) && piece.size() != size)
            piece = LargeImage::create(size.width(), size.height(), QImage::Format_RGB32);
        if (!PieceDecoder::decodeInto(bytes, &piece))
            piece = QImage();
        else if (piece.format() != QImage::Format_RGB32)
            piece = piece.convertToFormat(QImage::Format_RGB32);
        if (!piece.isNull()) {
            if (m_widths.isEmpty() || m_widths.last().width != piece.width())
                m_widths.append({id, piece.width()});
            m_widths.last().lastId = id;
        }
        if (piece.isNull()) {
            qDebug() << "undecodable piece kept as stored:" << id;
            insertInOrder(bytes, id);
        } else if (columnShift(piece.width(), m_turn) == 0) {
            // The turn leaves the piece as it is: keep its bytes, no second
            // JPEG generation.
            insertInOrder(bytes, id);
        } else {
            shiftRows(piece, columnShift(piece.width(), m_turn));
            encodeLater(piece, id);
        }
        emit signalOneImageProcessed(step);
        ++step;
    }
    query.finish();
}
