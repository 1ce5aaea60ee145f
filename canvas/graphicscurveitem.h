#ifndef GRAPHICSCURVEITEM_H
#define GRAPHICSCURVEITEM_H

#include <QGraphicsPolygonItem>
#include <QPolygonF>
#include <QRegion>
#include <QVector>

class QwtSplineCurveFitter;

// A smooth spline through the points the user clicks (tool mode FitCurve).
// While selected, the clicked points can be dragged by their handles.
class GraphicsCurveItem : public QGraphicsPolygonItem
{
public:
    enum { Type = 4 };

    explicit GraphicsCurveItem(const QPointF &firstPoint, QGraphicsItem *parent = nullptr);
    ~GraphicsCurveItem() override;

    // A polygon of exactly 250 points is taken as fitter output and leaves
    // the control points alone; any other polygon becomes the control points.
    void setPoints(const QPolygonF &points);

    QPolygonF controlPoints() const { return m_controlPoints; }
    QVector<QRegion> handles() const { return m_handles; }
    bool handleGrabbed() const { return m_handleGrabbed; }
    int grabbedHandleIndex() const { return m_grabbedHandle; }

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    int type() const override { return Type; }

protected:
    bool sceneEvent(QEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;

    // The spline through the item's current polygon. A polygon that is
    // already the result of the last fit is returned as it is, so repeated
    // painting never re-smooths (and slowly deforms) the curve.
    QPolygonF fittedPolygon() const;
    // Strokes the polygon (or the single-point hit ellipse) as the shared
    // item hit shape does.
    QPainterPath curveOutline() const;
    // Draws the red handle squares of a selected curve.
    void paintHandles(QPainter *painter) const;

    QPolygonF m_controlPoints;
    QVector<QRegion> m_handles;
    QwtSplineCurveFitter *m_fitter = nullptr;
    bool m_handleGrabbed = false;
    int m_grabbedHandle = 0;

private:
    void rebuildHandles();
    void preview(const QPointF &p);

    mutable QPolygonF m_lastFitted;

protected:
    // Holds an explicit mouse grab of its own (construction input).
    bool m_explicitGrab = false;
};

#endif // GRAPHICSCURVEITEM_H
