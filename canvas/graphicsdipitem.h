#ifndef GRAPHICSDIPITEM_H
#define GRAPHICSDIPITEM_H

#include "graphicsangleitem.h"

// One drag from S to V, completed by a horizontal leg from V to E = (S.x, V.y):
// shows the inclination of the dragged line against the image's horizontal
// (tool mode InsertDip).
class GraphicsDipItem : public GraphicsAngleItem
{
public:
    enum { Type = 5 };

    explicit GraphicsDipItem(const QPointF &p, QGraphicsItem *parent = nullptr);

    int type() const override { return Type; }

protected:
    bool sceneEvent(QEvent *event) override;
    double zeroArmAngle(double a, double c) const override;
};

#endif // GRAPHICSDIPITEM_H
