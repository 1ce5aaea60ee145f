// Conversion of upward-logged sample projects into the downward layout.

#include <QMutex>
#include <QTemporaryDir>
#include <QtTest>

#include "conversionfixture.h"
#include "samplefixture.h"

using namespace ConversionFixture;

class TestProcessUpProjectThread : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void convertsToMetrePiecesAndDownwardRecord();
    void wallStaysContinuousAndInPlace();
    void piecesOffTheMetreGrid();
    void projectOfOnePiece();
    void longPiecesAreCutAsTheyCome();
    void missingWallKeepsDepthsBelow_data();
    void missingWallKeepsDepthsBelow();
    void noDecodablePieceLeavesProjectAlone();
    void projectWithoutPiecesIsMarkedDownward();
    void downwardProjectIsUntouched();
    void zeroDiameterDoesNotDivideByZero();
    void piecesOutsideTheRangeAreNotDropped();
    void fileConvertedMeanwhileIsNotTurnedAgain();
    void deepestPieceIsTakenFromTheFile();
    void longGapIsFilledAMetreAtATime();
    void interfaceStatementsAndLogs();
    void vanishedFileIsNotCreated();
    void scaleOfThePiecesDecidesWhatIsMissing_data();
    void scaleOfThePiecesDecidesWhatIsMissing();
    void idsNearTheIntegerLimitAreRefused();
    void recordResetDuringTheRunChangesNothing_data();
    void recordResetDuringTheRunChangesNothing();

private:
    QString makeProject(const QString &name, const QStringList &args);
    QTemporaryDir m_dir;
};

QString TestProcessUpProjectThread::makeProject(const QString &name, const QStringList &args)
{
    const QString path = m_dir.filePath(name);
    if (!SampleFixture::make(path, args))
        return QString();
    return path;
}

void TestProcessUpProjectThread::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestProcessUpProjectThread::convertsToMetrePiecesAndDownwardRecord()
{
    const QString path = makeProject(QStringLiteral("up10.prj"),
                                     {"--direction", "up", "--to", "10", "--width", "400"});
    QVERIFY(!path.isEmpty());
    const FileState before = readState(path);
    QCOMPARE(before.direction, QStringLiteral("up"));
    QCOMPARE(before.pieces.size(), 10);

    loadRecord(path);
    QCOMPARE(ProjectInfo::instance()->maxDepth(), 100000);
    const RunResult run = convert(path);

    QVERIFY(run.succeeded);
    QCOMPARE(run.finished, 1);
    QVERIFY(run.finishedLast);
    QCOMPARE(run.counts, QList<int>{10});
    QVERIFY(run.countBeforeProgress);
    QList<int> expectedSteps;
    for (int i = 0; i <= 10; ++i)
        expectedSteps << i;
    QCOMPARE(run.progress, expectedSteps);
    // pixelsPerUnit was 0: the worker finds the factor from the first piece
    // for itself and leaves the process-wide value to the window.
    QVERIFY(qAbs(run.pixelFactor - 400.0 / (1000 * 3.14)) < 1e-9);
    QCOMPARE(pixelsPerUnit, 0.0);

    const FileState after = readState(path);
    QCOMPARE(after.integrity, QStringLiteral("ok"));
    QCOMPARE(after.direction, QStringLiteral("down"));
    QCOMPARE(after.start, 0);
    QVERIFY(!after.hasNewTable);
    const QList<int> ids = after.ids();
    QCOMPARE(ids.size(), 10);
    for (int k = 1; k <= 9; ++k)
        QCOMPARE(ids.at(k - 1), k * 10000);
    // The sample's pieces continue one another without repeated rows: no
    // row is merged away, and the deepest piece ends at 10 m (within a row).
    const double ppu = 400.0 / (1000 * 3.14);
    QVERIFY2(qAbs(ids.last() - 100000) <= 1 / ppu, qPrintable(QString::number(ids.last())));
    QCOMPARE(run.convertedMaxDepth, ids.last());

    // Each metre piece is one metre of pixels high (the cuts truncate to
    // whole rows).
    const double ppm = ppu * 10000;
    for (int k = 0; k < 9; ++k) {
        const QImage piece = decode(after.pieces.at(k).data);
        QVERIFY(!piece.isNull());
        QCOMPARE(piece.width(), 400);
        QVERIFY2(qAbs(piece.height() - ppm) < 2, qPrintable(QString::number(piece.height())));
    }
    // The record itself is the owner's business: the worker leaves it alone.
    QCOMPARE(ProjectInfo::instance()->direction(), QStringLiteral("up"));
}

