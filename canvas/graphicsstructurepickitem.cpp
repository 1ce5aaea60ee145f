#include "graphicsstructurepickitem.h"

#include "depthmodel.h"

#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QVarLengthArray>
#include <QtMath>
#include <cmath>

namespace {

// Depths on the page are placed by the depth model at the page's scale.
DepthModel pageModel(const GraphicsStructurePickItem::Page &page)
{
    return DepthModel(0, page.pixelsPerUnit, page.width);
}

double sceneY(const GraphicsStructurePickItem::Page &page, double depth)
{
    return page.top + pageModel(page).pageRowAt(int(std::lround(page.pageStart)), depth);
}

constexpr double kHandle = 10.0;   // half size of a point's square
constexpr double kHitWidth = 14.0; // band around the curve that picks the item up
constexpr int kLabelPixels = int(GraphicsStructurePickItem::labelHeight());
}

GraphicsStructurePickItem::GraphicsStructurePickItem(const Page &page, QGraphicsItem *parent)
    : QGraphicsItem(parent)
    , m_page(page)
{
    setFlag(QGraphicsItem::ItemIsSelectable);
    setAcceptHoverEvents(true);
}

GraphicsStructurePickItem::GraphicsStructurePickItem(const Page &page, const StructurePick &pick,
                                                     QGraphicsItem *parent)
    : GraphicsStructurePickItem(page, parent)
{
    m_id = pick.id;
    m_type = pick.type;
    m_comment = pick.comment;
    if (page.width > 0 && page.pixelsPerUnit > 0.0) {
        QPolygonF points;
        for (double azimuth : {45.0, 135.0, 225.0, 315.0}) {
            const double depth =
                pick.depth + pick.amplitude * std::cos((azimuth - pick.dipDirection) * M_PI / 180.0);
            points << QPointF(page.left + azimuth / 360.0 * page.width,
                              sceneY(page, depth));
        }
        setPoints(points);
    }
}

QPointF GraphicsStructurePickItem::clampToColumn(const QPointF &p) const
{
    return QPointF(std::clamp(p.x(), m_page.left, m_page.left + std::max(0, m_page.width)), p.y());
}

QPointF GraphicsStructurePickItem::toFitPoint(const QPointF &scenePos) const
{
    const double azimuth = (scenePos.x() - m_page.left) / m_page.width * 360.0;
    const double depth = pageModel(m_page).pageDepth(int(std::lround(m_page.pageStart)), scenePos.y() - m_page.top);
    return QPointF(azimuth, depth);
}

void GraphicsStructurePickItem::addPoint(const QPointF &scenePos)
{
    QPolygonF points = m_points;
    points << clampToColumn(scenePos);
    setPoints(points);
}

void GraphicsStructurePickItem::setPoints(const QPolygonF &points)
{
    m_points.clear();
    for (const QPointF &p : points)
        m_points << clampToColumn(p);
    refit();
}

void GraphicsStructurePickItem::refit()
{
    prepareGeometryChange();
    m_fit = SinusoidFit();
    if (m_page.width > 0 && m_page.pixelsPerUnit > 0.0) {
        QVector<QPointF> fitPoints;
        for (const QPointF &p : qAsConst(m_points))
            fitPoints << toFitPoint(p);
        m_fit = fitSinusoid(fitPoints, m_page.diameter);
    }
    m_bounds = bounds();
    update();
}

