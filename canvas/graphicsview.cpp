#include "graphicsview.h"

#include "itemstyle.h"
#include "mode.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtMath>

GraphicsView::GraphicsView(QWidget *parent)
    : QGraphicsView(parent)
{
    setDragMode(QGraphicsView::ScrollHandDrag);
    setAttribute(Qt::WA_MouseTracking, true);
    scale(0.23, 0.23);
}

void GraphicsView::handleItemInserted(QGraphicsItem *item)
{
    Q_UNUSED(item)
    setDragMode(QGraphicsView::ScrollHandDrag);
}

void GraphicsView::handleCancelInsertItem()
{
    setDragMode(QGraphicsView::ScrollHandDrag);
}

void GraphicsView::mouseMoveEvent(QMouseEvent *event)
{
    // In Pointer mode a drag on empty canvas scrolls; in a tool mode it goes
    // to the scene and the item under construction.
    setDragMode(currentMode == Pointer ? QGraphicsView::ScrollHandDrag : QGraphicsView::NoDrag);
    emit mouseMoved(event);
    QGraphicsView::mouseMoveEvent(event);
}

void GraphicsView::wheelEvent(QWheelEvent *event)
{
    // One notch (120) zooms by 1.125, backwards by 1/1.125. The wheel never
    // scrolls.
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    const double f = qPow(1.125, 0.125 * delta / 15.0);
    m_zoomFactor = f;
    ItemStyle *style = ItemStyle::instance();
    style->setZoom(style->zoom() * f);

    // Zoom about the cursor: the wall point under it stays under it (as far
    // as the page's edges allow).
    const QPointF cursor = event->position();
    const QPointF anchor = mapToScene(cursor.toPoint());
    scale(f, f);
    const QPointF moved = QPointF(mapFromScene(anchor)) - cursor;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + qRound(moved.x()));
    verticalScrollBar()->setValue(verticalScrollBar()->value() + qRound(moved.y()));
    event->accept();
}
