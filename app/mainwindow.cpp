#include "mainwindow.h"

#include "contrastcontroller.h"
#include "contrastdock.h"
#include "correctanglethread.h"
#include "correctdepththread.h"
#include "correctiondialog.h"
#include "fileinfowidget.h"
#include "frmmessagebox.h"
#include "globals.h"
#include "graphicsleftscaleitem.h"
#include "graphicsscene.h"
#include "graphicstextitem.h"
#include "graphicstopscaleitem.h"
#include "graphicsview.h"
#include "itemstyle.h"
#include "koraresources.h"
#include "languagemanager.h"
#include "main3dwindow.h"
#include "mouselabel.h"
#include "pagerenderer.h"
#include "piececropper.h"
#include "processupprojectthread.h"
#include "qexportreportthread.h"
#include "qreportpdf.h"
#include "qreportpreview.h"
#include "qreportword.h"
#include "projectinfodialog.h"
#include "projectinfo.h"
#include "qdlgdisplaysetting.h"
#include "rangedialog.h"
#include "readbigimagethread.h"
#include "reportdlg.h"
#include "reportprojectfacts.h"
#include "rewriteprogressdialog.h"
#include "savedialog.h"
#include "scrollarea.h"
#include "settings.h"
#include "structurepickcontroller.h"
#include "structurescontroller.h"
#include "structurespage.h"
#include "toolbar.h"
#include "userguide.h"
#include "waitview.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDebug>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsLineItem>
#include <QGraphicsPixmapItem>
#include <QHBoxLayout>
#include <QImage>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPen>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QSplitter>
#include <QTemporaryDir>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QtMath>
#include <cmath>

namespace {

// Scene layout of a page: the image column starts at x = 1300 and y = 120.
constexpr int kColumnLeft = 1300;
constexpr int kColumnTop = 120;
constexpr int kEmptySceneWidth = 3000;
constexpr int kEmptySceneHeight = 6000;

// Item type codes of the canvas.
constexpr int kPageImageType = 7;
constexpr int kLengthMeasureType = 11;
constexpr int kAngleMeasureType = 12;
constexpr int kLithologyMarkType = 13;
constexpr int kGridType = 15;
constexpr int kLeftScaleType = 16;
constexpr int kTopScaleType = 17;

// Waits, with the event loop running, until thread has finished.
void waitForThread(QThread *thread)
{
    if (!thread || thread->isFinished() || !thread->isRunning())
        return;
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    // The thread may have ended between the test above and the connection.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&loop, thread] {
        if (thread->isFinished())
            loop.quit();
    });
    poll.start(100);
    if (!thread->isFinished())
        loop.exec();
}

bool isBaseItemType(int type)
{
    return type == kPageImageType || type == kGridType || type == kLeftScaleType
        || type == kTopScaleType;
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    initKoraResources();

    // 1. Initial values.
    pixelsPerUnit = 0.0;

    // 2. Central area.
    resize(4000, 4000);
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_scene = new GraphicsScene(this);
    m_scene->setBackgroundBrush(Qt::white);
    m_view = new GraphicsView(m_splitter);
    m_scene->setSceneRect(0, 0, kEmptySceneWidth, kEmptySceneHeight);
    m_view->centerOn(0, 0);
    m_view->setScene(m_scene);
    m_splitter->addWidget(m_view);

    // The navigation panel is made by the project record; make sure the
    // record knows how, whoever touched it first.
    FileInfoWidget::installAsNavigationPanel();
    m_projectInfo = ProjectInfo::instance();
    m_fileInfoWidget = dynamic_cast<FileInfoWidget *>(m_projectInfo->fileInfoWidget());
    if (m_fileInfoWidget)
        m_splitter->addWidget(m_fileInfoWidget);
    setCentralWidget(m_splitter);
    m_projectInfoDialog = new ProjectInfoDialog;
    // The corrections dialog lives as long as the window; its "Ok" leaves
    // the file alone while a rewrite runs.
    m_correctionDialog = new CorrectionDialog;
    m_correctionDialog->setBusyCheck([this] { return rewriteRunning(); });
    connect(m_correctionDialog, &CorrectionDialog::signalToCorrectDepth, this, &MainWindow::handleCorrectDepth);
    connect(m_correctionDialog, &CorrectionDialog::signalToCorrectAngle, this, &MainWindow::handleCorrectAngle);
    connect(m_correctionDialog, &CorrectionDialog::signalDiameterCorrected, this,
            &MainWindow::handleAfterCorrectDiameter);
    connect(this, &MainWindow::NotifyLanguageChanged, m_correctionDialog, &CorrectionDialog::OnRetranslate);

    // 3. Actions.
    createActions();

    // 4. Tool bar.
    m_toolBar = new ToolBar(tr("Tools"), this);
    addToolBar(Qt::LeftToolBarArea, m_toolBar);

    // 5. Menus.
    createMenus();

    // Wall contrast and structure plots: docks, View menu, tool bar.
    m_contrast = new ContrastController(m_scene, this);
    m_contrastDock = new ContrastDock(m_contrast, this);
    addDockWidget(Qt::RightDockWidgetArea, m_contrastDock);
    m_contrastDock->hide();
    m_viewMenu->addAction(m_contrastDock->toggleViewAction());
    m_structures = new StructuresController(this);
    connect(this, &MainWindow::NotifyLanguageChanged, m_contrastDock, &ContrastDock::OnRetranslate);
    connect(this, &MainWindow::NotifyLanguageChanged, m_structures, &StructuresController::OnRetranslate);

    // 6. Status bar.
    createStatusBar();

    // 7. Connections.
    connectSignals();

    // 8. Structure picks: the pick tool's items, their storage and their list.
    m_picks = new StructurePickController(this);
    showFileInTitle(QString());
}

MainWindow::~MainWindow()
{
    stopReading();
    // Readers let go by Stop end at their next piece; none may outlive the
    // window while it still uses its connection.
    for (const QPointer<ReadBigImageThread> &reader : qAsConst(m_releasedReaders)) {
        if (reader) {
            reader->requestStop();
            reader->wait();
            delete reader.data();
        }
    }
    if (m_upProcessThread) {
        m_upProcessThread->wait();
        delete m_upProcessThread;
        m_upProcessThread = nullptr;
    }
    // The panel and the read-out are process-wide and outlive the window.
    if (m_fileInfoWidget)
        m_fileInfoWidget->setParent(nullptr);
    if (m_mouseLabel)
        m_mouseLabel->setParent(nullptr);
    m_scene->clear();
    m_topScale = nullptr;
    m_leftScale = nullptr;
    delete m_projectInfoDialog;
    m_projectInfoDialog = nullptr;
    // A correction still running stops and rolls back (its destructor waits).
    m_pendingCorrections.clear();
    delete m_correctionThread.data();
    delete m_correctionDialog;
    m_correctionDialog = nullptr;
    delete m_view;
    m_view = nullptr;
    delete m_scene;
    m_scene = nullptr;
}

void MainWindow::createActions()
{
    m_closeAct = new QAction(QIcon(QStringLiteral(":/res/close.png")), tr("C&lose"), this);
    m_closeAct->setShortcut(QKeySequence::Close);
    m_closeAct->setStatusTip(tr("Close the picture"));
    connect(m_closeAct, &QAction::triggered, this, &MainWindow::closePicture);

    m_exitAct = new QAction(tr("E&xit"), this);
    m_exitAct->setShortcut(QKeySequence(Qt::ALT + Qt::Key_F4));
    m_exitAct->setStatusTip(tr("Exit the application"));
    connect(m_exitAct, &QAction::triggered, this, &QWidget::close);

    m_aboutAct = new QAction(QIcon(QStringLiteral(":/res/about.png")), tr("&About"), this);
    m_aboutAct->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_A));
    m_aboutAct->setStatusTip(tr("Show the application's About box"));
    connect(m_aboutAct, &QAction::triggered, this, &MainWindow::about);

    m_userGuideAct = new QAction(tr("User &guide"), this);
    m_userGuideAct->setShortcut(QKeySequence::HelpContents);
    m_userGuideAct->setStatusTip(tr("Show the user guide"));
    connect(m_userGuideAct, &QAction::triggered, this, &MainWindow::showUserGuide);

    m_displaySettingAct = new QAction(QIcon(QStringLiteral(":/res/DisplaySetting.png")),
                                      tr("&DisplaySetting"), this);
    m_displaySettingAct->setStatusTip(tr("Popup display setting dialog"));
    connect(m_displaySettingAct, &QAction::triggered, this, &MainWindow::OnDisplaySetting);

    m_englishAct = new QAction(tr("&English"), this);
    m_englishAct->setCheckable(true);
    connect(m_englishAct, &QAction::triggered, this, &MainWindow::OnLanguageSwtich);
    m_chineseAct = new QAction(tr("&Chinese"), this);
    m_chineseAct->setCheckable(true);
    connect(m_chineseAct, &QAction::triggered, this, &MainWindow::OnLanguageSwtich);

    for (int i = 0; i < MaxRecentFiles; ++i) {
        auto *act = new QAction(this);
        act->setVisible(false);
        connect(act, &QAction::triggered, this, &MainWindow::openRecentFile);
        m_recentFileActs << act;
    }
    for (int i = 0; i < MaxRecentFiles; ++i) {
        auto *act = new QAction(this);
        act->setVisible(false);
        connect(act, &QAction::triggered, this, &MainWindow::openRecentProject);
        m_recentProjectActs << act;
    }

    const bool chinese = LanguageManager::instance()->isChinese();
    m_englishAct->setChecked(!chinese);
    m_chineseAct->setChecked(chinese);
    qDebug() << "Language:" << (chinese ? "Chinese" : "English");
}

