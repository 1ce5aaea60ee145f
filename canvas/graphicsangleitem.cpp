#include "graphicsangleitem.h"

#include "itemstyle.h"
#include "itemsupport.h"
#include "mode.h"

#include <QGraphicsScene>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kAnglePi = 3.1415;
constexpr double kTiny = 1e-12;

double distance(const QPointF &a, const QPointF &b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

} // namespace

GraphicsAngleItem::GraphicsAngleItem(const QPointF &p, QGraphicsItem *parent)
    : QGraphicsPolygonItem(parent)
{
    m_points << p << QPointF(0, 0) << QPointF(0, 0);
    setPolygon(m_points);
    setPen(ItemSupport::stylePen());
    ItemSupport::makeInteractive(this);
}

bool GraphicsAngleItem::isUnset(const QPointF &p)
{
    return ItemSupport::samePoint(p, QPointF(0, 0));
}

void GraphicsAngleItem::effectivePoints(QPointF &s, QPointF &v, QPointF &e) const
{
    const QPolygonF pts = polygon();
    s = pts.isEmpty() ? QPointF(0, 0) : pts.at(0);
    v = (pts.size() > 1 && !isUnset(pts.at(1))) ? pts.at(1) : s;
    e = (pts.size() > 2 && !isUnset(pts.at(2))) ? pts.at(2) : v;
}

double GraphicsAngleItem::zeroArmAngle(double a, double c) const
{
    // An arm without length has no direction; the angle is shown as 0.
    Q_UNUSED(a)
    Q_UNUSED(c)
    return 0.0;
}

double GraphicsAngleItem::angleDegrees() const
{
    const QPolygonF pts = polygon();
    if (pts.size() < 3 || isUnset(pts.at(2)))
        return 0.0;
    QPointF s, v, e;
    effectivePoints(s, v, e);
    const double a = distance(s, v);
    const double c = distance(v, e);
    const double b = distance(s, e);
    if (a < kTiny || c < kTiny)
        return zeroArmAngle(a, c);
    // Rounding can push the cosine just outside [-1, 1] for straight angles.
    const double cosine = std::clamp((a * a + c * c - b * b) / (2.0 * a * c), -1.0, 1.0);
    return std::acos(cosine) * 180.0 / kAnglePi;
}

QString GraphicsAngleItem::angleText() const
{
    return QString::number(angleDegrees(), 'g', 4);
}

QPainterPath GraphicsAngleItem::armsPath(bool *disc) const
{
    QPointF s, v, e;
    effectivePoints(s, v, e);
    QPainterPath path;
    *disc = false;
    if (polygon().isEmpty())
        return path;
    // Points not yet set are left out; before the first drag the hit area is
    // a small disc around the start point.
    if (distance(s, v) < kTiny && distance(v, e) < kTiny) {
        path.addEllipse(QRectF(s.x() - 10, s.y() - 10, 20, 20));
        *disc = true;
        return path;
    }
    path.moveTo(s);
    path.lineTo(v);
    path.lineTo(e);
    return path;
}

QPainterPath GraphicsAngleItem::shape() const
{
    bool disc = false;
    const QPainterPath path = armsPath(&disc);
    return (disc || path.isEmpty()) ? path : ItemSupport::hitShape(path, pen());
}

QRectF GraphicsAngleItem::boundingRect() const
{
    // The bounds of the shape, worked out without uniting the stroke with
    // the arms on every call: the stroke covers the arms.
    bool disc = false;
    const QPainterPath path = armsPath(&disc);
    const QRectF r = (disc || path.isEmpty()) ? path.boundingRect()
                                              : ItemSupport::hitStroke(path, pen()).boundingRect();
    return QRectF(r.x() - 50, r.y() - 50, int(r.width() + 200), int(r.height() + 200));
}

void GraphicsAngleItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                              QWidget *widget)
{
    Q_UNUSED(option)
    Q_UNUSED(widget)
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(isSelected() ? ItemSupport::selectedPen(pen()) : pen());

    QPointF s, v, e;
    effectivePoints(s, v, e);
    painter->drawPolyline(QPolygonF() << s << v);
    painter->drawPolyline(QPolygonF() << v << e);

    const QPolygonF pts = polygon();
    if (pts.size() < 3 || isUnset(pts.at(2)))
        return;

    const double a = distance(s, v);
    const double c = distance(v, e);
    const double r = std::min(a, c) / 3.0;
    QPointF p1 = v;
    QPointF p2 = v;
    if (a >= kTiny && c >= kTiny) {
        p1 = v + (s - v) * (r / a);
        p2 = v + (e - v) * (r / c);
    }
    const QPointF m = (p1 + p2) / 2.0;
    const QPointF q = 2.0 * m - v;

    QPainterPath arc;
    arc.moveTo(p1);
    arc.quadTo(q, p2);
    painter->drawPath(arc);

    QPen textPen = painter->pen();
    textPen.setColor(pen().color());
    painter->setPen(textPen);
    QFont font = QGuiApplication::font();
    int size = int((a + c) / 2.0 / 5.0);
    size = std::clamp(size, 1, 50); // Qt refuses point sizes below 1
    font.setPointSize(size);
    painter->setFont(font);
    painter->drawText(q, angleText());
}

bool GraphicsAngleItem::sceneEvent(QEvent *event)
{
    ItemSupport::noteUngrab(event, &m_explicitGrab);
    if (currentMode != InsertAngle) {
        QGraphicsPolygonItem::sceneEvent(event);
        return true;
    }

    switch (event->type()) {
    case QEvent::GraphicsSceneMousePress:
        ItemSupport::grabMouseOnce(this, &m_explicitGrab);
        ItemStyle::instance()->setDrawing(true);
        return true;
    case QEvent::GraphicsSceneMouseMove: {
        const QPointF p = static_cast<QGraphicsSceneMouseEvent *>(event)->scenePos();
        if (!m_secondArm) {
            m_points[1] = p;
        } else {
            m_points[2] = p;
            ItemStyle::instance()->setDrawing(false);
        }
        setPolygon(m_points);
        return true;
    }
    case QEvent::GraphicsSceneMouseRelease:
        if (isUnset(m_points.at(1)))
            return true; // a click without a drag
        if (isUnset(m_points.at(2))) {
            m_secondArm = true; // keep the grab for the second drag
            return true;
        }
        ItemSupport::releaseMouseGrab(this, &m_explicitGrab);
        return true;
    default:
        return false;
    }
}

void GraphicsAngleItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (!ItemSupport::pressOnSelected(this))
        QGraphicsPolygonItem::mousePressEvent(event);
}

void GraphicsAngleItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    setFlag(QGraphicsItem::ItemIsMovable, false);
    QGraphicsPolygonItem::hoverLeaveEvent(event);
}
