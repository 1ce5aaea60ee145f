#ifndef GRAPHICSSTRUCTUREPICKITEM_H
#define GRAPHICSSTRUCTUREPICKITEM_H

#include <QGraphicsItem>
#include <QPolygonF>
#include <functional>

#include "sinusoidfit.h"
#include "structurepick.h"

// A structure pick on the page: the points the user clicked along a trace and
// the sinusoid fitted through them, drawn across the whole image column and
// labelled "depth  dip°/direction°". Selected, its points can be dragged and
// the fit follows.
//
// The item is light, as a page may hold many thousands of picks: it keeps the
// pick's points and fit, and works out its curve only when it is painted or
// hit-tested, its bounds from the fit.
//
// Scene layout: the image column runs from x = left to left + width, the
// page's first row y = top is at depth pageStart; pixelsPerUnit rows per
// depth unit; azimuth = (x − left) / width × 360.
class GraphicsStructurePickItem : public QGraphicsItem
{
public:
    enum { Type = 18 };

    struct Page
    {
        double left = 1300.0;
        double top = 120.0;
        int width = 0;
        double pageStart = 0.0;    // depth units at y = top
        double pixelsPerUnit = 0.0;
        double diameter = 0.0;     // depth units
    };

    explicit GraphicsStructurePickItem(const Page &page, QGraphicsItem *parent = nullptr);
    // A stored pick: its sinusoid with four handles on it.
    GraphicsStructurePickItem(const Page &page, const StructurePick &pick, QGraphicsItem *parent = nullptr);

    int type() const override { return Type; }
    Page page() const { return m_page; }

    // Adds a clicked point (scene coordinates, kept inside the image column).
    void addPoint(const QPointF &scenePos);
    QPolygonF points() const { return m_points; }
    void setPoints(const QPolygonF &points);

    // The fit of the current points (not valid before three, or without a diameter).
    SinusoidFit fit() const { return m_fit; }
    // The pick as stored: fit values, type, comment and id.
    StructurePick pick() const;
    void setPickId(qint64 id) { m_id = id; }
    QString pickType() const { return m_type; }
    void setPickType(const QString &type);
    QString comment() const { return m_comment; }
    void setComment(const QString &comment);

    // Label text, e.g. "12.43 m  38°/215°"; empty while the fit is not valid.
    QString label() const;
    // A label that would lie on the one of a pick above it is left out
    // unless the pick is selected.
    void setLabelShown(bool shown);
    // Scene rows from the top of one label to that of the next below it.
    static constexpr double labelHeight() { return 64.0; }

    // Called after the user moved a point or edited type or comment.
    void setChangedCallback(const std::function<void(GraphicsStructurePickItem *)> &callback)
    {
        m_changed = callback;
    }
    // Called on a double-click, to edit type and comment.
    void setEditCallback(const std::function<void(GraphicsStructurePickItem *)> &callback)
    {
        m_edit = callback;
    }

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;

private:
    QPointF clampToColumn(const QPointF &p) const;
    QPointF toFitPoint(const QPointF &scenePos) const;
    void refit();
    // The fitted trace; levelOfDetail below 1 (seen from afar) takes fewer points.
    QPolygonF curvePolygon(double levelOfDetail = 1.0) const;
    QRectF bounds() const;

    Page m_page;
    QPolygonF m_points;
    SinusoidFit m_fit;
    QRectF m_bounds;
    qint64 m_id = 0;
    QString m_type = QStringLiteral("fracture");
    QString m_comment;
    int m_dragged = -1;
    bool m_moved = false;
    bool m_labelShown = true;
    std::function<void(GraphicsStructurePickItem *)> m_changed;
    std::function<void(GraphicsStructurePickItem *)> m_edit;
};

#endif // GRAPHICSSTRUCTUREPICKITEM_H
