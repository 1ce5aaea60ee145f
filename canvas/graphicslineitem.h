#ifndef GRAPHICSLINEITEM_H
#define GRAPHICSLINEITEM_H

#include <QGraphicsLineItem>
#include <QLineF>

class GraphicsTextItem;

// A straight line drawn with the line tool. The measurement lines derive from
// it and only change the tool mode they answer to and their type code.
class GraphicsLineItem : public QGraphicsLineItem
{
public:
    enum { Type = 1 };

    explicit GraphicsLineItem(const QLineF &line, QGraphicsItem *parent = nullptr);

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    int type() const override { return Type; }

    // The line's end points in scene coordinates.
    QLineF sceneLine() const;
    // The label text item attached to this line as a child (null if none).
    GraphicsTextItem *labelItem() const;

protected:
    bool sceneEvent(QEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;

    // Construction by dragging while drawingMode is true; default item
    // handling otherwise.
    bool lineSceneEvent(QEvent *event, bool drawingMode);

public:
    // True while the current tool mode is the one that draws this kind of line.
    virtual bool isDrawingMode() const;
};

#endif // GRAPHICSLINEITEM_H
