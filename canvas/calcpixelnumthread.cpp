#include "calcpixelnumthread.h"

CalcPixelNumThread::CalcPixelNumThread(const QImage &mask, QObject *parent)
    : QThread(parent), m_mask(mask)
{
}

CalcPixelNumThread::~CalcPixelNumThread()
{
    // Destroyed with its parent while still counting: stop early and wait,
    // a running thread must never be destroyed.
    requestInterruption();
    wait();
}

int CalcPixelNumThread::countRedPixels(const QImage &mask, const QThread *interruptible)
{
    if (mask.isNull())
        return 0;
    const QImage image = (mask.format() == QImage::Format_RGB32
                          || mask.format() == QImage::Format_ARGB32)
                                 ? mask
                                 : mask.convertToFormat(QImage::Format_RGB32);
    const int width = image.width();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        if (interruptible && interruptible->isInterruptionRequested())
            break;
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if ((line[x] & 0x00ffffffu) == 0x00ff0000u)
                ++count;
        }
    }
    return count;
}

void CalcPixelNumThread::run()
{
    const int count = countRedPixels(m_mask, this);
    if (isInterruptionRequested())
        return;
    emit signalCalcFinished(count);
}
