// Irregular area measurement: the outline item driven through the scene's
// tool mode, closing by the start marker and by the right button, the mask
// and its pixel count on the worker thread, and the square-metre label.

#include "calcpixelnumthread.h"
#include "globals.h"
#include "graphicsscene.h"
#include "graphicsselcurveitem.h"
#include "itemstyle.h"
#include "mode.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGraphicsSceneMouseEvent>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionGraphicsItem>
#include <QTimer>
#include <QtTest>

#include <qwt_curve_fitter.h>

#include <cmath>

namespace {

// Sends scene mouse events the way QGraphicsView does.
class SceneMouse
{
public:
    explicit SceneMouse(QGraphicsScene *scene) : m_scene(scene) {}

    void press(const QPointF &p, Qt::MouseButton b = Qt::LeftButton)
    {
        m_down = p;
        m_buttons |= b;
        send(QEvent::GraphicsSceneMousePress, p, b);
    }
    void move(const QPointF &p) { send(QEvent::GraphicsSceneMouseMove, p, Qt::NoButton); }
    void release(const QPointF &p, Qt::MouseButton b = Qt::LeftButton)
    {
        m_buttons &= ~b;
        send(QEvent::GraphicsSceneMouseRelease, p, b);
    }
    void click(const QPointF &p, Qt::MouseButton b = Qt::LeftButton)
    {
        press(p, b);
        release(p, b);
    }

private:
    void send(QEvent::Type type, const QPointF &p, Qt::MouseButton b)
    {
        QGraphicsSceneMouseEvent e(type);
        e.setScenePos(p);
        e.setScreenPos(p.toPoint());
        e.setLastScenePos(m_last);
        e.setButtonDownScenePos(Qt::LeftButton, m_down);
        e.setButtonDownScenePos(Qt::RightButton, m_down);
        e.setButton(b);
        e.setButtons(type == QEvent::GraphicsSceneMouseRelease ? m_buttons : (m_buttons | b));
        e.setAccepted(false);
        QCoreApplication::sendEvent(m_scene, &e);
        m_last = p;
    }

    QGraphicsScene *m_scene;
    QPointF m_down;
    QPointF m_last;
    Qt::MouseButtons m_buttons = Qt::NoButton;
};

// Answers the next modal message box by the text of one of its buttons and
// remembers what it said. Polls from a timer, so no test ever sleeps.
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(const QString &button) : m_button(button)
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            m_timer.stop();
            m_text = box->text();
            ++m_count;
            for (QAbstractButton *b : box->buttons()) {
                if (b->text() == m_button) {
                    b->click();
                    return;
                }
            }
            box->reject();
        });
        m_timer.start(10);
    }
    QString text() const { return m_text; }
    int count() const { return m_count; }

private:
    QString m_button;
    QString m_text;
    int m_count = 0;
    QTimer m_timer;
};

// Shoelace area of a closed polygon.
double polygonArea(const QPolygonF &p)
{
    double sum = 0;
    for (int i = 0; i < p.size(); ++i) {
        const QPointF a = p.at(i);
        const QPointF b = p.at((i + 1) % p.size());
        sum += a.x() * b.y() - b.x() * a.y();
    }
    return std::abs(sum) / 2.0;
}

QPolygonF circlePoints(const QPointF &centre, double r, int n)
{
    QPolygonF pts;
    for (int i = 0; i < n; ++i) {
        const double t = 2.0 * M_PI * i / n;
        pts << centre + QPointF(r * std::cos(t), r * std::sin(t));
    }
    return pts;
}

const QPointF kCentre(1800, 620);

} // namespace

class TestAreaItem : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void movedIntoBounds_data();
    void movedIntoBounds();
    void constructionThroughScene();
    void pressOutsideImageStillBuilds();
    void closeByStartMarkerCountsCircle();
    void markerNeedsThreePoints();
    void cancelRemovesOutline();
    void rightButtonClose();
    void rightButtonTooFewPoints();
    void rectangleMaskCount();
    void squareMetres_data();
    void squareMetres();
    void unknownPixelFactorStaysFinite();
    void secondResultIgnored();
    void labelShownAndBounded();
    void finishedOutlineIgnoresToolEvents();
    void resultDoesNotReachOutlineUnderConstruction();
    void eachResultReachesItsOwnOutline();
    void workerCountsPureRedOnly();
    void workerReportsOnceAndIsReclaimed();

