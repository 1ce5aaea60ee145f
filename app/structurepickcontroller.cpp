#include "structurepickcontroller.h"

#include "fileinfowidget.h"
#include "graphicsleftscaleitem.h"
#include "depthmodel.h"
#include "globals.h"
#include "graphicsscene.h"
#include "graphicsview.h"
#include "mainwindow.h"
#include "holesurveynotifier.h"
#include "holesurveystore.h"
#include "pagepickreader.h"
#include "pickexporter.h"
#include "picklistdock.h"
#include "projectinfo.h"
#include "structurepickdialog.h"
#include "structurepickstore.h"
#include "toolbar.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QSet>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Scene layout of a page: the image column starts at x = 1300 and y = 120.
constexpr double kColumnLeft = 1300.0;
constexpr double kColumnTop = 120.0;
// Type code of the page images (QGraphicsPixmapItem).
constexpr int kPageImageType = 7;
// Longest the window is kept busy making the items of a page's picks (ms).
constexpr int kSliceMs = 25;

bool byDepth(const StructurePick &a, const StructurePick &b)
{
    return a.depth < b.depth || (a.depth == b.depth && a.id < b.id);
}

// Changes whenever the project file is written (a correction rewrites its
// picks): time and size of the file and of its write-ahead log.
QString fileState(const QString &path)
{
    QString state;
    for (const QString &file : {path, path + QStringLiteral("-wal")}) {
        const QFileInfo info(file);
        state += QStringLiteral("%1:%2;").arg(info.exists() ? info.lastModified().toMSecsSinceEpoch() : 0).arg(info.size());
    }
    return state;
}

} // namespace

StructurePickController::StructurePickController(MainWindow *window)
    : QObject(window)
    , m_window(window)
    , m_scene(window->scene())
    , m_reader(new PagePickReader(this))
{
    connect(m_reader, &PagePickReader::picksRead, this,
            [this](quint64 ticket, const QVector<StructurePick> &picks) { placePicks(ticket, picks); });
    m_scene->setStructurePickFactory([this] { return makePick(); });
    connect(m_scene, &GraphicsScene::structurePickEnded, this,
            [this](GraphicsStructurePickItem *item) { pickEnded(item); });

    m_dock = new PickListDock(window);
    window->addDockWidget(Qt::RightDockWidgetArea, m_dock);
    connect(m_dock, &PickListDock::pickActivated, this, &StructurePickController::goToPick);

    m_exportAct = new QAction(window);
    connect(m_exportAct, &QAction::triggered, this,
            static_cast<void (StructurePickController::*)()>(&StructurePickController::exportPicks));
    // After the report export, before the recent lists.
    QMenu *file = window->fileMenu();
    file->insertAction(window->recentFilesMenu()->menuAction(), m_exportAct);
    // The pick tool next to the other interpretation commands, and the list's toggle.
    window->editMenu()->insertAction(window->displaySettingAct(),
                                     window->toolBar()->toolAction(ToolBar::StructurePickTool));
    window->viewMenu()->addAction(m_dock->toggleViewAction());

    connect(this, &StructurePickController::pageRequested, window, &MainWindow::handleGoPressed);
    connect(HoleSurveyNotifier::instance(), &HoleSurveyNotifier::surveyChanged, this,
            &StructurePickController::surveyChanged);
    connect(window, &MainWindow::NotifyLanguageChanged, this, &StructurePickController::OnRetranslate);
    OnRetranslate();
}

StructurePickController::~StructurePickController()
{
    qDeleteAll(m_madeItems);
}

void StructurePickController::OnRetranslate()
{
    m_exportAct->setText(tr("Export &picks..."));
    m_exportAct->setStatusTip(tr("Write the structure picks of the project to a CSV or LAS file"));
    m_dock->OnRetranslate();
    refreshList();
}

// ---------------------------------------------------------------------------
// The page

