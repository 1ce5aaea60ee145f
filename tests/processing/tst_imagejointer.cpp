// The vertical image joiner: overlap search, blending and scan-line copies.

#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "conversionfixture.h"
#include "imagejointer.h"
#include "samplefixture.h"

namespace {

// Every row has its own colour: row r of an image made with base b is
// (b + r) spread over the three channels, so rows can be told apart.
QRgb rowColour(int base, int row)
{
    const int v = base + row;
    return qRgb(v % 251, (v * 7) % 253, (v * 13) % 255);
}

QImage rowImage(int width, int height, int base)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = rowColour(base, y);
    }
    return image;
}

// Noise that never repeats between rows (a plain linear congruential
// sequence would: its rows a few apart are correlated).
QImage noiseImage(int width, int height, quint32 seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = 0xff000000u | (random.generate() & 0xffffffu);
    }
    return image;
}

// bottom whose first rows repeat the last n rows of top.
QImage continuing(const QImage &top, int repeated, int height, quint32 seed)
{
    QImage bottom = noiseImage(top.width(), height, seed);
    for (int i = 0; i < repeated; ++i)
        memcpy(bottom.scanLine(i), top.constScanLine(top.height() - repeated + i),
               size_t(top.bytesPerLine()));
    return bottom;
}

// A piece as a project stores it: encoded as JPEG and decoded again.
QImage stored(const QImage &image)
{
    QByteArray bytes;
    if (!BigImageTableRewriter::encodeJpeg(image, &bytes))
        return QImage();
    return ConversionFixture::decode(bytes);
}

bool rowEquals(const QImage &a, int rowA, const QImage &b, int rowB)
{
    return memcmp(a.constScanLine(rowA), b.constScanLine(rowB), size_t(a.width()) * 4) == 0;
}

} // namespace

class TestImageJointer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void seamsOfSampleWalls_data();
    void seamsOfSampleWalls();
    void nullPieceGivesTheOther();
    void rowDifferenceSumsSquaresPerRow();
    void findsRepeatedRowsWithinTheLimit_data();
    void findsRepeatedRowsWithinTheLimit();
    void tiesKeepSmallerOverlap();
    void blendsOverlapRowByRow();
    void distinctPiecesKeepEveryRow_data();
    void distinctPiecesKeepEveryRow();
    void otherFormatsGiveOpaqueRgb_data();
    void otherFormatsGiveOpaqueRgb();
    void appendInPlaceMatchesJoint_data();
    void appendInPlaceMatchesJoint();

private:
    QTemporaryDir m_dir;
    QImage m_walls[2];
};

void TestImageJointer::initTestCase()
{
    // Two sample walls (bedding, fractures, grain) of 4 m, as stitched from
    // their stored pieces: 400 and 1000 pixels around a 100 mm hole.
    QVERIFY(m_dir.isValid());
    const QStringList widths{QStringLiteral("400"), QStringLiteral("1000")};
    for (int i = 0; i < 2; ++i) {
        const QString path = m_dir.filePath(QStringLiteral("wall%1.prj").arg(i));
        QVERIFY(SampleFixture::make(path, {"--to", "4", "--width", widths.at(i), "--seed",
                                           QString::number(5 + i)}));
        m_walls[i] = ConversionFixture::wall(ConversionFixture::readState(path));
        QVERIFY(m_walls[i].height() > 4 * 1200);
    }
}

void TestImageJointer::seamsOfSampleWalls_data()
{
    QTest::addColumn<int>("wallIndex");
    QTest::addColumn<int>("repeated");
    for (int wall = 0; wall < 2; ++wall) {
        for (int repeated : {0, 7, 20})
            QTest::addRow("%d px, %d repeated", wall ? 1000 : 400, repeated) << wall << repeated;
    }
}

void TestImageJointer::seamsOfSampleWalls()
{
    // Two pieces cut from one wall, the lower one starting `repeated` rows
    // above the end of the upper one, each stored as a JPEG piece. Pieces
    // that merely continue each other keep every row; repeated rows are found
    // exactly and merged, so the joined wall continues without a step.
    QFETCH(int, wallIndex);
    QFETCH(int, repeated);
    const QImage &wall = m_walls[wallIndex];
    const int rows = 1300; // search limit 32 rows
    for (int cut = rows; cut + rows <= wall.height(); cut += (wall.height() - rows) / 5) {
        const QImage top = stored(wall.copy(0, cut - rows, wall.width(), rows));
        const QImage bottom = stored(wall.copy(0, cut - repeated, wall.width(), rows));
        ImageJointer jointer;
        const QImage out = jointer.joint(top, bottom);
        QVERIFY2(jointer.overlap() == repeated,
                 qPrintable(QStringLiteral("cut at row %1: overlap %2").arg(cut).arg(jointer.overlap())));
        QCOMPARE(out.height(), 2 * rows - repeated);
        // Across the seam the joined rows lie where the wall has them.
        const QImage original = wall.copy(0, cut - rows, wall.width(), 2 * rows - repeated);
        double difference = 0;
        const int offset = ConversionFixture::bestOffset(out, rows - 24, original, 48, -8, 8,
                                                         &difference);
        QVERIFY2(offset == 0 && difference < 8.0,
                 qPrintable(QStringLiteral("cut at row %1: offset %2, difference %3")
                                .arg(cut).arg(offset).arg(difference)));
    }
}

