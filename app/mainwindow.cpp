#include "mainwindow.h"

#include "contrastcontroller.h"
#include "contrastdock.h"
#include "correctioncontroller.h"
#include "correctiondialog.h"
#include "fileinfowidget.h"
#include "frequencytrackcontroller.h"
#include "globals.h"
#include "graphicsleftscaleitem.h"
#include "graphicsscene.h"
#include "graphicstextitem.h"
#include "graphicstopscaleitem.h"
#include "graphicsview.h"
#include "holesurveycontroller.h"
#include "itemstyle.h"
#include "koraresources.h"
#include "languagemanager.h"
#include "measurementlabel.h"
#include "mouselabel.h"
#include "pagecontroller.h"
#include "pagerenderer.h"
#include "picturesaver.h"
#include "projectcontroller.h"
#include "projectinfodialog.h"
#include "projectinfo.h"
#include "qdlgdisplaysetting.h"
#include "readbigimagethread.h"
#include "reportcontroller.h"
#include "rewriteguard.h"
#include "scrollarea.h"
#include "structurepickcontroller.h"
#include "structurescontroller.h"
#include "toolbar.h"
#include "userguide.h"
#include "viewwindows.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QGraphicsLineItem>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPen>
#include <QProgressBar>
#include <QSet>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>

namespace {

// Scene layout of a page: the image column starts at x = 1300 and y = 120.
constexpr int kColumnLeft = PageRenderer::kColumnLeft;

// Item type codes of the canvas.
constexpr int kPageImageType = 7;
constexpr int kLengthMeasureType = 11;
constexpr int kAngleMeasureType = 12;
constexpr int kLithologyMarkType = 13;
constexpr int kGridType = 15;
constexpr int kLeftScaleType = 16;
constexpr int kTopScaleType = 17;

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
    m_scene->setSceneRect(0, 0, PageController::kEmptySceneWidth, PageController::kEmptySceneHeight);
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
    m_guard = std::make_unique<RewriteGuard>(this);
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
    // The hole survey (File menu) and the fracture frequency track (View menu).
    new HoleSurveyController(this);
    new FrequencyTrackController(this, m_picks);
    createControllers();
    m_project->showFileInTitle(QString());
}

void MainWindow::createControllers()
{
    m_page = new PageController(this, m_scene, m_view, m_fileInfoWidget, m_progressBar, m_contrast, m_guard.get());
    m_saver = std::make_unique<PictureSaver>(this, m_scene, m_page, m_guard.get());
    m_page->setDiscardCheck([this] {
        if (m_saver->confirmUnsavedChanges() == QMessageBox::Cancel)
            return false;
        m_saver->forgetTarget();
        return true;
    });
    m_page->setReadEndHook([this] {
        m_picks->pageShown();
        m_structures->pageRead();
    });
    m_project = new ProjectController(this, m_scene, m_page, m_saver.get(), m_guard.get(), m_recent.get(),
                                      m_fileInfoWidget);
    m_project->setClosedHook([this] {
        m_toolBar->CancelCheckedBtn();
        m_scene->setMode(Pointer);
        m_picks->projectClosed();
    });
    m_views = new ViewWindows(this, m_scene, m_page, m_toolBar, m_guard.get());
    m_corrections = new CorrectionController(this, m_correctionDialog, m_page, m_project, m_picks, m_structures,
                                             m_guard.get());
    m_corrections->setDepthEndHook([this] { emit signalThreadOver(); });
    m_reports = new ReportController(this, m_contrast, m_guard.get(), [this] { return m_gridSizeIndex; });
    m_reports->setPreviewEndHook([this] { emit NotifyPreviewEnd(); });
}

