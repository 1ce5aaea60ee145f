// The tool-mode state machine of the scene driven through a real view, the
// view's zoom and drag behaviour, the background, and the irregular-area
// hand-over between the outline item, the user's confirmation and the worker.

#include "calcpixelnumthread.h"
#include "graphicsscene.h"
#include "graphicsselcurveitem.h"
#include "graphicsleftscaleitem.h"
#include "graphicsview.h"
#include "itemstyle.h"
#include "mode.h"
#include "textdialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGraphicsLineItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsRectItem>
#include <QGraphicsSceneMouseEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest>

#include <memory>

namespace {

// Answers modal dialogs as they appear: message boxes by the button with the
// given text, any other dialog by closing it. Remembers what it saw.
class ModalAnswerer : public QObject
{
public:
    explicit ModalAnswerer(const QString &buttonText = QString())
        : m_buttonText(buttonText)
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
        m_timer.start(20);
    }
    void setButtonText(const QString &text) { m_buttonText = text; }

    QStringList texts;
    QList<QStringList> buttonTexts;
    int answered = 0;

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            texts << box->text();
            QStringList labels;
            QAbstractButton *target = nullptr;
            for (QAbstractButton *b : box->buttons()) {
                labels << b->text();
                if (b->text() == m_buttonText)
                    target = b;
            }
            buttonTexts << labels;
            ++answered;
            if (target)
                target->click();
            else
                box->reject();
            return;
        }
        ++answered;
        if (auto *text = qobject_cast<TextDialog *>(modal)) {
            // A text item needs a confirmed text to stay.
            text->setText(QStringLiteral("label"));
            text->okBtnClicked();
            return;
        }
        modal->close();
    }

    QString m_buttonText;
    QTimer m_timer;
};

// Counts the mouse and hover events that reach it; accepts presses.
class ProbeItem : public QGraphicsRectItem
{
public:
    explicit ProbeItem(const QRectF &r)
        : QGraphicsRectItem(r)
    {
        setAcceptHoverEvents(true);
        setFlag(ItemIsSelectable, true);
    }
    int moves = 0;
    int hovers = 0;

protected:
    bool sceneEvent(QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::GraphicsSceneMouseMove:
            ++moves;
            break;
        case QEvent::GraphicsSceneHoverEnter:
        case QEvent::GraphicsSceneHoverMove:
        case QEvent::GraphicsSceneHoverLeave:
            ++hovers;
            break;
        default:
            break;
        }
        return QGraphicsRectItem::sceneEvent(event);
    }
};

QGraphicsItem *insertedArg(const QSignalSpy &spy, int i)
{
    return spy.at(i).at(0).value<QGraphicsItem *>();
}

} // namespace

class TestGraphicsScene : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void leftPressCreatesItemOfMode_data();
    void leftPressCreatesItemOfMode();
    void areaOutlineBounds();
    void lineDragMakesOneItem();
    void pointerModeCreatesNothing();
    void unusedModeCreatesNothing();
    void rightReleaseFinishesAndForgets();
    void modeChangeAndInit();
    void rightPressDeselectsSelected();
    void rightPressWithNothingSelectedIsIgnored();
    void movesWithoutButtonsDoNotReachItems();
    void itemOfTypeWalksTopmostFirst();

    void viewSetup();
    void viewDragModeFollowsMode();
    void wheelZooms();
    void wheelZoomsAboutTheCursor_data();
    void wheelZoomsAboutTheCursor();
    void backgroundColours();

    void irregularAreaResultIsForwarded();
    void areaConfirmedStartsWorker();
    void areaRefusedRemovesOutline();
    void tooFewPointsCancelsOutline();
    void areaMeasuredWithTheMouse();
    void sceneTeardownWithRunningWorker();

private:
    QPoint toView(const QPointF &p) const { return m_view->mapFromScene(p); }
    void mouse(QEvent::Type type, const QPointF &scenePos, Qt::MouseButton button,
               Qt::MouseButtons buttons);
    void press(const QPointF &p, Qt::MouseButton b = Qt::LeftButton)
    {
        mouse(QEvent::MouseButtonPress, p, b, b);
    }
    void moveHeld(const QPointF &p) { mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); }
    void moveFree(const QPointF &p) { mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton); }
    void release(const QPointF &p, Qt::MouseButton b = Qt::LeftButton)
    {
        mouse(QEvent::MouseButtonRelease, p, b, Qt::NoButton);
    }

    std::unique_ptr<GraphicsScene> m_scene;
    std::unique_ptr<GraphicsView> m_view;
    int m_moved = 0; // mouseMoved signals of m_view, each with a move event
};