private:
    GraphicsScene *m_scene = nullptr;
    double m_savedFactor = 0;

    GraphicsSelCurveItem *startOutline(SceneMouse &mouse, const QPolygonF &points);
};

void TestAreaItem::init()
{
    m_savedFactor = pixelsPerUnit;
    m_scene = new GraphicsScene(nullptr);
    // A page 1000 x 1000 pixels: image at (1300, 120), margins around it.
    m_scene->setSceneRect(0, 0, 1000 + 2600, 1000 + 240);
    m_scene->setMode(IrregularArea);
    ItemStyle::instance()->setDrawing(false);
}

void TestAreaItem::cleanup()
{
    delete m_scene;
    m_scene = nullptr;
    currentMode = Pointer;
    ItemStyle::instance()->setDrawing(false);
    pixelsPerUnit = m_savedFactor;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

GraphicsSelCurveItem *TestAreaItem::startOutline(SceneMouse &mouse, const QPolygonF &points)
{
    for (const QPointF &p : points)
        mouse.click(p);
    return dynamic_cast<GraphicsSelCurveItem *>(m_scene->currentItem());
}

void TestAreaItem::movedIntoBounds_data()
{
    QTest::addColumn<QPointF>("in");
    QTest::addColumn<QPointF>("out");
    // Bounds (1300, 120, 1000, 1000): right 2300, bottom 1120.
    QTest::newRow("inside") << QPointF(1500, 500) << QPointF(1500, 500);
    QTest::newRow("on the edge") << QPointF(1300, 120) << QPointF(1300, 120);
    QTest::newRow("left") << QPointF(1000, 500) << QPointF(1300, 500);
    QTest::newRow("right") << QPointF(2500, 500) << QPointF(2300, 500);
    QTest::newRow("above") << QPointF(1500, 50) << QPointF(1500, 120);
    QTest::newRow("below") << QPointF(1500, 1300) << QPointF(1500, 1120);
    // Beside a corner: both coordinates, onto the corner.
    QTest::newRow("left and above") << QPointF(1000, 50) << QPointF(1300, 120);
    QTest::newRow("right and below") << QPointF(2600, 1500) << QPointF(2300, 1120);
    QTest::newRow("left and below") << QPointF(1200, 1200) << QPointF(1300, 1120);
}

void TestAreaItem::movedIntoBounds()
{
    QFETCH(QPointF, in);
    QFETCH(QPointF, out);
    GraphicsSelCurveItem item(in, QRectF(1300, 120, 1000, 1000));
    QCOMPARE(item.movedIntoBounds(in), out);
    QCOMPARE(item.startPoint(), out);
    QCOMPARE(item.controlPoints().first(), out);
    QCOMPARE(item.startMarker(), QRectF(out.x() - 20, out.y() - 20, 40, 40));
    QCOMPARE(item.type(), 14);
    for (int key = 0; key < 3; ++key)
        QCOMPARE(item.data(key).toBool(), false);
}

void TestAreaItem::constructionThroughScene()
{
    SceneMouse mouse(m_scene);
    mouse.press(QPointF(1500, 300));
    auto *item = dynamic_cast<GraphicsSelCurveItem *>(m_scene->currentItem());
    QVERIFY(item);
    // The page image, without its margins.
    QCOMPARE(item->bounds(), QRectF(1300, 120, 1000, 1000));
    QVERIFY(ItemStyle::instance()->drawing());
    QCOMPARE(m_scene->mouseGrabberItem(), item);
    mouse.release(QPointF(1500, 300));
    QCOMPARE(item->controlPoints().size(), 1);

    // A drag previews the next point; the release adds it.
    mouse.press(QPointF(1700, 300));
    mouse.move(QPointF(1750, 350));
    QCOMPARE(item->controlPoints().size(), 1);
    QCOMPARE(item->polygon().last(), QPointF(1750, 350));
    mouse.release(QPointF(1750, 350));
    QCOMPARE(item->controlPoints().size(), 2);
    // The drawing flag keeps the scene from finishing the outline.
    QCOMPARE(m_scene->currentItem(), item);
    // A point dragged out of the image is pulled to its edge.
    mouse.press(QPointF(1750, 600));
    mouse.move(QPointF(2600, 600));
    QCOMPARE(item->polygon().last(), QPointF(2300, 600));
    mouse.release(QPointF(2600, 600));
    QCOMPARE(item->controlPoints().last(), QPointF(2300, 600));
}

void TestAreaItem::pressOutsideImageStillBuilds()
{
    // The first press lies in the left margin; its point is pulled into the
    // image, away from the press, yet the outline keeps the mouse.
    SceneMouse mouse(m_scene);
    mouse.click(QPointF(1000, 400));
    auto *item = dynamic_cast<GraphicsSelCurveItem *>(m_scene->currentItem());
    QVERIFY(item);
    QCOMPARE(item->controlPoints(), QPolygonF() << QPointF(1300, 400));
    mouse.click(QPointF(1600, 400));
    mouse.click(QPointF(1600, 700));
    QCOMPARE(item->controlPoints().size(), 3);
}

void TestAreaItem::closeByStartMarkerCountsCircle()
{
    pixelsPerUnit = 0.1;
    SceneMouse mouse(m_scene);
    const QPolygonF ring = circlePoints(kCentre, 300, 24);
    auto *item = startOutline(mouse, ring);
    QVERIFY(item);
    QCOMPARE(item->controlPoints(), ring);

    QSignalSpy finished(item, &GraphicsSelCurveItem::signalSelCurveFinished);
    QSignalSpy inserted(m_scene, &GraphicsScene::itemInserted);
    BoxAnswerer answer(QStringLiteral("OK"));
    // Back to the start marker (within 20 units of the first point).
    const QPointF back = ring.first() + QPointF(-5, 8);
    mouse.press(back);
    QCOMPARE(answer.text(), QStringLiteral("Area Selecting finished."));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.first().first().value<QGraphicsItem *>(), item);
    QCOMPARE(currentMode, Pointer);
    QVERIFY(item->data(0).toBool());
    // The outline ends with the press point and the start point; the stored
    // points keep the press point only.
    QCOMPARE(item->controlPoints(), QPolygonF(ring) << back);
    QCOMPARE(item->polygon(), QPolygonF(ring) << back << ring.first());
    mouse.release(back);

    // The mask is the filled spline through the closed outline.
    const QImage mask = finished.first().first().value<QImage>();
    QwtSplineCurveFitter fitter;
    const QPolygonF fitted = fitter.fitCurve(QPolygonF(ring) << back << ring.first());
    const QRectF box = fitted.boundingRect();
    QCOMPARE(mask.size(), QSize(int(box.width()), int(box.height())));
    QCOMPARE(mask.format(), QImage::Format_RGB32);
    QCOMPARE(mask.pixel(mask.width() / 2, mask.height() / 2), qRgb(255, 0, 0));
    QCOMPARE(mask.pixel(0, 0), qRgb(255, 255, 255));

    // The worker's count arrives through the scene.
    QTRY_VERIFY_WITH_TIMEOUT(item->data(2).toBool(), 20000);
    const float count = item->pixelCount();
    QCOMPARE(int(count), CalcPixelNumThread::countRedPixels(mask));
    const double geometric = polygonArea(fitted);
    QVERIFY2(count <= geometric, qPrintable(QString("%1 > %2").arg(count).arg(geometric)));
    QVERIFY2(count > 0.98 * geometric, qPrintable(QString("%1 vs %2").arg(count).arg(geometric)));
    QVERIFY(std::abs(count - M_PI * 300 * 300) < 0.03 * M_PI * 300 * 300);

    const double m2 = count / (0.1 * 0.1) / 1e8;
    QCOMPARE(item->areaText(), QStringLiteral("Area of this closed curve is:")
                                       + QString::number(m2, 'f', 3) + QStringLiteral("m^2"));
    // The finished worker is reclaimed.
    QTRY_VERIFY(m_scene->pixelThread() == nullptr);
}

