#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include "creportparameter.h"
#include "kdimage.h"

class QAction;
class QCloseEvent;
class QGraphicsItem;
class QGraphicsLineItem;
class QMenu;
class QMouseEvent;
class QProgressBar;
class QProgressDialog;
class QSplitter;

class ContrastController;
class ContrastDock;
class CorrectionDialog;
class CorrectionThread;
class FileInfoWidget;
class GraphicsLeftScaleItem;
class GraphicsScene;
class GraphicsTopScaleItem;
class GraphicsView;
class MouseLabel;
class ProcessUpProjectThread;
class ProjectInfo;
class ProjectInfoDialog;
class ReadBigImageThread;
class StructurePickController;
class StructuresController;
class ToolBar;
class WaitView;

// The application's only top-level window: the page view with its scales,
// the depth navigation panel, the tool bar, the menus and the status bar.
// Every user command ends in one of its slots.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Number of entries in each recent submenu.
    static constexpr int MaxRecentFiles = 5;

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
    // Inclination (degrees) of the plane through two wall points given by
    // depth (metres) and azimuth (degrees) in a hole of the given diameter
    // (metres). Never NaN or infinite.
    static double inclinationAngle(float h1, float a1, float h2, float a2, double diameterMetres);

    // Refreshes the recent-file menu / the recent-project menu from the store.
    void updateRecentFileActions();
    void updateRecentProjectActions();

    // Accessors for the parts of the window.
    GraphicsScene *scene() const { return m_scene; }
    GraphicsView *view() const { return m_view; }
    ToolBar *toolBar() const { return m_toolBar; }
    CReportParameter reportParameter() const { return m_reportParameter; }
    QProgressBar *progressBar() const { return m_progressBar; }
    FileInfoWidget *fileInfoWidget() const { return m_fileInfoWidget; }
    GraphicsTopScaleItem *topScale() const { return m_topScale; }
    GraphicsLeftScaleItem *leftScale() const { return m_leftScale; }
    ReadBigImageThread *readThread() const { return m_readThread; }
    // The roll window opened last, while it is open.
    QWidget *rollView() const { return m_rollView; }
    bool hasSaveTarget() const { return m_hasSaveTarget; }
    // True while a worker rewrites the project file (upward conversion or a
    // correction); the commands that open, close, page, save, export, correct
    // or show the project refuse meanwhile.
    bool rewriteRunning() const { return !m_rewriteThread.isNull(); }
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
    QList<QAction *> recentFileActs() const { return m_recentFileActs; }
    QList<QAction *> recentProjectActs() const { return m_recentProjectActs; }
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
    // Cuts a roll range to the page on screen; false (and says why) when
    // nothing of it is on the page.
    bool clampRollRangeToPage(int *start, int *end);
    // Corrections asked for by one "Ok" of the corrections dialog run one
    // after the other, in the order asked (depth before angle).
    struct PendingCorrection
    {
        bool depth = false;
        int value = 0;
    };
    // A correction request that comes while a rewrite runs is refused,
    // unless it belongs to the press of "Ok" that started the running one.
    bool correctionRequestRefused();
    void queueCorrection(bool depth, int value);
    void startNextCorrection();
    // The correction worker that just reported its end: waits for its
    // thread, forgets it as the running rewrite and tells the user when it
    // failed. True when its rewrite was committed.
    bool endCorrection();
    // After the last correction of a press: the project is opened again
    // when its depths changed, the page read again when it was turned.
    void afterCorrections();
    // After an azimuth correction: the page shows the turned wall and picks.
    void readTurnedPage();
    bool pageCommandAllowed();
    // When a rewrite runs, says so in a short message and answers true: the
    // calling command must not go on.
    bool refuseDuringRewrite();
    void readRecordedPage();
    // "Go" without the rewrite check: reads the page the panel names.
    void readPanelPage();
    // Empties the window (no question asked): page, project, grid, tool.
    void clearPage();
    // Window title: "KORA" and the open project's or picture's file name.
    void showFileInTitle(const QString &path);
    void createActions();
    void createMenus();
    void createStatusBar();
    void connectSignals();
    void addBigImage(KdImage image);
    // Deletes every item of the scene and forgets the scales.
    void clearScene();
    // Ends a page read in progress (if any) and waits for its worker.
    void stopReading();
    // Progress bar away, navigation usable again, grid redrawn.
    void endOfRead();
    // True when the open project can be paged: it has images and a diameter.
    // Otherwise tells the user and answers false.
    bool checkProjectGeometry();
    // Puts path at the front of a recent list and refreshes the menus.
    void addRecentFile(const QString &path);
    void addRecentProject(const QString &path);
    // Message for commands whose window is not part of this build.
    void featureNotAvailable(const QString &feature);
    // Depth under scene row y (as the cursor read-out shows it).
    int depthAtRow(int y) const;
    // Fills in what the report dialog does not ask: grid size, start-depth
    // offset and the deepest id.
    void completeReportParameter(CReportParameter &para) const;
    // Runs the report builder of the parameters' format on its thread.
    void startExport(const QString &title, const QString &path, const CReportParameter &para);
    // Asks for the piece depth and writes the page from the "savePicDir"
    // setting: 1 written, 0 failed, -1 cancelled.
    int savePagePieces(bool imageColumnOnly);
    // Title of the roll and 3D windows: view, project name and depth range.
    QString viewTitle(const QString &view, int start, int end) const;
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
    QList<QAction *> m_recentFileActs;
    QList<QAction *> m_recentProjectActs;
    QAction *m_displaySettingAct = nullptr;
    QAction *m_englishAct = nullptr;
    QAction *m_chineseAct = nullptr;
    ToolBar *m_toolBar = nullptr;
    QSplitter *m_splitter = nullptr;
    GraphicsView *m_view = nullptr;
    GraphicsScene *m_scene = nullptr;
    QProgressBar *m_progressBar = nullptr;
    MouseLabel *m_mouseLabel = nullptr;
    GraphicsTopScaleItem *m_topScale = nullptr;
    GraphicsLeftScaleItem *m_leftScale = nullptr;
    ProjectInfo *m_projectInfo = nullptr;
    FileInfoWidget *m_fileInfoWidget = nullptr;
    ProjectInfoDialog *m_projectInfoDialog = nullptr;
    CorrectionDialog *m_correctionDialog = nullptr;
    QList<PendingCorrection> m_pendingCorrections;
    QPointer<CorrectionThread> m_correctionThread;
    bool m_reopenAfterCorrections = false;
    bool m_rereadAfterCorrections = false;
    ReadBigImageThread *m_readThread = nullptr;
    QPointer<QWidget> m_rollView;
    QPointer<QProgressDialog> m_progressDialog;
    bool m_hasSaveTarget = false;
    ProcessUpProjectThread *m_upProcessThread = nullptr;
    // The worker rewriting the project file, if any (cleared when it ends).
    QPointer<QThread> m_rewriteThread;
    int m_gridSizeIndex = 0;
    QPointer<QObject> m_reportBuilder;
    CReportParameter m_reportParameter;
    StructurePickController *m_picks = nullptr;
    ContrastController *m_contrast = nullptr;
    ContrastDock *m_contrastDock = nullptr;
    StructuresController *m_structures = nullptr;

    // Page read in progress: its wait view, the depths it was asked for,
    // and the serial that tells its signals from those of earlier readers.
    QPointer<WaitView> m_waitView;
    int m_readStart = 0;
    int m_readEnd = 0;
    bool m_firstPieceOfRead = false;
    int m_readSerial = 0;
    // Readers ended by Stop that may still be finishing their last piece.
    QList<QPointer<ReadBigImageThread>> m_releasedReaders;
};

#endif // MAINWINDOW_H
