#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QList>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <memory>

#include "creportparameter.h"
#include "kdimage.h"
#include "recentlists.h"

class QAction;
class QCloseEvent;
class QGraphicsItem;
class QGraphicsLineItem;
class QMenu;
class QMouseEvent;
class QProgressBar;
class QSplitter;

class ContrastController;
class CorrectionController;
class ContrastDock;
class CorrectionDialog;
class CorrectionThread;
class FileInfoWidget;
class GraphicsLeftScaleItem;
class GraphicsScene;
class GraphicsTopScaleItem;
class GraphicsView;
class MouseLabel;
class PageController;
class PictureSaver;
class ProjectController;
class ProjectInfo;
class ProjectInfoDialog;
class ReadBigImageThread;
class RecentLists;
class ReportController;
class RewriteGuard;
class StructurePickController;
class StructuresController;
class ToolBar;
class ViewWindows;

// The application's only top-level window: the page view with its scales,
// the depth navigation panel, the tool bar, the menus and the status bar.
// Every user command ends in one of its slots; the page, the open project,
// the picture saving, the view windows, the corrections and the reports are
// each run by a class of their own that the window owns.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Number of entries in each recent submenu.
    static constexpr int MaxRecentFiles = RecentLists::MaxRecentFiles;

    // Asks whether the drawings of the page should be saved. Answers 0 when
    // there is nothing to save or it was saved, QMessageBox::Abort to discard
    // them, QMessageBox::Cancel to stop the caller.
    int confirmUnsavedChanges();

    // Opens a project file (no question asked) and reads its first page.
    void openProjectFile(const QString &path);
    // Shows a single picture file for drawing on (no project).
    void openPictureFile(const QString &path);
    // Opens a file named on the command line: a project (".prj", any case)
    // or a picture. A missing file is reported, never created.
    void openFile(const QString &path);
    // Starts the worker that reads the page (start, end] in depth units.
    void readPage(int start, int end);

    // Texts of the measurement label for a finished measurement line of
    // type 11, 12 or 13; empty for any other type.
    QString measurementLabelText(int type, const QPointF &p1, const QPointF &p2) const;

    // Refreshes the recent-file menu / the recent-project menu from the store.
    void updateRecentFileActions();
    void updateRecentProjectActions();

    // Accessors for the parts of the window.
    GraphicsScene *scene() const { return m_scene; }
    GraphicsView *view() const { return m_view; }
    ToolBar *toolBar() const { return m_toolBar; }
    CReportParameter reportParameter() const;
    QProgressBar *progressBar() const { return m_progressBar; }
    FileInfoWidget *fileInfoWidget() const { return m_fileInfoWidget; }
    GraphicsTopScaleItem *topScale() const;
    GraphicsLeftScaleItem *leftScale() const;
    ReadBigImageThread *readThread() const;
    // The roll window opened last, while it is open.
    QWidget *rollView() const;
    bool hasSaveTarget() const;
    // True while a worker rewrites the project file (upward conversion or a
    // correction); the commands that open, close, page, save, export, correct
    // or show the project refuse meanwhile.
    bool rewriteRunning() const;
    int gridSizeIndex() const { return m_gridSizeIndex; }
    QMenu *fileMenu() const { return m_fileMenu; }
    QMenu *editMenu() const { return m_editMenu; }
    QMenu *viewMenu() const { return m_viewMenu; }
    QMenu *helpMenu() const { return m_helpMenu; }
    QMenu *recentFilesMenu() const { return m_recentFilesMenu; }
    QMenu *recentProjectsMenu() const { return m_recentProjectsMenu; }
    QMenu *languageMenu() const { return m_languageMenu; }
    QAction *aboutAct() const { return m_aboutAct; }
    QAction *exitAct() const { return m_exitAct; }
    QAction *closeAct() const { return m_closeAct; }
    QAction *displaySettingAct() const { return m_displaySettingAct; }
    QAction *englishAct() const { return m_englishAct; }
    QAction *chineseAct() const { return m_chineseAct; }
    QList<QAction *> recentFileActs() const { return m_recent->fileActs(); }
    QList<QAction *> recentProjectActs() const { return m_recent->projectActs(); }
    StructurePickController *structurePicks() const { return m_picks; }
    // Contrast of the wall picture (view only) and the structure plots.
    ContrastController *contrastController() const { return m_contrast; }
    ContrastDock *contrastDock() const { return m_contrastDock; }
    StructuresController *structuresController() const { return m_structures; }

