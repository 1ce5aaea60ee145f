#include "correctioncontroller.h"

#include "correctanglethread.h"
#include "correctdepththread.h"
#include "correctiondialog.h"
#include "pagecontroller.h"
#include "projectcontroller.h"
#include "projectinfo.h"
#include "rewriteguard.h"
#include "rewriteprogressdialog.h"
#include "structurepickcontroller.h"
#include "structurescontroller.h"

#include <QLineEdit>
#include <QMessageBox>

CorrectionController::CorrectionController(QWidget *window, CorrectionDialog *dialog, PageController *page,
                                           ProjectController *project, StructurePickController *picks,
                                           StructuresController *structures, RewriteGuard *guard)
    : QObject(window)
    , m_window(window)
    , m_correctionDialog(dialog)
    , m_page(page)
    , m_project(project)
    , m_picks(picks)
    , m_structures(structures)
    , m_guard(guard)
{
}

void CorrectionController::showDialog(Section section)
{
    if (m_guard->refuse())
        return;
    const QString readOnly = ProjectInfo::instance()->writeProblem();
    if (!ProjectInfo::instance()->projectPath().isEmpty() && !readOnly.isEmpty()) {
        QMessageBox::warning(m_window, tr("Warning"), tr("The project cannot be corrected: %1.").arg(readOnly));
        return;
    }
    m_correctionDialog->refresh();
    m_correctionDialog->show();
    m_correctionDialog->raise();
    m_correctionDialog->activateWindow();
    if (section == Section::All)
        return;
    QLineEdit *field = section == Section::Angle ? m_correctionDialog->angleEdit()
                                                 : m_correctionDialog->realDiameterEdit();
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

bool CorrectionController::correctionRequestRefused()
{
    if (m_correctionDialog && m_correctionDialog->okPressInProgress())
        return false;
    return m_guard->refuse();
}

void CorrectionController::correctDepth(int realDepth)
{
    if (correctionRequestRefused())
        return;
    queueCorrection(true, realDepth);
}

void CorrectionController::correctAngle(int angle)
{
    if (correctionRequestRefused())
        return;
    queueCorrection(false, angle);
}

void CorrectionController::queueCorrection(bool depth, int value)
{
    if (ProjectInfo::instance()->projectPath().isEmpty()) {
        QMessageBox::information(m_window, QString(), tr("Please open a project file first!"));
        return;
    }
    PendingCorrection correction;
    correction.depth = depth;
    correction.value = value;
    correction.leavePicks = m_correctionDialog && m_correctionDialog->leavesPicks();
    m_pendingCorrections << correction;
    if (!m_guard->running())
        startNextCorrection();
}

void CorrectionController::startNextCorrection()
{
    if (m_guard->running() || m_pendingCorrections.isEmpty())
        return;
    const PendingCorrection next = m_pendingCorrections.takeFirst();
    // The page reader must not hold the file while the rewrite commits.
    m_page->stopReading();

    const QString path = ProjectInfo::instance()->projectPath();
    CorrectionThread *worker = nullptr;
    RewriteProgressDialog *dialog = nullptr;
    if (next.depth) {
        worker = new CorrectDepthThread(path, next.value, this);
        dialog = new RewriteProgressDialog(tr("Waiting for correcting depth..."), m_window);
        connect(worker, &CorrectionThread::signalProcessFinished, this, [this] { afterCorrectDepth(); });
    } else {
        worker = new CorrectAngleThread(path, next.value, this);
        dialog = new RewriteProgressDialog(tr("Waiting for correcting angle..."), m_window);
        connect(worker, &CorrectionThread::signalProcessFinished, this, [this] { afterCorrectAngle(); });
    }
    worker->setLeavePicks(next.leavePicks);
    // Freed after every run, whatever happens to the window's own signals.
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    dialog->follow(worker);
    m_correctionThread = worker;
    m_guard->setThread(worker);
    worker->start(QThread::InheritPriority);
    dialog->show();
}

bool CorrectionController::endCorrection()
{
    CorrectionThread *worker = m_correctionThread.data();
    if (!worker)
        return false;
    // Its run ends right after the signal that brought us here.
    worker->wait();
    const bool ok = worker->succeeded();
    const bool canceled = worker->wasCanceled();
    m_correctionThread = nullptr;
    m_guard->release(worker);
    if (!ok) {
        // What was asked after it is not run on a file in an unknown state.
        m_pendingCorrections.clear();
        if (!canceled) {
            const QString why = worker->failureText();
            QMessageBox::warning(m_window, tr("Warning"),
                                 why.isEmpty()
                                     ? tr("The correction could not be made; the project file was left unchanged.")
                                     : tr("The correction could not be made: %1. The project file was left "
                                          "unchanged.")
                                           .arg(why));
        }
    } else if (worker->picksLeft()) {
        QMessageBox::information(m_window, QString(),
                                 tr("The wall was corrected; the structure picks were left where they were, "
                                    "because their table cannot be read."));
    } else if (worker->picksNotMoved() > 0) {
        QMessageBox::information(m_window, QString(),
                                 tr("%n pick(s) could not be moved: a value the correction needs is missing "
                                    "or not a number.",
                                    nullptr, worker->picksNotMoved()));
    }
    return ok;
}

void CorrectionController::afterCorrections()
{
    if (!m_pendingCorrections.isEmpty()) {
        startNextCorrection();
        return;
    }
    const bool reopen = m_reopenAfterCorrections;
    const bool reread = m_rereadAfterCorrections;
    m_reopenAfterCorrections = false;
    m_rereadAfterCorrections = false;
    if (reopen) {
        // The page of the old depths goes without asking: its drawings no
        // longer lie where they were drawn.
        m_page->discardPage();
        m_project->openProjectFile(ProjectInfo::instance()->projectPath());
        m_structures->picksCorrected(true);
    } else if (reread) {
        readTurnedPage();
    }
}

void CorrectionController::readTurnedPage()
{
    m_structures->picksCorrected(false);
    // The page on screen shows the wall as it was: it is read again, asking
    // first about drawings on it as any page change does. When the user keeps
    // it, or no page is shown, at least its picks show their new directions
    // (an old one moved by hand would store its old direction again).
    const ProjectInfo *info = ProjectInfo::instance();
    const bool pageShown = m_page->leftScale() && info->pageStart() != info->pageEnd();
    if (!pageShown || !m_page->checkProjectGeometry() || !m_page->updateImagesInit()) {
        m_picks->reloadPicks();
        return;
    }
    m_page->readRecordedPage();
}

void CorrectionController::afterCorrectDepth()
{
    if (endCorrection())
        m_reopenAfterCorrections = true;
    if (m_depthEnded)
        m_depthEnded();
    afterCorrections();
}

void CorrectionController::afterCorrectAngle()
{
    if (endCorrection())
        m_rereadAfterCorrections = true;
    afterCorrections();
}

void CorrectionController::afterCorrectDiameter()
{
    // The page keeps its scale; its picks are made again with the new
    // diameter, so a pick moved by hand keeps the new dip.
    m_picks->reloadPicks();
    m_structures->picksCorrected(false);
}

void CorrectionController::shutDown()
{
    // A correction still running stops and rolls back (its destructor waits).
    m_pendingCorrections.clear();
    delete m_correctionThread.data();
}
