// The ruler (running distances along a clicked chain) and the measurement
// lines that the main window labels: types, construction through the scene,
// the pixel factor.

#include "drawingtestsupport.h"

#include "globals.h"
#include "graphicsanglemeasureitem.h"
#include "graphicslengthmeasureitem.h"
#include "graphicslithologymarkitem.h"
#include "graphicsruleritem.h"
#include "graphicsscene.h"
#include "itemstyle.h"
#include "mode.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace DrawingTest;

namespace {

GraphicsRulerItem *onlyRuler(QGraphicsScene *scene)
{
    GraphicsRulerItem *found = nullptr;
    const QList<QGraphicsItem *> all = scene->items();
    for (QGraphicsItem *item : all) {
        if (item->type() == GraphicsRulerItem::Type) {
            if (found)
                return nullptr;
            found = static_cast<GraphicsRulerItem *>(item);
        }
    }
    return found;
}

bool isFiniteNumberText(const QString &text)
{
    return !text.contains(QLatin1String("nan"), Qt::CaseInsensitive)
        && !text.contains(QLatin1String("inf"), Qt::CaseInsensitive);
}

QImage renderScene(QGraphicsScene *scene, const QRectF &rect)
{
    QImage image(rect.size().toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene->render(&painter, QRectF(QPointF(0, 0), rect.size()), rect);
    return image;
}

QPolygonF poly(std::initializer_list<QPointF> points)
{
    QPolygonF result;
    for (const QPointF &p : points)
        result << p;
    return result;
}

bool isYellow(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) < 80;
}

} // namespace

class TestMeasureItems : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void rulerChainShowsRunningDistancesAndTotal();
    void rulerPreviewFollowsTheDrag();
    void rulerIgnoresASecondClickOnTheSameSpot();
    void rulerSinglePoint();
    void rulerStartedFarFromTheOrigin();
    void rulerWithoutUsableFactorStaysFinite_data();
    void rulerWithoutUsableFactorStaysFinite();
    void rulerPaintingAndBounds();
    void finishedRulerSelectsAndMovesInPointerMode();
    void measurementLinesThroughTheirTools_data();
    void measurementLinesThroughTheirTools();

private:
    GraphicsScene *m_scene = nullptr;
    QGraphicsView *m_view = nullptr;
};

void TestMeasureItems::initTestCase()
{
    qRegisterMetaType<QGraphicsItem *>("QGraphicsItem*");
}

void TestMeasureItems::init()
{
    ItemStyle::instance()->setColor(Qt::black);
    ItemStyle::instance()->setLineWidth(8);
    ItemStyle::instance()->setDrawing(false);
    pixelsPerUnit = 0.1;
    m_scene = new GraphicsScene;
    m_scene->setMode(Pointer);
    m_view = makeView(m_scene);
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
    QCOMPARE(m_view->mapToScene(QPoint(500, 1500)), QPointF(500, 1500));
}

void TestMeasureItems::cleanup()
{
    delete m_view;
    m_view = nullptr;
    delete m_scene;
    m_scene = nullptr;
    currentMode = Pointer;
    pixelsPerUnit = 0.0;
    ItemStyle::instance()->setDrawing(false);
}

void TestMeasureItems::rulerChainShowsRunningDistancesAndTotal()
{
    QSignalSpy inserted(m_scene, &GraphicsScene::itemInserted);
    m_scene->setMode(InsertRuler);
    const QPointF p0(200, 100), p1(500, 500), p2(500, 1500);
    click(m_view, p0);
    GraphicsRulerItem *ruler = onlyRuler(m_scene);
    QVERIFY(ruler);
    QCOMPARE(ruler->type(), 9);
    QCOMPARE(m_scene->mouseGrabberItem(), ruler);
    click(m_view, p1);
    click(m_view, p2);
    // The ruler keeps asking for points: no left release finished it.
    QVERIFY(ItemStyle::instance()->drawing());
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(onlyRuler(m_scene), ruler);

    click(m_view, QPointF(900, 900), Qt::RightButton);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.first().first().value<QGraphicsItem *>(), ruler);
    QCOMPARE(m_scene->mouseGrabberItem(), static_cast<QGraphicsItem *>(nullptr));

    QCOMPARE(ruler->points(), poly({p0, p1, p2}));
    QCOMPARE(ruler->polygon(), poly({p0, p1, p2}));
    QCOMPARE(ruler->labelTexts(),
             QStringList({"0.00m", "0.50m", "Total:1.50m"}));
    QCOMPARE(ruler->total(), 15000.0);
    const QVector<double> running = ruler->runningDistances();
    QCOMPARE(running.size(), 3);
    QCOMPARE(running.at(1), 5000.0);

    // Distances follow the current pixel factor at every repaint.
    pixelsPerUnit = 0.2;
    QCOMPARE(ruler->labelTexts().last(), QStringLiteral("Total:0.75m"));
}

