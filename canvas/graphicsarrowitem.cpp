#include "graphicsarrowitem.h"

#include "itemsupport.h"
#include "mode.h"

#include <QEvent>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <cmath>

GraphicsArrowItem::GraphicsArrowItem(const QLineF &line, QGraphicsItem *parent)
    : QGraphicsLineItem(line, parent)
{
    setPen(ItemSupport::stylePen());
    ItemSupport::makeInteractive(this);
}

QPolygonF GraphicsArrowItem::head(double barbLength) const
{
    const QLineF l = line();
    const QPointF p2 = l.p2();
    const double theta = l.angle() * 3.14 / 180.0;
    const double delta = 0.17444444444444446; // 10 degrees
    const QPointF left(p2.x() - barbLength * std::cos(theta - delta),
                       p2.y() + barbLength * std::sin(theta - delta));
    const QPointF right(p2.x() - barbLength * std::cos(theta + delta),
                        p2.y() + barbLength * std::sin(theta + delta));
    QPolygonF polyline;
    polyline << left << p2 << right;
    return polyline;
}

QPainterPath GraphicsArrowItem::hitPath() const
{
    const QLineF l = line();
    QPainterPath path;
    if (ItemSupport::isNullLine(l))
        return path;
    const QPolygonF h = head(100.0);
    path.moveTo(l.p1());
    path.lineTo(l.p2());
    path.lineTo(h.at(0));
    path.lineTo(l.p2());
    path.lineTo(h.at(2));
    return path;
}

QRectF GraphicsArrowItem::boundingRect() const
{
    // The bounds of the hit shape, taken from its stroke alone (which covers
    // the shaft and barbs) so that repainting does not unite paths.
    const QPainterPath path = hitPath();
    const QRectF r = path.isEmpty() ? QRectF()
                                    : ItemSupport::hitStroke(path, pen()).controlPointRect();
    const QRectF grown(r.x() - 10.0, r.y() - 10.0, int(r.width() + 20.0), int(r.height() + 20.0));
    // A pen wider than the hit stroke paints beyond it.
    QPolygonF painted = head(70.0);
    painted << line().p1();
    return grown | ItemSupport::paintedRect(painted.boundingRect(), pen());
}

QPainterPath GraphicsArrowItem::shape() const
{
    const QPainterPath path = hitPath();
    return path.isEmpty() ? path : ItemSupport::hitShape(path, pen());
}

void GraphicsArrowItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                              QWidget *widget)
{
    Q_UNUSED(widget);
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen((option->state & QStyle::State_Selected)
                        ? ItemSupport::selectedPen(pen()) : pen());
    painter->drawLine(line());
    painter->drawPolyline(head(70.0));
}

bool GraphicsArrowItem::sceneEvent(QEvent *event)
{
    if (currentMode != InsertArrow) {
        QGraphicsLineItem::sceneEvent(event);
        return true;
    }
    return ItemSupport::dragSceneEvent(event, [this](const QPointF &p) {
        setLine(QLineF(line().p1(), mapFromScene(p)));
    });
}

void GraphicsArrowItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (!ItemSupport::pressOnSelected(this))
        QGraphicsLineItem::mousePressEvent(event);
}

void GraphicsArrowItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    setFlag(QGraphicsItem::ItemIsMovable, false);
    QGraphicsLineItem::hoverLeaveEvent(event);
}
