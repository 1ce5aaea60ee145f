#include "pageassembler.h"

#include "graphicsleftscaleitem.h"
#include "graphicstopscaleitem.h"
#include "pagerenderer.h"
#include "piececropper.h"
#include "projectinfo.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QImage>
#include <QPixmap>

namespace {
constexpr int kColumnLeft = PageRenderer::kColumnLeft;
constexpr int kColumnTop = PageRenderer::kHeaderHeight;
} // namespace

PageAssembler::PageAssembler(QGraphicsScene *scene, ProjectInfo *info)
    : m_scene(scene)
    , m_info(info)
{
}

double PageAssembler::maxPageDepth(int imageWidth, double pixelsPerUnit)
{
    if (imageWidth <= 0 || !(pixelsPerUnit > 0.0))
        return 0.0;
    const int rows = 1073741824 / (imageWidth * 4);
    const int metres = int(rows / pixelsPerUnit / 10000);
    return double(metres) * 10000;
}

void PageAssembler::startRead(int start, int end)
{
    m_readStart = start;
    m_readEnd = end;
    m_first = true;
}

void PageAssembler::addScales()
{
    m_info->setPageHeight(0);
    m_leftScale = new GraphicsLeftScaleItem;
    m_leftScale->setZValue(1000);
    m_leftScale->setStartDepth(m_info->start());
    m_topScale = new GraphicsTopScaleItem(QLineF(0, 0, 0, 0));
    m_topScale->setZValue(1000);
    m_scene->addItem(m_leftScale);
    m_scene->addItem(m_topScale);
}

void PageAssembler::forgetScales()
{
    m_leftScale = nullptr;
    m_topScale = nullptr;
}

void PageAssembler::forget(const QGraphicsItem *item)
{
    if (item == m_topScale)
        m_topScale = nullptr;
    if (item == m_leftScale)
        m_leftScale = nullptr;
}

QGraphicsPixmapItem *PageAssembler::add(KdImage image, double pixelsPerUnit, QImage *scaled)
{
    if (!hasScales())
        addScales();
    const bool first = m_first;
    m_first = false;
    image = PieceCropper::fitToPage(image, m_readStart, m_readEnd, pixelsPerUnit, first);
    const QImage picture = image.image();

    QGraphicsPixmapItem *item = nullptr;
    const int h = int((image.endDepth() - image.startDepth()) * pixelsPerUnit);
    const int width = picture.isNull() ? m_info->imageWidth() : picture.width();
    if (h > 0) {
        if (!picture.isNull()) {
            *scaled = picture.scaled(picture.width(), h, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            item = m_scene->addPixmap(QPixmap());
            item->setOffset(kColumnLeft, m_info->pageHeight() + kColumnTop);
        }
        m_info->setPageHeight(m_info->pageHeight() + h);
    }

    m_scene->setSceneRect(0, 0, width + 2 * kColumnLeft, m_info->pageHeight() + 2 * kColumnTop);
    m_info->setPageEnd(image.endDepth());

    m_leftScale->setLine(kColumnLeft, kColumnTop, kColumnLeft, m_scene->sceneRect().height() - kColumnTop);
    if (m_topScale->line().length() == 0.0)
        m_topScale->setLine(kColumnLeft, kColumnTop, kColumnLeft + m_info->imageWidth(), kColumnTop);
    if (!m_leftScale->isInitialized()) {
        m_leftScale->setStartDepth(image.startDepth());
        m_leftScale->setInitialized(true);
    }
    // An empty depth range would give the scale an infinite spacing.
    if (image.endDepth() != m_leftScale->startDepth())
        m_leftScale->setEndDepth(image.endDepth());
    return item;
}
