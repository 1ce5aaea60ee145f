#ifndef PROJECTCONTROLLER_H
#define PROJECTCONTROLLER_H

#include <QCoreApplication>
#include <QObject>
#include <QString>
#include <functional>

class FileInfoWidget;
class GraphicsScene;
class PageController;
class PictureSaver;
class ProcessUpProjectThread;
class ProjectInfo;
class RecentLists;
class RewriteGuard;
class QWidget;

// Opens and closes projects and pictures: the unsaved-changes question
// first, the upward conversion of a project logged upward, the recent lists
// and the window title. Owned by the main window; its messages belong to
// the window.
class ProjectController : public QObject
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    ProjectController(QWidget *window, GraphicsScene *scene, PageController *page, PictureSaver *saver,
                      RewriteGuard *guard, RecentLists *recent, FileInfoWidget *panel);
    ~ProjectController() override;

    // Called when the page is emptied for no project (tool, picks).
    void setClosedHook(std::function<void()> closed) { m_closed = std::move(closed); }

    // The commands: each asks about unsaved drawings first.
    void openProject();
    void openPicture();
    void closePicture();
    void openRecentFile(const QString &path);
    void openRecentProject(const QString &path);

    // Opens a project file (no question asked) and reads its first page.
    void openProjectFile(const QString &path);
    // Shows a single picture file for drawing on (no project).
    void openPictureFile(const QString &path);
    // A project (".prj", any case) or a picture. A missing file is
    // reported, never created.
    void openFile(const QString &path);

    // Empties the window (no question asked): page, project, grid, tool.
    void clearPage();
    // Window title: "KORA" and the open project's or picture's file name.
    void showFileInTitle(const QString &path);

private:
    // No rewrite runs and the user lets the drawings of the page go.
    bool mayReplacePage();
    // Rewrites a project logged upward into the downward layout, showing
    // its progress; the project record follows when it succeeded.
    void convertUpwardProject(const QString &path);

    QWidget *m_window = nullptr;
    GraphicsScene *m_scene = nullptr;
    PageController *m_page = nullptr;
    PictureSaver *m_saver = nullptr;
    RewriteGuard *m_guard = nullptr;
    RecentLists *m_recent = nullptr;
    FileInfoWidget *m_fileInfoWidget = nullptr;
    ProjectInfo *m_projectInfo = nullptr;
    std::function<void()> m_closed;
    ProcessUpProjectThread *m_upProcessThread = nullptr;
};

#endif // PROJECTCONTROLLER_H
