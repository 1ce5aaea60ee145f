#include "pagecontroller.h"

#include "contrastcontroller.h"
#include "depthmodel.h"
#include "fileinfowidget.h"
#include "globals.h"
#include "graphicsleftscaleitem.h"
#include "graphicsscene.h"
#include "graphicstopscaleitem.h"
#include "graphicsview.h"
#include "itemstyle.h"
#include "pagerenderer.h"
#include "projectinfo.h"
#include "readbigimagethread.h"
#include "rewriteguard.h"
#include "waitview.h"

#include <QDebug>
#include <QEventLoop>
#include <QGraphicsPixmapItem>
#include <QMessageBox>
#include <QProgressBar>
#include <QScrollBar>
#include <QTimer>

namespace {

// Scene layout of a page: the image column starts at y = 120.
constexpr int kColumnTop = PageRenderer::kHeaderHeight;

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

} // namespace

PageController::PageController(QWidget *window, GraphicsScene *scene, GraphicsView *view, FileInfoWidget *panel,
                               QProgressBar *progressBar, ContrastController *contrast, RewriteGuard *guard)
    : QObject(window)
    , m_window(window)
    , m_scene(scene)
    , m_view(view)
    , m_fileInfoWidget(panel)
    , m_progressBar(progressBar)
    , m_contrast(contrast)
    , m_guard(guard)
    , m_projectInfo(ProjectInfo::instance())
    , m_assembler(scene, m_projectInfo)
{
}

PageController::~PageController()
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
}

bool PageController::checkProjectGeometry()
{
    if (m_projectInfo->imageWidth() > 0 && m_projectInfo->diameter() > 0)
        return true;
    QMessageBox::warning(m_window, tr("Warning"),
                         tr("The project has no readable images or no borehole diameter!"));
    return false;
}

bool PageController::updateImagesInit()
{
    if (m_readThread && m_readThread->isRunning()) {
        QMessageBox::warning(m_window, tr("Warning"), tr("Reading images,please wait!"));
        return false;
    }
    if (m_mayDiscard && !m_mayDiscard())
        return false;

    discardPage();

    if (pixelsPerUnit == 0.0 && m_projectInfo->diameter() > 0)
        pixelsPerUnit = m_projectInfo->computePixelFactor();

    if (maxPageDepth == 0.0) {
        // 0 again when nothing bounds the page; the page commands refuse
        // such a project.
        maxPageDepth = PageAssembler::maxPageDepth(m_projectInfo->imageWidth(), pixelsPerUnit);
        qDebug() << "maxPageDepth:" << maxPageDepth;
    }
    return true;
}

// Go, Next and Previous do nothing while a page reads and need a project.
bool PageController::pageCommandAllowed()
{
    if (readingInProgress)
        return false;
    if (m_projectInfo->projectPath().isEmpty()) {
        QMessageBox::information(m_window, QString(), tr("Please open a project file first!"));
        return false;
    }
    return true;
}

void PageController::readRecordedPage()
{
    if (m_projectInfo->pageStart() != m_projectInfo->pageEnd())
        readPage(m_projectInfo->pageStart(), m_projectInfo->pageEnd());
    else
        QMessageBox::warning(m_window, tr("Warning"), tr("No pictures!"));
}

void PageController::goPressed()
{
    if (m_guard->refuse())
        return;
    readPanelPage();
}

void PageController::readPanelPage()
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

void PageController::turnPage(bool forward)
{
    if (m_guard->refuse())
        return;
    if (!pageCommandAllowed())
        return;
    const int pageDepth = m_fileInfoWidget ? m_fileInfoWidget->pageDepth() : 50000;
    // Next stops at the deepest piece, Previous at the top of the project.
    const bool atEnd = forward ? m_projectInfo->pageEnd() >= m_projectInfo->maxDepth()
                               : m_projectInfo->start() >= m_projectInfo->pageStart();
    if (atEnd) {
        QMessageBox::information(m_window, QString(),
                                 forward ? tr("This is the last page.") : tr("This is the first page."));
        return;
    }
    if (!checkProjectGeometry())
        return;
    if (!updateImagesInit())
        return;
    if (forward) {
        const int newStart = m_projectInfo->pageEnd();
        m_projectInfo->setPageStart(newStart);
        m_projectInfo->setPageEnd(qMin(newStart + pageDepth, m_projectInfo->maxDepth()));
    } else {
        const int newEnd = m_projectInfo->pageStart();
        m_projectInfo->setPageEnd(newEnd);
        m_projectInfo->setPageStart(qMax(newEnd - pageDepth, m_projectInfo->start()));
    }
    readRecordedPage();
}

