// The page reader: signal sequences of downward and upward reads, pages that
// end inside a piece or beyond the data, damaged pieces, missing files, and
// the connection living on the worker thread.

#include "globals.h"
#include "kdimage.h"
#include "projectinfo.h"
#include "projecttesthelpers.h"
#include "qquerybigimages.h"
#include "readbigimagethread.h"
#include "samplefixture.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <limits>
#include <memory>

using namespace ProjectTest;

namespace {

using Spans = QList<QPair<int, int>>;

// What one run delivered, in the order the GUI thread received it.
struct Run
{
    QStringList events;           // "count", "image", "finished", "threadFinished"
    int count = -1;
    QList<KdImage> images;

    int occurrences(const QString &event) const { return events.count(event); }
    QList<QPair<int, int>> spans() const
    {
        QList<QPair<int, int>> list;
        for (const KdImage &image : images)
            list << qMakePair(image.startDepth(), image.endDepth());
        return list;
    }
};

} // namespace

class TestReadBigImageThread : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void downwardPage_data();
    void downwardPage();
    void firstPieceStartsAtProjectStart();
    void readKeepsPaceWithTheWindow_data();
    void readKeepsPaceWithTheWindow();
    void stopWhileWaitingForTheWindow();
    void upwardPage_data();
    void upwardPage();
    void idsNearTheIntegerLimits_data();
    void idsNearTheIntegerLimits();
    void damagedPieceIsDeliveredNull();
    void readOnlyFileIsRead();
    void missingFileEndsCleanly();
    void unopenableFileEndsCleanly();
    void stopEndsTheRunCleanly();
    void connectionBelongsToWorkerThread();
    void pageReadWhileReportReads();

private:
    QString sample(const QString &name, const QStringList &args);
    void load(const QString &path);
    Run read(const QString &path, int pageStart, int pageEnd);

    QTemporaryDir m_dir;
    QString m_down;
};

QString TestReadBigImageThread::sample(const QString &name, const QStringList &args)
{
    return makeSample(m_dir, name, args);
}

void TestReadBigImageThread::load(const QString &path)
{
    openProject(path);
}

Run TestReadBigImageThread::read(const QString &path, int pageStart, int pageEnd)
{
    Run run;
    ProjectInfo::instance()->setPageStart(pageStart);
    ProjectInfo::instance()->setPageEnd(pageEnd);
    std::unique_ptr<ReadBigImageThread> reader(new ReadBigImageThread(path, pageStart, pageEnd));
    QObject receiver; // lives on the GUI thread: deliveries are queued
    connect(reader.get(), &ReadBigImageThread::bigImageCountGetted, &receiver, [&run](int count) {
        run.events << QStringLiteral("count");
        run.count = count;
    });
    connect(reader.get(), &ReadBigImageThread::readOneBigImage, &receiver, [&run](KdImage image) {
        run.events << QStringLiteral("image");
        run.images << image;
    });
    connect(reader.get(), &ReadBigImageThread::readFinieshed, &receiver,
            [&run]() { run.events << QStringLiteral("finished"); });
    connect(reader.get(), &ReadBigImageThread::readThreadFinished, &receiver,
            [&run]() { run.events << QStringLiteral("threadFinished"); });
    reader->start();
    [&]() { QTRY_VERIFY_WITH_TIMEOUT(run.events.contains(QStringLiteral("threadFinished")), 60000); }();
    reader->wait();
    QCoreApplication::processEvents(); // anything that came after would show up now
    return run;
}

void TestReadBigImageThread::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // No fixed pause: a read goes as fast as its receiver takes the pieces.
    QCOMPARE(ReadBigImageThread::pieceDelay(), 0);
    m_down = sample(QStringLiteral("down.prj"), {"--from", "0", "--to", "5", "--width", "200"});
    QVERIFY(!m_down.isEmpty());
}

