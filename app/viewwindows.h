#ifndef VIEWWINDOWS_H
#define VIEWWINDOWS_H

#include <QCoreApplication>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class GraphicsScene;
class PageController;
class RewriteGuard;
class ScrollArea;
class ToolBar;
class QWidget;

// The roll windows and the 3D windows of the page on screen: asks for the
// range, renders it and opens the window; the pictures of a 3D window go
// when it closes. Owned by the main window; its messages belong to the
// window.
class ViewWindows : public QObject
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    ViewWindows(QWidget *window, GraphicsScene *scene, PageController *page, ToolBar *toolBar,
                RewriteGuard *guard);

    // The roll window opened last, while it is open.
    QWidget *rollView() const { return m_rollView; }

    // Roll: a project asks for its range, a picture rolls whole.
    void roll();
    // The range chosen for a roll window of the project (depth units).
    void rollRangeChosen(double a, double b);
    // Previous or Next of a roll window (area; none: the last one opened).
    void updateRoll(ScrollArea *area, int curStart, int curEnd);
    void rollLoadFailed();
    void show3D();
    // A 3D window closed: its pictures and its private folder go.
    void release3D(const QStringList &fileList);

private:
    // Cuts a roll range to the page on screen; false (and says why) when
    // nothing of it is on the page.
    bool clampRollRangeToPage(int *start, int *end);
    // Title of the roll and 3D windows: view, project name and depth range.
    QString viewTitle(const QString &view, int start, int end) const;
    ScrollArea *openRollWindow();
    // The roll picture of (start, end] of the page; null (and said so) when
    // it cannot be made.
    QImage renderRoll(int start, int end);

    QWidget *m_window = nullptr;
    GraphicsScene *m_scene = nullptr;
    PageController *m_page = nullptr;
    ToolBar *m_toolBar = nullptr;
    RewriteGuard *m_guard = nullptr;
    QPointer<QWidget> m_rollView;
};

#endif // VIEWWINDOWS_H