QPolygonF GraphicsStructurePickItem::curvePolygon(double levelOfDetail) const
{
    QPolygonF curve;
    if (!m_fit.valid)
        return curve;
    const double detail = std::min(1.0, levelOfDetail);
    const double centre = sceneY(m_page, m_fit.depth);
    const double amplitude = m_fit.amplitude * m_page.pixelsPerUnit;
    // A trace less than half a screen pixel high is a straight line.
    if (std::fabs(amplitude) * detail < 0.5) {
        curve << QPointF(m_page.left, centre) << QPointF(m_page.left + m_page.width, centre);
        return curve;
    }
    // A point every 4 scene pixels at full size, every 6 screen pixels from
    // afar, where the many traces of a page are seen at once.
    const double spacing = detail >= 1.0 ? 4.0 : 6.0;
    const int steps = std::max(8, int(m_page.width * detail / spacing));
    curve.reserve(steps + 1);
    // cos(azimuth - dip direction), stepped by rotation.
    const double step = 2.0 * M_PI / steps;
    const double stepCos = std::cos(step);
    const double stepSin = std::sin(step);
    double c = std::cos(-qDegreesToRadians(m_fit.dipDirection));
    double s = std::sin(-qDegreesToRadians(m_fit.dipDirection));
    for (int i = 0; i <= steps; ++i) {
        curve << QPointF(m_page.left + double(m_page.width) * i / steps, centre + amplitude * c);
        const double next = c * stepCos - s * stepSin;
        s = s * stepCos + c * stepSin;
        c = next;
    }
    return curve;
}

StructurePick GraphicsStructurePickItem::pick() const
{
    StructurePick p;
    p.id = m_id;
    p.depth = m_fit.depth;
    p.dip = m_fit.dip;
    p.dipDirection = m_fit.dipDirection;
    p.amplitude = m_fit.amplitude;
    p.type = m_type;
    p.comment = m_comment;
    return p;
}

void GraphicsStructurePickItem::setPickType(const QString &type)
{
    m_type = type;
    update();
}

void GraphicsStructurePickItem::setComment(const QString &comment)
{
    m_comment = comment;
    update();
}

QString GraphicsStructurePickItem::label() const
{
    if (!m_fit.valid)
        return QString();
    // Rounded first: a fit a hair above 0 m reads 0.00 m, not -0.00 m.
    const double metres = std::round(m_fit.depth / 100.0) / 100.0 + 0.0;
    return QStringLiteral("%1 m  %2°/%3°")
        .arg(metres, 0, 'f', 2)
        .arg(qRound(m_fit.dip))
        .arg(qRound(m_fit.dipDirection) % 360, 3, 10, QLatin1Char('0'));
}

void GraphicsStructurePickItem::setLabelShown(bool shown)
{
    if (shown == m_labelShown)
        return;
    m_labelShown = shown;
    update();
}

QRectF GraphicsStructurePickItem::bounds() const
{
    QRectF r;
    if (m_fit.valid) {
        // The trace spans the column between z0 - |A| and z0 + |A|.
        const double amplitude = std::fabs(m_fit.amplitude);
        const double top = m_page.top + (m_fit.depth - amplitude - m_page.pageStart) * m_page.pixelsPerUnit;
        const double bottom = m_page.top + (m_fit.depth + amplitude - m_page.pageStart) * m_page.pixelsPerUnit;
        r = QRectF(QPointF(m_page.left, std::min(top, bottom)),
                   QPointF(m_page.left + std::max(0, m_page.width), std::max(top, bottom)));
        // The label stands right of the image column at the trace's centre depth.
        const double y = sceneY(m_page, m_fit.depth);
        r |= QRectF(m_page.left + m_page.width + 4, y - 60, 1000, 120);
    }
    for (const QPointF &p : m_points)
        r |= QRectF(p.x() - kHandle, p.y() - kHandle, 2 * kHandle, 2 * kHandle);
    return r.adjusted(-kHitWidth, -kHitWidth, kHitWidth, kHitWidth);
}

QRectF GraphicsStructurePickItem::boundingRect() const
{
    return m_bounds;
}

QPainterPath GraphicsStructurePickItem::shape() const
{
    QPainterPathStroker stroker;
    stroker.setWidth(kHitWidth);
    QPainterPath curve;
    curve.addPolygon(curvePolygon());
    QPainterPath shape = stroker.createStroke(curve);
    for (const QPointF &p : m_points)
        shape.addRect(QRectF(p.x() - kHandle, p.y() - kHandle, 2 * kHandle, 2 * kHandle));
    return shape;
}

void GraphicsStructurePickItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *)
{
    // Many picks are seen from afar: fewer points, a plain thin line where the
    // trace is no thicker than a screen pixel, and no unreadable label.
    const double detail = option ? option->levelOfDetailFromTransform(painter->worldTransform()) : 1.0;
    const QColor colour = StructurePick::typeColour(m_type);
    const bool thin = 3.0 * detail <= 1.0;
    painter->setRenderHint(QPainter::Antialiasing, !thin);
    QPen pen(colour, thin ? 0.0 : 3.0);
    if (isSelected())
        pen.setStyle(Qt::DashLine);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    // The raster engine draws thin lines an order of magnitude faster
    // under a clip than without one; the item's bounds clip nothing of it.
    painter->setClipRect(m_bounds, Qt::IntersectClip);
    const QPolygonF curve = curvePolygon(detail);
    if (!curve.isEmpty())
        painter->drawPolyline(curve);
    // The points are handles to drag: drawn on a selected pick, and on the
    // others only where they are large enough to be seen as such.
    if (isSelected() || kHandle * detail >= 3.0) {
        painter->setPen(QPen(Qt::black, thin ? 0.0 : 1.0));
        painter->setBrush(colour);
        QVarLengthArray<QRectF, 8> handles;
        for (const QPointF &p : m_points)
            handles.append(QRectF(p.x() - kHandle, p.y() - kHandle, 2 * kHandle, 2 * kHandle));
        painter->drawRects(handles.constData(), handles.size());
    }
    if (m_fit.valid && (m_labelShown || isSelected()) && kLabelPixels * detail >= 4) {
        // As large as the measurement labels beside the page; one font and
        // its metrics for every pick.
        static const QFont font = [] {
            QFont f;
            f.setPixelSize(kLabelPixels);
            f.setBold(true);
            return f;
        }();
        static const double baseline = [] {
            const QFontMetricsF metrics(font);
            return (metrics.ascent() - metrics.descent()) / 2.0;
        }();
        const double y = sceneY(m_page, m_fit.depth);
        painter->setFont(font);
        painter->setPen(colour);
        QString text = label();
        if (!m_comment.isEmpty()) {
            // A long comment stops at the item's bounds.
            painter->setClipRect(QRectF(m_page.left + m_page.width + 8, y - 60, 990, 120), Qt::IntersectClip);
            text += QStringLiteral("  ") + m_comment;
        }
        painter->drawText(QPointF(m_page.left + m_page.width + 8, y + baseline), text);
    }
}

void GraphicsStructurePickItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_dragged = -1;
    m_moved = false;
    if (isSelected() && event->button() == Qt::LeftButton) {
        for (int i = 0; i < m_points.size(); ++i) {
            if (QLineF(m_points.at(i), event->scenePos()).length() <= kHandle * 1.5) {
                m_dragged = i;
                event->accept();
                return;
            }
        }
    }
    QGraphicsItem::mousePressEvent(event);
}

void GraphicsStructurePickItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_dragged >= 0 && m_dragged < m_points.size()) {
        QPolygonF points = m_points;
        points[m_dragged] = event->scenePos();
        setPoints(points);
        m_moved = true;
        return;
    }
    QGraphicsItem::mouseMoveEvent(event);
}

void GraphicsStructurePickItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    const bool moved = m_moved && m_dragged >= 0;
    m_dragged = -1;
    m_moved = false;
    QGraphicsItem::mouseReleaseEvent(event);
    if (moved && m_changed)
        m_changed(this);
}

void GraphicsStructurePickItem::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_edit) {
        m_edit(this);
        event->accept();
        return;
    }
    QGraphicsItem::mouseDoubleClickEvent(event);
}