void TestReadBigImageThread::downwardPage_data()
{
    QTest::addColumn<int>("pageStart");
    QTest::addColumn<int>("pageEnd");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("bottoms");

    QTest::newRow("whole metres") << 0 << 30000 << 3 << QList<int>{10000, 20000, 30000};
    // The page ends inside the third piece: that piece is the last one read
    // (and counted).
    QTest::newRow("ends inside a piece") << 15000 << 35000 << 3 << QList<int>{20000, 30000, 40000};
    // The page reaches below the data: the rows run out.
    QTest::newRow("beyond the data") << 30000 << 80000 << 2 << QList<int>{40000, 50000};
    QTest::newRow("whole project") << 0 << 50000 << 5 << QList<int>{10000, 20000, 30000, 40000, 50000};
    QTest::newRow("below the data") << 60000 << 80000 << 0 << QList<int>{};
}

void TestReadBigImageThread::downwardPage()
{
    QFETCH(int, pageStart);
    QFETCH(int, pageEnd);
    QFETCH(int, count);
    QFETCH(QList<int>, bottoms);

    load(m_down);
    const Run run = read(m_down, pageStart, pageEnd);

    QCOMPARE(run.count, count);
    QCOMPARE(run.occurrences("count"), 1);
    QCOMPARE(run.occurrences("finished"), 1);
    QCOMPARE(run.occurrences("threadFinished"), 1);
    QCOMPARE(run.events.first(), QStringLiteral("count"));
    QCOMPARE(run.events.last(), QStringLiteral("threadFinished"));
    QCOMPARE(run.events.at(run.events.size() - 2), QStringLiteral("finished"));
    QCOMPARE(run.images.size(), bottoms.size());

    // Each piece comes with its whole span: the first from the piece above.
    int top = pageStart / 10000 * 10000;
    for (int i = 0; i < run.images.size(); ++i) {
        const KdImage &image = run.images.at(i);
        QCOMPARE(image.startDepth(), top);
        QCOMPARE(image.endDepth(), bottoms.at(i));
        QVERIFY(!image.image().isNull());
        QCOMPARE(image.image().width(), 200);
        // 200 px / (1000 x 3.14) per unit: about 637 rows per metre.
        QVERIFY(qAbs(image.image().height() - 637) <= 1);
        top = image.endDepth();
    }
}

void TestReadBigImageThread::firstPieceStartsAtProjectStart()
{
    const QString path = sample(QStringLiteral("deep.prj"), {"--from", "2", "--to", "6", "--width", "100"});
    QVERIFY(!path.isEmpty());
    load(path);
    QCOMPARE(ProjectInfo::instance()->start(), 20000);

    // A page from the collar: the first piece starts at the project start.
    Run run = read(path, 0, 40000);
    QCOMPARE(run.count, 2);
    QCOMPARE(run.spans(), (QList<QPair<int, int>>{{20000, 30000}, {30000, 40000}}));

    // A page that starts inside the first piece gets the piece's whole span.
    run = read(path, 25000, 40000);
    QCOMPARE(run.spans(), (QList<QPair<int, int>>{{20000, 30000}, {30000, 40000}}));
    QCOMPARE(run.occurrences("finished"), 1);
}

void TestReadBigImageThread::readKeepsPaceWithTheWindow_data()
{
    QTest::addColumn<QString>("direction");
    QTest::newRow("down") << QStringLiteral("down");
    QTest::newRow("up") << QStringLiteral("up");
}

void TestReadBigImageThread::readKeepsPaceWithTheWindow()
{
    QFETCH(QString, direction);
    const QString path = sample(QStringLiteral("pace-%1.prj").arg(direction),
                                {"--direction", direction, "--to", "12", "--width", "100"});
    QVERIFY(!path.isEmpty());
    load(path);
    ReadBigImageThread reader(path, 0, 120000);
    std::atomic<int> sent{0};
    connect(&reader, &ReadBigImageThread::readOneBigImage, &reader, [&sent](KdImage) { ++sent; },
            Qt::DirectConnection);
    // A slow window: every piece takes a while to place. When it gets a
    // piece, the reader has not handed on more than it may run ahead.
    QList<int> aheadAtPlacing;
    QObject window;
    connect(&reader, &ReadBigImageThread::readOneBigImage, &window, [&](KdImage) {
        aheadAtPlacing << sent - int(aheadAtPlacing.size());
        QThread::msleep(15);
    });
    bool ended = false;
    connect(&reader, &ReadBigImageThread::readThreadFinished, &window, [&ended] { ended = true; });
    reader.start();
    QTRY_VERIFY_WITH_TIMEOUT(ended, 60000);
    QVERIFY(reader.wait(10000));
    QCOMPARE(aheadAtPlacing.size(), 12);
    for (int ahead : qAsConst(aheadAtPlacing))
        QVERIFY2(ahead >= 1 && ahead <= ReadBigImageThread::kPiecesAhead, qPrintable(QString::number(ahead)));
    QCOMPARE(reader.piecesSent(), 12);
}

