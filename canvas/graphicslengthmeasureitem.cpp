#include "graphicslengthmeasureitem.h"

#include "globals.h"
#include "mode.h"

#include <QtMath>

GraphicsLengthMeasureitem::GraphicsLengthMeasureitem(const QLineF &line, QGraphicsItem *parent)
    : GraphicsLineItem(line, parent)
{
}

bool GraphicsLengthMeasureitem::isDrawingMode() const
{
    return currentMode == MeasureLength;
}

double GraphicsLengthMeasureitem::lengthInMetres(double sceneLength, double factor)
{
    if (!qIsFinite(sceneLength))
        return 0.0;
    // Without a usable pixel factor (no project, a plain picture) the length
    // stays in scene units.
    if (!qIsFinite(factor) || factor <= 0.0)
        return sceneLength;
    return sceneLength / (factor * kDepthUnitsPerMetre);
}

double GraphicsLengthMeasureitem::lengthInMetres() const
{
    return lengthInMetres(sceneLine().length(), pixelsPerUnit);
}
