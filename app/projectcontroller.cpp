#include "projectcontroller.h"

#include "fileinfowidget.h"
#include "globals.h"
#include "graphicsscene.h"
#include "itemstyle.h"
#include "pagecontroller.h"
#include "picturesaver.h"
#include "processupprojectthread.h"
#include "projectinfo.h"
#include "recentlists.h"
#include "rewriteguard.h"
#include "rewriteprogressdialog.h"
#include "settings.h"

#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsPixmapItem>
#include <QImage>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

ProjectController::ProjectController(QWidget *window, GraphicsScene *scene, PageController *page,
                                     PictureSaver *saver, RewriteGuard *guard, RecentLists *recent,
                                     FileInfoWidget *panel)
    : QObject(window)
    , m_window(window)
    , m_scene(scene)
    , m_page(page)
    , m_saver(saver)
    , m_guard(guard)
    , m_recent(recent)
    , m_fileInfoWidget(panel)
    , m_projectInfo(ProjectInfo::instance())
{
}

ProjectController::~ProjectController()
{
    if (m_upProcessThread) {
        m_upProcessThread->wait();
        delete m_upProcessThread;
        m_upProcessThread = nullptr;
    }
}

bool ProjectController::mayReplacePage()
{
    if (m_guard->refuse())
        return false;
    return m_saver->confirmUnsavedChanges() != QMessageBox::Cancel;
}

void ProjectController::openProject()
{
    if (!mayReplacePage())
        return;
    // The open page stays until a file is chosen.
    const QString path = QFileDialog::getOpenFileName(m_window, tr("Open project file"),
                                                      Settings::instance()->projectDir(),
                                                      tr("project (*.prj)"));
    if (path.isEmpty())
        return;
    clearPage();
    openProjectFile(path);
}

void ProjectController::openProjectFile(const QString &path)
{
    if (path.isEmpty())
        return;
    if (m_upProcessThread)
        return; // a conversion is running; its project stays open
    m_page->stopReading();

    if (!QFileInfo(path).isFile()) {
        QMessageBox::warning(m_window, tr("Warning"),
                             tr("The project file \"%1\" does not exist!").arg(path));
        return;
    }

    m_page->forgetScales();
    m_saver->forgetTarget();
    pixelsPerUnit = 0.0;
    // The largest page depends on the image width of this project.
    maxPageDepth = 0.0;

    m_projectInfo->reset();
    m_projectInfo->setDatabase(path);
    m_projectInfo->loadProjectInfo();

    // A project in a read-only place opens for viewing, and says so once; one
    // that cannot even be read there (an interrupted change waits to be rolled
    // back) says why instead of calling itself empty.
    const QString readOnly = m_projectInfo->writeProblem();
    if (!readOnly.isEmpty()) {
        if (m_projectInfo->imageWidth() <= 0) {
            QMessageBox::warning(m_window, tr("Warning"),
                                 tr("The project \"%1\" cannot be opened: %2.").arg(QFileInfo(path).fileName(), readOnly));
            showFileInTitle(QString());
            return;
        }
        QMessageBox::information(m_window, QString(),
                                 tr("The project is opened for viewing only: %1. Corrections and structure "
                                    "picks cannot be saved.")
                                     .arg(readOnly));
    }

    if (m_projectInfo->direction() == QLatin1String("up"))
        convertUpwardProject(path);

    Settings::instance()->setProjectDir(path);
    // A file without images or diameter is no project to come back to.
    const bool isProject = m_projectInfo->imageWidth() > 0 && m_projectInfo->diameter() > 0;
    if (isProject)
        m_recent->addProject(path);
    showFileInTitle(path);

    // The boxes span the project, and its first page begins at its top.
    if (m_fileInfoWidget && isProject) {
        const int top = m_projectInfo->start();
        m_fileInfoWidget->setDepthRange(top, m_projectInfo->maxDepth());
        m_fileInfoWidget->setStartDepth(top);
        m_fileInfoWidget->setEndDepth(top + m_fileInfoWidget->pageDepth());
    }
    m_page->readPanelPage();
}

