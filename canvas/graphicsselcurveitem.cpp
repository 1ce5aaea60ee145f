#include "graphicsselcurveitem.h"

#include "globals.h"
#include "itemstyle.h"
#include "itemsupport.h"
#include "mode.h"

#include <QGraphicsScene>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <cmath>

GraphicsSelCurveItem::GraphicsSelCurveItem(const QPointF &p, const QRectF &bounds,
                                           QGraphicsItem *parent)
    : QObject(nullptr), GraphicsCurveItem(p, parent), m_bounds(bounds)
{
    setData(0, false);
    setData(1, false);
    setData(2, false);
    m_pixelCount = 0;
    m_labelFont = QFont(QStringLiteral("Times"), 40, 75, false);
    m_startPoint = movedIntoBounds(p);
    m_startMarker = QRectF(m_startPoint.x() - 20, m_startPoint.y() - 20, 40, 40);
    m_controlPoints[0] = movedIntoBounds(m_controlPoints.at(0));
    setPoints(m_controlPoints);
}

QPointF GraphicsSelCurveItem::movedIntoBounds(const QPointF &p) const
{
    if (m_bounds.contains(p))
        return p;
    // Both coordinates are pulled to the nearest edge, so a point beside a
    // corner lands on the corner rather than outside the image.
    const QRectF b = m_bounds.normalized();
    return QPointF(qMin(qMax(p.x(), b.left()), b.right()), qMin(qMax(p.y(), b.top()), b.bottom()));
}

QString GraphicsSelCurveItem::areaTextFor(float pixelCount, double factor)
{
    if (!(factor > 0.0) || !std::isfinite(factor)) {
        // Without a project there is no pixel factor, and square metres
        // cannot be known; say so rather than print an infinite area.
        return tr("Area of this closed curve is:")
               + tr("unknown (no project scale, %1 pixels)").arg(qint64(pixelCount));
    }
    const double area = double(pixelCount) / (factor * factor) / 1e8;
    return tr("Area of this closed curve is:") + QString::number(area, 'f', 3)
           + QStringLiteral("m^2");
}

void GraphicsSelCurveItem::handleIrregularArea(float fArea)
{
    if (data(2).toBool())
        return; // this outline already shows its area
    // An outline still being drawn has no measurement of its own yet (taking
    // a count would also end its construction).
    if (!data(0).toBool())
        return;
    prepareGeometryChange();
    setData(2, true);
    m_pixelCount = fArea;
    if (int(m_pixelCount) != 0)
        m_areaText = areaTextFor(m_pixelCount, pixelsPerUnit);
    update();
}

QPainterPath GraphicsSelCurveItem::labelPath() const
{
    QPainterPath path;
    if (!data(2).toBool() || m_areaText.isEmpty() || polygon().isEmpty())
        return path;
    path.addText(polygon().first(), m_labelFont, m_areaText);
    return path;
}

QRectF GraphicsSelCurveItem::boundingRect() const
{
    QRectF r = GraphicsCurveItem::boundingRect();
    const QPainterPath label = labelPath();
    if (!label.isEmpty())
        r = r.united(label.boundingRect());
    return r;
}

QPainterPath GraphicsSelCurveItem::shape() const
{
    QPainterPath path = GraphicsCurveItem::shape();
    const QPainterPath label = labelPath();
    if (!label.isEmpty())
        path.addPath(label);
    return path;
}

void GraphicsSelCurveItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                                 QWidget *widget)
{
    Q_UNUSED(option)
    Q_UNUSED(widget)
    painter->setRenderHint(QPainter::Antialiasing, true);
    if (polygon().isEmpty())
        return;

    const QPolygonF fitted = fittedPolygon();
    setPoints(fitted);

    if (!isSelected()) {
        painter->setPen(pen());
        painter->drawPolyline(fitted);
        painter->setPen(QPen(QBrush(Qt::white), pen().width(), Qt::DotLine));
        painter->drawPolyline(fitted);
    } else {
        painter->setPen(ItemSupport::selectedPen(pen()));
        painter->drawPolyline(fitted);
        paintHandles(painter);
    }

    if (!data(0).toBool()) {
        painter->setPen(QPen(QBrush(Qt::yellow), 3, Qt::SolidLine));
        painter->drawEllipse(m_startMarker);
    }

    if (int(m_pixelCount) != 0 && !fitted.isEmpty()) {
        m_areaText = areaTextFor(m_pixelCount, pixelsPerUnit);
        painter->setPen(QPen(Qt::red));
        painter->setFont(m_labelFont);
        painter->drawText(fitted.first(), m_areaText);
    }
    painter->setBrush(Qt::NoBrush);
}

