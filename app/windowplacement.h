#ifndef WINDOWPLACEMENT_H
#define WINDOWPLACEMENT_H

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where the main window goes at start-up. The window asks for a very large
// size; on a desktop smaller than that it is shrunk to the screen's
// available area (the part not taken by panels and docks) and centred in
// it, so that its menus and tool bar are never off screen.
class WindowPlacement
{
public:
    // Size of the window's client area that, with the frame around it,
    // fits into available. frameExtra is the frame's width and height (zero
    // while the window system has not framed the window yet).
    static QSize boundedSize(const QSize &requested, const QSize &frameExtra,
                             const QRect &available);
    // Top-left corner of a frame of size frame centred in available; when
    // the frame is larger than available, it is placed at the available
    // area's top-left corner instead of at a negative offset.
    static QPoint centredPosition(const QSize &frame, const QRect &available);

    // Shrinks window to the available area of its screen and centres it.
    static void fitAndCentre(QWidget *window);
};

#endif // WINDOWPLACEMENT_H