void TestProcessUpProjectThread::wallStaysContinuousAndInPlace()
{
    const QString csv = m_dir.filePath(QStringLiteral("features.csv"));
    const QString upPath = makeProject(QStringLiteral("cont-up.prj"),
                                       {"--direction", "up", "--to", "12", "--width", "400",
                                        "--seed", "7", "--features-csv", csv});
    const QString downPath = makeProject(QStringLiteral("cont-down.prj"),
                                         {"--to", "12", "--width", "400", "--seed", "7"});
    QVERIFY(!upPath.isEmpty() && !downPath.isEmpty());

    loadRecord(upPath);
    QVERIFY(convert(upPath).succeeded);

    const double ppu = 400.0 / (1000 * 3.14);
    const FileState convertedState = readState(upPath);
    const QImage raw = wall(convertedState);
    const QImage reference = wall(readState(downPath));
    QCOMPARE(raw.width(), reference.width());
    // No row is lost at the seams (none of them repeats rows).
    QCOMPARE(raw.height(), reference.height());

    // As displayed (each piece stretched to its depth span) the wall lies
    // where the downward project of the same wall has it.
    const QImage converted = displayedWall(convertedState, ppu);
    QVERIFY(qAbs(converted.height() - reference.height()) <= 1);
    const int band = 24;
    const int slack = 32;

    // Across every cut the rows continue: one offset fits the whole band.
    for (int k = 1; k <= 11; ++k) {
        const int row = int(k * 10000 * ppu) - band / 2;
        double diff = 0;
        const int off = bestOffset(converted, row, reference, band, -slack, slack, &diff);
        QVERIFY2(diff < 8.0, qPrintable(QStringLiteral("cut %1: difference %2 at offset %3")
                                            .arg(k).arg(diff).arg(off)));
    }

    // Planted features stay at their depth.
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    file.readLine();
    int features = 0;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().trimmed().split(',');
        if (fields.size() < 4)
            continue;
        const double depth = fields.at(0).toDouble();
        const int row = int(depth * 10000 * ppu) - band / 2;
        if (row < slack || row + band + slack > converted.height())
            continue;
        double diff = 0;
        const int off = bestOffset(converted, row, reference, band, -slack, slack, &diff);
        // Not moved by as much as a row.
        QVERIFY2(diff < 8.0 && qAbs(off) <= 1,
                 qPrintable(QStringLiteral("feature at %1 m: difference %2 at offset %3")
                                .arg(depth).arg(diff).arg(off)));
        // And it is really there: the band a metre away does not fit.
        const int away = row + 1274 + band < reference.height() ? row + 1274 : row - 1274;
        QVERIFY(bandDifference(converted, row, reference, away, band) > diff + 3.0);
        ++features;
    }
    QVERIFY(features > 0);
}

void TestProcessUpProjectThread::piecesOffTheMetreGrid()
{
    // Half-metre pieces with ids 5 000 ... 25 000 become pieces at 10 000 and
    // 20 000 and a deepest piece at 25 000 (within a row).
    const QString path = makeProject(QStringLiteral("half.prj"),
                                     {"--direction", "up", "--to", "2.5", "--piece", "0.5",
                                      "--width", "400"});
    QVERIFY(!path.isEmpty());
    QCOMPARE(readState(path).ids(), (QList<int>{5000, 10000, 15000, 20000, 25000}));
    loadRecord(path);
    const RunResult run = convert(path);
    QVERIFY(run.succeeded);
    QCOMPARE(run.counts, QList<int>{5});
    QCOMPARE(run.progress.size(), 6);
    const QList<int> ids = readState(path).ids();
    QCOMPARE(ids.size(), 3);
    QCOMPARE(ids.at(0), 10000);
    QCOMPARE(ids.at(1), 20000);
    const double ppu = 400.0 / (1000 * 3.14);
    QVERIFY2(qAbs(ids.at(2) - 25000) <= 1 / ppu, qPrintable(QString::number(ids.at(2))));
    // The deepest piece ends 20 000 plus its own height in depth units.
    const int lastRows = decode(readState(path).pieces.last().data).height();
    const double expectedEnd = 20000 + lastRows / ppu;
    QVERIFY2(qAbs(ids.at(2) - expectedEnd) <= 1.0 / ppu + 1.0,
             qPrintable(QStringLiteral("%1 rows, id %2").arg(lastRows).arg(ids.at(2))));
}

