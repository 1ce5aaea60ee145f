// Depth and azimuth scale items: ticks and labels, depth <-> y conversion,
// degenerate depth ranges, and what actually lands on the page when the
// items paint.

#include "graphicsleftscaleitem.h"
#include "graphicstopscaleitem.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QtTest>

#include <cmath>

namespace {

bool isDark(const QImage &img, int x, int y)
{
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height())
        return false;
    return qGray(img.pixel(x, y)) < 128;
}

QImage paintItem(QGraphicsItem *item, const QSize &size)
{
    QImage img(size, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    QStyleOptionGraphicsItem option;
    item->paint(&painter, &option, nullptr);
    painter.end();
    return img;
}

bool isBlank(const QImage &img)
{
    QImage blank(img.size(), img.format());
    blank.fill(Qt::white);
    return img == blank;
}

// Rows (or columns) of the dark runs along one line of pixels.
QVector<int> darkRunStarts(const QVector<bool> &dark)
{
    QVector<int> starts;
    for (int i = 0; i < dark.size(); ++i) {
        if (dark.at(i) && (i == 0 || !dark.at(i - 1)))
            starts << i;
    }
    return starts;
}

} // namespace

class TestScaleItems : public QObject
{
    Q_OBJECT

private slots:
    void nullLineDrawsNothing();
    void topScalePaintsTicksAndBaseLine();
    void topScaleSkipsLettersOnNarrowImages_data();
    void topScaleSkipsLettersOnNarrowImages();

    void leftScaleSpacingAndConversion_data();
    void leftScaleSpacingAndConversion();
    void leftScaleRoundTrip();
    void leftScaleEmptyOrReversedRange();
    void leftScaleTicksAndLabels();
    void leftScaleRunEndsWithoutGapOrDoubleTick_data();
    void leftScaleRunEndsWithoutGapOrDoubleTick();
    void leftScalePaintsTicks();
    void leftScaleLabelsClearOfEachOtherAndTheImage_data();
    void leftScaleLabelsClearOfEachOtherAndTheImage();
};

void TestScaleItems::nullLineDrawsNothing()
{
    GraphicsTopScaleItem top{QLineF()};
    QVERIFY(top.tickLines().isEmpty());
    QVERIFY(top.labelPositions().isEmpty());
    QVERIFY(isBlank(paintItem(&top, QSize(200, 200))));

    GraphicsLeftScaleItem left;
    QVERIFY(left.ticks(80).isEmpty());
    QVERIFY(isBlank(paintItem(&left, QSize(100, 100))));
}

void TestScaleItems::topScalePaintsTicksAndBaseLine()
{
    GraphicsTopScaleItem top(QLineF(1300, 120, 2300, 120));
    const QImage img = paintItem(&top, QSize(2500, 200));

    // In the tick band below the labels only the five ticks are drawn.
    for (int y : {104, 110, 117}) {
        QVector<bool> row;
        for (int x = 0; x < img.width(); ++x)
            row << isDark(img, x, y);
        QCOMPARE(darkRunStarts(row), QVector<int>({1300, 1550, 1800, 2050, 2300}));
    }
    // Nothing below the item's line.
    for (int x = 1250; x < 2350; ++x)
        QVERIFY2(!isDark(img, x, 125), qPrintable(QString::number(x)));
    // The base line runs one unit above the item's line, end to end.
    for (int x = 1301; x < 2300; ++x)
        QVERIFY2(isDark(img, x, 119), qPrintable(QString::number(x)));
    // Labels sit above the ticks.
    bool labelInk = false;
    for (int y = 40; y < 100 && !labelInk; ++y) {
        for (int x = 1515; x < 1560 && !labelInk; ++x)
            labelInk = isDark(img, x, y);
    }
    QVERIFY(labelInk);
}

void TestScaleItems::topScaleSkipsLettersOnNarrowImages_data()
{
    QTest::addColumn<double>("width");
    QTest::newRow("wide") << 1000.0;
    QTest::newRow("sample width") << 400.0;
    QTest::newRow("narrow") << 240.0;
    QTest::newRow("narrower") << 160.0;
    QTest::newRow("very narrow") << 60.0;
}

