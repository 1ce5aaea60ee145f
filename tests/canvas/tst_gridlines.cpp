// Grid overlay: line positions, painting, the unit fallback, and how the
// scene creates, shows, hides and resizes the grid item.

#include "globals.h"
#include "graphicsleftscaleitem.h"
#include "graphicsscene.h"
#include "graphicsview.h"
#include "itemstyle.h"
#include "mode.h"
#include "qgraphicsgridlineitem.h"

#include <QGraphicsPixmapItem>
#include <QScrollBar>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QStyleOptionGraphicsItem>
#include <QtTest>

namespace {

QVector<double> verticalXs(const QVector<QLineF> &lines)
{
    QVector<double> xs;
    for (const QLineF &l : lines) {
        if (l.x1() == l.x2())
            xs << l.x1();
    }
    return xs;
}

QVector<double> horizontalYs(const QVector<QLineF> &lines)
{
    QVector<double> ys;
    for (const QLineF &l : lines) {
        if (l.y1() == l.y2())
            ys << l.y1();
    }
    return ys;
}

int darkRuns(const QImage &img, bool alongRow, int index)
{
    int runs = 0;
    bool previous = false;
    const int n = alongRow ? img.width() : img.height();
    for (int i = 0; i < n; ++i) {
        const QRgb c = alongRow ? img.pixel(i, index) : img.pixel(index, i);
        const bool dark = qGray(c) < 200;
        if (dark && !previous)
            ++runs;
        previous = dark;
    }
    return runs;
}

QGraphicsGridLineItem *gridOf(GraphicsScene &scene)
{
    return static_cast<QGraphicsGridLineItem *>(scene.itemOfType(QGraphicsGridLineItem::Type));
}

} // namespace

class TestGridLines : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void linePositions_data();
    void linePositions();
    void degenerateGrids();
    void unitAndFallback();
    void itemBasics();
    void paintDrawsInnerLines();

    void updateCreatesGridOnce();
    void showGridLinesToggles();
    void gridCoversSceneWithoutPageImage();
    void gridCoversImageAreaWithPageImage();
    void gridCoversSinglePicture_data();
    void gridCoversSinglePicture();
    void gridUnitFromLeftScale();
    void hiddenGridIsNotResized();
    void clickAfterShowingGridDoesNotReportIt();
    void shownGridLetsTheViewScrollAndCannotBeSelected();
};

void TestGridLines::init()
{
    ItemStyle *style = ItemStyle::instance();
    style->setGridVisible(false);
    style->setGridSize(10, 10);
    style->setDrawing(false);
    currentMode = Pointer;
    pixelsPerUnit = 0.0;
}

void TestGridLines::linePositions_data()
{
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<double>("step");
    QTest::addColumn<QSize>("cells");
    QTest::addColumn<QVector<double>>("xs");
    QTest::addColumn<QVector<double>>("ys");

    QTest::newRow("10 x 5 cells") << QRectF(0, 0, 100, 50) << 1.0 << QSize(10, 10)
                                  << QVector<double>{10, 20, 30, 40, 50, 60, 70, 80, 90}
                                  << QVector<double>{10, 20, 30, 40};
    QTest::newRow("offset rect, partial last cell")
        << QRectF(1300, 120, 105, 34) << 1.0 << QSize(10, 10)
        << QVector<double>{1310, 1320, 1330, 1340, 1350, 1360, 1370, 1380, 1390, 1400}
        << QVector<double>{130, 140, 150};
    QTest::newRow("cells of different size") << QRectF(0, 0, 100, 100) << 2.0 << QSize(20, 10)
                                             << QVector<double>{40, 80}
                                             << QVector<double>{20, 40, 60, 80};
    QTest::newRow("narrower than one cell") << QRectF(0, 0, 8, 30) << 1.0 << QSize(10, 10)
                                            << QVector<double>{} << QVector<double>{10, 20};
    QTest::newRow("exactly one cell") << QRectF(0, 0, 10, 10) << 1.0 << QSize(10, 10)
                                      << QVector<double>{} << QVector<double>{};
    QTest::newRow("just over one cell") << QRectF(0, 0, 10.5, 10) << 1.0 << QSize(10, 10)
                                        << QVector<double>{10} << QVector<double>{};
}