bool StructurePickController::pageGeometry(GraphicsStructurePickItem::Page *page, QString *why) const
{
    ProjectInfo *info = ProjectInfo::instance();
    auto *left = static_cast<GraphicsLeftScaleItem *>(m_scene->itemOfType(GraphicsLeftScaleItem::Type));
    // A picture shows an image without a depth scale.
    if (info->projectPath().isEmpty() || (!left && m_scene->itemOfType(kPageImageType))) {
        *why = tr("Structure picks are made on the pages of a project: a single picture has no "
                  "depth scale and no borehole diameter.");
        return false;
    }
    return pageGeometry(left, m_scene->sceneRect().width(), page, why);
}

bool StructurePickController::pageGeometry(const GraphicsLeftScaleItem *left, double sceneWidth,
                                           GraphicsStructurePickItem::Page *page, QString *why)
{
    const ProjectInfo *info = ProjectInfo::instance();
    if (info->diameter() <= 0) {
        *why = tr("The project has no borehole diameter, so the dip of a plane cannot be "
                  "computed. Set the diameter in the corrections first.");
        return false;
    }
    const double width = sceneWidth - 2 * kColumnLeft;
    if (!left || !left->isInitialized() || !(left->pixelsPerDepthUnit() > 0.0) || width < 1.0) {
        *why = tr("Structure picks are made on a page of the project: read a page first.");
        return false;
    }
    page->left = kColumnLeft;
    page->top = kColumnTop;
    page->width = int(width);
    page->pageStart = left->startDepth();
    // The page is laid out at the project's scale (DepthModel).
    const double scale = DepthModel::fromProject().pixelsPerUnit();
    page->pixelsPerUnit = scale > 0.0 ? scale : left->pixelsPerDepthUnit();
    page->diameter = info->diameter();
    return true;
}

GraphicsStructurePickItem *StructurePickController::makePick()
{
    GraphicsStructurePickItem::Page page;
    QString why;
    if (!pageGeometry(&page, &why)) {
        QMessageBox::information(m_window, QString(), why);
        return nullptr;
    }
    auto *item = new GraphicsStructurePickItem(page);
    m_window->statusBar()->showMessage(
        tr("Structure pick: click points along the trace; a right click, Enter or the tool "
           "button ends the pick."));
    return item;
}

void StructurePickController::attach(GraphicsStructurePickItem *item)
{
    item->setChangedCallback([this](GraphicsStructurePickItem *changed) { pickChanged(changed); });
    item->setEditCallback([this](GraphicsStructurePickItem *edited) { editPick(edited); });
}

void StructurePickController::drop(GraphicsStructurePickItem *item)
{
    if (item->scene())
        item->scene()->removeItem(item);
    // The caller may still hold the item for the rest of this event.
    QTimer::singleShot(0, m_scene, [item] { delete item; });
}

void StructurePickController::countAsPageItem(int delta)
{
    m_scene->setBaseItemCount(qMax(0, m_scene->baseItemCount() + delta));
}

QList<GraphicsStructurePickItem *> StructurePickController::pickItems() const
{
    QList<GraphicsStructurePickItem *> picks;
    for (QGraphicsItem *item : m_scene->items()) {
        if (item->type() == GraphicsStructurePickItem::Type)
            picks << static_cast<GraphicsStructurePickItem *>(item);
    }
    return picks;
}

void StructurePickController::pageShown()
{
    // The list holds the whole project: made again only for another project
    // or when the file was written since.
    if (followProject() || fileState(m_projectPath) != m_listFileState)
        refreshList();
    GraphicsStructurePickItem::Page page;
    QString why;
    if (!pageGeometry(&page, &why)) {
        m_pageTicket = 0;
        emit picksChanged();
        return;
    }
    auto *left = static_cast<GraphicsLeftScaleItem *>(m_scene->itemOfType(GraphicsLeftScaleItem::Type));
    m_pageFrom = left->startDepth();
    m_pageTo = left->endDepth();
    readPagePicks();
}

