// KORA_TEST_NEEDS_OPENGL
// The 3D cylinder window: its tool bar drives the camera, the drag rule, the
// page really drawn through Mesa, and a texture the GL cannot take reported.

#include <QSignalSpy>
#include <algorithm>
#include <QTemporaryDir>
#include <QtTest>

#include "gltestsupport.h"
#include "main3dwindow.h"
#include "myglwidget.h"
#include "toptoolbar.h"

namespace {
const QColor kWall(200, 120, 40);
const QColor kRuler(30, 160, 90);
constexpr float kViewPerDistance = 0.8284263822087914f;
} // namespace

class TestMain3DWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void toolBarActions_data();
    void toolBarActions();
    void dragRule_data();
    void dragRule();
    void drawsThePageOnTheCylinder();
    void textureTooBigIsReported();
    void opensOnTheWholePageWithCompassMarks_data();
    void opensOnTheWholePageWithCompassMarks();

private:
    QStringList writeImages(const QImage &wall, const QImage &ruler, const QString &prefix);
    QTemporaryDir m_dir;
};

void TestMain3DWindow::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

QStringList TestMain3DWindow::writeImages(const QImage &wall, const QImage &ruler, const QString &prefix)
{
    const QStringList files{m_dir.filePath(prefix + "_page.png"), m_dir.filePath(prefix + "_left.png")};
    if (!wall.save(files[0]) || !ruler.save(files[1]))
        return {};
    return files;
}

void TestMain3DWindow::toolBarActions_data()
{
    // action id; expected change of tilt, spin, pan, axial (in view
    // twentieths) and camera z
    QTest::addColumn<int>("id");
    QTest::addColumn<float>("tilt");
    QTest::addColumn<float>("spin");
    QTest::addColumn<int>("panSteps");
    QTest::addColumn<int>("axialSteps");
    QTest::addColumn<float>("cameraStep");
    QTest::newRow("enlarge") << int(TopToolBar::Enlarge) << 0.f << 0.f << 0 << 0 << 1.f;
    QTest::newRow("decrease") << int(TopToolBar::Decrease) << 0.f << 0.f << 0 << 0 << -1.f;
    QTest::newRow("rotate vertical") << int(TopToolBar::RotateVertical) << 1.f << 0.f << 0 << 0 << 0.f;
    QTest::newRow("rotate horizontal") << int(TopToolBar::RotateHorizontal) << 0.f << 1.f << 0 << 0 << 0.f;
    QTest::newRow("move left") << int(TopToolBar::MoveLeft) << 0.f << 0.f << 1 << 0 << 0.f;
    QTest::newRow("move up") << int(TopToolBar::MoveUp) << 0.f << 0.f << 0 << 1 << 0.f;
}

void TestMain3DWindow::toolBarActions()
{
    QFETCH(int, id);
    QFETCH(float, tilt);
    QFETCH(float, spin);
    QFETCH(int, panSteps);
    QFETCH(int, axialSteps);
    QFETCH(float, cameraStep);
    GL_TEST_REQUIRE_CONTEXT();

    Main3DWindow window(writeImages(GLTest::filled(256, 256, kWall), GLTest::filled(30, 256, kRuler), "tb"));
    MyGLWidget *view = window.glWidget();
    QVERIFY(view);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const float width = view->viewWidth();
    const float height = view->viewHeight();
    const float cameraZ = view->cameraZ() + cameraStep;
    QCOMPARE(height, qAbs(view->cameraZ()) * kViewPerDistance);

    QAction *action = nullptr;
    for (QAction *a : window.toolBar()->actions3D()) {
        if (a->data().toInt() == id)
            action = a;
    }
    QVERIFY(action);
    action->trigger();
    QCOMPARE(window.toolBar()->lastActionId(), id);
    QCOMPARE(view->tiltAngle(), tilt);
    QCOMPARE(view->spinAngle(), spin);
    QCOMPARE(view->panOffset(), panSteps * width / 20);
    QCOMPARE(view->axialOffset(), axialSteps * height / 20);
    QCOMPARE(view->cameraZ(), cameraZ);
    QCOMPARE(view->viewHeight(), qAbs(cameraZ) * kViewPerDistance);
    QCOMPARE(view->viewWidth(), view->aspect() * view->viewHeight());
}

void TestMain3DWindow::dragRule_data()
{
    QTest::addColumn<QPoint>("move");
    QTest::addColumn<bool>("spins");
    QTest::newRow("mostly across spins") << QPoint(30, 10) << true;
    QTest::newRow("mostly along tilts") << QPoint(5, -20) << false;
    QTest::newRow("equal tilts") << QPoint(12, 12) << false;
}

