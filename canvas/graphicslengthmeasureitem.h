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
};

#endif // GRAPHICSLENGTHMEASUREITEM_H