void MainWindow::createMenus()
{
    m_fileMenu = menuBar()->addMenu(tr("&File"));
    const QList<QAction *> fileActions = m_toolBar->fileGroupActions();
    for (int i = 0; i < fileActions.size(); ++i) {
        if (m_toolBar->fileActionInMenu(i))
            m_fileMenu->addAction(fileActions.at(i));
    }
    m_recentFilesMenu = m_fileMenu->addMenu(tr("RecentFiles"));
    for (QAction *act : qAsConst(m_recentFileActs))
        m_recentFilesMenu->addAction(act);
    updateRecentFileActions();
    m_recentProjectsMenu = m_fileMenu->addMenu(tr("RecentProjects"));
    for (QAction *act : qAsConst(m_recentProjectActs))
        m_recentProjectsMenu->addAction(act);
    updateRecentProjectActions();
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_closeAct);
    m_fileMenu->addAction(m_exitAct);

    m_editMenu = menuBar()->addMenu(tr("&Edit"));
    const QList<QAction *> editActions = m_toolBar->editGroupActions();
    for (int i = 0; i < editActions.size(); ++i) {
        if (m_toolBar->editActionInMenu(i))
            m_editMenu->addAction(editActions.at(i));
    }
    m_editMenu->addAction(m_displaySettingAct);
    m_languageMenu = m_editMenu->addMenu(tr("&Language"));
    m_languageMenu->addAction(m_chineseAct);
    m_languageMenu->addAction(m_englishAct);

    m_viewMenu = menuBar()->addMenu(tr("&View"));
    m_viewMenu->addAction(m_toolBar->toggleViewAction());

    m_helpMenu = menuBar()->addMenu(tr("&Help"));
    m_helpMenu->addAction(m_userGuideAct);
    m_helpMenu->addAction(m_aboutAct);
}

void MainWindow::createStatusBar()
{
    statusBar()->showMessage(tr("Ready"));
    m_progressBar = new QProgressBar(this);
    m_progressBar->setTextVisible(true);
    m_progressBar->setValue(0);
    m_progressBar->hide();
    statusBar()->addWidget(m_progressBar);

    m_mouseLabel = MouseLabel::instance();
    auto *holder = new QWidget(this);
    auto *layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    layout->addWidget(m_mouseLabel);
    statusBar()->addPermanentWidget(holder);
}

void MainWindow::connectSignals()
{
    connect(m_scene, &GraphicsScene::signalCancelInsertItem, m_toolBar, &ToolBar::handleCancelInsertItem);
    connect(m_scene, &GraphicsScene::itemInserted, m_toolBar, &ToolBar::handleItemInserted);
    connect(m_scene, &GraphicsScene::itemInserted, m_view, &GraphicsView::handleItemInserted);
    connect(m_scene, &GraphicsScene::signalCancelInsertItem, m_view, &GraphicsView::handleCancelInsertItem);
    connect(m_scene, &GraphicsScene::itemInserted, this, &MainWindow::handleItemInserted);
    if (m_fileInfoWidget) {
        connect(m_fileInfoWidget, &FileInfoWidget::goPressed, this, &MainWindow::handleGoPressed);
        connect(m_fileInfoWidget, &FileInfoWidget::signalLastPressed, this, &MainWindow::handleLastImages);
        connect(m_fileInfoWidget, &FileInfoWidget::signalNextPressed, this, &MainWindow::handleNextImages);
    }
    connect(m_view, &GraphicsView::mouseMoved, this, &MainWindow::handleMouseMoved);
    if (m_fileInfoWidget) {
        connect(m_fileInfoWidget, &FileInfoWidget::signalStopPressed, this, &MainWindow::handleStopPressed);
        connect(this, &MainWindow::NotifyLanguageChanged, m_fileInfoWidget, &FileInfoWidget::OnRetranslate);
    }
    connect(m_toolBar, &ToolBar::signalToolRealChanged, m_scene, &GraphicsScene::init);
    connect(m_toolBar, &ToolBar::NotifyShowGridLines, m_scene, &GraphicsScene::ShowGridLines);
    connect(m_toolBar, &ToolBar::signalOpenPicture, this, &MainWindow::openPicture);
    connect(m_toolBar, &ToolBar::signalOpenProject, this, &MainWindow::openProject);
    connect(m_toolBar, &ToolBar::signalSaveCurrentImage, this,
            static_cast<void (MainWindow::*)()>(&MainWindow::saveCurrentImage));
    connect(m_toolBar, &ToolBar::signalRoll, this, &MainWindow::roll);
    connect(m_toolBar, &ToolBar::signalDeleteItem, this, &MainWindow::deleteItem);
    connect(m_toolBar, &ToolBar::correctionsBtnPressed, this, &MainWindow::handleCorrectionsBtnPressed);
    connect(m_toolBar, &ToolBar::projectInfoPressed, this, &MainWindow::handleProjectInfoPressed);
    connect(m_toolBar, &ToolBar::exportReportBtnPressed, this, &MainWindow::handleExportReportBtnPressed);
    connect(m_toolBar, &ToolBar::signalSaveAs, this, &MainWindow::saveAs);
    connect(m_toolBar, &ToolBar::signalSaveOriginalImage, this, &MainWindow::saveDrewImage);
    connect(this, &MainWindow::NotifyLanguageChanged, m_toolBar, &ToolBar::OnRetranslate);
    connect(m_toolBar, &ToolBar::signalShowCurrent3DImage, this, &MainWindow::handleShow3DImage);
    connect(this, &MainWindow::NotifyLanguageChanged, m_projectInfoDialog, &ProjectInfoDialog::OnRetranslate);
    connect(this, &MainWindow::NotifyLanguageChanged, this, &MainWindow::OnRetranslate);
}

// ---------------------------------------------------------------------------
// Unsaved changes, closing, deleting, About