MainWindow::~MainWindow()
{
    // The page read ends first (its readers use the project file), then a
    // conversion still running.
    delete m_page;
    m_page = nullptr;
    delete m_project;
    m_project = nullptr;
    // The panel and the read-out are process-wide and outlive the window.
    if (m_fileInfoWidget)
        m_fileInfoWidget->setParent(nullptr);
    if (m_mouseLabel)
        m_mouseLabel->setParent(nullptr);
    m_scene->clear();
    delete m_projectInfoDialog;
    m_projectInfoDialog = nullptr;
    m_corrections->shutDown();
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

    m_recent = std::make_unique<RecentLists>(this);
    for (QAction *act : m_recent->fileActs())
        connect(act, &QAction::triggered, this, &MainWindow::openRecentFile);
    for (QAction *act : m_recent->projectActs())
        connect(act, &QAction::triggered, this, &MainWindow::openRecentProject);

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
    for (QAction *act : m_recent->fileActs())
        m_recentFilesMenu->addAction(act);
    updateRecentFileActions();
    m_recentProjectsMenu = m_fileMenu->addMenu(tr("RecentProjects"));
    for (QAction *act : m_recent->projectActs())
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
    connect(m_toolBar, &ToolBar::magneticDeclinationCorrectionBtnPressed, this,
            [this] { m_corrections->showDialog(CorrectionController::Section::Angle); });
    connect(m_toolBar, &ToolBar::diameterCorrectionBtnPressed, this,
            [this] { m_corrections->showDialog(CorrectionController::Section::Diameter); });
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
// Closing, deleting, About

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_guard->refuse()) {
        // The project file is being rewritten; it must not be left half done.
        event->ignore();
        return;
    }
    if (confirmUnsavedChanges() == QMessageBox::Cancel) {
        event->ignore();
        return;
    }
    m_page->stopReading();
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
        m_page->itemRemoved(item);
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
    UserGuide::showGuide(this);
}

// ---------------------------------------------------------------------------
// Cursor read-out and measurement labels

void MainWindow::handleMouseMoved(QMouseEvent *event)
{
    if (!event || !m_mouseLabel)
        return;
    const QPointF scenePos = m_view->mapToScene(event->pos());
    const int x = qRound(scenePos.x());
    const int y = qRound(scenePos.y());
    const int width = int(m_scene->sceneRect().width()) - 2 * kColumnLeft;
    m_mouseLabel->showPosition(x, m_page->depthAtRow(y), width);
}

