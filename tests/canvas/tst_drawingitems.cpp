// Line, arrow and pen items drawn through the scene's tools in a real view,
// their hit shapes, selection and moving, and how they are painted.

#include "drawingtestsupport.h"

#include "graphicsanglemeasureitem.h"
#include "graphicsarrowitem.h"
#include "graphicslengthmeasureitem.h"
#include "graphicslineitem.h"
#include "graphicslithologymarkitem.h"
#include "graphicspathitem.h"
#include "graphicsscene.h"
#include "itemstyle.h"
#include "mode.h"

#include <QGraphicsSceneHoverEvent>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

using namespace DrawingTest;

Q_DECLARE_METATYPE(Mode)

namespace {

QList<QGraphicsItem *> itemsOfType(QGraphicsScene *scene, int type)
{
    QList<QGraphicsItem *> result;
    const QList<QGraphicsItem *> all = scene->items();
    for (QGraphicsItem *item : all) {
        if (item->type() == type)
            result << item;
    }
    return result;
}

QLineF lineOf(QGraphicsItem *item)
{
    if (auto *l = dynamic_cast<QGraphicsLineItem *>(item))
        return QLineF(item->mapToScene(l->line().p1()), item->mapToScene(l->line().p2()));
    return QLineF();
}

// Number of dark pixels on row y between x0 and x1.
int darkPixelsOnRow(const QImage &image, int y, int x0, int x1)
{
    int n = 0;
    for (int x = x0; x <= x1; ++x) {
        if (qGray(image.pixel(x, y)) < 128)
            ++n;
    }
    return n;
}

} // namespace

class TestDrawingItems : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void oneDragMakesOneLineLikeItem_data();
    void oneDragMakesOneLineLikeItem();
    void lineItemsFollowTheirOwnModeOnly();
    void zeroLengthLineCanBePickedUpAtItsPoint();
    void hitStrokeIsTwentyUnitsWide();
    void selectedItemMovesAndHoverLeaveStopsIt();
    void selectedLineIsDrawnDotted();
    void arrowBarbs();
    void arrowDrawnDownwardsPointsBackUp();
    void penRecordsEveryPositionOfTheDrag();
    void penClickWithoutDragIsPickable();
    void turningStrokesArePickableOnBothSides();
    void newItemsTakeTheCurrentStyle();

private:
    GraphicsScene *m_scene = nullptr;
    QGraphicsView *m_view = nullptr;
};

void TestDrawingItems::initTestCase()
{
    qRegisterMetaType<QGraphicsItem *>("QGraphicsItem*");
}

void TestDrawingItems::init()
{
    ItemStyle::instance()->setColor(Qt::black);
    ItemStyle::instance()->setLineWidth(8);
    ItemStyle::instance()->setDrawing(false);
    m_scene = new GraphicsScene;
    m_scene->setMode(Pointer);
    m_view = makeView(m_scene);
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
    QCOMPARE(m_view->mapToScene(QPoint(100, 200)), QPointF(100, 200));
}

void TestDrawingItems::cleanup()
{
    delete m_view;
    m_view = nullptr;
    delete m_scene;
    m_scene = nullptr;
    currentMode = Pointer;
    ItemStyle::instance()->setDrawing(false);
}

void TestDrawingItems::oneDragMakesOneLineLikeItem_data()
{
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<int>("type");
    QTest::newRow("line") << InsertLine << 1;
    QTest::newRow("arrow") << InsertArrow << 3;
    QTest::newRow("measure length") << MeasureLength << 11;
    QTest::newRow("measure angle") << MeasureAngle << 12;
    QTest::newRow("mark lithology") << MarkLithology << 13;
}

