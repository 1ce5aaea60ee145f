// Fitted curve, angle and dip items: construction by mouse, the drawing flag
// they leave for the scene, handle editing, hit shapes and the angle labels.

#include "graphicsangleitem.h"
#include "graphicscurveitem.h"
#include "graphicsdipitem.h"
#include "graphicsscene.h"
#include "itemstyle.h"
#include "mode.h"

#include <QApplication>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include <qwt_curve_fitter.h>

namespace {

// Sends scene mouse events the way QGraphicsView does, with the press
// position remembered for the release.
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
    void click(const QPointF &p)
    {
        press(p);
        release(p);
    }
    void drag(const QPointF &from, const QPointF &to)
    {
        press(from);
        move((from + to) / 2);
        move(to);
        release(to);
    }

private:
    void send(QEvent::Type type, const QPointF &p, Qt::MouseButton b)
    {
        QGraphicsSceneMouseEvent e(type);
        e.setScenePos(p);
        e.setScreenPos(p.toPoint());
        e.setLastScenePos(m_last);
        e.setLastScreenPos(m_last.toPoint());
        e.setButtonDownScenePos(Qt::LeftButton, m_down);
        e.setButtonDownScreenPos(Qt::LeftButton, m_down.toPoint());
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

// Paints the whole scene once, which is when a curve replaces its polygon by
// the fitted spline.
void renderScene(QGraphicsScene &scene)
{
    QImage image(400, 400, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    scene.render(&painter, QRectF(image.rect()), scene.sceneRect());
}

bool near(const QPointF &a, const QPointF &b, double tol = 1e-6)
{
    return qAbs(a.x() - b.x()) <= tol && qAbs(a.y() - b.y()) <= tol;
}

} // namespace

class TestCurveItems : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Curve
    void curveClicksAddControlPoints();
    void curveFittedPointCount_data();
    void curveFittedPointCount();
    void curveRepaintKeepsFittedCurve();
    void curveSetPointsTreats250AsFitterOutput();
    void curveSinglePointHitShape();
    void curveHandleDrag();
    void curveHitAlongWholeCurve();
    void curveStyleFromItemStyle();

    // Angle
    void angleTwoDrags();
    void angleClickWithoutDragWaits();
    void angleRightAngleAndArc();
    void angleZeroArmShowsZero();
    void angleStraightLineIsFinite();
    void angleLabelRendered();

    // Dip
    void dipAngle_data();
    void dipAngle();
    void dipClearsDrawingOnMove();
    void dipClickWithoutDragWaits();

    // Through the scene's tool modes
    void sceneCurveEndsWithRightButton();
    void sceneAngleEndsAfterSecondDrag();
    void sceneDipEndsAfterOneDrag();

    void typeCodes();

private:
    QGraphicsScene *m_scene = nullptr;
};

void TestCurveItems::init()
{
    m_scene = new QGraphicsScene(0, 0, 4000, 4000);
    ItemStyle::instance()->setDrawing(false);
    currentMode = Pointer;
}

void TestCurveItems::cleanup()
{
    delete m_scene;
    m_scene = nullptr;
    currentMode = Pointer;
    ItemStyle::instance()->setDrawing(false);
}

void TestCurveItems::curveClicksAddControlPoints()
{
    currentMode = FitCurve;
    SceneMouse mouse(m_scene);
    const QPointF p0(100, 100);
    auto *curve = new GraphicsCurveItem(p0);
    m_scene->addItem(curve);

    mouse.click(p0);
    QCOMPARE(curve->controlPoints(), QPolygonF() << p0);
    QVERIFY(ItemStyle::instance()->drawing());
    QCOMPARE(m_scene->mouseGrabberItem(), curve);

    mouse.click(QPointF(200, 150));
    mouse.click(QPointF(300, 120));
    QCOMPARE(curve->controlPoints().size(), 3);

    // A double click (second release on the last point) adds nothing.
    mouse.click(QPointF(300, 120));
    QCOMPARE(curve->controlPoints().size(), 3);

    // Dragging shows where the next point would go, without adding it.
    mouse.press(QPointF(350, 200));
    mouse.move(QPointF(400, 260));
    QCOMPARE(curve->controlPoints().size(), 3);
    QCOMPARE(curve->polygon().size(), 4);
    QCOMPARE(curve->polygon().last(), QPointF(400, 260));
    mouse.release(QPointF(400, 260));
    QCOMPARE(curve->controlPoints().size(), 4);
    QCOMPARE(curve->controlPoints().last(), QPointF(400, 260));
    QCOMPARE(curve->handles().size(), 4);
    QCOMPARE(curve->handles().at(3).boundingRect(), QRect(390, 250, 20, 20));

    // The curve never clears the flag: only the right button ends it.
    QVERIFY(ItemStyle::instance()->drawing());

    // Outside its own mode the curve no longer builds.
    currentMode = Pointer;
    m_scene->mouseGrabberItem()->ungrabMouse();
    mouse.click(QPointF(500, 500));
    QCOMPARE(curve->controlPoints().size(), 4);
}

void TestCurveItems::curveFittedPointCount_data()
{
    QTest::addColumn<QPolygonF>("clicks");
    QTest::addColumn<int>("fitted");
    auto poly = [](std::initializer_list<QPointF> pts) { return QPolygonF(QVector<QPointF>(pts)); };
    QTest::newRow("one point") << poly({QPointF(100, 100)}) << 1;
    QTest::newRow("two points") << poly({QPointF(100, 100), QPointF(300, 200)}) << 2;
    QTest::newRow("three points")
            << poly({QPointF(100, 100), QPointF(200, 300), QPointF(300, 150)}) << 250;
    // x not increasing: the fitter switches to a parametric spline.
    QTest::newRow("loop")
            << poly({QPointF(100, 100), QPointF(300, 100), QPointF(300, 300), QPointF(100, 300)})
            << 250;
}

void TestCurveItems::curveFittedPointCount()
{
    QFETCH(QPolygonF, clicks);
    QFETCH(int, fitted);
    currentMode = FitCurve;
    SceneMouse mouse(m_scene);
    auto *curve = new GraphicsCurveItem(clicks.first());
    m_scene->addItem(curve);
    for (const QPointF &p : clicks)
        mouse.click(p);
    QCOMPARE(curve->controlPoints(), clicks);

    renderScene(*m_scene);
    QCOMPARE(curve->polygon().size(), fitted);
    QCOMPARE(curve->controlPoints(), clicks);
    QCOMPARE(curve->handles().size(), clicks.size());
    // The spline runs through its end points.
    QVERIFY(near(curve->polygon().first(), clicks.first(), 1e-6));
    QVERIFY(near(curve->polygon().last(), clicks.last(), 1e-6));
    if (fitted == 250) {
        QwtSplineCurveFitter fitter;
        QCOMPARE(curve->polygon(), fitter.fitCurve(clicks));
    }
}

void TestCurveItems::curveRepaintKeepsFittedCurve()
{
    // Painting again must not fit the fitted curve once more (which would
    // pull the curve away from the points the user placed).
    currentMode = FitCurve;
    SceneMouse mouse(m_scene);
    const QPolygonF clicks = QPolygonF() << QPointF(500, 500) << QPointF(900, 520)
                                         << QPointF(880, 900) << QPointF(450, 880);
    auto *curve = new GraphicsCurveItem(clicks.first());
    m_scene->addItem(curve);
    for (const QPointF &p : clicks)
        mouse.click(p);
    renderScene(*m_scene);
    const QPolygonF first = curve->polygon();
    for (int i = 0; i < 5; ++i)
        renderScene(*m_scene);
    QCOMPARE(curve->polygon(), first);
    QwtSplineCurveFitter fitter;
    QCOMPARE(first, fitter.fitCurve(clicks));
}

void TestCurveItems::curveSetPointsTreats250AsFitterOutput()
{
    auto *curve = new GraphicsCurveItem(QPointF(10, 10));
    m_scene->addItem(curve);
    const QPolygonF controls = QPolygonF() << QPointF(10, 10) << QPointF(20, 30) << QPointF(40, 15);
    curve->setPoints(controls);
    QCOMPARE(curve->controlPoints(), controls);

    for (int n : {249, 250, 251}) {
        QPolygonF many;
        for (int i = 0; i < n; ++i)
            many << QPointF(i, i % 7);
        curve->setPoints(controls);
        curve->setPoints(many);
        QCOMPARE(curve->polygon(), many);
        if (n == 250) {
            QCOMPARE(curve->controlPoints(), controls);
            QCOMPARE(curve->handles().size(), controls.size());
        } else {
            QCOMPARE(curve->controlPoints(), many);
            QCOMPARE(curve->handles().size(), n);
        }
    }
}

void TestCurveItems::curveSinglePointHitShape()
{
    auto *curve = new GraphicsCurveItem(QPointF(1000, 1000));
    m_scene->addItem(curve);
    QVERIFY(curve->shape().contains(QPointF(1002, 1000)));
    QVERIFY(!curve->shape().contains(QPointF(1004, 1000)));
    // The item is found at the press that created it.
    QCOMPARE(m_scene->itemAt(QPointF(1000, 1000), QTransform()), curve);

    // Two points: a straight segment, hit within 10 units.
    curve->setPoints(QPolygonF() << QPointF(1000, 1000) << QPointF(1200, 1000));
    QVERIFY(curve->shape().contains(QPointF(1100, 1009)));
    QVERIFY(!curve->shape().contains(QPointF(1100, 1012)));
    const QRectF br = curve->boundingRect();
    QVERIFY(br.contains(QRectF(900, 900, 400, 500)));
}

void TestCurveItems::curveHandleDrag()
{
    currentMode = FitCurve;
    SceneMouse mouse(m_scene);
    const QPolygonF clicks = QPolygonF() << QPointF(100, 100) << QPointF(200, 300)
                                         << QPointF(300, 150);
    auto *curve = new GraphicsCurveItem(clicks.first());
    m_scene->addItem(curve);
    for (const QPointF &p : clicks)
        mouse.click(p);
    curve->ungrabMouse();
    currentMode = Pointer;
    renderScene(*m_scene);

    // An unselected curve is selected by a click on it.
    mouse.click(QPointF(100, 100));
    QVERIFY(curve->isSelected());
    QVERIFY(!curve->handleGrabbed());

    // Press on the middle handle (within its 20 x 20 square) and drag it.
    mouse.press(QPointF(205, 295));
    QVERIFY(curve->handleGrabbed());
    QCOMPARE(curve->grabbedHandleIndex(), 1);
    mouse.move(QPointF(220, 400));
    QCOMPARE(curve->controlPoints().at(1), QPointF(220, 400));
    QCOMPARE(curve->controlPoints().at(0), QPointF(100, 100));
    QCOMPARE(curve->handles().at(1).boundingRect(), QRect(210, 390, 20, 20));
    mouse.release(QPointF(220, 400));
    // The curve as a whole does not move.
    QCOMPARE(curve->pos(), QPointF(0, 0));

    renderScene(*m_scene);
    QwtSplineCurveFitter fitter;
    QCOMPARE(curve->polygon(), fitter.fitCurve(curve->controlPoints()));

    // A later press on the curve away from every handle drags nothing, not
    // even the handle grabbed before.
    const QPointF onCurve = curve->polygon().at(60);
    QVERIFY(curve->shape().contains(onCurve));
    mouse.press(onCurve);
    QVERIFY(!curve->handleGrabbed());
    mouse.move(onCurve + QPointF(50, 50));
    mouse.release(onCurve + QPointF(50, 50));
    QCOMPARE(curve->controlPoints().at(1), QPointF(220, 400));
    QCOMPARE(curve->controlPoints().size(), 3);
    QCOMPARE(curve->pos(), QPointF(0, 0));
}

void TestCurveItems::curveHitAlongWholeCurve()
{
    // Every point of the drawn curve, and points up to 9 units beside it,
    // pick the curve, whatever the direction in which it was drawn.
    const QPolygonF clicks = QPolygonF() << QPointF(300, 100) << QPointF(100, 300)
                                         << QPointF(300, 500) << QPointF(500, 300)
                                         << QPointF(320, 120);
    auto *curve = new GraphicsCurveItem(clicks.first());
    m_scene->addItem(curve);
    curve->setPoints(clicks);
    renderScene(*m_scene);
    const QPolygonF drawn = curve->polygon();
    QCOMPARE(drawn.size(), 250);
    const QPainterPath hit = curve->shape();
    for (int i = 0; i < drawn.size(); i += 7) {
        QVERIFY2(hit.contains(drawn.at(i)), qPrintable(QString::number(i)));
        QVERIFY(hit.contains(drawn.at(i) + QPointF(0, 6)));
        QVERIFY(hit.contains(drawn.at(i) - QPointF(6, 0)));
    }
    QVERIFY(curve->boundingRect().contains(hit.boundingRect()));
}

void TestCurveItems::curveStyleFromItemStyle()
{
    ItemStyle::instance()->setColor(Qt::blue);
    ItemStyle::instance()->setLineWidth(3);
    GraphicsCurveItem curve(QPointF(0, 0));
    GraphicsAngleItem angle(QPointF(0, 0));
    ItemStyle::instance()->setColor(Qt::black);
    ItemStyle::instance()->setLineWidth(8);
    for (QAbstractGraphicsShapeItem *item :
         std::initializer_list<QAbstractGraphicsShapeItem *>{&curve, &angle}) {
        QCOMPARE(item->pen().color(), QColor(Qt::blue));
        QCOMPARE(item->pen().width(), 3);
        QCOMPARE(item->pen().capStyle(), Qt::SquareCap);
        QCOMPARE(item->pen().joinStyle(), Qt::BevelJoin);
        QVERIFY(item->flags() & QGraphicsItem::ItemIsSelectable);
        QVERIFY(!(item->flags() & QGraphicsItem::ItemIsMovable));
        QVERIFY(item->acceptHoverEvents());
    }
}

void TestCurveItems::angleTwoDrags()
{
    currentMode = InsertAngle;
    SceneMouse mouse(m_scene);
    const QPointF s(100, 400);
    auto *angle = new GraphicsAngleItem(s);
    m_scene->addItem(angle);
    QCOMPARE(angle->polygon(), QPolygonF() << s << QPointF(0, 0) << QPointF(0, 0));

    // First drag: S to the vertex; the flag stays set and the grab is kept.
    mouse.press(s);
    QVERIFY(ItemStyle::instance()->drawing());
    mouse.move(QPointF(300, 400));
    mouse.move(QPointF(400, 400));
    QCOMPARE(angle->polygon().at(1), QPointF(400, 400));
    mouse.release(QPointF(400, 400));
    QVERIFY(angle->secondArm());
    QVERIFY(ItemStyle::instance()->drawing());
    QCOMPARE(m_scene->mouseGrabberItem(), angle);
    QCOMPARE(angle->angleDegrees(), 0.0); // no second arm yet

    // Second drag anywhere: E follows, the flag clears, the release ends it.
    mouse.press(QPointF(1000, 1000));
    QVERIFY(ItemStyle::instance()->drawing());
    mouse.move(QPointF(420, 300));
    QVERIFY(!ItemStyle::instance()->drawing());
    mouse.move(QPointF(400, 100));
    QCOMPARE(angle->polygon().at(2), QPointF(400, 100));
    QCOMPARE(angle->polygon().at(1), QPointF(400, 400));
    mouse.release(QPointF(400, 100));
    QCOMPARE(m_scene->mouseGrabberItem(), nullptr);
    QCOMPARE(angle->angleText(), QStringLiteral("90"));

    // A finished angle is no longer built when clicked in another mode.
    currentMode = Pointer;
    mouse.click(QPointF(400, 250));
    QCOMPARE(angle->polygon().at(2), QPointF(400, 100));
    QVERIFY(angle->isSelected());
}

void TestCurveItems::angleClickWithoutDragWaits()
{
    currentMode = InsertAngle;
    SceneMouse mouse(m_scene);
    const QPointF s(500, 500);
    auto *angle = new GraphicsAngleItem(s);
    m_scene->addItem(angle);
    mouse.click(s);
    QVERIFY(!angle->secondArm());
    QVERIFY(GraphicsAngleItem::isUnset(angle->polygon().at(1)));
    QVERIFY(ItemStyle::instance()->drawing());
    QCOMPARE(m_scene->mouseGrabberItem(), angle);
    // The next drag, wherever it starts, makes the first arm.
    mouse.drag(QPointF(2000, 2000), QPointF(700, 500));
    QCOMPARE(angle->polygon().at(1), QPointF(700, 500));
    QVERIFY(angle->secondArm());
}

void TestCurveItems::angleRightAngleAndArc()
{
    // S = (0, 100), V = (100, 100), E = (100, 0): 90 degrees.
    auto *angle = new GraphicsAngleItem(QPointF(0, 100));
    m_scene->addItem(angle);
    angle->setPolygon(QPolygonF() << QPointF(0, 100) << QPointF(100, 100) << QPointF(100, 0));
    QCOMPARE(angle->angleText(), QStringLiteral("90"));
    QVERIFY(qAbs(angle->angleDegrees() - 90.0) < 0.01);

    // 60 degrees from an equilateral triangle.
    angle->setPolygon(QPolygonF() << QPointF(1000, 1000) << QPointF(1100, 1000)
                                  << QPointF(1050, 1000 - 86.60254037844386));
    QVERIFY(qAbs(angle->angleDegrees() - 60.0) < 0.01);
    QCOMPARE(angle->angleText(), QStringLiteral("60"));
    // 4 significant digits.
    angle->setPolygon(QPolygonF() << QPointF(1000, 1000) << QPointF(1100, 1000)
                                  << QPointF(1200, 1050));
    // (153.43 degrees: V->S points back along the x axis, V->E at 26.57
    // degrees below it.)
    QString t = angle->angleText();
    QVERIFY2(t.remove('.').size() <= 4, qPrintable(angle->angleText()));
    QCOMPARE(angle->angleText(), QStringLiteral("153.4"));
    // Radians are turned into degrees with pi taken as 3.1415, as every
    // angle label of the program does.
    angle->setPolygon(QPolygonF() << QPointF(0, 100) << QPointF(100, 100) << QPointF(100, 0));
    QVERIFY(qAbs(angle->angleDegrees() - 1.5707963267948966 * 180.0 / 3.1415) < 1e-9);

    // The hit shape follows the arms.
    angle->setPolygon(QPolygonF() << QPointF(0, 100) << QPointF(100, 100) << QPointF(100, 0));
    QVERIFY(angle->shape().contains(QPointF(50, 108)));
    QVERIFY(angle->shape().contains(QPointF(108, 50)));
    QVERIFY(!angle->shape().contains(QPointF(20, 20)));

    // Bounds: the shape's bounding rectangle grown by 50 to the left and
    // top and 150 to the right and bottom (sizes truncated), for finished
    // and unfinished angles alike.
    const QList<QPolygonF> shapes = {
        QPolygonF() << QPointF(0, 100) << QPointF(100, 100) << QPointF(100, 0),
        QPolygonF() << QPointF(300, 300) << QPointF(420, 610) << QPointF(0, 0),
        QPolygonF() << QPointF(300, 300) << QPointF(0, 0) << QPointF(0, 0),
        QPolygonF() << QPointF(10.5, 20.25) << QPointF(700.75, 30) << QPointF(650, 900.5)};
    for (const QPolygonF &points : shapes) {
        angle->setPolygon(points);
        const QRectF sb = angle->shape().boundingRect();
        const QRectF expected(sb.x() - 50, sb.y() - 50, int(sb.width() + 200),
                              int(sb.height() + 200));
        const QRectF br = angle->boundingRect();
        QVERIFY2(qAbs(br.x() - expected.x()) < 1e-6 && qAbs(br.y() - expected.y()) < 1e-6
                     && qAbs(br.width() - expected.width()) <= 1.0
                     && qAbs(br.height() - expected.height()) <= 1.0,
                 qPrintable(QStringLiteral("%1,%2 %3x%4").arg(br.x()).arg(br.y())
                                .arg(br.width()).arg(br.height())));
    }
}

void TestCurveItems::angleZeroArmShowsZero()
{
    auto *angle = new GraphicsAngleItem(QPointF(100, 100));
    m_scene->addItem(angle);
    // Second drag ending on the vertex.
    angle->setPolygon(QPolygonF() << QPointF(100, 100) << QPointF(300, 100) << QPointF(300, 100));
    QCOMPARE(angle->angleText(), QStringLiteral("0"));
    // First arm of no length.
    angle->setPolygon(QPolygonF() << QPointF(100, 100) << QPointF(100, 100) << QPointF(300, 100));
    QCOMPARE(angle->angleText(), QStringLiteral("0"));
    renderScene(*m_scene); // painting the degenerate arc must not fail
}

void TestCurveItems::angleStraightLineIsFinite()
{
    auto *angle = new GraphicsAngleItem(QPointF(100, 100));
    m_scene->addItem(angle);
    // Rounding may push the cosine just below -1 for a straight angle.
    angle->setPolygon(QPolygonF() << QPointF(100.1, 100.3) << QPointF(200.2, 200.6)
                                  << QPointF(300.3, 300.9));
    const double deg = angle->angleDegrees();
    QVERIFY(std::isfinite(deg));
    QVERIFY(qAbs(deg - 180.0) < 0.1);
    QVERIFY(!angle->angleText().contains("nan"));
}

void TestCurveItems::angleLabelRendered()
{
    // The label is painted at Q = 2M - V, the arc's control point.
    QGraphicsScene scene(0, 0, 3000, 3000);
    auto *angle = new GraphicsAngleItem(QPointF(1000, 2000));
    scene.addItem(angle);
    angle->setPolygon(QPolygonF() << QPointF(1000, 2000) << QPointF(2000, 2000)
                                  << QPointF(2000, 1000));
    auto textPixelsNear = [&](bool withLabel) {
        QImage image(3000, 3000, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        if (!withLabel)
            angle->setPolygon(QPolygonF() << QPointF(1000, 2000) << QPointF(2000, 2000)
                                          << QPointF(0, 0));
        scene.render(&painter, QRectF(image.rect()), scene.sceneRect());
        painter.end();
        // r = 1000 / 3, P1 = (1666.7, 2000), P2 = (2000, 1666.7), Q = (1666.7, 1666.7);
        // the 50 point label rises from Q towards the upper right.
        int dark = 0;
        for (int y = 1590; y < 1660; ++y)
            for (int x = 1670; x < 1800; ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    ++dark;
        return dark;
    };
    QVERIFY(textPixelsNear(true) > 50);
    QCOMPARE(textPixelsNear(false), 0);
}

void TestCurveItems::dipAngle_data()
{
    QTest::addColumn<QPointF>("offset");
    QTest::addColumn<QString>("label");
    QTest::newRow("down right") << QPointF(100, 100) << QStringLiteral("45");
    QTest::newRow("up left") << QPointF(-100, -100) << QStringLiteral("45");
    QTest::newRow("horizontal") << QPointF(250, 0) << QStringLiteral("0");
    QTest::newRow("horizontal left") << QPointF(-250, 0) << QStringLiteral("0");
    QTest::newRow("vertical") << QPointF(0, 200) << QStringLiteral("90");
    QTest::newRow("steep") << QPointF(100, 173.20508075688772) << QStringLiteral("60");
}

void TestCurveItems::dipAngle()
{
    QFETCH(QPointF, offset);
    QFETCH(QString, label);
    currentMode = InsertDip;
    SceneMouse mouse(m_scene);
    const QPointF s(1500, 700);
    auto *dip = new GraphicsDipItem(s);
    m_scene->addItem(dip);
    mouse.drag(s, s + offset);
    QCOMPARE(dip->polygon().at(1), s + offset);
    QCOMPARE(dip->polygon().at(2), QPointF(s.x(), s.y() + offset.y()));
    QCOMPARE(dip->angleText(), label);
    QVERIFY(!ItemStyle::instance()->drawing());
    QCOMPARE(m_scene->mouseGrabberItem(), nullptr);
    renderScene(*m_scene);
}

void TestCurveItems::dipClearsDrawingOnMove()
{
    currentMode = InsertDip;
    SceneMouse mouse(m_scene);
    const QPointF s(800, 800);
    auto *dip = new GraphicsDipItem(s);
    m_scene->addItem(dip);
    mouse.press(s);
    QVERIFY(ItemStyle::instance()->drawing());
    mouse.move(QPointF(850, 820));
    QVERIFY(!ItemStyle::instance()->drawing());
    // The horizontal leg is only added at the release.
    QVERIFY(GraphicsAngleItem::isUnset(dip->polygon().at(2)));
    ItemStyle::instance()->setDrawing(true);
    mouse.move(QPointF(900, 900));
    QVERIFY(!ItemStyle::instance()->drawing());
    mouse.release(QPointF(900, 900));
    QCOMPARE(dip->angleText(), QStringLiteral("45"));
}

void TestCurveItems::dipClickWithoutDragWaits()
{
    currentMode = InsertDip;
    SceneMouse mouse(m_scene);
    const QPointF s(800, 800);
    auto *dip = new GraphicsDipItem(s);
    m_scene->addItem(dip);
    mouse.click(s);
    // No vertex yet: no leg is made up and the item waits for a drag.
    QVERIFY(GraphicsAngleItem::isUnset(dip->polygon().at(1)));
    QVERIFY(GraphicsAngleItem::isUnset(dip->polygon().at(2)));
    QVERIFY(ItemStyle::instance()->drawing());
    QCOMPARE(dip->angleText(), QStringLiteral("0"));
    mouse.drag(QPointF(3000, 3000), QPointF(900, 900));
    QCOMPARE(dip->polygon().at(2), QPointF(800, 900));
    QCOMPARE(dip->angleText(), QStringLiteral("45"));
    QCOMPARE(m_scene->mouseGrabberItem(), nullptr);
}

void TestCurveItems::sceneCurveEndsWithRightButton()
{
    GraphicsScene scene(nullptr);
    scene.setSceneRect(0, 0, 3600, 2240);
    scene.setMode(FitCurve);
    QSignalSpy inserted(&scene, &GraphicsScene::itemInserted);
    SceneMouse mouse(&scene);
    const QPolygonF clicks = QPolygonF() << QPointF(1400, 300) << QPointF(1600, 500)
                                         << QPointF(1800, 350) << QPointF(2000, 600);
    for (const QPointF &p : clicks)
        mouse.click(p);
    // One item for all clicks, not finished by the left releases.
    QCOMPARE(scene.items().size(), 1);
    auto *curve = dynamic_cast<GraphicsCurveItem *>(scene.currentItem());
    QVERIFY(curve);
    QCOMPARE(curve->controlPoints(), clicks);
    QCOMPARE(inserted.count(), 0);

    // The right button ends it (the press is not passed on when nothing is
    // selected; the release finishes).
    mouse.press(QPointF(2200, 700), Qt::RightButton);
    mouse.release(QPointF(2200, 700), Qt::RightButton);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.first().first().value<QGraphicsItem *>(), curve);
    QCOMPARE(scene.currentItem(), nullptr);
    QCOMPARE(scene.mouseGrabberItem(), nullptr);
    QCOMPARE(curve->controlPoints(), clicks);
    renderScene(scene);
    QCOMPARE(curve->polygon().size(), 250);
}

void TestCurveItems::sceneAngleEndsAfterSecondDrag()
{
    GraphicsScene scene(nullptr);
    scene.setSceneRect(0, 0, 3600, 2240);
    scene.setMode(InsertAngle);
    QSignalSpy inserted(&scene, &GraphicsScene::itemInserted);
    SceneMouse mouse(&scene);
    mouse.drag(QPointF(1400, 600), QPointF(1700, 600));
    QCOMPARE(inserted.count(), 0);
    auto *angle = dynamic_cast<GraphicsAngleItem *>(scene.currentItem());
    QVERIFY(angle);
    QCOMPARE(angle->type(), 2);
    mouse.drag(QPointF(2500, 1500), QPointF(1700, 300));
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.first().first().value<QGraphicsItem *>(), angle);
    QCOMPARE(scene.items().size(), 1);
    QCOMPARE(angle->angleText(), QStringLiteral("90"));
    QCOMPARE(scene.mouseGrabberItem(), nullptr);
}

void TestCurveItems::sceneDipEndsAfterOneDrag()
{
    GraphicsScene scene(nullptr);
    scene.setSceneRect(0, 0, 3600, 2240);
    scene.setMode(InsertDip);
    QSignalSpy inserted(&scene, &GraphicsScene::itemInserted);
    SceneMouse mouse(&scene);
    mouse.drag(QPointF(1400, 600), QPointF(1500, 700));
    QCOMPARE(inserted.count(), 1);
    auto *dip = dynamic_cast<GraphicsDipItem *>(inserted.first().first().value<QGraphicsItem *>());
    QVERIFY(dip);
    QCOMPARE(dip->type(), 5);
    QCOMPARE(dip->angleText(), QStringLiteral("45"));
    QCOMPARE(scene.currentItem(), nullptr);
    QCOMPARE(scene.mouseGrabberItem(), nullptr);

    // A horizontal dip in the same mode makes a second item.
    mouse.drag(QPointF(1400, 900), QPointF(1800, 900));
    QCOMPARE(inserted.count(), 2);
    auto *flat = dynamic_cast<GraphicsDipItem *>(inserted.last().first().value<QGraphicsItem *>());
    QVERIFY(flat && flat != dip);
    QCOMPARE(flat->angleText(), QStringLiteral("0"));
}

void TestCurveItems::typeCodes()
{
    GraphicsCurveItem curve(QPointF(1, 1));
    GraphicsAngleItem angle(QPointF(1, 1));
    GraphicsDipItem dip(QPointF(1, 1));
    QCOMPARE(curve.type(), 4);
    QCOMPARE(angle.type(), 2);
    QCOMPARE(dip.type(), 5);
}

QTEST_MAIN(TestCurveItems)
#include "tst_curveitems.moc"
