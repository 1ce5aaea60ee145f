#include "qreportprinter.h"

#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <cmath>

QReportPrinter::~QReportPrinter() = default;

void QReportPrinter::applyPageSetup(QPrinter *printer)
{
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageMargins(QMarginsF(54, 72, 54, 72), QPageLayout::Point);
}

void QReportPrinter::initLayout()
{
    m_layout.reset();
    if (m_pPrinter) {
        const QRectF page = m_pPrinter->pageRect(QPrinter::DevicePixel);
        m_layout.setDeviceScaleX(m_pPrinter->physicalDpiX() / m_facts.screenDpiX);
        m_layout.setDeviceScaleY(m_pPrinter->physicalDpiY() / m_facts.screenDpiY);
        m_layout.setPageWidth(page.width());
        m_layout.setPageHeight(page.height());
        m_layout.setRowUnit(page.height() / 44.0);
        m_layout.setImageGap(m_pPrinter->physicalDpiY() * 0.7 / 72.0);
    }
    QReportBuilder::initLayout();
}

void QReportPrinter::placeBlock(const QImage &block)
{
    if (m_pPainter && m_pPainter->isActive()) {
        const QRectF target(m_layout.posX() + m_layout.deviceScaleX(), m_layout.posY() + m_layout.imageGap() / 2,
                            m_layout.deviceScaleX() * block.width(), m_layout.deviceScaleY() * block.height());
        m_pPainter->drawImage(target, block);
    }
    QReportBuilder::placeBlock(block);
}

void QReportPrinter::newPage()
{
    if (m_pPrinter)
        m_pPrinter->newPage();
}

void QReportPrinter::drawOutline(double x1, double y1, double x2, double y2, bool leftBottom)
{
    const int ix1 = int(x1), iy1 = int(y1), ix2 = int(x2), iy2 = int(y2);
    if (leftBottom) {
        m_pPainter->drawLine(ix1, iy1, ix1, iy2);
        m_pPainter->drawLine(ix1, iy2, ix2, iy2);
    } else {
        m_pPainter->drawLine(ix1, iy1, ix2, iy1);
        m_pPainter->drawLine(ix2, iy1, ix2, iy2);
    }
}

void QReportPrinter::drawHeader()
{
    if (!m_pPainter || !m_pPainter->isActive())
        return;
    QPainter &painter = *m_pPainter;
    painter.save();
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine));
    QFont font(QStringLiteral("Microsoft YaHei"), 10, QFont::Normal, false);
    painter.setFont(font);

    const double rh = m_layout.rowUnit();
    const double width = m_layout.pageWidth();
    const double lineHeight = m_pPrinter ? QFontMetricsF(font, m_pPrinter).height()
                                         : QFontMetricsF(font).height();
    const double d = (rh - lineHeight) / 2.0;
    const double p = m_pPrinter ? m_pPrinter->physicalDpiX() * 0.19 / 2.54 : m_layout.deviceScaleX() * 7.18;
    const int align = Qt::AlignLeft | Qt::AlignVCenter;
    const QStringList texts = headerTexts();

    // Top row: project name and department.
    drawOutline(0, 0, width, rh, false);
    drawOutline(0, 0, width, rh, true);
    painter.drawLine(int(width / 2), 0, int(width / 2), int(rh));
    painter.drawText(QRectF(p, d, width / 2 - p, rh - d), align, texts.value(0));
    painter.drawText(QRectF(p + width / 2 - 2, d, width / 2 - p, rh - d), align, texts.value(1));

    painter.drawLine(0, int(rh), int(width), int(rh));
    painter.drawLine(int(width), int(rh), int(width), int(4 * rh));

    // Three rows of three cells.
    int y = int(std::lround(rh));
    const double third = width / 3.0;
    const int x0 = 0;
    const int x1 = int(std::lround(third));
    const int x2 = int(std::lround(x1 + third));
    const int xs[3] = {x0, x1, x2};
    int lastY = y;
    for (int r = 0; r < 3; ++r) {
        if (r > 0)
            y = int(std::lround(lastY + rh));
        for (int c = 0; c < 3; ++c) {
            const double x = xs[c];
            const double end = c == 2 ? width : x + third;
            drawOutline(x, y, end, y + rh, true);
            painter.drawText(QRectF(x + p, y + d, third - p, rh - d), align, texts.value(2 + r * 3 + c));
        }
        lastY = y;
    }
    painter.restore();

    m_nHeaderHeight = int(std::lround(lastY + rh));
    m_layout.setPosY(m_nHeaderHeight);
}
