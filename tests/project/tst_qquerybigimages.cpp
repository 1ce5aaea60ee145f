// The report's range reader: opening, counting, raw and page modes, a second
// query while one runs, closing while busy, and damaged files.

#include "globals.h"
#include "projecttesthelpers.h"
#include "qquerybigimages.h"
#include "samplefixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QtTest>
#include <memory>

using namespace ProjectTest;

namespace {

struct Page
{
    QImage image;
    int depth;
};

// Mean absolute difference per channel of two images of the same size.
double meanDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size() || x.isNull())
        return 1e9;
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const QRgb *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const QRgb *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            sum += qAbs(qRed(p[col]) - qRed(q[col])) + qAbs(qGreen(p[col]) - qGreen(q[col]))
                   + qAbs(qBlue(p[col]) - qBlue(q[col]));
    }
    return sum / (3.0 * x.width() * x.height());
}

// Collects the pages a reader hands over in page mode.
void collectPages(QQueryBigImages &reader, QList<Page> &pages)
{
    QObject::connect(&reader, &QQueryBigImages::ProgressingImageJointer, &reader,
                     [&pages](QImage image, int depth) { pages << Page{image, depth}; }, Qt::DirectConnection);
}

QList<int> depthsOf(const QList<Page> &pages)
{
    QList<int> depths;
    for (const Page &page : pages)
        depths << page.depth;
    return depths;
}

// Whether rows [firstRow, firstRow + rows) of image are all white.
bool isWhite(const QImage &image, int firstRow, int rows)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int row = firstRow; row < firstRow + rows && row < rgb.height(); ++row) {
        const QRgb *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(row));
        for (int col = 0; col < rgb.width(); ++col)
            if ((line[col] & 0xffffff) != 0xffffff)
                return false;
    }
    return true;
}

// A reader that shows whether a stop has been asked for.
class ProbeReader : public QQueryBigImages
{
public:
    bool stopAsked() const { return stopRequested; }
};

} // namespace

class TestQQueryBigImages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void openRefusesMissingPaths();
    void eachReaderHasItsOwnConnection();
    void unusualFileNames();
    void countOfDepthRange();
    void rawMode();
    void pageMode_data();
    void pageMode();
    void pageModeCutsLongPiecesIntoSeveralPages();
    void pageModeKeepsUndecodablePiecesAtTheirDepth();
    void whiteRowsOfAFarPieceAreBoundedByThePage();
    void pageDepthMustBePositive();
    void secondQueryWhileBusyIsRefused();
    void closeFromAnotherThreadStopsTheQuery();
    void closeFromAReceiverDoesNotHang();
    void damagedFiles_data();
    void damagedFiles();
    void readOnlyFileIsReadable();

private:
    QTemporaryDir m_dir;
    QString m_project; // 0..5 m, 1 m pieces, 400 px wide
    QString m_long;    // 0..20 m
};

void TestQQueryBigImages::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_project = m_dir.filePath(QStringLiteral("five.prj"));
    QVERIFY(SampleFixture::make(m_project, {"--to", "5", "--quiet"}));
    m_long = m_dir.filePath(QStringLiteral("twenty.prj"));
    QVERIFY(SampleFixture::make(m_long, {"--to", "20", "--width", "64", "--quiet"}));
}

void TestQQueryBigImages::openRefusesMissingPaths()
{
    QQueryBigImages reader;
    const QString missing = m_dir.filePath(QStringLiteral("missing.prj"));
    QVERIFY(!reader.open(missing));
    QVERIFY(!reader.isOpen());
    QVERIFY(!QFile::exists(missing));
    QVERIFY(!reader.open(QString()));
    QVERIFY(!reader.open(m_dir.path())); // a directory
    QCOMPARE(reader.CountOfDepthRange(0, 5), 0);
    QVERIFY(!reader.queryRange(0, 5));
    reader.close(); // closing a closed reader does nothing

    QVERIFY(reader.open(m_project));
    QVERIFY(reader.isOpen());
    QCOMPARE(reader.openedPath(), m_project);
    // A failed open of another path leaves nothing behind either.
    reader.close();
    QVERIFY(!reader.isOpen());
    QVERIFY(reader.openedPath().isEmpty());
    QVERIFY(!QSqlDatabase::contains(reader.connectionName()));
}

