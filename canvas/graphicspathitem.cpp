#include "graphicspathitem.h"

#include "graphicslineitem.h"
#include "itemstyle.h"
#include "mode.h"

#include <QEvent>
#include <QGraphicsSceneMouseEvent>

GraphicsPathItem::GraphicsPathItem(const QPainterPath &path, QGraphicsItem *parent)
    : QGraphicsPathItem(parent)
{
    // The base constructor drops a path that holds only its start point.
    setPath(path);
    ItemStyle *style = ItemStyle::instance();
    setPen(QPen(QBrush(style->color()), style->lineWidth(), Qt::SolidLine, Qt::SquareCap,
                Qt::BevelJoin));
    setAcceptHoverEvents(true);
    setFlag(QGraphicsItem::ItemIsSelectable, true);
    setFlag(QGraphicsItem::ItemIsMovable, false);
}

QRectF GraphicsPathItem::boundingRect() const
{
    // The hit area is 20 units wide whatever the pen; a wider pen paints
    // beyond it.
    return QGraphicsPathItem::boundingRect()
        | GraphicsLineItem::paintedRect(path().controlPointRect(), pen());
}

QPainterPath GraphicsPathItem::shape() const
{
    QPainterPath p = path();
    const QPointF last = p.currentPosition();
    if (p.isEmpty())
        p.lineTo(last);
    p.addEllipse(last, 3.0, 3.0);
    return GraphicsLineItem::shapeFromPath(p, pen());
}

bool GraphicsPathItem::sceneEvent(QEvent *event)
{
    if (currentMode != InsertPen) {
        QGraphicsPathItem::sceneEvent(event);
        return true;
    }
    switch (event->type()) {
    case QEvent::GraphicsSceneMousePress:
        ItemStyle::instance()->setDrawing(true);
        return true;
    case QEvent::GraphicsSceneMouseMove: {
        auto *me = static_cast<QGraphicsSceneMouseEvent *>(event);
        QPainterPath p = path();
        p.lineTo(mapFromScene(me->scenePos()));
        setPath(p);
        return true;
    }
    case QEvent::GraphicsSceneMouseRelease:
        ItemStyle::instance()->setDrawing(false);
        return true;
    default:
        return false;
    }
}

void GraphicsPathItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (isSelected()) {
        setFlag(QGraphicsItem::ItemIsMovable, true);
        return;
    }
    QGraphicsPathItem::mousePressEvent(event);
}

void GraphicsPathItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    setFlag(QGraphicsItem::ItemIsMovable, false);
    QGraphicsPathItem::hoverLeaveEvent(event);
}
