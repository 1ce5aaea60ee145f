#include "roseplot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

RosePlot::RosePlot(QWidget *parent)
    : StructurePlot(parent)
{
    setWindowTitle(tr("Rose diagram"));
}

QVector<int> RosePlot::binCounts(const QVector<double> &directions, int binDegrees)
{
    if (binDegrees <= 0 || 360 % binDegrees != 0)
        binDegrees = 10;
    QVector<int> bins(360 / binDegrees, 0);
    for (double d : directions) {
        if (!std::isfinite(d))
            continue;
        double a = std::fmod(d, 360.0);
        if (a < 0.0)
            a += 360.0;
        const int bin = std::min(int(a / binDegrees), bins.size() - 1);
        ++bins[bin];
    }
    return bins;
}

void RosePlot::paintPlot(QPainter *painter, const QRectF &rect) const
{
    painter->save();
    painter->fillRect(rect, Qt::white);
    painter->setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF fm(painter->font());
    const double margin = fm.height() * 1.6;
    const double radius = std::max(10.0, std::min(rect.width(), rect.height()) / 2 - margin);
    const QPointF centre = rect.center();

    QVector<double> directions;
    for (const StructurePick &p : m_picks)
        directions.append(p.dipDirection);
    const QVector<int> bins = binCounts(directions, 10);
    const int most = *std::max_element(bins.cbegin(), bins.cend());

    painter->setPen(QPen(QColor(200, 200, 200), 0.8));
    for (int ring = 1; ring <= 4; ++ring)
        painter->drawEllipse(centre, radius * ring / 4, radius * ring / 4);
    painter->setPen(QPen(Qt::black, 1.5));
    painter->drawEllipse(centre, radius, radius);
    const QStringList letters{tr("N"), tr("E"), tr("S"), tr("W")};
    for (int i = 0; i < 4; ++i) {
        const double a = i * M_PI / 2;
        const QPointF at(centre.x() + std::sin(a) * radius * 1.08, centre.y() - std::cos(a) * radius * 1.08);
        painter->drawText(QRectF(at.x() - fm.height(), at.y() - fm.height() / 2, 2 * fm.height(), fm.height()),
                          Qt::AlignCenter, letters.at(i));
    }

    if (most > 0) {
        painter->setPen(QPen(QColor(120, 20, 20), 1.0));
        painter->setBrush(QColor(220, 30, 30, 160));
        for (int k = 0; k < bins.size(); ++k) {
            if (!bins[k])
                continue;
            const double r = radius * bins[k] / most;
            // Qt's angles run anticlockwise from east; azimuths clockwise from north.
            QPainterPath petal(centre);
            petal.arcTo(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 90.0 - k * 10.0, -10.0);
            petal.closeSubpath();
            painter->drawPath(petal);
        }
    }
    painter->setPen(Qt::black);
    painter->drawText(QRectF(rect.left(), rect.bottom() - fm.height() * 1.5, rect.width(), fm.height() * 1.5),
                      Qt::AlignCenter,
                      (most > 0 ? tr("Dip directions, %n pick(s), 10° bins, fullest bin %1", nullptr, m_picks.size()).arg(most)
                                : tr("No picks"))
                          + (leftOut() > 0 ? QStringLiteral("   ") + tr("%n left out (invalid values)", nullptr, leftOut())
                                           : QString()));
    painter->restore();
    paintOrientationNote(painter, rect);
}
