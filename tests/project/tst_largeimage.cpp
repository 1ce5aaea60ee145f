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

QTEST_GUILESS_MAIN(TstLargeImage)
#include "tst_largeimage.moc"