void TestDrawingItems::oneDragMakesOneLineLikeItem()
{
    QFETCH(Mode, mode);
    QFETCH(int, type);
    m_scene->setMode(mode);
    QSignalSpy inserted(m_scene, &GraphicsScene::itemInserted);

    const QPointF a(200, 300), b(350, 420), c(600, 500);
    press(m_view, a);
    QVERIFY(ItemStyle::instance()->drawing());
    move(m_view, b);
    QVERIFY(ItemStyle::instance()->drawing());
    move(m_view, c);
    QCOMPARE(inserted.count(), 0);
    release(m_view, c);
    QVERIFY(!ItemStyle::instance()->drawing());

    const QList<QGraphicsItem *> found = itemsOfType(m_scene, type);
    QCOMPARE(found.size(), 1);
    QCOMPARE(m_scene->items().size(), 1);
    QCOMPARE(lineOf(found.first()), QLineF(a, c));
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.first().first().value<QGraphicsItem *>(), found.first());
    QVERIFY(found.first()->flags() & QGraphicsItem::ItemIsSelectable);
    QVERIFY(!(found.first()->flags() & QGraphicsItem::ItemIsMovable));
    QVERIFY(found.first()->acceptHoverEvents());

    // A second drag in the same mode makes a second, separate item.
    drag(m_view, {QPointF(700, 100), QPointF(900, 150)});
    QCOMPARE(itemsOfType(m_scene, type).size(), 2);
    QCOMPARE(lineOf(found.first()), QLineF(a, c));
}

void TestDrawingItems::lineItemsFollowTheirOwnModeOnly()
{
    // Every line-like class answers only to its own tool mode.
    GraphicsLineItem line(QLineF(0, 0, 1, 1));
    GraphicsLengthMeasureitem length(QLineF(0, 0, 1, 1));
    GraphicsAngleMeasureItem angle(QLineF(0, 0, 1, 1));
    GraphicsLithologymarkitem litho(QLineF(0, 0, 1, 1));
    const QList<QPair<GraphicsLineItem *, Mode>> cases = {
        {&line, InsertLine}, {&length, MeasureLength}, {&angle, MeasureAngle},
        {&litho, MarkLithology}};
    for (const auto &c : cases) {
        for (Mode m : {InsertLine, InsertArrow, InsertPen, Pointer, InsertRuler, MeasureLength,
                       MeasureAngle, MarkLithology}) {
            currentMode = m;
            QCOMPARE(c.first->isDrawingMode(), m == c.second);
        }
    }

    // A measure-angle line dragged in another line mode is not reshaped: the
    // drag is a default press (select) instead.
    auto *item = new GraphicsAngleMeasureItem(QLineF(100, 100, 500, 100));
    m_scene->addItem(item);
    m_scene->setMode(Pointer);
    drag(m_view, {QPointF(300, 100), QPointF(300, 400)});
    QCOMPARE(item->line(), QLineF(100, 100, 500, 100));
    QVERIFY(item->isSelected());
    QVERIFY(!ItemStyle::instance()->drawing());
}

void TestDrawingItems::zeroLengthLineCanBePickedUpAtItsPoint()
{
    m_scene->setMode(InsertLine);
    const QPointF p(400, 400);
    click(m_view, p);
    const QList<QGraphicsItem *> found = itemsOfType(m_scene, GraphicsLineItem::Type);
    QCOMPARE(found.size(), 1);
    auto *line = static_cast<GraphicsLineItem *>(found.first());
    QCOMPARE(line->line(), QLineF(p, p));
    QVERIFY(!ItemStyle::instance()->drawing());

    // The hit area is the 4-unit disc around the point.
    QVERIFY(line->contains(p + QPointF(1.9, 0)));
    QVERIFY(line->contains(p + QPointF(0, -1.9)));
    QVERIFY(!line->contains(p + QPointF(2.2, 0)));
    QVERIFY(!line->contains(p + QPointF(1.6, 1.6)));

    m_scene->setMode(Pointer);
    click(m_view, p + QPointF(4, 0));
    QVERIFY(!line->isSelected());
    click(m_view, p + QPointF(1, 0));
    QVERIFY(line->isSelected());

    // The square dot of the default 8-unit pen lies inside the repaint area.
    QVERIFY(line->boundingRect().contains(QRectF(p - QPointF(4, 4), QSizeF(8, 8))));

    // A null line (all coordinates zero) has no hit area at all.
    GraphicsLineItem nullLine(QLineF(0, 0, 0, 0));
    QVERIFY(nullLine.shape().isEmpty());
}