void TestGraphicsScene::mouse(QEvent::Type type, const QPointF &scenePos, Qt::MouseButton button,
                              Qt::MouseButtons buttons)
{
    QWidget *vp = m_view->viewport();
    const QPoint pos = toView(scenePos);
    QMouseEvent event(type, pos, vp->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(vp, &event);
}

void TestGraphicsScene::initTestCase()
{
    // The scene registers its signal argument type for queued use and spies.
    GraphicsScene scene;
    QVERIFY(QMetaType::type("QGraphicsItem*") != QMetaType::UnknownType);
}

void TestGraphicsScene::init()
{
    ItemStyle *style = ItemStyle::instance();
    style->setDrawing(false);
    style->setZoom(1.0);
    style->setGridVisible(false);
    currentMode = Pointer;

    // A page of 400 x 2000 pixels laid out as the main window does.
    m_scene.reset(new GraphicsScene);
    m_scene->setSceneRect(0, 0, 400 + 2600, 2000 + 240);
    m_view.reset(new GraphicsView);
    m_view->setScene(m_scene.get());
    m_view->resize(800, 600);
    m_view->setTransform(QTransform()); // one pixel per scene unit
    m_view->centerOn(1500, 500);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    m_moved = 0;
    connect(m_view.get(), &GraphicsView::mouseMoved, this, [this](QMouseEvent *e) {
        if (e && e->type() == QEvent::MouseMove)
            ++m_moved;
    });
}

void TestGraphicsScene::cleanup()
{
    m_scene->init();
    m_view.reset();
    m_scene.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ItemStyle::instance()->setDrawing(false);
    currentMode = Pointer;
}

void TestGraphicsScene::leftPressCreatesItemOfMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("typeCode");

    // finishes: a click without a drag completes the item (its release
    // clears the drawing flag); the others keep asking for input.
    QTest::addColumn<bool>("finishes");

    QTest::newRow("line") << int(InsertLine) << 1 << true;
    QTest::newRow("arrow") << int(InsertArrow) << 3 << true;
    QTest::newRow("text") << int(InsertText) << 10 << true;
    QTest::newRow("curve") << int(FitCurve) << 4 << false;
    QTest::newRow("pen") << int(InsertPen) << 8 << true;
    QTest::newRow("angle") << int(InsertAngle) << 2 << false;
    QTest::newRow("ruler") << int(InsertRuler) << 9 << false;
    QTest::newRow("dip") << int(InsertDip) << 5 << false;
    QTest::newRow("measure length") << int(MeasureLength) << 11 << true;
    QTest::newRow("measure angle") << int(MeasureAngle) << 12 << true;
    QTest::newRow("mark lithology") << int(MarkLithology) << 13 << true;
    QTest::newRow("irregular area") << int(IrregularArea) << 14 << false;
}

void TestGraphicsScene::leftPressCreatesItemOfMode()
{
    QFETCH(int, mode);
    QFETCH(int, typeCode);
    QFETCH(bool, finishes);

    QSignalSpy inserted(m_scene.get(), &GraphicsScene::itemInserted);
    ModalAnswerer answerer; // the text tool opens its dialog inside the press
    m_scene->setMode(Mode(mode));
    QCOMPARE(currentMode, Mode(mode));
    const QPointF p(1500, 400);
    press(p);

    QGraphicsItem *item = m_scene->currentItem();
    QVERIFY(item);
    QCOMPARE(item->type(), typeCode);
    QCOMPARE(m_scene->items().size(), 1);
    QVERIFY(item->scene() == m_scene.get());
    QVERIFY(item->parentItem() == nullptr);
    // Built at the press point.
    if (typeCode == 10)
        QCOMPARE(item->pos(), p);
    else
        QVERIFY(item->sceneBoundingRect().adjusted(-1, -1, 1, 1).contains(p));
    if (auto *line = dynamic_cast<QGraphicsLineItem *>(item))
        QCOMPARE(line->line(), QLineF(p, p));
    QCOMPARE(answerer.answered, typeCode == 10 ? 1 : 0);

    release(p);
    if (finishes) {
        QCOMPARE(inserted.count(), 1);
        QVERIFY(insertedArg(inserted, 0) == item);
        QVERIFY(m_scene->currentItem() == nullptr);
    } else {
        QCOMPARE(inserted.count(), 0);
        // A second press while the item is under construction creates
        // nothing new.
        QCOMPARE(m_scene->currentItem(), item);
        press(QPointF(1550, 450));
        QCOMPARE(m_scene->currentItem(), item);
        release(QPointF(1550, 450));
    }
    QCOMPARE(m_scene->items().size(), 1);
}

