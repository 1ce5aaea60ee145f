#include "correctanglethread.h"

#include <QDebug>
#include <QSqlQuery>
#include <QVariant>
#include <cstring>
#include <limits>

CorrectAngleThread::CorrectAngleThread(const QString &path, int angleDegrees, QObject *parent)
    : CorrectionThread(path, QStringLiteral("DB6"), false, parent)
    , m_angle(normalizedAngle(angleDegrees))
    , m_turn(float(m_angle / 360.0))
{
}

int CorrectAngleThread::normalizedAngle(int angleDegrees)
{
    const int angle = angleDegrees % 360;
    return angle < 0 ? angle + 360 : angle;
}

QImage CorrectAngleThread::shiftImage(const QImage &source, float turn)
{
    if (source.isNull())
        return QImage();
    const QImage image = source.format() == QImage::Format_RGB32
        ? source : source.convertToFormat(QImage::Format_RGB32);
    const int width = image.width();
    int shift = int(width * turn) % width;
    if (shift < 0)
        shift += width;
    if (shift == 0)
        return image;
    QImage result(width, image.height(), QImage::Format_RGB32);
    if (result.isNull())
        return QImage();
    const size_t right = size_t(width - shift) * 4;
    const size_t left = size_t(shift) * 4;
    for (int y = 0; y < image.height(); ++y) {
        const uchar *in = image.constScanLine(y);
        uchar *out = result.scanLine(y);
        std::memcpy(out, in + left, right);
        std::memcpy(out + right, in, left);
    }
    return result;
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
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!m_rewriter.execPrepared(&query, QStringLiteral("select id ,data from bigImages where id > ? AND id <= ?"),
                                 {std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()})) {
        qDebug() << m_rewriter.lastError();
    }
    int step = 0;
    while (!m_rewriter.shouldStop() && query.isActive() && query.next()) {
        const int id = query.value(0).toInt();
        const QByteArray bytes = query.value(1).toByteArray();
        const QImage piece = decodePiece(bytes);
        if (piece.isNull()) {
            qDebug() << "undecodable piece kept as stored:" << id;
            insertStoredPiece(bytes, id);
        } else if (int(piece.width() * m_turn) % piece.width() == 0) {
            // The turn leaves the piece as it is: keep its bytes, no second
            // JPEG generation.
            insertStoredPiece(bytes, id);
        } else {
            const QImage shifted = shiftImage(piece, m_turn);
            if (shifted.isNull()) {
                m_rewriter.markFailed(QStringLiteral("out of memory"));
                break;
            }
            insertNewBigImageIntoTable(shifted, id);
        }
        emit signalOneImageProcessed(step);
        ++step;
    }
    query.finish();
}
