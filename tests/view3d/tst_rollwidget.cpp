// KORA_TEST_NEEDS_OPENGL
// The roll view: angle wrapping, the roll keys' speed rule, real drawing
// through Mesa and saving it, and textures over the GL's limit (scaled
// down first, reported when that cannot help).

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "gltestsupport.h"
#include "rollwidget.h"

namespace {
const QColor kWall(200, 120, 40);
const QColor kClear(0, 51, 204); // the view's clear colour (0, 0.2, 0.8)

void key(QWidget *w, QEvent::Type type, int k, bool autoRepeat = false)
{
    QKeyEvent e(type, k, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(w, &e);
}
} // namespace

class TestRollWidget : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { RollWidget::setTextureSizeLimit(0); }
    void wrapAngle_data();
    void wrapAngle();
    void setImageResetsTheView();
    void holdingUpAccelerates();
    void drawsAndSavesTheImage();
    void oversizedTexture_data();
    void oversizedTexture();
};

void TestRollWidget::wrapAngle_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("wrapped");
    QTest::newRow("-16") << -16 << 5744;
    QTest::newRow("full turn stays") << 5760 << 5760;
    QTest::newRow("just over") << 5761 << 1;
    QTest::newRow("two turns and a bit") << 11600 << 80;
}

void TestRollWidget::wrapAngle()
{
    QFETCH(int, angle);
    QFETCH(int, wrapped);
    QCOMPARE(RollWidget::wrapAngle(angle), wrapped);
    RollWidget w;
    w.setXRotation(angle);
    QCOMPARE(w.xRotation(), float(wrapped));
}

void TestRollWidget::setImageResetsTheView()
{
    RollWidget w;
    w.setImage(QImage()); // ignored
    QCOMPARE(w.xTranslation(), 2.f);
    w.setImage(GLTest::filled(3000, 9000, kWall));
    QCOMPARE(w.zTranslation(), -50.f); // -(9000 / 180)
    QCOMPARE(w.xRotation(), -1100.f);
    QCOMPARE(w.xTranslation(), 0.f);
    w.setImage(GLTest::filled(30, 359, kWall));
    QCOMPARE(w.zTranslation(), -1.f); // integer division
}

void TestRollWidget::holdingUpAccelerates()
{
    RollWidget w;
    w.setXRotation(0);
    // A held key repeats as press, (auto-repeat release, press)...
    key(&w, QEvent::KeyPress, Qt::Key_Up);
    QCOMPARE(w.xRotation(), 12.f); // speed 1.5 × 8
    key(&w, QEvent::KeyRelease, Qt::Key_Up, true);
    key(&w, QEvent::KeyPress, Qt::Key_Up, true);
    QCOMPARE(w.xRotation(), 28.f); // + 2.0 × 8
    key(&w, QEvent::KeyRelease, Qt::Key_Up, true);
    key(&w, QEvent::KeyPress, Qt::Key_Up, true);
    QCOMPARE(w.xRotation(), 48.f); // + 2.5 × 8: 4 more per repeat
    key(&w, QEvent::KeyRelease, Qt::Key_Up);
    QCOMPARE(w.speed(), 1.f);

    // Down accelerates too, and its release keeps the speed.
    key(&w, QEvent::KeyPress, Qt::Key_Down);
    QCOMPARE(w.xRotation(), 36.f); // - 1.5 × 8
    key(&w, QEvent::KeyPress, Qt::Key_Down, true);
    QCOMPARE(w.xRotation(), 20.f); // - 2.0 × 8
    key(&w, QEvent::KeyRelease, Qt::Key_Down);
    QCOMPARE(w.speed(), 2.f);
    key(&w, QEvent::KeyPress, Qt::Key_Down);
    QCOMPARE(w.xRotation(), 0.f); // - 2.5 × 8
    key(&w, QEvent::KeyPress, Qt::Key_Down);
    QCOMPARE(w.xRotation(), 5736.f); // - 3.0 × 8, wrapped
}

void TestRollWidget::drawsAndSavesTheImage()
{
    GL_TEST_REQUIRE_CONTEXT();
    QTemporaryDir dir;
    RollWidget w;
    w.setImage(GLTest::filled(1885, 3000, kWall)); // radius 1, length 10
    w.setRollRange(0, 0);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QImage frame = w.grabFramebuffer();
    QVERIFY(!frame.isNull());
    QVERIFY(w.textureSize().isValid());
    const QPoint centre(frame.width() / 2, frame.height() / 2);
    QVERIFY2(GLTest::near(frame.pixel(centre), kWall), qPrintable(QColor(frame.pixel(centre)).name()));
    QVERIFY(GLTest::near(frame.pixel(1, 1), kClear));

    // Saving the view writes what is drawn: the cylinder and the background.
    const QString file = dir.filePath("view.png");
    QVERIFY(w.saveView(file));
    const QImage saved(file);
    QCOMPARE(saved.size(), w.size() * w.devicePixelRatioF());
    QVERIFY(GLTest::near(saved.pixel(saved.width() / 2, saved.height() / 2), kWall));
    QVERIFY(GLTest::near(saved.pixel(1, 1), kClear));
    QVERIFY(!w.saveView(QString()));

    // Next/Previous hand a shown view a new image: the new one is drawn.
    const QColor next(40, 180, 220);
    w.setImage(GLTest::filled(1885, 3000, next));
    const QImage after = w.grabFramebuffer();
    QVERIFY2(GLTest::near(after.pixel(centre), next), qPrintable(QColor(after.pixel(centre)).name()));
}

void TestRollWidget::oversizedTexture_data()
{
    QTest::addColumn<QSize>("image");
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<int>("maxTextureEdge");
    QTest::newRow("fits") << QSize(500, 1000) << 0 << false << 1024;
    QTest::newRow("too tall: scaled down") << QSize(500, 3000) << 1024 << false << 1024;
    QTest::newRow("too thin to scale: reported") << QSize(3, 5000) << 1024 << true << 0;
}

void TestRollWidget::oversizedTexture()
{
    QFETCH(QSize, image);
    QFETCH(int, limit);
    QFETCH(bool, fails);
    QFETCH(int, maxTextureEdge);
    GL_TEST_REQUIRE_CONTEXT();
    RollWidget::setTextureSizeLimit(limit);
    RollWidget w;
    QSignalSpy failed(&w, &RollWidget::signalTextureLoadFailed);
    w.setImage(GLTest::filled(image.width(), image.height(), kWall));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.grabFramebuffer();
    if (fails) {
        QTRY_COMPARE(failed.count(), 1);
        QVERIFY(w.textureSize().isEmpty());
    } else {
        QTest::qWait(50);
        QCOMPARE(failed.count(), 0);
        QVERIFY(w.textureSize().height() <= maxTextureEdge);
        QVERIFY(w.textureSize().height() > maxTextureEdge / 2);
    }
}

QTEST_MAIN(TestRollWidget)
#include "tst_rollwidget.moc"
