#ifndef REPORTTESTSUPPORT_H
#define REPORTTESTSUPPORT_H

// Shared by the report tests: running a builder on its export thread, and
// reading a written PDF back through poppler's tools.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

#include "qexportreportthread.h"
#include "qreportbuilder.h"
#include "reportjob.h"

namespace ReportTest {

// A report job of the report dialog's defaults with what a test varies.
inline ReportJob job(const QString &db, float from, float to, int format, int columns = 2, float step = 1.0f,
                     bool header = false, bool grid = false, float offset = 0.0f)
{
    ReportJob job(db, from, to, format);
    job.parameter.setColumnsPerPage(columns);
    job.parameter.setDepthStep(step);
    job.parameter.setWithHeader(header);
    job.parameter.setWithGridLines(grid);
    job.parameter.setDepthOffset(offset);
    return job;
}

// Runs builder on an export thread; answers the file it reported (empty when
// it failed, then *error holds the message).
inline QString runOnThread(QReportBuilder *builder, QString *error = nullptr, int timeoutMs = 300000)
{
    QExportReportThread thread(builder);
    QSignalSpy opened(&thread, &QExportReportThread::signalOpenReportFile);
    QSignalSpy failed(&thread, &QExportReportThread::signalExportFailed);
    QSignalSpy finished(&thread, &QExportReportThread::signalProcessFinished);
    thread.start();
    // A failure can end the run before the wait begins: wait only for a
    // signal that has not come yet.
    if (finished.isEmpty() && !finished.wait(timeoutMs) && finished.isEmpty())
        qWarning("export thread did not finish");
    thread.wait();
    if (error && !failed.isEmpty())
        *error = failed.first().first().toString();
    return opened.isEmpty() ? QString() : opened.first().first().toString();
}

inline bool havePoppler()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
}

// Text of a PDF as pdftotext gives it ("" when the tool fails).
inline QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// One page of a PDF as pdftoppm draws it, written beside the PDF (null when
// that fails).
inline QImage pdfPage(const QString &pdf, int page, int dpi)
{
    const QString prefix = pdf + QStringLiteral("-page");
    QProcess ppm;
    ppm.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                                           QStringLiteral("-singlefile"), QStringLiteral("-f"), QString::number(page),
                                           QStringLiteral("-l"), QString::number(page), pdf, prefix});
    if (!ppm.waitForFinished(60000) || ppm.exitCode() != 0)
        return QImage();
    return QImage(prefix + QStringLiteral(".png"));
}

// Pixels of image (in rect, the whole image when rect is null) that pass test.
template <typename Test>
int countPixels(const QImage &image, Test test, QRect rect = QRect())
{
    if (rect.isNull())
        rect = image.rect();
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            n += test(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}

// Words of one page of a PDF with their boxes in points (pdftotext -bbox).
struct PdfWord { QString text; QRectF box; };
inline QList<PdfWord> pdfWords(const QString &pdf, int page)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                                          QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
    QList<PdfWord> words;
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return words;
    const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto it = word.globalMatch(QString::fromUtf8(p.readAllStandardOutput())); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        words << PdfWord{m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                               QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))};
    }
    return words;
}

// A wall picture the user can check on paper: grey, with its last column
// (the wall just west of north) in pure red, 1/25 of the width.
inline QImage markedWall(const QImage &picture)
{
    QImage wall(picture.size(), QImage::Format_RGB32);
    wall.fill(QColor(110, 110, 110));
    const int edge = qMax(1, wall.width() / 25);
    QPainter(&wall).fillRect(wall.width() - edge, 0, edge, wall.height(), Qt::red);
    return wall;
}

// Separate red bands (the right edges of the walls side by side) along x.
inline int redBands(const QImage &image)
{
    int bands = 0;
    bool inBand = false;
    for (int x = 0; x < image.width(); ++x) {
        const bool red = countPixels(image, [](const QColor &c) { return c.red() > 200 && c.green() < 90 && c.blue() < 90; },
                                     QRect(x, 0, 1, image.height())) > 0;
        bands += (red && !inBand) ? 1 : 0;
        inBand = red;
    }
    return bands;
}

} // namespace ReportTest

#endif // REPORTTESTSUPPORT_H
