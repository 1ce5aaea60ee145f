#include "imagejointer.h"

#include "largeimage.h"

#include <QDebug>
#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// Decoded JPEG pieces are 32-bit already; anything else (grey pieces, images
// with an alpha channel) is brought to 0xffRRGGBB first, so the copied rows
// of the result are opaque as well.
QImage asRgb32(const QImage &image)
{
    if (image.format() == QImage::Format_RGB32)
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

// Row i of an overlap of n rows: the upper row a weighted towards the top,
// the lower row b towards the bottom, over the columns both have; columns
// only the upper image has keep its pixels, opaque.
void blendRow(QRgb *out, const QRgb *a, const QRgb *b, int i, int n, int width, int fullWidth)
{
    const int wa = n - i;
    const int wb = i;
    for (int x = 0; x < width; ++x) {
        out[x] = qRgba((qRed(a[x]) * wa + qRed(b[x]) * wb) / n,
                       (qGreen(a[x]) * wa + qGreen(b[x]) * wb) / n,
                       (qBlue(a[x]) * wa + qBlue(b[x]) * wb) / n, 255);
    }
    for (int x = width; x < fullWidth; ++x)
        out[x] = a[x] | 0xff000000u;
}

// A row of the lower image below the overlap. A narrower bottom leaves
// opaque black on the right.
void copyBottomRow(uchar *out, const uchar *row, int bytes, int width, int fullWidth)
{
    std::memcpy(out, row, size_t(bytes));
    QRgb *pixels = reinterpret_cast<QRgb *>(out);
    for (int x = width; x < fullWidth; ++x)
        pixels[x] = 0xff000000u;
}

} // namespace

double ImageJointer::rowDifference(const QImage &topIn, const QImage &bottomIn, int n)
{
    if (n <= 0 || topIn.isNull() || bottomIn.isNull())
        return 0.0;
    const QImage top = asRgb32(topIn);
    const QImage bottom = asRgb32(bottomIn);
    n = std::min(n, std::min(top.height(), bottom.height()));
    // Pieces of one project share their width; a narrower bottom is compared
    // over its own columns only.
    const int width = std::min(top.width(), bottom.width());
    const int topHeight = top.height();
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        const QRgb *a = reinterpret_cast<const QRgb *>(top.constScanLine(topHeight - n + i));
        const QRgb *b = reinterpret_cast<const QRgb *>(bottom.constScanLine(i));
        qint64 rowSum = 0;
        for (int x = 0; x < width; ++x) {
            const int dr = qRed(a[x]) - qRed(b[x]);
            const int dg = qGreen(a[x]) - qGreen(b[x]);
            const int db = qBlue(a[x]) - qBlue(b[x]);
            rowSum += dr * dr + dg * dg + db * db;
        }
        sum += double(rowSum);
    }
    return sum / n;
}

double ImageJointer::neighbourDifference(const QImage &topIn, const QImage &bottomIn, int rows)
{
    if (rows <= 0 || topIn.isNull() || bottomIn.isNull())
        return 0.0;
    const QImage top = asRgb32(topIn);
    const QImage bottom = asRgb32(bottomIn);
    const int width = std::min(top.width(), bottom.width());
    const auto pairDifference = [width](const QImage &image, int y) {
        const QRgb *a = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        const QRgb *b = reinterpret_cast<const QRgb *>(image.constScanLine(y + 1));
        qint64 sum = 0;
        for (int x = 0; x < width; ++x) {
            const int dr = qRed(a[x]) - qRed(b[x]);
            const int dg = qGreen(a[x]) - qGreen(b[x]);
            const int db = qBlue(a[x]) - qBlue(b[x]);
            sum += dr * dr + dg * dg + db * db;
        }
        return double(sum);
    };
    std::vector<double> differences;
    differences.reserve(size_t(2 * rows));
    // The (lower) median, not the mean: a bedding boundary near the seam
    // makes a few neighbouring rows differ a lot and must not hide a seam
    // without repeats.
    for (int j = 0; j < rows && top.height() - 2 - j >= 0; ++j)
        differences.push_back(pairDifference(top, top.height() - 2 - j));
    for (int j = 0; j < rows && j + 1 < bottom.height(); ++j)
        differences.push_back(pairDifference(bottom, j));
    if (differences.empty())
        return 0.0;
    const auto middle = differences.begin() + (differences.size() - 1) / 2;
    std::nth_element(differences.begin(), middle, differences.end());
    return *middle;
}

