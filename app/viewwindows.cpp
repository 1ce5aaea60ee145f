#include "viewwindows.h"

#include "globals.h"
#include "graphicsleftscaleitem.h"
#include "graphicsscene.h"
#include "main3dwindow.h"
#include "pagecontroller.h"
#include "pagerenderer.h"
#include "projectinfo.h"
#include "rangedialog.h"
#include "rewriteguard.h"
#include "scrollarea.h"
#include "toolbar.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>

namespace {

// Prefix of the private folders holding the pictures of one 3D window.
const QString k3DFolderPrefix = QStringLiteral("kora-3d-");

} // namespace

ViewWindows::ViewWindows(QWidget *window, GraphicsScene *scene, PageController *page, ToolBar *toolBar,
                         RewriteGuard *guard)
    : QObject(window)
    , m_window(window)
    , m_scene(scene)
    , m_page(page)
    , m_toolBar(toolBar)
    , m_guard(guard)
{
}

// Title of a view window: the view, the project and the depth range shown.
QString ViewWindows::viewTitle(const QString &view, int start, int end) const
{
    const QString project = QFileInfo(ProjectInfo::instance()->projectPath()).completeBaseName();
    if (project.isEmpty())
        return view;
    return tr("%1 - %2 (%3 m - %4 m)")
        .arg(view, project)
        .arg(start / 10000.0, 0, 'f', 2)
        .arg(end / 10000.0, 0, 'f', 2);
}

ScrollArea *ViewWindows::openRollWindow()
{
    ScrollArea *area = new ScrollArea(m_window);
    m_rollView = area;
    connect(area, &ScrollArea::signalOpenglLoadFailed, this, [this] { rollLoadFailed(); });
    return area;
}

void ViewWindows::roll()
{
    if (m_guard->refuse())
        return;
    const ProjectInfo *info = ProjectInfo::instance();
    if (!info->projectPath().isEmpty()) {
        // The roll shows the page on screen: that is the range proposed.
        const bool page = info->pageEnd() > info->pageStart();
        RangeDialog *dialog = new RangeDialog(m_window);
        dialog->setLowestStart(page ? info->pageStart() : info->start());
        dialog->setEnd(page ? info->pageEnd() : info->maxDepth());
        connect(dialog, &RangeDialog::rollRangeGetted, this, [this](double a, double b) { rollRangeChosen(a, b); });
        dialog->exec();
        return;
    }
    // A picture (or nothing): the whole scene rolls.
    ScrollArea *area = openRollWindow();
    area->setImage(PageRenderer(m_scene, nullptr, 0, 0).renderRollImage(0, 0));
    area->setRange(0, 0);
    area->setWindowTitle(tr("Roll view"));
    area->show();
}

void ViewWindows::rollRangeChosen(double a, double b)
{
    GraphicsLeftScaleItem *leftScale = m_page->leftScale();
    const ProjectInfo *info = ProjectInfo::instance();
    if (!leftScale || readingInProgress)
        return;
    int start = int(std::max(a, double(info->start())));
    int end = int(std::min(b, double(info->maxDepth())));
    if (!clampRollRangeToPage(&start, &end))
        return;
    const QImage image = renderRoll(start, end);
    if (image.isNull())
        return;
    ScrollArea *area = openRollWindow();
    connect(area, &ScrollArea::signalRollUpdate, this,
            [this, area](int curStart, int curEnd) { updateRoll(area, curStart, curEnd); });
    area->setImage(image);
    area->setRange(start, end);
    area->setWindowTitle(viewTitle(tr("Roll view"), start, end));
    area->show();
}

bool ViewWindows::clampRollRangeToPage(int *start, int *end)
{
    // The roll view rolls the page on screen: rows beyond it would roll
    // blank. A range reaching past the page is cut to it.
    const int pageStart = ProjectInfo::instance()->pageStart();
    const int pageEnd = ProjectInfo::instance()->pageEnd();
    *start = std::max(*start, pageStart);
    *end = std::min(*end, pageEnd);
    if (*end > *start)
        return true;
    QMessageBox::warning(m_window, tr("Warning"),
                         tr("The roll view shows the page on screen (%1 m - %2 m). Go to the page of "
                            "the range first.")
                             .arg(pageStart / 10000.0, 0, 'f', 2)
                             .arg(pageEnd / 10000.0, 0, 'f', 2));
    return false;
}

