// Thin lines drawn straight into a picture (a crowded stereonet's great
// circles): the pixels a painter's cosmetic pen without antialiasing sets,
// but for a pixel or two where segments meet, clipped to the picture, in
// 32-bit and 8-bit pictures alike.

#include <QPainter>
#include <QtTest>

#include <cmath>

#include "thinpolyline.h"

namespace {

// Pixels of the picture that are not transparent.
QVector<QPoint> setPixels(const QImage &image)
{
    QVector<QPoint> set;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)))
                set << QPoint(x, y);
    return set;
}

// Pixels of a that have no pixel of b at most one pixel away.
int farFrom(const QVector<QPoint> &a, const QImage &b)
{
    int far = 0;
    for (const QPoint &p : a) {
        bool near = false;
        for (int dy = -1; dy <= 1 && !near; ++dy)
            for (int dx = -1; dx <= 1 && !near; ++dx)
                near = b.valid(p.x() + dx, p.y() + dy) && qAlpha(b.pixel(p.x() + dx, p.y() + dy));
        far += near ? 0 : 1;
    }
    return far;
}

} // namespace

class TstThinPolyline : public QObject
{
    Q_OBJECT

private slots:
    void asThePainterDrawsIt_data();
    void asThePainterDrawsIt();
};

void TstThinPolyline::asThePainterDrawsIt_data()
{
    QTest::addColumn<QPolygonF>("line");
    QTest::newRow("shallow") << QPolygonF(QVector<QPointF>{{2.3, 5.1}, {57.8, 19.6}});
    QTest::newRow("steep, upwards") << QPolygonF(QVector<QPointF>{{40.5, 58.2}, {31.1, 1.7}});
    QTest::newRow("diagonal, leftwards") << QPolygonF(QVector<QPointF>{{60.2, 3.1}, {3.4, 59.7}});
    QTest::newRow("arc of short segments") << [] {
        QPolygonF arc;
        for (int i = 0; i <= 36; ++i)
            arc << QPointF(32.4 + 25.0 * std::cos(i * M_PI / 36), 31.7 + 25.0 * std::sin(i * M_PI / 36));
        return arc;
    }();
    QTest::newRow("out of the picture and back") << QPolygonF(QVector<QPointF>{{-20.0, 10.2}, {30.6, 30.3}, {90.0, 75.0}, {10.1, 62.9}});
    QTest::newRow("wholly outside") << QPolygonF(QVector<QPointF>{{-5.0, -5.0}, {70.0, -3.0}});
}

void TstThinPolyline::asThePainterDrawsIt()
{
    QFETCH(QPolygonF, line);
    const QRgb colour = qRgb(220, 30, 30);
    QImage painted(64, 64, QImage::Format_ARGB32_Premultiplied);
    painted.fill(Qt::transparent);
    {
        QPainter painter(&painted);
        QPen pen(QColor(colour), 0.0);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawPolyline(line);
    }
    QImage drawn(64, 64, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    drawThinPolyline(drawn, line.constData(), line.size(), colour);

    const QVector<QPoint> byPainter = setPixels(painted);
    const QVector<QPoint> byLine = setPixels(drawn);
    // Pixels the painter sets too, all in the colour; the painter also sets
    // a pixel or two more where the line ends or turns, next to them.
    for (const QPoint &p : byLine) {
        QCOMPARE(drawn.pixel(p), colour);
        QVERIFY2(qAlpha(painted.pixel(p)), qPrintable(QString("%1, %2").arg(p.x()).arg(p.y())));
    }
    QVERIFY2(byPainter.size() - byLine.size() <= line.size() + 1,
             qPrintable(QString("%1 pixels against %2").arg(byLine.size()).arg(byPainter.size())));
    QCOMPARE(farFrom(byPainter, drawn), 0);

    // An 8-bit picture gets the same pixels.
    QImage indexed(64, 64, QImage::Format_Indexed8);
    indexed.setColorTable({qRgba(0, 0, 0, 0), colour});
    indexed.fill(0);
    drawThinPolyline(indexed, line.constData(), line.size(), 1);
    QCOMPARE(indexed.convertToFormat(QImage::Format_ARGB32_Premultiplied), drawn);
}

QTEST_GUILESS_MAIN(TstThinPolyline)
#include "tst_thinpolyline.moc"
