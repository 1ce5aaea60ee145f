#include "contrastcontroller.h"

#include "globals.h"

#include <QApplication>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Item data key under which a piece keeps the picture it was read as.
constexpr int kOriginalKey = 0x4b43; // "KC"
// Item data key of a piece's stretch levels: clip percent, low, high.
constexpr int kLevelsKey = 0x4b4c; // "KL"

// Rows the equalising table of one row reaches beyond half the window.
constexpr int kTableRows = 4;

QImage asRgb32(const QImage &image)
{
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32)
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

// Rows first … last of image (shared, not copied, when that is all of it).
QImage rowsOf(const QImage &image, int first, int last)
{
    if (first == 0 && last == image.height() - 1)
        return image;
    return image.copy(0, first, image.width(), last - first + 1);
}

} // namespace

ContrastController::ContrastController(QGraphicsScene *scene, QObject *parent)
    : QObject(parent)
    , m_scene(scene)
{
}

int ContrastController::windowRows() const
{
    const double rows = m_windowMetres * 10000.0 * pixelsPerUnit;
    if (!std::isfinite(rows) || rows < 2.0)
        return pixelsPerUnit > 0.0 ? 2 : m_contrast.windowRows;
    return int(std::min(rows, 1.0e7));
}

WallContrast ContrastController::effective() const
{
    WallContrast c = m_contrast;
    c.windowRows = windowRows();
    return c;
}

std::function<QImage(const QImage &, double)> ContrastController::pictureFilter() const
{
    if (m_contrast.isIdentity())
        return {};
    const WallContrast contrast = m_contrast;
    const double windowMetres = m_windowMetres;
    return [contrast, windowMetres](const QImage &picture, double metres) {
        WallContrast c = contrast;
        if (c.dynamicNormalisation && metres > 0.0 && std::isfinite(metres)) {
            const double rows = windowMetres * picture.height() / metres;
            c.windowRows = std::isfinite(rows) ? int(std::clamp(rows, 2.0, 1.0e7)) : 2;
        }
        return c.apply(picture);
    };
}

QImage ContrastController::originalOf(const QGraphicsPixmapItem *item)
{
    return item ? item->data(kOriginalKey).value<QImage>() : QImage();
}

QList<QGraphicsPixmapItem *> ContrastController::pieces() const
{
    QList<QGraphicsPixmapItem *> list;
    if (!m_scene)
        return list;
    for (QGraphicsItem *item : m_scene->items()) {
        if (item->type() == QGraphicsPixmapItem::Type && item->data(kOriginalKey).isValid())
            list << static_cast<QGraphicsPixmapItem *>(item);
    }
    std::sort(list.begin(), list.end(), [](QGraphicsPixmapItem *a, QGraphicsPixmapItem *b) {
        return a->offset().y() < b->offset().y();
    });
    return list;
}

QImage ContrastController::render(const QList<QGraphicsPixmapItem *> &list, int index,
                                  int firstRow, int lastRow) const
{
    const WallContrast c = effective();
    const QImage original = originalOf(list.at(index));
    // Brightness, contrast and gamma on top of the rest.
    WallContrast tone = c;
    tone.autoStretch = false;
    tone.dynamicNormalisation = false;
    if (c.dynamicNormalisation) {
        // The rows of the piece with as many rows of its neighbours as the
        // window reaches, read in place.
        const int reach = c.windowRows / 2 + kTableRows;
        std::vector<const QRgb *> lines;
        lines.reserve(size_t(original.height() + 2 * reach));
        auto rowsFrom = [&lines](const QImage &image, int first, int count) {
            for (int r = 0; r < count; ++r)
                lines.push_back(reinterpret_cast<const QRgb *>(image.constScanLine(first + r)));
        };
        struct Rows
        {
            QImage image;
            int first;
            int count;
        };
        QList<Rows> above;
        int aboveRows = 0;
        for (int i = index - 1; i >= 0 && aboveRows < reach; --i) {
            const QImage o = originalOf(list.at(i));
            if (o.width() != original.width() || o.format() != original.format())
                break;
            const int take = std::min(o.height(), reach - aboveRows);
            above.prepend({o, o.height() - take, take});
            aboveRows += take;
        }
        for (const Rows &part : qAsConst(above))
            rowsFrom(part.image, part.first, part.count);
        rowsFrom(original, 0, original.height());
        int belowRows = 0;
        for (int i = index + 1; i < list.size() && belowRows < reach; ++i) {
            const QImage o = originalOf(list.at(i));
            if (o.width() != original.width() || o.format() != original.format())
                break;
            const int take = std::min(o.height(), reach - belowRows);
            rowsFrom(o, 0, take);
            belowRows += take;
        }
        // The originals stay alive on their items while lines is in use.
        // The tone curve goes into the equalising tables.
        uchar table[256];
        if (!tone.isIdentity())
            tone.toneTable(table);
        return equaliseSlidingWindow(lines, original.width(), c.windowRows, aboveRows + firstRow,
                                     aboveRows + lastRow, tone.isIdentity() ? nullptr : table);
    }
    if (c.autoStretch)
        return tone.apply(stretchRows(list, index, firstRow, lastRow));
    return tone.apply(rowsOf(original, firstRow, lastRow));
}

