#include "graphicsdipitem.h"

#include "itemstyle.h"
#include "itemsupport.h"
#include "mode.h"

#include <QGraphicsSceneMouseEvent>

GraphicsDipItem::GraphicsDipItem(const QPointF &p, QGraphicsItem *parent)
    : GraphicsAngleItem(p, parent)
{
}

double GraphicsDipItem::zeroArmAngle(double a, double c) const
{
    Q_UNUSED(c)
    // A vertical drag has an empty horizontal leg: the line stands at 90
    // degrees to the image's horizontal. A drag back to its start shows 0.
    return a > 1e-12 ? 90.0 : 0.0;
}

bool GraphicsDipItem::sceneEvent(QEvent *event)
{
    ItemSupport::noteUngrab(event, &m_explicitGrab);
    if (currentMode != InsertDip) {
        QGraphicsPolygonItem::sceneEvent(event);
        return true;
    }

    switch (event->type()) {
    case QEvent::GraphicsSceneMousePress:
        // Held explicitly so that a click without a drag still leaves the
        // next drag to this item.
        ItemSupport::grabMouseOnce(this, &m_explicitGrab);
        ItemStyle::instance()->setDrawing(true);
        return true;
    case QEvent::GraphicsSceneMouseMove:
        m_points[1] = static_cast<QGraphicsSceneMouseEvent *>(event)->scenePos();
        setPolygon(m_points);
        ItemStyle::instance()->setDrawing(false);
        return true;
    case QEvent::GraphicsSceneMouseRelease:
        if (isUnset(m_points.at(1)))
            return true; // no drag yet: nothing to complete
        m_points[2] = QPointF(m_points.at(0).x(), m_points.at(1).y());
        setPolygon(m_points);
        ItemSupport::releaseMouseGrab(this, &m_explicitGrab);
        return true;
    default:
        return false;
    }
}