int MainWindow::confirmUnsavedChanges()
{
    if (m_scene->items().size() == m_scene->baseItemCount())
        return 0;

    QMessageBox box(QMessageBox::Warning, tr("Warning"), tr("Whether to save the changes?"),
                    QMessageBox::Save | QMessageBox::Abort | QMessageBox::Cancel, nullptr,
                    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.button(QMessageBox::Save)->setText(tr("Save"));
    box.button(QMessageBox::Abort)->setText(tr("Abort"));
    box.button(QMessageBox::Cancel)->setText(tr("Cancel"));
    box.setEscapeButton(QMessageBox::Cancel);
    const int answer = box.exec();
    if (answer == QMessageBox::Save) {
        saveCurrentImage(false);
        // A successful save makes the drawings part of the page. When the save
        // did not happen (cancelled, failed or not available), going on would
        // drop the user's drawings: stop the caller instead.
        if (m_scene->items().size() != m_scene->baseItemCount())
            return QMessageBox::Cancel;
        return 0;
    }
    if (answer == QMessageBox::Abort)
        return QMessageBox::Abort;
    return QMessageBox::Cancel;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (refuseDuringRewrite()) {
        // The project file is being rewritten; it must not be left half done.
        event->ignore();
        return;
    }
    if (confirmUnsavedChanges() == QMessageBox::Cancel) {
        event->ignore();
        return;
    }
    stopReading();
    event->accept();
}

void MainWindow::deleteItem()
{
    // Structure picks are deleted from the project file as well.
    m_picks->deleteSelectedPicks();
    const QList<QGraphicsItem *> selected = m_scene->selectedItems();
    if (selected.isEmpty()) {
        if (QGraphicsItem *grabber = m_scene->mouseGrabberItem())
            grabber->ungrabMouse();
        return;
    }
    // Forget the item under construction: it may be among the deleted ones.
    m_scene->init();

    const QSet<QGraphicsItem *> selectedSet(selected.begin(), selected.end());
    int baseRemoved = 0;
    QList<QGraphicsItem *> toDelete;
    for (QGraphicsItem *item : selected) {
        // A selected child goes with its selected ancestor.
        bool ancestorSelected = false;
        for (QGraphicsItem *p = item->parentItem(); p; p = p->parentItem()) {
            if (selectedSet.contains(p)) {
                ancestorSelected = true;
                break;
            }
        }
        if (ancestorSelected)
            continue;
        toDelete << item;
    }
    for (QGraphicsItem *item : qAsConst(toDelete)) {
        if (isBaseItemType(item->type()))
            ++baseRemoved;
        if (item == m_topScale)
            m_topScale = nullptr;
        if (item == m_leftScale)
            m_leftScale = nullptr;
        m_scene->removeItem(item);
        delete item;
    }
    if (baseRemoved)
        m_scene->setBaseItemCount(qMax(0, m_scene->baseItemCount() - baseRemoved));
    if (QGraphicsItem *grabber = m_scene->mouseGrabberItem())
        grabber->ungrabMouse();
}

void MainWindow::about()
{
    const QString text = tr("<p> <b>KORA</b> </p> ") + tr("<p> Version: %1 </p> ").arg(QStringLiteral(KORA_VERSION))
        + tr("<p> Borehole-wall image viewer and interpretation tool. </p> ")
        + tr("<p> Pages through the unrolled 360° image of a borehole wall by depth, </p> ")
        + tr("<p> measures lengths, angles, dips and areas on it, corrects depth and azimuth, </p> ")
        + tr("<p> and exports reports and 3D views of the hole. </p> ");
    QMessageBox::about(this, tr("About"), text);
}

void MainWindow::showUserGuide()
{
    const QStringList dirs = UserGuide::searchDirs(QCoreApplication::applicationDirPath());
    const QString path = UserGuide::find(LanguageManager::instance()->isChinese(), dirs);
    if (path.isEmpty()) {
        QMessageBox::warning(this, tr("User guide"),
                             tr("The user guide is not installed. It is looked for in:\n%1")
                                 .arg(dirs.join(QLatin1Char('\n'))));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        QMessageBox::warning(this, tr("User guide"),
                             tr("No program to show %1 was found.").arg(path));
}

// ---------------------------------------------------------------------------
// Cursor read-out

int MainWindow::depthAtRow(int y) const
{
    if (m_leftScale)
        return m_leftScale->yToDepth(y - kColumnTop);
    return y - kColumnTop;
}

void MainWindow::handleMouseMoved(QMouseEvent *event)
{
    if (!event || !m_mouseLabel)
        return;
    const QPointF scenePos = m_view->mapToScene(event->pos());
    const int x = qRound(scenePos.x());
    const int y = qRound(scenePos.y());
    const int width = int(m_scene->sceneRect().width()) - 2 * kColumnLeft;
    m_mouseLabel->showPosition(x, depthAtRow(y), width);
}

// ---------------------------------------------------------------------------
// Opening and closing

void MainWindow::openProject()
{
    if (refuseDuringRewrite())
        return;
    if (confirmUnsavedChanges() == QMessageBox::Cancel)
        return;
    // The open page stays until a file is chosen.
    const QString path = QFileDialog::getOpenFileName(this, tr("Open project file"),
                                                      Settings::instance()->projectDir(),
                                                      tr("project (*.prj)"));
    if (path.isEmpty())
        return;
    clearPage();
    openProjectFile(path);
}

void MainWindow::openProjectFile(const QString &path)
{
    if (path.isEmpty())
        return;
    if (m_upProcessThread)
        return; // a conversion is running; its project stays open
    stopReading();

    if (!QFileInfo(path).isFile()) {
        QMessageBox::warning(this, tr("Warning"),
                             tr("The project file \"%1\" does not exist!").arg(path));
        return;
    }

    m_topScale = nullptr;
    m_leftScale = nullptr;
    m_reportBuilder = nullptr;
    m_hasSaveTarget = false;
    pixelsPerUnit = 0.0;
    // The largest page depends on the image width of this project.
    maxPageDepth = 0.0;

    m_projectInfo->reset();
    m_projectInfo->setDatabase(path);
    m_projectInfo->loadProjectInfo();

    if (m_projectInfo->direction() == QLatin1String("up")) {
        auto *dialog = new RewriteProgressDialog(tr("Waiting for process project file..."), this);
        m_progressDialog = dialog;

        m_upProcessThread = new ProcessUpProjectThread(path, this);
        m_rewriteThread = m_upProcessThread;
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
        delete m_upProcessThread;
        m_upProcessThread = nullptr;
        m_rewriteThread = nullptr;
        if (m_progressDialog)
            m_progressDialog->deleteLater();

        if (converted) {
            // Read the rewritten table again: its deepest piece has moved.
            m_projectInfo->loadProjectInfo();
            m_projectInfo->setDirection(QStringLiteral("down"));
        } else {
            QMessageBox::warning(this, tr("Warning"),
                                 tr("The upward project could not be converted; "
                                    "the project file was left unchanged."));
        }
    }

    Settings::instance()->setProjectDir(path);
    // A file without images or diameter is no project to come back to.
    const bool isProject = m_projectInfo->imageWidth() > 0 && m_projectInfo->diameter() > 0;
    if (isProject)
        addRecentProject(path);
    showFileInTitle(path);

    // The boxes span the project, and its first page begins at its top.
    if (m_fileInfoWidget && isProject) {
        const int top = m_projectInfo->start();
        m_fileInfoWidget->setDepthRange(top, m_projectInfo->maxDepth());
        m_fileInfoWidget->setStartDepth(top);
        m_fileInfoWidget->setEndDepth(top + m_fileInfoWidget->pageDepth());
    }
    readPanelPage();
}

void MainWindow::openFile(const QString &path)
{
    if (path.isEmpty())
        return;
    if (!QFileInfo(path).isFile()) {
        QMessageBox::warning(this, tr("Warning"), tr("The file \"%1\" does not exist!").arg(path));
        return;
    }
    if (QFileInfo(path).suffix().compare(QLatin1String("prj"), Qt::CaseInsensitive) == 0)
        openProjectFile(path);
    else
        openPictureFile(path);
}

void MainWindow::openPicture()
{
    if (refuseDuringRewrite())
        return;
    if (confirmUnsavedChanges() == QMessageBox::Cancel)
        return;
    // The open project and its page stay until a file is chosen.
    const QString path = QFileDialog::getOpenFileName(this, tr("Open Picture"),
                                                      Settings::instance()->openPicDir(),
                                                      tr("Picture (*.jpg)"));
    openPictureFile(path);
}

void MainWindow::openPictureFile(const QString &path)
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
            QMessageBox::warning(this, tr("Warning"), tr("The picture \"%1\" cannot be opened.").arg(path));
            Settings::removeRecent(Settings::kRecentFileList, path);
            updateRecentFileActions();
            return;
        }
        stopReading();
        clearScene();
        // No project is open with a picture, and it has no project scale:
        // lengths are measured in pixels.
        m_projectInfo->reset();
        pixelsPerUnit = 0.0;
        m_scene->setSceneRect(0, 0, image.width(), image.height());
        auto *item = m_scene->addPixmap(QPixmap::fromImage(image));
        item->setPos(0, 0);
        m_scene->setBaseItemCount(1);
        m_hasSaveTarget = false;
        showFileInTitle(path);
    }

    Settings::instance()->setOpenPicDir(path);
    addRecentFile(path);
}

void MainWindow::closePicture()
{
    if (refuseDuringRewrite())
        return;
    if (confirmUnsavedChanges() == QMessageBox::Cancel)
        return;
    clearPage();
}

void MainWindow::clearPage()
{
    stopReading();
    clearScene();
    m_scene->setBaseItemCount(0);
    m_scene->setSceneRect(0, 0, kEmptySceneWidth, kEmptySceneHeight);
    m_projectInfo->reset();
    pixelsPerUnit = 0.0;
    ItemStyle::instance()->setGridVisible(false);
    m_toolBar->CancelCheckedBtn();
    m_scene->setMode(Pointer);
    m_picks->projectClosed();
    showFileInTitle(QString());
}