void TestReadBigImageThread::stopWhileWaitingForTheWindow()
{
    load(m_down);
    ReadBigImageThread reader(m_down, 0, 50000);
    std::atomic<int> sent{0};
    connect(&reader, &ReadBigImageThread::readOneBigImage, &reader, [&sent](KdImage) { ++sent; },
            Qt::DirectConnection);
    // The window does not get round to placing anything: this thread runs
    // no events, so the reader must wait after its first pieces.
    reader.start();
    QElapsedTimer waited;
    waited.start();
    while (sent < ReadBigImageThread::kPiecesAhead && waited.elapsed() < 20000)
        QThread::msleep(2);
    QThread::msleep(150);
    QCOMPARE(sent.load(), ReadBigImageThread::kPiecesAhead);
    QVERIFY(reader.isRunning());

    QElapsedTimer stop;
    stop.start();
    reader.requestStop();
    QVERIFY(reader.wait(5000));
    QVERIFY2(stop.elapsed() < 200, qPrintable(QString::number(stop.elapsed())));
    QCOMPARE(sent.load(), ReadBigImageThread::kPiecesAhead);
    QVERIFY(!QSqlDatabase::contains(reader.connectionName()));
}

void TestReadBigImageThread::upwardPage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("pageStart");
    QTest::addColumn<int>("pageEnd");
    QTest::addColumn<int>("count");
    QTest::addColumn<Spans>("spans");

    // Stored ids 7000, 14000, 21000, 28000, 30000; piece tops lie at
    // 30000 - id: 0, 2000, 9000, 16000, 23000; each piece ends where the
    // next one begins.
    const QStringList shortPieces = {"--piece", "0.7"};
    QTest::newRow("from the collar") << shortPieces << 0 << 10000 << 3
                                     << Spans{{0, 2000}, {2000, 9000}, {9000, 16000}};
    // Pieces wholly above the page are passed over; the deepest piece has
    // no further row and ends at maxDepth - start.
    QTest::newRow("bottom page") << shortPieces << 20000 << 30000 << 1 << Spans{{16000, 23000}, {23000, 30000}};
    // Ids 20000 and 30000 (the piece at 2 m..3 m is missing): the deepest
    // piece ends 10 000 below its top, short of maxDepth; the page reaches
    // beyond the data and ends when the rows run out.
    QTest::newRow("last piece ends 1 m below its top") << QStringList{"--missing-metre", "1"} << 0 << 30000 << 2
                                                       << Spans{{0, 10000}, {10000, 20000}};
}

void TestReadBigImageThread::upwardPage()
{
    QFETCH(QStringList, args);
    QFETCH(int, pageStart);
    QFETCH(int, pageEnd);
    QFETCH(int, count);
    QFETCH(Spans, spans);

    const QString path = sample(QStringLiteral("up.prj"),
                                QStringList{"--direction", "up", "--to", "3", "--width", "100"} + args);
    QVERIFY(!path.isEmpty());
    load(path);
    QCOMPARE(ProjectInfo::instance()->direction(), QStringLiteral("up"));
    QCOMPARE(ProjectInfo::instance()->maxDepth(), 30000);

    const Run run = read(path, pageStart, pageEnd);
    QCOMPARE(run.count, count);
    QCOMPARE(run.spans(), spans);
    QCOMPARE(run.occurrences("finished"), 1);
    QCOMPARE(run.events.last(), QStringLiteral("threadFinished"));
    for (const KdImage &image : run.images) {
        QVERIFY(!image.image().isNull());
        // Each stored piece is as high as its depth span.
        const double expected = (image.endDepth() - image.startDepth()) * 100 / (1000 * 3.14);
        QVERIFY2(qAbs(image.image().height() - expected) <= 1.5,
                 qPrintable(QStringLiteral("height %1, expected %2").arg(image.image().height()).arg(expected)));
    }
}