void TestProcessUpProjectThread::projectOfOnePiece()
{
    const QString path = makeProject(QStringLiteral("one.prj"),
                                     {"--direction", "up", "--to", "1", "--width", "400"});
    QVERIFY(!path.isEmpty());
    const FileState before = readState(path);
    loadRecord(path);
    const RunResult run = convert(path);
    QVERIFY(run.succeeded);
    QCOMPARE(run.finished, 1);
    const FileState after = readState(path);
    QCOMPARE(after.pieces.size(), 1);
    QVERIFY(qAbs(after.pieces.first().id - 10000) <= 10);
    const QImage a = decode(before.pieces.first().data);
    const QImage b = decode(after.pieces.first().data);
    QCOMPARE(b.size(), a.size());
    QVERIFY(bandDifference(a, 0, b, 0, a.height()) < 3.0);
    QCOMPARE(after.direction, QStringLiteral("down"));
}

void TestProcessUpProjectThread::longPiecesAreCutAsTheyCome()
{
    // Pieces of 2.5 m: every metre above the next piece is cut off at once,
    // so the image held never grows beyond about two pieces.
    const QString path = makeProject(QStringLiteral("long-up.prj"),
                                     {"--direction", "up", "--to", "20", "--piece", "2.5",
                                      "--width", "400", "--seed", "9"});
    const QString downPath = makeProject(QStringLiteral("long-down.prj"),
                                         {"--to", "20", "--width", "400", "--seed", "9"});
    QVERIFY(!path.isEmpty() && !downPath.isEmpty());
    loadRecord(path);
    const RunResult run = convert(path);
    QVERIFY(run.succeeded);
    QCOMPARE(run.counts, QList<int>{8});
    const double ppu = 400.0 / (1000 * 3.14);
    const int metreRows = int(10000 * ppu);
    QVERIFY2(run.peakRows > 0 && run.peakRows <= 4 * metreRows,
             qPrintable(QString::number(run.peakRows)));

    const FileState after = readState(path);
    const QList<int> ids = after.ids();
    QCOMPARE(ids.size(), 20);
    for (int k = 1; k < 20; ++k)
        QCOMPARE(ids.at(k - 1), k * 10000);
    const QImage converted = displayedWall(after, ppu);
    const QImage reference = wall(readState(downPath));
    for (double metre = 0.25; metre < 19.5; metre += 0.5) {
        const int row = int(metre * 10000 * ppu);
        double diff = 0;
        const int off = bestOffset(converted, row, reference, 24, -32, 32, &diff);
        QVERIFY2(diff < 8.0, qPrintable(QStringLiteral("%1 m: difference %2 at offset %3")
                                            .arg(metre).arg(diff).arg(off)));
    }
}

void TestProcessUpProjectThread::missingWallKeepsDepthsBelow_data()
{
    QTest::addColumn<int>("badIndex");
    QTest::addColumn<double>("badTopMetre");
    // Index 0 is the deepest piece of an upward project, 9 the one at the collar.
    QTest::newRow("middle") << 4 << 5.0;
    QTest::newRow("collar") << 9 << 0.0;
    QTest::newRow("bottom") << 0 << 9.0;
    // A metre missing from the table (id 40 000, the wall from 6 m to 7 m)
    // is a gap of its own.
    QTest::newRow("missing metre") << -4 << 6.0;
}

