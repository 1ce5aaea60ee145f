#ifndef GRAPHICSLENGTHMEASUREITEM_H
#define GRAPHICSLENGTHMEASUREITEM_H

#include "graphicslineitem.h"

// Measure-length line: a plain line drawn in MeasureLength mode. The main
// window labels it with its end points and length.
class GraphicsLengthMeasureitem : public GraphicsLineItem
{
public:
    enum { Type = 11 };

    explicit GraphicsLengthMeasureitem(const QLineF &line, QGraphicsItem *parent = nullptr);

    int type() const override { return Type; }
    bool isDrawingMode() const override;

    // Length in metres of a segment of the given scene length: scene units
    // divided by (factor x 10000); the scene length itself (divided by 1)
    // when the factor is not known (0). Always finite.
    static double lengthInMetres(double sceneLength, double factor);
    // This line's length in metres with the current pixel factor.
    double lengthInMetres() const;
};

#endif // GRAPHICSLENGTHMEASUREITEM_H
