#ifndef STRUCTURESCONTROLLER_H
#define STRUCTURESCONTROLLER_H

#include <QObject>
#include <QPointer>
#include <QVector>

#include "structurepick.h"
#include "structureswindow.h"

class QAction;
class QDockWidget;
class QThread;
class QToolButton;
class MainWindow;

class TadpolePlot;

// The "Structures" command of the main window (View menu and tool bar): the
// Structures window for the range of the open project, and the tadpole plot
// of the current page in a dock beside it, read again after every page read.
// The picks are read on a worker thread of their own, never on the GUI thread.
class StructuresController : public QObject
{
    Q_OBJECT

public:
    // Adds the command to the window's View menu and tool bar, and the dock.
    explicit StructuresController(MainWindow *window);
    ~StructuresController() override;

    QAction *structuresAct() const { return m_structuresAct; }
    QToolButton *structuresButton() const { return m_structuresButton; }
    // The window, once the command has been used.
    StructuresWindow *structuresWindow() const { return m_window; }
    QDockWidget *tadpoleDock() const { return m_tadpoleDock; }
    TadpolePlot *tadpolePlot() const { return m_tadpole; }

public slots:
    // Opens the Structures window for the open project's range.
    void showStructures();
    // A page has been read: the tadpole plot shows its picks.
    void pageRead();
    // A correction changed the stored picks: the plots read them again. When
    // the depths moved, the Structures window spans the project anew.
    void picksCorrected(bool depthsMoved);
    void OnRetranslate();

signals:
    // The tadpole plot has the picks of the current page.
    void tadpoleRefreshed();

private:
    void readPagePicks();

    MainWindow *m_mainWindow = nullptr;
    QAction *m_structuresAct = nullptr;
    QToolButton *m_structuresButton = nullptr;
    QPointer<StructuresWindow> m_window;
    QDockWidget *m_tadpoleDock = nullptr;
    TadpolePlot *m_tadpole = nullptr;
    // Pick readers still running; the newest one's answer is used.
    QVector<QPointer<QThread>> m_readers;
    int m_readSerial = 0;
};

#endif // STRUCTURESCONTROLLER_H