void TestScaleItems::topScaleSkipsLettersOnNarrowImages()
{
    QFETCH(double, width);
    GraphicsTopScaleItem top(QLineF(1300, 120, 1300 + width, 120));
    QImage img(2500, 200, QImage::Format_ARGB32);
    QPainter painter(&img);
    const QFontMetricsF metrics(GraphicsTopScaleItem::labelFont(), painter.device());
    painter.end();

    const QVector<int> shown = top.shownLabels(metrics);
    const QVector<QPointF> positions = top.labelPositions();
    QVERIFY(!shown.isEmpty());
    QCOMPARE(shown.first(), 0); // north on the left edge always
    // Every letter drawn stands clear of its neighbour.
    for (int i = 1; i < shown.size(); ++i) {
        const int a = shown.at(i - 1);
        const int b = shown.at(i);
        QVERIFY(b > a);
        const double rightOfA = positions.at(a).x() + metrics.horizontalAdvance(top.labels().at(a));
        QVERIFY2(positions.at(b).x() > rightOfA,
                 qPrintable(QStringLiteral("%1 runs into %2").arg(top.labels().at(a), top.labels().at(b))));
    }
    // Letters are only left out where all five would not fit.
    bool allFit = true;
    for (int k = 1; k < 5; ++k)
        allFit = allFit && positions.at(k).x()
                               > positions.at(k - 1).x() + metrics.horizontalAdvance(top.labels().at(k - 1))
                                     + metrics.horizontalAdvance(QLatin1Char(' '));
    QCOMPARE(shown.size() == 5, allFit);
    if (width >= 1000)
        QCOMPARE(shown.size(), 5);
    if (width <= 60)
        QCOMPARE(shown, QVector<int>({0}));
}

void TestScaleItems::leftScaleSpacingAndConversion_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("spacing");

    QTest::newRow("2 m on 2000 units") << 0.0 << 20000.0 << 2000.0 << 20.0;
    QTest::newRow("offset start") << 123400.0 << 143400.0 << 2000.0 << 20.0;
    QTest::newRow("5 m on 637 units") << 50000.0 << 100000.0 << 637.0 << 637.0 / 250.0;
}

void TestScaleItems::leftScaleSpacingAndConversion()
{
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(double, length);
    QFETCH(double, spacing);

    GraphicsLeftScaleItem left;
    left.setLine(QLineF(1300, 120, 1300, 120 + length));
    left.setStartDepth(start);
    left.setEndDepth(end);
    QCOMPARE(left.tickSpacing(), spacing);
    QCOMPARE(left.pixelsPerDepthUnit(), spacing / 200.0);
    QCOMPARE(left.depthToY(int(start)), 120.0);
    QCOMPARE(left.depthToY(int(end)), 120.0 + length);
    QCOMPARE(left.yToDepth(0), int(start));
    QCOMPARE(left.yToDepth(int(length)), int(end));
}

void TestScaleItems::leftScaleRoundTrip()
{
    GraphicsLeftScaleItem left;
    left.setLine(QLineF(1300, 120, 1300, 2120));
    left.setStartDepth(123400);
    left.setEndDepth(143400); // 10 depth units per scene unit
    for (int depth = 123400; depth <= 143400; depth += 730) {
        const double y = left.depthToY(depth);
        QCOMPARE(left.yToDepth(int(y - 120.0)), depth);
    }
    // Truncation: a y between two depth units gives the shallower one.
    QCOMPARE(left.yToDepth(5), 123450);
    QCOMPARE(left.depthToY(123455), 120.0 + 5.5);
}

void TestScaleItems::leftScaleEmptyOrReversedRange()
{
    // End equal to start: no infinite spacing, conversions stay finite.
    GraphicsLeftScaleItem left;
    left.setLine(QLineF(1300, 120, 1300, 1120));
    left.setStartDepth(50000);
    left.setEndDepth(50000);
    QCOMPARE(left.tickSpacing(), 0.0);
    QVERIFY(qIsFinite(left.pixelsPerDepthUnit()));
    QCOMPARE(left.yToDepth(300), 50000);
    QVERIFY(qIsFinite(left.depthToY(60000)));
    QVector<GraphicsLeftScaleItem::Tick> ticks = left.ticks(80);
    QCOMPARE(ticks.size(), 1); // only the end tick
    QCOMPARE(ticks.first().line, QLineF(1300, 1120, 1264, 1120));
    QCOMPARE(ticks.first().label, QString("5.00"));
    paintItem(&left, QSize(1400, 1200)); // must not hang or crash

    // End above start: the run would never reach the bottom; only the end tick.
    GraphicsLeftScaleItem reversed;
    reversed.setLine(QLineF(1300, 120, 1300, 1120));
    reversed.setStartDepth(60000);
    reversed.setEndDepth(50000);
    QVERIFY(reversed.tickSpacing() < 0);
    QCOMPARE(reversed.ticks(80).size(), 1);
    paintItem(&reversed, QSize(1400, 1200));
}