void TestImageJointer::nullPieceGivesTheOther()
{
    ImageJointer jointer;
    const QImage piece = rowImage(8, 10, 0);
    QTest::ignoreMessage(QtDebugMsg, "joint 1");
    // The very same image comes back (no copy was made).
    QCOMPARE(jointer.joint(QImage(), piece).cacheKey(), piece.cacheKey());
    QCOMPARE(jointer.overlap(), 0);
    QVERIFY(!jointer.failed());
    QCOMPARE(jointer.joint(piece, QImage()), piece);
}

void TestImageJointer::rowDifferenceSumsSquaresPerRow()
{
    QImage top(3, 4, QImage::Format_RGB32);
    top.fill(qRgb(10, 20, 30));
    QImage bottom(3, 4, QImage::Format_RGB32);
    bottom.fill(qRgb(10, 20, 30));
    // Second row of bottom differs by (1, 2, 3) in every pixel.
    for (int x = 0; x < 3; ++x)
        bottom.setPixel(x, 1, qRgb(11, 22, 33));
    QCOMPARE(ImageJointer::rowDifference(top, bottom, 1), 0.0);
    // n = 2: one differing row of 3 pixels, (1 + 4 + 9) each, divided by 2 rows.
    QCOMPARE(ImageJointer::rowDifference(top, bottom, 2), 3 * 14 / 2.0);
    QCOMPARE(ImageJointer::rowDifference(top, bottom, 0), 0.0);
    QCOMPARE(ImageJointer::rowDifference(top, bottom, -3), 0.0);
    // The last rows of top meet the first rows of bottom.
    QImage top2 = top;
    top2.setPixel(0, 3, qRgb(10, 20, 40));
    QCOMPARE(ImageJointer::rowDifference(top2, bottom, 1), 100.0);
}

void TestImageJointer::findsRepeatedRowsWithinTheLimit_data()
{
    QTest::addColumn<int>("heightTop");
    QTest::addColumn<int>("heightBottom");
    QTest::addColumn<int>("repeated");
    QTest::addColumn<int>("expected");
    // 600 rows: limit 15, overlaps 1 .. 14 are searched.
    for (int repeated : {1, 3, 4, 12})
        QTest::addRow("600 rows, %d repeated", repeated) << 600 << 600 << repeated << repeated;
    // 30 rows: limit trunc(0.75) = 0, nothing is searched.
    QTest::newRow("30 rows") << 30 << 30 << 1 << 0;
    // 79 rows: limit 1, still nothing; 80 rows: limit 2, overlap 1 only.
    QTest::newRow("79 rows") << 79 << 200 << 1 << 0;
    QTest::newRow("80 rows") << 80 << 200 << 1 << 1;
    QTest::newRow("80 rows, 3 repeated") << 80 << 200 << 3 << 0;
    // 200 rows: limit 5, overlaps 1 .. 4; 5 repeated rows lie beyond the
    // search, no candidate repeats and nothing is merged.
    QTest::newRow("200 rows, 4 repeated") << 200 << 200 << 4 << 4;
    QTest::newRow("200 rows, 5 repeated") << 200 << 200 << 5 << 0;
    // The shorter image sets the limit: 120 rows give limit 3.
    QTest::newRow("200 over 120, 2 repeated") << 200 << 120 << 2 << 2;
    QTest::newRow("200 over 120, 3 repeated") << 200 << 120 << 3 << 0;
}

void TestImageJointer::findsRepeatedRowsWithinTheLimit()
{
    QFETCH(int, heightTop);
    QFETCH(int, heightBottom);
    QFETCH(int, repeated);
    QFETCH(int, expected);
    const QImage top = noiseImage(256, heightTop, 11);
    const QImage bottom = continuing(top, repeated, heightBottom, 12);
    QCOMPARE(ImageJointer::findOverlap(top, bottom), expected);
    ImageJointer jointer;
    const QImage out = jointer.joint(top, bottom);
    QCOMPARE(jointer.overlap(), expected);
    QCOMPARE(out.size(), QSize(256, heightTop + heightBottom - expected));
    // Repeated rows blend into themselves, so the wall simply continues.
    for (int y = 0; y < heightTop; ++y)
        QVERIFY(rowEquals(out, y, top, y));
    for (int y = expected; y < heightBottom; ++y)
        QVERIFY(rowEquals(out, heightTop - expected + y, bottom, y));
}

