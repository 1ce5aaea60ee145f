#ifndef GRAPHICSANGLEMEASUREITEM_H
#define GRAPHICSANGLEMEASUREITEM_H

#include "graphicslineitem.h"

// Measure-angle line: a plain line drawn in MeasureAngle mode. The main
// window labels it with the inclination of the plane through its end points.
class GraphicsAngleMeasureItem : public GraphicsLineItem
{
public:
    enum { Type = 12 };

    explicit GraphicsAngleMeasureItem(const QLineF &line, QGraphicsItem *parent = nullptr);

    int type() const override { return Type; }
    bool isDrawingMode() const override;

    // Inclination in degrees of the plane through two wall points at depths
    // h1, h2 (metres) and azimuths a1, a2 (degrees) on a hole of the given
    // diameter (metres). Always finite: points 180 degrees apart (or an
    // unknown diameter) give 90 when the depths differ and 0 when they do not.
    static double inclinationAngle(float h1, float h2, float a1, float a2, double diameterMetres);

protected:
    bool sceneEvent(QEvent *event) override;
};

#endif // GRAPHICSANGLEMEASUREITEM_H