void TestQQueryBigImages::eachReaderHasItsOwnConnection()
{
    LogRecorder log;
    QQueryBigImages first;
    QQueryBigImages second;
    QVERIFY(first.connectionName().startsWith(QStringLiteral("KORA")));
    QVERIFY(first.connectionName() != second.connectionName());
    QVERIFY(first.open(m_project));
    QVERIFY(second.open(m_long));
    // Both stay usable, each on its own file.
    QCOMPARE(first.CountOfDepthRange(0, 100), 5);
    QCOMPARE(second.CountOfDepthRange(0, 100), 20);
    first.close();
    QCOMPARE(second.CountOfDepthRange(0, 100), 20);
    second.close();
    QCOMPARE(log.connectionWarnings(), QStringList());
}

void TestQQueryBigImages::unusualFileNames()
{
    // Spaces, URI special characters and non-ASCII folder and file names.
    QDir(m_dir.path()).mkpath(QStringLiteral("野外 数据 #2"));
    const QString path = m_dir.filePath(QStringLiteral("野外 数据 #2/钻孔 ZK-1 100%?.prj"));
    QVERIFY(SampleFixture::make(path, {"--to", "2", "--quiet"}));
    QQueryBigImages reader;
    QVERIFY(reader.open(path));
    QCOMPARE(reader.CountOfDepthRange(0, 2), 2);
    reader.close();
    // The sibling without the odd characters was not created instead.
    QCOMPARE(QDir(m_dir.filePath(QStringLiteral("野外 数据 #2"))).entryList(QDir::Files),
             QStringList{QStringLiteral("钻孔 ZK-1 100%?.prj")});
}

void TestQQueryBigImages::countOfDepthRange()
{
    QQueryBigImages reader;
    QVERIFY(reader.open(m_project));
    QCOMPARE(reader.CountOfDepthRange(0, 5), 5);
    QCOMPARE(reader.CountOfDepthRange(1, 3), 2); // (1 m, 3 m]: ids 20000, 30000
    QCOMPARE(reader.CountOfDepthRange(4, 9), 1);
    QCOMPARE(reader.CountOfDepthRange(5, 9), 0);
    QCOMPARE(reader.CountOfDepthRange(3, 1), 0);
}

void TestQQueryBigImages::rawMode()
{
    QQueryBigImages reader;
    QVERIFY(reader.open(m_project));
    QList<int> depths;
    QList<QByteArray> blobs;
    int jointed = 0;
    connect(&reader, &QQueryBigImages::ProgressingImageBuffers, this,
            [&](int depth, QByteArray *bytes) {
                depths << depth;
                blobs << *bytes;
            },
            Qt::DirectConnection);
    connect(&reader, &QQueryBigImages::ProgressingImageJointer, this, [&](QImage, int) { ++jointed; },
            Qt::DirectConnection);

    QVERIFY(reader.queryRange(1, 4));
    QCOMPARE(depths, (QList<int>{20000, 30000, 40000}));
    QCOMPARE(jointed, 0);
    Inspector db(m_project);
    for (int i = 0; i < depths.size(); ++i)
        QCOMPARE(blobs.at(i), db.blob(depths.at(i)));

    // Page depth 10 000 given explicitly is raw mode as well.
    depths.clear();
    QVERIFY(reader.queryRange(0, 5, 10000));
    QCOMPARE(depths, (QList<int>{10000, 20000, 30000, 40000, 50000}));
    QCOMPARE(jointed, 0);
}

