#ifndef PAGECONTROLLER_H
#define PAGECONTROLLER_H

#include <QCoreApplication>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

#include "kdimage.h"
#include "pageassembler.h"

class ContrastController;
class FileInfoWidget;
class GraphicsLeftScaleItem;
class GraphicsScene;
class GraphicsTopScaleItem;
class GraphicsView;
class ProjectInfo;
class QGraphicsItem;
class QProgressBar;
class QWidget;
class ReadBigImageThread;
class RewriteGuard;
class WaitView;

// The page on screen: reads a depth range of the open project on a worker,
// places its pieces in the image column with the depth and azimuth scales,
// and pages with Go, Next, Previous and Stop. Owned by the main window; its
// messages belong to the window.
class PageController : public QObject
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    // Scene rectangle while no page or picture is shown.
    static constexpr int kEmptySceneWidth = 3000;
    static constexpr int kEmptySceneHeight = 6000;

    PageController(QWidget *window, GraphicsScene *scene, GraphicsView *view, FileInfoWidget *panel,
                   QProgressBar *progressBar, ContrastController *contrast, RewriteGuard *guard);
    ~PageController() override;

    // Asked before the page is replaced: false keeps it (the user cancelled).
    void setDiscardCheck(std::function<bool()> mayDiscard) { m_mayDiscard = std::move(mayDiscard); }
    // Called when a page read has ended (completed or stopped).
    void setReadEndHook(std::function<void()> readEnded) { m_readEnded = std::move(readEnded); }

    GraphicsTopScaleItem *topScale() const { return m_assembler.topScale(); }
    GraphicsLeftScaleItem *leftScale() const { return m_assembler.leftScale(); }
    ReadBigImageThread *readThread() const { return m_readThread; }

    // Go, Next (forward) and Previous.
    void goPressed();
    void turnPage(bool forward);
    // Starts the worker that reads the page (start, end] in depth units.
    void readPage(int start, int end);
    // "Go" without the rewrite check: reads the page the panel names.
    void readPanelPage();
    // Reads the page recorded in the project record, or says there is none.
    void readRecordedPage();
    // Asks about unsaved drawings and empties the scene for a new page.
    bool updateImagesInit();
    // True when the open project can be paged: it has images and a diameter.
    // Otherwise tells the user and answers false.
    bool checkProjectGeometry();
    // Stop: the page keeps the images placed so far.
    void stop();
    // Ends a page read in progress (if any) and waits for its worker.
    void stopReading();
    // Deletes every item of the scene and forgets the scales.
    void clearScene();
    // clearScene(), and nothing left belongs to a page.
    void discardPage();
    // The scales are no longer those of the page (they were removed, or a
    // project is being opened).
    void forgetScales();
    void itemRemoved(QGraphicsItem *item);
    // Depth under scene row y (as the cursor read-out shows it).
    int depthAtRow(int y) const;

    // The reader's reports.
    void bigImageCountGot(int count);
    void readOneBigImage(KdImage image);
    void readFinished();
    void readerFinished();

private:
    bool pageCommandAllowed();
    void addBigImage(KdImage image);
    // Progress bar away, navigation usable again, grid redrawn.
    void endOfRead();

    QWidget *m_window = nullptr;
    GraphicsScene *m_scene = nullptr;
    GraphicsView *m_view = nullptr;
    FileInfoWidget *m_fileInfoWidget = nullptr;
    QProgressBar *m_progressBar = nullptr;
    ContrastController *m_contrast = nullptr;
    RewriteGuard *m_guard = nullptr;
    ProjectInfo *m_projectInfo = nullptr;
    std::function<bool()> m_mayDiscard;
    std::function<void()> m_readEnded;

    // Lays the pieces of the page read out in the scene, with its scales.
    PageAssembler m_assembler;
    ReadBigImageThread *m_readThread = nullptr;
    // Page read in progress: its wait view and the serial that tells its
    // signals from those of earlier readers.
    QPointer<WaitView> m_waitView;
    int m_readSerial = 0;
    // Readers ended by Stop that may still be finishing their last piece.
    QList<QPointer<ReadBigImageThread>> m_releasedReaders;
};

#endif // PAGECONTROLLER_H
