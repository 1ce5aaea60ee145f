#ifndef QREPORTPRINTER_H
#define QREPORTPRINTER_H

#include "qreportbuilder.h"

#include <QFont>

class QPainter;
class QPagedPaintDevice;
class QPrinter;

// Puts report blocks on printer-style pages (A4, margins 54/72 points)
// through a painter: shared by the PDF file and the print preview. The page
// is laid out in points; the wall is a picture, labels and header are text.
class QReportPrinter : public QReportBuilder
{
    Q_OBJECT

public:
    using QReportBuilder::QReportBuilder;
    ~QReportPrinter() override;

    // Paper and margins of every report printer.
    static void applyPageSetup(QPagedPaintDevice *printer);

public slots:
    void placeBlock(const QImage &block) override;
    void initLayout() override;
    void drawHeader() override;
    void newPage() override;

protected:
    // Left and bottom edges of (x1, y1, x2, y2) when leftBottom is set,
    // otherwise top and right edges.
    void drawOutline(double x1, double y1, double x2, double y2, bool leftBottom);
    // Makes the painter's units points of the printable rectangle.
    void mapPointsToDevice();
    // font at the given size in points of the page.
    QFont pageFont(QFont font, double points) const;
    // A header cell's text, fitted to the cell.
    void drawHeaderText(const QRectF &cell, const QString &text);

    // The paged device painted on: a printer, or the PDF writer of a file.
    QPagedPaintDevice *m_pPrinter = nullptr;
    QPainter *m_pPainter = nullptr;
};

#endif // QREPORTPRINTER_H