void TestQQueryBigImages::pageMode_data()
{
    QTest::addColumn<int>("pageDepth");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QList<int>>("depths");
    QTest::addColumn<QList<int>>("piecesPerPage");

    // Every second piece completes a page; the short remainder comes last
    // with the last piece's id.
    QTest::newRow("2 m pages") << 20000 << 0.5 << QList<int>{20000, 40000, 50000} << QList<int>{2, 2, 1};
    QTest::newRow("3 m pages") << 30000 << 1.0 << QList<int>{30000, 50000} << QList<int>{3, 2};
    QTest::newRow("5 m page") << 50000 << 0.25 << QList<int>{50000} << QList<int>{5};
}

void TestQQueryBigImages::pageMode()
{
    QFETCH(int, pageDepth);
    QFETCH(double, scale);
    QFETCH(QList<int>, depths);
    QFETCH(QList<int>, piecesPerPage);

    pixelsPerUnit = 400 / (1000 * 3.14);
    QQueryBigImages reader;
    QVERIFY(reader.open(m_project));
    reader.setScale(scale, scale);
    QList<Page> pages;
    collectPages(reader, pages);
    int raw = 0;
    connect(&reader, &QQueryBigImages::ProgressingImageBuffers, this, [&](int, QByteArray *) { ++raw; },
            Qt::DirectConnection);
    QVERIFY(reader.queryRange(0, 5, pageDepth));
    QCOMPARE(raw, 0);
    QCOMPARE(depthsOf(pages), depths);

    // Stored pieces, decoded, in depth order.
    QList<QImage> pieces;
    {
        Inspector db(m_project);
        for (int id : db.ids()) {
            QImage piece;
            QVERIFY(piece.loadFromData(db.blob(id), "JPG"));
            pieces << piece;
        }
    }
    int next = 0;
    for (int i = 0; i < pages.size(); ++i) {
        const QImage &page = pages.at(i).image;
        QCOMPARE(page.width(), int(400 * scale));
        int expectedHeight = 0;
        for (int k = 0; k < piecesPerPage.at(i); ++k)
            expectedHeight += int(pieces.at(next + k).height() * scale);
        QVERIFY2(qAbs(page.height() - expectedHeight) <= 2,
                 qPrintable(QStringLiteral("page %1: %2 rows, expected %3").arg(i).arg(page.height()).arg(expectedHeight)));

        // The first piece of the page sits at its top, scaled.
        const QImage first = pieces.at(next).scaled(page.width(), int(pieces.at(next).height() * scale),
                                                    Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage top = page.copy(0, 0, page.width(), first.height());
        const double diff = meanDifference(top, first);
        QVERIFY2(diff < 12.0, qPrintable(QStringLiteral("page %1 differs by %2").arg(i).arg(diff)));
        // ... and is not what the second piece looks like there.
        if (piecesPerPage.at(i) > 1) {
            const QImage second = pieces.at(next + 1).scaled(first.size(), Qt::IgnoreAspectRatio,
                                                             Qt::SmoothTransformation);
            QVERIFY(meanDifference(top, second) > diff);
        }
        next += piecesPerPage.at(i);
    }
    QCOMPARE(next, pieces.size());
}

void TestQQueryBigImages::pageModeCutsLongPiecesIntoSeveralPages()
{
    // Pieces of 2.5 m, pages of 1.5 m: one piece completes up to two pages
    // and leaves the rest for the next.
    const QString path = m_dir.filePath(QStringLiteral("long-pieces.prj"));
    QVERIFY(SampleFixture::make(path, {"--to", "5", "--piece", "2.5", "--width", "100", "--quiet"}));
    QImage wall;
    int pieceRows = 0;
    {
        Inspector db(path);
        QCOMPARE(db.ids(), (QList<int>{25000, 50000}));
        const QImage a = QImage::fromData(db.blob(25000), "JPG").convertToFormat(QImage::Format_RGB32);
        const QImage b = QImage::fromData(db.blob(50000), "JPG").convertToFormat(QImage::Format_RGB32);
        QCOMPARE(a.height(), b.height());
        pieceRows = a.height();
        wall = QImage(100, 2 * pieceRows, QImage::Format_RGB32);
        QPainter painter(&wall);
        painter.drawImage(0, 0, a);
        painter.drawImage(0, pieceRows, b);
    }

    pixelsPerUnit = 100 / (1000 * 3.14);
    QQueryBigImages reader;
    QVERIFY(reader.open(path));
    QList<Page> pages;
    collectPages(reader, pages);
    QVERIFY(reader.queryRange(0, 5, 15000));
    QCOMPARE(depthsOf(pages), (QList<int>{15000, 30000, 45000, 50000}));
    const int pageRows = int(15000 * (double(pieceRows) / 25000));
    int row = 0;
    for (int i = 0; i < pages.size(); ++i) {
        const QImage page = pages.at(i).image.convertToFormat(QImage::Format_RGB32);
        const int expected = i < 3 ? pageRows : 2 * pieceRows - 3 * pageRows;
        QCOMPARE(page.height(), expected);
        QCOMPARE(page.width(), 100);
        // At scale 1 each page is exactly its band of the stacked pieces.
        QCOMPARE(page, wall.copy(0, row, 100, expected));
        row += expected;
    }
    QCOMPARE(row, wall.height());
}

void TestQQueryBigImages::pageModeKeepsUndecodablePiecesAtTheirDepth()
{
    // Pieces every metre, the second one (1 m..2 m) not a JPEG.
    const QString path = m_dir.filePath(QStringLiteral("badpiece.prj"));
    QVERIFY(SampleFixture::make(path, {"--to", "5", "--width", "200", "--bad-piece", "1", "--quiet"}));
    const double rowsPerMetre = 200 / (1000 * 3.14) * 10000;
    QList<QImage> stored;
    {
        Inspector db(path);
        for (int id : db.ids())
            stored << QImage::fromData(db.blob(id), "JPG");
    }
    QCOMPARE(stored.size(), 5);
    QVERIFY(stored.at(1).isNull());

    pixelsPerUnit = 200 / (1000 * 3.14);
    QQueryBigImages reader;
    QVERIFY(reader.open(path));
    QList<Page> pages;
    collectPages(reader, pages);
    QVERIFY(reader.queryRange(0, 5, 20000));
    QCOMPARE(depthsOf(pages), (QList<int>{20000, 40000, 50000}));
    // Every page holds its own depth span: two metres, two metres, one.
    const QList<double> metres = {2, 2, 1};
    for (int i = 0; i < pages.size(); ++i) {
        QCOMPARE(pages.at(i).image.width(), 200);
        QVERIFY2(qAbs(pages.at(i).image.height() - metres.at(i) * rowsPerMetre) <= 3,
                 qPrintable(QStringLiteral("page %1: %2 rows").arg(i).arg(pages.at(i).image.height())));
    }
    // The first page: the good piece, then white rows for the bad one.
    const QImage first = pages.at(0).image;
    const int split = stored.at(0).height();
    QVERIFY(meanDifference(first.copy(0, 0, 200, split), stored.at(0)) < 12.0);
    QVERIFY(isWhite(first, split + 2, first.height() - split - 4));
    // The second page starts with the piece of 2 m..3 m, not shifted upward.
    const QImage third = stored.at(2);
    QVERIFY(meanDifference(pages.at(1).image.copy(0, 0, 200, third.height()), third) < 12.0);

    // The first piece of the range undecodable: the width comes from the
    // next piece, and the first metre is white.
    const QString firstBad = m_dir.filePath(QStringLiteral("firstbad.prj"));
    QVERIFY(SampleFixture::make(firstBad, {"--to", "4", "--width", "200", "--bad-piece", "0", "--quiet"}));
    QImage second;
    {
        Inspector db(firstBad);
        second = QImage::fromData(db.blob(20000), "JPG");
    }
    QVERIFY(!second.isNull());
    pages.clear();
    QVERIFY(reader.open(firstBad));
    QVERIFY(reader.queryRange(0, 4, 20000));
    QCOMPARE(depthsOf(pages), (QList<int>{20000, 40000}));
    const QImage top = pages.at(0).image;
    QCOMPARE(top.width(), 200);
    QVERIFY2(qAbs(top.height() - 2 * rowsPerMetre) <= 3, qPrintable(QString::number(top.height())));
    const int blank = top.height() - second.height();
    QVERIFY(qAbs(blank - rowsPerMetre) <= 2);
    QVERIFY(isWhite(top, 0, blank - 1));
    QVERIFY(meanDifference(top.copy(0, blank, 200, second.height()), second) < 12.0);
}

void TestQQueryBigImages::whiteRowsOfAFarPieceAreBoundedByThePage()
{
#ifndef Q_OS_UNIX
    QSKIP("the child's memory limit needs setrlimit");
#endif
    // Five 1 m pieces of 64 px; the fourth does not decode and lies at id
    // 10^8 (10 000 m), the fifth just below it. Its white rows, 2 million of
    // them, must not be allocated in one block: the child's address space is
    // smaller than that block.
    const QString path = m_dir.filePath(QStringLiteral("far.prj"));
    QVERIFY(SampleFixture::make(path, {"--to", "5", "--width", "64", "--bad-piece", "3", "--quiet"}));
    {
        Inspector db(path);
        QVERIFY(db.exec(QStringLiteral("update bigImages set id = 100010000 where id = 50000")));
        QVERIFY(db.exec(QStringLiteral("update bigImages set id = 100000000 where id = 40000")));
    }
    const ChildResult child = runChild(QStringLiteral("white-gap"), {path}, 512);
    QVERIFY2(child.finished && !child.crashed, qPrintable(child.err.right(2000)));
    QCOMPARE(child.exitCode, 0);
    QVERIFY2(!child.err.contains(QLatin1String("out of memory"), Qt::CaseInsensitive),
             qPrintable(child.err.right(2000)));

    // 100 m pages: every page of the gap is one page of white rows.
    const QStringList pages = child.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 101);
    const double rowsPerPage = 1000000 * 64 / (1000 * 3.14);
    for (int i = 0; i < pages.size(); ++i) {
        const QStringList f = pages.at(i).split(QLatin1Char(' ')); // depth width height white-top white-bottom
        QCOMPARE(f.size(), 5);
        QCOMPARE(f.at(1).toInt(), 64);
        if (i < 100) {
            QCOMPARE(f.at(0).toInt(), 1000000 * (i + 1));
            QVERIFY2(qAbs(f.at(2).toInt() - rowsPerPage) <= 100, qPrintable(pages.at(i)));
            // The first page holds the three good pieces at its top.
            QCOMPARE(f.at(3), QString(i == 0 ? "0" : "1"));
            QCOMPARE(f.at(4), QStringLiteral("1"));
        } else {
            // The piece below the gap, at its own depth.
            QCOMPARE(f.at(0).toInt(), 100010000);
            QVERIFY2(qAbs(f.at(2).toInt() - 204) <= 1, qPrintable(pages.at(i)));
            QCOMPARE(f.at(3), QStringLiteral("0"));
            QCOMPARE(f.at(4), QStringLiteral("0"));
        }
    }
}

