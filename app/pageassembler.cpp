#include "pageassembler.h"

#include "depthmodel.h"
#include "graphicsleftscaleitem.h"
#include "graphicstopscaleitem.h"
#include "pagerenderer.h"
#include "projectinfo.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QImage>
#include <QPixmap>
#include <algorithm>

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
    m_first = false;
    // The depth model places the piece's rows: the column starts at the page
    // start (or the project start below it) and shows the part of the piece
    // on the page, so that no row is shown on two pages, at the page's scale
    // and across the project's image width.
    const DepthModel model(m_info->start(), pixelsPerUnit, m_info->imageWidth());
    const int top = std::max(m_readStart, model.projectStart());
    const int end = std::min(image.endDepth(), m_readEnd);
    if (end <= top)
        return nullptr;
    int row = 0;
    *scaled = model.pagePart(image, top, m_readEnd, &row);
    QGraphicsPixmapItem *item = nullptr;
    if (!scaled->isNull()) {
        item = m_scene->addPixmap(QPixmap());
        item->setOffset(kColumnLeft, row + kColumnTop);
    }
    m_info->setPageHeight(std::max(m_info->pageHeight(), model.pageRow(top, end)));
    image = KdImage(std::max(top, image.startDepth()), end, *scaled);
    m_scene->setSceneRect(0, 0, model.imageWidth() + 2 * kColumnLeft, m_info->pageHeight() + 2 * kColumnTop);
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
