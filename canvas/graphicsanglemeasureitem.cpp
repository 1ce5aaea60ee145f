#include "graphicsanglemeasureitem.h"

#include "mode.h"

#include <QtMath>
#include <cmath>

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

double GraphicsAngleMeasureItem::inclinationAngle(float h1, float h2, float a1, float a2,
                                                  double diameterMetres)
{
    const float pi = 3.1415f;
    const float dh = std::fabs(h1 - h2);
    const float s = std::sin((a1 - a2 - 180.0f) * 0.5f * pi / 180.0f);
    float d = float(diameterMetres);
    if (!std::isfinite(d) || d < 0.0f)
        d = 0.0f;
    const float run = d * std::fabs(s);
    if (!std::isfinite(dh) || !std::isfinite(run))
        return 0.0;
    // atan2 is arctan(dh / run) where run > 0 and stays finite at the
    // limits: run 0 (points opposite each other, or no diameter) gives 90
    // degrees for different depths and 0 for equal depths.
    const float angle = std::atan2(dh, run);
    return double(angle) * 180.0 / 3.1415;
}
