#include "graphicspathitem.h"

#include "itemsupport.h"
#include "mode.h"

#include <QEvent>
#include <QGraphicsSceneMouseEvent>

GraphicsPathItem::GraphicsPathItem(const QPainterPath &path, QGraphicsItem *parent)
    : QGraphicsPathItem(parent)
{
    // The base constructor drops a path that holds only its start point.
    setPath(path);
    setPen(ItemSupport::stylePen());
    ItemSupport::makeInteractive(this);
}

QRectF GraphicsPathItem::boundingRect() const
{
    // Worked out from the path alone: building the hit shape for every
    // position of a long drag would slow drawing down. The hit stroke
    // reaches 10 units from the line (square caps 10 x sqrt 2) and the
    // circle at the last point 3 more; a wider pen paints beyond that.
    const QPainterPath p = path();
    const QPointF last = p.currentPosition();
    const QRectF extent = p.controlPointRect().normalized()
                          | QRectF(last.x() - 3.0, last.y() - 3.0, 6.0, 6.0);
    const qreal reach = 15.0;
    return extent.adjusted(-reach, -reach, reach, reach)
           | ItemSupport::paintedRect(p.controlPointRect(), pen());
}

QPainterPath GraphicsPathItem::shape() const
{
    if (m_shapeValid && m_shapePen == pen() && m_shapePath == path())
        return m_shape;
    m_shapePath = path();
    m_shapePen = pen();
    QPainterPath p = path();
    const QPointF last = p.currentPosition();
    if (p.isEmpty())
        p.lineTo(last);
    p.addEllipse(last, 3.0, 3.0);
    m_shape = ItemSupport::hitShape(p, pen());
    m_shapeValid = true;
    return m_shape;
}

bool GraphicsPathItem::sceneEvent(QEvent *event)
{
    if (currentMode != InsertPen) {
        QGraphicsPathItem::sceneEvent(event);
        return true;
    }
    return ItemSupport::dragSceneEvent(event, [this](const QPointF &p) {
        QPainterPath stroke = path();
        stroke.lineTo(mapFromScene(p));
        setPath(stroke);
    });
}

void GraphicsPathItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (!ItemSupport::pressOnSelected(this))
        QGraphicsPathItem::mousePressEvent(event);
}

void GraphicsPathItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    setFlag(QGraphicsItem::ItemIsMovable, false);
    QGraphicsPathItem::hoverLeaveEvent(event);
}