void TestProcessUpProjectThread::missingWallKeepsDepthsBelow()
{
    QFETCH(int, badIndex);
    QFETCH(double, badTopMetre);
    const QString name = QStringLiteral("gap%1").arg(badIndex + 10);
    const QStringList fault = badIndex >= 0
        ? QStringList{"--bad-piece", QString::number(badIndex)}
        : QStringList{"--missing-metre", QString::number(-badIndex)};
    const QString path = makeProject(name + QStringLiteral("-up.prj"),
                                     QStringList{"--direction", "up", "--to", "10", "--width", "400",
                                                 "--seed", "3"} + fault);
    const QString downPath = makeProject(name + QStringLiteral("-down.prj"),
                                         {"--to", "10", "--width", "400", "--seed", "3"});
    QVERIFY(!path.isEmpty() && !downPath.isEmpty());
    loadRecord(path);
    const RunResult run = convert(path);
    QVERIFY(run.succeeded);
    const int rows = badIndex >= 0 ? 10 : 9;
    QCOMPARE(run.counts, QList<int>{rows});
    QCOMPARE(run.progress.size(), rows + 1);

    const FileState after = readState(path);
    QCOMPARE(after.direction, QStringLiteral("down"));
    for (const Piece &p : after.pieces)
        QVERIFY(!decode(p.data).isNull());
    const QList<int> ids = after.ids();
    QCOMPARE(ids.size(), 10);
    QVERIFY2(ids.last() > 99000 && ids.last() <= 100000, qPrintable(QString::number(ids.last())));

    const double ppu = 400.0 / (1000 * 3.14);
    const QImage converted = displayedWall(after, ppu);
    const QImage reference = wall(readState(downPath));
    // The metre of the bad piece is blank, and the wall below it is still
    // at its depth.
    const int blankRow = int((badTopMetre + 0.5) * 10000 * ppu);
    const QRgb pixel = converted.pixel(200, blankRow);
    QVERIFY(qRed(pixel) < 16 && qGreen(pixel) < 16 && qBlue(pixel) < 16);
    for (double metre = 0.5; metre < 10; metre += 1.0) {
        if (metre > badTopMetre && metre < badTopMetre + 1)
            continue;
        const int row = int(metre * 10000 * ppu);
        double diff = 0;
        const int off = bestOffset(converted, row, reference, 24, -32, 32, &diff);
        QVERIFY2(diff < 8.0, qPrintable(QStringLiteral("%1 m: difference %2 at offset %3")
                                            .arg(metre).arg(diff).arg(off)));
    }
}

void TestProcessUpProjectThread::noDecodablePieceLeavesProjectAlone()
{
    const QString path = makeProject(QStringLiteral("allbad.prj"),
                                     {"--direction", "up", "--to", "3", "--width", "400",
                                      "--bad-piece", "0", "--bad-piece", "1", "--bad-piece", "2"});
    QVERIFY(!path.isEmpty());
    const FileState before = readState(path);
    loadRecord(path);
    const RunResult run = convert(path);
    QVERIFY(!run.succeeded);
    QCOMPARE(run.finished, 1);
    const FileState after = readState(path);
    QCOMPARE(after.hash, before.hash);
    QVERIFY(!after.hasNewTable);
}

void TestProcessUpProjectThread::projectWithoutPiecesIsMarkedDownward()
{
    // Nothing can be lost: the empty table is swapped in and the record
    // says "down", so the project is not offered for conversion again.
    const QString path = makeProject(QStringLiteral("empty-up.prj"),
                                     {"--direction", "up", "--no-images"});
    QVERIFY(!path.isEmpty());
    QVERIFY(readState(path).pieces.isEmpty());
    loadRecord(path);
    const RunResult run = convert(path);
    QVERIFY(run.succeeded);
    QCOMPARE(run.finished, 1);
    QCOMPARE(run.counts, QList<int>{0});
    QCOMPARE(run.progress, QList<int>{0});
    QCOMPARE(run.convertedMaxDepth, 0);
    const FileState after = readState(path);
    QCOMPARE(after.integrity, QStringLiteral("ok"));
    QVERIFY(after.pieces.isEmpty());
    QVERIFY(!after.hasNewTable);
    QCOMPARE(after.direction, QStringLiteral("down"));
    QCOMPARE(after.start, 0);
}

void TestProcessUpProjectThread::downwardProjectIsUntouched()
{
    const QString path = makeProject(QStringLiteral("down.prj"), {"--to", "3", "--width", "400"});
    QVERIFY(!path.isEmpty());
    const FileState before = readState(path);
    loadRecord(path);
    QCOMPARE(ProjectInfo::instance()->direction(), QStringLiteral("down"));
    const RunResult run = convert(path);
    QVERIFY(!run.succeeded);
    QCOMPARE(run.finished, 1);
    QVERIFY(run.progress.isEmpty());
    const FileState after = readState(path);
    QCOMPARE(after.hash, before.hash);
    QVERIFY(!after.hasNewTable);
}