int ImageJointer::findOverlap(const QImage &topIn, const QImage &bottomIn)
{
    const QImage top = asRgb32(topIn);
    const QImage bottom = asRgb32(bottomIn);
    const int limit = int(std::min(top.height(), bottom.height()) * 0.025);
    const int width = std::min(top.width(), bottom.width());
    const int topHeight = top.height();
    int best = 0;
    double smallest = 4294967295.0;
    for (int n = 1; n < limit; ++n) {
        // Same sum as rowDifference(top, bottom, n); a candidate stops as
        // soon as it can no longer beat the smallest so far (the sum only grows).
        const double bound = smallest * n;
        double sum = 0.0;
        for (int i = 0; i < n && sum <= bound; ++i) {
            const QRgb *a = reinterpret_cast<const QRgb *>(top.constScanLine(topHeight - n + i));
            const QRgb *b = reinterpret_cast<const QRgb *>(bottom.constScanLine(i));
            qint64 rowSum = 0;
            for (int x = 0; x < width; ++x) {
                const int dr = qRed(a[x]) - qRed(b[x]);
                const int dg = qGreen(a[x]) - qGreen(b[x]);
                const int db = qBlue(a[x]) - qBlue(b[x]);
                rowSum += dr * dr + dg * dg + db * db;
            }
            sum += double(rowSum);
        }
        if (sum / n < smallest) {
            best = n;
            smallest = sum / n;
        }
    }
    if (best == 0)
        return 0;
    // Rows that match no better than neighbouring rows are not repeated.
    if (!(smallest < kRepeatRatio * neighbourDifference(top, bottom, limit)))
        return 0;
    return best;
}

QImage ImageJointer::joint(const QImage &topIn, const QImage &bottomIn)
{
    m_failed = false;
    if (topIn.isNull()) {
        qDebug() << "joint 1";
        m_overlap = 0;
        return bottomIn;
    }
    if (bottomIn.isNull()) {
        // Nothing to append; the upper image stays as it is.
        m_overlap = 0;
        return topIn;
    }
    const QImage top = asRgb32(topIn);
    const QImage bottom = asRgb32(bottomIn);

    const int overlap = findOverlap(top, bottom);
    qDebug() << "[joint 2] overlap:" << overlap;
    m_overlap = overlap;

    const int topHeight = top.height();
    const int bottomHeight = bottom.height();
    QImage result(top.width(), topHeight + bottomHeight - overlap, QImage::Format_RGB32);
    if (result.isNull()) {
        qDebug() << "joint 3";
        m_failed = true;
        return bottomIn;
    }

    const int topBytes = top.bytesPerLine();
    const int bottomBytes = std::min(bottom.bytesPerLine(), topBytes);
    const int width = std::min(top.width(), bottom.width());

    for (int y = 0; y < topHeight - overlap; ++y)
        std::memcpy(result.scanLine(y), top.constScanLine(y), size_t(topBytes));

    for (int i = 0; i < overlap; ++i) {
        blendRow(reinterpret_cast<QRgb *>(result.scanLine(topHeight - overlap + i)),
                 reinterpret_cast<const QRgb *>(top.constScanLine(topHeight - overlap + i)),
                 reinterpret_cast<const QRgb *>(bottom.constScanLine(i)), i, overlap, width,
                 top.width());
    }

    for (int y = overlap; y < bottomHeight; ++y)
        copyBottomRow(result.scanLine(topHeight + y - overlap), bottom.constScanLine(y), bottomBytes,
                      width, top.width());

    qDebug() << "joint 4";
    return result;
}

bool ImageJointer::append(QImage *buffer, int *first, int *rows, const QImage &bottomIn)
{
    m_failed = false;
    m_overlap = 0;
    if (bottomIn.isNull())
        return true;
    const QImage bottom = asRgb32(bottomIn);
    const int bottomHeight = bottom.height();

    if (*rows <= 0 || buffer->isNull()) {
        // The log reads as joint()'s does.
        qDebug() << "joint 1";
        // Nothing held yet: the buffer starts with bottom, room for as much
        // again; a buffer of that width and size already there is reused.
        if (buffer->isNull() || buffer->width() != bottom.width() || buffer->height() < 2 * bottomHeight
            || buffer->format() != QImage::Format_RGB32) {
            QImage fresh = LargeImage::create(bottom.width(), 2 * bottomHeight, QImage::Format_RGB32);
            if (fresh.isNull()) {
                qDebug() << "joint 3";
                m_failed = true;
                return false;
            }
            *buffer = fresh;
        }
        for (int y = 0; y < bottomHeight; ++y)
            std::memcpy(buffer->scanLine(y), bottom.constScanLine(y), size_t(bottom.bytesPerLine()));
        *first = 0;
        *rows = bottomHeight;
        return true;
    }

    const int fullWidth = buffer->width();
    const int bytesPerLine = buffer->bytesPerLine();
    int overlap = 0;
    {
        // The rows held, read in place.
        const QImage held(buffer->constBits() + qsizetype(*first) * bytesPerLine, fullWidth, *rows,
                          bytesPerLine, QImage::Format_RGB32);
        overlap = findOverlap(held, bottom);
    }
    qDebug() << "[joint 2] overlap:" << overlap;
    m_overlap = overlap;
    const int needed = *rows - overlap + bottomHeight;

    if (!makeRoom(buffer, first, *rows, needed))
        return false;

    const int topEnd = *first + *rows;   // one past the last held row
    const int width = std::min(fullWidth, bottom.width());
    const int bottomBytes = std::min(bottom.bytesPerLine(), bytesPerLine);
    for (int i = 0; i < overlap; ++i) {
        QRgb *row = reinterpret_cast<QRgb *>(buffer->scanLine(topEnd - overlap + i));
        blendRow(row, row, reinterpret_cast<const QRgb *>(bottom.constScanLine(i)), i, overlap, width,
                 fullWidth);
    }
    for (int y = overlap; y < bottomHeight; ++y)
        copyBottomRow(buffer->scanLine(topEnd + y - overlap), bottom.constScanLine(y), bottomBytes, width,
                      fullWidth);
    *rows = needed;
    qDebug() << "joint 4";
    return true;
}

