#include "graphicsanglemeasureitem.h"

#include "mode.h"

GraphicsAngleMeasureItem::GraphicsAngleMeasureItem(const QLineF &line, QGraphicsItem *parent)
    : GraphicsLineItem(line, parent)
{
}

bool GraphicsAngleMeasureItem::isDrawingMode() const
{
    return currentMode == MeasureAngle;
}

bool GraphicsAngleMeasureItem::sceneEvent(QEvent *event)
{
    return lineSceneEvent(event, currentMode == MeasureAngle);
}
