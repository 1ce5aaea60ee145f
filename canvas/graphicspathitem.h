#ifndef GRAPHICSPATHITEM_H
#define GRAPHICSPATHITEM_H

#include <QGraphicsPathItem>
#include <QPainterPath>

// A free-hand pen stroke: every mouse position of the drag becomes a segment.
class GraphicsPathItem : public QGraphicsPathItem
{
public:
    enum { Type = 8 };

    explicit GraphicsPathItem(const QPainterPath &path, QGraphicsItem *parent = nullptr);

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    int type() const override { return Type; }

protected:
    bool sceneEvent(QEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;
};

#endif // GRAPHICSPATHITEM_H
