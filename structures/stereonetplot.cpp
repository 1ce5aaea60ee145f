#include "stereonetplot.h"

#include "stereonet.h"
#include "thinpolyline.h"

#include <QMap>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace {
// Above this many picks the great circles are drawn coarser and without
// antialiasing.
constexpr int kCrowdedPicks = 2000;
// Segments of a great circle of a crowded net.
constexpr int kCrowdedCirclePoints = 36;
} // namespace

StereonetPlot::StereonetPlot(QWidget *parent)
    : StructurePlot(parent)
{
    setWindowTitle(tr("Stereonet"));
}

void StereonetPlot::setGreatCircles(bool on)
{
    m_greatCircles = on;
    update();
}

void StereonetPlot::setSelection(const QVector<int> &selection)
{
    m_selection = selection;
    update();
}

std::optional<QPair<double, double>> StereonetPlot::meanPlane() const
{
    QVector<QPair<double, double>> planes;
    if (m_selection.isEmpty()) {
        for (const StructurePick &p : m_picks)
            planes.append(qMakePair(p.dip, p.dipDirection));
    } else {
        for (int i : m_selection)
            if (i >= 0 && i < m_picks.size())
                planes.append(qMakePair(m_picks.at(i).dip, m_picks.at(i).dipDirection));
    }
    if (planes.isEmpty())
        return std::nullopt;
    return fisherMeanPlane(planes);
}

void StereonetPlot::paintPlot(QPainter *painter, const QRectF &rect) const
{
    painter->save();
    painter->fillRect(rect, Qt::white);
    const QFontMetricsF fm(painter->font());
    const double margin = fm.height() * 1.6;
    const double radius = std::max(10.0, std::min(rect.width(), rect.height() - fm.height() * 2) / 2 - margin);
    const QPointF centre(rect.center().x(), rect.top() + margin + radius);
    // Net coordinates: x east, y north; the screen's y runs down.
    auto toScreen = [&](const QPointF &p) { return QPointF(centre.x() + p.x() * radius, centre.y() - p.y() * radius); };

    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(QColor(200, 200, 200), 0.8));
    for (int dip = 10; dip < 90; dip += 10) {
        // Equal-area rings of the poles 10°, 20° ... from the vertical.
        const double r = std::sqrt(2.0) * std::sin(dip * M_PI / 360.0) * radius;
        painter->drawEllipse(centre, r, r);
    }
    painter->drawLine(toScreen(QPointF(-1, 0)), toScreen(QPointF(1, 0)));
    painter->drawLine(toScreen(QPointF(0, -1)), toScreen(QPointF(0, 1)));
    painter->setPen(QPen(Qt::black, 1.5));
    painter->drawEllipse(centre, radius, radius);
    const QStringList letters{tr("N"), tr("E"), tr("S"), tr("W")};
    const QPointF directions[4] = {{0, 1}, {1, 0}, {0, -1}, {-1, 0}};
    for (int i = 0; i < 4; ++i) {
        const QPointF at = toScreen(directions[i] * 1.08);
        const QRectF box(at.x() - fm.height(), at.y() - fm.height() / 2, 2 * fm.height(), fm.height());
        painter->drawText(box, Qt::AlignCenter, letters.at(i));
    }

    QMap<QString, int> counts;
    if (m_greatCircles) {
        // A crowded net on a raster device keeps its circles as a picture,
        // so a repaint of the same picks (a window shown again, a new
        // selection) does not draw them all again.
        const QRectF net(centre.x() - radius - 1, centre.y() - radius - 1, 2 * radius + 2, 2 * radius + 2);
        const int device = painter->device() ? painter->device()->devType() : 0;
        const bool raster = device == QInternal::Image || device == QInternal::Widget || device == QInternal::Pixmap;
        if (m_picks.size() > kCrowdedPicks && raster && painter->worldTransform().type() <= QTransform::TxTranslate) {
            if (m_circleLayer.isNull() || m_circleLayerGeneration != m_picksGeneration || m_circleLayerNet != net) {
                drawCircleLayer(net, centre, radius);
                m_circleLayerGeneration = m_picksGeneration;
                m_circleLayerNet = net;
            }
            painter->drawImage(net.topLeft(), m_circleLayer);
        } else {
            drawGreatCircles(painter, centre, radius);
        }
    }
    const double dot = std::max(2.0, radius / 80.0);
    painter->setPen(Qt::NoPen);
    for (const StructurePick &p : m_picks) {
        ++counts[p.type];
        painter->setBrush(StructurePick::typeColour(p.type));
        painter->drawEllipse(toScreen(schmidtPole(p.dip, p.dipDirection)), dot, dot);
    }

    const std::optional<QPair<double, double>> mean = meanPlane();
    if (mean) {
        const QPointF m = toScreen(schmidtPole(mean->first, mean->second));
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(Qt::black, 2.0));
        painter->drawLine(m - QPointF(3 * dot, 0), m + QPointF(3 * dot, 0));
        painter->drawLine(m - QPointF(0, 3 * dot), m + QPointF(0, 3 * dot));
        painter->drawEllipse(m, 2 * dot, 2 * dot);
    }

    // Legend: count per type, then the mean plane.
    QString legend;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        legend += QStringLiteral("%1 %2   ").arg(it.value()).arg(StructurePick::typeName(it.key()));
    if (m_picks.isEmpty())
        legend = tr("No picks");
    else if (mean)
        legend += tr("mean %1°/%2°").arg(qRound(mean->first)).arg(qRound(mean->second), 3, 10, QLatin1Char('0'));
    else
        legend += tr("no mean: no picks of this type");
    if (leftOut() > 0)
        legend += QStringLiteral("   ") + tr("%n left out (invalid values)", nullptr, leftOut());
    painter->setPen(Qt::black);
    painter->drawText(QRectF(rect.left(), rect.bottom() - fm.height() * 1.5, rect.width(), fm.height() * 1.5),
                      Qt::AlignCenter, legend.trimmed());
    painter->restore();
    paintOrientationNote(painter, rect);
}

