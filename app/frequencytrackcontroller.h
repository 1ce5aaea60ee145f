#ifndef FREQUENCYTRACKCONTROLLER_H
#define FREQUENCYTRACKCONTROLLER_H

#include <QObject>
#include <QPointer>
#include <QVector>

class GraphicsFrequencyTrackItem;
class MainWindow;
class QAction;
class QActionGroup;
class QMenu;
class QThread;
class StructurePickController;

// The fracture frequency track beside the page image (View menu): picks per
// metre in windows of 0.5, 1, 2 or 5 m, optionally Terzaghi-weighted. The
// page's picks are read on a worker thread after every page read and every
// change of the picks; the track item is made and placed on the GUI thread.
class FrequencyTrackController : public QObject
{
    Q_OBJECT

public:
    FrequencyTrackController(MainWindow *window, StructurePickController *picks);
    ~FrequencyTrackController() override;

    QMenu *menu() const { return m_menu; }
    QAction *showAction() const { return m_showAct; }
    QAction *terzaghiAction() const { return m_terzaghiAct; }
    // The track on the current page, when shown.
    GraphicsFrequencyTrackItem *track() const;
    double windowMetres() const;

public slots:
    // A page was read, or the picks changed: the track is drawn anew.
    void refresh();
    void OnRetranslate();

signals:
    // The track shows the picks of the current page.
    void trackRefreshed();

private:
    void removeTrack();

    MainWindow *m_window = nullptr;
    StructurePickController *m_picks = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_showAct = nullptr;
    QAction *m_terzaghiAct = nullptr;
    QActionGroup *m_windows = nullptr;
    QPointer<GraphicsFrequencyTrackItem> m_track;
    QVector<QPointer<QThread>> m_readers;
    int m_readSerial = 0;
};

#endif // FREQUENCYTRACKCONTROLLER_H