void ProjectController::convertUpwardProject(const QString &path)
{
    auto *dialog = new RewriteProgressDialog(tr("Waiting for process project file..."), m_window);
    QPointer<RewriteProgressDialog> progressDialog = dialog;

    m_upProcessThread = new ProcessUpProjectThread(path, this);
    m_guard->setThread(m_upProcessThread);
    dialog->follow(m_upProcessThread);

    QEventLoop loop;
    connect(m_upProcessThread, &QThread::finished, &loop, &QEventLoop::quit);
    m_upProcessThread->start(QThread::InheritPriority);
    dialog->show();
    if (!m_upProcessThread->isFinished())
        loop.exec();
    // Let the dialog see the worker's last signals before it goes.
    QCoreApplication::processEvents();

    const bool converted = m_upProcessThread->succeeded();
    m_guard->release(m_upProcessThread);
    delete m_upProcessThread;
    m_upProcessThread = nullptr;
    if (progressDialog)
        progressDialog->deleteLater();

    if (converted) {
        // Read the rewritten table again: its deepest piece has moved.
        m_projectInfo->loadProjectInfo();
        m_projectInfo->setDirection(QStringLiteral("down"));
    } else {
        QMessageBox::warning(m_window, tr("Warning"),
                             tr("The upward project could not be converted; "
                                "the project file was left unchanged."));
    }
}

void ProjectController::openFile(const QString &path)
{
    if (path.isEmpty())
        return;
    if (!QFileInfo(path).isFile()) {
        QMessageBox::warning(m_window, tr("Warning"), tr("The file \"%1\" does not exist!").arg(path));
        return;
    }
    if (QFileInfo(path).suffix().compare(QLatin1String("prj"), Qt::CaseInsensitive) == 0)
        openProjectFile(path);
    else
        openPictureFile(path);
}

void ProjectController::openPicture()
{
    if (!mayReplacePage())
        return;
    // The open project and its page stay until a file is chosen.
    const QString path = QFileDialog::getOpenFileName(m_window, tr("Open Picture"),
                                                      Settings::instance()->openPicDir(),
                                                      tr("Picture (*.jpg)"));
    openPictureFile(path);
}

void ProjectController::openPictureFile(const QString &path)
{
    if (path.isEmpty())
        return;

    const QString suffix = QFileInfo(path).suffix();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("jpg")
        && suffix != QLatin1String("bmp")) {
        QMessageBox box(QMessageBox::Warning, tr("Warning"), tr("Format error!"), QMessageBox::Ok,
                        nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
        box.button(QMessageBox::Ok)->setText(tr("OK"));
        box.exec();
    } else {
        // A picture that cannot be read (gone since it was listed, damaged)
        // leaves the page as it is.
        const QImage image(path);
        if (image.isNull()) {
            QMessageBox::warning(m_window, tr("Warning"), tr("The picture \"%1\" cannot be opened.").arg(path));
            m_recent->removeFile(path);
            return;
        }
        m_page->stopReading();
        m_page->clearScene();
        // No project is open with a picture, and it has no project scale:
        // lengths are measured in pixels.
        m_projectInfo->reset();
        pixelsPerUnit = 0.0;
        m_scene->setSceneRect(0, 0, image.width(), image.height());
        auto *item = m_scene->addPixmap(QPixmap::fromImage(image));
        item->setPos(0, 0);
        m_scene->setBaseItemCount(1);
        m_saver->forgetTarget();
        showFileInTitle(path);
    }

    Settings::instance()->setOpenPicDir(path);
    m_recent->addFile(path);
}

void ProjectController::closePicture()
{
    if (!mayReplacePage())
        return;
    clearPage();
}

void ProjectController::clearPage()
{
    m_page->stopReading();
    m_page->discardPage();
    m_scene->setSceneRect(0, 0, PageController::kEmptySceneWidth, PageController::kEmptySceneHeight);
    m_projectInfo->reset();
    pixelsPerUnit = 0.0;
    ItemStyle::instance()->setGridVisible(false);
    if (m_closed)
        m_closed();
    showFileInTitle(QString());
}

void ProjectController::showFileInTitle(const QString &path)
{
    if (path.isEmpty())
        m_window->setWindowTitle(tr("KORA"));
    else if (!m_projectInfo->writeProblem().isEmpty() && path == m_projectInfo->projectPath())
        m_window->setWindowTitle(
            QStringLiteral("%1 %2 - %3").arg(QFileInfo(path).fileName(), tr("[read-only]"), tr("KORA")));
    else
        m_window->setWindowTitle(QStringLiteral("%1 - %2").arg(QFileInfo(path).fileName(), tr("KORA")));
}

void ProjectController::openRecentFile(const QString &path)
{
    // The picture replaces the page: drawings on it are not dropped unasked.
    if (!mayReplacePage())
        return;
    openPictureFile(path);
}

void ProjectController::openRecentProject(const QString &path)
{
    if (m_guard->refuse())
        return;
    if (!QFileInfo(path).isFile()) {
        // Gone since it was listed: the page stays, the entry goes.
        QMessageBox::warning(m_window, tr("Warning"), tr("The project file \"%1\" does not exist!").arg(path));
        m_recent->removeProject(path);
        return;
    }
    if (m_saver->confirmUnsavedChanges() == QMessageBox::Cancel)
        return;
    clearPage();
    openProjectFile(path);
}
