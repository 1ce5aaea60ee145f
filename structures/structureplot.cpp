#include "structureplot.h"

#include "partfile.h"
#include "writefailure.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgGenerator>

StructurePlot::StructurePlot(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void StructurePlot::setPicks(const QVector<StructurePick> &picks)
{
    // Picks with values that are no numbers (or a dip out of 0 to 90) are
    // left out, and counted.
    m_picks.clear();
    m_leftOut = 0;
    for (const StructurePick &p : picks) {
        if (p.isValid())
            m_picks.append(p);
        else
            ++m_leftOut;
    }
    ++m_picksGeneration;
    update();
}

void StructurePlot::setTrueOrientation(bool trueOrientation)
{
    if (m_trueOrientation == trueOrientation)
        return;
    m_trueOrientation = trueOrientation;
    update();
}

QString StructurePlot::orientationNote() const
{
    return m_trueOrientation ? tr("True orientation (hole survey)")
                             : tr("Measured orientation (relative to the hole)");
}

void StructurePlot::paintOrientationNote(QPainter *painter, const QRectF &rect) const
{
    painter->save();
    painter->setPen(QColor(90, 90, 90));
    const QFontMetricsF fm(painter->font());
    painter->drawText(QRectF(rect.left() + 4, rect.top() + 2, rect.width() - 8, fm.height()),
                      Qt::AlignLeft | Qt::AlignVCenter, orientationNote());
    painter->restore();
}

void StructurePlot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintPlot(&painter, QRectF(rect()));
}

QImage StructurePlot::toImage(const QSize &size) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paintPlot(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

bool StructurePlot::exportTo(const QString &path, const QSize &size, QString *why) const
{
    // Written beside the target and renamed when complete, so a failed export
    // never leaves half a file under the chosen name.
    PartFile file(path);
    auto failed = [&](const QString &detail) {
        if (why)
            *why = file.failed() ? file.errorText() : WriteFailure::describe(WriteFailure::Unknown, path, detail);
        file.discard();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return failed(QString());
    if (QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setTitle(windowTitle());
        {
            QPainter painter(&generator);
            painter.setRenderHint(QPainter::Antialiasing);
            paintPlot(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
        }
        if (file.write(buffer.data()) != buffer.size())
            return failed(QString());
    } else {
        QImageWriter writer(&file, "PNG");
        if (!writer.write(toImage(size)))
            return failed(writer.errorString());
    }
    if (!file.commit())
        return failed(QString());
    return true;
}
