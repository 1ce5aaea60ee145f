#ifndef GRAPHICSLINEITEM_H
#define GRAPHICSLINEITEM_H

#include <QGraphicsLineItem>
#include <QLineF>
#include <QPainterPath>
#include <QPen>

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

    // True while the current tool mode is the one that draws this kind of line.
    virtual bool isDrawingMode() const;

    // The line's end points in scene coordinates.
    QLineF sceneLine() const;
    // The label text item attached to this line as a child (null if none).
    GraphicsTextItem *labelItem() const;

    // Hit area shared by the line-like items: the path stroked 20 units wide
    // with the pen's cap, join and miter limit, plus the path itself.
    static QPainterPath shapeFromPath(const QPainterPath &path, const QPen &pen);
    // The pen used to draw a selected item: same colour and width, dotted.
    static QPen selectedPen(const QPen &pen);
    // Area that painting the given geometry with the pen can touch (square
    // caps reach out by up to half the width times the square root of 2).
    static QRectF paintedRect(const QRectF &geometry, const QPen &pen);

protected:
    bool sceneEvent(QEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;

    // Construction by dragging while drawingMode is true; default item
    // handling otherwise.
    bool lineSceneEvent(QEvent *event, bool drawingMode);
};

#endif // GRAPHICSLINEITEM_H
