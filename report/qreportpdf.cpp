#include "qreportpdf.h"

#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

bool QReportPDF::beginOutput()
{
    if (m_strFileName.isEmpty()) {
        fail(tr("No report file name was given."));
        return false;
    }
    if (QFileInfo(m_strFileName).suffix().isEmpty())
        m_strFileName += tr(".pdf");

    m_pPrinter = new QPrinter(QPrinter::HighResolution);
    m_pPrinter->setOutputFormat(QPrinter::PdfFormat);
    applyPageSetup(m_pPrinter);
    m_pPrinter->setOutputFileName(workingFileName());
    m_pPainter = new QPainter;
    if (!m_pPainter->begin(m_pPrinter)) {
        fail(tr("The report file \"%1\" could not be written.").arg(m_strFileName));
        delete m_pPainter;
        m_pPainter = nullptr;
        delete m_pPrinter;
        m_pPrinter = nullptr;
        QFile::remove(workingFileName());
        return false;
    }
    return true;
}

void QReportPDF::endOutput()
{
    bool written = false;
    const QImage extra = extraPage();
    if (m_pPainter && m_pPrinter && m_strError.isEmpty() && !extra.isNull() && m_pPrinter->newPage()) {
        mapPointsToDevice();
        const QRectF page = m_pPrinter->pageLayout().paintRect(QPageLayout::Point);
        const double scale = qMin(page.width() / extra.width(), page.height() / extra.height());
        const QSizeF size(extra.width() * scale, extra.height() * scale);
        m_pPainter->drawImage(QRectF(QPointF((page.width() - size.width()) / 2, 0), size), extra);
    }
    if (m_pPainter) {
        written = m_pPainter->end();
        delete m_pPainter;
        m_pPainter = nullptr;
    }
    delete m_pPrinter;
    m_pPrinter = nullptr;

    if (written && m_strError.isEmpty() && commitWorkingFile())
        return;
    fail(tr("The report file \"%1\" could not be written.").arg(m_strFileName));
    QFile::remove(workingFileName());
}
