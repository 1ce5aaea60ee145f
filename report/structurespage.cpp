#include "structurespage.h"

#include <QCoreApplication>
#include <QPainter>
#include <QVector>

#include "creportparameter.h"
#include "roseplot.h"
#include "stereonetplot.h"
#include "holesurveystore.h"
#include "structurepickstore.h"
#include "trueorientation.h"

QImage StructuresPage::record(const QVector<StructurePick> &picks, double fromMetres, double toMetres,
                              bool trueOrientation)
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
                              .arg(fromMetres, 0, 'f', 2)
                              .arg(toMetres, 0, 'f', 2);
    painter.drawText(QRectF(0, 0, page.width(), 60), Qt::AlignCenter, title);

    StereonetPlot stereonet;
    stereonet.setTrueOrientation(trueOrientation);
    stereonet.setPicks(picks);
    stereonet.paintPlot(&painter, QRectF(100, 70, 800, 660));
    RosePlot rose;
    rose.setTrueOrientation(trueOrientation);
    rose.setPicks(picks);
    rose.paintPlot(&painter, QRectF(100, 744, 800, 660));
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
    return record(picks, para.fromDepth() + para.depthOffset(), para.toDepth() + para.depthOffset(),
                  orientation.isActive());
}
