#include "graphicstopscaleitem.h"

#include "itemsupport.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLine>
#include <QPainter>
#include <QtMath>

GraphicsTopScaleItem::GraphicsTopScaleItem(const QLineF &line, QGraphicsItem *parent)
    : QGraphicsLineItem(line, parent)
{
    m_labels << QStringLiteral("N") << QStringLiteral("E") << QStringLiteral("S")
             << QStringLiteral("W") << QStringLiteral("N");
}

bool GraphicsTopScaleItem::isNullLine() const
{
    return ItemSupport::isNullLine(line());
}

QVector<QLineF> GraphicsTopScaleItem::tickLines() const
{
    QVector<QLineF> ticks;
    if (isNullLine())
        return ticks;
    const QLineF l = line();
    const double step = l.length() / 4.0;
    for (int k = 0; k <= 4; ++k) {
        const QPointF p(l.x1() + k * step, l.y1());
        ticks << QLineF(p, QPointF(p.x(), p.y() - m_tickHeight + 10.0));
    }
    return ticks;
}

QVector<QPointF> GraphicsTopScaleItem::labelPositions() const
{
    QVector<QPointF> positions;
    if (isNullLine())
        return positions;
    const QLineF l = line();
    const double step = l.length() / 4.0;
    for (int k = 0; k < m_labels.size() && k <= 4; ++k) {
        const QPointF p(l.x1() + k * step, l.y1());
        if (k == 0)
            positions << QPointF(p.x(), p.y() - 20.0);
        else if (k == 4)
            positions << QPointF(p.x() - 50.0, p.y() - 20.0);
        else
            positions << QPointF(p.x() - 35.0, p.y() - 20.0);
    }
    return positions;
}

QFont GraphicsTopScaleItem::labelFont()
{
    return QFont(QStringLiteral("Times"), 60, QFont::Bold, false);
}

QVector<int> GraphicsTopScaleItem::shownLabels(const QFontMetricsF &metrics) const
{
    const QVector<QPointF> positions = labelPositions();
    if (positions.isEmpty())
        return {};
    // On a narrow image the letters would run together: keep N, S, N, then
    // the two Ns, then the first N alone, whichever is the first to leave a
    // gap between neighbours.
    const double gap = metrics.horizontalAdvance(QLatin1Char(' '));
    for (int stride : {1, 2, 4}) {
        QVector<int> shown;
        double previousRight = -qInf();
        bool clear = true;
        for (int k = 0; k < positions.size(); k += stride) {
            const double left = positions.at(k).x();
            if (left < previousRight + gap) {
                clear = false;
                break;
            }
            previousRight = left + metrics.horizontalAdvance(m_labels.at(k));
            shown << k;
        }
        if (clear)
            return shown;
    }
    return {0};
}

QRectF GraphicsTopScaleItem::boundingRect() const
{
    const QLineF l = line();
    return QRectF(l.x1(), l.y1() - 120.0, l.length(), 120.0);
}

void GraphicsTopScaleItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                                 QWidget *widget)
{
    Q_UNUSED(option)
    Q_UNUSED(widget)
    if (isNullLine())
        return;

    const QFont font = labelFont();
    painter->setFont(font);

    painter->drawLines(tickLines());

    const QVector<QPointF> positions = labelPositions();
    for (int k : shownLabels(QFontMetricsF(font, painter->device())))
        painter->drawText(positions.at(k), m_labels.at(k));

    const QLineF l = line();
    painter->drawLine(QLine(int(l.x1()), int(l.y1() - 1.0), int(l.x2()), int(l.y2() - 1.0)));
}
