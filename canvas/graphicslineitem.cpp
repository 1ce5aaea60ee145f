#include "graphicslineitem.h"

#include "graphicstextitem.h"
#include "itemstyle.h"
#include "mode.h"

#include <QEvent>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QPainterPathStroker>
#include <QStyleOptionGraphicsItem>
#include <QtMath>

namespace {

bool nearlyZero(qreal v)
{
    return qAbs(v) <= 1e-12;
}

} // namespace

GraphicsLineItem::GraphicsLineItem(const QLineF &line, QGraphicsItem *parent)
    : QGraphicsLineItem(line, parent)
{
    ItemStyle *style = ItemStyle::instance();
    setPen(QPen(QBrush(style->color()), style->lineWidth(), Qt::SolidLine, Qt::SquareCap,
                Qt::BevelJoin));
    setAcceptHoverEvents(true);
    setFlag(QGraphicsItem::ItemIsSelectable, true);
    setFlag(QGraphicsItem::ItemIsMovable, false);
}

QPainterPath GraphicsLineItem::shapeFromPath(const QPainterPath &path, const QPen &pen)
{
    QPainterPathStroker stroker;
    stroker.setCapStyle(pen.capStyle());
    stroker.setJoinStyle(pen.joinStyle());
    stroker.setMiterLimit(pen.miterLimit());
    stroker.setWidth(pen.widthF() <= 0.0 ? 1e-8 : 20.0);
    QPainterPath result = stroker.createStroke(path);
    result.addPath(path);
    return result;
}

QPen GraphicsLineItem::selectedPen(const QPen &pen)
{
    QPen dotted(pen);
    dotted.setStyle(Qt::DotLine);
    return dotted;
}

QRectF GraphicsLineItem::paintedRect(const QRectF &geometry, const QPen &pen)
{
    const qreal m = pen.widthF() * 0.75;
    return geometry.normalized().adjusted(-m, -m, m, m);
}

QRectF GraphicsLineItem::boundingRect() const
{
    // The hit area is 20 units wide whatever the pen; a wider pen, or the
    // square dot of a click without a drag, paints beyond it.
    const QLineF l = line();
    return QGraphicsLineItem::boundingRect() | paintedRect(QRectF(l.p1(), l.p2()), pen());
}

QPainterPath GraphicsLineItem::shape() const
{
    const QLineF l = line();
    QPainterPath path;
    if (nearlyZero(l.x1()) && nearlyZero(l.y1()) && nearlyZero(l.x2()) && nearlyZero(l.y2()))
        return path;
    if (nearlyZero(l.x1() - l.x2()) && nearlyZero(l.y1() - l.y2())) {
        // A click without a drag: a small disc lets the new item take the
        // press that created it and lets the user pick it up later.
        path.addEllipse(QRectF(l.x1() - 2.0, l.y1() - 2.0, 4.0, 4.0));
        return path;
    }
    path.moveTo(l.p1());
    path.lineTo(l.p2());
    return shapeFromPath(path, pen());
}

void GraphicsLineItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                             QWidget *widget)
{
    Q_UNUSED(widget);
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen((option->state & QStyle::State_Selected) ? selectedPen(pen()) : pen());
    painter->drawLine(line());
}

bool GraphicsLineItem::isDrawingMode() const
{
    return currentMode == InsertLine;
}

QLineF GraphicsLineItem::sceneLine() const
{
    const QLineF l = line();
    return QLineF(mapToScene(l.p1()), mapToScene(l.p2()));
}

GraphicsTextItem *GraphicsLineItem::labelItem() const
{
    const QList<QGraphicsItem *> children = childItems();
    for (QGraphicsItem *child : children) {
        if (child->type() == GraphicsTextItem::Type)
            return static_cast<GraphicsTextItem *>(child);
    }
    return nullptr;
}

bool GraphicsLineItem::sceneEvent(QEvent *event)
{
    return lineSceneEvent(event, isDrawingMode());
}

bool GraphicsLineItem::lineSceneEvent(QEvent *event, bool drawingMode)
{
    if (!drawingMode) {
        QGraphicsLineItem::sceneEvent(event);
        return true;
    }
    switch (event->type()) {
    case QEvent::GraphicsSceneMousePress:
        ItemStyle::instance()->setDrawing(true);
        return true;
    case QEvent::GraphicsSceneMouseMove: {
        auto *me = static_cast<QGraphicsSceneMouseEvent *>(event);
        setLine(QLineF(line().p1(), mapFromScene(me->scenePos())));
        return true;
    }
    case QEvent::GraphicsSceneMouseRelease:
        ItemStyle::instance()->setDrawing(false);
        return true;
    default:
        return false;
    }
}

void GraphicsLineItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (isSelected()) {
        setFlag(QGraphicsItem::ItemIsMovable, true);
        return;
    }
    QGraphicsLineItem::mousePressEvent(event);
}

void GraphicsLineItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    setFlag(QGraphicsItem::ItemIsMovable, false);
    QGraphicsLineItem::hoverLeaveEvent(event);
}