void TestDrawingItems::hitStrokeIsTwentyUnitsWide()
{
    ItemStyle::instance()->setLineWidth(3);
    m_scene->setMode(InsertLine);
    drag(m_view, {QPointF(100, 500), QPointF(900, 500)});
    auto *line = static_cast<GraphicsLineItem *>(m_scene->items().first());
    QCOMPARE(line->pen().width(), 3);

    QVERIFY(line->contains(QPointF(500, 509)));
    QVERIFY(line->contains(QPointF(500, 491)));
    QVERIFY(!line->contains(QPointF(500, 511)));
    QVERIFY(!line->contains(QPointF(500, 489)));
    // The bounding rectangle covers the hit area, so the scene finds it.
    QVERIFY(line->boundingRect().contains(QPointF(500, 509)));

    m_scene->setMode(Pointer);
    click(m_view, QPointF(500, 512));
    QVERIFY(!line->isSelected());
    click(m_view, QPointF(500, 508));
    QVERIFY(line->isSelected());

    // A wide pen does not widen the hit area, but its repaint area covers
    // what it paints.
    ItemStyle::instance()->setLineWidth(40);
    GraphicsLineItem wide(QLineF(100, 100, 900, 100));
    QVERIFY(wide.contains(QPointF(500, 109)));
    QVERIFY(!wide.contains(QPointF(500, 115)));
    QVERIFY(wide.boundingRect().contains(QRectF(80, 80, 840, 40)));
    ItemStyle::instance()->setLineWidth(80);
    GraphicsArrowItem wideArrow(QLineF(100, 100, 900, 100));
    QVERIFY(wideArrow.boundingRect().contains(QRectF(60, 60, 880, 80)));
    ItemStyle::instance()->setLineWidth(40);
    QPainterPath stroke(QPointF(100, 100));
    stroke.lineTo(900, 100);
    GraphicsPathItem widePen(stroke);
    QVERIFY(widePen.boundingRect().contains(QRectF(80, 80, 840, 40)));
}

void TestDrawingItems::selectedItemMovesAndHoverLeaveStopsIt()
{
    m_scene->setMode(InsertArrow);
    drag(m_view, {QPointF(200, 200), QPointF(600, 200)});
    auto *arrow = static_cast<GraphicsArrowItem *>(itemsOfType(m_scene, GraphicsArrowItem::Type).first());

    m_scene->setMode(Pointer);
    // A drag on an unselected item selects it but does not move it.
    drag(m_view, {QPointF(400, 200), QPointF(450, 260)});
    QVERIFY(arrow->isSelected());
    QCOMPARE(arrow->pos(), QPointF(0, 0));
    QVERIFY(!(arrow->flags() & QGraphicsItem::ItemIsMovable));

    // A press on the selected item makes it movable; the drag moves it.
    drag(m_view, {QPointF(400, 200), QPointF(420, 230), QPointF(450, 260)});
    QVERIFY(arrow->flags() & QGraphicsItem::ItemIsMovable);
    QCOMPARE(arrow->pos(), QPointF(50, 60));
    QCOMPARE(lineOf(arrow), QLineF(250, 260, 650, 260));

    QGraphicsSceneHoverEvent leave(QEvent::GraphicsSceneHoverLeave);
    m_scene->sendEvent(arrow, &leave);
    QVERIFY(!(arrow->flags() & QGraphicsItem::ItemIsMovable));
}

