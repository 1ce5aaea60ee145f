#include "graphicsfrequencytrackitem.h"

#include <QPainter>
#include <QPainterPath>
#include <QSet>
#include <cmath>

namespace {

constexpr double kTitleHeight = 60.0;

} // namespace

GraphicsFrequencyTrackItem::GraphicsFrequencyTrackItem()
{
    setFlag(QGraphicsItem::ItemIsSelectable, false);
    setAcceptedMouseButtons(Qt::NoButton);
}

void GraphicsFrequencyTrackItem::setGeometry(double left, double width, double top, double pageFrom,
                                             double pageTo, double pixelsPerUnit)
{
    prepareGeometryChange();
    m_left = left;
    m_width = width;
    m_top = top;
    m_from = pageFrom;
    m_to = pageTo;
    m_pixelsPerUnit = pixelsPerUnit;
    update();
}

void GraphicsFrequencyTrackItem::setBins(const QVector<FractureFrequency::Bin> &bins,
                                         double windowMetres, bool terzaghi)
{
    m_bins = bins;
    m_window = windowMetres;
    m_terzaghi = terzaghi;
    update();
}

QString GraphicsFrequencyTrackItem::title() const
{
    return titleFor(m_window, m_terzaghi);
}

QString GraphicsFrequencyTrackItem::titleFor(double windowMetres, bool terzaghi)
{
    QString text = tr("P10 (1/m), %1 m window").arg(windowMetres);
    if (terzaghi)
        text += tr(", Terzaghi-weighted");
    return text;
}

double GraphicsFrequencyTrackItem::scaleMaximum() const
{
    double most = 0.0;
    for (const FractureFrequency::Bin &bin : m_bins)
        most = std::max(most, bin.total);
    if (!(most > 0.0))
        return 1.0;
    // 1, 2 or 5 times a power of ten.
    const double power = std::pow(10.0, std::floor(std::log10(most)));
    for (double step : {1.0, 2.0, 5.0, 10.0})
        if (step * power >= most)
            return step * power;
    return 10.0 * power;
}

double GraphicsFrequencyTrackItem::yOf(double depth) const
{
    return m_top + (depth - m_from) * m_pixelsPerUnit;
}

QRectF GraphicsFrequencyTrackItem::boundingRect() const
{
    return QRectF(m_left, m_top - kTitleHeight, m_width, yOf(m_to) - m_top + kTitleHeight + 1.0);
}

void GraphicsFrequencyTrackItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    const QRectF track(m_left, m_top, m_width, yOf(m_to) - m_top);
    if (track.height() <= 0.0)
        return;
    painter->save();
    painter->fillRect(track, QColor(250, 250, 250));
    painter->setPen(QPen(QColor(160, 160, 160), 0));
    painter->drawRect(track);

    const double maximum = scaleMaximum();
    auto xOf = [&](double perMetre) { return m_left + std::min(perMetre, maximum) / maximum * m_width; };
    for (int i = 1; i < 4; ++i) {
        const double x = m_left + m_width * i / 4.0;
        painter->drawLine(QPointF(x, track.top()), QPointF(x, track.bottom()));
    }

    // One step line per type, then the total over them.
    QSet<QString> types;
    for (const FractureFrequency::Bin &bin : qAsConst(m_bins))
        for (auto it = bin.perType.cbegin(); it != bin.perType.cend(); ++it)
            types.insert(it.key());
    auto stepLine = [&](auto valueOf) {
        QPainterPath path;
        bool first = true;
        for (const FractureFrequency::Bin &bin : qAsConst(m_bins)) {
            const double x = xOf(valueOf(bin));
            if (first)
                path.moveTo(x, yOf(bin.from));
            else
                path.lineTo(x, yOf(bin.from));
            path.lineTo(x, yOf(bin.to));
            first = false;
        }
        return path;
    };
    painter->setRenderHint(QPainter::Antialiasing);
    for (const QString &type : StructurePick::types()) {
        if (!types.contains(type))
            continue;
        painter->setPen(QPen(StructurePick::typeColour(type), 2.0));
        painter->drawPath(stepLine([&type](const FractureFrequency::Bin &b) { return b.perType.value(type); }));
    }
    painter->setPen(QPen(Qt::black, 3.0));
    painter->drawPath(stepLine([](const FractureFrequency::Bin &b) { return b.total; }));
    if (!m_labelsShown) {
        painter->restore();
        return;
    }

    QFont font = painter->font();
    font.setPixelSize(14);
    painter->setFont(font);
    painter->setPen(Qt::black);
    const QRectF titleBox(m_left, m_top - kTitleHeight, m_width, kTitleHeight - 18.0);
    painter->drawText(titleBox, Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWordWrap, title());
    const QRectF scaleBox(m_left, m_top - 18.0, m_width, 16.0);
    painter->drawText(scaleBox, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("0"));
    painter->drawText(scaleBox, Qt::AlignRight | Qt::AlignVCenter, QString::number(maximum));
    painter->restore();
}