void TestMeasureItems::rulerPreviewFollowsTheDrag()
{
    m_scene->setMode(InsertRuler);
    const QPointF p0(200, 100), p1(200, 600);
    click(m_view, p0);
    GraphicsRulerItem *ruler = onlyRuler(m_scene);
    QVERIFY(ruler);

    press(m_view, p1);
    QCOMPARE(ruler->points().size(), 1);
    QCOMPARE(ruler->polygon().size(), 2);
    QCOMPARE(ruler->labelTexts().last(), QStringLiteral("Total:0.50m"));
    move(m_view, QPointF(200, 900));
    QCOMPARE(ruler->polygon().last(), QPointF(200, 900));
    QCOMPARE(ruler->labelTexts().last(), QStringLiteral("Total:0.80m"));
    // Moving back onto the last fixed point shows only the fixed points.
    move(m_view, p0);
    QCOMPARE(ruler->polygon(), poly({p0}));
    move(m_view, QPointF(200, 1100));
    release(m_view, QPointF(200, 1100));
    QCOMPARE(ruler->points(), poly({p0, QPointF(200, 1100)}));
    QCOMPARE(ruler->labelTexts(), QStringList({"0.00m", "Total:1.00m"}));
    click(m_view, QPointF(0, 0), Qt::RightButton);
}

void TestMeasureItems::rulerIgnoresASecondClickOnTheSameSpot()
{
    m_scene->setMode(InsertRuler);
    const QPointF p0(300, 300), p1(300, 700);
    click(m_view, p0);
    click(m_view, p0);
    click(m_view, p1);
    click(m_view, p1);
    GraphicsRulerItem *ruler = onlyRuler(m_scene);
    QVERIFY(ruler);
    QCOMPARE(ruler->points(), poly({p0, p1}));
    QCOMPARE(ruler->labelTexts(), QStringList({"0.00m", "Total:0.40m"}));
    click(m_view, QPointF(0, 0), Qt::RightButton);
}

void TestMeasureItems::rulerSinglePoint()
{
    GraphicsRulerItem ruler(QPointF(100, 100), Qt::black);
    QCOMPARE(ruler.type(), 9);
    QCOMPARE(ruler.labelColor(), QColor(Qt::black));
    QCOMPARE(ruler.labelTexts(), QStringList({"Total:0.00m"}));
    QVERIFY(ruler.contains(QPointF(102.9, 100)));
    QVERIFY(!ruler.contains(QPointF(103.5, 100)));
    QVERIFY(ruler.flags() & QGraphicsItem::ItemIsSelectable);
    QVERIFY(ruler.acceptHoverEvents());
}

