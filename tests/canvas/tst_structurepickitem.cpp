// A structure pick on the page: clicked points give the fit and its label, a
// stored pick comes back as the same plane, a dragged point refits and
// reports the change.

#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <cmath>

#include "graphicsstructurepickitem.h"

namespace {

GraphicsStructurePickItem::Page page()
{
    GraphicsStructurePickItem::Page p;
    p.width = 1000;
    p.pageStart = 120000; // 12 m
    p.diameter = 1000;    // 100 mm
    p.pixelsPerUnit = 1000 / (1000 * M_PI);
    return p;
}

// Scene position of the trace of a plane at the given image column.
QPointF onTrace(double column, double z0, double dip, double direction)
{
    const auto p = page();
    const double azimuth = column / p.width * 360.0;
    const double depth = z0 + p.diameter / 2 * std::tan(dip * M_PI / 180) * std::cos((azimuth - direction) * M_PI / 180);
    return QPointF(p.left + column, p.top + (depth - p.pageStart) * p.pixelsPerUnit);
}

} // namespace

class TstStructurePickItem : public QObject
{
    Q_OBJECT

private slots:
    void clickedPointsGiveThePlane();
    void storedPickComesBack();
    void draggedPointRefitsAndReports();
    void hiddenLabelComesBackWhenSelected();
    void pickAtTheTopIsLabelledZero();
    void traceIsDrawnWhereThePlaneCuts_data();
    void traceIsDrawnWhereThePlaneCuts();
};

void TstStructurePickItem::clickedPointsGiveThePlane()
{
    GraphicsStructurePickItem item(page());
    item.addPoint(onTrace(100, 124300, 38, 215));
    item.addPoint(onTrace(400, 124300, 38, 215));
    QVERIFY(!item.fit().valid);
    QVERIFY(item.label().isEmpty());
    item.addPoint(onTrace(700, 124300, 38, 215));
    QVERIFY(item.fit().valid);
    QCOMPARE(item.label(), QString::fromUtf8("12.43 m  38°/215°"));
    // A click beyond the image column is kept on its edge.
    item.addPoint(QPointF(5000, 300));
    QCOMPARE(item.points().last().x(), 1300.0 + 1000.0);

    GraphicsStructurePickItem::Page noDiameter = page();
    noDiameter.diameter = 0;
    GraphicsStructurePickItem flat(noDiameter);
    for (double c : {100.0, 400.0, 700.0})
        flat.addPoint(onTrace(c, 124300, 38, 215));
    QVERIFY(!flat.fit().valid);
}

void TstStructurePickItem::storedPickComesBack()
{
    StructurePick stored;
    stored.id = 7;
    stored.depth = 125000;
    stored.dip = 61;
    stored.dipDirection = 10;
    stored.amplitude = page().diameter / 2 * std::tan(61 * M_PI / 180);
    stored.type = "vein";
    stored.comment = "quartz";
    GraphicsStructurePickItem item(page(), stored);
    const StructurePick back = item.pick();
    QCOMPARE(back.id, qint64(7));
    QCOMPARE(back.type, stored.type);
    QCOMPARE(back.comment, stored.comment);
    QVERIFY(std::fabs(back.depth - stored.depth) < 1e-6);
    QVERIFY(std::fabs(back.dip - stored.dip) < 1e-6);
    QVERIFY(std::fabs(back.dipDirection - stored.dipDirection) < 1e-6);
}

void TstStructurePickItem::draggedPointRefitsAndReports()
{
    QGraphicsScene scene;
    auto *item = new GraphicsStructurePickItem(page());
    scene.addItem(item);
    for (double c : {100.0, 400.0, 700.0})
        item->addPoint(onTrace(c, 124300, 20, 90));
    int reported = 0;
    item->setChangedCallback([&](GraphicsStructurePickItem *) { ++reported; });
    item->setSelected(true);
    const double dipBefore = item->fit().dip;

    const QPointF from = item->points().at(1);
    QGraphicsSceneMouseEvent press(QEvent::GraphicsSceneMousePress);
    press.setButton(Qt::LeftButton);
    press.setScenePos(from);
    scene.sendEvent(item, &press);
    QGraphicsSceneMouseEvent move(QEvent::GraphicsSceneMouseMove);
    move.setButtons(Qt::LeftButton);
    move.setScenePos(from + QPointF(0, 80));
    scene.sendEvent(item, &move);
    QGraphicsSceneMouseEvent release(QEvent::GraphicsSceneMouseRelease);
    release.setButton(Qt::LeftButton);
    release.setScenePos(from + QPointF(0, 80));
    scene.sendEvent(item, &release);

    QCOMPARE(item->points().at(1), from + QPointF(0, 80));
    QVERIFY(std::fabs(item->fit().dip - dipBefore) > 1.0);
    QCOMPARE(reported, 1);
}