QString MainWindow::measurementLabelText(int type, const QPointF &p1, const QPointF &p2) const
{
    const QPoint q1 = p1.toPoint();
    const QPoint q2 = p2.toPoint();
    const MouseLabel *label = MouseLabel::instance();
    // The width of the page image; the read-out's own when no page is shown.
    const int pageWidth = int(m_scene->sceneRect().width()) - 2 * kColumnLeft;
    const int width = (m_page->leftScale() && pageWidth > 0) ? pageWidth : label->widthPx();
    // Depth, direction and azimuth texts of the cursor read-out.
    auto readOut = [this, label, width](const QPoint &p) {
        const int column = p.x() - kColumnLeft;
        return MeasurementLabel::Reading{MouseLabel::depthText(m_page->depthAtRow(p.y())),
                                         label->directionText(column, width),
                                         QString::number(MouseLabel::azimuth(column, width))};
    };
    return MeasurementLabel::text(type, readOut(q1), readOut(q2), QLineF(q1, q2).length(), pixelsPerUnit,
                                  m_projectInfo->diameter() / 10000.0);
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
// Language and display settings

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

void MainWindow::handleProjectInfoPressed()
{
    if (m_projectInfo->projectPath().isEmpty()) {
        QMessageBox::information(this, QString(), tr("Please open a project file first!"));
        return;
    }
    m_projectInfoDialog->fillFromRecord();
    m_projectInfoDialog->show();
}

void MainWindow::handleDataBaseOpenFailed()
{
    QMessageBox::information(this, QString(), tr("Database file open failed!"));
}

// ---------------------------------------------------------------------------
// Commands run by the window's controllers

int MainWindow::confirmUnsavedChanges() { return m_saver->confirmUnsavedChanges(); }
void MainWindow::openProjectFile(const QString &path) { m_project->openProjectFile(path); }
void MainWindow::openPictureFile(const QString &path) { m_project->openPictureFile(path); }
void MainWindow::openFile(const QString &path) { m_project->openFile(path); }
void MainWindow::openProject() { m_project->openProject(); }
void MainWindow::openPicture() { m_project->openPicture(); }
void MainWindow::closePicture() { m_project->closePicture(); }
void MainWindow::updateRecentFileActions() { m_recent->updateFiles(); }
void MainWindow::updateRecentProjectActions() { m_recent->updateProjects(); }

void MainWindow::openRecentFile()
{
    if (auto *action = qobject_cast<QAction *>(sender()))
        m_project->openRecentFile(action->data().toString());
}

void MainWindow::openRecentProject()
{
    if (auto *action = qobject_cast<QAction *>(sender()))
        m_project->openRecentProject(action->data().toString());
}

void MainWindow::saveCurrentImage() { m_saver->save(); }
void MainWindow::saveCurrentImage(bool isOriginalImage) { m_saver->save(isOriginalImage); }
void MainWindow::saveAs() { m_saver->saveAs(); }
void MainWindow::saveDrewImage() { m_saver->saveImageColumn(); }
bool MainWindow::hasSaveTarget() const { return m_saver->hasSaveTarget(); }
bool MainWindow::rewriteRunning() const { return m_guard->running(); }

void MainWindow::readPage(int start, int end) { m_page->readPage(start, end); }
bool MainWindow::updateImagesInit() { return m_page->updateImagesInit(); }
void MainWindow::handleGoPressed() { m_page->goPressed(); }
void MainWindow::handleNextImages() { m_page->turnPage(true); }
void MainWindow::handleLastImages() { m_page->turnPage(false); }
void MainWindow::handleStopPressed() { m_page->stop(); }
void MainWindow::handleBigImageCountGetted(int count) { m_page->bigImageCountGot(count); }
void MainWindow::handleReadOneBigImage(KdImage image) { m_page->readOneBigImage(image); }
void MainWindow::handleReadFinieshed() { m_page->readFinished(); }
void MainWindow::ReadBigImagesThreadFinished() { m_page->readerFinished(); }
void MainWindow::handleImageUpdate(int, int) {}
GraphicsTopScaleItem *MainWindow::topScale() const { return m_page->topScale(); }
GraphicsLeftScaleItem *MainWindow::leftScale() const { return m_page->leftScale(); }
ReadBigImageThread *MainWindow::readThread() const { return m_page->readThread(); }

void MainWindow::roll() { m_views->roll(); }
void MainWindow::handleRollRangeGetted(double a, double b) { m_views->rollRangeChosen(a, b); }
void MainWindow::handleRollUpdate(int curStart, int curEnd)
{
    m_views->updateRoll(qobject_cast<ScrollArea *>(sender()), curStart, curEnd);
}
void MainWindow::handleRollLoadFailed() { m_views->rollLoadFailed(); }
void MainWindow::handleShow3DImage() { m_views->show3D(); }
void MainWindow::handleReleas3DResourse(QStringList fileList) { m_views->release3D(fileList); }
QWidget *MainWindow::rollView() const { return m_views->rollView(); }

void MainWindow::handleCorrectionsBtnPressed() { m_corrections->showDialog(); }
void MainWindow::handleCorrectDepth(int realDepth) { m_corrections->correctDepth(realDepth); }
void MainWindow::handleCorrectAngle(int angle) { m_corrections->correctAngle(angle); }
void MainWindow::handleAfterCorrectDepth() { m_corrections->afterCorrectDepth(); }
void MainWindow::handleAfterCorrectAngle() { m_corrections->afterCorrectAngle(); }
void MainWindow::handleAfterCorrectDiameter() { m_corrections->afterCorrectDiameter(); }
void MainWindow::handleProcessProjectFinished(int) {}

void MainWindow::handleExportReportBtnPressed() { m_reports->exportReport(); }
void MainWindow::OnPreView(CReportParameter reportPara) { m_reports->preview(reportPara); }
void MainWindow::OnOpenReportFile(QString strFilePath) { m_reports->openReportFile(strFilePath); }
CReportParameter MainWindow::reportParameter() const { return m_reports->parameter(); }