void TestGraphicsScene::areaOutlineBounds()
{
    m_scene->setMode(IrregularArea);
    press(QPointF(1500, 400));
    auto *outline = dynamic_cast<GraphicsSelCurveItem *>(m_scene->currentItem());
    QVERIFY(outline);
    // The page image area, without the margins.
    QCOMPARE(outline->bounds(), QRectF(1300, 120, 400, 2000));
    QCOMPARE(outline->data(1).toBool(), false);
    m_scene->init();
    m_scene->clear();

    // On a single picture (no page margins) the outline stays on the picture.
    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    m_scene->addPixmap(QPixmap::fromImage(picture));
    m_scene->setSceneRect(0, 0, 800, 600);
    ItemStyle::instance()->setDrawing(false);
    press(QPointF(300, 200));
    outline = dynamic_cast<GraphicsSelCurveItem *>(m_scene->currentItem());
    QVERIFY(outline);
    QCOMPARE(outline->bounds(), QRectF(0, 0, 800, 600));
}

void TestGraphicsScene::lineDragMakesOneItem()
{
    QSignalSpy inserted(m_scene.get(), &GraphicsScene::itemInserted);
    m_scene->setMode(InsertLine);
    press(QPointF(1400, 300));
    moveHeld(QPointF(1450, 350));
    moveHeld(QPointF(1500, 420));
    QCOMPARE(inserted.count(), 0);
    release(QPointF(1500, 420));

    QCOMPARE(inserted.count(), 1);
    auto *line = dynamic_cast<QGraphicsLineItem *>(insertedArg(inserted, 0));
    QVERIFY(line);
    QCOMPARE(line->type(), 1);
    QCOMPARE(line->line(), QLineF(1400, 300, 1500, 420));
    QVERIFY(m_scene->currentItem() == nullptr);
    QCOMPARE(m_scene->items().size(), 1);

    // Mode still InsertLine (nobody reset it): the next drag is a new line.
    press(QPointF(1600, 300));
    release(QPointF(1600, 300));
    QCOMPARE(inserted.count(), 2);
    QVERIFY(insertedArg(inserted, 1) != line);
    QCOMPARE(m_scene->items().size(), 2);
}

void TestGraphicsScene::pointerModeCreatesNothing()
{
    QSignalSpy inserted(m_scene.get(), &GraphicsScene::itemInserted);
    m_scene->setMode(Pointer);
    press(QPointF(1500, 400));
    QVERIFY(m_scene->items().isEmpty());
    QVERIFY(m_scene->currentItem() == nullptr);
    release(QPointF(1500, 400));
    QCOMPARE(inserted.count(), 1);
    QVERIFY(insertedArg(inserted, 0) == nullptr);

    // While an item still wants input (drawing set), a release reports nothing.
    ItemStyle::instance()->setDrawing(true);
    press(QPointF(1500, 400));
    release(QPointF(1500, 400));
    QCOMPARE(inserted.count(), 1);
    QVERIFY(m_scene->items().isEmpty());
}

void TestGraphicsScene::unusedModeCreatesNothing()
{
    QSignalSpy inserted(m_scene.get(), &GraphicsScene::itemInserted);
    m_scene->setMode(Mode(2));
    press(QPointF(1500, 400));
    QVERIFY(m_scene->items().isEmpty());
    QVERIFY(m_scene->currentItem() == nullptr);
    release(QPointF(1500, 400));
    QCOMPARE(inserted.count(), 1);
    QVERIFY(insertedArg(inserted, 0) == nullptr);
}

