// Contrast of the wall picture as shown: stretch, sliding equalisation and
// the tone curve, on synthetic pictures with known answers.

#include <QtTest>

#include <algorithm>
#include <cstring>

#include "wallcontrast.h"

namespace {

// Rows of grey from `from` to `to` (top to bottom).
QImage ramp(int from, int to, int width = 40, int height = 256)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const int v = from + (to - from) * y / (height - 1);
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(v, v, v));
    }
    return image;
}

// A textured wall that darkens downwards, with a bright band.
QImage texturedWall(int width, int height)
{
    QImage whole(width, height, QImage::Format_RGB32);
    for (int y = 0; y < whole.height(); ++y)
        for (int x = 0; x < width; ++x) {
            const int v = std::clamp(200 - y / 2 + (x * 37 + y * 11) % 41 + (y > 150 && y < 170 ? 60 : 0), 0, 255);
            whole.setPixel(x, y, qRgb(v, std::max(0, v - 20), std::min(255, v + 10)));
        }
    return whole;
}

QPair<int, int> greyRange(const QImage &image, int firstRow, int lastRow)
{
    int lo = 255, hi = 0;
    for (int y = firstRow; y <= lastRow; ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int v = qGray(image.pixel(x, y));
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    return qMakePair(lo, hi);
}

} // namespace

class TstWallContrast : public QObject
{
    Q_OBJECT

private slots:
    void lowContrastIsSpread_data();
    void lowContrastIsSpread();
    void stretchKeepsHues_data();
    void stretchKeepsHues();
    void slidingWindowEqualisesEachStretch();
    void piecesJoinWithoutSeam_data();
    void piecesJoinWithoutSeam();
    void runsAndToneAsOnePass_data();
    void runsAndToneAsOnePass();
    void toneCurve_data();
    void toneCurve();
};

void TstWallContrast::lowContrastIsSpread_data()
{
    QTest::addColumn<bool>("dynamic");
    QTest::addColumn<int>("from");   // grey ramp of the picture, top to bottom
    QTest::addColumn<int>("to");
    QTest::newRow("percentile stretch") << false << 100 << 140;
    QTest::newRow("dynamic normalisation") << true << 100 << 140;
    // Nothing to spread: a constant picture stays as it is.
    QTest::newRow("constant, percentile stretch") << false << 77 << 77;
    QTest::newRow("constant, dynamic normalisation") << true << 77 << 77;
    QTest::newRow("black, percentile stretch") << false << 0 << 0;
}

void TstWallContrast::lowContrastIsSpread()
{
    QFETCH(bool, dynamic);
    QFETCH(int, from);
    QFETCH(int, to);
    WallContrast c;
    c.autoStretch = !dynamic;
    c.dynamicNormalisation = dynamic;
    c.windowRows = from == to ? 7 : 100000; // constant: a window shorter than the picture
    const QImage source = ramp(from, to);
    const QImage shown = c.apply(source);
    const auto range = greyRange(shown, 0, shown.height() - 1);
    if (from == to) {
        QCOMPARE(range, qMakePair(from, to));
        QCOMPARE(greyRange(stretchToPercentiles(source, 0.0), 0, source.height() - 1), qMakePair(from, to));
    } else {
        QVERIFY2(range.first <= 5 && range.second >= 250,
                 qPrintable(QString("%1..%2").arg(range.first).arg(range.second)));
        // Order of tones is kept.
        QVERIFY(qGray(shown.pixel(0, 10)) <= qGray(shown.pixel(0, 200)));
    }
    // The picture given is not touched.
    QCOMPARE(greyRange(source, 0, source.height() - 1), qMakePair(from, to));
}

// The stretch spreads the lightness and leaves each pixel's hue: a brownish
// wall of little contrast does not turn red, yellow or grey.
void TstWallContrast::stretchKeepsHues_data()
{
    QTest::addColumn<QColor>("tint"); // the wall's mean colour
    QTest::addColumn<int>("spread");  // ± lightness variation
    QTest::newRow("brown, dull") << QColor(150, 110, 70) << 20;
    QTest::newRow("greenish, bright") << QColor(120, 200, 140) << 25;
    QTest::newRow("bluish, dark") << QColor(40, 50, 90) << 15;
}

