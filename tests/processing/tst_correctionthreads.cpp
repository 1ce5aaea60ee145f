// Depth and azimuth corrections of sample projects: what lands in the file.

#include <QTemporaryDir>
#include <QtTest>

#include "correctionfixture.h"
#include "samplefixture.h"

using namespace ConversionFixture;
using namespace CorrectionFixture;

class TestCorrectionThreads : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void wallKeepsItsPlace_data();
    void wallKeepsItsPlace();
    void anglesTurnEveryPiece_data();
    void anglesTurnEveryPiece();
    void undecodablePieceSurvives_data();
    void undecodablePieceSurvives();
    void refusedOrCanceledRunLeavesFileAlone_data();
    void refusedOrCanceledRunLeavesFileAlone();
    void twoWorkersAtOnceGiveTheOldPagesBack_data();
    void twoWorkersAtOnceGiveTheOldPagesBack();

private:
    QString makeProject(const QString &name, const QStringList &args);
    QTemporaryDir m_dir;
    int m_serial = 0;
};

QString TestCorrectionThreads::makeProject(const QString &name, const QStringList &args)
{
    const QString path = m_dir.filePath(QStringLiteral("%1-%2.prj").arg(name).arg(++m_serial));
    if (!SampleFixture::make(path, args))
        return QString();
    return path;
}

void TestCorrectionThreads::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestCorrectionThreads::wallKeepsItsPlace_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("realDepthMm");
    QTest::addColumn<int>("pieces");
    QTest::addColumn<QList<int>>("offGrid");   // ids that end a piece before a gap
    // Every piece passes whole: its stored bytes, not a second JPEG generation.
    QTest::addColumn<bool>("storedBytes");

    QTest::newRow("1 m pieces, same depth") << QStringList{"--to", "10"} << 10000 << 10 << QList<int>() << true;
    QTest::newRow("1 m pieces, hole 10 % deeper") << QStringList{"--to", "10"} << 11000 << 10 << QList<int>()
                                                  << false;
    QTest::newRow("0.7 m pieces, same depth") << QStringList{"--to", "7", "--piece", "0.7"} << 7000 << 10
                                              << QList<int>() << false;
    QTest::newRow("0.7 m pieces, hole 5 % shorter")
        << QStringList{"--to", "7", "--piece", "0.7", "--seed", "3"} << 6650 << 10 << QList<int>() << false;
    QTest::newRow("missing metre, hole 10 % deeper")
        << QStringList{"--to", "10", "--missing-metre", "4", "--seed", "4"} << 11000 << 9
        << QList<int>{33000, 55000} << false;
    QTest::newRow("1.5 m pieces from 5 m, hole 20 % deeper")
        << QStringList{"--from", "5", "--to", "11", "--piece", "1.5", "--seed", "5"} << 13200 << 4 << QList<int>()
        << false;
}

void TestCorrectionThreads::wallKeepsItsPlace()
{
    QFETCH(QStringList, args);
    QFETCH(int, realDepthMm);
    QFETCH(int, pieces);
    QFETCH(QList<int>, offGrid);
    QFETCH(bool, storedBytes);
    const QString path = makeProject(QStringLiteral("wall"), args + QStringList{"--width", "400"});
    QVERIFY(!path.isEmpty());
    const FileState before = readState(path);
    QCOMPARE(before.pieces.size(), pieces);
    loadRecord(path);
    const int start = ProjectInfo::instance()->start();
    const int maxDepth = ProjectInfo::instance()->maxDepth();

    const Run r = correctDepth(path, realDepthMm);
    QVERIFY(r.succeeded);
    QCOMPARE(r.finished, 1);
    QVERIFY(r.finishedLast);
    QCOMPARE(r.counts, QList<int>{pieces});
    QVERIFY(r.countBeforeProgress);
    QCOMPARE(r.progress, steps(0, pieces));

    const FileState after = readState(path);
    QCOMPARE(after.integrity, QStringLiteral("ok"));
    QVERIFY(!after.hasNewTable);
    if (storedBytes)
        QCOMPARE(after.hash, before.hash);
    const QList<int> ids = after.ids();
    QVERIFY(!ids.isEmpty());
    // Metre pieces on the corrected scale, the deepest at the real depth.
    QCOMPARE(ids.last(), realDepthMm * 10);
    for (int i = 0; i + 1 < ids.size(); ++i)
        QVERIFY2(ids.at(i) % 10000 == 0 || offGrid.contains(ids.at(i)), qPrintable(QString::number(ids.at(i))));
    for (int id : offGrid)
        QVERIFY(ids.contains(id));
    for (const Piece &p : after.pieces)
        QVERIFY(!decode(p.data).isNull());

    // As the page display shows them, the corrected wall scaled back by the
    // correction lies where the wall was: nothing lost, nothing moved.
    const double ppu = 400.0 / (1000 * 3.14);
    const double factor = realDepthMm * 10.0 / maxDepth;
    const QImage original = displayedWall(before, ppu, start);
    const QImage corrected = displayedWall(after, ppu / factor, int(start * factor));
    QVERIFY2(qAbs(original.height() - corrected.height()) <= 2,
             qPrintable(QStringLiteral("%1 %2").arg(original.height()).arg(corrected.height())));
    const int band = 24;
    const int slack = 32; // rows merged by a join inside one piece
    double there = 0;
    double away = 0;
    for (int i = 1; i < 10; ++i) {
        const int row = original.height() * i / 10;
        double diff = 0;
        const int off = bestOffset(original, row, corrected, band, -slack, slack, &diff);
        QVERIFY2(diff < 8.0, qPrintable(QStringLiteral("row %1: difference %2 at offset %3")
                                            .arg(row).arg(diff).arg(off)));
        there += diff;
        const int other = row + 640 + band < corrected.height() ? row + 640 : row - 640;
        away += bandDifference(original, row, corrected, other, band);
    }
    // And the bands are really there: half a metre away they fit far worse.
    QVERIFY2(away > 2 * there, qPrintable(QStringLiteral("%1 %2").arg(there).arg(away)));
}

