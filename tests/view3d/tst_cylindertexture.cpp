// Texture preparation of the 3D cylinder view: texture sizes, the reduction
// that keeps the height in the cap, and the padding rows.

#include <QtTest>

#include "cylindertexture.h"
#include "gltestsupport.h"

class TestCylinderTexture : public QObject
{
    Q_OBJECT

private slots:
    void prepare_data();
    void prepare();
    void paddingRowsAboveTheImage();
};

void TestCylinderTexture::prepare_data()
{
    QTest::addColumn<QSize>("wall");
    QTest::addColumn<QSize>("ruler");
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QSize>("wallTexture");
    QTest::addColumn<int>("padding");
    QTest::addColumn<QSize>("rulerTexture");

    QTest::newRow("3000 x 12000: narrowed, no padding")
        << QSize(3000, 12000) << QSize(300, 12000) << 16384 << true << QSize(2048, 8192) << 0
        << QSize(256, 8192);
    QTest::newRow("2048 x 20000: reduced by 4, padded 3192 rows")
        << QSize(2048, 20000) << QSize(300, 20000) << 16384 << true << QSize(512, 8192) << 3192
        << QSize(64, 8192);
    // Full width kept, but the height still goes up to a power of two: the
    // image must sit in padding rather than be stretched over the cylinder.
    QTest::newRow("2048 x 5000: width kept, padded")
        << QSize(2048, 5000) << QSize(300, 5000) << 16384 << true << QSize(2048, 8192) << 3192
        << QSize(256, 8192);
    QTest::newRow("GL limit 4096 halves the 3000 x 12000 texture")
        << QSize(3000, 12000) << QSize(300, 12000) << 4096 << true << QSize(1024, 4096) << 0
        << QSize(128, 4096);
    QTest::newRow("wide and flat: width capped")
        << QSize(40000, 100) << QSize(300, 100) << 16384 << true << QSize(8192, 32) << 11
        << QSize(64, 32);
    QTest::newRow("too thin to reduce") << QSize(4, 100000) << QSize(300, 100000) << 16384 << false
                                        << QSize() << 0 << QSize();
}

void TestCylinderTexture::prepare()
{
    QFETCH(QSize, wall);
    QFETCH(QSize, ruler);
    QFETCH(int, limit);
    QFETCH(bool, valid);
    QFETCH(QSize, wallTexture);
    QFETCH(int, padding);
    QFETCH(QSize, rulerTexture);

    const CylinderTexture t = CylinderTexture::prepare(GLTest::filled(wall.width(), wall.height(), Qt::red),
                                                       GLTest::filled(ruler.width(), ruler.height(), Qt::blue),
                                                       limit);
    QCOMPARE(t.isValid(), valid);
    if (!valid)
        return;
    QCOMPARE(t.wallTexture().size(), wallTexture);
    QCOMPARE(t.wallTexPadding(), padding);
    QCOMPARE(t.wallTexHeight(), wallTexture.height());
    QCOMPARE(t.rulerTexture().size(), rulerTexture);
    QCOMPARE(t.radius(), float(wallTexture.width() / 3.14 / 2));
    QCOMPARE(t.cylinderLength(), float(wallTexture.height()) / t.radius());
}

void TestCylinderTexture::paddingRowsAboveTheImage()
{
    // 1024 x 3000 page and a ruler 300 x 1000 (a third of the page's
    // height): the page fills the bottom 3000 of 4096 rows, the ruler the
    // bottom 1000, everything above is black.
    const CylinderTexture t = CylinderTexture::prepare(GLTest::filled(1024, 3000, Qt::red),
                                                       GLTest::filled(300, 1000, Qt::blue));
    QVERIFY(t.isValid());
    QCOMPARE(t.wallTexPadding(), 1096);
    const QImage wall = t.wallTexture();
    QCOMPARE(QColor(wall.pixel(10, 1095)), QColor(Qt::black));
    QCOMPARE(QColor(wall.pixel(10, 1096)), QColor(Qt::red));
    QCOMPARE(QColor(wall.pixel(1000, 4095)), QColor(Qt::red));
    const QImage ruler = t.rulerTexture();
    QCOMPARE(ruler.size(), QSize(256, 4096));
    QCOMPARE(QColor(ruler.pixel(5, 4096 - 1001)), QColor(Qt::black));
    QCOMPARE(QColor(ruler.pixel(5, 4096 - 1000)), QColor(Qt::blue));
}

QTEST_MAIN(TestCylinderTexture)
#include "tst_cylindertexture.moc"
