#include "qgraphicsgridlineitem.h"
#include "itemstyle.h"
#include "itemsupport.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QtMath>

namespace {

// One millimetre at 96 dots per inch, used while no pixel factor is known.
constexpr double kFallbackStep = 3.7795275590551185;
// More lines than this in one direction means a degenerate step; such a grid
// is not drawn rather than flooding the painter.
constexpr double kMaxLines = 100000.0;

// Positions (offsets from the rectangle's start) of the inner lines along
// one side of length extent with cells of size d.
QVector<double> linePositions(double extent, float d)
{
    QVector<double> positions;
    if (!(d > 0.0f) || !qIsFinite(d) || !(extent > 0.0) || extent / d > kMaxLines)
        return positions;
    int count = qRound(extent / d);
    if (extent > double(d) * count)
        ++count;
    if (count <= 1)
        return positions;
    for (int i = 1; i < count; ++i) {
        const double offset = i * double(d);
        if (offset > extent)
            break;
        positions << offset;
    }
    return positions;
}

} // namespace

QGraphicsGridLineItem::QGraphicsGridLineItem(double unit, const QRectF &rect, QGraphicsItem *parent)
    : QGraphicsRectItem(rect, parent)
{
    setPen(ItemSupport::stylePen());
    setAcceptHoverEvents(true);
    // An overlay, not a drawing: presses fall through to the items below it
    // or to the view (which then scrolls), and it can neither be selected
    // nor deleted.
    setFlag(QGraphicsItem::ItemIsSelectable, false);
    setAcceptedMouseButtons(Qt::NoButton);
    setUnit(unit);
}

void QGraphicsGridLineItem::setUnit(double unit)
{
    m_step = qAbs(unit) >= 1e-6 ? unit * 10.0 : kFallbackStep;
}

QVector<QLineF> QGraphicsGridLineItem::gridLines(const QRectF &rect, double step, const QSize &cells)
{
    QVector<QLineF> lines;
    const float dx = float(step * cells.width());
    for (double off : linePositions(rect.width(), dx)) {
        const double x = rect.x() + off;
        lines << QLineF(x, rect.y(), x, rect.y() + rect.height());
    }
    const float dy = float(step * cells.height());
    for (double off : linePositions(rect.height(), dy)) {
        const double y = rect.y() + off;
        lines << QLineF(rect.x(), y, rect.x() + rect.width(), y);
    }
    return lines;
}

QRectF QGraphicsGridLineItem::boundingRect() const
{
    return QGraphicsRectItem::boundingRect();
}

QPainterPath QGraphicsGridLineItem::shape() const
{
    QPainterPath path;
    path.addEllipse(boundingRect());
    return path;
}

void QGraphicsGridLineItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                                  QWidget *widget)
{
    Q_UNUSED(option)
    Q_UNUSED(widget)
    const QPen previous = painter->pen();
    QPen pen(previous.color());
    pen.setWidthF(0.5);
    painter->setPen(pen);
    painter->drawLines(gridLines(rect(), m_step, ItemStyle::instance()->gridSize()));
    painter->setPen(previous);
}