void TestScaleItems::leftScaleTicksAndLabels()
{
    GraphicsLeftScaleItem left;
    left.setLine(QLineF(1300, 120, 1300, 2120));
    left.setStartDepth(0);
    left.setEndDepth(20000);
    const double labelHeight = 80;
    const QVector<GraphicsLeftScaleItem::Tick> ticks = left.ticks(labelHeight);

    // 100 run ticks every 20 units (offsets 0 ... 1980) plus the end tick;
    // where they are drawn is checked in leftScalePaintsTicks.
    QCOMPARE(ticks.size(), 101);
    for (int i = 0; i < 100; ++i) {
        const QString &label = ticks.at(i).label;
        // Labels every 100 units (10 cm), except where they would run into
        // the end label.
        if (i % 5 != 0 || 2000 - i * 20 < 60 + labelHeight)
            QVERIFY2(label.isEmpty(), qPrintable(label));
        else
            QCOMPARE(label, i == 0 ? QString("0.00m") : QString::number(i * 0.02, 'f', 2));
    }
    QCOMPARE(ticks.last().line.y1(), 2120.0);
    QCOMPARE(ticks.last().label, QString("2.00"));

    // A page starting at 12.34 m.
    GraphicsLeftScaleItem deep;
    deep.setLine(QLineF(1300, 120, 1300, 2120));
    deep.setStartDepth(123400);
    deep.setEndDepth(143400);
    const QVector<GraphicsLeftScaleItem::Tick> deepTicks = deep.ticks(labelHeight);
    QCOMPARE(deepTicks.at(0).label, QString("12.34m"));
    QCOMPARE(deepTicks.at(5).label, QString("12.44"));
    QCOMPARE(deepTicks.at(10).label, QString("12.54"));
    QCOMPARE(deepTicks.last().label, QString("14.34"));
}

void TestScaleItems::leftScaleRunEndsWithoutGapOrDoubleTick_data()
{
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("span"); // depth units

    QTest::newRow("tick on the end") << 2000.0 << 20000.0;
    QTest::newRow("tick on the end, inexact spacing") << 1990.0 << 20000.0;
    QTest::newRow("tick just above the end") << 2003.0 << 20000.0;
    QTest::newRow("tick well above the end") << 2013.0 << 20000.0;
    QTest::newRow("odd page") << 1234.0 << 48111.0;
    QTest::newRow("offset line") << 777.0 << 9999.0;
}

void TestScaleItems::leftScaleRunEndsWithoutGapOrDoubleTick()
{
    QFETCH(double, length);
    QFETCH(double, span);

    GraphicsLeftScaleItem left;
    left.setLine(QLineF(1300.4, 120.7, 1300.4, 120.7 + length));
    left.setStartDepth(30000);
    left.setEndDepth(30000 + span);
    const double spacing = left.tickSpacing();
    const QVector<GraphicsLeftScaleItem::Tick> ticks = left.ticks(80);
    QVERIFY(ticks.size() >= 2);

    const double y0 = 120; // truncated
    const double bottom = y0 + int(left.line().length());
    QCOMPARE(ticks.last().line.y1(), bottom);
    const double lastRun = ticks.at(ticks.size() - 2).line.y1();
    // No second tick on (or nearly on) the end tick, and no hole above it.
    QVERIFY2(bottom - lastRun >= spacing / 4, qPrintable(QString::number(bottom - lastRun)));
    QVERIFY2(bottom - lastRun <= spacing * 1.25 + 1e-9, qPrintable(QString::number(bottom - lastRun)));
    // The run itself is evenly spaced from the top.
    for (int i = 0; i < ticks.size() - 1; ++i)
        QVERIFY(qAbs(ticks.at(i).line.y1() - (y0 + i * spacing)) < 1e-6);
}

void TestScaleItems::leftScalePaintsTicks()
{
    GraphicsLeftScaleItem left;
    left.setLine(QLineF(1300, 120, 1300, 1120));
    left.setStartDepth(0);
    left.setEndDepth(10000); // spacing 20
    const QImage img = paintItem(&left, QSize(1400, 1250));

    // Column crossed by every tick (minor ticks are 20 long).
    QVector<bool> minorColumn;
    QVector<bool> majorColumn;
    for (int y = 0; y < img.height(); ++y) {
        minorColumn << isDark(img, 1290, y);
        majorColumn << isDark(img, 1278, y); // only major ticks are this long
    }
    QVector<int> all;
    QVector<int> majors;
    for (int i = 0; i * 20 < 1000; ++i) {
        all << 120 + i * 20;
        if (i % 5 == 0)
            majors << 120 + i * 20;
    }
    all << 1120;
    majors << 1120;
    QCOMPARE(darkRunStarts(minorColumn), all);
    QCOMPARE(darkRunStarts(majorColumn), majors);

    // Base line one unit left of the item's line, top to bottom.
    for (int y = 121; y < 1120; ++y)
        QVERIFY2(isDark(img, 1299, y), qPrintable(QString::number(y)));
    // Nothing right of the line, and the top label ink in the label column.
    for (int y = 0; y < img.height(); ++y)
        QVERIFY(!isDark(img, 1310, y));
    bool labelInk = false;
    for (int y = 100; y < 170 && !labelInk; ++y) {
        for (int x = 1000; x < 1240 && !labelInk; ++x)
            labelInk = isDark(img, x, y);
    }
    QVERIFY(labelInk);
}

