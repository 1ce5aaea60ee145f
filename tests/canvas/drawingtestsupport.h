#ifndef DRAWINGTESTSUPPORT_H
#define DRAWINGTESTSUPPORT_H

// Helpers for the canvas item tests: a scene shown in a real view at scale 1,
// mouse gestures sent to the view's viewport, and an answerer for the modal
// dialogs that items open from inside mouse handlers.

#include <QApplication>
#include <QDialog>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace DrawingTest {

// A view at scale 1 whose scene coordinates equal viewport coordinates.
inline QGraphicsView *makeView(QGraphicsScene *scene, const QSize &size = QSize(1800, 1600))
{
    scene->setSceneRect(0, 0, size.width(), size.height());
    auto *view = new QGraphicsView(scene);
    view->setFrameShape(QFrame::NoFrame);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    view->resize(size);
    view->show();
    return view;
}

inline QPoint viewPoint(QGraphicsView *view, const QPointF &scenePos)
{
    return view->mapFromScene(scenePos);
}

inline void press(QGraphicsView *view, const QPointF &p, Qt::MouseButton b = Qt::LeftButton)
{
    QTest::mousePress(view->viewport(), b, Qt::NoModifier, viewPoint(view, p));
}

inline void release(QGraphicsView *view, const QPointF &p, Qt::MouseButton b = Qt::LeftButton)
{
    QTest::mouseRelease(view->viewport(), b, Qt::NoModifier, viewPoint(view, p));
}

// QTest::mouseMove only moves the cursor; a drag needs a move event that
// carries the held buttons.
inline void move(QGraphicsView *view, const QPointF &p, Qt::MouseButtons held = Qt::LeftButton)
{
    const QPoint vp = viewPoint(view, p);
    QMouseEvent e(QEvent::MouseMove, vp, view->viewport()->mapToGlobal(vp), Qt::NoButton, held,
                  Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &e);
}

inline void drag(QGraphicsView *view, const QList<QPointF> &points)
{
    press(view, points.first());
    for (int i = 1; i < points.size(); ++i)
        move(view, points.at(i));
    release(view, points.last());
}

inline void click(QGraphicsView *view, const QPointF &p, Qt::MouseButton b = Qt::LeftButton)
{
    press(view, p, b);
    release(view, p, b);
}

inline QPushButton *buttonWithText(QWidget *w, const QString &text)
{
    const QList<QPushButton *> buttons = w->findChildren<QPushButton *>();
    for (QPushButton *b : buttons) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

// Clicks a button once control is back in the event loop, so a modal dialog
// the click opens runs outside the answerer's timer slot.
inline void clickLater(QPushButton *button)
{
    QVERIFY(button);
    QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
}

// Answers modal dialogs as they appear, one scripted step each. A step gets
// the active modal widget and returns false when it is not the dialog it
// expects (the step then waits). Dialogs that nobody expects are rejected
// after a while so a test cannot hang; that is recorded as a failure.
class ModalAnswerer : public QObject
{
public:
    using Step = std::function<bool(QWidget *)>;

    ModalAnswerer()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
        m_timer.start();
    }

    void add(const Step &step) { m_steps.append(step); }
    int pending() const { return m_steps.size(); }
    int unexpected() const { return m_unexpected; }

private:
    void tick()
    {
        QWidget *w = QApplication::activeModalWidget();
        if (!w) {
            m_idleTicks = 0;
            return;
        }
        // A dialog that has been closed but is still alive is still inside
        // its exec(): the code waiting for its answer has not run yet.
        const QWidgetList tops = QApplication::topLevelWidgets();
        for (QWidget *top : tops) {
            if (qobject_cast<QDialog *>(top) && !top->isVisible())
                return;
        }
        if (!m_steps.isEmpty() && m_steps.first()(w)) {
            m_steps.removeFirst();
            m_idleTicks = 0;
            return;
        }
        if (++m_idleTicks > 400) {
            ++m_unexpected;
            m_idleTicks = 0;
            if (auto *d = qobject_cast<QDialog *>(w))
                QMetaObject::invokeMethod(d, "reject", Qt::QueuedConnection);
            else
                QMetaObject::invokeMethod(w, "close", Qt::QueuedConnection);
        }
    }

    QTimer m_timer;
    QList<Step> m_steps;
    int m_idleTicks = 0;
    int m_unexpected = 0;
};

} // namespace DrawingTest

#endif // DRAWINGTESTSUPPORT_H