void TestGridLines::linePositions()
{
    QFETCH(QRectF, rect);
    QFETCH(double, step);
    QFETCH(QSize, cells);
    QFETCH(QVector<double>, xs);
    QFETCH(QVector<double>, ys);

    const QVector<QLineF> lines = QGraphicsGridLineItem::gridLines(rect, step, cells);
    QCOMPARE(verticalXs(lines), xs);
    QCOMPARE(horizontalYs(lines), ys);
    QCOMPARE(lines.size(), xs.size() + ys.size());
    for (const QLineF &l : lines) {
        if (l.x1() == l.x2()) {
            QCOMPARE(l.y1(), rect.top());
            QCOMPARE(l.y2(), rect.top() + rect.height());
        } else {
            QCOMPARE(l.x1(), rect.left());
            QCOMPARE(l.x2(), rect.left() + rect.width());
        }
    }
}

void TestGridLines::degenerateGrids()
{
    QVERIFY(QGraphicsGridLineItem::gridLines(QRectF(), 1.0, QSize(10, 10)).isEmpty());
    QVERIFY(QGraphicsGridLineItem::gridLines(QRectF(5, 5, 0, 0), 1.0, QSize(10, 10)).isEmpty());
    QVERIFY(QGraphicsGridLineItem::gridLines(QRectF(0, 0, 100, 100), 1.0, QSize(0, 0)).isEmpty());
    QVERIFY(QGraphicsGridLineItem::gridLines(QRectF(0, 0, 100, 100), -1.0, QSize(10, 10)).isEmpty());
    QVERIFY(QGraphicsGridLineItem::gridLines(QRectF(0, 0, 100, 100), qInf(), QSize(10, 10)).isEmpty());

    // The item copes with a zero-size rectangle too.
    QGraphicsGridLineItem grid(0.1, QRectF());
    QImage img(20, 20, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    QStyleOptionGraphicsItem option;
    grid.paint(&painter, &option, nullptr);
    painter.end();
    QCOMPARE(darkRuns(img, true, 0), 0);
}

void TestGridLines::unitAndFallback()
{
    QGraphicsGridLineItem grid(0.1, QRectF(0, 0, 100, 100));
    QCOMPARE(grid.step(), 1.0);
    grid.setUnit(0.127);
    QCOMPARE(grid.step(), 1.27);
    grid.setUnit(0.0);
    QCOMPARE(grid.step(), 3.7795275590551185);
    grid.setUnit(5e-7);
    QCOMPARE(grid.step(), 3.7795275590551185);
    grid.setUnit(1e-6);
    QCOMPARE(grid.step(), 1e-5);
    grid.setUnit(-0.2);
    QCOMPARE(grid.step(), -2.0);
}

void TestGridLines::itemBasics()
{
    ItemStyle::instance()->setColor(Qt::red);
    ItemStyle::instance()->setLineWidth(3);
    QGraphicsGridLineItem grid(0.1, QRectF(10, 20, 100, 60));
    ItemStyle::instance()->setColor(Qt::black);
    ItemStyle::instance()->setLineWidth(8);

    QCOMPARE(grid.type(), 15);
    QCOMPARE(grid.rect(), QRectF(10, 20, 100, 60));
    QCOMPARE(grid.pen().color(), QColor(Qt::red));
    QCOMPARE(grid.pen().width(), 3);
    QCOMPARE(grid.pen().capStyle(), Qt::SquareCap);
    QCOMPARE(grid.pen().joinStyle(), Qt::BevelJoin);
    QVERIFY(grid.acceptHoverEvents());
    QVERIFY(!(grid.flags() & QGraphicsItem::ItemIsMovable));
    QCOMPARE(grid.boundingRect(), QRectF(8.5, 18.5, 103, 63));
    // Hit shape: the ellipse inscribed in the bounding rectangle.
    const QPainterPath shape = grid.shape();
    QVERIFY(shape.contains(QPointF(60, 50)));
    QVERIFY(!shape.contains(QPointF(12, 22)));
    QVERIFY(!shape.contains(QPointF(108, 78)));
}

void TestGridLines::paintDrawsInnerLines()
{
    ItemStyle::instance()->setGridSize(20, 10);
    QGraphicsGridLineItem grid(0.1, QRectF(10, 10, 200, 100)); // 1 unit per mm
    QImage img(230, 130, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    painter.setPen(QPen(Qt::blue, 7));
    QStyleOptionGraphicsItem option;
    grid.paint(&painter, &option, nullptr);
    // The painter's pen is given back as it was.
    QCOMPARE(painter.pen().color(), QColor(Qt::blue));
    QCOMPARE(painter.pen().width(), 7);
    painter.end();

    // Cells of 20 x 10 mm: 9 vertical and 9 horizontal inner lines, no outline.
    QCOMPARE(darkRuns(img, true, 55), 9);
    QCOMPARE(darkRuns(img, false, 115), 9);
    QCOMPARE(qGray(img.pixel(10, 55)), 255);
    QCOMPARE(qGray(img.pixel(115, 10)), 255);
    // Lines take the painter's pen colour.
    const QColor c = img.pixelColor(30, 55);
    QVERIFY2(c.blue() > c.red() + 50, qPrintable(c.name()));
}

void TestGridLines::updateCreatesGridOnce()
{
    GraphicsScene scene;
    scene.setSceneRect(0, 0, 3000, 1240);
    scene.setBaseItemCount(3);
    pixelsPerUnit = 0.2;

    scene.UpdateGridLines();
    QGraphicsGridLineItem *grid = gridOf(scene);
    QVERIFY(grid);
    QCOMPARE(scene.baseItemCount(), 4);
    // Created and shown even though the grid was switched off.
    QVERIFY(ItemStyle::instance()->gridVisible());
    QVERIFY(grid->isVisible());
    QCOMPARE(grid->step(), 2.0);

    scene.UpdateGridLines();
    QCOMPARE(scene.items().size(), 1);
    QCOMPARE(gridOf(scene), grid);
    QCOMPARE(scene.baseItemCount(), 4);
}

void TestGridLines::showGridLinesToggles()
{
    GraphicsScene scene;
    scene.setSceneRect(0, 0, 3000, 1240);

    scene.ShowGridLines(); // off -> on, creates the grid
    QGraphicsGridLineItem *grid = gridOf(scene);
    QVERIFY(grid);
    QVERIFY(ItemStyle::instance()->gridVisible());
    QVERIFY(grid->isVisible());

    scene.ShowGridLines();
    QVERIFY(!ItemStyle::instance()->gridVisible());
    QVERIFY(!grid->isVisible());
    scene.ShowGridLines();
    QVERIFY(ItemStyle::instance()->gridVisible());
    QVERIFY(grid->isVisible());
    QCOMPARE(scene.items().size(), 1);
    QCOMPARE(scene.baseItemCount(), 1);
}

void TestGridLines::gridCoversSceneWithoutPageImage()
{
    GraphicsScene scene;
    scene.setSceneRect(0, 0, 3000, 1240);
    QCOMPARE(scene.gridRect(), QRectF(0, 0, 3000, 1240));
    scene.ShowGridLines();
    QCOMPARE(gridOf(scene)->rect(), QRectF(0, 0, 3000, 1240));

    // Zero-size scene: nothing breaks, no lines.
    GraphicsScene empty;
    empty.setSceneRect(0, 0, 0, 0);
    empty.UpdateGridLines();
    QVERIFY(gridOf(empty));
    QCOMPARE(gridOf(empty)->rect(), QRectF());
    QImage img(10, 10, QImage::Format_ARGB32);
    QPainter painter(&img);
    empty.render(&painter);
}

void TestGridLines::gridCoversImageAreaWithPageImage()
{
    GraphicsScene scene;
    scene.setSceneRect(0, 0, 400 + 2600, 1000 + 240);
    QImage page(400, 1000, QImage::Format_RGB32);
    page.fill(Qt::darkGray);
    QGraphicsPixmapItem *image = scene.addPixmap(QPixmap::fromImage(page));
    image->setPos(1300, 120);
    QCOMPARE(image->type(), 7);

    QCOMPARE(scene.gridRect(), QRectF(1300, 120, 400, 1000));
    scene.ShowGridLines();
    QGraphicsGridLineItem *grid = gridOf(scene);
    QCOMPARE(grid->rect(), QRectF(1300, 120, 400, 1000));

    // A taller page: the visible grid follows the new image area.
    scene.setSceneRect(0, 0, 400 + 2600, 1500 + 240);
    scene.UpdateGridLines();
    QCOMPARE(gridOf(scene), grid);
    QCOMPARE(grid->rect(), QRectF(1300, 120, 400, 1500));
}

void TestGridLines::gridCoversSinglePicture_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("small picture") << QSize(800, 600);
    QTest::newRow("picture larger than the page margins") << QSize(3000, 2000);
}

void TestGridLines::gridCoversSinglePicture()
{
    QFETCH(QSize, size);
    // A picture opened for drawing: scene rect = picture, picture at the origin.
    GraphicsScene scene;
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::darkGray);
    scene.addPixmap(QPixmap::fromImage(picture));
    scene.setSceneRect(0, 0, size.width(), size.height());

    QCOMPARE(scene.gridRect(), QRectF(QPointF(0, 0), size));
    scene.ShowGridLines();
    QCOMPARE(gridOf(scene)->rect(), QRectF(QPointF(0, 0), size));
    // No pixel factor without a project: 10 mm cells at 96 dpi.
    QCOMPARE(gridOf(scene)->step(), 3.7795275590551185);
}