void TestMeasureItems::rulerStartedFarFromTheOrigin()
{
    // The first click of a ruler lies anywhere on a page, far from the scene
    // origin: the new item must take that press (and keep the mouse), and
    // its marker and label must lie inside the area it repaints.
    QSignalSpy inserted(m_scene, &GraphicsScene::itemInserted);
    m_scene->setMode(InsertRuler);
    const QPointF p0(1200, 1300), p1(1200, 1500);
    click(m_view, p0);
    GraphicsRulerItem *ruler = onlyRuler(m_scene);
    QVERIFY(ruler);
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(m_scene->mouseGrabberItem(), ruler);
    QVERIFY(ItemStyle::instance()->drawing());
    QVERIFY(ruler->boundingRect().contains(p0));
    QVERIFY(ruler->boundingRect().contains(QRectF(p0.x() - 4, p0.y() - 4, 300, 60)));
    click(m_view, p1);
    QCOMPARE(ruler->points(), poly({p0, p1}));
    click(m_view, QPointF(0, 0), Qt::RightButton);
    QCOMPARE(inserted.count(), 1);

    // The hit area reaches 10 units either side of every segment of a chain
    // that turns, on the inner side of the turn as well as the outer one,
    // whichever way it turns.
    for (const QPolygonF &chain : {poly({QPointF(100, 100), QPointF(100, 500), QPointF(500, 500)}),
                                   poly({QPointF(500, 500), QPointF(100, 500), QPointF(100, 100)}),
                                   poly({QPointF(100, 100), QPointF(100, 500), QPointF(500, 500),
                                         QPointF(500, 100)})}) {
        GraphicsRulerItem chained(chain.first(), Qt::black);
        chained.setPoints(chain);
        for (const QPointF &hit : {QPointF(105, 300), QPointF(95, 300), QPointF(300, 495),
                                   QPointF(300, 505), QPointF(100, 300), QPointF(300, 500)})
            QVERIFY2(chained.contains(hit), qPrintable(QStringLiteral("%1,%2").arg(hit.x()).arg(hit.y())));
        // Outside the band and outside the chain's outline: not the ruler.
        QVERIFY(!chained.contains(QPointF(80, 300)));
        QVERIFY(!chained.contains(QPointF(300, 520)));
    }

    GraphicsRulerItem single(QPointF(5000, 5000), Qt::black);
    QVERIFY(single.boundingRect().contains(QPointF(5000, 5000)));
    QVERIFY(single.boundingRect().contains(QPointF(5250, 5040)));
}

void TestMeasureItems::rulerWithoutUsableFactorStaysFinite_data()
{
    QTest::addColumn<double>("factor");
    QTest::newRow("no project") << 0.0;
    QTest::newRow("negative") << -2.0;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity();
}

void TestMeasureItems::rulerWithoutUsableFactorStaysFinite()
{
    QFETCH(double, factor);
    pixelsPerUnit = factor;
    GraphicsRulerItem ruler(QPointF(0, 0), Qt::black);
    ruler.setPoints(poly({QPointF(0, 0), QPointF(3000, 4000), QPointF(3000, 9000)}));
    // No metres without a project scale: the distances are given in pixels.
    QCOMPARE(ruler.labelTexts(), QStringList({"unknown (no project scale, 0 pixels)",
                                              "unknown (no project scale, 5000 pixels)",
                                              "Total:unknown (no project scale, 10000 pixels)"}));
    QVERIFY(std::isfinite(ruler.total()));
    // The repainted area holds the longer labels.
    const QFontMetricsF metrics(QFont(QStringLiteral("Times"), 40, 75, false));
    QVERIFY(ruler.boundingRect().right()
            >= 3000 + 16 + metrics.horizontalAdvance(ruler.labelTexts().last()));

    // Painting with such a factor works too.
    QGraphicsScene scene;
    auto *painted = new GraphicsRulerItem(QPointF(10, 10), Qt::black);
    painted->setPoints(poly({QPointF(10, 10), QPointF(10, 60)}));
    scene.addItem(painted);
    const QImage image = renderScene(&scene, QRectF(0, 0, 200, 200));
    QVERIFY(!image.isNull());
}