void StructurePickController::readPagePicks()
{
    dropMadeItems();
    m_pageTicket = m_reader->read(m_projectPath, m_pageFrom, m_pageTo);
}

bool StructurePickController::pageStillShown(GraphicsStructurePickItem::Page *page) const
{
    QString why;
    auto *left = static_cast<GraphicsLeftScaleItem *>(m_scene->itemOfType(GraphicsLeftScaleItem::Type));
    return !readingInProgress && pageGeometry(page, &why) && left->startDepth() == m_pageFrom
           && left->endDepth() == m_pageTo;
}

void StructurePickController::dropMadeItems()
{
    qDeleteAll(m_madeItems);
    m_madeItems.clear();
    m_toMake.clear();
    m_made = 0;
}

void StructurePickController::placePicks(quint64 ticket, const QVector<StructurePick> &stored)
{
    if (ticket != m_pageTicket)
        return;
    dropMadeItems();
    GraphicsStructurePickItem::Page page;
    // A page read or cleared since has its own picks coming.
    if (!pageStillShown(&page)) {
        m_pageTicket = 0;
        return;
    }
    // A page shown twice does not get its picks twice.
    QSet<qint64> shown;
    for (GraphicsStructurePickItem *item : pickItems())
        shown << item->pick().id;
    for (const StructurePick &p : stored) {
        if (!shown.contains(p.id))
            m_toMake << p;
    }
    for (const StructurePick &p : qAsConst(m_memory)) {
        if (p.depth >= m_pageFrom && p.depth <= m_pageTo && !shown.contains(p.id))
            m_toMake << p;
    }
    makeItems(ticket);
}

void StructurePickController::makeItems(quint64 ticket)
{
    GraphicsStructurePickItem::Page page;
    if (ticket != m_pageTicket)
        return;
    if (!pageStillShown(&page)) {
        dropMadeItems();
        m_pageTicket = 0;
        return;
    }
    // Many thousand picks are made a slice at a time, the window answering
    // in between; they go on the page together.
    QElapsedTimer slice;
    slice.start();
    while (m_made < m_toMake.size()) {
        m_madeItems << new GraphicsStructurePickItem(page, m_toMake.at(m_made++));
        if (m_made % 256 == 0 && slice.elapsed() >= kSliceMs) {
            QTimer::singleShot(0, this, [this, ticket] { makeItems(ticket); });
            return;
        }
    }
    for (GraphicsStructurePickItem *item : qAsConst(m_madeItems)) {
        attach(item);
        m_scene->addItem(item);
    }
    countAsPageItem(m_madeItems.size());
    m_madeItems.clear(); // on the page now
    dropMadeItems();
    m_pageTicket = 0;
    declutterLabels();
    emit picksChanged();
}

void StructurePickController::declutterLabels()
{
    QList<GraphicsStructurePickItem *> picks = pickItems();
    std::sort(picks.begin(), picks.end(), [](GraphicsStructurePickItem *a, GraphicsStructurePickItem *b) {
        return a->fit().depth < b->fit().depth;
    });
    // Labels closer than their height would be written over each other.
    double lastRow = -std::numeric_limits<double>::infinity();
    for (GraphicsStructurePickItem *item : qAsConst(picks)) {
        const double row = item->fit().depth * item->page().pixelsPerUnit;
        const bool shown = row - lastRow >= GraphicsStructurePickItem::labelHeight();
        item->setLabelShown(shown);
        if (shown)
            lastRow = row;
    }
}

void StructurePickController::reloadPicks()
{
    // Only stored picks: one still being made (id 0) stays with its tool.
    int dropped = 0;
    for (GraphicsStructurePickItem *item : pickItems()) {
        if (item->pick().id == 0 || item == m_scene->currentItem())
            continue;
        m_scene->removeItem(item);
        delete item;
        ++dropped;
    }
    countAsPageItem(-dropped);
    pageShown();
    refreshList();
}