void TestGridLines::gridUnitFromLeftScale()
{
    GraphicsScene scene;
    scene.setSceneRect(0, 0, 3000, 2240);
    pixelsPerUnit = 0.5;
    auto *left = new GraphicsLeftScaleItem;
    left->setLine(QLineF(1300, 120, 1300, 2120));
    left->setStartDepth(0);
    left->setEndDepth(20000); // 0.1 scene units per depth unit
    scene.addItem(left);

    scene.ShowGridLines();
    QCOMPARE(gridOf(scene)->step(), 1.0);

    // A scale with an empty range gives no factor: the fallback step is used.
    left->setEndDepth(0);
    scene.UpdateGridLines();
    QCOMPARE(gridOf(scene)->step(), 3.7795275590551185);
}

void TestGridLines::hiddenGridIsNotResized()
{
    GraphicsScene scene;
    scene.setSceneRect(0, 0, 3000, 1240);
    pixelsPerUnit = 0.1;
    scene.ShowGridLines();
    scene.ShowGridLines(); // hidden
    QGraphicsGridLineItem *grid = gridOf(scene);
    scene.setSceneRect(0, 0, 5000, 5000);
    pixelsPerUnit = 0.3;
    scene.UpdateGridLines();
    QVERIFY(!grid->isVisible());
    QCOMPARE(grid->rect(), QRectF(0, 0, 3000, 1240));
    QCOMPARE(grid->step(), 1.0);
    // Showing it again brings it up to date.
    scene.ShowGridLines();
    QVERIFY(grid->isVisible());
    QCOMPARE(grid->rect(), QRectF(0, 0, 5000, 5000));
    QCOMPARE(grid->step(), 3.0);
}

