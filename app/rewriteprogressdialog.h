#ifndef REWRITEPROGRESSDIALOG_H
#define REWRITEPROGRESSDIALOG_H

#include <QProgressDialog>

class QThread;

// Progress of a worker that rewrites the project file (upward conversion,
// depth and azimuth corrections). The dialog is window-modal over the main
// window, so nothing else of the window can be used while the file is being
// rewritten; its Cancel button (and Escape) asks the worker to stop, and the
// worker then rolls the file back to what it was.
//
// The worker speaks the rewrite progress protocol: signalImagesCount(int)
// before the first signalOneImageProcessed(int), signalProcessFinished()
// once at the end, and a canceled() slot that only requests the stop.
class RewriteProgressDialog : public QProgressDialog
{
    Q_OBJECT

public:
    RewriteProgressDialog(const QString &label, QWidget *window);

    // Connects the worker's progress signals to the dialog and the Cancel
    // button to the worker. The dialog closes and deletes itself when the
    // worker reports its end.
    void follow(QThread *worker);

    // True once the user asked the worker to stop.
    bool cancelRequested() const { return m_cancelRequested; }

private:
    bool m_cancelRequested = false;
};

#endif // REWRITEPROGRESSDIALOG_H
