#include "structurespage.h"

#include <QCoreApplication>
#include <QPainter>
#include <QVector>
#include <cmath>

#include "creportparameter.h"
#include "fracturefrequency.h"
#include "roseplot.h"
#include "stereonetplot.h"
#include "holesurveystore.h"
#include "structurepickstore.h"
#include "trueorientation.h"

QImage StructuresPage::record(const QVector<StructurePick> &picks, double fromMetres, double toMetres,
                              bool trueOrientation, double offsetMetres)
{
    if (picks.isEmpty())
        return QImage();
    // A4 proportions; the output scales the picture to its page.
    const QRectF page(0, 0, 1000, 1414);
    const double scale = 1.6;
    QImage picture(int(page.width() * scale), int(page.height() * scale), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    painter.fillRect(page, Qt::white);
    QFont font = painter.font();
    font.setPixelSize(28);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QString title = QCoreApplication::translate("StructuresPage", "Structures %1 m – %2 m, %n pick(s)",
                                                      nullptr, picks.size())
                              .arg(fromMetres + offsetMetres, 0, 'f', 2)
                              .arg(toMetres + offsetMetres, 0, 'f', 2);
    painter.drawText(QRectF(0, 0, page.width(), 60), Qt::AlignCenter, title);

    StereonetPlot stereonet;
    stereonet.setTrueOrientation(trueOrientation);
    stereonet.setPicks(picks);
    stereonet.paintPlot(&painter, QRectF(100, 70, 800, 560));
    RosePlot rose;
    rose.setTrueOrientation(trueOrientation);
    rose.setPicks(picks);
    rose.paintPlot(&painter, QRectF(100, 640, 800, 520));

    // Picks per metre by depth interval: the shortest of 0.5, 1, 2, 5, 10 m …
    // that needs at most eight rows.
    const double span = toMetres - fromMetres;
    double window = 0.5;
    for (double base = 1.0; std::ceil(span / window - 1e-9) > 8; base *= 10.0) {
        for (double step : {1.0, 2.0, 5.0}) {
            window = step * base;
            if (std::ceil(span / window - 1e-9) <= 8)
                break;
        }
    }
    const QVector<FractureFrequency::Bin> bins =
        FractureFrequency::compute(picks, fromMetres * 10000.0, toMetres * 10000.0, window, false);
    const QStringList types = StructurePick::types();
    font.setPixelSize(18);
    painter.setFont(font);
    const double rowHeight = 26.0;
    const double left = 60.0, firstWidth = 220.0;
    const double columnWidth = (page.width() - 2 * left - firstWidth) / (types.size() + 1);
    double y = 1170.0;
    painter.drawText(QRectF(left, y, page.width() - 2 * left, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     QCoreApplication::translate("StructuresPage", "Picks per metre (P10), %1 m intervals")
                         .arg(window));
    y += rowHeight;
    QStringList heading{QCoreApplication::translate("StructuresPage", "Depth (m)"),
                        QCoreApplication::translate("StructuresPage", "all")};
    for (const QString &type : types)
        heading << StructurePick::typeName(type);
    auto drawRow = [&](const QStringList &cells) {
        painter.drawText(QRectF(left, y, firstWidth, rowHeight), Qt::AlignLeft | Qt::AlignVCenter, cells.first());
        for (int c = 1; c < cells.size(); ++c)
            painter.drawText(QRectF(left + firstWidth + (c - 1) * columnWidth, y, columnWidth, rowHeight),
                             Qt::AlignRight | Qt::AlignVCenter, cells.at(c));
        y += rowHeight;
    };
    drawRow(heading);
    painter.drawLine(QPointF(left, y), QPointF(page.width() - left, y));
    for (const FractureFrequency::Bin &bin : bins) {
        QStringList cells{QStringLiteral("%1 – %2")
                              .arg(bin.from / 10000.0 + offsetMetres, 0, 'f', 2)
                              .arg(bin.to / 10000.0 + offsetMetres, 0, 'f', 2),
                          QString::number(bin.total, 'f', 2)};
        for (const QString &type : types)
            cells << QString::number(bin.perType.value(type), 'f', 2);
        drawRow(cells);
    }
    painter.end();
    return picture;
}

QImage StructuresPage::forReport(const QString &dbPath, const CReportParameter &para)
{
    if (para.exportFormat() != 1 || !para.withStructures())
        return QImage();
    const TrueOrientation orientation(HoleSurveyStore(dbPath).read());
    const QVector<StructurePick> picks = orientation.corrected(
        StructurePickStore(dbPath).picks(para.fromDepth() * 10000.0, para.toDepth() * 10000.0));
    return record(picks, para.fromDepth(), para.toDepth(), orientation.isActive(), para.depthOffset());
}