void TestCorrectionThreads::anglesTurnEveryPiece_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("shift");   // columns, of 1000

    QTest::newRow("0") << 0 << 0;
    QTest::newRow("90") << 90 << 250;
    QTest::newRow("-90") << -90 << 750;
    QTest::newRow("450") << 450 << 250;
    QTest::newRow("359") << 359 << 997;
}

void TestCorrectionThreads::anglesTurnEveryPiece()
{
    QFETCH(int, angle);
    QFETCH(int, shift);
    const QString path = makeProject(QStringLiteral("angle"), {"--to", "3", "--width", "1000"});
    QVERIFY(!path.isEmpty());
    const FileState before = readState(path);
    const Run r = correctAngle(path, angle);
    QVERIFY(r.succeeded);
    QCOMPARE(r.counts, QList<int>{3});
    QCOMPARE(r.progress, steps(0, 2));
    const FileState after = readState(path);
    QCOMPARE(after.ids(), before.ids());
    if (shift == 0) {
        QCOMPARE(after.hash, before.hash);
        return;
    }
    for (int i = 0; i < before.pieces.size(); ++i) {
        const QImage source = decode(before.pieces.at(i).data);
        const QImage turned = decode(after.pieces.at(i).data);
        QCOMPARE(turned.size(), source.size());
        // Every output column x shows source column (x + shift) mod width:
        // compare the whole image, so no unpainted column goes unnoticed.
        const QImage expected = CorrectAngleThread::shiftImage(source, float(shift / 1000.0));
        const double whole = bandDifference(turned, 0, expected, 0, turned.height());
        QVERIFY2(whole < 3.0, qPrintable(QString::number(whole)));
        // Column 0 shows the source column at the angle, not column 0.
        auto column = [](const QImage &image, int x) {
            return image.copy(x, 0, 1, image.height());
        };
        const double atShift = bandDifference(column(turned, 0), 0, column(source, shift), 0,
                                              source.height());
        const double elsewhere = bandDifference(column(turned, 0), 0, column(source, (shift + 500) % 1000),
                                                0, source.height());
        QVERIFY2(atShift < 6.0 && elsewhere > atShift + 3.0,
                 qPrintable(QStringLiteral("%1 %2").arg(atShift).arg(elsewhere)));
    }
}

void TestCorrectionThreads::undecodablePieceSurvives_data()
{
    QTest::addColumn<bool>("depth");
    QTest::newRow("depth correction") << true;
    QTest::newRow("azimuth correction") << false;
}

void TestCorrectionThreads::undecodablePieceSurvives()
{
    QFETCH(bool, depth);
    const QString path = makeProject(QStringLiteral("bad"), {"--to", "6", "--width", "400",
                                                             "--bad-piece", "3"});
    QVERIFY(!path.isEmpty());
    const FileState before = readState(path);
    const QByteArray bad = before.pieces.at(3).data;
    QVERIFY(decode(bad).isNull());
    QTest::ignoreMessage(QtDebugMsg, "undecodable piece kept as stored: 40000");
    const Run r = depth ? correctDepth(path, 6600) : correctAngle(path, 90);
    QVERIFY(r.succeeded);
    const FileState after = readState(path);
    int found = -1;
    for (const Piece &p : after.pieces) {
        if (p.data == bad)
            found = p.id;
        else
            QVERIFY(!decode(p.data).isNull());
    }
    // At its corrected depth, 40 000 x 1.1.
    QCOMPARE(found, depth ? 44000 : 40000);
    if (depth) {
        QCOMPARE(after.ids().last(), 66000);
        // What lies above it ends where it begins (30 000 x 1.1).
        QVERIFY(after.ids().contains(33000));
    } else {
        QCOMPARE(after.ids(), before.ids());
    }
}

