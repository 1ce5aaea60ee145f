#ifndef STRUCTURESCONTROLLER_H
#define STRUCTURESCONTROLLER_H

#include <QObject>
#include <QPointer>
#include <QVector>

#include "holesurvey.h"

#include "structurepick.h"
#include "structureswindow.h"

class QAction;
class QDockWidget;
class PagePickReader;
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
    // The tadpole's read has come back: shown if it is the last one asked.
    void showPagePicks(quint64 ticket, const QVector<StructurePick> &picks, const HoleSurvey &survey);

    MainWindow *m_mainWindow = nullptr;
    QAction *m_structuresAct = nullptr;
    QToolButton *m_structuresButton = nullptr;
    QPointer<StructuresWindow> m_window;
    QDockWidget *m_tadpoleDock = nullptr;
    TadpolePlot *m_tadpole = nullptr;
    // Pick readers still running; the newest one's answer is used.
    PagePickReader *m_reader = nullptr;
    quint64 m_readTicket = 0; // of the tadpole's last read
    double m_readFrom = 0.0;
    double m_readTo = 0.0;
};

#endif // STRUCTURESCONTROLLER_H