void TestImageJointer::tiesKeepSmallerOverlap()
{
    // Uniform images: every overlap matches, but no better than neighbouring
    // rows do, so nothing tells a repeat: no row is merged.
    QImage top(20, 400, QImage::Format_RGB32);
    top.fill(qRgb(50, 60, 70));
    const QImage bottom = top.copy();
    QCOMPARE(ImageJointer::findOverlap(top, bottom), 0);

    // Two overlaps with the same smallest difference: the smaller is kept.
    // Rows of top end ...A B, bottom starts B A ...: n = 1 compares B|B (0).
    QImage t = noiseImage(20, 400, 5);
    QImage b = noiseImage(20, 400, 6);
    memcpy(b.scanLine(0), t.constScanLine(399), size_t(t.bytesPerLine()));
    QCOMPARE(ImageJointer::findOverlap(t, b), 1);
    // The same repeated block further down does not beat an exact match of 1.
    memcpy(b.scanLine(1), t.constScanLine(399), size_t(t.bytesPerLine()));
    QCOMPARE(ImageJointer::findOverlap(t, b), 1);
}

void TestImageJointer::blendsOverlapRowByRow()
{
    // Overlap 4 wins: top's last 4 rows equal bottom's first 4 rows except
    // in one column, whose values differ and are blended.
    QImage top = noiseImage(16, 200, 21);
    QImage bottom = noiseImage(16, 200, 22);
    for (int i = 0; i < 4; ++i)
        memcpy(bottom.scanLine(i), top.constScanLine(196 + i), size_t(top.bytesPerLine()));
    for (int i = 0; i < 4; ++i) {
        top.setPixel(0, 196 + i, qRgb(200, 100, 0));
        bottom.setPixel(0, i, qRgb(0, 20, 200));
    }
    ImageJointer jointer;
    const QImage out = jointer.joint(top, bottom);
    QCOMPARE(jointer.overlap(), 4);
    QCOMPARE(out.height(), 396);
    // Row 196 + i: (a * (4 - i) + b * i) / 4 per channel, alpha 255.
    for (int i = 0; i < 4; ++i) {
        const QRgb p = out.pixel(0, 196 + i);
        QCOMPARE(qRed(p), (200 * (4 - i) + 0 * i) / 4);
        QCOMPARE(qGreen(p), (100 * (4 - i) + 20 * i) / 4);
        QCOMPARE(qBlue(p), (0 * (4 - i) + 200 * i) / 4);
        QCOMPARE(qAlpha(p), 255);
    }
    // Right after the overlap bottom continues unblended.
    QCOMPARE(out.pixel(0, 200), bottom.pixel(0, 4));
}

void TestImageJointer::distinctPiecesKeepEveryRow_data()
{
    QTest::addColumn<int>("topWidth");
    QTest::addColumn<int>("bottomWidth");
    QTest::newRow("same width") << 33 << 33;
    // Pieces of one project share their width; should one be narrower, the
    // result keeps the upper width and the missing columns are opaque black.
    QTest::newRow("narrower bottom") << 40 << 30;
}

void TestImageJointer::distinctPiecesKeepEveryRow()
{
    // Rows of distinct colours make every copied row identifiable; the two
    // images do not repeat each other's rows, so all of them are kept.
    QFETCH(int, topWidth);
    QFETCH(int, bottomWidth);
    const QImage top = rowImage(topWidth, 120, 0);
    const QImage bottom = rowImage(bottomWidth, 90, 1000);
    ImageJointer jointer;
    const QImage out = jointer.joint(top, bottom);
    QCOMPARE(jointer.overlap(), 0);
    QCOMPARE(out.format(), QImage::Format_RGB32);
    QCOMPARE(out.size(), QSize(topWidth, 210));
    for (int y = 0; y < 120; ++y)
        QVERIFY2(out.pixel(topWidth - 1, y) == rowColour(0, y), qPrintable(QString::number(y)));
    for (int y = 0; y < 90; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(out.constScanLine(120 + y));
        QVERIFY2(line[bottomWidth - 1] == rowColour(1000, y), qPrintable(QString::number(y)));
        for (int x = bottomWidth; x < topWidth; ++x)
            QCOMPARE(line[x], QRgb(0xff000000u));
    }
}