void TestGraphicsScene::rightReleaseFinishesAndForgets()
{
    QSignalSpy inserted(m_scene.get(), &GraphicsScene::itemInserted);
    m_scene->setMode(FitCurve);
    press(QPointF(1400, 300));
    release(QPointF(1400, 300));
    press(QPointF(1500, 400));
    release(QPointF(1500, 400));
    QGraphicsItem *curve = m_scene->currentItem();
    QVERIFY(curve);
    QCOMPARE(curve->type(), 4);
    // The curve keeps asking for input: left releases do not finish it.
    QCOMPARE(inserted.count(), 0);
    QVERIFY(ItemStyle::instance()->drawing());
    QVERIFY(m_scene->mouseGrabberItem() == curve);

    press(QPointF(1600, 500), Qt::RightButton);
    release(QPointF(1600, 500), Qt::RightButton);
    QCOMPARE(inserted.count(), 1);
    QVERIFY(insertedArg(inserted, 0) == curve);
    QVERIFY(m_scene->currentItem() == nullptr);
    QVERIFY(m_scene->mouseGrabberItem() == nullptr);
    QCOMPARE(m_scene->items().size(), 1);

    // With nothing under construction a right release reports null.
    release(QPointF(1600, 500), Qt::RightButton);
    QCOMPARE(inserted.count(), 2);
    QVERIFY(insertedArg(inserted, 1) == nullptr);
}

void TestGraphicsScene::modeChangeAndInit()
{
    QSignalSpy inserted(m_scene.get(), &GraphicsScene::itemInserted);
    QSignalSpy cancelled(m_scene.get(), &GraphicsScene::signalCancelInsertItem);
    m_scene->setMode(InsertRuler);
    press(QPointF(1400, 300));
    QGraphicsItem *ruler = m_scene->currentItem();
    QVERIFY(ruler);

    // A mode change neither finishes nor drops the item under construction.
    m_scene->setMode(InsertLine);
    QCOMPARE(m_scene->currentItem(), ruler);
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(cancelled.count(), 0);

    // clearCurrentItem forgets it without touching the grab; init releases it.
    QVERIFY(m_scene->mouseGrabberItem() == ruler);
    m_scene->clearCurrentItem();
    QVERIFY(m_scene->currentItem() == nullptr);
    QVERIFY(m_scene->mouseGrabberItem() == ruler);
    m_scene->init(); // nothing recorded: the grab stays
    QVERIFY(m_scene->mouseGrabberItem() == ruler);
    ruler->ungrabMouse();

    m_scene->setMode(InsertRuler);
    ItemStyle::instance()->setDrawing(false);
    press(QPointF(1600, 300));
    QGraphicsItem *second = m_scene->currentItem();
    QVERIFY(second && second != ruler);
    QVERIFY(m_scene->mouseGrabberItem() == second);
    m_scene->init();
    QVERIFY(m_scene->currentItem() == nullptr);
    QVERIFY(m_scene->mouseGrabberItem() == nullptr);
    QCOMPARE(m_scene->items().size(), 2);
}

void TestGraphicsScene::rightPressDeselectsSelected()
{
    auto *probe = new ProbeItem(QRectF(1600, 600, 50, 50));
    probe->setFlag(QGraphicsItem::ItemIsMovable, true);
    m_scene->addItem(probe);
    probe->setSelected(true);

    m_scene->setMode(FitCurve);
    ItemStyle::instance()->setDrawing(false);
    press(QPointF(1400, 300));
    QVERIFY(m_scene->currentItem());
    QVERIFY(probe->isSelected()); // the curve press keeps the selection

    press(QPointF(1450, 350), Qt::RightButton);
    QVERIFY(!probe->isSelected());
    QVERIFY(!(probe->flags() & QGraphicsItem::ItemIsMovable));
    // The item under construction is let go.
    QVERIFY(m_scene->currentItem() == nullptr);
    QVERIFY(m_scene->mouseGrabberItem() == nullptr);
    QCOMPARE(m_scene->items().size(), 2);
}

void TestGraphicsScene::rightPressWithNothingSelectedIsIgnored()
{
    m_scene->setMode(InsertRuler);
    press(QPointF(1400, 300));
    QGraphicsItem *ruler = m_scene->currentItem();
    QVERIFY(ruler);
    press(QPointF(1450, 350), Qt::RightButton);
    QCOMPARE(m_scene->currentItem(), ruler);
    QCOMPARE(m_scene->items().size(), 1);
}