void ViewWindows::updateRoll(ScrollArea *area, int curStart, int curEnd)
{
    // Previous or Next of a roll window: that window takes the new range,
    // also when a later roll window is open.
    if (!area)
        area = qobject_cast<ScrollArea *>(m_rollView.data());
    GraphicsLeftScaleItem *leftScale = m_page->leftScale();
    const ProjectInfo *info = ProjectInfo::instance();
    if (!leftScale || !area || readingInProgress)
        return;
    int start = std::max(curStart, info->start());
    int end = std::min(curEnd, info->maxDepth());
    // Past either end of the project the range is empty or reversed.
    if (end > start && end - start <= maxPageDepth) {
        if (!clampRollRangeToPage(&start, &end))
            return;
        const QImage image = renderRoll(start, end);
        if (image.isNull())
            return;
        area->setRange(start, end);
        area->setImage(image);
        area->setWindowTitle(viewTitle(tr("Roll view"), start, end));
    } else {
        QMessageBox::warning(m_window, tr("Warning"), tr("No picture!"));
    }
}

QImage ViewWindows::renderRoll(int start, int end)
{
    GraphicsLeftScaleItem *leftScale = m_page->leftScale();
    const PageRenderer renderer(m_scene, leftScale, start, end);
    const QImage image = renderer.renderRollImage(renderer.sceneY(start), renderer.sceneY(end));
    if (image.isNull())
        rollLoadFailed();
    return image;
}

void ViewWindows::rollLoadFailed()
{
    QMessageBox::warning(m_window, tr("Warning"), tr("Range is too big.Please input a smaller range!"));
}

void ViewWindows::show3D()
{
    if (m_guard->refuse() || readingInProgress) {
        m_toolBar->handleShow3DFinish(QStringList());
        return;
    }
    const int pageStart = ProjectInfo::instance()->pageStart();
    const int pageEnd = ProjectInfo::instance()->pageEnd();
    if (pageEnd == pageStart || !m_page->leftScale()) {
        QMessageBox::warning(m_window, tr("Warning"), tr("no Image!"));
        m_toolBar->handleShow3DFinish(QStringList());
        return;
    }

    const auto refuse = [this]() {
        QMessageBox::information(m_window, QString(),
                                 tr("Image is too big to save, Please chose a smaller page!"));
        m_toolBar->handleShow3DFinish(QStringList());
    };
    // The pictures go to a folder of their own, removed again when the
    // window closes, or here when it cannot open. Qt answers an empty
    // temporary path when the system's is missing: the working directory is
    // no place for them either.
    const QString tempRoot = QDir::tempPath();
    if (tempRoot.isEmpty() || !QFileInfo(tempRoot).isDir()) {
        refuse();
        return;
    }
    QTemporaryDir folder(QDir(tempRoot).filePath(k3DFolderPrefix + QStringLiteral("XXXXXX")));
    const QString currentImage = folder.path() + tr("/CurrentImage.jpg");
    const QString leftRuler = folder.path() + tr("/LeftRuler.jpg");
    const QString topRuler = folder.path() + tr("/TopRuler.jpg");
    PageRenderer renderer(m_scene, m_page->leftScale(), pageStart, pageEnd);
    const bool written = folder.isValid()
        && renderer.renderPage(pageEnd - pageStart, currentImage, true, true)
        && renderer.renderRulers(leftRuler, topRuler);
    if (!written) {
        refuse();
        return;
    }
    folder.setAutoRemove(false);

    Main3DWindow *window = new Main3DWindow(QStringList{currentImage, leftRuler, topRuler});
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(viewTitle(tr("3D view"), pageStart, pageEnd));
    connect(window, &Main3DWindow::signal3dwindowclose, m_toolBar, &ToolBar::handleShow3DFinish);
    connect(window, &Main3DWindow::signal3dwindowclose, this,
            [this](const QStringList &files) { release3D(files); });
    connect(window, &Main3DWindow::signalTextureLoadFailed, this, [this] { rollLoadFailed(); });
    // Leaving the program closes the window too, so its pictures go.
    connect(qApp, &QCoreApplication::aboutToQuit, window, &QWidget::close);
    window->show();
}

void ViewWindows::release3D(const QStringList &fileList)
{
    QSet<QString> folders;
    for (const QString &file : qAsConst(fileList)) {
        if (QFile::exists(file))
            QFile::remove(file);
        folders.insert(QFileInfo(file).absolutePath());
    }
    // The private folder of the window goes with its last picture.
    for (const QString &folder : qAsConst(folders)) {
        if (QFileInfo(folder).fileName().startsWith(k3DFolderPrefix))
            QDir().rmdir(folder);
    }
}