void TestAreaItem::markerNeedsThreePoints()
{
    SceneMouse mouse(m_scene);
    QSignalSpy cancelled(m_scene, &GraphicsScene::signalCancelInsertItem);
    auto *item = startOutline(mouse, QPolygonF() << QPointF(1500, 300) << QPointF(1800, 300));
    QVERIFY(item);
    QSignalSpy finished(item, &GraphicsSelCurveItem::signalSelCurveFinished);
    // Two points only: a press in the marker adds an ordinary point.
    mouse.click(QPointF(1510, 310));
    QCOMPARE(finished.count(), 0);
    QVERIFY(!item->data(0).toBool());
    QCOMPARE(item->controlPoints().size(), 3);
    QCOMPARE(item->controlPoints().last(), QPointF(1510, 310));
    QCOMPARE(cancelled.count(), 0);
}

void TestAreaItem::cancelRemovesOutline()
{
    SceneMouse mouse(m_scene);
    QSignalSpy cancelled(m_scene, &GraphicsScene::signalCancelInsertItem);
    QSignalSpy inserted(m_scene, &GraphicsScene::itemInserted);
    const QPolygonF square = QPolygonF() << QPointF(1500, 300) << QPointF(1900, 300)
                                         << QPointF(1900, 700) << QPointF(1500, 700);
    QPointer<GraphicsSelCurveItem> item = startOutline(mouse, square);
    QVERIFY(item);
    BoxAnswerer answer(QStringLiteral("Cancel"));
    mouse.press(QPointF(1500, 300));
    QCOMPARE(answer.count(), 1);
    mouse.release(QPointF(1500, 300));
    QCOMPARE(cancelled.count(), 1);
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(currentMode, Pointer);
    QCOMPARE(m_scene->currentItem(), nullptr);
    QCOMPARE(m_scene->pixelThread(), nullptr);
    // Taken out of the scene and freed once control is back in the loop.
    QVERIFY(!item || !item->scene());
    QTRY_VERIFY(item.isNull());
    QVERIFY(m_scene->items().isEmpty());
}