void TestCorrectionThreads::refusedOrCanceledRunLeavesFileAlone_data()
{
    QTest::addColumn<bool>("depth");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("tamper");   // statement run after the record was read
    QTest::addColumn<int>("cancelAt");

    QTest::newRow("negative real depth") << true << -100 << QString() << -1;
    QTest::newRow("real depth beyond the depth range") << true << 300000000 << QString() << -1;
    QTest::newRow("deepest piece changed meanwhile")
        << true << 7000 << QStringLiteral("delete from bigImages where id = 60000") << -1;
    QTest::newRow("piece outside the range")
        << true << 7000 << QStringLiteral("insert into bigImages values (0, x'00')") << -1;
    QTest::newRow("depth canceled") << true << 7000 << QString() << 2;
    QTest::newRow("angle canceled") << false << 90 << QString() << 2;
}

void TestCorrectionThreads::refusedOrCanceledRunLeavesFileAlone()
{
    QFETCH(bool, depth);
    QFETCH(int, value);
    QFETCH(QString, tamper);
    QFETCH(int, cancelAt);
    const QString path = makeProject(QStringLiteral("refuse"), {"--to", "6", "--width", "400"});
    QVERIFY(!path.isEmpty());
    loadRecord(path);
    if (!tamper.isEmpty())
        QVERIFY(execOn(path, {tamper}));
    const FileState before = readState(path);

    Run r;
    if (depth) {
        CorrectDepthThread worker(path, value);
        r = run(worker, cancelAt);
    } else {
        CorrectAngleThread worker(path, value);
        r = run(worker, cancelAt);
    }
    QVERIFY(!r.succeeded);
    QCOMPARE(r.canceled, cancelAt >= 0);
    QCOMPARE(r.finished, 1);
    QVERIFY(r.finishedLast);
    if (cancelAt >= 0)
        QCOMPARE(r.progress, steps(0, cancelAt));   // it stopped at the next piece
    const FileState after = readState(path);
    QCOMPARE(after.integrity, QStringLiteral("ok"));
    QCOMPARE(after.hash, before.hash);
    QVERIFY(!after.hasNewTable);
}

void TestCorrectionThreads::twoWorkersAtOnceGiveTheOldPagesBack_data()
{
    QTest::addColumn<bool>("depth");   // two depth corrections, else two azimuth ones
    QTest::newRow("depth") << true;
    QTest::newRow("angle") << false;
}

// A second worker runs on another file while the first holds its connection open: neither takes the
// other's connection, and the rewrite gives the old pages back (none free, the file not twice its size).
void TestCorrectionThreads::twoWorkersAtOnceGiveTheOldPagesBack()
{
    QFETCH(bool, depth);
    const QString first = makeProject(QStringLiteral("first"), {"--to", "8", "--width", "400"});
    const QString second = makeProject(QStringLiteral("second"), {"--to", "3", "--width", "400"});
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    const QByteArray firstBefore = readState(first).hash;
    const qint64 size = QFileInfo(first).size();
    auto makeWorker = [depth](const QString &path, int mm) -> CorrectionThread * {
        loadRecord(path);
        return depth ? static_cast<CorrectionThread *>(new CorrectDepthThread(path, mm)) : new CorrectAngleThread(path, 45);
    };
    QScopedPointer<CorrectionThread> inner;
    Reports reports;
    QScopedPointer<CorrectionThread> outer(makeWorker(first, 8800));
    runWorker(*outer, &reports, -1, [&](int step) {
        if (step == 0 && !inner) {
            inner.reset(makeWorker(second, 3300));
            runWorker(*inner, &reports);
        }
    });
    QVERIFY2(inner && inner->succeeded(), qPrintable(inner ? inner->failureText() : QStringLiteral("not started")));
    QVERIFY2(outer->succeeded(), qPrintable(outer->failureText()));
    QVERIFY(readState(first).hash != firstBefore);
    QCOMPARE(scalarOn(first, QStringLiteral("PRAGMA freelist_count")).toInt(), 0);
    QVERIFY2(QFileInfo(first).size() < size * 3 / 2, qPrintable(QStringLiteral("%1 -> %2").arg(size).arg(QFileInfo(first).size())));
    QCOMPARE(scalarOn(first, QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
}

QTEST_MAIN(TestCorrectionThreads)

#include "tst_correctionthreads.moc"
