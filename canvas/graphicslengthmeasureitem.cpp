#include "graphicslengthmeasureitem.h"

#include "mode.h"

GraphicsLengthMeasureitem::GraphicsLengthMeasureitem(const QLineF &line, QGraphicsItem *parent)
    : GraphicsLineItem(line, parent)
{
}

bool GraphicsLengthMeasureitem::isDrawingMode() const
{
    return currentMode == MeasureLength;
}
