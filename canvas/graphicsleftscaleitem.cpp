#include "graphicsleftscaleitem.h"

#include "itemsupport.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLine>
#include <QPainter>
#include <QtMath>

namespace {

// Depth units between two ticks of the run (2 cm).
constexpr double kTickDepth = 200.0;
// Depth units per metre for the labels.
constexpr double kLabelDivisor = 10000.0;
// A page needing more run ticks than this has a degenerate depth range;
// such a scale gets no run at all instead of stalling the painter.
constexpr double kMaxRunTicks = 200000.0;
// Labels end this far left of the scale line, clear of the 36-unit major
// ticks and of the image.
constexpr double kLabelClearance = 40.0;

} // namespace

QFont GraphicsLeftScaleItem::labelFont()
{
    return QFont(QStringLiteral("Times"), 60, QFont::Bold, false);
}

int GraphicsLeftScaleItem::labelStride(double labelHeight) const
{
    // Labels 10 cm apart would touch: label every 2nd, 5th, 10th, 20th, ...
    // 10 cm mark instead, whichever is the first to leave room.
    const double tenCm = 5.0 * m_tickSpacing;
    if (!(tenCm > 0.0) || !qIsFinite(tenCm) || !(labelHeight > 0.0))
        return 1;
    const double room = labelHeight * 1.125;
    static const int steps[] = {1, 2, 5};
    for (int decade = 1; decade <= 100000; decade *= 10) {
        for (int step : steps) {
            if (step * decade * tenCm >= room)
                return step * decade;
        }
    }
    return 1000000;
}

GraphicsLeftScaleItem::GraphicsLeftScaleItem(QGraphicsItem *parent)
    : QGraphicsLineItem(QLineF(), parent)
{
}

void GraphicsLeftScaleItem::setStartDepth(double start)
{
    m_startDepth = start;
}

void GraphicsLeftScaleItem::setEndDepth(double end)
{
    m_endDepth = end;
    const double span = (m_endDepth - m_startDepth) / kTickDepth;
    // An empty depth range has no spacing (rather than an infinite one).
    m_tickSpacing = qFuzzyIsNull(span) ? 0.0 : line().length() / span;
    if (!qIsFinite(m_tickSpacing))
        m_tickSpacing = 0.0;
}

bool GraphicsLeftScaleItem::hasUsableSpacing() const
{
    return qIsFinite(m_tickSpacing) && m_tickSpacing != 0.0;
}

double GraphicsLeftScaleItem::depthToY(int depth) const
{
    return (depth - m_startDepth) / kTickDepth * m_tickSpacing + 120.0;
}

int GraphicsLeftScaleItem::yToDepth(int y) const
{
    if (!hasUsableSpacing())
        return int(m_startDepth);
    return int(y / m_tickSpacing * kTickDepth + m_startDepth);
}

double GraphicsLeftScaleItem::pixelsPerDepthUnit() const
{
    return m_tickSpacing / kTickDepth;
}

bool GraphicsLeftScaleItem::isNullLine() const
{
    return ItemSupport::isNullLine(line());
}

QVector<GraphicsLeftScaleItem::Tick> GraphicsLeftScaleItem::ticks(double labelHeight) const
{
    QVector<Tick> result;
    if (isNullLine())
        return result;

    const QLineF l = line();
    const int x0 = int(l.x1());
    const int y0 = int(l.y1());
    const int len = int(l.length());

    // The run of ticks every 2 cm from the top. It stops short of the bottom
    // end, where the end tick is drawn: a run tick closer to the end than a
    // quarter spacing would double it, and a run label that reaches into the
    // end label's line is dropped (its tick stays).
    if (m_tickSpacing > 0.0 && qIsFinite(m_tickSpacing) && len / m_tickSpacing <= kMaxRunTicks) {
        const double endGap = m_tickSpacing / 4.0;
        const double labelGap = 60.0 + labelHeight; // end label baseline is 20 above,
                                                    // run labels 40 below their tick
        const int labelEvery = 5 * labelStride(labelHeight); // in run ticks
        for (int i = 0;; ++i) {
            const double offset = i * m_tickSpacing;
            if (len - offset < endGap)
                break;
            const double y = y0 + offset;
            Tick t;
            if (i % 5 == 0) {
                t.line = QLineF(x0, y, x0 - 36, y);
                if (i % labelEvery == 0 && len - offset >= labelGap) {
                    const double value = m_startDepth / kLabelDivisor + i * kTickDepth / kLabelDivisor;
                    t.label = QString::number(value, 'f', 2);
                    if (i == 0) {
                        t.label += QStringLiteral("m");
                        t.labelPos = QPointF(x0 - 300, y + 40);
                    } else {
                        t.labelPos = QPointF(x0 - 240, y + 40);
                    }
                    t.labelRight = x0 - kLabelClearance;
                }
            } else {
                t.line = QLineF(x0, y, x0 - 20, y);
            }
            result << t;
        }
    }

    Tick end;
    end.line = QLineF(x0, y0 + len, x0 - 36, y0 + len);
    end.label = QString::number(m_endDepth / kLabelDivisor, 'f', 2);
    end.labelPos = QPointF(x0 - 240, y0 + len - 20);
    end.labelRight = x0 - kLabelClearance;
    result << end;
    return result;
}

QPointF GraphicsLeftScaleItem::labelPoint(const Tick &tick, double labelWidth)
{
    // A long label (a deep hole's depth) moves left rather than reach into
    // the ticks and the image.
    return QPointF(qMin(tick.labelPos.x(), tick.labelRight - labelWidth), tick.labelPos.y());
}

QRectF GraphicsLeftScaleItem::boundingRect() const
{
    const QLineF l = line();
    // Room for the widest label: the first (with its unit) or the last.
    const QFontMetricsF metrics(labelFont());
    const double widest = qMax(
        metrics.horizontalAdvance(QString::number(m_startDepth / kLabelDivisor, 'f', 2)
                                  + QStringLiteral("m")),
        metrics.horizontalAdvance(QString::number(m_endDepth / kLabelDivisor, 'f', 2)));
    const double reach = qMax(300.0, kLabelClearance + widest + 2.0);
    // The first label stands on the scale's top; a tall font reaches above it.
    const double above = qMax(40.0, metrics.height());
    return QRectF(l.x1() - reach, l.y1() - above, reach, l.length() + above + metrics.descent());
}

void GraphicsLeftScaleItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                                  QWidget *widget)
{
    Q_UNUSED(option)
    Q_UNUSED(widget)
    if (isNullLine())
        return;

    const QFont font = labelFont();
    painter->setFont(font);

    const QLineF l = line();
    painter->drawLine(QLine(int(l.x1() - 1.0), int(l.y1()), int(l.x2() - 1.0), int(l.y2())));

    const QFontMetricsF metrics(font, painter->device());
    const QVector<Tick> all = ticks(metrics.height());
    for (const Tick &t : all) {
        painter->drawLine(t.line);
        if (!t.label.isEmpty())
            painter->drawText(labelPoint(t, metrics.horizontalAdvance(t.label)), t.label);
    }
}