bool ImageJointer::makeRoom(QImage *buffer, int *first, int rows, qint64 needed)
{
    const int bytesPerLine = buffer->bytesPerLine();
    if (needed * 2 > buffer->height()) {
        // Out of room. The new buffer has three times the rows needed: held
        // rows that grow a little with every join (cut lines that drift
        // against the pieces) replace it only after growing by half.
        const qint64 capacity = qMin<qint64>(needed * 3, std::numeric_limits<int>::max());
        QImage larger = capacity >= needed ? LargeImage::create(buffer->width(), int(capacity), QImage::Format_RGB32)
                                           : QImage();
        if (larger.isNull()) {
            qDebug() << "joint 3";
            m_failed = true;
            return false;
        }
        std::memcpy(larger.bits(), buffer->constBits() + qsizetype(*first) * bytesPerLine,
                    size_t(qsizetype(rows) * bytesPerLine));
        *buffer = larger;
        *first = 0;
    } else if (*first + needed > buffer->height()) {
        // Rows cut from the top have freed at least as many rows as are held.
        uchar *bits = buffer->bits();
        std::memmove(bits, bits + qsizetype(*first) * bytesPerLine, size_t(qsizetype(rows) * bytesPerLine));
        *first = 0;
    }
    return true;
}

QImage ImageJointer::reserve(QImage *buffer, int *first, int *rows, int width, int more)
{
    m_failed = false;
    if (width <= 0 || more <= 0)
        return QImage();
    if (*rows <= 0) {
        *first = 0;
        *rows = 0;
        // Held rows drift up to a piece beyond the one joined, and the
        // buffer needs twice the rows it holds: four pieces' rows spare
        // replacing (and first touching) a new buffer as the drift grows.
        const qint64 capacity = qint64(more) * 4;
        if (buffer->isNull() || buffer->width() != width || buffer->height() < capacity
            || buffer->format() != QImage::Format_RGB32) {
            *buffer = QImage();
            QImage fresh = LargeImage::create(width, int(qMin<qint64>(capacity, std::numeric_limits<int>::max())),
                                              QImage::Format_RGB32);
            if (fresh.isNull() || fresh.height() < more) {
                qDebug() << "joint 3";
                m_failed = true;
                return QImage();
            }
            *buffer = fresh;
        }
    } else {
        if (buffer->width() != width || buffer->format() != QImage::Format_RGB32)
            return QImage();
        if (!makeRoom(buffer, first, *rows, qint64(*rows) + more))
            return QImage();
    }
    return QImage(buffer->bits() + qsizetype(*first + *rows) * buffer->bytesPerLine(), width, more,
                  buffer->bytesPerLine(), QImage::Format_RGB32);
}

void ImageJointer::appendReserved(QImage *buffer, int *first, int *rows, int more)
{
    m_failed = false;
    m_overlap = 0;
    if (more <= 0)
        return;
    if (*rows <= 0) {
        qDebug() << "joint 1";
        *rows = more;
        return;
    }
    const int width = buffer->width();
    const int bytesPerLine = buffer->bytesPerLine();
    const int topEnd = *first + *rows;
    int overlap = 0;
    {
        const QImage held(buffer->constBits() + qsizetype(*first) * bytesPerLine, width, *rows, bytesPerLine,
                          QImage::Format_RGB32);
        const QImage bottom(buffer->constBits() + qsizetype(topEnd) * bytesPerLine, width, more, bytesPerLine,
                            QImage::Format_RGB32);
        overlap = findOverlap(held, bottom);
    }
    qDebug() << "[joint 2] overlap:" << overlap;
    m_overlap = overlap;
    if (overlap > 0) {
        uchar *bits = buffer->bits();
        for (int i = 0; i < overlap; ++i) {
            QRgb *row = reinterpret_cast<QRgb *>(bits + qsizetype(topEnd - overlap + i) * bytesPerLine);
            const QRgb *below = reinterpret_cast<const QRgb *>(bits + qsizetype(topEnd + i) * bytesPerLine);
            blendRow(row, row, below, i, overlap, width, width);
        }
        // The piece's rows below the merged ones move up to follow them.
        std::memmove(bits + qsizetype(topEnd) * bytesPerLine, bits + qsizetype(topEnd + overlap) * bytesPerLine,
                     size_t(qsizetype(more - overlap) * bytesPerLine));
    }
    *rows += more - overlap;
    qDebug() << "joint 4";
}
