#include "wallcontrast.h"

#include "largeimage.h"
#include "sidebyside.h"

#include <QThread>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// The equalising table is made anew every this many rows.
constexpr int kRowsPerTable = 4;

// Pixels of a span worth a thread of their own when equalised.
constexpr qint64 kPixelsPerRun = qint64(1) << 20;

// Sampled luminance a thread keeps from one span to the next, at most.
constexpr size_t kKeptLumaBytes = size_t(4) << 20;

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

// Rows firstRow … lastRow of image equalised, then through tone when given.
QImage equalisePicture(const QImage &image, int windowRows, int firstRow, int lastRow, const uchar *tone)
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
    QImage out = equaliseSlidingWindow(lines, source.width(), windowRows, firstRow, lastRow, tone);
    if (!out.isNull() && source.format() == QImage::Format_ARGB32)
        out.reinterpretAsFormat(QImage::Format_ARGB32);
    return out;
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
    const bool toned = brightness != 0.0 || contrast != 1.0 || gamma != 1.0;
    uchar table[256];
    if (toned)
        toneTable(table);
    // The tone curve goes into the equalising tables, in the same pass.
    if (dynamicNormalisation)
        return equalisePicture(image, windowRows, 0, image.height() - 1, toned ? table : nullptr);
    QImage out = autoStretch ? stretchToPercentiles(image, clipPercent) : rgb32(image);
    if (toned)
        applyTable(out, table, 0, out.height() - 1);
    return out;
}

StretchLevels StretchLevels::blend(const StretchLevels &a, const StretchLevels &b, double t)
{
    return {a.low + (b.low - a.low) * t, a.high + (b.high - a.high) * t};
}

StretchLevels stretchLevels(const QImage &image, double clipPercent)
{
    if (image.isNull())
        return {};
    const QImage source = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        ? image
        : image.convertToFormat(QImage::Format_RGB32);
    std::array<qint64, 256> histogram{};
    for (int y = 0; y < source.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        for (int x = 0; x < source.width(); ++x)
            ++histogram[luma(line[x])];
    }
    const qint64 total = qint64(source.width()) * source.height();
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
        return {}; // one tone: nothing to stretch
    return {double(low), double(high)};
}

void stretchLine(const QRgb *from, QRgb *to, int width, const StretchLevels &levels)
{
    const double span = levels.high - levels.low;
    uchar table[256];
    for (int v = 0; v < 256; ++v)
        table[v] = span > 0.0 ? uchar(std::lround(std::clamp((v - levels.low) * 255.0 / span, 0.0, 255.0)))
                              : uchar(v);
    for (int x = 0; x < width; ++x) {
        const QRgb p = from[x];
        const int l = luma(p);
        const int n = table[l];
        const int dr = qRed(p) - l;
        const int dg = qGreen(p) - l;
        const int db = qBlue(p) - l;
        int r = n + dr;
        int g = n + dg;
        int b = n + db;
        if ((r | g | b) & ~0xff) {
            // Out of range: the differences shrink together, so the hue stays.
            double s = 1.0;
            for (int d : {dr, dg, db}) {
                if (d > 0)
                    s = std::min(s, double(255 - n) / d);
                else if (d < 0)
                    s = std::min(s, double(n) / -d);
            }
            r = std::clamp(int(std::lround(n + dr * s)), 0, 255);
            g = std::clamp(int(std::lround(n + dg * s)), 0, 255);
            b = std::clamp(int(std::lround(n + db * s)), 0, 255);
        }
        to[x] = qRgba(r, g, b, qAlpha(p));
    }
}

QImage stretchToPercentiles(const QImage &image, double clipPercent)
{
    if (image.isNull())
        return image;
    QImage out = rgb32(image);
    const StretchLevels levels = stretchLevels(out, clipPercent);
    if (levels.low == 0.0 && levels.high == 255.0)
        return out;
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        stretchLine(line, line, out.width(), levels);
    }
    return out;
}

QImage equaliseSlidingWindow(const QImage &image, int windowRows)
{
    return equaliseSlidingWindow(image, windowRows, 0, image.height() - 1);
}

QImage equaliseSlidingWindow(const QImage &image, int windowRows, int firstRow, int lastRow)
{
    return equalisePicture(image, windowRows, firstRow, lastRow, nullptr);
}

QImage equaliseSlidingWindow(const std::vector<const QRgb *> &lines, int width, int windowRows,
                             int firstRow, int lastRow, const uchar *tone)
{
    const int h = int(lines.size());
    firstRow = std::max(0, firstRow);
    lastRow = std::min(h - 1, lastRow);
    if (width <= 0 || lastRow < firstRow)
        return QImage();
    QImage out = LargeImage::create(width, lastRow - firstRow + 1, QImage::Format_RGB32);
    if (!out.isNull())
        equaliseSlidingWindowInto(out, lines, windowRows, firstRow, tone);
    return out;
}

