#ifndef QREPORTPREVIEW_H
#define QREPORTPREVIEW_H

#include "qreportprinter.h"

#include <QSemaphore>
#include <atomic>

// Print preview of a report: the export thread renders the blocks into
// temporary images, then the toolkit's print-preview dialog lays them out on
// the GUI thread, from where the user can print. The export thread waits
// until the dialog has closed (or could not be shown).
class QReportPreview : public QReportPrinter
{
    Q_OBJECT

public:
    explicit QReportPreview(const ReportJob &job, QObject *parent = nullptr);

    // Set once the preview dialog has closed.
    bool previewDone() const { return m_bPreviewDone; }
    // Number of times the dialog asked for its pages.
    int paintCount() const { return m_nPaintCount; }

public slots:
    void generate() override;
    bool beginOutput() override;
    void endOutput() override;

    void Preview(QPrinter *printer);
    void Finished(int);
    void CreatePreviewDlg();

signals:
    void requestedCreatePreviewDlg();
    void NotifyPreviewEnd();

private:
    void clearTempDir();

    std::atomic<bool> m_bPreviewDone{false};
    QSemaphore m_previewEnded; // released with m_bPreviewDone
    std::atomic<int> m_nPaintCount{0};
};

#endif // QREPORTPREVIEW_H