void TestQQueryBigImages::pageDepthMustBePositive()
{
    QQueryBigImages reader;
    QVERIFY(reader.open(m_project));
    int emitted = 0;
    connect(&reader, &QQueryBigImages::ProgressingImageJointer, this, [&](QImage, int) { ++emitted; },
            Qt::DirectConnection);
    connect(&reader, &QQueryBigImages::ProgressingImageBuffers, this, [&](int, QByteArray *) { ++emitted; },
            Qt::DirectConnection);
    QVERIFY(!reader.queryRange(0, 5, 0));
    QVERIFY(!reader.queryRange(0, 5, -20000));
    QCOMPARE(emitted, 0);
    // Not left busy.
    QVERIFY(reader.queryRange(0, 5));
    QCOMPARE(emitted, 5);
}

void TestQQueryBigImages::secondQueryWhileBusyIsRefused()
{
    QQueryBigImages reader;
    QVERIFY(reader.open(m_project));
    QList<bool> nested;
    int depthsSeen = 0;
    connect(&reader, &QQueryBigImages::ProgressingImageBuffers, this,
            [&](int, QByteArray *) {
                ++depthsSeen;
                if (nested.isEmpty())
                    nested << reader.queryRange(0, 5);
            },
            Qt::DirectConnection);
    QVERIFY(reader.queryRange(0, 5));
    QCOMPARE(nested, QList<bool>{false});
    QCOMPARE(depthsSeen, 5); // the running query was not disturbed
    // Idle again: a new query runs.
    QVERIFY(reader.queryRange(0, 2));
    QCOMPARE(depthsSeen, 7);
}