void MainWindow::showFileInTitle(const QString &path)
{
    if (path.isEmpty())
        setWindowTitle(tr("KORA"));
    else
        setWindowTitle(QStringLiteral("%1 - %2").arg(QFileInfo(path).fileName(), tr("KORA")));
}

void MainWindow::clearScene()
{
    m_scene->init();
    m_scene->clear();
    m_scene->clearCurrentItem();
    m_topScale = nullptr;
    m_leftScale = nullptr;
}

// ---------------------------------------------------------------------------
// Page model

bool MainWindow::checkProjectGeometry()
{
    if (m_projectInfo->imageWidth() > 0 && m_projectInfo->diameter() > 0)
        return true;
    QMessageBox::warning(this, tr("Warning"),
                         tr("The project has no readable images or no borehole diameter!"));
    return false;
}

bool MainWindow::updateImagesInit()
{
    if (m_readThread && m_readThread->isRunning()) {
        QMessageBox::warning(this, tr("Warning"), tr("Reading images,please wait!"));
        return false;
    }
    if (confirmUnsavedChanges() == QMessageBox::Cancel)
        return false;

    m_hasSaveTarget = false;
    clearScene();
    m_scene->setBaseItemCount(0);

    if (pixelsPerUnit == 0.0 && m_projectInfo->diameter() > 0)
        pixelsPerUnit = m_projectInfo->computePixelFactor();

    if (maxPageDepth != 0.0)
        return true;
    if (m_projectInfo->imageWidth() <= 0 || !(pixelsPerUnit > 0.0))
        return true; // nothing to bound; the page commands refuse such a project
    const int rows = 1073741824 / (m_projectInfo->imageWidth() * 4);
    const int metres = int(rows / pixelsPerUnit / 10000);
    maxPageDepth = double(metres) * 10000;
    qDebug() << "maxPageDepth:" << maxPageDepth;
    return true;
}

// Go, Next and Previous do nothing while a page reads and need a project.
bool MainWindow::refuseDuringRewrite()
{
    if (!rewriteRunning())
        return false;
    QMessageBox::information(this, QString(),
                             tr("The project file is being rewritten. "
                                "Please wait until it is finished."));
    return true;
}

bool MainWindow::pageCommandAllowed()
{
    if (readingInProgress)
        return false;
    if (m_projectInfo->projectPath().isEmpty()) {
        QMessageBox::information(this, QString(), tr("Please open a project file first!"));
        return false;
    }
    return true;
}

// Reads the page recorded in the project record, or says there is none.
void MainWindow::readRecordedPage()
{
    if (m_projectInfo->pageStart() != m_projectInfo->pageEnd())
        readPage(m_projectInfo->pageStart(), m_projectInfo->pageEnd());
    else
        QMessageBox::warning(this, tr("Warning"), tr("No pictures!"));
}

void MainWindow::handleGoPressed()
{
    if (refuseDuringRewrite())
        return;
    readPanelPage();
}

void MainWindow::readPanelPage()
{
    if (!pageCommandAllowed())
        return;
    if (!checkProjectGeometry())
        return;
    if (!updateImagesInit())
        return;
    if (!m_fileInfoWidget)
        return;

    const int start = m_fileInfoWidget->startDepth();
    int end = m_fileInfoWidget->endDepth();
    if (end > m_projectInfo->maxDepth())
        end = m_projectInfo->maxDepth();
    if (maxPageDepth > 0.0 && end - start > maxPageDepth)
        end = int(start + maxPageDepth);
    m_projectInfo->setPageStart(start);
    m_projectInfo->setPageEnd(end);
    readPage(start, end);
}

void MainWindow::handleNextImages()
{
    if (refuseDuringRewrite())
        return;
    if (!pageCommandAllowed())
        return;
    const int pageDepth = m_fileInfoWidget ? m_fileInfoWidget->pageDepth() : 50000;
    if (m_projectInfo->pageEnd() >= m_projectInfo->maxDepth()) {
        QMessageBox::warning(this, tr("Warning"), tr("No pictures!"));
        return;
    }
    if (!checkProjectGeometry())
        return;
    if (!updateImagesInit())
        return;
    const int newStart = m_projectInfo->pageEnd();
    m_projectInfo->setPageStart(newStart);
    m_projectInfo->setPageEnd(qMin(newStart + pageDepth, m_projectInfo->maxDepth()));
    readRecordedPage();
}

void MainWindow::handleLastImages()
{
    if (refuseDuringRewrite())
        return;
    if (!pageCommandAllowed())
        return;
    const int pageDepth = m_fileInfoWidget ? m_fileInfoWidget->pageDepth() : 50000;
    if (m_projectInfo->start() >= m_projectInfo->pageStart()) {
        QMessageBox::warning(this, tr("Warning"), tr("No pictures!"));
        return;
    }
    if (!checkProjectGeometry())
        return;
    if (!updateImagesInit())
        return;
    const int newEnd = m_projectInfo->pageStart();
    m_projectInfo->setPageEnd(newEnd);
    m_projectInfo->setPageStart(qMax(newEnd - pageDepth, m_projectInfo->start()));
    readRecordedPage();
}

void MainWindow::handleImageUpdate(int, int)
{
}

void MainWindow::readPage(int start, int end)
{
    readingInProgress = true;
    m_readStart = start;
    m_readEnd = end;
    m_firstPieceOfRead = true;
    const int serial = ++m_readSerial;
    m_readThread = new ReadBigImageThread(m_projectInfo->projectPath(), start, end);
    // Signals of a reader that Stop has let go carry an old serial and are
    // dropped, even those already queued.
    connect(m_readThread, &ReadBigImageThread::bigImageCountGetted, this, [this, serial](int count) {
        if (serial == m_readSerial)
            handleBigImageCountGetted(count);
    });
    connect(m_readThread, &ReadBigImageThread::readOneBigImage, this, [this, serial](KdImage image) {
        if (serial == m_readSerial)
            handleReadOneBigImage(image);
    });
    connect(m_readThread, &ReadBigImageThread::readFinieshed, this, [this, serial] {
        if (serial == m_readSerial)
            handleReadFinieshed();
    });
    connect(m_readThread, &ReadBigImageThread::readThreadFinished, this, [this, serial] {
        if (serial == m_readSerial)
            ReadBigImagesThreadFinished();
    });

    // Over the page only: the navigation panel (and its Stop) stays usable.
    auto *wait = new WaitView(m_view, false, 0);
    wait->setActive(true);
    connect(m_readThread, &ReadBigImageThread::readThreadFinished, wait, &WaitView::close);
    m_waitView = wait;

    m_readThread->start(QThread::InheritPriority);
    wait->show();
}

void MainWindow::handleStopPressed()
{
    if (!m_readThread || !m_readThread->isRunning())
        return;
    handleReadFinieshed();
    // The reader cannot be interrupted safely inside the database; it is let
    // go instead: whatever it still sends is dropped, and it deletes itself
    // when its thread has ended. The page keeps the images placed so far.
    ReadBigImageThread *reader = m_readThread;
    m_readThread = nullptr;
    ++m_readSerial;
    reader->requestStop();
    m_releasedReaders.removeAll(nullptr);
    m_releasedReaders << reader;
    connect(reader, &QThread::finished, reader, &QObject::deleteLater);
    if (reader->isFinished())
        reader->deleteLater();
    if (m_waitView)
        m_waitView->close();
    endOfRead();
}

void MainWindow::stopReading()
{
    if (!m_readThread)
        return;
    if (m_readThread->isRunning())
        handleStopPressed();
    else
        ReadBigImagesThreadFinished(); // its last signal is still queued
}

void MainWindow::handleBigImageCountGetted(int count)
{
    if (count == 0) {
        QMessageBox::warning(this, tr("Warning"), tr("No pictures!"));
        return;
    }
    m_progressBar->setRange(0, count);
    m_progressBar->setValue(0);
    m_progressBar->show();
    m_projectInfo->setPageHeight(0);

    m_leftScale = new GraphicsLeftScaleItem;
    m_leftScale->setZValue(1000);
    m_leftScale->setStartDepth(m_projectInfo->start());
    m_topScale = new GraphicsTopScaleItem(QLineF(0, 0, 0, 0));
    m_topScale->setZValue(1000);
    m_scene->addItem(m_leftScale);
    m_scene->addItem(m_topScale);
}

