#ifndef PIECEDECODER_H
#define PIECEDECODER_H

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QtGlobal>

// Decodes the stored pieces of bigImages ("JPG"). Every reader of pieces
// decodes through here, so that a piece is judged the same way everywhere.
//
// The JPEG header is read first. A piece whose header claims more than
// kMaxPixels pixels or a side longer than kMaxSide is not decoded at all: a
// damaged or hostile file must not make the program allocate (and fill) the
// gigabytes a few bytes of header can claim. Such a piece counts as
// undecodable, exactly like a blob that is no JPEG. Safe on any thread.
class PieceDecoder
{
public:
    static constexpr qint64 kMaxPixels = qint64(1) << 28; // 1 GiB of 32-bit pixels
    static constexpr int kMaxSide = 65535;

    // The size the header claims; invalid when no JPEG header can be read.
    // Nothing but the header is read.
    static QSize headerSize(const QByteArray &data);

    // True for a size that may be decoded: both sides positive, neither
    // above kMaxSide, at most kMaxPixels pixels.
    static bool isSaneSize(const QSize &size);

    // The decoded piece, or a null image for a blob that does not decode or
    // whose header claims a size beyond the bound. Each null image is logged
    // as "QImage Load Fail" (with the claimed size where that was the cause).
    static QImage decode(const QByteArray &data);

    // decode() into *image. When *image already has the piece's size and is
    // 32-bit RGB, the pixels are written into its memory (it may be a view on
    // rows of a larger buffer) and it is left pointing there; otherwise it is
    // replaced by the decoded piece. False for a piece decode() would refuse;
    // *image may then have been written or replaced.
    static bool decodeInto(const QByteArray &data, QImage *image);
};

#endif // PIECEDECODER_H