void equaliseSlidingWindowInto(QImage &out, const std::vector<const QRgb *> &lines, int windowRows,
                               int firstRow, const uchar *tone, int threads)
{
    const int h = int(lines.size());
    const int w = out.width();
    const int lastRow = std::min(h - 1, firstRow + out.height() - 1);
    if (w <= 0 || firstRow < 0 || lastRow < firstRow || out.depth() != 32)
        return;
    const int half = std::max(1, windowRows) / 2;
    const int rows = lastRow - firstRow + 1;
    if (threads <= 0) {
        const qint64 pixels = qint64(rows) * w;
        threads = int(std::min<qint64>(std::max(1, QThread::idealThreadCount()), pixels / kPixelsPerRun));
    }
    // Runs of whole tables, at least one table each.
    threads = std::clamp(threads, 1, std::max(1, rows / kRowsPerTable));

    // The histogram counts every step-th pixel of a row, some 256 a row:
    // plenty for a window of many rows, and it keeps the cost of a row
    // entering and leaving the window small against mapping its pixels.
    const int step = std::max(1, w / 256);
    const int samples = (w + step - 1) / step;

    // Rows the windows reach: their sampled luminance is computed once, since
    // each row enters the window once and leaves it once. The buffer stays
    // with the thread for the next span when it is not large.
    const int reachTop = std::max(0, firstRow - half - kRowsPerTable);
    const int reachBottom = std::min(h - 1, lastRow + half + kRowsPerTable);
    const size_t lumaBytes = size_t(reachBottom - reachTop + 1) * size_t(samples);
    static thread_local std::vector<uchar> keptLumas;
    std::vector<uchar> ownLumas;
    std::vector<uchar> &lumaBuffer = lumaBytes <= kKeptLumaBytes ? keptLumas : ownLumas;
    if (lumaBuffer.size() < lumaBytes)
        lumaBuffer.resize(lumaBytes);
    uchar *const lumas = lumaBuffer.data();
    const int reach = reachBottom - reachTop + 1;
    sideBySide(threads, [&](int run) {
        const int to = reachTop + int(qint64(reach) * (run + 1) / threads);
        for (int y = reachTop + int(qint64(reach) * run / threads); y < to; ++y) {
            const QRgb *line = lines[size_t(y)];
            uchar *l = lumas + size_t(y - reachTop) * size_t(samples);
            for (int x = 0, i = 0; x < w; x += step, ++i)
                l[i] = uchar(luma(line[x]));
        }
    });

    uchar *const bits = out.bits();
    const qsizetype bytesPerLine = out.bytesPerLine();
    // Rows from … to into their lines of out. The table grid is fixed to the
    // picture's first row and each run fills its own window, so a span cut
    // into runs comes out as it does in one.
    auto equaliseRows = [&](int from, int to) {
        // The window's histogram is kept up to date as it slides; the table
        // is made anew every few rows, which is invisible on the picture.
        std::array<qint64, 256> histogram{};
        auto addRow = [&](int y, int sign) {
            const uchar *l = lumas + size_t(y - reachTop) * size_t(samples);
            for (int i = 0; i < samples; ++i)
                histogram[l[i]] += sign;
        };
        int top = 0;     // first row in the window
        int bottom = -1; // last row in the window
        bool empty = true;
        uchar table[256];
        quint32 red[256];
        quint32 green[256];
        for (int y = from - from % kRowsPerTable; y <= to; y += kRowsPerTable) {
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
            if (tone) {
                for (int v = 0; v < 256; ++v)
                    table[v] = tone[table[v]];
            }
            // The table spread over the channels' places in a pixel, so that
            // a pixel is mapped by three look-ups and two ors.
            for (int v = 0; v < 256; ++v) {
                red[v] = quint32(table[v]) << 16;
                green[v] = quint32(table[v]) << 8;
            }
            const int last = std::min(to, y + kRowsPerTable - 1);
            for (int r = std::max(y, from); r <= last; ++r) {
                const QRgb *source = lines[size_t(r)];
                auto *line = reinterpret_cast<QRgb *>(bits + qsizetype(r - firstRow) * bytesPerLine);
                for (int x = 0; x < w; ++x) {
                    const QRgb p = source[x];
                    line[x] = (p & 0xff000000u) | red[(p >> 16) & 0xff] | green[(p >> 8) & 0xff] | table[p & 0xff];
                }
            }
        }
    };
    const int blocks = (rows + kRowsPerTable - 1) / kRowsPerTable;
    auto runStart = [&](int run) { return firstRow + int(qint64(blocks) * run / threads) * kRowsPerTable; };
    sideBySide(threads, [&](int run) {
        equaliseRows(runStart(run), run + 1 < threads ? runStart(run + 1) - 1 : lastRow);
    });
}
