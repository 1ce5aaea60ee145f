#ifndef REPORTTESTSUPPORT_H
#define REPORTTESTSUPPORT_H

// Shared by the report tests: running a builder on its export thread, and
// reading a written PDF back through poppler's tools.

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

#include "qexportreportthread.h"
#include "qreportbuilder.h"

namespace ReportTest {

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

} // namespace ReportTest

#endif // REPORTTESTSUPPORT_H
