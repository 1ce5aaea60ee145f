#include "qreportpdf.h"

#include "partfile.h"
#include "reportleftovers.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

QReportPDF::~QReportPDF()
{
    releaseOutput();
}

void QReportPDF::releaseOutput()
{
    delete m_pPainter;
    m_pPainter = nullptr;
    delete m_pPrinter;
    m_pPrinter = nullptr;
    delete m_pOut;
    m_pOut = nullptr;
}

bool QReportPDF::beginOutput()
{
    if (m_strFileName.isEmpty()) {
        fail(tr("No report file name was given."));
        return false;
    }
    if (QFileInfo(m_strFileName).suffix().isEmpty())
        m_strFileName += tr(".pdf");

    // The PDF goes through a device that sees every failed write; it takes
    // the report's name only when all of it reached the disk.
    ReportLeftovers::noteTarget(m_strTempDir, m_strFileName);
    m_pOut = new PartFile(m_strFileName);
    if (!m_pOut->open(QIODevice::WriteOnly)) {
        fail(tr("The report file \"%1\" could not be written: %2.").arg(m_strFileName, m_pOut->errorText()));
        releaseOutput();
        return false;
    }
    auto *writer = new QPdfWriter(m_pOut);
    writer->setResolution(1200);
    writer->setCreator(QCoreApplication::applicationName());
    m_pPrinter = writer;
    applyPageSetup(m_pPrinter);
    m_pPainter = new QPainter;
    if (!m_pPainter->begin(m_pPrinter)) {
        fail(tr("The report file \"%1\" could not be written.").arg(m_strFileName));
        releaseOutput();
        return false;
    }
    return true;
}

void QReportPDF::endOutput()
{
    const QImage extra = extraPage();
    if (m_pPainter && m_pPrinter && m_strError.isEmpty() && !extra.isNull() && m_pPrinter->newPage()) {
        mapPointsToDevice();
        const QRectF page = m_pPrinter->pageLayout().paintRect(QPageLayout::Point);
        const double scale = qMin(page.width() / extra.width(), page.height() / extra.height());
        const QSizeF size(extra.width() * scale, extra.height() * scale);
        m_pPainter->drawImage(QRectF(QPointF((page.width() - size.width()) / 2, 0), size), extra);
    }
    bool ended = false;
    if (m_pPainter)
        ended = m_pPainter->end();
    // The writer has handed all of its bytes to the device now.
    delete m_pPrinter;
    m_pPrinter = nullptr;

    if (m_pOut) {
        if (ended && m_strError.isEmpty() && m_pOut->commit()) {
            releaseOutput();
            return;
        }
        const QString cause = m_pOut->errorText();
        m_pOut->discard();
        if (!cause.isEmpty())
            fail(tr("The report file \"%1\" could not be written: %2.").arg(m_strFileName, cause));
    }
    fail(tr("The report file \"%1\" could not be written.").arg(m_strFileName));
    releaseOutput();
}