void TestQQueryBigImages::closeFromAnotherThreadStopsTheQuery()
{
    LogRecorder log;
    ProbeReader reader;
    std::atomic<int> delivered{0};
    std::atomic<bool> result{false};
    std::atomic<bool> opened{false};
    std::atomic<bool> timerFired{false};
    std::atomic<bool> goneWhenQueryReturned{false};
    std::atomic<bool> waitedTooLong{false};
    std::atomic<bool> holdSecondPiece{true};
    connect(&reader, &QQueryBigImages::ProgressingImageBuffers, &reader,
            [&](int, QByteArray *) {
                if (++delivered != 2 || !holdSecondPiece)
                    return;
                // Hold the second piece until close() has asked the query to
                // stop and, while waiting, has let the GUI thread's events run.
                QElapsedTimer guard;
                guard.start();
                while (!(reader.stopAsked() && timerFired)) {
                    if (guard.elapsed() > 30000) {
                        waitedTooLong = true;
                        break;
                    }
                    QThread::yieldCurrentThread();
                }
            },
            Qt::DirectConnection);
    std::unique_ptr<QThread> worker(QThread::create([&]() {
        opened = reader.open(m_long);
        if (opened)
            result = reader.queryRange(0, 20);
        // The querying thread closed its own connection before returning.
        goneWhenQueryReturned = !QSqlDatabase::contains(reader.connectionName());
    }));
    worker->start();
    QTRY_VERIFY_WITH_TIMEOUT(delivered.load() >= 2, 20000);

    // The GUI thread keeps handling events while it waits.
    QTimer::singleShot(0, this, [&]() { timerFired = true; });
    reader.close();
    QVERIFY(timerFired);
    QVERIFY(!reader.isOpen());
    QVERIFY(worker->wait(20000));
    QVERIFY(!waitedTooLong);
    QVERIFY(opened);
    QVERIFY(result); // a stopped query still ends normally
    QCOMPARE(delivered.load(), 2); // the stop is seen at the next row
    QVERIFY(goneWhenQueryReturned);
    QVERIFY(!QSqlDatabase::contains(reader.connectionName()));
    QCOMPARE(log.connectionWarnings(), QStringList());

    // The reader can be opened and used again afterwards.
    holdSecondPiece = false;
    QVERIFY(reader.open(m_project));
    delivered = 0;
    QVERIFY(reader.queryRange(0, 5));
    QCOMPARE(delivered.load(), 5);
    reader.close();
}