void StructurePickController::projectClosed()
{
    m_pageTicket = 0;
    dropMadeItems();
    followProject();
    refreshList();
}

bool StructurePickController::followProject()
{
    const QString path = ProjectInfo::instance()->projectPath();
    if (path == m_projectPath)
        return false;
    m_projectPath = path;
    m_memory.clear();
    m_toldReadOnly = false;
    surveyChanged();
    return true;
}

void StructurePickController::surveyChanged()
{
    m_dock->setOrientation(TrueOrientation(m_projectPath.isEmpty() ? HoleSurvey()
                                                                   : HoleSurveyStore(m_projectPath).read()));
}

// ---------------------------------------------------------------------------
// Making, changing and deleting picks

void StructurePickController::pickEnded(GraphicsStructurePickItem *item)
{
    if (!item || item->scene() != m_scene)
        return;
    m_window->statusBar()->clearMessage();
    const int points = item->points().size();
    if (points < 3 || !item->fit().valid) {
        drop(item);
        const QString why = points < 3
            ? tr("A structure pick needs at least three points along the trace; this one had "
                 "%n. Nothing was kept.", nullptr, points)
            : tr("These points do not define a plane: they need at least three different "
                 "azimuths. Nothing was kept.");
        QMessageBox::information(m_window, QString(), why);
        return;
    }
    attach(item);
    StructurePick pick = item->pick();
    keep(&pick);
    item->setPickId(pick.id);
    countAsPageItem(1);
    refreshList();
    m_window->statusBar()->showMessage(tr("Structure pick %1").arg(item->label()), 5000);
}

void StructurePickController::keep(StructurePick *pick)
{
    followProject();
    StructurePickStore store(m_projectPath);
    if (!store.isReadOnly() && store.add(pick))
        return;
    pick->id = m_nextMemoryId--;
    m_memory << *pick;
    if (store.isReadOnly()) {
        if (!m_toldReadOnly) {
            m_toldReadOnly = true;
            QMessageBox::information(m_window, QString(),
                                     tr("The project file is read-only: structure picks are kept "
                                        "in memory only and are lost when the project is closed."));
        }
        return;
    }
    QMessageBox::warning(m_window, tr("Warning"),
                         tr("The structure pick could not be stored in the project file (%1). "
                            "It is kept in memory until the project is closed.")
                             .arg(store.lastError()));
}

void StructurePickController::pickChanged(GraphicsStructurePickItem *item)
{
    if (!item->fit().valid) {
        // Points dragged into one column: the stored plane stays as it was.
        m_window->statusBar()->showMessage(
            tr("These points do not define a plane; the pick was not changed."), 5000);
        return;
    }
    const StructurePick pick = item->pick();
    if (pick.id < 0) {
        for (StructurePick &p : m_memory) {
            if (p.id == pick.id)
                p = pick;
        }
    } else if (pick.id > 0) {
        StructurePickStore store(m_projectPath);
        if (!store.update(pick)) {
            QMessageBox::warning(m_window, tr("Warning"),
                                 tr("The change of the structure pick could not be stored in the "
                                    "project file (%1).")
                                     .arg(store.lastError()));
        }
    }
    refreshList();
}

