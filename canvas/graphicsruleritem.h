#ifndef GRAPHICSRULERITEM_H
#define GRAPHICSRULERITEM_H

#include <QColor>
#include <QCoreApplication>
#include <QGraphicsPolygonItem>
#include <QPolygonF>
#include <QRegion>
#include <QStringList>
#include <QVector>

// Measures distances along the wall: a chain of clicked points labelled with
// the running distance in metres and the total at the last point.
class GraphicsRulerItem : public QGraphicsPolygonItem
{
    Q_DECLARE_TR_FUNCTIONS(GraphicsRulerItem)

public:
    enum { Type = 9 };

    GraphicsRulerItem(const QPointF &p, const QColor &labelColor, QGraphicsItem *parent = nullptr);

    // Rebuilds the markers from the polygon and makes it the item's polygon.
    void setPoints(const QPolygonF &polygon);
    // The clicked points (without the preview point of a drag in progress).
    QPolygonF points() const { return m_points; }
    QColor labelColor() const { return m_labelColor; }

    // Running distance in depth units at every point of the displayed
    // polygon, using the current pixel factor (1 when it is not known).
    QVector<double> runningDistances() const;
    // Distance along the whole displayed polygon, in depth units.
    double total() const;
    // The texts drawn at the markers: "0.00m", ..., "Total:1.25m"; without a
    // project scale the distance in pixels is given as unknown in metres.
    QStringList labelTexts() const;

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    int type() const override { return Type; }

protected:
    bool sceneEvent(QEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;

private:
    void preview(const QPointF &p);

    QPolygonF m_points;
    QVector<QRegion> m_markers;
    double m_total = 0.0;
    QColor m_labelColor;
    bool m_grabbing = false; // holds a grab of its own since a press
};

#endif // GRAPHICSRULERITEM_H