void TestScaleItems::leftScaleLabelsClearOfEachOtherAndTheImage_data()
{
    QTest::addColumn<double>("start"); // metres
    QTest::addColumn<double>("rowsPerMetre");

    // A 100 mm hole on a 400 px image: 1274 rows per metre; then ever more
    // compressed pages, whose labels must thin out (how far depends on the
    // font the system gives for the label font).
    QTest::newRow("sample page") << 10.0 << 1274.0;
    QTest::newRow("700 rows a metre") << 10.0 << 700.0;
    QTest::newRow("300 rows a metre") << 10.0 << 300.0;
    QTest::newRow("120 rows a metre") << 10.0 << 120.0;
    QTest::newRow("60 rows a metre") << 10.0 << 60.0;
    // Depths of a deep log have long labels.
    QTest::newRow("deep") << 1960.3 << 1274.0;
    QTest::newRow("deep, dense") << 1960.3 << 300.0;
}

void TestScaleItems::leftScaleLabelsClearOfEachOtherAndTheImage()
{
    QFETCH(double, start);
    QFETCH(double, rowsPerMetre);

    const double metres = 4.0;
    const double length = std::floor(metres * rowsPerMetre);
    GraphicsLeftScaleItem left;
    left.setLine(QLineF(1300, 120, 1300, 120 + length));
    left.setStartDepth(std::round(start * 10000));
    left.setEndDepth(std::round((start + metres) * 10000));

    QImage img(1400, int(length) + 300, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    const QFontMetricsF metrics(GraphicsLeftScaleItem::labelFont(), painter.device());
    QCOMPARE(metrics.height(), QFontMetricsF(GraphicsLeftScaleItem::labelFont()).height());
    QStyleOptionGraphicsItem option;
    left.paint(&painter, &option, nullptr);
    painter.end();

    // Labels thin out only as far as they must: at the next finer step of
    // 1, 2, 5, 10, 20 ... marks two labels would stand closer than a label's
    // height and an eighth.
    const int stride = left.labelStride(metrics.height());
    const double tenCm = length / (metres * 10.0);
    const QVector<int> steps{1, 2, 5, 10, 20, 50, 100, 200, 500};
    QVERIFY(steps.contains(stride));
    if (stride > 1)
        QVERIFY(steps.at(steps.indexOf(stride) - 1) * tenCm < metrics.height() * 1.125 + 1e-6);
    const QVector<GraphicsLeftScaleItem::Tick> ticks = left.ticks(metrics.height());
    double previousBaseline = -1e9;
    int labels = 0;
    for (int i = 0; i < ticks.size(); ++i) {
        const GraphicsLeftScaleItem::Tick &t = ticks.at(i);
        if (t.label.isEmpty())
            continue;
        ++labels;
        // Run labels only at every stride-th 10 cm mark.
        if (i < ticks.size() - 1)
            QVERIFY2(i % (5 * stride) == 0, qPrintable(t.label));
        const QPointF at = GraphicsLeftScaleItem::labelPoint(t, metrics.horizontalAdvance(t.label));
        const QRectF box(at.x(), at.y() - metrics.ascent(), metrics.horizontalAdvance(t.label),
                         metrics.height());
        // Clear of the one above, of the ticks and of the image; inside the
        // area the item repaints.
        QVERIFY2(box.top() >= previousBaseline + metrics.descent(), qPrintable(t.label));
        previousBaseline = at.y();
        QVERIFY2(box.right() <= 1300 - 36, qPrintable(t.label));
        QVERIFY2(left.boundingRect().contains(box.adjusted(0, 0, 0, -metrics.descent())),
                 qPrintable(t.label));
    }
    QVERIFY(labels >= 2);
    // No ink on the image side of the scale line.
    for (int y = 0; y < img.height(); ++y)
        for (int x = 1301; x < img.width(); ++x)
            QVERIFY2(!isDark(img, x, y), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
}

QTEST_MAIN(TestScaleItems)
#include "tst_scaleitems.moc"
