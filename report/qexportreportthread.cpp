#include "qexportreportthread.h"

#include "qreportbuilder.h"

QExportReportThread::QExportReportThread(QReportBuilder *builder, QObject *parent)
    : QThread(parent)
    , m_builder(builder)
{
}

QExportReportThread::~QExportReportThread()
{
    if (isRunning() && m_builder)
        m_builder->requestStop();
    // Also ends a word processor the output may be waiting for.
    requestInterruption();
    wait();
}

void QExportReportThread::run()
{
    if (m_builder) {
        m_builder->generate();
        if (!m_builder->succeeded())
            emit signalExportFailed(m_builder->errorText());
        else if (!m_builder->fileName().isEmpty())
            emit signalOpenReportFile(m_builder->fileName());
    }
    emit signalProcessFinished();
}
