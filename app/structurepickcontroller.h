#ifndef STRUCTUREPICKCONTROLLER_H
#define STRUCTUREPICKCONTROLLER_H

#include <QObject>
#include <QString>
#include <QVector>

#include "graphicsstructurepickitem.h"
#include "structurepick.h"

class GraphicsLeftScaleItem;
class PagePickReader;
class GraphicsScene;
class MainWindow;
class PickListDock;
class QAction;

// Keeps the structure picks of the open project: makes the items of the pick
// tool, stores each pick in the project file when it is made, changed or
// deleted, puts the stored picks back on every page whose depth range holds
// them, fills the pick list and exports the picks as CSV.
//
// A project file that refuses writes keeps its picks in memory until the
// project is closed; the user is told once per project. Picks that are stored
// (or held in memory) count as page items, so the question about unsaved
// drawings is not asked for them.
class StructurePickController : public QObject
{
    Q_OBJECT
public:
    // Installs itself in the window: the scene's pick factory, the pick list
    // dock, "Export picks..." in the File menu and the list's toggle in View.
    explicit StructurePickController(MainWindow *window);
    ~StructurePickController() override;

    PickListDock *dock() const { return m_dock; }
    QAction *exportAction() const { return m_exportAct; }

    // A page has been read: its picks are read from the file off the
    // window's thread and put on it when they arrive.
    void pageShown();
    // The picks of the page on screen are still being read.
    bool pagePicksPending() const { return m_pageTicket != 0; }
    // The stored picks were changed by a correction: the page's pick items
    // and the list are made again from the file.
    void reloadPicks();
    // The hole survey or its azimuth reference changed: the list shows the
    // picks' orientations anew.
    void surveyChanged();
    // The project was closed: its picks held in memory go, the list empties.
    void projectClosed();
    // Deletes the selected picks, from the project file too. Answers how many
    // went; a pick the file refuses to let go of stays.
    int deleteSelectedPicks();

    // Every pick of the open project, in the file and in memory, by depth.
    QVector<StructurePick> allPicks() const;
    // Picks held in memory only (the file refused them).
    QVector<StructurePick> memoryPicks() const { return m_memory; }

    // Writes the picks of the project as CSV, or LAS for a ".las" path; false
    // with a message on failure.
    bool exportPicks(const QString &path);

    // Where picks are drawn on the project page laid out in a scene
    // sceneWidth wide with the depth scale left; false with *why when the
    // page or the project gives no place for them.
    static bool pageGeometry(const GraphicsLeftScaleItem *left, double sceneWidth,
                             GraphicsStructurePickItem::Page *page, QString *why);

public slots:
    // Asks for a file and exports the picks to it.
    void exportPicks();
    // Shows the page of a pick at the given depth (depth units).
    void goToPick(double depth);
    void OnRetranslate();

signals:
    // The navigation panel holds the page to read; the window reads it.
    void pageRequested();
    // A pick was made, changed or deleted, the picks were read again, or a
    // page's picks were put on it.
    void picksChanged();

private:
    GraphicsStructurePickItem *makePick();
    // Asks the reader for the picks of the page on screen.
    void readPagePicks();
    // The picks of the page have been read: they are put on the page if it
    // is still the one they were read for.
    void placePicks(quint64 ticket, const QVector<StructurePick> &stored);
    // Makes the items of the read's picks, a slice at a time, and puts them
    // on the page when all are made.
    void makeItems(quint64 ticket);
    bool pageStillShown(GraphicsStructurePickItem::Page *page) const;
    void dropMadeItems();
    bool pageGeometry(GraphicsStructurePickItem::Page *page, QString *why) const;
    void pickEnded(GraphicsStructurePickItem *item);
    void pickChanged(GraphicsStructurePickItem *item);
    void editPick(GraphicsStructurePickItem *item);
    void attach(GraphicsStructurePickItem *item);
    void drop(GraphicsStructurePickItem *item);
    // Stores a new pick (giving it its id), or keeps it in memory.
    void keep(StructurePick *pick);
    // Takes on the open project; true when it is another one than before.
    bool followProject();
    void refreshList();
    // Leaves out the labels that would be written over another's.
    void declutterLabels();
    void countAsPageItem(int delta);
    QList<GraphicsStructurePickItem *> pickItems() const;

    MainWindow *m_window = nullptr;
    GraphicsScene *m_scene = nullptr;
    PickListDock *m_dock = nullptr;
    QAction *m_exportAct = nullptr;
    QString m_projectPath;
    QVector<StructurePick> m_memory;
    qint64 m_nextMemoryId = -1;
    bool m_toldReadOnly = false;
    QString m_listFileState; // of the project file when the list was made
    PagePickReader *m_reader = nullptr;
    quint64 m_pageTicket = 0;  // of the read the page waits for; 0 when none
    double m_pageFrom = 0.0;   // depth range of that read
    double m_pageTo = 0.0;
    QVector<StructurePick> m_toMake;                // picks of the read, to be made into items
    int m_made = 0;                                 // of m_toMake
    QList<GraphicsStructurePickItem *> m_madeItems; // made, not yet on the page
};

#endif // STRUCTUREPICKCONTROLLER_H