void TestImageJointer::otherFormatsGiveOpaqueRgb_data()
{
    QTest::addColumn<QImage>("top");
    QTest::addColumn<QImage>("bottom");
    QTest::addColumn<QRgb>("colour");
    QImage grey(10, 50, QImage::Format_Grayscale8);
    grey.fill(128);
    QTest::newRow("grey") << grey << grey << qRgb(128, 128, 128);
    // Half-transparent and transparent pixels keep their colour, opaque.
    QImage half(12, 200, QImage::Format_ARGB32);
    half.fill(qRgba(200, 100, 50, 128));
    QImage clear(12, 200, QImage::Format_ARGB32);
    clear.fill(qRgba(200, 100, 50, 0));
    QTest::newRow("alpha") << half << clear << qRgb(200, 100, 50);
}

void TestImageJointer::otherFormatsGiveOpaqueRgb()
{
    // Every row of the result holds 0xffRRGGBB values (uniform pieces
    // merge no rows).
    QFETCH(QImage, top);
    QFETCH(QImage, bottom);
    QFETCH(QRgb, colour);
    const QImage out = ImageJointer().joint(top, bottom);
    QCOMPARE(out.format(), QImage::Format_RGB32);
    QCOMPARE(out.height(), top.height() + bottom.height());
    for (int y = 0; y < out.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(out.constScanLine(y));
        for (int x = 0; x < out.width(); ++x)
            QVERIFY2(line[x] == colour, qPrintable(QStringLiteral("row %1: %2").arg(y).arg(line[x], 8, 16)));
    }
}

void TestImageJointer::appendInPlaceMatchesJoint_data()
{
    QTest::addColumn<int>("cutRows");    // rows cut from the top after each join
    QTest::addColumn<int>("narrowEvery"); // every n-th piece is 30 columns narrower (0: none)
    QTest::addColumn<bool>("reserved");   // pieces written into reserve()'s rows, as a decoder does
    for (bool reserved : {false, true}) {
        const char *how = reserved ? "written in place" : "appended";
        QTest::addRow("%s, growing, nothing cut", how) << 0 << 0 << reserved;
        QTest::addRow("%s, half a piece cut per join", how) << 200 << 0 << reserved;
        QTest::addRow("%s, a whole piece cut per join", how) << 394 << 0 << reserved;
        QTest::addRow("%s, narrower pieces among them", how) << 150 << 3 << reserved;
    }
}

void TestImageJointer::appendInPlaceMatchesJoint()
{
    // Piece after piece (6 rows repeated at each seam) joined below what is
    // held, rows cut from the top in between: the rows held in place are
    // those joint() and a copy of the rows below each cut give. A piece
    // reserve() has no room for (another width) is appended, as the depth
    // correction does.
    QFETCH(int, cutRows);
    QFETCH(int, narrowEvery);
    QFETCH(bool, reserved);
    const int height = 400; // search limit 10 rows
    ImageJointer reference;
    ImageJointer inPlace;
    QImage expected;
    QImage buffer;
    int first = 0;
    int rows = 0;
    for (int n = 0; n < 12; ++n) {
        QImage piece = expected.isNull() ? noiseImage(120, height, 1) : continuing(expected, 6, height, 100 + n);
        if (narrowEvery > 0 && n % narrowEvery == narrowEvery - 1)
            piece = piece.copy(0, 0, piece.width() - 30, height);
        expected = reference.joint(expected, piece);
        QImage slot = reserved ? inPlace.reserve(&buffer, &first, &rows, piece.width(), height) : QImage();
        QVERIFY(!inPlace.failed());
        if (!slot.isNull()) {
            for (int y = 0; y < height; ++y)
                memcpy(slot.scanLine(y), piece.constScanLine(y), size_t(piece.bytesPerLine()));
            slot = QImage();
            inPlace.appendReserved(&buffer, &first, &rows, height);
        } else {
            QVERIFY(inPlace.append(&buffer, &first, &rows, piece));
        }
        QCOMPARE(inPlace.overlap(), reference.overlap());
        if (n > 0)
            QCOMPARE(inPlace.overlap(), 6);
        // At least a piece stays held, so that the next seam can be searched.
        if (cutRows > 0 && expected.height() >= cutRows + height) {
            expected = expected.copy(0, cutRows, expected.width(), expected.height() - cutRows);
            first += cutRows;
            rows -= cutRows;
        }
        const QImage held(buffer.constBits() + qsizetype(first) * buffer.bytesPerLine(), buffer.width(), rows,
                          buffer.bytesPerLine(), buffer.format());
        QCOMPARE(held, expected);
    }
}

QTEST_MAIN(TestImageJointer)
#include "tst_imagejointer.moc"
