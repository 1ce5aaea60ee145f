#ifndef GRAPHICSANGLEITEM_H
#define GRAPHICSANGLEITEM_H

#include <QGraphicsPolygonItem>

// Two arms meeting at a vertex (tool mode InsertAngle): the user drags from
// the start point S to the vertex V, then presses again and drags to E. The
// item draws the arms, an arc at V and the angle at V in degrees.
class GraphicsAngleItem : public QGraphicsPolygonItem
{
public:
    enum { Type = 2 };

    explicit GraphicsAngleItem(const QPointF &p, QGraphicsItem *parent = nullptr);

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    int type() const override { return Type; }

    // The angle at the vertex in degrees (0 while the item is incomplete)
    // and the label painted for it.
    double angleDegrees() const;
    QString angleText() const;
    bool secondArm() const { return m_secondArm; }

    // A point within 1e-12 of the origin counts as not yet set.
    static bool isUnset(const QPointF &p);

protected:
    bool sceneEvent(QEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;

    // The angle shown when one arm has no length and the angle at the
    // vertex is undefined.
    virtual double zeroArmAngle(double a, double c) const;

    // S, V and E as painted: V falls back to S and E to V while unset.
    void effectivePoints(QPointF &s, QPointF &v, QPointF &e) const;
    // The arms S-V-E as a path, or (disc set) the small disc around S while
    // neither arm has a length yet; empty for an empty polygon.
    QPainterPath armsPath(bool *disc) const;

    QPolygonF m_points;
    bool m_secondArm = false;
    bool m_explicitGrab = false; // holds an explicit grab for the construction drags
};

#endif // GRAPHICSANGLEITEM_H