void PageController::readPage(int start, int end)
{
    readingInProgress = true;
    m_assembler.startRead(start, end);
    const int serial = ++m_readSerial;
    m_readThread = new ReadBigImageThread(m_projectInfo->projectPath(), start, end);
    // Signals of a reader that Stop has let go carry an old serial and are
    // dropped, even those already queued.
    connect(m_readThread, &ReadBigImageThread::bigImageCountGetted, this, [this, serial](int count) {
        if (serial == m_readSerial)
            bigImageCountGot(count);
    });
    // The reader runs at most two pieces ahead of this handler: its
    // acknowledgement of a piece comes through this thread's queue right
    // behind the piece, so a piece must be placed here, not later.
    connect(m_readThread, &ReadBigImageThread::readOneBigImage, this, [this, serial](KdImage image) {
        if (serial == m_readSerial)
            readOneBigImage(image);
    });
    connect(m_readThread, &ReadBigImageThread::readFinieshed, this, [this, serial] {
        if (serial == m_readSerial)
            readFinished();
    });
    connect(m_readThread, &ReadBigImageThread::readThreadFinished, this, [this, serial] {
        if (serial == m_readSerial)
            readerFinished();
    });

    // Over the page only: the navigation panel (and its Stop) stays usable.
    auto *wait = new WaitView(m_view, false, 0);
    wait->setActive(true);
    connect(m_readThread, &ReadBigImageThread::readThreadFinished, wait, &WaitView::close);
    m_waitView = wait;

    m_readThread->start(QThread::InheritPriority);
    wait->show();
}

void PageController::stop()
{
    if (!m_readThread || !m_readThread->isRunning())
        return;
    readFinished();
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

void PageController::stopReading()
{
    if (!m_readThread)
        return;
    if (m_readThread->isRunning())
        stop();
    else
        readerFinished(); // its last signal is still queued
}

void PageController::bigImageCountGot(int count)
{
    if (count == 0) {
        QMessageBox::warning(m_window, tr("Warning"), tr("No pictures!"));
        return;
    }
    m_progressBar->setRange(0, count);
    m_progressBar->setValue(0);
    m_progressBar->show();
    m_assembler.addScales();
}

void PageController::readOneBigImage(KdImage image)
{
    m_progressBar->setValue(m_progressBar->value() + 1);
    addBigImage(image);
}

void PageController::addBigImage(KdImage image)
{
    if (!(pixelsPerUnit > 0.0))
        return;
    if (!m_assembler.hasScales()) {
        // The page was cleared under a running read; start the scales again.
        bigImageCountGot(qMax(1, m_progressBar->maximum()));
    }

    const bool first = m_assembler.beforeFirstPiece();
    QImage scaled;
    if (QGraphicsPixmapItem *item = m_assembler.add(image, pixelsPerUnit, &scaled))
        m_contrast->pieceAdded(item, scaled); // shows it through the contrast setting

    QScrollBar *bar = m_view->horizontalScrollBar();
    bar->setValue(bar->maximum() / 2);
    // A new page is shown from its top.
    if (first)
        m_view->verticalScrollBar()->setValue(m_view->verticalScrollBar()->minimum());
    m_scene->setBaseItemCount(m_scene->items().size());
}

void PageController::readFinished()
{
    if (m_readThread)
        m_progressBar->setMaximum(m_progressBar->maximum() + 1);
}

void PageController::readerFinished()
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

void PageController::endOfRead()
{
    m_progressBar->setValue(m_progressBar->maximum());
    m_progressBar->hide();
    readingInProgress = false;
    if (ItemStyle::instance()->gridVisible())
        m_scene->UpdateGridLines();
    if (m_readEnded)
        m_readEnded();
}

void PageController::clearScene()
{
    m_scene->init();
    m_scene->clear();
    m_scene->clearCurrentItem();
    forgetScales();
}

void PageController::discardPage()
{
    clearScene();
    m_scene->setBaseItemCount(0);
}

void PageController::forgetScales()
{
    m_assembler.forgetScales();
}

void PageController::itemRemoved(QGraphicsItem *item)
{
    m_assembler.forget(item);
}

int PageController::depthAtRow(int y) const
{
    if (leftScale())
        return int(DepthModel::fromProject().pageDepth(int(leftScale()->startDepth()), y - kColumnTop));
    return y - kColumnTop;
}
