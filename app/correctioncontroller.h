#ifndef CORRECTIONCONTROLLER_H
#define CORRECTIONCONTROLLER_H

#include <QCoreApplication>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class CorrectionDialog;
class CorrectionThread;
class PageController;
class ProjectController;
class RewriteGuard;
class StructurePickController;
class StructuresController;
class QWidget;

// Runs the depth and azimuth corrections the corrections dialog asks for,
// one after the other, and shows the project as it is afterwards (opened
// again after a depth correction, the page read again after a turn). Owned
// by the main window; its messages belong to the window.
class CorrectionController : public QObject
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    CorrectionController(QWidget *window, CorrectionDialog *dialog, PageController *page,
                         ProjectController *project, StructurePickController *picks,
                         StructuresController *structures, RewriteGuard *guard);

    // Called after each depth correction has ended (the window's
    // signalThreadOver()).
    void setDepthEndHook(std::function<void()> ended) { m_depthEnded = std::move(ended); }

    // The correction the dialog is shown for.
    enum class Section { All, Angle, Diameter };

    // The corrections button: shows the dialog (All). The magnetic
    // declination and diameter buttons show it with the keyboard focus in
    // the field of their correction (Angle, Diameter).
    void showDialog(Section section = Section::All);
    // Requests of the dialog's "Ok".
    void correctDepth(int realDepth);
    void correctAngle(int angle);
    // Ends of the workers.
    void afterCorrectDepth();
    void afterCorrectAngle();
    // The dialog wrote a new diameter: the structure picks on the page and
    // in the plots show their new dips.
    void afterCorrectDiameter();
    // The window closes: what is queued is dropped, a running correction
    // stops and rolls back.
    void shutDown();

private:
    // Corrections asked for by one "Ok" of the corrections dialog run one
    // after the other, in the order asked (depth before angle).
    struct PendingCorrection
    {
        bool depth = false;
        int value = 0;
        // The user agreed to correct the wall without moving the picks,
        // whose table cannot be read.
        bool leavePicks = false;
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

    QWidget *m_window = nullptr;
    CorrectionDialog *m_correctionDialog = nullptr;
    PageController *m_page = nullptr;
    ProjectController *m_project = nullptr;
    StructurePickController *m_picks = nullptr;
    StructuresController *m_structures = nullptr;
    RewriteGuard *m_guard = nullptr;
    std::function<void()> m_depthEnded;
    QList<PendingCorrection> m_pendingCorrections;
    QPointer<CorrectionThread> m_correctionThread;
    bool m_reopenAfterCorrections = false;
    bool m_rereadAfterCorrections = false;
};

#endif // CORRECTIONCONTROLLER_H
