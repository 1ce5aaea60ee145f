#include "windowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QSize WindowPlacement::boundedSize(const QSize &requested, const QSize &frameExtra,
                                   const QRect &available)
{
    const int width = qMax(1, qMin(requested.width(), available.width() - frameExtra.width()));
    const int height = qMax(1, qMin(requested.height(), available.height() - frameExtra.height()));
    return QSize(width, height);
}

QPoint WindowPlacement::centredPosition(const QSize &frame, const QRect &available)
{
    // Centring as (desktop - window) / 2, rounding towards zero, within the
    // available area; never further up or left than its corner.
    const int dx = (available.width() - frame.width()) / 2;
    const int dy = (available.height() - frame.height()) / 2;
    return QPoint(available.x() + qMax(0, dx), available.y() + qMax(0, dy));
}

void WindowPlacement::fitAndCentre(QWidget *window)
{
    if (!window)
        return;
    QScreen *screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QSize frameExtra = window->frameGeometry().size() - window->geometry().size();
    window->resize(boundedSize(window->size(), frameExtra, available));
    // The layout may keep the window larger than asked (its minimum size);
    // centre what it really is.
    const QSize frame = window->geometry().size() + frameExtra;
    window->move(centredPosition(frame, available));
}