void TestDrawingItems::selectedLineIsDrawnDotted()
{
    QGraphicsScene plain(0, 0, 400, 100);
    ItemStyle::instance()->setLineWidth(4);
    auto *line = new GraphicsLineItem(QLineF(20, 50, 380, 50));
    plain.addItem(line);

    auto render = [&plain] {
        QImage image(400, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        plain.render(&painter, QRectF(0, 0, 400, 100), QRectF(0, 0, 400, 100));
        return image;
    };
    const int solid = darkPixelsOnRow(render(), 50, 40, 360);
    QVERIFY2(solid > 300, qPrintable(QString::number(solid)));

    line->setSelected(true);
    const QImage dotted = render();
    const int dots = darkPixelsOnRow(dotted, 50, 40, 360);
    QVERIFY2(dots > 60 && dots < 250, qPrintable(QString::number(dots)));
    // No selection rectangle around it: the rows away from the line stay white.
    QCOMPARE(darkPixelsOnRow(dotted, 40, 0, 399), 0);
    QCOMPARE(darkPixelsOnRow(dotted, 60, 0, 399), 0);
}

void TestDrawingItems::arrowBarbs()
{
    GraphicsArrowItem arrow(QLineF(0, 0, 100, 0));
    const QPolygonF h = arrow.head();
    QCOMPARE(h.size(), 3);
    QVERIFY(qAbs(h.at(0).x() - 31.1) < 0.1);
    QVERIFY(qAbs(h.at(0).y() + 12.1) < 0.1);
    QCOMPARE(h.at(1), QPointF(100, 0));
    QVERIFY(qAbs(h.at(2).x() - 31.1) < 0.1);
    QVERIFY(qAbs(h.at(2).y() - 12.1) < 0.1);

    // The hit area follows the longer 100-unit barbs; the bounding rectangle
    // holds it with a 10-unit margin.
    const QPolygonF longHead = arrow.head(100.0);
    for (int i : {0, 2}) {
        const QLineF barb(longHead.at(1), longHead.at(i));
        QVERIFY(qAbs(barb.length() - 100.0) < 1e-9);
        // Normal of the barb pointing away from the shaft.
        QPointF normal(-(barb.dy()), barb.dx());
        normal /= barb.length();
        if (normal.y() * longHead.at(i).y() < 0)
            normal = -normal;
        const QPointF nearEnd = barb.pointAt(0.8);
        QVERIFY(arrow.shape().contains(nearEnd + 9.0 * normal));
        QVERIFY(!arrow.shape().contains(nearEnd + 11.0 * normal));
    }
    QVERIFY(!arrow.shape().contains(QPointF(50, 40)));
    QVERIFY(arrow.boundingRect().contains(arrow.shape().boundingRect()));

    GraphicsArrowItem nullArrow(QLineF(0, 0, 0, 0));
    QVERIFY(nullArrow.shape().isEmpty());
}

void TestDrawingItems::arrowDrawnDownwardsPointsBackUp()
{
    m_scene->setMode(InsertArrow);
    drag(m_view, {QPointF(500, 200), QPointF(500, 700)});
    auto *arrow = static_cast<GraphicsArrowItem *>(itemsOfType(m_scene, GraphicsArrowItem::Type).first());
    QCOMPARE(arrow->line(), QLineF(500, 200, 500, 700));
    const QPolygonF h = arrow->head();
    // Barbs go back up from the tip, one to each side.
    QVERIFY(qAbs(h.at(0).y() - (700 - 68.9)) < 0.5);
    QVERIFY(qAbs(h.at(2).y() - (700 - 68.9)) < 0.5);
    QVERIFY(qAbs(qAbs(h.at(0).x() - 500) - 12.1) < 0.5);
    QVERIFY((h.at(0).x() - 500) * (h.at(2).x() - 500) < 0);
}

void TestDrawingItems::penRecordsEveryPositionOfTheDrag()
{
    m_scene->setMode(InsertPen);
    QSignalSpy inserted(m_scene, &GraphicsScene::itemInserted);
    const QList<QPointF> points = {QPointF(100, 100), QPointF(130, 140), QPointF(170, 150),
                                   QPointF(260, 90), QPointF(300, 300)};
    press(m_view, points.first());
    QVERIFY(ItemStyle::instance()->drawing());
    for (int i = 1; i < points.size(); ++i)
        move(m_view, points.at(i));
    release(m_view, points.last());
    QVERIFY(!ItemStyle::instance()->drawing());
    QCOMPARE(inserted.count(), 1);

    const QList<QGraphicsItem *> found = itemsOfType(m_scene, GraphicsPathItem::Type);
    QCOMPARE(found.size(), 1);
    auto *pen = static_cast<GraphicsPathItem *>(found.first());
    const QPainterPath path = pen->path();
    QCOMPARE(path.elementCount(), points.size());
    QVERIFY(path.elementAt(0).isMoveTo());
    for (int i = 0; i < points.size(); ++i)
        QCOMPARE(QPointF(path.elementAt(i)), points.at(i));

    // Picked up along the stroke within 10 units, and around its last point.
    QVERIFY(pen->contains(QPointF(115, 120) + QPointF(7, -5)));
    QVERIFY(!pen->contains(QPointF(400, 100)));
    QVERIFY(pen->contains(QPointF(300, 309)));
    QVERIFY(!pen->contains(QPointF(300, 316)));
}

void TestDrawingItems::penClickWithoutDragIsPickable()
{
    m_scene->setMode(InsertPen);
    const QPointF p(800, 800);
    click(m_view, p);
    const QList<QGraphicsItem *> found = itemsOfType(m_scene, GraphicsPathItem::Type);
    QCOMPARE(found.size(), 1);
    auto *pen = static_cast<GraphicsPathItem *>(found.first());
    QCOMPARE(pen->path().elementCount(), 1);
    QVERIFY(!pen->shape().isEmpty());
    QVERIFY(pen->contains(p + QPointF(8, 0)));
    QVERIFY(!pen->contains(p + QPointF(20, 0)));

    m_scene->setMode(Pointer);
    click(m_view, p + QPointF(5, 5));
    QVERIFY(pen->isSelected());
}

void TestDrawingItems::turningStrokesArePickableOnBothSides()
{
    // A stroke that turns one way or the other is picked up right on its
    // line and within 10 units on either side, inside the turn too; the
    // path added to the 20-unit stroke must not cancel parts of it.
    for (bool clockwise : {true, false}) {
        QPainterPath path;
        if (clockwise) {
            path.moveTo(500, 100);
            path.lineTo(100, 100);
            path.lineTo(100, 500);
            path.lineTo(500, 500);
        } else {
            path.moveTo(500, 500);
            path.lineTo(100, 500);
            path.lineTo(100, 100);
            path.lineTo(500, 100);
        }
        GraphicsPathItem pen(path);
        for (const QPointF &hit : {QPointF(100, 300), QPointF(105, 300), QPointF(95, 300),
                                   QPointF(300, 495), QPointF(300, 505), QPointF(300, 100),
                                   QPointF(300, 108), QPointF(300, 92)})
            QVERIFY2(pen.contains(hit), qPrintable(QStringLiteral("%1 %2,%3")
                                                       .arg(clockwise).arg(hit.x()).arg(hit.y())));
        QVERIFY(!pen.contains(QPointF(80, 300)));
        QVERIFY(!pen.contains(QPointF(300, 520)));
        // Everything that can be hit lies in the area the item repaints.
        QVERIFY(pen.boundingRect().contains(pen.shape().boundingRect()));

        // The arrow's shaft and barbs form such a path as well.
        GraphicsArrowItem arrow(QLineF(QPointF(100, 300), clockwise ? QPointF(600, 300)
                                                                    : QPointF(100, 800)));
        const QPolygonF head = arrow.head(100.0);
        for (double t : {0.25, 0.5, 0.75}) {
            const QPointF onLeft = head.at(1) + (head.at(0) - head.at(1)) * t;
            const QPointF onRight = head.at(1) + (head.at(2) - head.at(1)) * t;
            QVERIFY(arrow.contains(onLeft));
            QVERIFY(arrow.contains(onRight));
        }
    }
}

void TestDrawingItems::newItemsTakeTheCurrentStyle()
{
    ItemStyle::instance()->setColor(QColor(Qt::darkGreen));
    ItemStyle::instance()->setLineWidth(5);
    m_scene->setMode(InsertLine);
    drag(m_view, {QPointF(100, 100), QPointF(200, 200)});
    m_scene->setMode(InsertArrow);
    drag(m_view, {QPointF(300, 100), QPointF(400, 200)});
    m_scene->setMode(InsertPen);
    drag(m_view, {QPointF(500, 100), QPointF(600, 200)});
    const QList<QGraphicsItem *> items = m_scene->items();
    QCOMPARE(items.size(), 3);
    for (QGraphicsItem *item : items) {
        auto *shapeItem = dynamic_cast<QAbstractGraphicsShapeItem *>(item);
        auto *lineItem = dynamic_cast<QGraphicsLineItem *>(item);
        const QPen pen = shapeItem ? shapeItem->pen() : lineItem->pen();
        QCOMPARE(pen.color(), QColor(Qt::darkGreen));
        QCOMPARE(pen.width(), 5);
        QCOMPARE(pen.style(), Qt::SolidLine);
        QCOMPARE(pen.capStyle(), Qt::SquareCap);
        QCOMPARE(pen.joinStyle(), Qt::BevelJoin);
    }
}

QTEST_MAIN(TestDrawingItems)
#include "tst_drawingitems.moc"
