#ifndef QREPORTPRINTER_H
#define QREPORTPRINTER_H

#include "qreportbuilder.h"

class QPainter;
class QPrinter;

// Puts report blocks on printer-style pages (A4, margins 54/72 points)
// through a painter: shared by the PDF file and the print preview.
class QReportPrinter : public QReportBuilder
{
    Q_OBJECT

public:
    using QReportBuilder::QReportBuilder;
    ~QReportPrinter() override;

    // Paper and margins of every report printer.
    static void applyPageSetup(QPrinter *printer);

public slots:
    void placeBlock(const QImage &block) override;
    void initLayout() override;
    void drawHeader() override;
    void newPage() override;

protected:
    // Left and bottom edges of (x1, y1, x2, y2) when leftBottom is set,
    // otherwise top and right edges.
    void drawOutline(double x1, double y1, double x2, double y2, bool leftBottom);

    QPrinter *m_pPrinter = nullptr;
    QPainter *m_pPainter = nullptr;
};

#endif // QREPORTPRINTER_H
