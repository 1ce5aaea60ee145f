#ifndef REWRITEGUARD_H
#define REWRITEGUARD_H

#include <QCoreApplication>
#include <QPointer>
#include <QThread>

class QWidget;

// The worker rewriting the project file, if any (upward conversion or a
// correction). While one runs, the commands that open, close, page, save,
// export, correct or show the project refuse.
class RewriteGuard
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    explicit RewriteGuard(QWidget *window)
        : m_window(window)
    {
    }

    bool running() const { return !m_thread.isNull(); }
    void setThread(QThread *thread) { m_thread = thread; }
    // Forgets thread when it is the running rewrite.
    void release(QThread *thread)
    {
        if (m_thread == thread)
            m_thread = nullptr;
    }
    // When a rewrite runs, says so in a short message and answers true: the
    // calling command must not go on.
    bool refuse();

private:
    QWidget *m_window = nullptr;
    QPointer<QThread> m_thread;
};

#endif // REWRITEGUARD_H