void TestReadBigImageThread::idsNearTheIntegerLimits_data()
{
    QTest::addColumn<QStringList>("sql");
    QTest::addColumn<int>("pageStart");
    QTest::addColumn<int>("pageEnd");
    QTest::addColumn<int>("count"); // -1: no count
    QTest::addColumn<Spans>("spans");
    QTest::addColumn<QString>("logged");

    const int min = std::numeric_limits<int>::min();
    const int max = std::numeric_limits<int>::max();
    // Upward project, pieces of 1 m stored at ids 10000 ... 40000.
    // All ids moved to just above -2^31: the page's range (maxDepth - 40001,
    // maxDepth] starts below -2^31. The stored shallowest piece has no row
    // below it and ends at maxDepth - start, above its own top: it is empty.
    QTest::newRow("ids just above -2^31")
        << QStringList{QStringLiteral("update bigImages set id = id + (%1)").arg(min)} << 0 << 40001 << 4
        << Spans{{0, 10000}, {10000, 20000}, {20000, 30000}} << QString();
    // A page that starts near -2^31: maxDepth - pageStart is beyond 2^31.
    QTest::newRow("page start near -2^31")
        << QStringList{} << min + 5 << 30000 << 3 << Spans{{0, 10000}, {10000, 20000}, {20000, 30000}}
        << QString();
    // Ids spread over more than the 32-bit range: the second piece would end
    // beyond 2^31; the read ends there instead of wrapping round.
    QTest::newRow("ids spread over more than 2^32")
        << QStringList{QStringLiteral("update bigImages set id = %1 where id = 40000").arg(max),
                       QStringLiteral("update bigImages set id = %1 where id = 30000").arg(max - 10000),
                       QStringLiteral("update bigImages set id = %1 where id = 20000").arg(min + 1000),
                       QStringLiteral("delete from bigImages where id = 10000")}
        << 0 << 30000 << 2 << Spans{{0, 10000}} << QStringLiteral("piece depth out of range");
    // Neither "down" nor "up": reported, nothing read.
    QTest::newRow("unknown direction") << QStringList{"update projectInfo set direction = 'sideways'"} << 0
                                       << 30000 << -1 << Spans{} << QStringLiteral("unknown logging direction");
}

void TestReadBigImageThread::idsNearTheIntegerLimits()
{
    QFETCH(QStringList, sql);
    QFETCH(int, pageStart);
    QFETCH(int, pageEnd);
    QFETCH(int, count);
    QFETCH(Spans, spans);
    QFETCH(QString, logged);

    const QString path = sample(QStringLiteral("limits.prj"), {"--direction", "up", "--to", "4", "--width", "100"});
    QVERIFY(!path.isEmpty());
    {
        Inspector db(path);
        for (const QString &statement : sql)
            QVERIFY(db.exec(statement));
    }
    load(path);
    LogRecorder log;
    const Run run = read(path, pageStart, pageEnd);
    QCOMPARE(run.count, count);
    QCOMPARE(run.occurrences("count"), count < 0 ? 0 : 1);
    QCOMPARE(run.spans(), spans);
    for (const KdImage &image : run.images)
        QVERIFY(!image.image().isNull());
    QCOMPARE(run.occurrences("finished"), 1);
    QCOMPARE(run.events.last(), QStringLiteral("threadFinished"));
    if (!logged.isEmpty())
        QVERIFY2(log.contains(logged), qPrintable(log.messages().join(QLatin1Char('\n'))));
}