namespace {

// The scene's area drawn at the given scale on white.
QImage rendered(QGraphicsScene &scene, const QRectF &area, double scale = 1.0)
{
    QImage image((area.size() * scale).toSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, QRectF(image.rect()), area);
    return image;
}

// Stored pick of the plane at depth z0 (depth units) in the hole of page p.
StructurePick plane(const GraphicsStructurePickItem::Page &p, double z0, double dip, double direction)
{
    StructurePick pick;
    pick.id = 1;
    pick.depth = z0;
    pick.dip = dip;
    pick.dipDirection = direction;
    pick.amplitude = p.diameter / 2 * std::tan(dip * M_PI / 180);
    return pick;
}

} // namespace

void TstStructurePickItem::hiddenLabelComesBackWhenSelected()
{
    QGraphicsScene scene;
    auto *item = new GraphicsStructurePickItem(page(), plane(page(), 124300, 38, 215));
    scene.addItem(item);
    // Coloured pixels of the label column right of the image column.
    const auto labelPixels = [&] {
        const auto p = page();
        const double y = p.top + (item->fit().depth - p.pageStart) * p.pixelsPerUnit;
        const QImage image = rendered(scene, QRectF(p.left + p.width + 4, y - 60, 1000, 120));
        int coloured = 0;
        for (int row = 0; row < image.height(); ++row) {
            for (int column = 0; column < image.width(); ++column)
                coloured += image.pixel(column, row) != qRgb(255, 255, 255);
        }
        return coloured;
    };
    const int shown = labelPixels();
    QVERIFY(shown > 100);
    item->setLabelShown(false);
    QCOMPARE(labelPixels(), 0);
    item->setSelected(true);
    QCOMPARE(labelPixels(), shown);
}

// The fit of a pick at the top of the log may come out a hair above 0 m; its
// label reads 0.00 m, not -0.00 m.
void TstStructurePickItem::pickAtTheTopIsLabelledZero()
{
    auto p = page();
    p.pageStart = 0;
    p.width = 1024;
    p.diameter = 1100;
    p.pixelsPerUnit = p.width / (p.diameter * M_PI);
    for (double direction : {0.0, 90.0, 202.0, 300.0}) {
        const GraphicsStructurePickItem item(p, plane(p, 0, 36, direction));
        QVERIFY2(item.label().startsWith(QStringLiteral("0.00 m")), qPrintable(item.label()));
    }
}

void TstStructurePickItem::traceIsDrawnWhereThePlaneCuts_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("dip");
    QTest::addColumn<double>("direction");
    QTest::newRow("close up") << 1.0 << 38.0 << 215.0;
    QTest::newRow("seen from afar") << 0.25 << 60.0 << 10.0;
    QTest::newRow("flat, from afar") << 0.25 << 0.0 << 0.0;
}

// Wherever it is drawn, at full size or with fewer points from afar, the
// trace runs through the rows where the plane cuts each column.
void TstStructurePickItem::traceIsDrawnWhereThePlaneCuts()
{
    QFETCH(double, scale);
    QFETCH(double, dip);
    QFETCH(double, direction);
    const auto p = page();
    QGraphicsScene scene;
    scene.addItem(new GraphicsStructurePickItem(p, plane(p, 124300, dip, direction)));
    const QImage image = rendered(scene, QRectF(p.left, p.top, p.width, 6000 * p.pixelsPerUnit), scale);
    for (double column = 20; column < p.width - 20; column += 40) {
        const double expected = (onTrace(column, 124300, dip, direction).y() - p.top) * scale;
        double nearest = 1e9;
        for (int row = 0; row < image.height(); ++row) {
            if (image.pixel(int(column * scale), row) != qRgb(255, 255, 255))
                nearest = std::min(nearest, std::fabs(row + 0.5 - expected));
        }
        QVERIFY2(nearest <= 2.0, qPrintable(QStringLiteral("column %1: %2 rows off").arg(column).arg(nearest)));
    }
}

QTEST_MAIN(TstStructurePickItem)
#include "tst_structurepickitem.moc"
