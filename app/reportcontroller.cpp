#include "reportcontroller.h"

#include "contrastcontroller.h"
#include "frmmessagebox.h"
#include "projectinfo.h"
#include "qdlgdisplaysetting.h"
#include "qexportreportthread.h"
#include "qreportpdf.h"
#include "qreportpreview.h"
#include "qreportword.h"
#include "reportdlg.h"
#include "reportprojectfacts.h"
#include "rewriteguard.h"
#include "structurespage.h"
#include "waitview.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

ReportController::ReportController(QWidget *window, ContrastController *contrast, RewriteGuard *guard,
                                   std::function<int()> gridSizeIndex)
    : QObject(window)
    , m_window(window)
    , m_contrast(contrast)
    , m_guard(guard)
    , m_gridSizeIndex(std::move(gridSizeIndex))
{
}

void ReportController::preview(CReportParameter reportPara)
{
    if (m_guard->refuse())
        return;
    completeReportParameter(reportPara, m_gridSizeIndex ? m_gridSizeIndex() : 0);
    startExport(tr("Print preview"), QString(), reportPara);
}

void ReportController::previewEnded()
{
    if (m_dialog)
        m_dialog->OnEndPreview();
    if (m_previewEnded)
        m_previewEnded();
}

void ReportController::exportReport()
{
    if (m_guard->refuse())
        return;
    const QString project = ProjectInfo::instance()->projectPath();
    if (project.isEmpty()) {
        QMessageBox::warning(m_window, tr("Warning"), tr("None Project!"));
        return;
    }
    ReportDlg dialog;
    dialog.setMessageHandler([](QWidget *, const QString &text) {
        auto *box = new frmMessageBox;
        box->setMessage(text, frmMessageBox::Information);
        box->exec();
    });
    dialog.setParameter(m_reportParameter);
    dialog.setMaxDepth(ReportProjectFacts::deepestId(project));
    // The report starts as the page on screen.
    const ProjectInfo *info = ProjectInfo::instance();
    if (info->pageEnd() > info->pageStart())
        dialog.setPageRange(info->pageStart() * 0.0001, info->pageEnd() * 0.0001);
    connect(&dialog, &ReportDlg::requestedPreview, this, [this](CReportParameter para) { preview(para); });
    m_dialog = &dialog;
    const bool accepted = dialog.exec() == QDialog::Accepted;
    m_dialog = nullptr;
    if (!accepted)
        return;

    dialog.parameter(m_reportParameter);
    completeReportParameter(m_reportParameter, m_gridSizeIndex ? m_gridSizeIndex() : 0);
    QString title;
    QString filter;
    if (m_reportParameter.exportFormat() == 1) {
        title = tr("Export PDF");
        filter = tr("*.pdf");
    } else if (m_reportParameter.exportFormat() == 0) {
        title = tr("Export DOC");
        filter = tr("*.doc") + QStringLiteral(";;") + tr("*.docx") + QStringLiteral(";;") + tr("*.odt");
    }
    QString selectedFilter;
    QString path = QFileDialog::getSaveFileName(m_window, title, QString(), filter, &selectedFilter);
    if (path.isEmpty())
        return;
    // A word-processor name without suffix takes the one of the chosen type.
    if (m_reportParameter.exportFormat() == 0 && QFileInfo(path).suffix().isEmpty()
        && selectedFilter.startsWith(QLatin1String("*.")))
        path += selectedFilter.mid(1);
    // An existing file of that name is replaced only by a complete report.
    startExport(title, path, m_reportParameter);
}

void ReportController::completeReportParameter(CReportParameter &para, int gridSizeIndex)
{
    const ProjectInfo *info = ProjectInfo::instance();
    const QSize grid = QDlgDisplaySetting::gridSize(gridSizeIndex);
    para.setGridCellWidth(grid.width());
    para.setGridCellHeight(grid.height());
    para.setDepthOffset(info->testStartDepth().toInt() / 1000.0f);
    para.setReservedValue(ReportProjectFacts::deepestId(info->projectPath()));
}

QReportBuilder *ReportController::createBuilder(const QString &db, const CReportParameter &para, QObject *parent)
{
    const ReportJob job(db, para);
    const int format = para.exportFormat();
    if (format == 2)
        return new QReportPreview(job, parent);
    if (format == 0)
        return new QReportWord(job, parent);
    return new QReportPDF(job, parent);
}

void ReportController::startExport(const QString &title, const QString &path, const CReportParameter &para)
{
    const int format = para.exportFormat();
    const bool preview = format == 2;
    if (format != 0 && format != 1 && format != 2)
        return;
    const QString problem = QReportBuilder::layoutProblem(ReportProjectFacts::fromProject(), para.depthStep());
    if (!problem.isEmpty()) {
        QMessageBox::warning(m_window, tr("Warning"), problem);
        if (preview)
            previewEnded();
        return;
    }

    const QString db = ProjectInfo::instance()->projectPath();
    QReportBuilder *builder = createBuilder(db, para, m_window);
    m_reportBuilder = builder;
    builder->setFileName(path);
    // The report shows the wall as the page does.
    if (m_contrast)
        builder->setImageFilter(m_contrast->pictureFilter());
    // The structures page of a PDF: the picks of the range are read and
    // drawn here, the export thread only replays the drawing.
    builder->setExtraPage(StructuresPage::forReport(db, para));

    auto *wait = new WaitView(m_window, false, preview ? 1 : 0);
    wait->setTitle(tr("Waiting for ") + title);
    wait->setActive(true);

    auto *thread = new QExportReportThread(builder, m_window);
    // The builder goes with its thread, which waits for its end: a window
    // closed during an export never pulls the builder from under it.
    builder->setParent(thread);
    // Both go only once the thread has really ended.
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    connect(thread, &QThread::finished, builder, &QObject::deleteLater);
    if (preview)
        connect(static_cast<QReportPreview *>(builder), &QReportPreview::NotifyPreviewEnd, this,
                [this] { previewEnded(); });
    else
        connect(thread, &QExportReportThread::signalOpenReportFile, this,
                [this](const QString &file) { openReportFile(file); });
    // The word processor's failures come in its own "Error" box.
    const QString failureTitle = format == 0 ? tr("Error") : tr("Warning");
    connect(thread, &QExportReportThread::signalExportFailed, this, [this, failureTitle](const QString &message) {
        QMessageBox::warning(m_window, failureTitle, message, QMessageBox::Ok);
    });
    connect(thread, &QExportReportThread::signalProcessFinished, wait, &WaitView::close);
    thread->start(QThread::InheritPriority);
    wait->show();
}

void ReportController::openReportFile(const QString &path)
{
    auto *box = new frmMessageBox;
    box->setMessage(tr("Saving report successfully , do you want to open it ?"), frmMessageBox::Question);
    if (box->exec() == QDialog::Accepted)
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
