#ifndef QEXPORTREPORTTHREAD_H
#define QEXPORTREPORTTHREAD_H

#include <QPointer>
#include <QString>
#include <QThread>

class QReportBuilder;

// Runs one report builder's generate() on its own thread. The builder opens
// its own big-image reader there. The caller must not touch the builder while
// the thread runs.
class QExportReportThread : public QThread
{
    Q_OBJECT

public:
    QExportReportThread(QReportBuilder *builder, QObject *parent = nullptr);
    // Asks a running builder to stop and waits for the thread.
    ~QExportReportThread() override;

protected:
    void run() override;

signals:
    void signalProcessFinished();
    // The report is complete under this name.
    void signalOpenReportFile(QString strFilePath);
    void canceled();
    // The report could not be made; the text says why.
    void signalExportFailed(QString message);

private:
    QPointer<QReportBuilder> m_builder;
};

#endif // QEXPORTREPORTTHREAD_H