void TestGraphicsScene::movesWithoutButtonsDoNotReachItems()
{
    auto *probe = new ProbeItem(QRectF(1400, 300, 200, 200));
    m_scene->addItem(probe);
    m_moved = 0;

    const Mode modes[] = {Pointer, InsertLine, FitCurve, IrregularArea};
    for (Mode mode : modes) {
        m_scene->setMode(mode);
        moveFree(QPointF(1350, 250));
        moveFree(QPointF(1450, 350));
        moveFree(QPointF(1500, 400));
        moveFree(QPointF(1700, 600));
    }
    QCOMPARE(probe->moves, 0);
    QCOMPARE(probe->hovers, 0);
    QCOMPARE(m_moved, 16);

    // A drag does reach it (Pointer mode: the probe takes the press).
    m_scene->setMode(Pointer);
    press(QPointF(1450, 350));
    moveHeld(QPointF(1460, 360));
    moveHeld(QPointF(1470, 370));
    release(QPointF(1470, 370));
    QCOMPARE(probe->moves, 2);
}

void TestGraphicsScene::itemOfTypeWalksTopmostFirst()
{
    auto *lower = new GraphicsLeftScaleItem;
    lower->setLine(QLineF(1300, 120, 1300, 500));
    lower->setZValue(1);
    auto *upper = new GraphicsLeftScaleItem;
    upper->setLine(QLineF(1300, 120, 1300, 600));
    upper->setZValue(2);
    QImage img(10, 10, QImage::Format_RGB32);
    img.fill(Qt::gray);
    QGraphicsPixmapItem *page = m_scene->addPixmap(QPixmap::fromImage(img));
    m_scene->addItem(lower);
    m_scene->addItem(upper);

    QCOMPARE(m_scene->itemOfType(16), upper);
    QCOMPARE(m_scene->itemOfType(16, 0), upper);
    QCOMPARE(m_scene->itemOfType(16, 1), lower);
    QVERIFY(m_scene->itemOfType(16, 2) == nullptr);
    QCOMPARE(m_scene->itemOfType(7), page);
    QCOMPARE(m_scene->itemOfType(7, 2), page);
    QVERIFY(m_scene->itemOfType(7, 3) == nullptr);
    QVERIFY(m_scene->itemOfType(15) == nullptr);
    QCOMPARE(m_scene->itemOfType(16, -5), upper);
}

void TestGraphicsScene::viewSetup()
{
    GraphicsView view;
    QCOMPARE(view.dragMode(), QGraphicsView::ScrollHandDrag);
    QVERIFY(view.testAttribute(Qt::WA_MouseTracking));
    QCOMPARE(view.transform().m11(), 0.23);
    QCOMPARE(view.transform().m22(), 0.23);
    QCOMPARE(view.transform().m12(), 0.0);
}

void TestGraphicsScene::viewDragModeFollowsMode()
{
    m_moved = 0;
    m_scene->setMode(InsertLine);
    moveFree(QPointF(1500, 400));
    QCOMPARE(m_view->dragMode(), QGraphicsView::NoDrag);
    QCOMPARE(m_moved, 1);

    m_view->handleItemInserted(nullptr);
    QCOMPARE(m_view->dragMode(), QGraphicsView::ScrollHandDrag);
    moveFree(QPointF(1510, 410));
    QCOMPARE(m_view->dragMode(), QGraphicsView::NoDrag);
    m_view->handleCancelInsertItem();
    QCOMPARE(m_view->dragMode(), QGraphicsView::ScrollHandDrag);

    m_scene->setMode(Pointer);
    moveFree(QPointF(1520, 420));
    QCOMPARE(m_view->dragMode(), QGraphicsView::ScrollHandDrag);
    QCOMPARE(m_moved, 3);

    // The scene's signals restore hand dragging when wired as the shell does.
    connect(m_scene.get(), &GraphicsScene::itemInserted, m_view.get(),
            &GraphicsView::handleItemInserted);
    m_scene->setMode(InsertLine);
    moveFree(QPointF(1500, 400));
    QCOMPARE(m_view->dragMode(), QGraphicsView::NoDrag);
    press(QPointF(1500, 400));
    release(QPointF(1500, 400));
    QCOMPARE(m_view->dragMode(), QGraphicsView::ScrollHandDrag);
}

