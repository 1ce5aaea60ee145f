#ifndef GRAPHICSSELCURVEITEM_H
#define GRAPHICSSELCURVEITEM_H

#include "graphicscurveitem.h"

#include <QFont>
#include <QImage>
#include <QObject>
#include <QRectF>
#include <QString>

// Outline of an irregular area (tool mode IrregularArea). The user clicks a
// closed smooth curve; the enclosed region is rendered into a mask whose red
// pixels the scene has counted by CalcPixelNumThread. The count comes back
// through handleIrregularArea and is shown as an area in square metres.
// Item data keys: 0 closed, 1 closing requested (right button), 2 area received.
class GraphicsSelCurveItem : public QObject, public GraphicsCurveItem
{
    Q_OBJECT
public:
    enum { Type = 14 };

    GraphicsSelCurveItem(const QPointF &p, const QRectF &bounds, QGraphicsItem *parent = nullptr);

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    int type() const override { return Type; }

    QPointF startPoint() const { return m_startPoint; }
    QRectF startMarker() const { return m_startMarker; }
    QRectF bounds() const { return m_bounds; }
    QImage mask() const { return m_mask; }
    QString areaText() const { return m_areaText; }
    float pixelCount() const { return m_pixelCount; }

    // Pulls a point outside the bounds to their nearest edge or corner.
    QPointF movedIntoBounds(const QPointF &p) const;
    // The text shown for a pixel count with the current pixel factor.
    static QString areaTextFor(float pixelCount, double factor);

signals:
    void signalSelCurveFinished(QImage mask);
    void signalForceCancel();

public slots:
    // The pixel count of this outline's mask, from the worker the scene
    // started for it; only the first count after the outline was closed is
    // taken.
    void handleIrregularArea(float fArea);

protected:
    bool sceneEvent(QEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    void finish();
    QPainterPath labelPath() const;

    QPointF m_startPoint;
    QRectF m_startMarker;
    QRectF m_bounds;
    QImage m_mask;
    QString m_areaText;
    QFont m_labelFont;
    float m_pixelCount = 0;
};

#endif // GRAPHICSSELCURVEITEM_H
