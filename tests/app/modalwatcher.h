#ifndef MODALWATCHER_H
#define MODALWATCHER_H

// Test helper for the shell's widget tests: answers the modal dialogs that a
// command opens, from a timer, in the order they appear, and records what
// they said. Never sleeps; the dialogs are found through
// QApplication::activeModalWidget().

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <functional>

class ModalWatcher : public QObject
{
public:
    // What to do with the next dialog. The handler gets the dialog and
    // closes it.
    using Handler = std::function<void(QWidget *)>;

    ModalWatcher()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    ~ModalWatcher() override { m_timer.stop(); }

    // Queue answers; each one is used for one dialog.
    void answer(Handler handler) { m_handlers << handler; }

    // Message box: press the button with this role.
    void answerMessageBox(QMessageBox::StandardButton button)
    {
        answer([button](QWidget *w) {
            if (auto *box = qobject_cast<QMessageBox *>(w)) {
                if (QAbstractButton *b = box->button(button)) {
                    b->click();
                    return;
                }
                box->done(button);
                return;
            }
            if (auto *dialog = qobject_cast<QDialog *>(w))
                dialog->reject();
        });
    }

    // File dialog: choose path (empty: cancel).
    void answerFileDialog(const QString &path)
    {
        answer([path](QWidget *w) {
            auto *dialog = qobject_cast<QFileDialog *>(w);
            if (!dialog) {
                if (auto *d = qobject_cast<QDialog *>(w))
                    d->reject();
                return;
            }
            if (path.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(path);
            // selectFile() leaves a focused name field alone; type the name.
            if (auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                edit->setText(path);
            QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
        });
    }

    // Any dialog: accept (message boxes: their default/OK button).
    void acceptNext()
    {
        answer([](QWidget *w) {
            if (auto *box = qobject_cast<QMessageBox *>(w)) {
                QAbstractButton *b = box->defaultButton();
                if (!b)
                    b = box->escapeButton();
                if (!b && !box->buttons().isEmpty())
                    b = box->buttons().first();
                if (b) {
                    b->click();
                    return;
                }
            }
            if (auto *dialog = qobject_cast<QDialog *>(w))
                dialog->accept();
        });
    }

    // Texts of every dialog seen so far (message box text, or window title
    // for other dialogs), and their class names.
    QStringList texts() const { return m_texts; }
    QStringList titles() const { return m_titles; }
    QStringList classNames() const { return m_classNames; }
    int count() const { return m_texts.size(); }
    void clear()
    {
        m_texts.clear();
        m_titles.clear();
        m_classNames.clear();
        m_handlers.clear();
    }

private:
    void poll()
    {
        QWidget *w = QApplication::activeModalWidget();
        if (!w || w == m_current)
            return;
        // Progress dialogs end by themselves.
        if (qobject_cast<QProgressDialog *>(w))
            return;
        m_current = w;
        if (auto *box = qobject_cast<QMessageBox *>(w))
            m_texts << box->text();
        else
            m_texts << w->windowTitle();
        m_titles << w->windowTitle();
        m_classNames << QString::fromLatin1(w->metaObject()->className());
        Handler handler;
        if (!m_handlers.isEmpty())
            handler = m_handlers.takeFirst();
        // Unexpected dialogs are closed so that a test never hangs.
        QTimer::singleShot(0, w, [w, handler] {
            if (handler) {
                handler(w);
            } else if (auto *box = qobject_cast<QMessageBox *>(w)) {
                if (box->escapeButton())
                    box->escapeButton()->click();
                else
                    box->reject();
            } else if (auto *dialog = qobject_cast<QDialog *>(w)) {
                dialog->reject();
            } else {
                w->close();
            }
        });
    }

    QTimer m_timer;
    QList<Handler> m_handlers;
    QPointer<QWidget> m_current;
    QStringList m_texts;
    QStringList m_titles;
    QStringList m_classNames;
};

#endif // MODALWATCHER_H