void TstWallContrast::stretchKeepsHues()
{
    QFETCH(QColor, tint);
    QFETCH(int, spread);
    const int side = 64;
    QImage wall(side, side, QImage::Format_RGB32);
    for (int i = 0; i < side * side; ++i) {
        const int d = ((i % side * 13 + i / side * 7) % (2 * spread + 1)) - spread;
        wall.setPixel(i % side, i / side, qRgb(tint.red() + d, tint.green() + d, tint.blue() + d));
    }
    const QImage shown = stretchToPercentiles(wall, 1.0);
    const auto range = greyRange(shown, 0, shown.height() - 1);
    QVERIFY2(range.second - range.first > 150, qPrintable(QString("%1..%2").arg(range.first).arg(range.second)));
    int compared = 0;
    for (int i = 0; i < side * side; ++i) {
        const QColor before = wall.pixelColor(i % side, i / side), after = shown.pixelColor(i % side, i / side);
        // Hue is not defined for a grey or a nearly black pixel.
        if (after.hsvSaturation() < 40 || after.value() < 40)
            continue;
        const int gap = std::abs(before.hsvHue() - after.hsvHue());
        QVERIFY2(std::min(gap, 360 - gap) <= 4, qPrintable(QString("%1: %2 -> %3").arg(i).arg(before.name(), after.name())));
        ++compared;
    }
    QVERIFY(compared > side * side / 2);
}

// A dark stretch of wall above a bright one, each with texture across: a
// short window spreads each stretch over the whole range, which one histogram
// of the picture cannot do (it would give each stretch half the range).
void TstWallContrast::slidingWindowEqualisesEachStretch()
{
    QImage image(60, 400, QImage::Format_RGB32);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 60; ++x) {
            const int v = (y < 200 ? 10 : 200) + x / 2;
            image.setPixel(x, y, qRgb(v, v, v));
        }
    const QImage shown = equaliseSlidingWindow(image, 60);
    const auto top = greyRange(shown, 0, 160);
    const auto bottom = greyRange(shown, 240, 399);
    QVERIFY2(top.second - top.first > 200, qPrintable(QString("%1..%2").arg(top.first).arg(top.second)));
    QVERIFY2(bottom.second - bottom.first > 200,
             qPrintable(QString("%1..%2").arg(bottom.first).arg(bottom.second)));
}

// A picture cut into pieces, each equalised with the rows of its neighbours
// as context, is shown row for row as the whole picture would be.
void TstWallContrast::piecesJoinWithoutSeam_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("windowRows");
    QTest::addColumn<QVector<int>>("cuts"); // first rows of the pieces after the first
    QTest::newRow("window shorter than a piece") << 300 << 40 << QVector<int>{130, 250};
    QTest::newRow("window over several pieces") << 300 << 150 << QVector<int>{37, 70, 101, 200};
    QTest::newRow("cuts off the table grid, wide rows sampled") << 1031 << 61 << QVector<int>{1, 98, 203};
}

void TstWallContrast::piecesJoinWithoutSeam()
{
    QFETCH(int, width);
    QFETCH(int, windowRows);
    QFETCH(QVector<int>, cuts);
    const QImage whole = texturedWall(width, 320);
    const QImage expected = equaliseSlidingWindow(whole, windowRows);
    QCOMPARE(expected.size(), whole.size());

    // The pieces as separate pictures, read in place through row pointers.
    QVector<int> firsts{0};
    firsts << cuts;
    QVector<QImage> pieces;
    std::vector<const QRgb *> lines;
    for (int i = 0; i < firsts.size(); ++i) {
        const int last = i + 1 < firsts.size() ? firsts.at(i + 1) - 1 : whole.height() - 1;
        pieces << whole.copy(0, firsts.at(i), width, last - firsts.at(i) + 1);
    }
    for (const QImage &piece : qAsConst(pieces))
        for (int y = 0; y < piece.height(); ++y)
            lines.push_back(reinterpret_cast<const QRgb *>(piece.constScanLine(y)));
    for (int i = 0; i < firsts.size(); ++i) {
        const int first = firsts.at(i);
        const int last = first + pieces.at(i).height() - 1;
        const QImage shown = equaliseSlidingWindow(lines, width, windowRows, first, last);
        const QImage span = equaliseSlidingWindow(whole, windowRows, first, last);
        QCOMPARE(shown.height(), last - first + 1);
        for (int y = first; y <= last; ++y) {
            QVERIFY2(std::memcmp(shown.constScanLine(y - first), expected.constScanLine(y), size_t(width) * 4) == 0,
                     qPrintable(QString("row %1 of piece %2").arg(y).arg(i)));
            QVERIFY(std::memcmp(span.constScanLine(y - first), expected.constScanLine(y), size_t(width) * 4) == 0);
        }
    }
}