void MainWindow::handleReadOneBigImage(KdImage image)
{
    m_progressBar->setValue(m_progressBar->value() + 1);
    addBigImage(image);
}

void MainWindow::addBigImage(KdImage image)
{
    if (!(pixelsPerUnit > 0.0))
        return;
    if (!m_leftScale || !m_topScale) {
        // The page was cleared under a running read; start the scales again.
        handleBigImageCountGetted(qMax(1, m_progressBar->maximum()));
    }

    const bool first = m_firstPieceOfRead;
    m_firstPieceOfRead = false;
    image = PieceCropper::fitToPage(image, m_readStart, m_readEnd, pixelsPerUnit, first);
    const QImage picture = image.image();

    const int h = int((image.endDepth() - image.startDepth()) * pixelsPerUnit);
    const int width = picture.isNull() ? m_projectInfo->imageWidth() : picture.width();
    if (h > 0) {
        if (!picture.isNull()) {
            const QImage scaled = picture.scaled(picture.width(), h, Qt::IgnoreAspectRatio,
                                                 Qt::FastTransformation);
            auto *item = m_scene->addPixmap(QPixmap());
            item->setOffset(kColumnLeft, m_projectInfo->pageHeight() + kColumnTop);
            m_contrast->pieceAdded(item, scaled); // shows it through the contrast setting
        }
        m_projectInfo->setPageHeight(m_projectInfo->pageHeight() + h);
    }

    m_scene->setSceneRect(0, 0, width + 2 * kColumnLeft,
                          m_projectInfo->pageHeight() + 2 * kColumnTop);
    QScrollBar *bar = m_view->horizontalScrollBar();
    bar->setValue(bar->maximum() / 2);
    // A new page is shown from its top.
    if (first)
        m_view->verticalScrollBar()->setValue(m_view->verticalScrollBar()->minimum());

    m_projectInfo->setPageEnd(image.endDepth());

    m_leftScale->setLine(kColumnLeft, kColumnTop, kColumnLeft,
                         m_scene->sceneRect().height() - kColumnTop);
    if (m_topScale->line().length() == 0.0)
        m_topScale->setLine(kColumnLeft, kColumnTop, kColumnLeft + m_projectInfo->imageWidth(),
                            kColumnTop);
    if (!m_leftScale->isInitialized()) {
        m_leftScale->setStartDepth(image.startDepth());
        m_leftScale->setInitialized(true);
    }
    // An empty depth range would give the scale an infinite spacing.
    if (image.endDepth() != m_leftScale->startDepth())
        m_leftScale->setEndDepth(image.endDepth());
    m_scene->setBaseItemCount(m_scene->items().size());
}

void MainWindow::handleReadFinieshed()
{
    if (m_readThread)
        m_progressBar->setMaximum(m_progressBar->maximum() + 1);
}

void MainWindow::ReadBigImagesThreadFinished()
{
    m_progressBar->setValue(m_progressBar->maximum());
    m_progressBar->hide();
    qDebug() << "handleReadFinieshed()......Finished";
    if (!m_readThread)
        return;
    ReadBigImageThread *finished = m_readThread;
    ++m_readSerial;
    waitForThread(finished);
    m_readThread = nullptr;
    delete finished;
    if (m_waitView)
        m_waitView->close();
    endOfRead();
}

void MainWindow::endOfRead()
{
    m_progressBar->setValue(m_progressBar->maximum());
    m_progressBar->hide();
    readingInProgress = false;
    if (ItemStyle::instance()->gridVisible())
        m_scene->UpdateGridLines();
    m_picks->pageShown();
    m_structures->pageRead();
}

void MainWindow::handleDataBaseOpenFailed()
{
    QMessageBox::information(this, QString(), tr("Database file open failed!"));
}

// ---------------------------------------------------------------------------
// Measurement labels

double MainWindow::inclinationAngle(float h1, float a1, float h2, float a2, double diameterMetres)
{
    // The horizontal chord between two wall points at azimuths a1 and a2 of a
    // hole of diameter d is d * |sin((a1 - a2) / 2)|; the plane through the
    // two points rises by |h1 - h2| over it. Points at the crest and trough
    // of a fracture trace (180 degrees apart) give the fracture's dip.
    const double dh = std::fabs(double(h1) - double(h2));
    const double halfDifference = qDegreesToRadians((double(a1) - double(a2)) * 0.5);
    double chord = diameterMetres * std::fabs(std::sin(halfDifference));
    if (!std::isfinite(chord) || chord < 0.0)
        chord = 0.0;
    if (!std::isfinite(dh))
        return 0.0;
    // A zero chord (same azimuth, or no diameter known) is a vertical plane
    // unless the two points coincide.
    const double degrees = qRadiansToDegrees(std::atan2(dh, chord));
    return std::isfinite(degrees) ? degrees : 0.0;
}

QString MainWindow::measurementLabelText(int type, const QPointF &p1, const QPointF &p2) const
{
    if (type != kLengthMeasureType && type != kAngleMeasureType && type != kLithologyMarkType)
        return QString();

    const QPoint q1 = p1.toPoint();
    const QPoint q2 = p2.toPoint();
    const MouseLabel *label = MouseLabel::instance();
    // The width of the page image; the read-out's own when no page is shown.
    const int pageWidth = int(m_scene->sceneRect().width()) - 2 * kColumnLeft;
    const int width = (m_leftScale && pageWidth > 0) ? pageWidth : label->widthPx();
    // Depth, direction and azimuth texts of the cursor read-out.
    auto readOut = [this, label, width](const QPoint &p) {
        const int column = p.x() - kColumnLeft;
        return QStringList{MouseLabel::depthText(depthAtRow(p.y())),
                           label->directionText(column, width),
                           QString::number(MouseLabel::azimuth(column, width))};
    };
    const QStringList t1 = readOut(q1);
    const QStringList t2 = readOut(q2);

    auto pointText = [this](const QStringList &t) {
        return QStringLiteral("(H:") + t.value(0) + QStringLiteral("m") + QStringLiteral(", ")
            + t.value(1) + t.value(2) + tr("d") + QStringLiteral(")");
    };
    const QString points = pointText(t1) + QStringLiteral(" - ") + pointText(t2);

    const double pixelLength = QLineF(q1, q2).length();
    // A plain picture has no project scale: its lengths are only known in pixels.
    const bool scaleKnown = std::isfinite(pixelsPerUnit) && pixelsPerUnit > 0.0;
    const QString lengthText = QStringLiteral("L = ")
        + (scaleKnown ? QString::number(pixelLength / (pixelsPerUnit * 10000.0), 'f', 3)
                            + QStringLiteral("m  ")
                      : tr("unknown (no project scale, %1 pixels)").arg(qRound64(pixelLength))
                            + QStringLiteral("  "));

    const float h1 = t1.value(0).toFloat();
    const float h2 = t2.value(0).toFloat();
    const float a1 = t1.value(2).toFloat();
    const float a2 = t2.value(2).toFloat();
    const double d = m_projectInfo->diameter() / 10000.0;
    const double angle = inclinationAngle(h1, a1, h2, a2, d);
    // The plane dips towards its deeper point.
    const QStringList &deeper = h1 > h2 ? t1 : t2;
    const QString inclinationText = tr("inclination") + deeper.value(1) + deeper.value(2) + tr("D")
        + QStringLiteral(", ") + tr("inclinationAngle") + QString::number(angle, 'f', 2) + tr("D");

    if (type == kLengthMeasureType)
        return points + QStringLiteral("\n") + lengthText;
    if (type == kAngleMeasureType)
        return points + QStringLiteral("\n") + inclinationText;
    return points + QStringLiteral("\n") + lengthText + inclinationText;
}

void MainWindow::handleItemInserted(QGraphicsItem *insertedItem)
{
    if (!insertedItem)
        return;
    const int type = insertedItem->type();
    if (type != kLengthMeasureType && type != kAngleMeasureType && type != kLithologyMarkType)
        return;
    auto *line = dynamic_cast<QGraphicsLineItem *>(insertedItem);
    if (!line)
        return;
    const QPointF p1 = line->mapToScene(line->line().p1());
    const QPointF p2 = line->mapToScene(line->line().p2());
    annotateLine(measurementLabelText(type, p1, p2), line);
}

