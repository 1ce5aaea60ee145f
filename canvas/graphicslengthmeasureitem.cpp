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
    // An unknown (or unusable) pixel factor counts as 1 scene unit per depth unit.
    const double f = (qIsFinite(factor) && factor > 0.0) ? factor : 1.0;
    return sceneLength / (f * kDepthUnitsPerMetre);
}

double GraphicsLengthMeasureitem::lengthInMetres() const
{
    return lengthInMetres(sceneLine().length(), pixelsPerUnit);
}
