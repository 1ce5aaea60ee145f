#ifndef GRAPHICSARROWITEM_H
#define GRAPHICSARROWITEM_H

#include <QGraphicsLineItem>
#include <QLineF>
#include <QPainterPath>
#include <QPolygonF>

// A solid arrow; the head sits at the end of the drag (the line's second point).
class GraphicsArrowItem : public QGraphicsLineItem
{
public:
    enum { Type = 3 };

    explicit GraphicsArrowItem(const QLineF &line, QGraphicsItem *parent = nullptr);

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    int type() const override { return Type; }

    // The head as the open polyline left barb end, tip, right barb end, with
    // barbs of the given length at 10 degrees either side of the line.
    QPolygonF head(double barbLength = 70.0) const;

protected:
    // Shaft and 100-unit barbs as one open path; empty for a null line.
    QPainterPath hitPath() const;

    bool sceneEvent(QEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;
};

#endif // GRAPHICSARROWITEM_H
