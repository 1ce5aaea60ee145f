#include "waitview.h"

#include <QApplication>
#include <QConicalGradient>
#include <QFont>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace {
constexpr int kTimerInterval = 40;   // ms per animation step
constexpr int kPhaseCycle = 1000;    // one turn / one dot cycle
constexpr int kPanelWidth = 460;
constexpr int kPanelHeight = 250;
constexpr int kTitleSpace = 60;      // room for the title below the spinner

QRect screenGeometry()
{
    if (QScreen *screen = QGuiApplication::primaryScreen())
        return screen->geometry();
    return QRect();
}
} // namespace

WaitView::WaitView(QWidget *parent, bool fullScreen, WAITMODE waitMode)
    : QDialog(parent)
    , m_fullScreen(fullScreen)
    , m_waitMode(waitMode)
{
    if (!parent)
        return;
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowOpacity(0.95);
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_TranslucentBackground);
    m_timer = new QTimer(this);
    m_timer->setInterval(kTimerInterval);
    connect(m_timer, &QTimer::timeout, this, &WaitView::DoAnimate);
}

QString WaitView::displayedTitle() const
{
    if (m_waitMode == 0)
        return m_title;
    const int dots = static_cast<int>(m_phase / static_cast<double>(kPhaseCycle) * 5);
    return m_title + QString(dots, QLatin1Char('.'));
}

void WaitView::DoAnimate()
{
    if (m_busy)
        return;
    m_busy = true;
    const int step = m_timer ? m_timer->interval() : kTimerInterval;
    m_phase = (m_phase + step) % kPhaseCycle;
    update(m_spinnerRect);
    m_busy = false;
}

void WaitView::Close()
{
    if (m_timer)
        m_timer->stop();
    close();
}

void WaitView::setActive(bool actived)
{
    if (!parentWidget())
        return;
    m_phase = 0;
    m_active = actived;
    if (actived) {
        ChangeWidgetSize(m_fullScreen, m_waitMode);
        m_timer->start();
        show();
    } else {
        m_timer->stop();
        hide();
    }
}

void WaitView::setTitle(QString title)
{
    m_title = title;
    if (m_active)
        update();
}

void WaitView::ChangeWidgetSize(bool bFullScreen, WAITMODE waitMode)
{
    m_fullScreen = bFullScreen;
    m_waitMode = waitMode;

    QRect area;
    if (bFullScreen || !parentWidget())
        area = screenGeometry();
    else
        area = QRect(parentWidget()->mapToGlobal(QPoint(0, 0)), parentWidget()->size());
    setGeometry(area);

    const QRect view(0, 0, area.width(), area.height());
    if (waitMode != 0) {
        m_panelRect = view;
        m_spinnerRect = view;
        return;
    }
    m_panelRect = QRect(0, 0, kPanelWidth, kPanelHeight);
    m_panelRect.moveCenter(view.center());
    const int side = m_panelRect.height() / 2;
    const QRect upper(m_panelRect.left(), m_panelRect.top(), m_panelRect.width(),
                      m_panelRect.height() - kTitleSpace);
    m_spinnerRect = QRect(0, 0, side, side);
    m_spinnerRect.moveCenter(upper.center());
}

void WaitView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(60, 60, 60, 210));

    if (!m_title.isEmpty()) {
        QRect textRect;
        if (m_waitMode != 0)
            textRect = QRect(0, 5, width(), 50);
        else
            textRect = QRect(0, m_spinnerRect.y() + m_spinnerRect.height() + 5, width(), 50);
        if (height() < 50)
            textRect.setHeight(height());
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(std::max(1, textRect.height() / 2));
        painter.setFont(font);
        painter.setPen(QColor(0, 255, 0));
        painter.drawText(textRect, Qt::AlignCenter, displayedTitle());
    }

    if (m_waitMode == 0 && m_active && m_spinnerRect.width() > 0) {
        painter.setRenderHint(QPainter::Antialiasing);
        const QPointF centre = QRectF(m_spinnerRect).center();
        painter.translate(centre);
        painter.rotate(m_phase / static_cast<double>(kPhaseCycle) * 360.0);
        painter.translate(-centre);
        QConicalGradient gradient(centre, 0);
        gradient.setColorAt(0, QColor(0, 255, 0, 255));
        gradient.setColorAt(1, QColor(255, 255, 255, 10));
        QPen pen(QBrush(gradient), m_spinnerRect.width() / 12.0);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const double radius = m_spinnerRect.width() / 3.0;
        painter.drawEllipse(centre, radius, radius);
    }
}