signals:
    void signalThreadOver();
    void NotifyPreviewEnd();
    void NotifyLanguageChanged();

public slots:
    void openPicture();
    void openRecentFile();
    void openProject();
    void openRecentProject();
    void saveCurrentImage();
    void saveCurrentImage(bool isOriginalImage);
    void saveAs();
    void saveDrewImage();
    void closePicture();
    void deleteItem();
    void roll();
    void about();
    // Help > User guide: the installed guide in the desktop's viewer.
    void showUserGuide();
    void handleMouseMoved(QMouseEvent *event);
    bool updateImagesInit();
    void handleGoPressed();
    void handleLastImages();
    void handleNextImages();
    void handleImageUpdate(int, int);
    void handleRollRangeGetted(double, double);
    void handleStopPressed();
    void handleDataBaseOpenFailed();
    void handleItemInserted(QGraphicsItem *insertedItem);
    void handleBigImageCountGetted(int);
    void handleReadOneBigImage(KdImage);
    void handleReadFinieshed();
    void handleCorrectionsBtnPressed();
    void handleProjectInfoPressed();
    void handleExportReportBtnPressed();
    void handleProcessProjectFinished(int result);
    void handleRollUpdate(int curStart, int curEnd);
    void handleCorrectDepth(int realDepth);
    void handleAfterCorrectDepth();
    void handleCorrectAngle(int);
    void handleRollLoadFailed();
    void handleShow3DImage();
    void handleReleas3DResourse(QStringList fileList);
    void OnDisplaySetting();
    void OnPreView(CReportParameter reportPara);
    void ReadBigImagesThreadFinished();
    void OnOpenReportFile(QString strFilePath);
    void OnLanguageSwtich();
    void OnRetranslate();

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    // End of an azimuth correction (the depth correction ends in
    // handleAfterCorrectDepth()).
    void handleAfterCorrectAngle();
    // The corrections dialog wrote a new diameter: the structure picks on
    // the page and in the plots show their new dips.
    void handleAfterCorrectDiameter();

private:
    void createActions();
    void createMenus();
    void createStatusBar();
    // The classes that run the commands, and how they reach the window.
    void createControllers();
    void connectSignals();
    // Labels a finished measurement line; drops it when refused.
    void annotateLine(const QString &text, QGraphicsLineItem *line);

    QMenu *m_fileMenu = nullptr;
    QMenu *m_editMenu = nullptr;
    QMenu *m_viewMenu = nullptr;
    QMenu *m_helpMenu = nullptr;
    QMenu *m_recentFilesMenu = nullptr;
    QMenu *m_recentProjectsMenu = nullptr;
    QMenu *m_languageMenu = nullptr;
    QAction *m_aboutAct = nullptr;
    QAction *m_userGuideAct = nullptr;
    QAction *m_exitAct = nullptr;
    QAction *m_closeAct = nullptr;
    std::unique_ptr<RecentLists> m_recent;
    QAction *m_displaySettingAct = nullptr;
    QAction *m_englishAct = nullptr;
    QAction *m_chineseAct = nullptr;
    ToolBar *m_toolBar = nullptr;
    QSplitter *m_splitter = nullptr;
    GraphicsView *m_view = nullptr;
    GraphicsScene *m_scene = nullptr;
    QProgressBar *m_progressBar = nullptr;
    MouseLabel *m_mouseLabel = nullptr;
    ProjectInfo *m_projectInfo = nullptr;
    FileInfoWidget *m_fileInfoWidget = nullptr;
    ProjectInfoDialog *m_projectInfoDialog = nullptr;
    CorrectionDialog *m_correctionDialog = nullptr;
    int m_gridSizeIndex = 0;
    StructurePickController *m_picks = nullptr;
    ContrastController *m_contrast = nullptr;
    ContrastDock *m_contrastDock = nullptr;
    StructuresController *m_structures = nullptr;

    std::unique_ptr<RewriteGuard> m_guard;
    PageController *m_page = nullptr;
    std::unique_ptr<PictureSaver> m_saver;
    ProjectController *m_project = nullptr;
    ViewWindows *m_views = nullptr;
    CorrectionController *m_corrections = nullptr;
    ReportController *m_reports = nullptr;
};

#endif // MAINWINDOW_H