void TestProcessUpProjectThread::zeroDiameterDoesNotDivideByZero()
{
    const QString path = makeProject(QStringLiteral("nodiameter.prj"),
                                     {"--direction", "up", "--to", "4", "--width", "400"});
    QVERIFY(!path.isEmpty());
    QVERIFY(execOn(path, {QStringLiteral("update projectInfo set diameter = 0")}));
    const FileState before = readState(path);
    int rowsBefore = 0;
    for (const Piece &p : before.pieces)
        rowsBefore += decode(p.data).height();

    loadRecord(path);
    QCOMPARE(ProjectInfo::instance()->diameter(), 0);
    const RunResult run = convert(path);
    QCOMPARE(run.finished, 1);
    QCOMPARE(run.pixelFactor, 0.0);
    QVERIFY(run.succeeded);
    const FileState after = readState(path);
    QCOMPARE(after.direction, QStringLiteral("down"));
    // Without a pixel factor the pieces are not re-cut by depth, but every
    // row is still there.
    int rowsAfter = 0;
    for (const Piece &p : after.pieces) {
        QVERIFY(p.id % 10000 == 0);
        rowsAfter += decode(p.data).height();
    }
    QCOMPARE(rowsAfter, rowsBefore);
}

void TestProcessUpProjectThread::piecesOutsideTheRangeAreNotDropped()
{
    // A piece whose id is not above 0 lies outside every range the
    // conversion reads; swapping the table would lose it, so nothing is done.
    const QString path = makeProject(QStringLiteral("outside.prj"),
                                     {"--direction", "up", "--to", "3", "--width", "400"});
    QVERIFY(!path.isEmpty());
    QVERIFY(execOn(path, {QStringLiteral("insert into bigImages (id, data) select 0, data from bigImages where id = 30000")}));
    loadRecord(path);
    const FileState before = readState(path);
    const RunResult run = convert(path);
    QVERIFY(!run.succeeded);
    QCOMPARE(run.finished, 1);
    QCOMPARE(readState(path).hash, before.hash);
}

void TestProcessUpProjectThread::fileConvertedMeanwhileIsNotTurnedAgain()
{
    // The record was read while the file said "up"; another instance then
    // converted the file. Converting it again would reverse its pieces.
    const QString path = makeProject(QStringLiteral("twice.prj"),
                                     {"--direction", "up", "--to", "4", "--width", "400"});
    QVERIFY(!path.isEmpty());
    loadRecord(path);
    QVERIFY(execOn(path, {QStringLiteral("update projectInfo set direction = 'down'")}));
    const FileState before = readState(path);
    const RunResult run = convert(path);
    QVERIFY(!run.succeeded);
    QCOMPARE(run.finished, 1);
    QCOMPARE(readState(path).hash, before.hash);
}

void TestProcessUpProjectThread::deepestPieceIsTakenFromTheFile()
{
    // The collar piece (greatest id) went after the record was read: depths
    // count from the deepest piece the file holds when the conversion runs.
    const QString path = makeProject(QStringLiteral("moved.prj"),
                                     {"--direction", "up", "--to", "5", "--width", "400"});
    QVERIFY(!path.isEmpty());
    const QString reference = m_dir.filePath(QStringLiteral("moved-ref.prj"));
    QVERIFY(QFile::copy(path, reference));
    QVERIFY(execOn(reference, {QStringLiteral("delete from bigImages where id = 50000")}));
    loadRecord(reference);
    QCOMPARE(ProjectInfo::instance()->maxDepth(), 40000);
    QVERIFY(convert(reference).succeeded);

    loadRecord(path);
    QCOMPARE(ProjectInfo::instance()->maxDepth(), 50000);
    QVERIFY(execOn(path, {QStringLiteral("delete from bigImages where id = 50000")}));
    const RunResult run = convert(path);
    QVERIFY(run.succeeded);
    QCOMPARE(run.counts, QList<int>{4});
    QCOMPARE(readState(path).hash, readState(reference).hash);
}

