#include "graphicsruleritem.h"

#include "globals.h"
#include "itemstyle.h"
#include "itemsupport.h"
#include "mode.h"

#include <QEvent>
#include <QFont>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionGraphicsItem>
#include <QtMath>

namespace {

bool scaleKnown()
{
    return qIsFinite(pixelsPerUnit) && pixelsPerUnit > 0.0;
}

// Scene units per depth unit; 1 while no project has given a usable factor.
double pixelFactor()
{
    return scaleKnown() ? pixelsPerUnit : 1.0;
}

QFont labelFont()
{
    return QFont(QStringLiteral("Times"), 40, 75, false);
}

// Room to the right of the chain for the labels when they are short.
constexpr double kLabelRoom = 600.0;

} // namespace

GraphicsRulerItem::GraphicsRulerItem(const QPointF &p, const QColor &labelColor,
                                     QGraphicsItem *parent)
    : QGraphicsPolygonItem(parent), m_labelColor(labelColor)
{
    m_points << p;
    setPoints(m_points);
    setPen(ItemSupport::stylePen());
    ItemSupport::makeInteractive(this);
}

void GraphicsRulerItem::setPoints(const QPolygonF &polygon)
{
    m_markers.clear();
    m_markers.reserve(polygon.size());
    for (const QPointF &pt : polygon)
        m_markers.append(QRegion(int(pt.x() - 4.0), int(pt.y() - 4.0), 8, 8));
    setPolygon(polygon);
}

QVector<double> GraphicsRulerItem::runningDistances() const
{
    const QPolygonF poly = polygon();
    const double factor = pixelFactor();
    QVector<double> result;
    result.reserve(poly.size());
    double sum = 0.0;
    for (int i = 0; i < poly.size(); ++i) {
        const QPointF prev = poly.at(i > 0 ? i - 1 : 0);
        sum += QLineF(prev, poly.at(i)).length() / factor;
        result.append(sum);
    }
    return result;
}

double GraphicsRulerItem::total() const
{
    const QVector<double> d = runningDistances();
    return d.isEmpty() ? 0.0 : d.last();
}

QStringList GraphicsRulerItem::labelTexts() const
{
    const QVector<double> d = runningDistances();
    // Without a project scale (a plain picture) distances are known in
    // pixels only; they are not shown as metres.
    const bool known = scaleKnown();
    QStringList texts;
    for (int i = 0; i < d.size(); ++i) {
        const QString value = known
            ? QString::number(d.at(i) / kDepthUnitsPerMetre, 'f', 2) + "m"
            : tr("unknown (no project scale, %1 pixels)").arg(qRound64(d.at(i)));
        texts << (i == d.size() - 1 ? tr("Total:") + value : value);
    }
    return texts;
}

QRectF GraphicsRulerItem::boundingRect() const
{
    // A lone point has no stroke: its hit circle places the labels.
    const QPolygonF poly = polygon();
    const QRectF r = poly.size() == 1
                         ? shape().boundingRect()
                         : ItemSupport::hitStroke(ItemSupport::polylinePath(poly), pen()).boundingRect();
    // The labels start 16 units right of their point; a long label (no
    // project scale) gets the room it needs.
    double room = kLabelRoom;
    const QFontMetricsF metrics(labelFont());
    for (const QString &text : labelTexts())
        room = qMax(room, 16.0 + metrics.horizontalAdvance(text) + 100.0);
    return QRectF(r.x() - 100.0, r.y() - 100.0, int(r.width() + room), int(r.height() + 500.0));
}

QPainterPath GraphicsRulerItem::shape() const
{
    const QPolygonF poly = polygon();
    if (poly.size() == 1) {
        QPainterPath path;
        path.addEllipse(QRectF(poly.first().x() - 3.0, poly.first().y() - 3.0, 6.0, 6.0));
        return path;
    }
    return ItemSupport::hitShape(ItemSupport::polylinePath(poly), pen());
}

void GraphicsRulerItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                              QWidget *widget)
{
    Q_UNUSED(widget);
    m_total = 0.0;
    painter->setRenderHint(QPainter::Antialiasing, true);

    QPen linePen(QBrush(Qt::yellow), pen().widthF() + 2.0,
                 (option->state & QStyle::State_Selected) ? Qt::DashLine : Qt::SolidLine);
    painter->setPen(linePen);
    painter->drawPolyline(polygon());

    painter->setFont(labelFont());

    const QVector<double> distances = runningDistances();
    const QStringList texts = labelTexts();
    const int n = m_markers.size();
    for (int i = 0; i < n && i < distances.size(); ++i) {
        const QRect r = m_markers.at(i).boundingRect();
        painter->setPen(QPen(QBrush(Qt::black), 0));
        painter->setBrush(QBrush(Qt::blue, Qt::SolidPattern));
        painter->drawRect(r);
        painter->setBrush(QBrush(Qt::white, Qt::SolidPattern));

        m_total = distances.at(i);
        painter->setPen(m_labelColor);
        if (i == n - 1)
            painter->drawText(QPointF(r.left() + 20, r.top() + 40), texts.at(i));
        else
            painter->drawText(QPointF(r.left() + 20, r.top() + 30), texts.at(i));
    }
    painter->setBrush(Qt::NoBrush);
}

void GraphicsRulerItem::preview(const QPointF &p)
{
    QPolygonF shown = m_points;
    shown << p;
    setPoints(shown);
}

bool GraphicsRulerItem::sceneEvent(QEvent *event)
{
    ItemSupport::noteUngrab(event, &m_grabbing);
    if (currentMode != InsertRuler) {
        QGraphicsPolygonItem::sceneEvent(event);
        return true;
    }
    switch (event->type()) {
    case QEvent::GraphicsSceneMousePress: {
        auto *me = static_cast<QGraphicsSceneMouseEvent *>(event);
        // Keep the mouse between clicks. The scene's own grab for this press
        // is implicit and would end with the release; grabbing turns it into
        // a lasting one.
        ItemSupport::grabMouseOnce(this, &m_grabbing);
        ItemStyle::instance()->setDrawing(true);
        const QPointF p = mapFromScene(me->scenePos());
        if (!m_points.isEmpty() && ItemSupport::samePoint(p, m_points.last()))
            return true;
        preview(p);
        return true;
    }
    case QEvent::GraphicsSceneMouseMove: {
        auto *me = static_cast<QGraphicsSceneMouseEvent *>(event);
        if (me->buttons() & Qt::LeftButton) {
            const QPointF p = mapFromScene(me->scenePos());
            if (m_points.isEmpty() || !ItemSupport::samePoint(p, m_points.last()))
                preview(p);
            else
                setPoints(m_points);
        }
        return true;
    }
    case QEvent::GraphicsSceneMouseRelease: {
        auto *me = static_cast<QGraphicsSceneMouseEvent *>(event);
        const QPointF p = mapFromScene(me->scenePos());
        if (!m_points.isEmpty() && ItemSupport::samePoint(p, m_points.last()))
            return true;
        m_points << p;
        setPoints(m_points);
        return true;
    }
    default:
        return false;
    }
}

void GraphicsRulerItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (!ItemSupport::pressOnSelected(this))
        QGraphicsPolygonItem::mousePressEvent(event);
}

void GraphicsRulerItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    setFlag(QGraphicsItem::ItemIsMovable, false);
    QGraphicsPolygonItem::hoverLeaveEvent(event);
}
