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
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly)) {
        qDebug() << "QImage Load Fail";
        return QImage();
    }
    QImageReader reader(&buffer, "JPG");
    const QSize claimed = reader.size();
    if (claimed.isValid() && !isSaneSize(claimed)) {
        qDebug().noquote() << "QImage Load Fail"
                           << QStringLiteral("(the piece claims %1 x %2 pixels)")
                                  .arg(claimed.width())
                                  .arg(claimed.height());
        return QImage();
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        qDebug() << "QImage Load Fail";
        return QImage();
    }
    return image;
}
