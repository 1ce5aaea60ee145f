#include "rewriteprogressdialog.h"

#include <QThread>

RewriteProgressDialog::RewriteProgressDialog(const QString &label, QWidget *window)
    : QProgressDialog(window)
{
    setLabelText(label);
    setCancelButtonText(tr("Cancel"));
    setMinimum(0);
    setMaximum(0);
    setWindowModality(Qt::WindowModal);
    setMinimumDuration(0);
    // The worker ends the dialog; reaching the maximum must not hide it
    // while the worker still commits.
    setAutoClose(false);
    setAutoReset(false);
    connect(this, &QProgressDialog::canceled, this, [this] { m_cancelRequested = true; });
}

void RewriteProgressDialog::follow(QThread *worker)
{
    connect(worker, SIGNAL(signalImagesCount(int)), this, SLOT(setMaximum(int)));
    connect(worker, SIGNAL(signalOneImageProcessed(int)), this, SLOT(setValue(int)));
    connect(this, SIGNAL(canceled()), worker, SLOT(canceled()));
    // The worker's end (or the thread's, should a run end without the
    // signal) takes the dialog away.
    connect(worker, SIGNAL(signalProcessFinished()), this, SLOT(deleteLater()));
    connect(worker, &QThread::finished, this, &QObject::deleteLater);
}