void TestProcessUpProjectThread::longGapIsFilledAMetreAtATime()
{
    // Twenty metres are missing from the table (ids 60 000 .. 250 000, the
    // wall from 5 m to 25 m). They come back as black metres, cut as they are
    // made: the image held stays about two metres high, and the wall below
    // the gap stays at its depth.
    const QString path = makeProject(QStringLiteral("gap20-up.prj"),
                                     {"--direction", "up", "--to", "30", "--width", "400",
                                      "--seed", "4"});
    const QString downPath = makeProject(QStringLiteral("gap20-down.prj"),
                                         {"--to", "30", "--width", "400", "--seed", "4"});
    QVERIFY(!path.isEmpty() && !downPath.isEmpty());
    QVERIFY(execOn(path, {QStringLiteral("delete from bigImages where id > 50000 and id < 260000")}));
    loadRecord(path);
    const RunResult run = convert(path);
    QVERIFY(run.succeeded);
    QCOMPARE(run.counts, QList<int>{10});
    const double ppu = 400.0 / (1000 * 3.14);
    const int metreRows = int(10000 * ppu);
    QVERIFY2(run.peakRows > 0 && run.peakRows <= 3 * metreRows,
             qPrintable(QString::number(run.peakRows)));

    const FileState after = readState(path);
    const QList<int> ids = after.ids();
    QCOMPARE(ids.size(), 30);
    for (int k = 1; k < 30; ++k)
        QCOMPARE(ids.at(k - 1), k * 10000);
    QVERIFY2(ids.last() > 299000 && ids.last() <= 300000, qPrintable(QString::number(ids.last())));
    const QImage converted = displayedWall(after, ppu);
    const QImage reference = wall(readState(downPath));
    for (double metre = 5.5; metre < 25; metre += 1.0) {
        const QRgb pixel = converted.pixel(200, int(metre * 10000 * ppu));
        QVERIFY2(qRed(pixel) < 16 && qGreen(pixel) < 16 && qBlue(pixel) < 16,
                 qPrintable(QString::number(metre)));
    }
    for (double metre = 0.5; metre < 30; metre += 1.0) {
        if (metre > 5 && metre < 25)
            continue;
        const int row = int(metre * 10000 * ppu);
        double diff = 0;
        const int off = bestOffset(converted, row, reference, 24, -32, 32, &diff);
        QVERIFY2(diff < 8.0, qPrintable(QStringLiteral("%1 m: difference %2 at offset %3")
                                            .arg(metre).arg(diff).arg(off)));
    }
}

void TestProcessUpProjectThread::idsNearTheIntegerLimitAreRefused()
{
    // A collar piece with an id at the end of the integer range would carry
    // the metre counter past it: the file is left as it is.
    const QString path = makeProject(QStringLiteral("intlimit.prj"),
                                     {"--direction", "up", "--to", "3", "--width", "400"});
    QVERIFY(!path.isEmpty());
    QVERIFY(execOn(path, {QStringLiteral("update bigImages set id = 2147480000 where id = 30000")}));
    const FileState before = readState(path);
    loadRecord(path);
    QCOMPARE(ProjectInfo::instance()->maxDepth(), 2147480000);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("out of range, conversion refused")));
    const RunResult run = convert(path);
    QVERIFY(!run.succeeded);
    QCOMPARE(run.finished, 1);
    QVERIFY(run.progress.isEmpty());
    QCOMPARE(readState(path).hash, before.hash);
}

void TestProcessUpProjectThread::vanishedFileIsNotCreated()
{
    // The file went away between reading the record and the conversion.
    const QString path = makeProject(QStringLiteral("vanished.prj"),
                                     {"--direction", "up", "--to", "2", "--width", "400"});
    QVERIFY(!path.isEmpty());
    loadRecord(path);
    ProjectInfo::instance()->setDatabase(QString());
    QVERIFY(QFile::remove(path));
    const RunResult run = convert(path);
    QVERIFY(!run.succeeded);
    QCOMPARE(run.finished, 1);
    QVERIFY(run.finishedLast);
    QVERIFY(run.progress.isEmpty());
    QVERIFY(!QFile::exists(path));
}

void TestProcessUpProjectThread::scaleOfThePiecesDecidesWhatIsMissing_data()
{
    QTest::addColumn<int>("missingMetre");
    QTest::newRow("complete") << 0;
    QTest::newRow("one metre missing") << 6;
}

