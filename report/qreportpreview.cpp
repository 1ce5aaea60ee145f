#include "qreportpreview.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

QReportPreview::QReportPreview(const ReportJob &job, QObject *parent)
    : QReportPrinter(job, parent)
{
    clearTempDir();
    connect(this, &QReportPreview::requestedCreatePreviewDlg, this, &QReportPreview::CreatePreviewDlg,
            Qt::QueuedConnection);
}

void QReportPreview::clearTempDir()
{
    QDirIterator it(m_strTempDir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        QFile::remove(it.next());
}

bool QReportPreview::beginOutput()
{
    m_pPrinter = new QPrinter(QPrinter::PrinterResolution);
    applyPageSetup(m_pPrinter);
    initLayout();
    return true;
}

void QReportPreview::endOutput()
{
    delete m_pPrinter;
    m_pPrinter = nullptr;
}

void QReportPreview::generate()
{
    m_bSucceeded = false;
    m_strError.clear();
    m_bPreviewDone = false;
    m_previewTexts.clear();
    beginOutput();
    openDatabase(); // without the database the preview shows an empty page
    m_bPreviewMode = true;
    runQuery();
    closeDatabase();
    endOutput();
    m_bPreviewMode = false;

    emit requestedCreatePreviewDlg();
    // Woken as the dialog closes; a stop request is looked for between
    // short waits.
    while (!m_bPreviewDone && !m_bStopRequested) {
        QCoreApplication::processEvents();
        m_previewEnded.tryAcquire(1, 20);
    }
    m_bSucceeded = m_strError.isEmpty();
}

void QReportPreview::CreatePreviewDlg()
{
    {
        QPrinter printer(QPrinter::PrinterResolution);
        applyPageSetup(&printer);
        QPrintPreviewDialog dialog(&printer, dialogParent(),
                                   Qt::Window | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint
                                       | Qt::WindowCloseButtonHint);
        dialog.setWindowState(Qt::WindowMaximized);
        connect(&dialog, &QPrintPreviewDialog::paintRequested, this, &QReportPreview::Preview);
        connect(&dialog, &QPrintPreviewDialog::finished, this, &QReportPreview::Finished);
        dialog.exec();
    }
    emit NotifyPreviewEnd();
    clearTempDir();
    // Last: the export thread ends once it sees this, and the builder goes
    // with it.
    m_bPreviewDone = true;
    m_previewEnded.release();
}

void QReportPreview::Preview(QPrinter *printer)
{
    if (!printer)
        return;
    m_pPrinter = printer;
    initLayout();
    QPainter painter;
    if (!painter.begin(printer)) {
        m_pPrinter = nullptr;
        return;
    }
    m_pPainter = &painter;
    mapPointsToDevice();

    const int n = m_nImgCount;
    m_nImgCount = 0;
    m_nLastDepth = 0;
    for (int i = 1; i <= n; ++i) {
        beginBlock();
        const QImage block(m_strTempDir + QStringLiteral("/preView_%1.jpg").arg(i), "JPG");
        if (block.isNull())
            continue;
        m_blockTexts = m_previewTexts.value(i - 1);
        m_nImgWidth = block.width() - m_nScaleBand;
        m_nImgHeight = block.height() - 20;
        if (m_nImgCount == 0)
            calcImgsNumPerPage();
        ++m_nImgCount;
        placeBlock(block);
    }
    painter.end();
    m_pPainter = nullptr;
    m_pPrinter = nullptr;
    ++m_nPaintCount;
}

void QReportPreview::Finished(int)
{
    qDebug() << "Preview finished !!!";
}
