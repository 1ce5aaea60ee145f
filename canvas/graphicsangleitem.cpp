#include "graphicsangleitem.h"

GraphicsAngleItem::GraphicsAngleItem(const QPointF &p, QGraphicsItem *parent)
    : QGraphicsPolygonItem(parent)
{
    m_points << p << QPointF(0, 0) << QPointF(0, 0);
    setPolygon(m_points);
}

QRectF GraphicsAngleItem::boundingRect() const { return QGraphicsPolygonItem::boundingRect(); }
QPainterPath GraphicsAngleItem::shape() const { return QGraphicsPolygonItem::shape(); }
void GraphicsAngleItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    QGraphicsPolygonItem::paint(painter, option, widget);
}
double GraphicsAngleItem::angleDegrees() const { return 0; }
QString GraphicsAngleItem::angleText() const { return QString(); }
bool GraphicsAngleItem::isUnset(const QPointF &p) { return qAbs(p.x()) < 1e-12 && qAbs(p.y()) < 1e-12; }
bool GraphicsAngleItem::sceneEvent(QEvent *event) { return QGraphicsPolygonItem::sceneEvent(event); }
void GraphicsAngleItem::mousePressEvent(QGraphicsSceneMouseEvent *event) { QGraphicsPolygonItem::mousePressEvent(event); }
void GraphicsAngleItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *event) { QGraphicsPolygonItem::hoverLeaveEvent(event); }
double GraphicsAngleItem::zeroArmAngle(double, double) const { return 0; }
void GraphicsAngleItem::effectivePoints(QPointF &s, QPointF &v, QPointF &e) const { s = v = e = QPointF(); }
