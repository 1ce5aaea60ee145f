#ifndef CALCPIXELNUMTHREAD_H
#define CALCPIXELNUMTHREAD_H

#include <QImage>
#include <QThread>

// Counts the pure red pixels of an area mask on a worker thread and reports
// the count once. The thread deletes itself (deferred) when it has finished.
class CalcPixelNumThread : public QThread
{
    Q_OBJECT
public:
    CalcPixelNumThread(const QImage &mask, QObject *parent = nullptr);
    ~CalcPixelNumThread() override;

    // Pure red (255, 0, 0) pixels of the image; antialiased edges do not count.
    static int countRedPixels(const QImage &mask, const QThread *interruptible = nullptr);

signals:
    void signalCalcFinished(const int &pixelNum);

protected:
    void run() override;

private:
    QImage m_mask;
};

#endif // CALCPIXELNUMTHREAD_H