void MainWindow::annotateLine(const QString &text, QGraphicsLineItem *line)
{
    const QPointF p1 = line->mapToScene(line->line().p1());
    const QPointF p2 = line->mapToScene(line->line().p2());
    const QPointF scenePos(m_scene->sceneRect().width() - 1250,
                           int((qRound(p1.y()) + qRound(p2.y())) * 0.5));
    // The label is a child of the line: give it the position in line coordinates.
    auto *label = new GraphicsTextItem(line->mapFromScene(scenePos), text, line);
    QFont font(QStringLiteral("Times"), 50, QFont::Light, false);
    label->setFont(font);
    QPen pen(QBrush(Qt::red), 0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    pen.setCosmetic(true);
    label->setPen(pen);
    label->setBrush(QBrush(Qt::red, Qt::SolidPattern));

    if (label->accepted() && line->line().length() != 0.0)
        return;
    // Refused or empty: the measurement is dropped with its label. Other
    // receivers of the same notification may still look at the item, so
    // it is freed once control is back in the event loop.
    m_scene->removeItem(line);
    QTimer::singleShot(0, [line] { delete line; });
}

// ---------------------------------------------------------------------------
// Recent lists

void MainWindow::addRecentFile(const QString &path)
{
    Settings::addRecent(Settings::kRecentFileList, path);
    updateRecentFileActions();
}

// Every window shows the one list of recent projects.
static void showRecentProjectsInEveryWindow()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *widget : windows) {
        if (auto *window = qobject_cast<MainWindow *>(widget))
            window->updateRecentProjectActions();
    }
}

void MainWindow::addRecentProject(const QString &path)
{
    Settings::addRecent(Settings::kRecentProjectList, path);
    showRecentProjectsInEveryWindow();
}

static void fillRecentActions(const QList<QAction *> &actions, const QStringList &list)
{
    const int n = qMin(list.size(), actions.size());
    for (int i = 0; i < n; ++i) {
        actions.at(i)->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(list.at(i)));
        actions.at(i)->setData(list.at(i));
        actions.at(i)->setVisible(true);
    }
    for (int i = n; i < actions.size(); ++i)
        actions.at(i)->setVisible(false);
}

void MainWindow::updateRecentFileActions()
{
    fillRecentActions(m_recentFileActs, Settings::readRecent(Settings::kRecentFileList));
}

void MainWindow::updateRecentProjectActions()
{
    fillRecentActions(m_recentProjectActs, Settings::readRecent(Settings::kRecentProjectList));
}

void MainWindow::openRecentFile()
{
    auto *action = qobject_cast<QAction *>(sender());
    if (!action)
        return;
    if (refuseDuringRewrite())
        return;
    // The picture replaces the page: drawings on it are not dropped unasked.
    if (confirmUnsavedChanges() == QMessageBox::Cancel)
        return;
    openPictureFile(action->data().toString());
}

void MainWindow::openRecentProject()
{
    auto *action = qobject_cast<QAction *>(sender());
    if (!action)
        return;
    const QString path = action->data().toString();
    if (refuseDuringRewrite())
        return;
    if (!QFileInfo(path).isFile()) {
        // Gone since it was listed: the page stays, the entry goes.
        QMessageBox::warning(this, tr("Warning"), tr("The project file \"%1\" does not exist!").arg(path));
        Settings::removeRecent(Settings::kRecentProjectList, path);
        showRecentProjectsInEveryWindow();
        return;
    }
    if (confirmUnsavedChanges() == QMessageBox::Cancel)
        return;
    clearPage();
    openProjectFile(path);
}

// ---------------------------------------------------------------------------
// Language

void MainWindow::OnLanguageSwtich()
{
    LanguageManager *manager = LanguageManager::instance();
    manager->toggleLanguage();
    const bool chinese = manager->isChinese();
    qDebug() << "Language:" << (chinese ? "Chinese" : "English");
    QObject *from = sender();
    if (from == m_englishAct)
        m_chineseAct->setChecked(chinese);
    else if (from == m_chineseAct)
        m_englishAct->setChecked(!chinese);
    else {
        m_englishAct->setChecked(!chinese);
        m_chineseAct->setChecked(chinese);
    }
    emit NotifyLanguageChanged();
}

void MainWindow::OnRetranslate()
{
    m_fileMenu->setTitle(tr("&File"));
    m_recentFilesMenu->setTitle(tr("RecentFiles"));
    m_recentProjectsMenu->setTitle(tr("RecentProjects"));
    m_editMenu->setTitle(tr("&Edit"));
    m_languageMenu->setTitle(tr("&Language"));
    m_viewMenu->setTitle(tr("&View"));
    m_helpMenu->setTitle(tr("&Help"));
    m_closeAct->setText(tr("C&lose"));
    m_exitAct->setText(tr("E&xit"));
    m_displaySettingAct->setText(tr("&DisplaySetting"));
    m_englishAct->setText(tr("&English"));
    m_chineseAct->setText(tr("&Chinese"));
    m_aboutAct->setText(tr("&About"));
    m_userGuideAct->setText(tr("User &guide"));
    m_userGuideAct->setStatusTip(tr("Show the user guide"));
    if (!m_viewMenu->actions().isEmpty())
        m_viewMenu->actions().first()->setText(tr("ToolBar"));
    statusBar()->showMessage(tr("Ready"));
}

// ---------------------------------------------------------------------------
// Display settings

