#ifndef REPORTCONTROLLER_H
#define REPORTCONTROLLER_H

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

#include "creportparameter.h"

class ContrastController;
class QReportBuilder;
class ReportDlg;
class RewriteGuard;
class QWidget;

// Report export and print preview: the report dialog, the parameters kept
// between exports, and the builder of the chosen format on its thread.
// Owned by the main window; its messages belong to the window.
class ReportController : public QObject
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    // gridSizeIndex answers the grid-size choice of the display settings.
    ReportController(QWidget *window, ContrastController *contrast, RewriteGuard *guard,
                     std::function<int()> gridSizeIndex);

    // Called when a print preview has ended (the window's NotifyPreviewEnd()).
    void setPreviewEndHook(std::function<void()> ended) { m_previewEnded = std::move(ended); }

    CReportParameter parameter() const { return m_reportParameter; }

    // The export button: the dialog, then the file and the export.
    void exportReport();
    // Preview asked for from the report dialog.
    void preview(CReportParameter reportPara);
    // A report was written: offers to open it.
    void openReportFile(const QString &path);

    // Fills in what the report dialog does not ask, from the open project:
    // the grid size of the display settings' choice gridSizeIndex, the
    // start-depth offset and the deepest id.
    static void completeReportParameter(CReportParameter &para, int gridSizeIndex);
    // The builder of para's format (preview, word-processor document or
    // PDF) for the project at db, with no file name yet.
    static QReportBuilder *createBuilder(const QString &db, const CReportParameter &para,
                                         QObject *parent = nullptr);

private:
    // Runs the report builder of the parameters' format on its thread.
    void startExport(const QString &title, const QString &path, const CReportParameter &para);
    void previewEnded();

    QWidget *m_window = nullptr;
    ContrastController *m_contrast = nullptr;
    RewriteGuard *m_guard = nullptr;
    std::function<int()> m_gridSizeIndex;
    std::function<void()> m_previewEnded;
    QPointer<ReportDlg> m_dialog;
    QPointer<QObject> m_reportBuilder;
    CReportParameter m_reportParameter;
};

#endif // REPORTCONTROLLER_H