void TestMain3DWindow::dragRule()
{
    QFETCH(QPoint, move);
    QFETCH(bool, spins);
    GL_TEST_REQUIRE_CONTEXT();
    Main3DWindow window(writeImages(GLTest::filled(256, 512, kWall), GLTest::filled(30, 512, kRuler), "drag"));
    MyGLWidget *view = window.glWidget();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(view->cylinderLength() > 0);

    const QPoint start(100, 100);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, start);
    QMouseEvent drag(QEvent::MouseMove, start + move, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &drag);
    if (spins) {
        QCOMPARE(view->spinAngle(), move.x() / 3.14159f);
        QCOMPARE(view->tiltAngle(), 0.f);
    } else {
        QCOMPARE(view->tiltAngle(), move.y() / view->cylinderLength());
        QCOMPARE(view->spinAngle(), 0.f);
    }
}

void TestMain3DWindow::drawsThePageOnTheCylinder()
{
    GL_TEST_REQUIRE_CONTEXT();
    // A page 3000 x 2000 (narrowed to 2048 wide and padded) and its ruler.
    Main3DWindow window(writeImages(GLTest::filled(3000, 2000, kWall), GLTest::filled(300, 2000, kRuler), "draw"));
    MyGLWidget *view = window.glWidget();
    QSignalSpy failed(&window, &Main3DWindow::signalTextureLoadFailed);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage frame = view->grabFramebuffer();
    QVERIFY(view->texturesLoaded());
    QVERIFY(!frame.isNull());
    // The camera looks at the cylinder's front: the page's colour, not the
    // black clear colour.
    const QPoint centre(frame.width() / 2, frame.height() / 2);
    QVERIFY2(GLTest::near(frame.pixel(centre), kWall),
             qPrintable(QColor(frame.pixel(centre)).name()));
    QCOMPARE(QColor(frame.pixel(2, 2)), QColor(Qt::black));
    // Turning the camera a quarter round about the view's vertical axis
    // shows the tube end-on: the centre opens into the black inside.
    for (int i = 0; i < 90; ++i)
        view->rotateView(true, true);
    const QImage turned = view->grabFramebuffer();
    QCOMPARE(QColor(turned.pixel(centre)), QColor(Qt::black));
    // Around it the wall: somewhere below the centre on the same column.
    bool wallBelow = false;
    for (int y = centre.y(); y < turned.height() && !wallBelow; ++y)
        wallBelow = GLTest::near(turned.pixel(centre.x(), y), kWall);
    QVERIFY(wallBelow);
    QCOMPARE(failed.count(), 0);
}

void TestMain3DWindow::textureTooBigIsReported()
{
    GL_TEST_REQUIRE_CONTEXT();
    // 4 pixels wide and 100 000 high: no texture under the height cap keeps
    // a single column of it.
    Main3DWindow window(writeImages(GLTest::filled(4, 100000, kWall), GLTest::filled(30, 100000, kRuler), "big"));
    QSignalSpy failed(&window, &Main3DWindow::signalTextureLoadFailed);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(failed.wait(5000) || failed.count() == 1);
    QCOMPARE(failed.count(), 1);
    QVERIFY(!window.glWidget()->texturesLoaded());
    // The view stays empty (clear colour) instead of drawing garbage.
    const QImage frame = window.glWidget()->grabFramebuffer();
    QCOMPARE(QColor(frame.pixel(frame.width() / 2, frame.height() / 2)), QColor(Qt::black));
}

void TestMain3DWindow::opensOnTheWholePageWithCompassMarks_data()
{
    QTest::addColumn<QSize>("page");
    QTest::newRow("1 m page, 400 wide") << QSize(400, 1274);
    QTest::newRow("5 m page, 400 wide") << QSize(400, 6370);
    QTest::newRow("short page") << QSize(1000, 300);
}

void TestMain3DWindow::opensOnTheWholePageWithCompassMarks()
{
    QFETCH(QSize, page);
    GL_TEST_REQUIRE_CONTEXT();
    // The page's first and last rows in colours of their own.
    const QColor top(220, 30, 30);
    const QColor bottom(30, 30, 220);
    QImage wall = GLTest::filled(page.width(), page.height(), kWall);
    const int band = std::max(8, page.height() / 20);
    for (int y = 0; y < band; ++y)
        for (int x = 0; x < page.width(); ++x) {
            wall.setPixelColor(x, y, top);
            wall.setPixelColor(x, page.height() - 1 - y, bottom);
        }
    Main3DWindow window(writeImages(wall, GLTest::filled(300, page.height(), kRuler), "whole"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage frame = window.glWidget()->grabFramebuffer();
    QVERIFY(window.glWidget()->texturesLoaded());
    auto shows = [&frame](const QColor &colour) {
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x)
                if (GLTest::near(frame.pixel(x, y), colour))
                    return true;
        return false;
    };
    QVERIFY(shows(top));
    QVERIFY(shows(bottom));
    // The compass letters and ticks.
    QVERIFY(shows(QColor(255, 220, 30)));
}

QTEST_MAIN(TestMain3DWindow)
#include "tst_main3dwindow.moc"
