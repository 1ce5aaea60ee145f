#include "graphicscurveitem.h"

#include <qwt_curve_fitter.h>

GraphicsCurveItem::GraphicsCurveItem(const QPointF &firstPoint, QGraphicsItem *parent)
    : QGraphicsPolygonItem(parent), m_fitter(new QwtSplineCurveFitter)
{
    setPoints(QPolygonF() << firstPoint);
}

GraphicsCurveItem::~GraphicsCurveItem() { delete m_fitter; }

void GraphicsCurveItem::setPoints(const QPolygonF &points)
{
    if (points.size() != 250)
        m_controlPoints = points;
    rebuildHandles();
    setPolygon(points);
}

void GraphicsCurveItem::rebuildHandles() {}
void GraphicsCurveItem::preview(const QPointF &) {}
QPolygonF GraphicsCurveItem::fittedPolygon() const { return m_fitter->fitCurve(polygon()); }
QPainterPath GraphicsCurveItem::curveOutline() const { return QGraphicsPolygonItem::shape(); }
void GraphicsCurveItem::paintHandles(QPainter *) const {}
void GraphicsCurveItem::grabMouseOnce() {}
void GraphicsCurveItem::noteUngrab(QEvent *) {}
QRectF GraphicsCurveItem::boundingRect() const { return QGraphicsPolygonItem::boundingRect(); }
QPainterPath GraphicsCurveItem::shape() const { return QGraphicsPolygonItem::shape(); }
void GraphicsCurveItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    QGraphicsPolygonItem::paint(painter, option, widget);
}
bool GraphicsCurveItem::sceneEvent(QEvent *event) { return QGraphicsPolygonItem::sceneEvent(event); }
void GraphicsCurveItem::mousePressEvent(QGraphicsSceneMouseEvent *event) { QGraphicsPolygonItem::mousePressEvent(event); }
void GraphicsCurveItem::mouseMoveEvent(QGraphicsSceneMouseEvent *) {}
void GraphicsCurveItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *event) { QGraphicsPolygonItem::hoverLeaveEvent(event); }
