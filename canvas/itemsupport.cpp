#include "itemsupport.h"

#include "itemstyle.h"

#include <QEvent>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QPainterPathStroker>
#include <QtMath>

QPen ItemSupport::stylePen()
{
    const ItemStyle *style = ItemStyle::instance();
    return QPen(QBrush(style->color()), style->lineWidth(), Qt::SolidLine, Qt::SquareCap,
                Qt::BevelJoin);
}

void ItemSupport::makeInteractive(QGraphicsItem *item)
{
    item->setAcceptHoverEvents(true);
    item->setFlag(QGraphicsItem::ItemIsSelectable, true);
    item->setFlag(QGraphicsItem::ItemIsMovable, false);
}

QPainterPath ItemSupport::hitStroke(const QPainterPath &path, const QPen &pen)
{
    QPainterPathStroker stroker;
    stroker.setCapStyle(pen.capStyle());
    stroker.setJoinStyle(pen.joinStyle());
    stroker.setMiterLimit(pen.miterLimit());
    stroker.setWidth(pen.widthF() <= 0.0 ? 1e-8 : 20.0);
    return stroker.createStroke(path);
}

QPainterPath ItemSupport::hitShape(const QPainterPath &path, const QPen &pen)
{
    const QPainterPath stroke = hitStroke(path, pen);
    // A lone point (or a straight segment) encloses nothing to add.
    if (path.elementCount() < 3)
        return stroke;
    return stroke.united(path);
}

QPainterPath ItemSupport::polylinePath(const QPolygonF &points)
{
    QPainterPath path;
    if (points.isEmpty())
        return path;
    path.moveTo(points.first());
    for (int i = 1; i < points.size(); ++i)
        path.lineTo(points.at(i));
    return path;
}

QPen ItemSupport::selectedPen(const QPen &pen)
{
    QPen dotted(pen);
    dotted.setStyle(Qt::DotLine);
    return dotted;
}

QRectF ItemSupport::paintedRect(const QRectF &geometry, const QPen &pen)
{
    const qreal m = pen.widthF() * 0.75;
    return geometry.normalized().adjusted(-m, -m, m, m);
}

bool ItemSupport::isNullLine(const QLineF &line)
{
    return qAbs(line.x1()) <= 1e-12 && qAbs(line.y1()) <= 1e-12 && qAbs(line.x2()) <= 1e-12
           && qAbs(line.y2()) <= 1e-12;
}

bool ItemSupport::samePoint(const QPointF &a, const QPointF &b)
{
    return qAbs(a.x() - b.x()) <= 1e-12 && qAbs(a.y() - b.y()) <= 1e-12;
}

bool ItemSupport::pressOnSelected(QGraphicsItem *item)
{
    if (!item->isSelected())
        return false;
    item->setFlag(QGraphicsItem::ItemIsMovable, true);
    return true;
}

bool ItemSupport::dragSceneEvent(QEvent *event,
                                 const std::function<void(const QPointF &)> &onMove)
{
    switch (event->type()) {
    case QEvent::GraphicsSceneMousePress:
        ItemStyle::instance()->setDrawing(true);
        return true;
    case QEvent::GraphicsSceneMouseMove:
        onMove(static_cast<QGraphicsSceneMouseEvent *>(event)->scenePos());
        return true;
    case QEvent::GraphicsSceneMouseRelease:
        ItemStyle::instance()->setDrawing(false);
        return true;
    default:
        return false;
    }
}

void ItemSupport::grabMouseOnce(QGraphicsItem *item, bool *held)
{
    QGraphicsScene *scene = item->scene();
    if (!scene)
        return;
    // A second explicit grab by the same item is refused with a warning.
    if (*held && scene->mouseGrabberItem() == item)
        return;
    item->grabMouse();
    *held = scene->mouseGrabberItem() == item;
}

void ItemSupport::releaseMouseGrab(QGraphicsItem *item, bool *held)
{
    if (item->scene() && item->scene()->mouseGrabberItem() == item)
        item->ungrabMouse();
    *held = false;
}

void ItemSupport::noteUngrab(const QEvent *event, bool *held)
{
    if (event->type() == QEvent::UngrabMouse)
        *held = false;
}