void TestAreaItem::rightButtonClose()
{
    pixelsPerUnit = 1.0;
    SceneMouse mouse(m_scene);
    const QPolygonF square = QPolygonF() << QPointF(1500, 300) << QPointF(1900, 300)
                                         << QPointF(1900, 700) << QPointF(1500, 700);
    auto *item = startOutline(mouse, square);
    QVERIFY(item);
    QSignalSpy finished(item, &GraphicsSelCurveItem::signalSelCurveFinished);
    QSignalSpy forced(item, &GraphicsSelCurveItem::signalForceCancel);
    BoxAnswerer answer(QStringLiteral("OK"));
    // Right press away from the start: the scene marks the request (key 1).
    mouse.press(QPointF(2100, 900), Qt::RightButton);
    QCOMPARE(answer.text(), QStringLiteral("Area Selecting finished."));
    QVERIFY(item->data(1).toBool());
    QVERIFY(item->data(0).toBool());
    QCOMPARE(forced.count(), 0);
    QCOMPARE(finished.count(), 1);
    // The right press adds no point of its own; the start closes the outline.
    QCOMPARE(item->controlPoints(), square);
    QCOMPARE(item->polygon(), QPolygonF(square) << square.first());
    mouse.release(QPointF(2100, 900), Qt::RightButton);
    QTRY_VERIFY_WITH_TIMEOUT(item->data(2).toBool(), 20000);
    QVERIFY(item->pixelCount() > 100000);
    QVERIFY(item->scene() == m_scene);
}

