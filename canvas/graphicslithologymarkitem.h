#ifndef GRAPHICSLITHOLOGYMARKITEM_H
#define GRAPHICSLITHOLOGYMARKITEM_H

#include "graphicslineitem.h"

// Mark-lithology line: a plain line drawn in MarkLithology mode. The main
// window labels it with its end points, length and inclination.
class GraphicsLithologymarkitem : public GraphicsLineItem
{
public:
    enum { Type = 13 };

    explicit GraphicsLithologymarkitem(const QLineF &line, QGraphicsItem *parent = nullptr);

    int type() const override { return Type; }
    bool isDrawingMode() const override;

protected:
    bool sceneEvent(QEvent *event) override;
};

#endif // GRAPHICSLITHOLOGYMARKITEM_H
