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

protected:
    bool sceneEvent(QEvent *event) override;
};

#endif // GRAPHICSANGLEMEASUREITEM_H