void TestAreaItem::rightButtonTooFewPoints()
{
    SceneMouse mouse(m_scene);
    QSignalSpy cancelled(m_scene, &GraphicsScene::signalCancelInsertItem);
    QPointer<GraphicsSelCurveItem> item =
            startOutline(mouse, QPolygonF() << QPointF(1500, 300) << QPointF(1900, 300)
                                            << QPointF(1900, 700));
    QVERIFY(item);
    QSignalSpy finished(item.data(), &GraphicsSelCurveItem::signalSelCurveFinished);
    QSignalSpy forced(item.data(), &GraphicsSelCurveItem::signalForceCancel);
    BoxAnswerer answer(QStringLiteral("OK"));
    mouse.press(QPointF(2000, 800), Qt::RightButton);
    QCOMPARE(answer.text(), QStringLiteral("Points are not enough to form a closed curve"));
    QCOMPARE(forced.count(), 1);
    QCOMPARE(finished.count(), 0);
    mouse.release(QPointF(2000, 800), Qt::RightButton);
    QCOMPARE(cancelled.count(), 1);
    QCOMPARE(currentMode, Pointer);
    QTRY_VERIFY(item.isNull());
    QVERIFY(m_scene->items().isEmpty());
}

void TestAreaItem::rectangleMaskCount()
{
    // A rectangle outline: the spline bulges a little between corners, but
    // the pure-red count stays just below the filled spline's area.
    QGraphicsScene scene;
    currentMode = IrregularArea;
    auto *item = new GraphicsSelCurveItem(QPointF(1400, 200), QRectF(1300, 120, 2000, 2000));
    scene.addItem(item);
    SceneMouse mouse(&scene);
    const QPolygonF rect = QPolygonF() << QPointF(1400, 200) << QPointF(1600, 200)
                                       << QPointF(1800, 200) << QPointF(1800, 400)
                                       << QPointF(1800, 600) << QPointF(1600, 600)
                                       << QPointF(1400, 600) << QPointF(1400, 400);
    for (const QPointF &p : rect)
        mouse.click(p);
    QSignalSpy finished(item, &GraphicsSelCurveItem::signalSelCurveFinished);
    mouse.press(QPointF(1402, 198));
    QCOMPARE(finished.count(), 1);
    const QImage mask = finished.first().first().value<QImage>();
    QwtSplineCurveFitter fitter;
    const double geometric =
            polygonArea(fitter.fitCurve(QPolygonF(rect) << QPointF(1402, 198) << rect.first()));
    const int count = CalcPixelNumThread::countRedPixels(mask);
    QVERIFY2(count <= geometric && count > 0.98 * geometric,
             qPrintable(QString("%1 vs %2").arg(count).arg(geometric)));
    QVERIFY(std::abs(count - 400.0 * 400.0) < 0.1 * 400 * 400);
}

void TestAreaItem::squareMetres_data()
{
    QTest::addColumn<double>("factor");
    QTest::addColumn<float>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("factor 1") << 1.0 << 1e8f << QStringLiteral("1.000m^2");
    QTest::newRow("factor 0.1") << 0.1 << 2e6f << QStringLiteral("2.000m^2");
    // 400 px around a 100 mm hole: 400 / (1000 * 3.14) px per 0.1 mm.
    QTest::newRow("sample project") << 400.0 / (1000 * 3.14) << 160000.0f
                                    << QString::number(160000.0 / std::pow(400.0 / 3140.0, 2) / 1e8,
                                                       'f', 3)
                                               + QStringLiteral("m^2");
}

void TestAreaItem::squareMetres()
{
    QFETCH(double, factor);
    QFETCH(float, count);
    QFETCH(QString, text);
    pixelsPerUnit = factor;
    GraphicsSelCurveItem item(QPointF(1500, 300), QRectF(1300, 120, 1000, 1120));
    item.setData(0, true); // closed
    item.handleIrregularArea(count);
    QVERIFY(item.data(2).toBool());
    QCOMPARE(item.pixelCount(), count);
    QCOMPARE(item.areaText(), QStringLiteral("Area of this closed curve is:") + text);
}