void TestReadBigImageThread::damagedPieceIsDeliveredNull()
{
    const QString path = sample(QStringLiteral("bad.prj"), {"--to", "3", "--bad-piece", "1", "--width", "100"});
    QVERIFY(!path.isEmpty());
    load(path);
    QTest::ignoreMessage(QtDebugMsg, "QImage Load Fail");
    const Run run = read(path, 0, 30000);
    QCOMPARE(run.spans(), (QList<QPair<int, int>>{{0, 10000}, {10000, 20000}, {20000, 30000}}));
    QVERIFY(!run.images.at(0).image().isNull());
    QVERIFY(run.images.at(1).image().isNull());
    QVERIFY(!run.images.at(2).image().isNull());
    QCOMPARE(run.occurrences("finished"), 1);
}

void TestReadBigImageThread::readOnlyFileIsRead()
{
    const QString path = sample(QStringLiteral("locked.prj"), {"--to", "3", "--width", "100"});
    QVERIFY(!path.isEmpty());
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    const QByteArray before = fileHash(path);
    load(path);
    QCOMPARE(ProjectInfo::instance()->maxDepth(), 30000);
    const Run run = read(path, 0, 30000);
    QCOMPARE(run.count, 3);
    QCOMPARE(run.spans(), (QList<QPair<int, int>>{{0, 10000}, {10000, 20000}, {20000, 30000}}));
    for (const KdImage &image : run.images)
        QVERIFY(!image.image().isNull());
    QCOMPARE(run.occurrences("finished"), 1);
    QCOMPARE(fileHash(path), before);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

void TestReadBigImageThread::missingFileEndsCleanly()
{
    load(m_down);
    const QString path = m_dir.filePath(QStringLiteral("gone.prj"));
    LogRecorder log;
    const Run run = read(path, 0, 30000);
    QCOMPARE(run.events, QStringList({"finished", "threadFinished"}));
    QVERIFY(!QFile::exists(path));
    // Nothing of the failed run is left behind.
    for (const QString &name : QSqlDatabase::connectionNames())
        QVERIFY2(!name.startsWith(QStringLiteral("KORA")), qPrintable(name));
    QCOMPARE(log.connectionWarnings(), QStringList());
}

void TestReadBigImageThread::unopenableFileEndsCleanly()
{
    // A project that exists but that SQLite cannot open: its path is longer
    // than SQLite accepts.
    QString folder = m_dir.path();
    while (folder.size() < 700) {
        folder += QStringLiteral("/") + QString(100, QLatin1Char('d'));
        QVERIFY(QDir().mkpath(folder));
    }
    const QString path = folder + QStringLiteral("/long.prj");
    QVERIFY(QFile::copy(m_down, path));
    const QByteArray before = fileHash(path);
    {
        Inspector probe(path);
        if (probe.ok() && probe.scalar(QStringLiteral("select count(*) from bigImages")).isValid())
            QSKIP("this SQLite opens paths of this length");
    }
    load(m_down);

    LogRecorder log;
    ReadBigImageThread reader(path, 0, 30000);
    QStringList events;
    bool connectionGoneAtEnd = false;
    connect(&reader, &ReadBigImageThread::readFinieshed, &reader, [&]() { events << QStringLiteral("finished"); },
            Qt::DirectConnection);
    connect(&reader, &ReadBigImageThread::readThreadFinished, &reader, [&]() {
        events << QStringLiteral("threadFinished");
        // On the worker thread, as the run ends: the connection is gone.
        connectionGoneAtEnd = !QSqlDatabase::contains(reader.connectionName());
    }, Qt::DirectConnection);
    reader.start();
    QVERIFY(reader.wait(60000));
    QCOMPARE(events, QStringList({"finished", "threadFinished"}));
    QVERIFY(log.contains(QStringLiteral("database open failed!")));
    QVERIFY(connectionGoneAtEnd);
    QCOMPARE(log.connectionWarnings(), QStringList());
    QCOMPARE(fileHash(path), before);
}

void TestReadBigImageThread::stopEndsTheRunCleanly()
{
    load(m_down);
    // Far longer than the test may take: the pause must be cut short.
    ReadBigImageThread::setPieceDelay(600000);
    LogRecorder log;
    ReadBigImageThread reader(m_down, 0, 50000);
    QStringList events;
    connect(&reader, &ReadBigImageThread::readOneBigImage, this, [&](KdImage) {
        events << QStringLiteral("image");
        reader.requestStop(); // during the pause after the first piece
    });
    connect(&reader, &ReadBigImageThread::readFinieshed, this, [&]() { events << QStringLiteral("finished"); });
    connect(&reader, &ReadBigImageThread::readThreadFinished, this,
            [&]() { events << QStringLiteral("threadFinished"); });
    QElapsedTimer timer;
    timer.start();
    reader.start();
    QTRY_VERIFY_WITH_TIMEOUT(events.contains(QStringLiteral("threadFinished")), 20000);
    QVERIFY(reader.wait(20000));
    ReadBigImageThread::setPieceDelay(0);
    QVERIFY(timer.elapsed() < 40000); // the long pause was cut short
    QCOMPARE(events, QStringList({"image", "finished", "threadFinished"}));
    QVERIFY(!QSqlDatabase::contains(reader.connectionName()));
    QCOMPARE(log.connectionWarnings(), QStringList());
}

void TestReadBigImageThread::connectionBelongsToWorkerThread()
{
    load(m_down);
    LogRecorder log;
    ReadBigImageThread reader(m_down, 0, 20000);
    // Nothing is opened on the creating thread.
    QVERIFY(!reader.isOpen());
    QVERIFY(!QSqlDatabase::contains(reader.connectionName()));
    QVERIFY(reader.connectionName().startsWith(QStringLiteral("KORA")));

    QString openedOn;
    connect(&reader, &ReadBigImageThread::bigImageCountGetted, &reader, [&](int) {
        // Runs on the worker thread (direct): the connection is open there.
        openedOn = QSqlDatabase::contains(reader.connectionName()) && reader.isOpen()
                           && QThread::currentThread() == &reader
                       ? QStringLiteral("worker")
                       : QStringLiteral("elsewhere");
    }, Qt::DirectConnection);
    reader.start();
    QVERIFY(reader.wait(60000));
    QCOMPARE(openedOn, QStringLiteral("worker"));
    // Closed and removed before the thread ended.
    QVERIFY(!reader.isOpen());
    QVERIFY(!QSqlDatabase::contains(reader.connectionName()));
    QCOMPARE(log.connectionWarnings(), QStringList());
}

void TestReadBigImageThread::pageReadWhileReportReads()
{
    const QString path = sample(QStringLiteral("shared.prj"), {"--to", "12", "--width", "100"});
    QVERIFY(!path.isEmpty());
    load(path);
    ReadBigImageThread::setPieceDelay(20);
    LogRecorder log;

    // A report reader on its own thread, open and querying there.
    QQueryBigImages report;
    std::atomic<int> buffers{0};
    std::atomic<bool> reportOk{false};
    connect(&report, &QQueryBigImages::ProgressingImageBuffers, &report,
            [&buffers](int, QByteArray *bytes) {
                if (bytes && !bytes->isEmpty())
                    ++buffers;
                QThread::msleep(15);
            },
            Qt::DirectConnection);
    std::unique_ptr<QThread> reportThread(QThread::create([&]() {
        if (report.open(path))
            reportOk = report.queryRange(0, 12);
        report.close();
    }));

    ReadBigImageThread reader(path, 0, 120000);
    QVERIFY(reader.connectionName() != report.connectionName());
    std::atomic<int> pieces{0};
    connect(&reader, &ReadBigImageThread::readOneBigImage, &reader,
            [&pieces](KdImage image) {
                if (!image.image().isNull())
                    ++pieces;
            },
            Qt::DirectConnection);

    reportThread->start();
    reader.start();
    // The reader goes on as this thread acknowledges its pieces.
    QTRY_VERIFY_WITH_TIMEOUT(reader.isFinished(), 60000);
    QVERIFY(reportThread->wait(60000));
    ReadBigImageThread::setPieceDelay(0);

    QCOMPARE(pieces.load(), 12);
    QVERIFY(reportOk);
    QCOMPARE(buffers.load(), 12);
    QVERIFY(!QSqlDatabase::contains(reader.connectionName()));
    QVERIFY(!QSqlDatabase::contains(report.connectionName()));
    QCOMPARE(log.connectionWarnings(), QStringList());
}

QTEST_MAIN(TestReadBigImageThread)
#include "tst_readbigimagethread.moc"