void TestGridLines::clickAfterShowingGridDoesNotReportIt()
{
    GraphicsScene scene;
    scene.setSceneRect(0, 0, 3000, 1240);
    GraphicsView view;
    view.setScene(&scene);
    view.resize(600, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    scene.ShowGridLines();
    QVERIFY(scene.currentItem() == nullptr);

    QSignalSpy inserted(&scene, &GraphicsScene::itemInserted);
    const QPoint at = view.mapFromScene(QPointF(1500, 600));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(inserted.count(), 1);
    QVERIFY(inserted.at(0).at(0).value<QGraphicsItem *>() == nullptr);
}

void TestGridLines::shownGridLetsTheViewScrollAndCannotBeSelected()
{
    currentMode = Pointer;
    GraphicsScene scene;
    scene.setSceneRect(0, 0, 6000, 6000);
    QImage page(3400, 5760, QImage::Format_RGB32);
    page.fill(Qt::gray);
    scene.addPixmap(QPixmap::fromImage(page))->setPos(1300, 120);
    GraphicsView view;
    view.setScene(&scene);
    view.resetTransform(); // scale 1: the page is far larger than the view
    view.resize(600, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    scene.ShowGridLines();
    QGraphicsGridLineItem *grid = gridOf(scene);
    QVERIFY(grid && grid->isVisible());
    view.centerOn(QPointF(3000, 3000));
    QCOMPARE(view.itemAt(QPoint(300, 200)), grid);

    // A left drag over the grid scrolls the page.
    const int before = view.verticalScrollBar()->value();
    const QPoint from(300, 300);
    const QPoint to(300, 100);
    QTest::mousePress(view.viewport(), Qt::LeftButton, Qt::NoModifier, from);
    for (const QPoint &p : {QPoint(300, 250), QPoint(300, 180), to}) {
        QMouseEvent move(QEvent::MouseMove, p, view.viewport()->mapToGlobal(p), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &move);
    }
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, Qt::NoModifier, to);
    QCOMPARE(view.verticalScrollBar()->value(), before + 200);

    // A click on it selects nothing, so Delete has nothing to take away.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
    QVERIFY(scene.selectedItems().isEmpty());
    QPainterPath everything;
    everything.addRect(scene.sceneRect());
    scene.setSelectionArea(everything);
    QVERIFY(!scene.selectedItems().contains(grid));
    QVERIFY(!grid->isSelected());
}

QTEST_MAIN(TestGridLines)
#include "tst_gridlines.moc"
