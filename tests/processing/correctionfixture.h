#ifndef CORRECTIONFIXTURE_H
#define CORRECTIONFIXTURE_H

// Helpers of the correction tests: run a depth or azimuth correction the way
// the main window does and record what it reported.

#include <QCoreApplication>
#include <QList>
#include <QStringList>

#include "conversionfixture.h"
#include "correctanglethread.h"
#include "correctdepththread.h"

namespace CorrectionFixture {

struct Run
{
    bool succeeded = false;
    bool canceled = false;
    QList<int> counts;
    QList<int> progress;
    int finished = 0;
    bool countBeforeProgress = true;
    bool finishedLast = true;
};

// Runs worker to its end, processing events. cancelAtStep >= 0 cancels from
// the GUI thread when that progress value arrives (the worker waits for the
// request to be delivered, so the moment is exact).
inline Run run(CorrectionThread &worker, int cancelAtStep = -1)
{
    Run result;
    QStringList order;
    QObject::connect(&worker, &CorrectionThread::signalImagesCount, &worker,
                     [&](int n) { result.counts << n; order << QStringLiteral("count"); },
                     Qt::DirectConnection);
    QObject::connect(&worker, &CorrectionThread::signalOneImageProcessed, &worker,
                     [&](int n) {
                         if (result.counts.isEmpty())
                             result.countBeforeProgress = false;
                         result.progress << n;
                         order << QStringLiteral("step");
                     },
                     Qt::DirectConnection);
    QObject::connect(&worker, &CorrectionThread::signalProcessFinished, &worker,
                     [&]() { ++result.finished; order << QStringLiteral("finished"); },
                     Qt::DirectConnection);
    QObject guiSide;
    if (cancelAtStep >= 0) {
        QObject::connect(&worker, &CorrectionThread::signalOneImageProcessed, &guiSide,
                         [&](int n) {
                             if (n == cancelAtStep)
                                 worker.canceled();
                         },
                         Qt::BlockingQueuedConnection);
    }
    worker.start();
    while (!worker.wait(20))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();
    result.succeeded = worker.succeeded();
    result.canceled = worker.wasCanceled();
    result.finishedLast = !order.isEmpty() && order.last() == QLatin1String("finished");
    return result;
}

// Depth correction of path (record loaded first) to realDepthMm.
inline Run correctDepth(const QString &path, int realDepthMm, int cancelAtStep = -1)
{
    ConversionFixture::loadRecord(path);
    CorrectDepthThread worker(path, realDepthMm);
    return run(worker, cancelAtStep);
}

inline Run correctAngle(const QString &path, int angle, int cancelAtStep = -1)
{
    ConversionFixture::loadRecord(path);
    CorrectAngleThread worker(path, angle);
    return run(worker, cancelAtStep);
}

inline QList<int> steps(int from, int to)
{
    QList<int> out;
    for (int i = from; i <= to; ++i)
        out << i;
    return out;
}

} // namespace CorrectionFixture

#endif // CORRECTIONFIXTURE_H