void TestGraphicsScene::wheelZooms()
{
    GraphicsView view;
    GraphicsScene scene;
    scene.setSceneRect(0, 0, 3000, 2240);
    view.setScene(&scene);
    view.resize(400, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    ItemStyle::instance()->setZoom(1.0);

    auto wheel = [&](int delta) {
        const QPointF pos(200, 150);
        QWheelEvent event(pos, view.viewport()->mapToGlobal(pos.toPoint()), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        event.setAccepted(false);
        QApplication::sendEvent(view.viewport(), &event);
        return event.isAccepted();
    };

    const QPointF centre = view.mapToScene(view.viewport()->rect().center());
    QVERIFY(wheel(120));
    // Exactly one factor of 1.125 on the view and on the shared zoom.
    QVERIFY(view.transform().m11() == 0.23 * 1.125);
    QVERIFY(view.transform().m22() == 0.23 * 1.125);
    QVERIFY(view.zoomFactor() == 1.125);
    QVERIFY(ItemStyle::instance()->zoom() == 1.125);

    wheel(-120);
    wheel(-120);
    QVERIFY(qFuzzyCompare(view.transform().m11(), 0.23 / 1.125));
    QVERIFY(qFuzzyCompare(view.transform().m22(), 0.23 / 1.125));
    QVERIFY(qFuzzyCompare(view.zoomFactor(), 1.0 / 1.125));
    QVERIFY(qFuzzyCompare(ItemStyle::instance()->zoom(), 1.0 / 1.125));

    // Half a notch (fine-resolution wheels) is half the zoom step.
    wheel(60);
    QVERIFY(qFuzzyCompare(view.zoomFactor(), std::sqrt(1.125)));

    // With the cursor at the centre the wheel zooms about the centre and
    // never scrolls the page away.
    const QPointF after = view.mapToScene(view.viewport()->rect().center());
    QVERIFY2(QLineF(after, centre).length() < 10,
             qPrintable(QString("%1,%2 -> %3,%4").arg(centre.x()).arg(centre.y()).arg(after.x()).arg(after.y())));
}

void TestGraphicsScene::wheelZoomsAboutTheCursor_data()
{
    QTest::addColumn<QPoint>("cursor");
    QTest::addColumn<int>("delta");
    QTest::newRow("in, top left") << QPoint(60, 40) << 120;
    QTest::newRow("in, bottom right") << QPoint(520, 380) << 240;
    QTest::newRow("out, top right") << QPoint(500, 50) << -120;
    QTest::newRow("out, bottom left") << QPoint(80, 400) << -360;
}

void TestGraphicsScene::wheelZoomsAboutTheCursor()
{
    QFETCH(QPoint, cursor);
    QFETCH(int, delta);
    GraphicsView view;
    GraphicsScene scene;
    scene.setSceneRect(0, 0, 20000, 20000);
    view.setScene(&scene);
    view.resize(600, 450);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.centerOn(10000, 10000);

    const QPointF under = view.mapToScene(cursor);
    QWheelEvent event(cursor, view.viewport()->mapToGlobal(cursor), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &event);
    QVERIFY(!qFuzzyCompare(view.transform().m11(), 0.23));
    // The same wall point is still under the cursor, to a pixel.
    const QPointF shown = QPointF(view.mapFromScene(under));
    QVERIFY2(QLineF(shown, QPointF(cursor)).length() <= 1.5,
             qPrintable(QString("%1,%2").arg(shown.x()).arg(shown.y())));
}

void TestGraphicsScene::backgroundColours()
{
    GraphicsScene scene;
    scene.setSceneRect(10.7, 10.7, 100.9, 50.9);
    QImage img(130, 80, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter painter(&img);
    scene.render(&painter, QRectF(0, 0, 130, 80), QRectF(0, 0, 130, 80));
    painter.end();

    const QRgb grey = QColor(Qt::lightGray).rgb();
    const QRgb white = QColor(Qt::white).rgb();
    QCOMPARE(img.pixel(5, 5), grey);
    QCOMPARE(img.pixel(125, 75), grey);
    // The white area is the scene rectangle with its coordinates truncated.
    QCOMPARE(img.pixel(10, 10), white);
    QCOMPARE(img.pixel(60, 30), white);
    QCOMPARE(img.pixel(109, 59), white);
    QCOMPARE(img.pixel(110, 30), grey);
    QCOMPARE(img.pixel(60, 60), grey);
    QCOMPARE(img.pixel(9, 30), grey);
}

void TestGraphicsScene::irregularAreaResultIsForwarded()
{
    QSignalSpy result(m_scene.get(), &GraphicsScene::signalCalcAreaResult);
    m_scene->handleIrregularArea(12345);
    QCOMPARE(result.count(), 1);
    QCOMPARE(result.at(0).at(0).toFloat(), 12345.0f);
}

void TestGraphicsScene::areaConfirmedStartsWorker()
{
    QSignalSpy inserted(m_scene.get(), &GraphicsScene::itemInserted);
    QSignalSpy cancelled(m_scene.get(), &GraphicsScene::signalCancelInsertItem);
    QSignalSpy result(m_scene.get(), &GraphicsScene::signalCalcAreaResult);
    m_scene->setMode(IrregularArea);
    press(QPointF(1500, 400));
    auto *outline = dynamic_cast<GraphicsSelCurveItem *>(m_scene->currentItem());
    QVERIFY(outline);
    QPointer<QObject> alive(outline);

    // A mask with 150 pure red pixels and some blended ones that do not count.
    QImage mask(40, 30, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter p(&mask);
    p.fillRect(QRect(5, 5, 15, 10), QColor(255, 0, 0));
    p.fillRect(QRect(25, 5, 5, 5), QColor(254, 0, 0));
    p.end();

    // As the outline does when it closes itself and reports its mask.
    outline->setData(0, true);
    ModalAnswerer answerer("OK");
    m_scene->handleSelCurveFinished(mask);
    QCOMPARE(answerer.texts, QStringList{"Area Selecting finished."});
    QCOMPARE(answerer.buttonTexts.value(0).size(), 2);
    QVERIFY(answerer.buttonTexts.value(0).contains("OK"));
    QVERIFY(answerer.buttonTexts.value(0).contains("Cancel"));

    QCOMPARE(inserted.count(), 1);
    QVERIFY(insertedArg(inserted, 0) == outline);
    QCOMPARE(cancelled.count(), 0);
    QVERIFY(m_scene->currentItem() == nullptr);
    QCOMPARE(currentMode, Pointer);
    QVERIFY(outline->scene() == m_scene.get());

    QVERIFY(result.wait(5000));
    QCOMPARE(result.count(), 1);
    QCOMPARE(result.at(0).at(0).toFloat(), 150.0f);
    // The outline got the count from its own worker.
    QVERIFY(alive);
    QCOMPARE(outline->pixelCount(), 150.0f);
    QVERIFY(outline->data(2).toBool());
    // The finished worker is reclaimed and no longer referenced.
    QTRY_VERIFY(m_scene->pixelThread() == nullptr);
    QTRY_VERIFY(m_scene->findChildren<CalcPixelNumThread *>().isEmpty());
}

void TestGraphicsScene::areaRefusedRemovesOutline()
{
    QSignalSpy inserted(m_scene.get(), &GraphicsScene::itemInserted);
    QSignalSpy cancelled(m_scene.get(), &GraphicsScene::signalCancelInsertItem);
    m_scene->setMode(IrregularArea);
    press(QPointF(1500, 400));
    auto *outline = dynamic_cast<GraphicsSelCurveItem *>(m_scene->currentItem());
    QVERIFY(outline);
    QPointer<QObject> alive(outline);

    ModalAnswerer answerer("Cancel");
    QImage mask(10, 10, QImage::Format_RGB32);
    mask.fill(Qt::red);
    m_scene->handleSelCurveFinished(mask);
    QCOMPARE(answerer.answered, 1);

    QCOMPARE(cancelled.count(), 1);
    QCOMPARE(inserted.count(), 0);
    QVERIFY(m_scene->items().isEmpty());
    QVERIFY(m_scene->currentItem() == nullptr);
    QVERIFY(m_scene->mouseGrabberItem() == nullptr);
    QCOMPARE(currentMode, Pointer);
    QVERIFY(m_scene->pixelThread() == nullptr);
    // The removed outline is freed once control is back in the event loop.
    QVERIFY(alive);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!alive);
}

void TestGraphicsScene::tooFewPointsCancelsOutline()
{
    QSignalSpy inserted(m_scene.get(), &GraphicsScene::itemInserted);
    QSignalSpy cancelled(m_scene.get(), &GraphicsScene::signalCancelInsertItem);
    m_scene->setMode(IrregularArea);
    press(QPointF(1500, 400));
    release(QPointF(1500, 400));
    press(QPointF(1550, 450));
    release(QPointF(1550, 450));
    auto *outline = dynamic_cast<GraphicsSelCurveItem *>(m_scene->currentItem());
    QVERIFY(outline);
    QPointer<QObject> alive(outline);

    // The right button asks the outline to close; with too few points it gives
    // up and the scene tells the user.
    ModalAnswerer answerer("OK");
    press(QPointF(1600, 500), Qt::RightButton);
    QCOMPARE(answerer.texts, QStringList{"Points are not enough to form a closed curve"});
    QCOMPARE(answerer.buttonTexts.value(0), QStringList{"OK"});
    QVERIFY(alive);
    QVERIFY(outline->data(1).toBool());

    QCOMPARE(cancelled.count(), 1);
    QCOMPARE(currentMode, Pointer);
    QVERIFY(m_scene->currentItem() == nullptr);
    QVERIFY(m_scene->items().isEmpty());
    release(QPointF(1600, 500), Qt::RightButton);
    QCOMPARE(cancelled.count(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!alive);
    // The dropped outline was never reported as an inserted item.
    for (int i = 0; i < inserted.count(); ++i)
        QVERIFY(insertedArg(inserted, i) != static_cast<QGraphicsItem *>(outline));
    QCOMPARE(inserted.count(), 0);
}

void TestGraphicsScene::areaMeasuredWithTheMouse()
{
    QSignalSpy inserted(m_scene.get(), &GraphicsScene::itemInserted);
    QSignalSpy result(m_scene.get(), &GraphicsScene::signalCalcAreaResult);
    m_scene->setMode(IrregularArea);

    // Outline a 200 x 200 square and come back to the start marker.
    const QPointF corners[] = {{1400, 300}, {1600, 300}, {1600, 500}, {1400, 500}};
    for (const QPointF &c : corners) {
        press(c);
        release(c);
    }
    auto *outline = dynamic_cast<GraphicsSelCurveItem *>(m_scene->currentItem());
    QVERIFY(outline);
    QCOMPARE(inserted.count(), 0);

    ModalAnswerer answerer("OK");
    press(QPointF(1405, 305));
    QCOMPARE(answerer.texts, QStringList{"Area Selecting finished."});
    release(QPointF(1405, 305));
    QCOMPARE(inserted.count(), 1);
    QVERIFY(insertedArg(inserted, 0) == outline);
    QCOMPARE(currentMode, Pointer);

    QVERIFY(result.wait(5000));
    const float count = result.at(0).at(0).toFloat();
    // A smooth closed curve through the corners of the square: between the
    // square's inscribed and circumscribed circles.
    QVERIFY2(count > 31400 && count < 62800, qPrintable(QString::number(count)));
    QCOMPARE(outline->pixelCount(), count);
    QVERIFY(outline->scene() == m_scene.get());
    QTRY_VERIFY(m_scene->pixelThread() == nullptr);
}

void TestGraphicsScene::sceneTeardownWithRunningWorker()
{
    m_scene->setMode(IrregularArea);
    press(QPointF(1500, 400));
    QVERIFY(m_scene->currentItem());

    QImage mask(3000, 3000, QImage::Format_RGB32);
    mask.fill(Qt::red);
    ModalAnswerer answerer("OK");
    m_scene->handleSelCurveFinished(mask);
    QVERIFY(m_scene->pixelThread());
    QPointer<QThread> worker(m_scene->pixelThread());

    // Closing the page while the worker may still count: no abort, no
    // late delivery into a dead scene.
    m_view->setScene(nullptr);
    m_scene.reset(new GraphicsScene);
    QVERIFY(!worker);
    QTest::qWait(50);
}

QTEST_MAIN(TestGraphicsScene)
#include "tst_graphicsscene.moc"
