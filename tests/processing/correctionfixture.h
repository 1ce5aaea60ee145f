#ifndef CORRECTIONFIXTURE_H
#define CORRECTIONFIXTURE_H

// Helpers of the correction tests: run a depth or azimuth correction the way
// the main window does and record what it reported.

#include "conversionfixture.h"
#include "correctanglethread.h"
#include "correctdepththread.h"

namespace CorrectionFixture {

struct Run : ConversionFixture::Reports
{
    bool succeeded = false;
    bool canceled = false;
};

// Runs worker to its end; see ConversionFixture::runWorker().
inline Run run(CorrectionThread &worker, int cancelAtStep = -1)
{
    Run result;
    ConversionFixture::runWorker(worker, &result, cancelAtStep);
    result.succeeded = worker.succeeded();
    result.canceled = worker.wasCanceled();
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

} // namespace CorrectionFixture

#endif // CORRECTIONFIXTURE_H