void GraphicsSelCurveItem::finish()
{
    const QPolygonF fitted = fittedPolygon();
    QPainterPath path;
    path.addPolygon(fitted);
    path.closeSubpath();
    const QRectF r = path.boundingRect();
    // A degenerate outline (all points on one line) still gets a valid image.
    const int w = qMax(1, int(r.width()));
    const int h = qMax(1, int(r.height()));
    QImage mask(w, h, QImage::Format_RGB32);
    if (!mask.isNull()) {
        mask.fill(Qt::white);
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.translate(-r.x(), -r.y());
        painter.fillPath(path, QBrush(Qt::red, Qt::SolidPattern));
    }
    m_mask = mask;
    // The receiver may take this item out of the scene and free it: nothing
    // here may touch the item after the signal.
    emit signalSelCurveFinished(m_mask);
}

bool GraphicsSelCurveItem::sceneEvent(QEvent *event)
{
    ItemSupport::noteUngrab(event, &m_explicitGrab);
    if (currentMode != IrregularArea || data(2).toBool()) {
        QGraphicsPolygonItem::sceneEvent(event);
        return true;
    }

    switch (event->type()) {
    case QEvent::GraphicsSceneMouseMove: {
        const QPointF p =
                movedIntoBounds(static_cast<QGraphicsSceneMouseEvent *>(event)->scenePos());
        m_controlPoints.append(p);
        setPoints(m_controlPoints);
        m_controlPoints.removeLast();
        return true;
    }
    case QEvent::GraphicsSceneMouseRelease: {
        // Compared after pulling into the bounds, so a click outside the
        // image does not add the same edge point twice.
        const QPointF p =
                movedIntoBounds(static_cast<QGraphicsSceneMouseEvent *>(event)->scenePos());
        if (!m_controlPoints.isEmpty() && ItemSupport::samePoint(p, m_controlPoints.last())) {
            setPoints(m_controlPoints); // drop the preview of that point
            return true;
        }
        m_controlPoints.append(p);
        setPoints(m_controlPoints);
        return true;
    }
    case QEvent::GraphicsSceneMousePress: {
        const QPointF raw = static_cast<QGraphicsSceneMouseEvent *>(event)->scenePos();
        if (m_controlPoints.size() >= 3 && m_startMarker.contains(raw)) {
            // Back at the start: close the outline.
            setData(0, true);
            m_controlPoints.append(movedIntoBounds(raw));
            m_controlPoints.append(m_startPoint);
            setPoints(m_controlPoints);
            m_controlPoints.removeLast();
            finish();
            return true;
        }
        if (!data(1).toBool()) {
            ItemSupport::grabMouseOnce(this, &m_explicitGrab);
            ItemStyle::instance()->setDrawing(true);
            m_controlPoints.append(movedIntoBounds(raw));
            setPoints(m_controlPoints);
            m_controlPoints.removeLast();
            return true;
        }
        // The right button asked to close the outline.
        setData(0, true);
        m_controlPoints.append(m_startPoint);
        setPoints(m_controlPoints);
        m_controlPoints.removeLast();
        if (m_controlPoints.size() < 4) {
            emit signalForceCancel();
            return true;
        }
        finish();
        return true;
    }
    default:
        return false;
    }
}

void GraphicsSelCurveItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    // Outline points cannot be dragged.
    Q_UNUSED(event)
}

void GraphicsSelCurveItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    Q_UNUSED(event)
}

void GraphicsSelCurveItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    m_handleGrabbed = false;
    QGraphicsPolygonItem::hoverLeaveEvent(event);
}

QVariant GraphicsSelCurveItem::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemSceneHasChanged && scene() && currentMode == IrregularArea
        && !data(0).toBool() && !data(2).toBool() && !scene()->mouseGrabberItem()) {
        // The first point may have been pulled into the image away from the
        // press that created the item, so the press would miss the item's
        // shape; holding the mouse from the start keeps the construction
        // input with this outline.
        ItemSupport::grabMouseOnce(this, &m_explicitGrab);
    }
    return GraphicsCurveItem::itemChange(change, value);
}