StretchLevels ContrastController::levelsOf(QGraphicsPixmapItem *item) const
{
    const QVariantList kept = item->data(kLevelsKey).toList();
    if (kept.size() == 3 && kept.at(0).toDouble() == m_contrast.clipPercent)
        return {kept.at(1).toDouble(), kept.at(2).toDouble()};
    const StretchLevels levels = stretchLevels(originalOf(item), m_contrast.clipPercent);
    item->setData(kLevelsKey, QVariantList{m_contrast.clipPercent, levels.low, levels.high});
    return levels;
}

QImage ContrastController::stretchRows(const QList<QGraphicsPixmapItem *> &list, int index, int firstRow,
                                       int lastRow) const
{
    // A piece's own levels hold at its middle row; between the middles of
    // two neighbours the levels pass over from one to the other, so the
    // stretch changes as smoothly across a joint as within a piece.
    const QImage original = originalOf(list.at(index));
    const int h = original.height();
    const StretchLevels own = levelsOf(list.at(index));
    const double middle = (h - 1) / 2.0;
    auto neighbour = [&](int i, StretchLevels *levels, double *at) {
        if (i < 0 || i >= list.size())
            return false;
        const QImage o = originalOf(list.at(i));
        if (o.width() != original.width() || o.height() <= 0)
            return false;
        *levels = levelsOf(list.at(i));
        *at = i < index ? -o.height() + (o.height() - 1) / 2.0 : h + (o.height() - 1) / 2.0;
        return true;
    };
    StretchLevels above, below;
    double aboveAt = 0.0, belowAt = 0.0;
    const bool hasAbove = neighbour(index - 1, &above, &aboveAt);
    const bool hasBelow = neighbour(index + 1, &below, &belowAt);
    QImage out(original.width(), lastRow - firstRow + 1, QImage::Format_RGB32);
    if (out.isNull())
        return out;
    for (int r = firstRow; r <= lastRow; ++r) {
        StretchLevels levels = own;
        if (r < middle && hasAbove)
            levels = StretchLevels::blend(above, own, (r - aboveAt) / (middle - aboveAt));
        else if (r > middle && hasBelow)
            levels = StretchLevels::blend(own, below, (r - middle) / (belowAt - middle));
        stretchLine(reinterpret_cast<const QRgb *>(original.constScanLine(r)),
                    reinterpret_cast<QRgb *>(out.scanLine(r - firstRow)), original.width(), levels);
    }
    return out;
}

void ContrastController::pieceAdded(QGraphicsPixmapItem *item, const QImage &original)
{
    if (!item || original.isNull())
        return;
    const QImage kept = asRgb32(original);
    item->setData(kOriginalKey, kept);
    const QList<QGraphicsPixmapItem *> list = pieces();
    const int index = list.indexOf(item);
    if (m_contrast.isIdentity() || index < 0) {
        item->setPixmap(QPixmap::fromImage(kept));
        return;
    }
    item->setPixmap(QPixmap::fromImage(render(list, index, 0, kept.height() - 1)));
    if (!m_contrast.dynamicNormalisation && !m_contrast.autoStretch)
        return;
    // The windows of the last rows above now reach into this piece; the
    // stretch of the lower half of the piece above passes over to this one.
    int reach = m_contrast.dynamicNormalisation ? windowRows() / 2 + kTableRows
                                                : (index > 0 ? originalOf(list.at(index - 1)).height() / 2 + 1 : 0);
    for (int i = index - 1; i >= 0 && reach > 0; --i) {
        QGraphicsPixmapItem *above = list.at(i);
        const QImage o = originalOf(above);
        const int first = std::max(0, o.height() - reach);
        QPixmap shown = above->pixmap();
        if (shown.size() != o.size() || first == 0) {
            above->setPixmap(QPixmap::fromImage(render(list, i, 0, o.height() - 1)));
        } else {
            // Painted over in place: the item lets go of its pixmap first, so
            // that the picture is not copied.
            above->setPixmap(QPixmap());
            QPainter painter(&shown);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(0, first, render(list, i, first, o.height() - 1));
            painter.end();
            above->setPixmap(shown);
        }
        reach -= o.height();
    }
}

void ContrastController::setContrast(const WallContrast &contrast)
{
    setSetting(contrast, m_windowMetres);
}

void ContrastController::setWindowMetres(double metres)
{
    setSetting(m_contrast, metres);
}

void ContrastController::setSetting(const WallContrast &contrast, double windowMetres)
{
    if (!std::isfinite(windowMetres) || windowMetres <= 0.0)
        windowMetres = m_windowMetres;
    const bool windowChanged = windowMetres != m_windowMetres;
    if (contrast == m_contrast && !windowChanged)
        return;
    const bool redo = contrast != m_contrast || contrast.dynamicNormalisation;
    m_contrast = contrast;
    m_windowMetres = windowMetres;
    if (redo)
        reapply();
    emit contrastChanged();
}

void ContrastController::reapply()
{
    const QList<QGraphicsPixmapItem *> list = pieces();
    if (list.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (int i = 0; i < list.size(); ++i) {
        const QImage o = originalOf(list.at(i));
        list.at(i)->setPixmap(m_contrast.isIdentity()
                                  ? QPixmap::fromImage(o)
                                  : QPixmap::fromImage(render(list, i, 0, o.height() - 1)));
    }
    QApplication::restoreOverrideCursor();
}