void MainWindow::OnDisplaySetting()
{
    QDlgDisplaySetting dialog(m_gridSizeIndex, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QSize size = QDlgDisplaySetting::gridSize(m_gridSizeIndex);
    ItemStyle::instance()->setGridSize(size);
    if (ItemStyle::instance()->gridVisible())
        m_scene->UpdateGridLines();
}

// ---------------------------------------------------------------------------
// Commands whose windows come with other parts of the program

void MainWindow::featureNotAvailable(const QString &feature)
{
    QMessageBox::information(this, QString(),
                             tr("%1 is not part of this build of KORA.").arg(feature));
}

void MainWindow::saveCurrentImage()
{
    if (refuseDuringRewrite())
        return;
    saveCurrentImage(false);
}

void MainWindow::saveCurrentImage(bool isOriginalImage)
{
    if (refuseDuringRewrite())
        return;
    if (m_hasSaveTarget) {
        // Nothing new since the last save.
        if (m_scene->items().size() == m_scene->baseItemCount())
            return;
    } else {
        const QString path = QFileDialog::getSaveFileName(this, tr("Save picture as"),
                                                          Settings::instance()->savePicDir(),
                                                          tr("*.jpg"));
        if (path.isEmpty())
            return;
        Settings::instance()->setSavePicDir(path);
    }

    const int result = savePagePieces(isOriginalImage);
    if (result == 1) {
        // The bare image column does not hold the drawings: they stay unsaved
        // and the next save asks for its own destination.
        if (!isOriginalImage) {
            m_hasSaveTarget = true;
            m_scene->setBaseItemCount(m_scene->items().size());
        }
        QMessageBox::information(this, QString(), tr("Save successfully"));
    } else if (result == 0) {
        m_hasSaveTarget = false;
        QMessageBox::information(
            this, QString(), tr("Image is too big to save or range error, Please chose a right page depth!"));
    } else {
        m_hasSaveTarget = false;
    }
}

int MainWindow::savePagePieces(bool imageColumnOnly)
{
    const QString base = Settings::instance()->savePicDir();
    const int step = SaveDialog::askStep(m_projectInfo->pageEnd() - m_projectInfo->pageStart());
    if (step < 0)
        return -1;
    PageRenderer renderer(m_scene, m_leftScale, m_projectInfo->pageStart(), m_projectInfo->pageEnd());
    return renderer.renderPage(step, base, imageColumnOnly, false) ? 1 : 0;
}

void MainWindow::saveAs()
{
    if (refuseDuringRewrite())
        return;
    m_hasSaveTarget = false;
    saveCurrentImage(false);
}

void MainWindow::saveDrewImage()
{
    if (refuseDuringRewrite())
        return;
    const QList<QGraphicsItem *> hidden = PageRenderer::hideAllButImages(m_scene);
    m_hasSaveTarget = false;
    saveCurrentImage(true);
    PageRenderer::showItems(hidden);
}

// ---------------------------------------------------------------------------
// Roll window and 3D view

namespace {

// Prefix of the private folders holding the pictures of one 3D window.
const QString k3DFolderPrefix = QStringLiteral("kora-3d-");

} // namespace

// Title of a view window: the view, the project and the depth range shown.
QString MainWindow::viewTitle(const QString &view, int start, int end) const
{
    const QString project = QFileInfo(m_projectInfo->projectPath()).completeBaseName();
    if (project.isEmpty())
        return view;
    return tr("%1 - %2 (%3 m - %4 m)")
        .arg(view, project)
        .arg(start / 10000.0, 0, 'f', 2)
        .arg(end / 10000.0, 0, 'f', 2);
}

void MainWindow::roll()
{
    if (refuseDuringRewrite())
        return;
    if (!m_projectInfo->projectPath().isEmpty()) {
        RangeDialog *dialog = new RangeDialog(this);
        dialog->setLowestStart(m_projectInfo->start());
        dialog->setEnd(m_projectInfo->maxDepth());
        connect(dialog, &RangeDialog::rollRangeGetted, this, &MainWindow::handleRollRangeGetted);
        dialog->exec();
        return;
    }
    // A picture (or nothing): the whole scene rolls.
    ScrollArea *area = new ScrollArea(this);
    m_rollView = area;
    connect(area, &ScrollArea::signalOpenglLoadFailed, this, &MainWindow::handleRollLoadFailed);
    area->setImage(PageRenderer(m_scene, nullptr, 0, 0).renderRollImage(0, 0));
    area->setRange(0, 0);
    area->setWindowTitle(tr("Roll view"));
    area->show();
}

void MainWindow::handleRollRangeGetted(double a, double b)
{
    if (!m_leftScale || readingInProgress)
        return;
    int start = int(std::max(a, double(m_projectInfo->start())));
    int end = int(std::min(b, double(m_projectInfo->maxDepth())));
    if (!clampRollRangeToPage(&start, &end))
        return;
    const int y1 = int(m_leftScale->depthToY(start));
    const int y2 = int(m_leftScale->depthToY(end));
    const QImage image = PageRenderer(m_scene, m_leftScale, start, end).renderRollImage(y1, y2);
    if (image.isNull()) {
        handleRollLoadFailed();
        return;
    }
    ScrollArea *area = new ScrollArea(this);
    m_rollView = area;
    connect(area, &ScrollArea::signalOpenglLoadFailed, this, &MainWindow::handleRollLoadFailed);
    connect(area, &ScrollArea::signalRollUpdate, this, &MainWindow::handleRollUpdate);
    area->setImage(image);
    area->setRange(start, end);
    area->setWindowTitle(viewTitle(tr("Roll view"), start, end));
    area->show();
}

bool MainWindow::clampRollRangeToPage(int *start, int *end)
{
    // The roll view rolls the page on screen: rows beyond it would roll
    // blank. A range reaching past the page is cut to it.
    const int pageStart = m_projectInfo->pageStart();
    const int pageEnd = m_projectInfo->pageEnd();
    *start = std::max(*start, pageStart);
    *end = std::min(*end, pageEnd);
    if (*end > *start)
        return true;
    QMessageBox::warning(this, tr("Warning"),
                         tr("The roll view shows the page on screen (%1 m - %2 m). Go to the page of "
                            "the range first.")
                             .arg(pageStart / 10000.0, 0, 'f', 2)
                             .arg(pageEnd / 10000.0, 0, 'f', 2));
    return false;
}

void MainWindow::handleRollUpdate(int curStart, int curEnd)
{
    // Previous or Next of a roll window: that window takes the new range,
    // also when a later roll window is open.
    ScrollArea *area = qobject_cast<ScrollArea *>(sender());
    if (!area)
        area = qobject_cast<ScrollArea *>(m_rollView.data());
    if (!m_leftScale || !area || readingInProgress)
        return;
    int start = std::max(curStart, m_projectInfo->start());
    int end = std::min(curEnd, m_projectInfo->maxDepth());
    // Past either end of the project the range is empty or reversed.
    if (end > start && end - start <= maxPageDepth) {
        if (!clampRollRangeToPage(&start, &end))
            return;
        const int y1 = int(m_leftScale->depthToY(start));
        const int y2 = int(m_leftScale->depthToY(end));
        const QImage image = PageRenderer(m_scene, m_leftScale, start, end).renderRollImage(y1, y2);
        if (image.isNull()) {
            handleRollLoadFailed();
            return;
        }
        area->setRange(start, end);
        area->setImage(image);
        area->setWindowTitle(viewTitle(tr("Roll view"), start, end));
    } else {
        QMessageBox::warning(this, tr("Warning"), tr("No picture!"));
    }
}

void MainWindow::handleRollLoadFailed()
{
    QMessageBox::warning(this, tr("Warning"), tr("Range is too big.Please input a smaller range!"));
}

void MainWindow::handleShow3DImage()
{
    if (refuseDuringRewrite() || readingInProgress) {
        m_toolBar->handleShow3DFinish(QStringList());
        return;
    }
    const int pageStart = m_projectInfo->pageStart();
    const int pageEnd = m_projectInfo->pageEnd();
    if (pageEnd == pageStart || !m_leftScale) {
        QMessageBox::warning(this, tr("Warning"), tr("no Image!"));
        m_toolBar->handleShow3DFinish(QStringList());
        return;
    }

    const auto refuse = [this]() {
        QMessageBox::information(this, QString(),
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
    PageRenderer renderer(m_scene, m_leftScale, pageStart, pageEnd);
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
    connect(window, &Main3DWindow::signal3dwindowclose, this, &MainWindow::handleReleas3DResourse);
    connect(window, &Main3DWindow::signalTextureLoadFailed, this, &MainWindow::handleRollLoadFailed);
    // Leaving the program closes the window too, so its pictures go.
    connect(qApp, &QCoreApplication::aboutToQuit, window, &QWidget::close);
    window->show();
}

void MainWindow::handleReleas3DResourse(QStringList fileList)
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

void MainWindow::handleCorrectionsBtnPressed()
{
    if (refuseDuringRewrite())
        return;
    m_correctionDialog->refresh();
    m_correctionDialog->show();
    m_correctionDialog->raise();
    m_correctionDialog->activateWindow();
}

void MainWindow::handleProjectInfoPressed()
{
    if (m_projectInfo->projectPath().isEmpty()) {
        QMessageBox::information(this, QString(), tr("Please open a project file first!"));
        return;
    }
    m_projectInfoDialog->fillFromRecord();
    m_projectInfoDialog->show();
}

bool MainWindow::correctionRequestRefused()
{
    if (m_correctionDialog && m_correctionDialog->okPressInProgress())
        return false;
    return refuseDuringRewrite();
}

void MainWindow::handleCorrectDepth(int realDepth)
{
    if (correctionRequestRefused())
        return;
    queueCorrection(true, realDepth);
}

void MainWindow::handleCorrectAngle(int angle)
{
    if (correctionRequestRefused())
        return;
    queueCorrection(false, angle);
}

void MainWindow::queueCorrection(bool depth, int value)
{
    if (m_projectInfo->projectPath().isEmpty()) {
        QMessageBox::information(this, QString(), tr("Please open a project file first!"));
        return;
    }
    PendingCorrection correction;
    correction.depth = depth;
    correction.value = value;
    m_pendingCorrections << correction;
    if (!rewriteRunning())
        startNextCorrection();
}

void MainWindow::startNextCorrection()
{
    if (rewriteRunning() || m_pendingCorrections.isEmpty())
        return;
    const PendingCorrection next = m_pendingCorrections.takeFirst();
    // The page reader must not hold the file while the rewrite commits.
    stopReading();

    const QString path = m_projectInfo->projectPath();
    CorrectionThread *worker = nullptr;
    RewriteProgressDialog *dialog = nullptr;
    if (next.depth) {
        worker = new CorrectDepthThread(path, next.value, this);
        dialog = new RewriteProgressDialog(tr("Waiting for correcting depth..."), this);
        connect(this, &MainWindow::signalThreadOver, worker, &QObject::deleteLater);
        connect(worker, &CorrectionThread::signalProcessFinished, this, &MainWindow::handleAfterCorrectDepth);
    } else {
        worker = new CorrectAngleThread(path, next.value, this);
        dialog = new RewriteProgressDialog(tr("Waiting for correcting angle..."), this);
        connect(worker, &CorrectionThread::signalProcessFinished, this, &MainWindow::handleAfterCorrectAngle);
    }
    // Freed after every run, whatever happens to the window's own signals.
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    m_progressDialog = dialog;
    dialog->follow(worker);
    m_correctionThread = worker;
    m_rewriteThread = worker;
    worker->start(QThread::InheritPriority);
    dialog->show();
}

bool MainWindow::endCorrection()
{
    CorrectionThread *worker = m_correctionThread.data();
    if (!worker)
        return false;
    // Its run ends right after the signal that brought us here.
    worker->wait();
    const bool ok = worker->succeeded();
    const bool canceled = worker->wasCanceled();
    m_correctionThread = nullptr;
    if (m_rewriteThread == worker)
        m_rewriteThread = nullptr;
    if (!ok) {
        // What was asked after it is not run on a file in an unknown state.
        m_pendingCorrections.clear();
        if (!canceled) {
            QMessageBox::warning(this, tr("Warning"),
                                 tr("The correction could not be made; the project file was left unchanged."));
        }
    }
    return ok;
}

void MainWindow::afterCorrections()
{
    if (!m_pendingCorrections.isEmpty()) {
        startNextCorrection();
        return;
    }
    const bool reopen = m_reopenAfterCorrections;
    const bool reread = m_rereadAfterCorrections;
    m_reopenAfterCorrections = false;
    m_rereadAfterCorrections = false;
    if (reopen) {
        // The page of the old depths goes without asking: its drawings no
        // longer lie where they were drawn.
        clearScene();
        m_scene->setBaseItemCount(0);
        openProjectFile(m_projectInfo->projectPath());
        m_structures->picksCorrected(true);
    } else if (reread) {
        readTurnedPage();
    }
}

void MainWindow::readTurnedPage()
{
    m_structures->picksCorrected(false);
    // The page on screen shows the wall as it was: it is read again, asking
    // first about drawings on it as any page change does. When the user keeps
    // it, or no page is shown, at least its picks show their new directions
    // (an old one moved by hand would store its old direction again).
    const bool pageShown = m_leftScale && m_projectInfo->pageStart() != m_projectInfo->pageEnd();
    if (!pageShown || !checkProjectGeometry() || !updateImagesInit()) {
        m_picks->reloadPicks();
        return;
    }
    readRecordedPage();
}

void MainWindow::handleAfterCorrectDepth()
{
    if (endCorrection())
        m_reopenAfterCorrections = true;
    emit signalThreadOver();
    afterCorrections();
}

void MainWindow::handleAfterCorrectAngle()
{
    if (endCorrection())
        m_rereadAfterCorrections = true;
    afterCorrections();
}

void MainWindow::handleAfterCorrectDiameter()
{
    // The page keeps its scale; its picks are made again with the new
    // diameter, so a pick moved by hand keeps the new dip.
    m_picks->reloadPicks();
    m_structures->picksCorrected(false);
}

void MainWindow::OnPreView(CReportParameter reportPara)
{
    if (refuseDuringRewrite())
        return;
    completeReportParameter(reportPara);
    startExport(tr("Print preview"), QString(), reportPara);
}

void MainWindow::handleExportReportBtnPressed()
{
    if (refuseDuringRewrite())
        return;
    if (m_projectInfo->projectPath().isEmpty()) {
        QMessageBox::warning(this, tr("Warning"), tr("None Project!"));
        return;
    }
    ReportDlg dialog;
    dialog.setMessageHandler([](QWidget *, const QString &text) {
        auto *box = new frmMessageBox;
        box->setMessage(text, frmMessageBox::Information);
        box->exec();
    });
    dialog.setParameter(m_reportParameter);
    dialog.setMaxDepth(ReportProjectFacts::deepestId(m_projectInfo->projectPath()));
    connect(&dialog, &ReportDlg::requestedPreview, this, &MainWindow::OnPreView);
    connect(this, &MainWindow::NotifyPreviewEnd, &dialog, &ReportDlg::OnEndPreview);
    if (dialog.exec() != QDialog::Accepted)
        return;

    dialog.parameter(m_reportParameter);
    completeReportParameter(m_reportParameter);
    QString title;
    QString filter;
    if (m_reportParameter.exportFormat() == 1) {
        title = tr("Export PDF");
        filter = tr("*.pdf");
    } else if (m_reportParameter.exportFormat() == 0) {
        title = tr("Export DOC");
        filter = tr("*.doc") + QStringLiteral(";;") + tr("*.docx") + QStringLiteral(";;") + tr("*.odt");
    }
    QString selectedFilter;
    QString path = QFileDialog::getSaveFileName(this, title, QString(), filter, &selectedFilter);
    if (path.isEmpty())
        return;
    // A word-processor name without suffix takes the one of the chosen type.
    if (m_reportParameter.exportFormat() == 0 && QFileInfo(path).suffix().isEmpty()
        && selectedFilter.startsWith(QLatin1String("*.")))
        path += selectedFilter.mid(1);
    // An existing file of that name is replaced only by a complete report.
    startExport(title, path, m_reportParameter);
}

void MainWindow::completeReportParameter(CReportParameter &para) const
{
    const QSize grid = QDlgDisplaySetting::gridSize(m_gridSizeIndex);
    para.setGridCellWidth(grid.width());
    para.setGridCellHeight(grid.height());
    para.setDepthOffset(m_projectInfo->testStartDepth().toInt() / 1000.0f);
    para.setReservedValue(ReportProjectFacts::deepestId(m_projectInfo->projectPath()));
}

void MainWindow::startExport(const QString &title, const QString &path, const CReportParameter &para)
{
    const int format = para.exportFormat();
    const bool preview = format == 2;
    if (format != 0 && format != 1 && format != 2)
        return;
    const QString problem = QReportBuilder::layoutProblem(ReportProjectFacts::fromProject(), para.depthStep());
    if (!problem.isEmpty()) {
        QMessageBox::warning(this, tr("Warning"), problem);
        if (preview)
            emit NotifyPreviewEnd();
        return;
    }

    const QString db = m_projectInfo->projectPath();
    QReportBuilder *builder = nullptr;
    if (preview)
        builder = new QReportPreview(db, para.fromDepth(), para.toDepth(), para.columnsPerPage(), format,
                                     para.gridCellWidth(), para.gridCellHeight(), para.depthOffset(),
                                     para.depthStep(), para.reservedValue(), para.withHeader(),
                                     para.withGridLines(), this);
    else if (format == 0)
        builder = new QReportWord(db, para.fromDepth(), para.toDepth(), para.columnsPerPage(), format,
                                  para.gridCellWidth(), para.gridCellHeight(), para.depthOffset(), para.depthStep(),
                                  para.reservedValue(), para.withHeader(), para.withGridLines(), this);
    else
        builder = new QReportPDF(db, para.fromDepth(), para.toDepth(), para.columnsPerPage(), format,
                                 para.gridCellWidth(), para.gridCellHeight(), para.depthOffset(), para.depthStep(),
                                 para.reservedValue(), para.withHeader(), para.withGridLines(), this);
    m_reportBuilder = builder;
    builder->setFileName(path);
    // The report shows the wall as the page does.
    if (m_contrast)
        builder->setImageFilter(m_contrast->pictureFilter());
    // The structures page of a PDF: the picks of the range are read and
    // drawn here, the export thread only replays the drawing.
    builder->setExtraPage(StructuresPage::forReport(db, para));

    auto *wait = new WaitView(this, false, preview ? 1 : 0);
    wait->setTitle(tr("Waiting for ") + title);
    wait->setActive(true);

    auto *thread = new QExportReportThread(builder, this);
    // The builder goes with its thread, which waits for its end: a window
    // closed during an export never pulls the builder from under it.
    builder->setParent(thread);
    // Both go only once the thread has really ended.
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    connect(thread, &QThread::finished, builder, &QObject::deleteLater);
    if (preview)
        connect(static_cast<QReportPreview *>(builder), &QReportPreview::NotifyPreviewEnd, this,
                &MainWindow::NotifyPreviewEnd);
    else
        connect(thread, &QExportReportThread::signalOpenReportFile, this, &MainWindow::OnOpenReportFile);
    // The word processor's failures come in its own "Error" box.
    const QString failureTitle = format == 0 ? tr("Error") : tr("Warning");
    connect(thread, &QExportReportThread::signalExportFailed, this, [this, failureTitle](const QString &message) {
        QMessageBox::warning(this, failureTitle, message, QMessageBox::Ok);
    });
    connect(thread, &QExportReportThread::signalProcessFinished, wait, &WaitView::close);
    thread->start(QThread::InheritPriority);
    wait->show();
}

void MainWindow::handleProcessProjectFinished(int)
{
}

void MainWindow::OnOpenReportFile(QString strFilePath)
{
    auto *box = new frmMessageBox;
    box->setMessage(tr("Saving report successfully , do you want to open it ?"), frmMessageBox::Question);
    if (box->exec() == QDialog::Accepted)
        QDesktopServices::openUrl(QUrl::fromLocalFile(strFilePath));
}
