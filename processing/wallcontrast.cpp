#include "wallcontrast.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// The equalising table is made anew every this many rows.
constexpr int kRowsPerTable = 4;

inline int luma(QRgb p)
{
    // Rec. 601 weights in integers (sum 256).
    return (77 * qRed(p) + 150 * qGreen(p) + 29 * qBlue(p)) >> 8;
}

QImage rgb32(const QImage &image)
{
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32)
        return image.copy();
    return image.convertToFormat(QImage::Format_RGB32);
}

inline void mapLine(const QRgb *from, QRgb *to, int width, const uchar table[256])
{
    for (int x = 0; x < width; ++x) {
        const QRgb p = from[x];
        to[x] = qRgba(table[qRed(p)], table[qGreen(p)], table[qBlue(p)], qAlpha(p));
    }
}

void applyTable(QImage &image, const uchar table[256], int firstRow, int lastRow)
{
    const int width = image.width();
    for (int y = firstRow; y <= lastRow; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        mapLine(line, line, width, table);
    }
}

// Maps a cumulative histogram to a table that spreads the tones evenly.
void equalisingTable(const std::array<qint64, 256> &histogram, qint64 total, uchar table[256])
{
    qint64 below = 0;
    qint64 first = 0;
    for (int v = 0; v < 256; ++v) {
        if (histogram[v]) {
            first = histogram[v];
            break;
        }
    }
    const qint64 span = total - first;
    for (int v = 0; v < 256; ++v) {
        below += histogram[v];
        if (span <= 0)
            table[v] = uchar(v); // one tone only: leave it
        else
            table[v] = uchar(std::clamp<qint64>((below - first) * 255 / span, 0, 255));
    }
}

} // namespace

bool WallContrast::isIdentity() const
{
    return brightness == 0.0 && contrast == 1.0 && gamma == 1.0 && !autoStretch
           && !dynamicNormalisation;
}

bool WallContrast::operator==(const WallContrast &o) const
{
    return brightness == o.brightness && contrast == o.contrast && gamma == o.gamma
           && autoStretch == o.autoStretch && clipPercent == o.clipPercent
           && dynamicNormalisation == o.dynamicNormalisation && windowRows == o.windowRows;
}

void WallContrast::toneTable(uchar table[256]) const
{
    const double g = gamma > 0.0 && std::isfinite(gamma) ? gamma : 1.0;
    const double c = std::isfinite(contrast) ? std::max(0.0, contrast) : 1.0;
    const double b = std::isfinite(brightness) ? brightness : 0.0;
    for (int v = 0; v < 256; ++v) {
        double t = std::pow(v / 255.0, 1.0 / g);
        t = (t - 0.5) * c + 0.5 + b;
        table[v] = uchar(std::lround(std::clamp(t, 0.0, 1.0) * 255.0));
    }
}

QImage WallContrast::apply(const QImage &image) const
{
    if (image.isNull() || isIdentity())
        return image;
    QImage out = image;
    if (dynamicNormalisation)
        out = equaliseSlidingWindow(out, windowRows);
    else if (autoStretch)
        out = stretchToPercentiles(out, clipPercent);
    if (brightness != 0.0 || contrast != 1.0 || gamma != 1.0) {
        out = rgb32(out);
        uchar table[256];
        toneTable(table);
        applyTable(out, table, 0, out.height() - 1);
    }
    return out;
}

QImage stretchToPercentiles(const QImage &image, double clipPercent)
{
    if (image.isNull())
        return image;
    QImage out = rgb32(image);
    std::array<qint64, 256> histogram{};
    for (int y = 0; y < out.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(out.constScanLine(y));
        for (int x = 0; x < out.width(); ++x)
            ++histogram[luma(line[x])];
    }
    const qint64 total = qint64(out.width()) * out.height();
    const double clip = std::clamp(std::isfinite(clipPercent) ? clipPercent : 0.0, 0.0, 49.0);
    const qint64 cut = qint64(total * clip / 100.0);
    int low = 0;
    int high = 255;
    for (qint64 seen = 0; low < 255; ++low) {
        seen += histogram[low];
        if (seen > cut)
            break;
    }
    for (qint64 seen = 0; high > 0; --high) {
        seen += histogram[high];
        if (seen > cut)
            break;
    }
    if (high <= low)
        return out; // one tone: nothing to stretch
    uchar table[256];
    for (int v = 0; v < 256; ++v)
        table[v] = uchar(std::clamp((v - low) * 255 / (high - low), 0, 255));
    applyTable(out, table, 0, out.height() - 1);
    return out;
}

