#include "graphicsarrowitem.h"

#include "graphicslineitem.h"
#include "itemstyle.h"
#include "mode.h"

#include <QEvent>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <cmath>

GraphicsArrowItem::GraphicsArrowItem(const QLineF &line, QGraphicsItem *parent)
    : QGraphicsLineItem(line, parent)
{
    ItemStyle *style = ItemStyle::instance();
    setPen(QPen(QBrush(style->color()), style->lineWidth(), Qt::SolidLine, Qt::SquareCap,
                Qt::BevelJoin));
    setAcceptHoverEvents(true);
    setFlag(QGraphicsItem::ItemIsSelectable, true);
    setFlag(QGraphicsItem::ItemIsMovable, false);
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

QRectF GraphicsArrowItem::boundingRect() const
{
    const QRectF r = QGraphicsLineItem::boundingRect();
    const QRectF grown(r.x() - 10.0, r.y() - 10.0, int(r.width() + 20.0), int(r.height() + 20.0));
    // A pen wider than the hit stroke paints beyond it.
    QPolygonF painted = head(70.0);
    painted << line().p1();
    return grown | GraphicsLineItem::paintedRect(painted.boundingRect(), pen());
}

QPainterPath GraphicsArrowItem::shape() const
{
    const QLineF l = line();
    QPainterPath path;
    if (qAbs(l.x1()) <= 1e-12 && qAbs(l.y1()) <= 1e-12 && qAbs(l.x2()) <= 1e-12
        && qAbs(l.y2()) <= 1e-12)
        return path;
    const QPolygonF h = head(100.0);
    path.moveTo(l.p1());
    path.lineTo(l.p2());
    path.lineTo(h.at(0));
    path.lineTo(l.p2());
    path.lineTo(h.at(2));
    return GraphicsLineItem::shapeFromPath(path, pen());
}

void GraphicsArrowItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                              QWidget *widget)
{
    Q_UNUSED(widget);
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen((option->state & QStyle::State_Selected)
                        ? GraphicsLineItem::selectedPen(pen()) : pen());
    painter->drawLine(line());
    painter->drawPolyline(head(70.0));
}

bool GraphicsArrowItem::sceneEvent(QEvent *event)
{
    if (currentMode != InsertArrow) {
        QGraphicsLineItem::sceneEvent(event);
        return true;
    }
    switch (event->type()) {
    case QEvent::GraphicsSceneMousePress:
        ItemStyle::instance()->setDrawing(true);
        return true;
    case QEvent::GraphicsSceneMouseMove: {
        auto *me = static_cast<QGraphicsSceneMouseEvent *>(event);
        setLine(QLineF(line().p1(), mapFromScene(me->scenePos())));
        return true;
    }
    case QEvent::GraphicsSceneMouseRelease:
        ItemStyle::instance()->setDrawing(false);
        return true;
    default:
        return false;
    }
}

void GraphicsArrowItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (isSelected()) {
        setFlag(QGraphicsItem::ItemIsMovable, true);
        return;
    }
    QGraphicsLineItem::mousePressEvent(event);
}

void GraphicsArrowItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    setFlag(QGraphicsItem::ItemIsMovable, false);
    QGraphicsLineItem::hoverLeaveEvent(event);
}
