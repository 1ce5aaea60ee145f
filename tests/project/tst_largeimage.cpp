// Large images (pages shown through a contrast setting, join buffers): laid out as QImage lays them out, and a
// picture's memory is never shared with another live picture, also when
// the memory of released pictures is used again.

#include <QtTest>

#include "largeimage.h"

class TstLargeImage : public QObject
{
    Q_OBJECT

private slots:
    void laidOutAsQImage_data();
    void laidOutAsQImage();
    void releasedMemoryServesOnlyNewPictures();
    void releasedMemoryIsReusedBySizeClassAndGivenBack();
};

void TstLargeImage::laidOutAsQImage_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QImage::Format>("format");
    QTest::newRow("small") << 30 << 20 << QImage::Format_RGB32;
    QTest::newRow("large") << 1024 << 2964 << QImage::Format_RGB32;
    QTest::newRow("large, odd width, 8-bit") << 4099 << 1999 << QImage::Format_Grayscale8;
    QTest::newRow("empty") << 0 << 10 << QImage::Format_RGB32;
}

void TstLargeImage::laidOutAsQImage()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QImage::Format, format);
    const QImage plain(width, height, format);
    QImage picture = LargeImage::create(width, height, format);
    QCOMPARE(picture.isNull(), plain.isNull());
    QCOMPARE(picture.size(), plain.size());
    QCOMPARE(picture.format(), plain.format());
    QCOMPARE(picture.bytesPerLine(), plain.bytesPerLine());
    if (picture.isNull())
        return;
    // Written and read back to the last byte.
    picture.fill(Qt::white);
    picture.setPixel(width - 1, height - 1, qRgb(0, 0, 0));
    QCOMPARE(QColor(picture.pixel(0, 0)), QColor(Qt::white));
    QCOMPARE(QColor(picture.pixel(width - 1, height - 1)), QColor(Qt::black));
}

void TstLargeImage::releasedMemoryServesOnlyNewPictures()
{
    const int width = 1024;
    const int height = 2000;
    QImage kept = LargeImage::create(width, height, QImage::Format_RGB32);
    kept.fill(qRgb(1, 2, 3));
    for (int round = 0; round < 3; ++round) {
        QImage passing = LargeImage::create(width, height, QImage::Format_RGB32);
        QVERIFY(passing.constBits() != kept.constBits());
        passing.fill(qRgb(200, 100, round));
        // A copy of the picture outlives the picture.
        const QImage copy = passing;
        passing = QImage();
        QImage next = LargeImage::create(width, height, QImage::Format_RGB32);
        QVERIFY(next.constBits() != copy.constBits());
        next.fill(Qt::black);
        QCOMPARE(copy.pixel(width - 1, height - 1), qRgb(200, 100, round));
    }
    QCOMPARE(kept.pixel(0, 0), qRgb(1, 2, 3));
    QCOMPARE(kept.pixel(width - 1, height - 1), qRgb(1, 2, 3));
}

void TstLargeImage::releasedMemoryIsReusedBySizeClassAndGivenBack()
{
    LargeImage::releaseUnused(0);
    QCOMPARE(LargeImage::keptBytes(), qint64(0));
    QImage first = LargeImage::create(1024, 3000, QImage::Format_RGB32);
    first.fill(Qt::white);
    const uchar *memory = std::exchange(first, QImage()).constBits();
    if (LargeImage::keptBytes() == 0)
        QSKIP("this system offers no large pages: pictures come from the heap");
    QVERIFY(LargeImage::keptBytes() >= qint64(1024) * 4 * 3000);
    // A piece a little shorter uses the same memory, one twice as large does not.
    QImage second = LargeImage::create(1024, 2900, QImage::Format_RGB32);
    QCOMPARE(second.constBits(), memory);
    QCOMPARE(LargeImage::keptBytes(), qint64(0));
    second.fill(Qt::black);
    QCOMPARE(std::exchange(second, QImage()).pixel(1023, 2899), qRgb(0, 0, 0));
    QVERIFY(LargeImage::create(1024, 6000, QImage::Format_RGB32).constBits() != memory);
    QVERIFY(LargeImage::keptBytes() > 0);
    // Memory lying unused goes back by itself after a few seconds.
    QTRY_COMPARE_WITH_TIMEOUT(LargeImage::keptBytes(), qint64(0), LargeImage::kIdleMs + 5000);
}

QTEST_GUILESS_MAIN(TstLargeImage)
#include "tst_largeimage.moc"