void TestQQueryBigImages::closeFromAReceiverDoesNotHang()
{
    LogRecorder log;
    QQueryBigImages reader;
    QVERIFY(reader.open(m_project));
    int delivered = 0;
    connect(&reader, &QQueryBigImages::ProgressingImageBuffers, this,
            [&](int, QByteArray *) {
                if (++delivered == 2)
                    reader.close();
            },
            Qt::DirectConnection);
    QVERIFY(reader.queryRange(0, 5));
    QCOMPARE(delivered, 2);
    QVERIFY(!reader.isOpen());
    QVERIFY(!QSqlDatabase::contains(reader.connectionName()));
    QCOMPARE(log.connectionWarnings(), QStringList());
}

void TestQQueryBigImages::damagedFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("garbage") << "garbage";
    QTest::newRow("no bigImages table") << "notable";
}

void TestQQueryBigImages::damagedFiles()
{
    QFETCH(QString, kind);
    const QString path = m_dir.filePath(kind + QStringLiteral(".prj"));
    if (kind == QLatin1String("garbage")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(5000, 'x'));
    } else {
        QVERIFY(SampleFixture::make(path, {"--to", "1", "--quiet"}));
        Inspector db(path);
        QVERIFY(db.exec(QStringLiteral("drop table bigImages")));
    }
    const QByteArray before = fileHash(path);

    QQueryBigImages reader;
    if (reader.open(path)) {
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^CountOfDepthRange---last Error: \".+\"$"));
        QCOMPARE(reader.CountOfDepthRange(0, 5), 0);
        // The failed query leaves the reader idle: a second query is tried
        // again (not refused as busy), and close() returns.
        QVERIFY(!reader.queryRange(0, 5));
        QVERIFY(!reader.queryRange(0, 5, 20000));
        // Not left busy: the holder takes another file and queries it.
        QVERIFY(reader.open(m_project));
        QVERIFY(reader.queryRange(0, 1));
        QVERIFY(reader.open(path));
        QElapsedTimer timer;
        timer.start();
        reader.close();
        QVERIFY(timer.elapsed() < 5000);
        QVERIFY(!reader.isOpen());
    }
    QCOMPARE(fileHash(path), before);
}

