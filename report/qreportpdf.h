#ifndef QREPORTPDF_H
#define QREPORTPDF_H

#include "qreportprinter.h"

// Writes the report as a PDF file. The file is written beside its final name
// and takes that name only once it is complete, so a failed export leaves an
// earlier report of the same name untouched.
class QReportPDF : public QReportPrinter
{
    Q_OBJECT

public:
    using QReportPrinter::QReportPrinter;

public slots:
    bool beginOutput() override;
    void endOutput() override;
};

#endif // QREPORTPDF_H
