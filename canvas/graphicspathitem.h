#ifndef GRAPHICSPATHITEM_H
#define GRAPHICSPATHITEM_H

#include <QGraphicsPathItem>
#include <QPainterPath>
#include <QPen>

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

private:
    // The hit shape of a long stroke is costly to build; it is kept for the
    // path and pen it was built from.
    mutable QPainterPath m_shapePath;
    mutable QPen m_shapePen;
    mutable QPainterPath m_shape;
    mutable bool m_shapeValid = false;
};

#endif // GRAPHICSPATHITEM_H
