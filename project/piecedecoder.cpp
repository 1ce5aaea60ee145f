#include "piecedecoder.h"

#include <QBuffer>
#include <QDebug>
#include <QImageReader>

QSize PieceDecoder::headerSize(const QByteArray &data)
{
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly))
        return QSize();
    QImageReader reader(&buffer, "JPG");
    return reader.size();
}

bool PieceDecoder::isSaneSize(const QSize &size)
{
    if (!size.isValid() || size.isEmpty())
        return false;
    if (size.width() > kMaxSide || size.height() > kMaxSide)
        return false;
    return qint64(size.width()) * qint64(size.height()) <= kMaxPixels;
}

QImage PieceDecoder::decode(const QByteArray &data)
{
    QImage image;
    if (!decodeInto(data, &image))
        return QImage();
    return image;
}

bool PieceDecoder::decodeInto(const QByteArray &data, QImage *target)
{
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly)) {
        qDebug() << "QImage Load Fail";
        return false;
    }
    QImageReader reader(&buffer, "JPG");
    const QSize claimed = reader.size();
    if (claimed.isValid() && !isSaneSize(claimed)) {
        qDebug().noquote() << "QImage Load Fail"
                           << QStringLiteral("(the piece claims %1 x %2 pixels)")
                                  .arg(claimed.width())
                                  .arg(claimed.height());
        return false;
    }
    // The JPEG reader writes into an image of the right size and format as
    // it is, so the caller's memory is filled without a copy (no other
    // QImage may share *target, or the first write would copy it).
    if (!reader.read(target) || target->isNull()) {
        qDebug() << "QImage Load Fail";
        return false;
    }
    return true;
}
