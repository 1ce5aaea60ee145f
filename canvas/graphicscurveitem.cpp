#include "graphicscurveitem.h"

#include "itemstyle.h"
#include "itemsupport.h"
#include "mode.h"

#include <QGraphicsScene>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <qwt_curve_fitter.h>

namespace {

// The fitter samples its spline at this many points; a polygon of exactly this
// size is taken to be fitter output.
constexpr int kFittedSize = 250;

} // namespace

GraphicsCurveItem::GraphicsCurveItem(const QPointF &firstPoint, QGraphicsItem *parent)
    : QGraphicsPolygonItem(parent), m_fitter(new QwtSplineCurveFitter)
{
    setPoints(QPolygonF() << firstPoint);
    setPen(ItemSupport::stylePen());
    ItemSupport::makeInteractive(this);
}

GraphicsCurveItem::~GraphicsCurveItem()
{
    delete m_fitter;
}

void GraphicsCurveItem::setPoints(const QPolygonF &points)
{
    if (points.size() != kFittedSize)
        m_controlPoints = points;
    rebuildHandles();
    setPolygon(points);
}

void GraphicsCurveItem::rebuildHandles()
{
    m_handles.clear();
    m_handles.reserve(m_controlPoints.size());
    for (const QPointF &p : qAsConst(m_controlPoints))
        m_handles.append(QRegion(QRect(int(p.x() - 10), int(p.y() - 10), 20, 20)));
}

void GraphicsCurveItem::preview(const QPointF &p)
{
    m_controlPoints.append(p);
    setPoints(m_controlPoints);
    m_controlPoints.removeLast();
}

QPolygonF GraphicsCurveItem::fittedPolygon() const
{
    const QPolygonF current = polygon();
    if (!m_lastFitted.isEmpty() && current == m_lastFitted)
        return m_lastFitted;
    m_lastFitted = m_fitter->fitCurve(current);
    return m_lastFitted;
}

QPainterPath GraphicsCurveItem::curveOutline() const
{
    const QPolygonF points = polygon();
    QPainterPath path;
    if (points.isEmpty())
        return path;
    if (points.size() == 1) {
        const QPointF p = points.first();
        path.addEllipse(QRectF(p.x() - 3, p.y() - 3, 6, 6));
        return path;
    }
    path.addPolygon(points);
    return ItemSupport::hitShape(path, pen());
}

QRectF GraphicsCurveItem::boundingRect() const
{
    // The single-point hit ellipse counts too, so a freshly created curve is
    // found under the press that created it.
    const QPolygonF points = polygon();
    QRectF r;
    if (points.size() == 1) {
        r = curveOutline().boundingRect();
    } else if (points.size() > 1) {
        QPainterPath path;
        path.addPolygon(points);
        r = ItemSupport::hitStroke(path, pen()).boundingRect().united(path.boundingRect());
    }
    return QRectF(r.x() - 100, r.y() - 100, int(r.width() + 200), int(r.height() + 500));
}

QPainterPath GraphicsCurveItem::shape() const
{
    return curveOutline();
}

void GraphicsCurveItem::paintHandles(QPainter *painter) const
{
    QPen handlePen = painter->pen();
    handlePen.setWidth(0);
    painter->setPen(handlePen);
    painter->setBrush(QBrush(Qt::red, Qt::SolidPattern));
    for (const QRegion &handle : m_handles) {
        const QRect r = handle.boundingRect();
        painter->drawRect(QRectF(r.left() + r.width() / 4.0, r.top() + r.height() / 4.0,
                                 r.width() / 2.0, r.height() / 2.0));
    }
    painter->setBrush(Qt::NoBrush);
}

void GraphicsCurveItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                              QWidget *widget)
{
    Q_UNUSED(option)
    Q_UNUSED(widget)
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(isSelected() ? ItemSupport::selectedPen(pen()) : pen());

    const QPolygonF fitted = fittedPolygon();
    setPoints(fitted);
    painter->drawPolyline(fitted);

    if (isSelected())
        paintHandles(painter);
}

bool GraphicsCurveItem::sceneEvent(QEvent *event)
{
    ItemSupport::noteUngrab(event, &m_explicitGrab);
    if (currentMode != FitCurve) {
        QGraphicsPolygonItem::sceneEvent(event);
        return true;
    }

    switch (event->type()) {
    case QEvent::GraphicsSceneMousePress: {
        const QPointF p = static_cast<QGraphicsSceneMouseEvent *>(event)->scenePos();
        ItemSupport::grabMouseOnce(this, &m_explicitGrab);
        ItemStyle::instance()->setDrawing(true);
        preview(p);
        return true;
    }
    case QEvent::GraphicsSceneMouseMove:
        preview(static_cast<QGraphicsSceneMouseEvent *>(event)->scenePos());
        return true;
    case QEvent::GraphicsSceneMouseRelease: {
        const QPointF p = static_cast<QGraphicsSceneMouseEvent *>(event)->scenePos();
        // A release where the last point already is (a double click) adds
        // nothing; the preview of that point is dropped again.
        if (!m_controlPoints.isEmpty() && ItemSupport::samePoint(p, m_controlPoints.last())) {
            setPoints(m_controlPoints);
            return true;
        }
        m_controlPoints.append(p);
        setPoints(m_controlPoints);
        return true;
    }
    default:
        return false;
    }
}

void GraphicsCurveItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (!ItemSupport::pressOnSelected(this)) {
        QGraphicsPolygonItem::mousePressEvent(event);
        return;
    }
    // Every press decides afresh which handle (if any) is dragged; a handle
    // grabbed by an earlier press must not follow a press elsewhere.
    m_handleGrabbed = false;
    const QPoint pos(qRound(event->pos().x()), qRound(event->pos().y()));
    for (int i = 0; i < m_handles.size(); ++i) {
        if (m_handles.at(i).contains(pos)) {
            m_handleGrabbed = true;
            m_grabbedHandle = i;
        }
    }
}

void GraphicsCurveItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (!isSelected() || !m_handleGrabbed)
        return;
    if (m_grabbedHandle < 0 || m_grabbedHandle >= m_controlPoints.size())
        return;
    prepareGeometryChange();
    m_controlPoints[m_grabbedHandle] = event->pos();
    setPoints(m_controlPoints);
    update();
}

void GraphicsCurveItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    m_handleGrabbed = false;
    setFlag(QGraphicsItem::ItemIsMovable, false);
    QGraphicsPolygonItem::hoverLeaveEvent(event);
}
