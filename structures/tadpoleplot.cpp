#include "tadpoleplot.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

TadpolePlot::TadpolePlot(QWidget *parent)
    : StructurePlot(parent)
{
    setWindowTitle(tr("Tadpole plot"));
}

void TadpolePlot::setDepthRange(double from, double to)
{
    m_from = from;
    m_to = to;
    update();
}

void TadpolePlot::paintPlot(QPainter *painter, const QRectF &rect) const
{
    painter->save();
    painter->fillRect(rect, Qt::white);
    painter->setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF fm(painter->font());
    const QRectF area = rect.adjusted(fm.horizontalAdvance(QStringLiteral("0000.00")) + 8, fm.height() * 2,
                                      -10, -fm.height());
    if (area.width() < 10 || area.height() < 10) {
        painter->restore();
        return;
    }

    double from = m_from;
    double to = m_to;
    if (!(to > from)) {
        from = to = 0.0;
        if (!m_picks.isEmpty()) {
            auto [lo, hi] = std::minmax_element(m_picks.cbegin(), m_picks.cend(),
                [](const StructurePick &a, const StructurePick &b) { return a.depth < b.depth; });
            from = lo->depth - 5000.0;
            to = hi->depth + 5000.0;
        } else {
            to = 10000.0;
        }
    }
    auto yOf = [&](double depth) { return area.top() + (depth - from) / (to - from) * area.height(); };
    auto xOf = [&](double dip) { return area.left() + dip / 90.0 * area.width(); };

    painter->setPen(QPen(QColor(210, 210, 210), 0.8));
    for (int dip = 0; dip <= 90; dip += 10)
        painter->drawLine(QPointF(xOf(dip), area.top()), QPointF(xOf(dip), area.bottom()));
    painter->setPen(Qt::black);
    for (int dip = 0; dip <= 90; dip += 30)
        painter->drawText(QRectF(xOf(dip) - 20, area.top() - fm.height() * 1.6, 40, fm.height()),
                          Qt::AlignCenter, QStringLiteral("%1°").arg(dip));
    painter->drawText(QRectF(area.left(), rect.top(), area.width(), fm.height() * 0.9), Qt::AlignCenter,
                      m_trueOrientation ? tr("True dip (°)") : tr("Dip against the hole (°)"));
    // Depth labels in metres at a round step giving about eight labels.
    const double spanMetres = (to - from) / 10000.0;
    double step = std::pow(10.0, std::floor(std::log10(std::max(spanMetres / 8.0, 1e-4))));
    if (spanMetres / step > 16)
        step *= 5;
    else if (spanMetres / step > 8)
        step *= 2;
    for (double m = std::ceil(from / 10000.0 / step) * step; m <= to / 10000.0 + 1e-9; m += step) {
        const double y = yOf(m * 10000.0);
        painter->setPen(QPen(QColor(230, 230, 230), 0.8));
        painter->drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter->setPen(Qt::black);
        painter->drawText(QRectF(rect.left(), y - fm.height() / 2, area.left() - rect.left() - 4, fm.height()),
                          Qt::AlignRight | Qt::AlignVCenter, QString::number(m, 'f', step < 0.1 ? 2 : 1));
    }
    painter->drawRect(area);

    const double dot = std::max(3.0, fm.height() / 4);
    const double tail = dot * 4;
    for (const StructurePick &p : m_picks) {
        if (p.depth < from || p.depth > to)
            continue;
        const QPointF at(xOf(std::clamp(p.dip, 0.0, 90.0)), yOf(p.depth));
        const double a = p.dipDirection * M_PI / 180.0;
        const QColor colour = StructurePick::typeColour(p.type);
        painter->setPen(QPen(colour, 1.5));
        painter->drawLine(at, at + QPointF(std::sin(a) * tail, -std::cos(a) * tail));
        painter->setBrush(colour);
        painter->drawEllipse(at, dot, dot);
    }
    painter->restore();
}
