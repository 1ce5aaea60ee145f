#ifndef QREPORTPDF_H
#define QREPORTPDF_H

#include "qreportprinter.h"

class PartFile;

// Writes the report as a PDF file. The file is written beside its final name
// (NAME.part) through a device that sees every failed write, and takes that
// name only once all of it is on the disk, so a failed export leaves an
// earlier report of the same name untouched and says why it failed.
class QReportPDF : public QReportPrinter
{
    Q_OBJECT

public:
    using QReportPrinter::QReportPrinter;
    ~QReportPDF() override;

public slots:
    bool beginOutput() override;
    void endOutput() override;

private:
    void releaseOutput();

    PartFile *m_pOut = nullptr;
};

#endif // QREPORTPDF_H
