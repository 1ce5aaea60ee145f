#include "qreportprinter.h"

#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <cmath>

QReportPrinter::~QReportPrinter() = default;

void QReportPrinter::applyPageSetup(QPagedPaintDevice *printer)
{
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageMargins(QMarginsF(54, 72, 54, 72), QPageLayout::Point);
}

void QReportPrinter::initLayout()
{
    // The page is laid out in points from the printable rectangle, whatever
    // resolution the device reports (a printer Qt falls back on when none
    // is installed claims 1200 dpi on a page measured in points); blocks are
    // made at 96 pixels per inch, as in the word-processor report.
    m_layout.reset();
    m_bLabelsAsText = true;
    if (m_pPrinter) {
        const QRectF page = m_pPrinter->pageLayout().paintRect(QPageLayout::Point);
        m_layout.setDeviceScaleX(72.0 / 96.0);
        m_layout.setDeviceScaleY(72.0 / 96.0);
        m_layout.setPageWidth(page.width());
        m_layout.setPageHeight(page.height());
        m_layout.setRowUnit(page.height() / 44.0);
        m_layout.setImageGap(0.7);
        mapPointsToDevice();
    }
    QReportBuilder::initLayout();
}

void QReportPrinter::mapPointsToDevice()
{
    if (!m_pPrinter || !m_pPainter || !m_pPainter->isActive())
        return;
    const QRectF page = m_pPrinter->pageLayout().paintRect(QPageLayout::Point);
    if (page.isEmpty() || m_pPrinter->width() <= 0 || m_pPrinter->height() <= 0)
        return;
    m_pPainter->resetTransform();
    m_pPainter->scale(m_pPrinter->width() / page.width(), m_pPrinter->height() / page.height());
}

QFont QReportPrinter::pageFont(QFont font, double points) const
{
    // Sizes are in the painter's units (points); the device measures fonts
    // at its own resolution.
    const double dpi = m_pPrinter ? m_pPrinter->logicalDpiY() : 72.0;
    font.setPointSizeF(points * 72.0 / (dpi > 0 ? dpi : 72.0));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void QReportPrinter::placeBlock(const QImage &block)
{
    if (m_pPainter && m_pPainter->isActive()) {
        const QPointF origin(m_layout.posX() + m_layout.deviceScaleX(), m_layout.posY() + m_layout.imageGap() / 2);
        const QRectF target(origin.x(), origin.y(), m_layout.deviceScaleX() * block.width(),
                            m_layout.deviceScaleY() * block.height());
        m_pPainter->drawImage(target, block);
        paintTexts(*m_pPainter, m_blockTexts, origin, m_layout.deviceScaleX());
    }
    QReportBuilder::placeBlock(block);
}

void QReportPrinter::newPage()
{
    if (m_pPrinter) {
        m_pPrinter->newPage();
        mapPointsToDevice();
    }
}

void QReportPrinter::drawOutline(double x1, double y1, double x2, double y2, bool leftBottom)
{
    if (leftBottom) {
        m_pPainter->drawLine(QPointF(x1, y1), QPointF(x1, y2));
        m_pPainter->drawLine(QPointF(x1, y2), QPointF(x2, y2));
    } else {
        m_pPainter->drawLine(QPointF(x1, y1), QPointF(x2, y1));
        m_pPainter->drawLine(QPointF(x2, y1), QPointF(x2, y2));
    }
}

void QReportPrinter::drawHeaderText(const QRectF &cell, const QString &text)
{
    // 10 points, smaller (down to 7) for a long value, cut short with an
    // ellipsis only when even that does not fit: never into the next cell.
    QPainter &painter = *m_pPainter;
    const QFont base(QStringLiteral("Microsoft YaHei"), 10, QFont::Normal, false);
    double size = 10.0;
    QFont font = pageFont(base, size);
    while (size > 7.0 && QFontMetricsF(font, m_pPrinter).horizontalAdvance(text) > cell.width()) {
        size -= 0.5;
        font = pageFont(base, size);
    }
    const QFontMetricsF fm(font, m_pPrinter);
    painter.setFont(font);
    painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, fm.elidedText(text, Qt::ElideRight, cell.width()));
}

void QReportPrinter::drawHeader()
{
    if (!m_pPainter || !m_pPainter->isActive())
        return;
    QPainter &painter = *m_pPainter;
    painter.save();
    painter.setPen(QPen(Qt::black, 0.5, Qt::SolidLine));

    const double rh = m_layout.rowUnit();
    const double width = m_layout.pageWidth();
    const double p = 0.19 / 2.54 * 72.0; // 0.19 cm
    const QStringList texts = headerTexts();

    // Top row: project name and department.
    drawOutline(0, 0, width, rh, false);
    drawOutline(0, 0, width, rh, true);
    painter.drawLine(QPointF(width / 2, 0), QPointF(width / 2, rh));
    drawHeaderText(QRectF(p, 0, width / 2 - 2 * p, rh), texts.value(0));
    drawHeaderText(QRectF(width / 2 + p, 0, width / 2 - 2 * p, rh), texts.value(1));

    painter.drawLine(QPointF(0, rh), QPointF(width, rh));
    painter.drawLine(QPointF(width, rh), QPointF(width, 4 * rh));

    // Three rows of three cells.
    const double third = width / 3.0;
    double lastY = rh;
    for (int r = 0; r < 3; ++r) {
        const double y = rh * (r + 1);
        for (int c = 0; c < 3; ++c) {
            const double x = third * c;
            const double end = c == 2 ? width : x + third;
            drawOutline(x, y, end, y + rh, true);
            drawHeaderText(QRectF(x + p, y, end - x - 2 * p, rh), texts.value(2 + r * 3 + c));
        }
        lastY = y;
    }
    painter.restore();

    m_nHeaderHeight = int(std::ceil(lastY + rh + m_layout.imageGap()));
    m_layout.setPosY(m_nHeaderHeight);
}