void TestQQueryBigImages::readOnlyFileIsReadable()
{
    const QString path = m_dir.filePath(QStringLiteral("locked.prj"));
    QVERIFY(SampleFixture::make(path, {"--to", "3", "--quiet"}));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    const QByteArray before = fileHash(path);
    QQueryBigImages reader;
    QVERIFY(reader.open(path));
    int delivered = 0;
    connect(&reader, &QQueryBigImages::ProgressingImageBuffers, this, [&](int, QByteArray *) { ++delivered; },
            Qt::DirectConnection);
    QCOMPARE(reader.CountOfDepthRange(0, 3), 3);
    QVERIFY(reader.queryRange(0, 3));
    QCOMPARE(delivered, 3);
    reader.close();
    QCOMPARE(fileHash(path), before);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

namespace {

// Child: reads the whole range of the project in 100 m pages and prints
// each page's depth, size and whether its top and bottom 100 rows are white.
int whiteGap(const QString &routine, const QStringList &args)
{
    if (routine != QLatin1String("white-gap") || args.size() != 1)
        return 3;
    pixelsPerUnit = 64 / (1000 * 3.14);
    QQueryBigImages reader;
    if (!reader.open(args.first()))
        return 4;
    QTextStream out(stdout);
    QObject::connect(&reader, &QQueryBigImages::ProgressingImageJointer, &reader,
                     [&out](QImage page, int depth) {
                         out << depth << ' ' << page.width() << ' ' << page.height() << ' '
                             << int(isWhite(page, 0, 100)) << ' '
                             << int(isWhite(page, page.height() - 100, 100)) << '\n';
                     },
                     Qt::DirectConnection);
    return reader.queryRange(0, 10002, 1000000) ? 0 : 5;
}

} // namespace

int main(int argc, char **argv)
{
    return testMain<TestQQueryBigImages>(argc, argv, &whiteGap);
}

#include "tst_qquerybigimages.moc"
