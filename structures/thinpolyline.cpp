#include "thinpolyline.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The pixels, first … last, along one axis of a segment from lo to hi
// (lo < hi): those whose centre lies in [lo, hi), ties rounded up, clipped to
// 0 … size − 1. False when there are none.
bool span(double lo, double hi, int size, int &first, int &last)
{
    first = std::max(int(std::floor(lo + 0.5)), 0);
    last = std::min(int(std::floor(hi + 0.5)) - 1, size - 1);
    return first <= last;
}

// One segment, without the pixel of its farther end along its longer
// direction (the next segment draws it). Pixel (i, j) covers
// [i, i + 1) x [j, j + 1). As a painter's cosmetic pen: the segment is walked
// along its longer direction from its lower end, and sampled where it
// crosses a pixel's centre line when it rises across, at the pixel's edge
// when it falls.
template <typename Pixel>
void drawSegment(QImage &image, QPointF a, QPointF b, Pixel value)
{
    // Far outside the picture, or not a number: nothing to draw.
    const double limit = 1.0e6;
    if (!(std::abs(a.x()) < limit && std::abs(a.y()) < limit && std::abs(b.x()) < limit && std::abs(b.y()) < limit))
        return;
    const int width = image.width();
    const int height = image.height();
    uchar *const bits = image.bits();
    const qsizetype bytesPerLine = image.bytesPerLine();
    int first = 0;
    int last = -1;
    // Along the longer direction pixel by pixel, across it in 32.32 fixed
    // point (no conversion per pixel).
    constexpr double kOne = 4294967296.0;
    if (std::abs(b.y() - a.y()) > std::abs(b.x() - a.x())) {
        if (b.y() < a.y())
            std::swap(a, b);
        if (!span(a.y(), b.y(), height, first, last))
            return;
        const double slope = (b.x() - a.x()) / (b.y() - a.y());
        const double at = first + (slope > 0.0 ? 0.5 : 0.0);
        qint64 x = qint64(std::floor((a.x() + (at - a.y()) * slope) * kOne));
        const qint64 step = qint64(slope * kOne);
        uchar *line = bits + first * bytesPerLine;
        for (int row = first; row <= last; ++row, x += step, line += bytesPerLine) {
            const qint64 column = x >> 32;
            if (quint64(column) < quint64(width))
                reinterpret_cast<Pixel *>(line)[column] = value;
        }
    } else {
        if (b.x() < a.x())
            std::swap(a, b);
        if (!span(a.x(), b.x(), width, first, last))
            return;
        const double slope = (b.y() - a.y()) / (b.x() - a.x());
        const double at = first + (slope > 0.0 ? 0.5 : 0.0);
        qint64 y = qint64(std::floor((a.y() + (at - a.x()) * slope) * kOne));
        const qint64 step = qint64(slope * kOne);
        for (int column = first; column <= last; ++column, y += step) {
            const qint64 row = y >> 32;
            if (quint64(row) < quint64(height))
                reinterpret_cast<Pixel *>(bits + row * bytesPerLine)[column] = value;
        }
    }
}

} // namespace

void drawThinPolyline(QImage &image, const QPointF *points, int count, uint value)
{
    if (count < 2)
        return;
    if (image.depth() == 32) {
        for (int i = 1; i < count; ++i)
            drawSegment(image, points[i - 1], points[i], quint32(value));
    } else if (image.depth() == 8) {
        for (int i = 1; i < count; ++i)
            drawSegment(image, points[i - 1], points[i], quint8(value));
    }
}