void TestAreaItem::unknownPixelFactorStaysFinite()
{
    pixelsPerUnit = 0.0;
    GraphicsSelCurveItem item(QPointF(1500, 300), QRectF(1300, 120, 1000, 1120));
    item.setData(0, true); // closed
    item.handleIrregularArea(12345);
    const QString text = item.areaText();
    QVERIFY(text.startsWith(QStringLiteral("Area of this closed curve is:")));
    QVERIFY2(!text.contains("inf") && !text.contains("nan"), qPrintable(text));
    QVERIFY2(text.contains("12345"), qPrintable(text));
    // Painting uses the same text.
    QImage image(200, 200, QImage::Format_RGB32);
    QPainter painter(&image);
    QStyleOptionGraphicsItem option;
    item.paint(&painter, &option, nullptr);
    QCOMPARE(item.areaText(), text);
}

void TestAreaItem::secondResultIgnored()
{
    pixelsPerUnit = 1.0;
    SceneMouse mouse(m_scene);
    const QPolygonF square = QPolygonF() << QPointF(1500, 300) << QPointF(1900, 300)
                                         << QPointF(1900, 700) << QPointF(1500, 700);
    auto *item = startOutline(mouse, square);
    QVERIFY(item);
    BoxAnswerer answer(QStringLiteral("OK"));
    mouse.press(QPointF(1500, 300));
    mouse.release(QPointF(1500, 300));
    QTRY_VERIFY_WITH_TIMEOUT(item->data(2).toBool(), 20000);
    const float first = item->pixelCount();
    const QString text = item->areaText();
    item->handleIrregularArea(1e8f);
    QCOMPARE(item->pixelCount(), first);
}