void TestProcessUpProjectThread::scaleOfThePiecesDecidesWhatIsMissing()
{
    // The record's diameter (70 mm) does not fit the pieces (drawn for a
    // 100 mm hole): each brings only 70 % of the rows the record's pixel
    // factor expects. That is the scale of the wall, not missing wall: no
    // black rows are added between the pieces. A metre really missing from
    // the table still comes back as black rows.
    QFETCH(int, missingMetre);
    QStringList args{"--direction", "up", "--to", "10", "--width", "400", "--seed", "6"};
    if (missingMetre > 0)
        args << "--missing-metre" << QString::number(missingMetre);
    const QString path = makeProject(QStringLiteral("scale%1.prj").arg(missingMetre), args);
    QVERIFY(!path.isEmpty());
    QVERIFY(execOn(path, {QStringLiteral("update projectInfo set diameter = 700")}));
    int rowsBefore = 0;
    for (const Piece &p : readState(path).pieces)
        rowsBefore += decode(p.data).height();
    loadRecord(path);
    const RunResult run = convert(path);
    QVERIFY(run.succeeded);
    const double ppu = 400.0 / (700 * 3.14);
    QVERIFY(qAbs(run.pixelFactor - ppu) < 1e-9);

    int rowsAfter = 0;
    int blackRows = 0;
    for (const Piece &p : readState(path).pieces) {
        const QImage image = decode(p.data);
        QVERIFY(!image.isNull());
        rowsAfter += image.height();
        for (int y = 0; y < image.height(); ++y) {
            const QRgb pixel = image.pixel(image.width() / 2, y);
            const QRgb other = image.pixel(image.width() / 4, y);
            if (qRed(pixel) + qGreen(pixel) + qBlue(pixel) < 30
                && qRed(other) + qGreen(other) + qBlue(other) < 30)
                ++blackRows;
        }
    }
    const int metreRows = int(10000 * ppu); // rows of a missing metre, record's scale
    if (missingMetre == 0) {
        QVERIFY2(rowsAfter == rowsBefore && blackRows < 20,
                 qPrintable(QStringLiteral("%1 rows of %2, %3 black").arg(rowsAfter).arg(rowsBefore).arg(blackRows)));
    } else {
        // Every row of the pieces is kept, and the missing metre is added.
        QVERIFY2(qAbs(rowsAfter - (rowsBefore + metreRows)) <= 2
                     && blackRows >= metreRows - 20 && blackRows < metreRows + 20,
                 qPrintable(QStringLiteral("%1 rows of %2, %3 black").arg(rowsAfter).arg(rowsBefore).arg(blackRows)));
    }
}

void TestProcessUpProjectThread::recordResetDuringTheRunChangesNothing_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<double>("factor");
    // What "Close" and "Open picture" do to the record and the pixel factor,
    // and a project of another width opened meanwhile.
    QTest::newRow("closed") << QStringLiteral("reset") << 0.0;
    QTest::newRow("other factor") << QStringLiteral("reset") << 0.5;
    QTest::newRow("other project") << QStringLiteral("load") << 1000.0 / (1200 * 3.14);
}

void TestProcessUpProjectThread::recordResetDuringTheRunChangesNothing()
{
    // The window resets the record and the pixel factor on the GUI thread
    // while the worker runs; the worker writes the same file as an
    // undisturbed run would.
    QFETCH(QString, action);
    QFETCH(double, factor);
    const QString path = makeProject(QStringLiteral("reset-%1.prj").arg(QTest::currentDataTag()),
                                     {"--direction", "up", "--to", "8", "--width", "400",
                                      "--seed", "12"});
    const QString other = makeProject(QStringLiteral("reset-other.prj"),
                                      {"--to", "2", "--width", "1000", "--diameter", "120"});
    QVERIFY(!path.isEmpty() && !other.isEmpty());
    const QString quiet = m_dir.filePath(QStringLiteral("reset-quiet.prj"));
    QFile::remove(quiet);
    QVERIFY(QFile::copy(path, quiet));
    loadRecord(quiet);
    QVERIFY(convert(quiet).succeeded);

    loadRecord(path);
    const RunResult run = convert(path, {}, -1, [&](int) {
        if (action == QLatin1String("load")) {
            loadRecord(other);
        } else {
            ProjectInfo::instance()->reset();
            ProjectInfo::instance()->setDatabase(QString());
        }
        pixelsPerUnit = factor;
    });
    QVERIFY(run.succeeded);
    // The window's value stays the window's.
    QCOMPARE(pixelsPerUnit, factor);

    const FileState disturbed = readState(path);
    QStringList heights;
    for (const Piece &p : disturbed.pieces)
        heights << QString::number(decode(p.data).height());
    QCOMPARE(disturbed.ids().size(), 8);
    const double ppm = 400.0 / (1000 * 3.14) * 10000;
    for (int k = 0; k < 7; ++k)
        QVERIFY2(qAbs(heights.at(k).toInt() - ppm) < 2, qPrintable(heights.join(QLatin1Char(' '))));
    QCOMPARE(disturbed.hash, readState(quiet).hash);
}