// A span equalised in runs side by side, with the tone curve in the same
// pass, is the span equalised in one run with the tone curve applied after.
void TstWallContrast::runsAndToneAsOnePass_data()
{
    QTest::addColumn<int>("threads"); // 0: as many as pay off
    QTest::addColumn<int>("firstRow");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("toned");
    QTest::newRow("two runs") << 2 << 0 << 320 << false;
    QTest::newRow("three runs off the table grid, toned") << 3 << 37 << 203 << true;
    QTest::newRow("more runs than tables") << 64 << 5 << 9 << true;
    QTest::newRow("four runs at the picture's end") << 4 << 300 << 50 << false;
    QTest::newRow("as many as pay off, toned") << 0 << 0 << 320 << true;
}

void TstWallContrast::runsAndToneAsOnePass()
{
    QFETCH(int, threads);
    QFETCH(int, firstRow);
    QFETCH(int, rows);
    QFETCH(bool, toned);
    const int windowRows = 61;
    const QImage whole = texturedWall(301, 320);
    WallContrast tone;
    tone.gamma = 1.6;
    tone.brightness = -0.1;
    const int lastRow = std::min(whole.height(), firstRow + rows) - 1;
    QImage expected = equaliseSlidingWindow(whole, windowRows, firstRow, lastRow);
    if (toned)
        expected = tone.apply(expected);

    std::vector<const QRgb *> lines;
    for (int y = 0; y < whole.height(); ++y)
        lines.push_back(reinterpret_cast<const QRgb *>(whole.constScanLine(y)));
    QImage out(whole.width(), lastRow - firstRow + 1, QImage::Format_RGB32);
    out.fill(Qt::magenta);
    uchar table[256];
    tone.toneTable(table);
    equaliseSlidingWindowInto(out, lines, windowRows, firstRow, toned ? table : nullptr, threads);
    QCOMPARE(out, expected);

    if (toned && firstRow == 0 && lastRow == whole.height() - 1) {
        // The whole picture through a setting of both.
        WallContrast both = tone;
        both.dynamicNormalisation = true;
        both.windowRows = windowRows;
        QCOMPARE(both.apply(whole), tone.apply(equaliseSlidingWindow(whole, windowRows)));
    }
}

void TstWallContrast::toneCurve_data()
{
    QTest::addColumn<double>("brightness");
    QTest::addColumn<double>("contrast");
    QTest::addColumn<double>("gamma");
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("out");
    QTest::newRow("unchanged") << 0.0 << 1.0 << 1.0 << 90 << 90;
    QTest::newRow("brighter by a tenth") << 0.1 << 1.0 << 1.0 << 90 << 116;
    QTest::newRow("contrast doubled") << 0.0 << 2.0 << 1.0 << 100 << 73;
    QTest::newRow("contrast clipped at white") << 0.0 << 3.0 << 1.0 << 220 << 255;
    QTest::newRow("gamma 2 lifts the dark") << 0.0 << 1.0 << 2.0 << 64 << 128;
    QTest::newRow("no contrast is mid-grey") << 0.0 << 0.0 << 1.0 << 10 << 128;
    QTest::newRow("gamma 0 is ignored") << 0.0 << 1.0 << 0.0 << 64 << 64;
}

void TstWallContrast::toneCurve()
{
    QFETCH(double, brightness);
    QFETCH(double, contrast);
    QFETCH(double, gamma);
    QFETCH(int, in);
    QFETCH(int, out);
    WallContrast c;
    c.brightness = brightness;
    c.contrast = contrast;
    c.gamma = gamma;
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(qRgb(in, in, in));
    QVERIFY(qAbs(qGray(c.apply(pixel).pixel(0, 0)) - out) <= 1);
}

QTEST_GUILESS_MAIN(TstWallContrast)
#include "tst_wallcontrast.moc"