void TestMeasureItems::rulerPaintingAndBounds()
{
    QGraphicsScene scene(0, 0, 800, 800);
    auto *ruler = new GraphicsRulerItem(QPointF(100, 100), Qt::red);
    ruler->setPoints(poly({QPointF(100, 100), QPointF(100, 500)}));
    scene.addItem(ruler);

    const QRectF bounds = ruler->boundingRect();
    const QRectF stroke = ruler->shape().boundingRect();
    QVERIFY(qAbs(bounds.left() - (stroke.left() - 100)) < 1e-9);
    QVERIFY(qAbs(bounds.top() - (stroke.top() - 100)) < 1e-9);
    QVERIFY(bounds.width() >= stroke.width() + 599 && bounds.width() <= stroke.width() + 600);
    QVERIFY(bounds.height() >= stroke.height() + 499 && bounds.height() <= stroke.height() + 500);
    // The hit area is the 20-unit stroke along the chain.
    QVERIFY(ruler->contains(QPointF(109, 300)));
    QVERIFY(!ruler->contains(QPointF(111, 300)));

    auto yellowRun = [&](const QImage &image) {
        int n = 0;
        for (int y = 150; y <= 450; ++y)
            n += isYellow(image.pixel(100, y)) ? 1 : 0;
        return n;
    };
    const QImage plain = renderScene(&scene, QRectF(0, 0, 800, 800));
    QVERIFY2(yellowRun(plain) > 290, qPrintable(QString::number(yellowRun(plain))));
    // Marker squares are blue, labels in the label colour to the right.
    const QRgb marker = plain.pixel(100, 500);
    QVERIFY(qBlue(marker) > 200 && qRed(marker) < 60 && qGreen(marker) < 60);
    bool redLabel = false;
    for (int x = 120; x < 400 && !redLabel; ++x) {
        for (int y = 470; y < 545 && !redLabel; ++y) {
            const QRgb c = plain.pixel(x, y);
            redLabel = qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80;
        }
    }
    QVERIFY(redLabel);

    ruler->setSelected(true);
    const QImage selected = renderScene(&scene, QRectF(0, 0, 800, 800));
    const int dashed = yellowRun(selected);
    QVERIFY2(dashed > 100 && dashed < 280, qPrintable(QString::number(dashed)));
    const QRgb stillBlue = selected.pixel(100, 500);
    QVERIFY(qBlue(stillBlue) > 200 && qRed(stillBlue) < 60);
}

void TestMeasureItems::finishedRulerSelectsAndMovesInPointerMode()
{
    m_scene->setMode(InsertRuler);
    click(m_view, QPointF(300, 300));
    click(m_view, QPointF(300, 700));
    click(m_view, QPointF(0, 0), Qt::RightButton);
    GraphicsRulerItem *ruler = onlyRuler(m_scene);
    QVERIFY(ruler);

    m_scene->setMode(Pointer);
    click(m_view, QPointF(305, 500));
    QVERIFY(ruler->isSelected());
    QCOMPARE(ruler->points().size(), 2);
    drag(m_view, {QPointF(305, 500), QPointF(330, 520), QPointF(345, 540)});
    QVERIFY(ruler->flags() & QGraphicsItem::ItemIsMovable);
    QCOMPARE(ruler->pos(), QPointF(40, 40));
    QCOMPARE(ruler->points().size(), 2);
}

void TestMeasureItems::measurementLinesThroughTheirTools_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("type");
    QTest::newRow("measure length") << int(MeasureLength) << 11;
    QTest::newRow("measure angle") << int(MeasureAngle) << 12;
    QTest::newRow("mark lithology") << int(MarkLithology) << 13;
}

void TestMeasureItems::measurementLinesThroughTheirTools()
{
    QFETCH(int, mode);
    QFETCH(int, type);
    QSignalSpy inserted(m_scene, &GraphicsScene::itemInserted);
    m_scene->setMode(Mode(mode));

    // A click without a drag: a zero-length line, finished at the release.
    click(m_view, QPointF(600, 600));
    QCOMPARE(inserted.count(), 1);
    auto *zero = dynamic_cast<GraphicsLineItem *>(inserted.first().first().value<QGraphicsItem *>());
    QVERIFY(zero);
    QCOMPARE(zero->type(), type);
    QCOMPARE(zero->sceneLine().length(), 0.0);
    QVERIFY(!ItemStyle::instance()->drawing());

    // A drag: its end points in scene coordinates, also after a move.
    drag(m_view, {QPointF(100, 200), QPointF(250, 300), QPointF(400, 600)});
    QCOMPARE(inserted.count(), 2);
    auto *line = dynamic_cast<GraphicsLineItem *>(inserted.last().first().value<QGraphicsItem *>());
    QVERIFY(line);
    QCOMPARE(line->type(), type);
    QCOMPARE(line->sceneLine(), QLineF(100, 200, 400, 600));
    QVERIFY(line->childItems().isEmpty()); // draws no label of its own
    line->setPos(10, -20);
    QCOMPARE(line->sceneLine(), QLineF(110, 180, 410, 580));
}

QTEST_MAIN(TestMeasureItems)
#include "tst_measureitems.moc"
