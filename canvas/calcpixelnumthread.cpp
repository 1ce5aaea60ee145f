#include "calcpixelnumthread.h"

CalcPixelNumThread::CalcPixelNumThread(const QImage &mask, QObject *parent)
    : QThread(parent), m_mask(mask)
{
}

CalcPixelNumThread::~CalcPixelNumThread() {}

int CalcPixelNumThread::countRedPixels(const QImage &, const QThread *) { return 0; }

void CalcPixelNumThread::run() { emit signalCalcFinished(0); }
