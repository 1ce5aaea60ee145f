#include "graphicsselcurveitem.h"

GraphicsSelCurveItem::GraphicsSelCurveItem(const QPointF &p, const QRectF &bounds, QGraphicsItem *parent)
    : QObject(nullptr), GraphicsCurveItem(p, parent), m_bounds(bounds)
{
    m_startPoint = p;
}

QRectF GraphicsSelCurveItem::boundingRect() const { return GraphicsCurveItem::boundingRect(); }
QPainterPath GraphicsSelCurveItem::shape() const { return GraphicsCurveItem::shape(); }
void GraphicsSelCurveItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    GraphicsCurveItem::paint(painter, option, widget);
}
QPointF GraphicsSelCurveItem::movedIntoBounds(const QPointF &p) const { return p; }
QString GraphicsSelCurveItem::areaTextFor(float, double) { return QString(); }
void GraphicsSelCurveItem::handleIrregularArea(float) {}
bool GraphicsSelCurveItem::sceneEvent(QEvent *event) { return GraphicsCurveItem::sceneEvent(event); }
void GraphicsSelCurveItem::mousePressEvent(QGraphicsSceneMouseEvent *) {}
void GraphicsSelCurveItem::mouseMoveEvent(QGraphicsSceneMouseEvent *) {}
void GraphicsSelCurveItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *) {}
QVariant GraphicsSelCurveItem::itemChange(GraphicsItemChange change, const QVariant &value)
{
    return GraphicsCurveItem::itemChange(change, value);
}
void GraphicsSelCurveItem::finish() {}
QPainterPath GraphicsSelCurveItem::labelPath() const { return QPainterPath(); }