QImage equaliseSlidingWindow(const QImage &image, int windowRows)
{
    return equaliseSlidingWindow(image, windowRows, 0, image.height() - 1);
}

QImage equaliseSlidingWindow(const QImage &image, int windowRows, int firstRow, int lastRow)
{
    if (image.isNull())
        return image;
    // Only read: no copy of a picture that is already 32-bit.
    const QImage source = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        ? image
        : image.convertToFormat(QImage::Format_RGB32);
    std::vector<const QRgb *> lines(size_t(source.height()));
    for (int y = 0; y < source.height(); ++y)
        lines[size_t(y)] = reinterpret_cast<const QRgb *>(source.constScanLine(y));
    QImage out = equaliseSlidingWindow(lines, source.width(), windowRows, firstRow, lastRow);
    if (!out.isNull() && source.format() == QImage::Format_ARGB32)
        out.reinterpretAsFormat(QImage::Format_ARGB32);
    return out;
}

QImage equaliseSlidingWindow(const std::vector<const QRgb *> &lines, int width, int windowRows,
                             int firstRow, int lastRow)
{
    const int h = int(lines.size());
    const int w = width;
    firstRow = std::max(0, firstRow);
    lastRow = std::min(h - 1, lastRow);
    if (w <= 0 || lastRow < firstRow)
        return QImage();
    const int half = std::max(1, windowRows) / 2;

    // The histogram counts every step-th pixel of a row, some 256 a row:
    // plenty for a window of many rows, and it keeps the cost of a row
    // entering and leaving the window small against mapping its pixels.
    const int step = std::max(1, w / 256);
    const int samples = (w + step - 1) / step;

    // Rows the windows reach: their sampled luminance is computed once, since
    // each row enters the window once and leaves it once.
    const int reachTop = std::max(0, firstRow - half - kRowsPerTable);
    const int reachBottom = std::min(h - 1, lastRow + half + kRowsPerTable);
    std::vector<uchar> lumas(size_t(reachBottom - reachTop + 1) * size_t(samples));
    for (int y = reachTop; y <= reachBottom; ++y) {
        const QRgb *line = lines[size_t(y)];
        uchar *l = lumas.data() + size_t(y - reachTop) * size_t(samples);
        for (int x = 0, i = 0; x < w; x += step, ++i)
            l[i] = uchar(luma(line[x]));
    }

    QImage out(w, lastRow - firstRow + 1, QImage::Format_RGB32);
    if (out.isNull())
        return out;

    // The window's histogram is kept up to date as it slides; the table is
    // made anew every few rows (on a grid fixed to the picture's first row),
    // which is invisible on the picture.
    std::array<qint64, 256> histogram{};
    auto addRow = [&](int y, int sign) {
        const uchar *l = lumas.data() + size_t(y - reachTop) * size_t(samples);
        for (int i = 0; i < samples; ++i)
            histogram[l[i]] += sign;
    };
    int top = 0;     // first row in the window
    int bottom = -1; // last row in the window
    bool empty = true;
    uchar table[256];
    quint32 red[256];
    quint32 green[256];
    for (int y = firstRow - firstRow % kRowsPerTable; y <= lastRow; y += kRowsPerTable) {
        const int centre = std::min(h - 1, y + kRowsPerTable / 2);
        const int wantTop = std::max(0, centre - half);
        const int wantBottom = std::min(h - 1, centre + half);
        if (empty) {
            top = wantTop;
            bottom = wantTop - 1;
            empty = false;
        }
        while (bottom < wantBottom)
            addRow(++bottom, +1);
        while (top < wantTop)
            addRow(top++, -1);
        equalisingTable(histogram, qint64(bottom - top + 1) * samples, table);
        // The table spread over the channels' places in a pixel, so that a
        // pixel is mapped by three look-ups and two ors.
        for (int v = 0; v < 256; ++v) {
            red[v] = quint32(table[v]) << 16;
            green[v] = quint32(table[v]) << 8;
        }
        const int to = std::min(lastRow, y + kRowsPerTable - 1);
        for (int r = std::max(y, firstRow); r <= to; ++r) {
            const QRgb *from = lines[size_t(r)];
            auto *line = reinterpret_cast<QRgb *>(out.scanLine(r - firstRow));
            for (int x = 0; x < w; ++x) {
                const QRgb p = from[x];
                line[x] = (p & 0xff000000u) | red[(p >> 16) & 0xff] | green[(p >> 8) & 0xff] | table[p & 0xff];
            }
        }
    }
    return out;
}