void StructurePickController::editPick(GraphicsStructurePickItem *item)
{
    StructurePickDialog dialog(item->pickType(), item->comment(), item->label(), m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (dialog.type() == item->pickType() && dialog.comment() == item->comment())
        return;
    item->setPickType(dialog.type());
    item->setComment(dialog.comment());
    pickChanged(item);
}

int StructurePickController::deleteSelectedPicks()
{
    followProject();
    int deleted = 0;
    const QList<QGraphicsItem *> selected = m_scene->selectedItems();
    for (QGraphicsItem *selectedItem : selected) {
        if (selectedItem->type() != GraphicsStructurePickItem::Type
            || selectedItem == m_scene->currentItem())
            continue;
        auto *item = static_cast<GraphicsStructurePickItem *>(selectedItem);
        const qint64 id = item->pick().id;
        if (id > 0) {
            StructurePickStore store(m_projectPath);
            if (!store.remove(id)) {
                QMessageBox::warning(m_window, tr("Warning"),
                                     tr("The structure pick could not be deleted from the project "
                                        "file (%1).")
                                         .arg(store.lastError()));
                continue;
            }
        } else if (id < 0) {
            m_memory.erase(std::remove_if(m_memory.begin(), m_memory.end(),
                                          [id](const StructurePick &p) { return p.id == id; }),
                           m_memory.end());
        }
        m_scene->removeItem(item);
        delete item;
        countAsPageItem(-1);
        ++deleted;
    }
    if (deleted) {
        // A read under way may still hold them.
        if (pagePicksPending())
            readPagePicks();
        declutterLabels();
        refreshList();
    }
    return deleted;
}

// ---------------------------------------------------------------------------
// List, page of a pick, export

QVector<StructurePick> StructurePickController::allPicks() const
{
    QVector<StructurePick> picks;
    if (!m_projectPath.isEmpty())
        picks = StructurePickStore(m_projectPath).allPicks();
    picks += m_memory;
    std::sort(picks.begin(), picks.end(), byDepth);
    return picks;
}

void StructurePickController::refreshList()
{
    m_listFileState = m_projectPath.isEmpty() ? QString() : fileState(m_projectPath);
    m_dock->setPicks(allPicks());
    emit picksChanged();
}

void StructurePickController::goToPick(double depth)
{
    if (m_projectPath.isEmpty())
        return;
    // Already on the page: select it there.
    GraphicsStructurePickItem *best = nullptr;
    for (GraphicsStructurePickItem *item : pickItems()) {
        if (std::fabs(item->pick().depth - depth) < 0.5
            && (!best || std::fabs(item->pick().depth - depth) < std::fabs(best->pick().depth - depth)))
            best = item;
    }
    if (best) {
        m_scene->clearSelection();
        best->setSelected(true);
        m_window->view()->centerOn(best);
        return;
    }
    FileInfoWidget *panel = m_window->fileInfoWidget();
    if (!panel)
        return;
    // The page of the panel's page depth that holds the pick, in whole metres.
    const int pageMetres = qMax(1, panel->pageDepth() / 10000);
    const int start = int(std::floor(depth / 10000.0 / pageMetres)) * pageMetres;
    panel->setStartValue(start);
    panel->setEndValue(start + pageMetres);
    emit pageRequested();
}

bool StructurePickController::exportPicks(const QString &path)
{
    QString error;
    if (!PickExporter::write(allPicks(), m_projectPath, path, &error)) {
        QMessageBox::warning(m_window, tr("Warning"),
                             tr("The picks could not be written to \"%1\": %2").arg(path, error));
        return false;
    }
    m_window->statusBar()->showMessage(tr("Structure picks written to %1").arg(path), 5000);
    return true;
}

void StructurePickController::exportPicks()
{
    followProject();
    if (m_projectPath.isEmpty()) {
        QMessageBox::information(m_window, QString(), tr("Please open a project file first!"));
        return;
    }
    if (allPicks().isEmpty()) {
        QMessageBox::information(m_window, QString(), tr("The project has no structure picks yet."));
        return;
    }
    const QFileInfo project(m_projectPath);
    const QString suggested = project.dir().filePath(project.completeBaseName()
                                                     + QStringLiteral("_picks.csv"));
    QString filter;
    QString path = QFileDialog::getSaveFileName(m_window, tr("Export picks"), suggested,
                                                PickExporter::fileFilters(), &filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + PickExporter::suffixOfFilter(filter);
    exportPicks(path);
}
