#include "graphicsdipitem.h"

GraphicsDipItem::GraphicsDipItem(const QPointF &p, QGraphicsItem *parent)
    : GraphicsAngleItem(p, parent)
{
}

bool GraphicsDipItem::sceneEvent(QEvent *event) { return GraphicsAngleItem::sceneEvent(event); }
double GraphicsDipItem::zeroArmAngle(double, double) const { return 0; }