QMap<QString, QVector<int>> StereonetPlot::picksByType() const
{
    QMap<QString, QVector<int>> byType;
    for (int i = 0; i < m_picks.size(); ++i)
        byType[m_picks.at(i).type] << i;
    return byType;
}

void StereonetPlot::drawGreatCircles(QPainter *painter, const QPointF &centre, double radius) const
{
    auto toScreen = [&](const QPointF &p) { return QPointF(centre.x() + p.x() * radius, centre.y() - p.y() * radius); };
    // Type by type with one pen each; many circles get fewer points and a
    // cosmetic pen without antialiasing (the raster engine's fast lines),
    // which a crowded net does not show anyway.
    const bool crowded = m_picks.size() > kCrowdedPicks;
    const int points = crowded ? kCrowdedCirclePoints : 60;
    const QMap<QString, QVector<int>> byType = picksByType();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, !crowded);
    painter->setBrush(Qt::NoBrush);
    QPolygonF line;
    for (auto it = byType.cbegin(); it != byType.cend(); ++it) {
        QPen pen(StructurePick::typeColour(it.key()), crowded ? 0.0 : 1.0);
        pen.setCosmetic(crowded);
        painter->setPen(pen);
        for (int index : it.value()) {
            const StructurePick &p = m_picks.at(index);
            line.clear();
            for (const QPointF &q : schmidtGreatCircle(p.dip, p.dipDirection, points))
                line << toScreen(q);
            painter->drawPolyline(line);
        }
    }
    painter->restore();
}

void StereonetPlot::drawCircleLayer(const QRectF &net, const QPointF &centre, double radius) const
{
    // The picture of the last picks is drawn over when it has the size.
    const QSize size = net.size().toSize();
    if (m_circleLayer.size() != size || m_circleLayer.format() != QImage::Format_ARGB32_Premultiplied)
        m_circleLayer = QImage(size, QImage::Format_ARGB32_Premultiplied);
    m_circleLayer.fill(Qt::transparent);
    // As drawGreatCircles() draws a crowded net, type by type, with lines of
    // one pixel straight into the picture.
    const QMap<QString, QVector<int>> byType = picksByType();
    const QPointF origin = centre - net.topLeft();
    QPointF line[kCrowdedCirclePoints + 1];
    for (auto it = byType.cbegin(); it != byType.cend(); ++it) {
        const QRgb colour = qPremultiply(StructurePick::typeColour(it.key()).rgba());
        for (int index : it.value()) {
            const StructurePick &p = m_picks.at(index);
            schmidtGreatCircle(p.dip, p.dipDirection, kCrowdedCirclePoints, line);
            for (QPointF &q : line)
                q = QPointF(origin.x() + q.x() * radius, origin.y() - q.y() * radius);
            drawThinPolyline(m_circleLayer, line, kCrowdedCirclePoints + 1, colour);
        }
    }
}
