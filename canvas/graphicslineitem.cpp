#include "graphicslineitem.h"

#include "graphicstextitem.h"
#include "itemsupport.h"
#include "mode.h"

#include <QEvent>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

GraphicsLineItem::GraphicsLineItem(const QLineF &line, QGraphicsItem *parent)
    : QGraphicsLineItem(line, parent)
{
    setPen(ItemSupport::stylePen());
    ItemSupport::makeInteractive(this);
}

QRectF GraphicsLineItem::boundingRect() const
{
    // The hit area is 20 units wide whatever the pen; a wider pen, or the
    // square dot of a click without a drag, paints beyond it.
    const QLineF l = line();
    return QGraphicsLineItem::boundingRect() | ItemSupport::paintedRect(QRectF(l.p1(), l.p2()), pen());
}

QPainterPath GraphicsLineItem::shape() const
{
    const QLineF l = line();
    QPainterPath path;
    if (ItemSupport::isNullLine(l))
        return path;
    if (ItemSupport::samePoint(l.p1(), l.p2())) {
        // A click without a drag: a small disc lets the new item take the
        // press that created it and lets the user pick it up later.
        path.addEllipse(QRectF(l.x1() - 2.0, l.y1() - 2.0, 4.0, 4.0));
        return path;
    }
    path.moveTo(l.p1());
    path.lineTo(l.p2());
    return ItemSupport::hitShape(path, pen());
}

void GraphicsLineItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                             QWidget *widget)
{
    Q_UNUSED(widget);
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen((option->state & QStyle::State_Selected) ? ItemSupport::selectedPen(pen()) : pen());
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
    return ItemSupport::dragSceneEvent(event, [this](const QPointF &p) {
        setLine(QLineF(line().p1(), mapFromScene(p)));
    });
}

void GraphicsLineItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (!ItemSupport::pressOnSelected(this))
        QGraphicsLineItem::mousePressEvent(event);
}

void GraphicsLineItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    setFlag(QGraphicsItem::ItemIsMovable, false);
    QGraphicsLineItem::hoverLeaveEvent(event);
}
