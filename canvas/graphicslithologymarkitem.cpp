#include "graphicslithologymarkitem.h"

#include "mode.h"

GraphicsLithologymarkitem::GraphicsLithologymarkitem(const QLineF &line, QGraphicsItem *parent)
    : GraphicsLineItem(line, parent)
{
}

bool GraphicsLithologymarkitem::isDrawingMode() const
{
    return currentMode == MarkLithology;
}

bool GraphicsLithologymarkitem::sceneEvent(QEvent *event)
{
    return lineSceneEvent(event, currentMode == MarkLithology);
}