void TestAreaItem::labelShownAndBounded()
{
    pixelsPerUnit = 1.0;
    QGraphicsScene scene(0, 0, 3000, 1500);
    currentMode = Pointer;
    auto *item = new GraphicsSelCurveItem(QPointF(1500, 800), QRectF(1300, 120, 1000, 1240));
    scene.addItem(item);
    item->setPoints(QPolygonF() << QPointF(1500, 800) << QPointF(1700, 800) << QPointF(1700, 1000)
                                << QPointF(1500, 1000) << QPointF(1500, 800));
    item->setData(0, true); // closed
    const QRectF before = item->boundingRect();
    auto redNearLabel = [&] {
        QImage image(3000, 1500, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        scene.render(&painter, QRectF(image.rect()), scene.sceneRect());
        painter.end();
        int red = 0;
        // The label's baseline starts at the outline's first point; a 40
        // point label rises above it and runs far to the right.
        for (int y = 745; y < 795; ++y)
            for (int x = 1800; x < 2400; ++x) {
                const QRgb c = image.pixel(x, y);
                if (qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80)
                    ++red;
            }
        return red;
    };
    QCOMPARE(redNearLabel(), 0);
    item->handleIrregularArea(40000);
    QVERIFY(redNearLabel() > 100);
    // The label lies inside the item's bounds so it is repainted with it.
    const QRectF after = item->boundingRect();
    QVERIFY(after.width() > before.width());
    QPainterPath label;
    label.addText(item->polygon().first(), QFont("Times", 40, 75), item->areaText());
    QVERIFY(after.contains(label.boundingRect()));
}

void TestAreaItem::finishedOutlineIgnoresToolEvents()
{
    QGraphicsScene scene;
    currentMode = IrregularArea;
    auto *item = new GraphicsSelCurveItem(QPointF(1500, 300), QRectF(1300, 120, 1000, 1120));
    scene.addItem(item);
    SceneMouse mouse(&scene);
    mouse.click(QPointF(1500, 300));
    mouse.click(QPointF(1800, 300));
    mouse.click(QPointF(1800, 600));
    mouse.press(QPointF(1500, 300)); // closes at the start marker
    mouse.release(QPointF(1500, 300));
    item->handleIrregularArea(500);
    QVERIFY(item->data(2).toBool());
    const QPolygonF points = item->controlPoints();
    mouse.click(QPointF(1900, 700));
    QCOMPARE(item->controlPoints(), points);
}

void TestAreaItem::resultDoesNotReachOutlineUnderConstruction()
{
    // A count handed to an outline still being drawn leaves it alone.
    pixelsPerUnit = 1.0;
    SceneMouse mouse(m_scene);
    auto *item = startOutline(mouse, QPolygonF() << QPointF(1500, 300) << QPointF(1900, 300));
    QVERIFY(item);
    item->handleIrregularArea(777);
    QVERIFY(!item->data(2).toBool());
    QCOMPARE(item->pixelCount(), 0.0f);
    QVERIFY(item->areaText().isEmpty());
    mouse.click(QPointF(1900, 700));
    QCOMPARE(item->controlPoints().size(), 3);
    QCOMPARE(m_scene->currentItem(), item);
}

void TestAreaItem::eachResultReachesItsOwnOutline()
{
    // Two outlines measured one after the other, the first count arriving
    // after the second outline was closed: neither takes the other's count.
    pixelsPerUnit = 1.0;
    SceneMouse mouse(m_scene);
    const QPolygonF big = QPolygonF() << QPointF(1400, 200) << QPointF(2200, 200)
                                      << QPointF(2200, 1000) << QPointF(1400, 1000);
    auto *first = startOutline(mouse, big);
    QVERIFY(first);
    BoxAnswerer confirmFirst(QStringLiteral("OK"));
    mouse.click(big.first()); // closes at the start marker
    QCOMPARE(confirmFirst.count(), 1);
    QVERIFY(first->data(0).toBool());

    m_scene->setMode(IrregularArea);
    const QPolygonF small = QPolygonF() << QPointF(1500, 300) << QPointF(1600, 300)
                                        << QPointF(1600, 400) << QPointF(1500, 400);
    auto *second = startOutline(mouse, small);
    QVERIFY(second && second != first);
    // No events were processed since the first worker started: its count
    // arrives once the second outline is closed too.
    BoxAnswerer confirmSecond(QStringLiteral("OK"));
    mouse.click(small.first());
    QCOMPARE(confirmSecond.count(), 1);

    QTRY_VERIFY_WITH_TIMEOUT(first->data(2).toBool() && second->data(2).toBool(), 20000);
    // Each count is its own outline's: a spline through the corners of an
    // 800 and of a 100 unit square.
    QVERIFY2(first->pixelCount() > 500000.0f, qPrintable(QString::number(first->pixelCount())));
    QVERIFY2(second->pixelCount() > 7000.0f && second->pixelCount() < 15000.0f,
             qPrintable(QString::number(second->pixelCount())));
}

void TestAreaItem::workerCountsPureRedOnly()
{
    QImage image(100, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(QRect(10, 10, 50, 40), QColor(255, 0, 0));
    painter.fillRect(QRect(70, 10, 5, 5), QColor(254, 0, 0)); // not pure red
    painter.fillRect(QRect(70, 30, 5, 5), QColor(255, 0, 1)); // not pure red
    painter.end();
    QCOMPARE(CalcPixelNumThread::countRedPixels(image), 50 * 40);
    QCOMPARE(CalcPixelNumThread::countRedPixels(QImage()), 0);
    // Other formats are read by colour, not by raw bytes.
    QCOMPARE(CalcPixelNumThread::countRedPixels(image.convertToFormat(QImage::Format_RGB888)),
             50 * 40);
}

void TestAreaItem::workerReportsOnceAndIsReclaimed()
{
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(QRect(0, 0, 123, 100), QColor(255, 0, 0));
    painter.end();

    m_scene->setMode(Pointer);
    QSignalSpy area(m_scene, &GraphicsScene::signalCalcAreaResult);
    QPointer<CalcPixelNumThread> worker = new CalcPixelNumThread(image, m_scene);
    // Wired as the scene wires its own workers.
    connect(worker.data(), &CalcPixelNumThread::signalCalcFinished, m_scene,
            &GraphicsScene::handleIrregularArea);
    connect(worker.data(), &QThread::finished, worker.data(), &QObject::deleteLater);
    QSignalSpy done(worker.data(), &CalcPixelNumThread::signalCalcFinished);
    worker->start();
    QTRY_COMPARE_WITH_TIMEOUT(area.count(), 1, 20000);
    QCOMPARE(area.first().first().toFloat(), 123.0f * 100.0f);
    QCOMPARE(done.count(), 1);
    QTRY_VERIFY(worker.isNull());
}

QTEST_MAIN(TestAreaItem)
#include "tst_areaitem.moc"