namespace {
QMutex logMutex;
QStringList logLines;
void collectLog(QtMsgType, const QMessageLogContext &, const QString &message)
{
    QMutexLocker locker(&logMutex);
    logLines << message;
}
} // namespace

void TestProcessUpProjectThread::interfaceStatementsAndLogs()
{
    // Signals and slot in their declared order.
    const QMetaObject *meta = &ProcessUpProjectThread::staticMetaObject;
    const int finished = meta->indexOfSignal("signalProcessFinished()");
    const int count = meta->indexOfSignal("signalImagesCount(int)");
    const int one = meta->indexOfSignal("signalOneImageProcessed(int)");
    const int canceled = meta->indexOfSlot("canceled()");
    QVERIFY(finished >= 0);
    QVERIFY(finished < count && count < one && one < canceled);

    const QString path = makeProject(QStringLiteral("logs.prj"),
                                     {"--direction", "up", "--to", "2.5", "--piece", "0.5",
                                      "--width", "400"});
    QVERIFY(!path.isEmpty());
    loadRecord(path);
    {
        QMutexLocker locker(&logMutex);
        logLines.clear();
    }
    const QtMessageHandler previous = qInstallMessageHandler(collectLog);
    const RunResult run = convert(path);
    qInstallMessageHandler(previous);
    QVERIFY(run.succeeded);
    QStringList lines;
    {
        QMutexLocker locker(&logMutex);
        lines = logLines;
    }
    const QString all = lines.join(QLatin1Char('\n'));
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^FACTORBTPIXELWITHMM: 0\\.127"))).size(), 1);
    QCOMPARE(lines.filter(QStringLiteral("joint 1")).size(), 1);
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^\\[joint 2\\] overlap: \\d+$"))).size(), 4);
    QCOMPARE(lines.filter(QStringLiteral("joint 4")).size(), 4);
    QVERIFY2(lines.contains(QStringLiteral("lastImageDepth: 15000  endDepth: 10000  remainHeight: 636")), qPrintable(all));
    QVERIFY(lines.contains(QStringLiteral(".....................................")));
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^holeDepth \\d+$"))).size(), 1);
    QVERIFY(lines.contains(QStringLiteral("insertNewBigImageIntoTable endDepth: 10000  Res: true")));
    QVERIFY(lines.contains(QStringLiteral("insertNewBigImageIntoTable endDepth: 20000  Res: true")));
    // Insertions are logged in the order of their ids.
    const QStringList inserts = lines.filter(QStringLiteral("insertNewBigImageIntoTable endDepth:"));
    QCOMPARE(inserts.size(), 3);
    QVERIFY(inserts.at(0).contains(QStringLiteral(" 10000 ")));
    QVERIFY(inserts.at(1).contains(QStringLiteral(" 20000 ")));

    // The new table was made with the worker's own create statement, whose
    // text SQLite keeps (with the new name) after the rename.
    const QString runOfSpaces(54, QLatin1Char(' '));
    const QString name = QStringLiteral("schema-check");
    QString sql;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("select sql from sqlite_master where name = 'bigImages'")) && q.next());
        sql = q.value(0).toString();
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    QVERIFY2(sql.endsWith(QStringLiteral("(") + runOfSpaces + QStringLiteral("id integer primary key,")
                          + runOfSpaces + QStringLiteral("data blob)")),
             qPrintable(sql));
}

QTEST_MAIN(TestProcessUpProjectThread)
#include "tst_processupprojectthread.moc"
