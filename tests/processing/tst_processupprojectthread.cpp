// Conversion of upward-logged sample projects into the downward layout.

#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

#include "../project/projecttesthelpers.h"
#include "conversionfixture.h"
#include "samplefixture.h"

using namespace ConversionFixture;

namespace {

// Pixels per depth unit of the 400 px samples around a 100 mm hole.
const double kPpu = 400.0 / (1000 * 3.14);

const int kBand = 24;    // rows compared
const int kSlack = 32;   // rows a band may have moved (merged by a join)

bool isBlack(QRgb pixel)
{
    return qRed(pixel) < 16 && qGreen(pixel) < 16 && qBlue(pixel) < 16;
}

// How well the band of converted at row fits reference near the same row:
// the smallest band difference within kSlack rows, its offset in *offset.
double fit(const QImage &converted, int row, const QImage &reference, int *offset)
{
    double difference = 0;
    *offset = bestOffset(converted, row, reference, kBand, -kSlack, kSlack, &difference);
    return difference;
}

} // namespace

class TestProcessUpProjectThread : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void convertsIntoMetrePiecesInPlace_data();
    void convertsIntoMetrePiecesInPlace();
    void projectOfOnePiece();
    void projectWithoutPiecesIsMarkedDownward();
    void refusedRunLeavesFileAlone_data();
    void refusedRunLeavesFileAlone();
    void vanishedFileIsNotCreated();
    void deepestPieceIsTakenFromTheFile();
    void rowsAreKeptWhateverTheScale_data();
    void rowsAreKeptWhateverTheScale();
    void recordResetDuringTheRunChangesNothing_data();
    void recordResetDuringTheRunChangesNothing();
    void logsWhatItComputes();

private:
    QString makeProject(const QString &name, const QStringList &args);
    // An upward sample of 400 px to the given depth.
    QString upProject(const QString &name, const QString &metres, const QStringList &more = {});
    QTemporaryDir m_dir;
    int m_serial = 0;
};

QString TestProcessUpProjectThread::makeProject(const QString &name, const QStringList &args)
{
    const QString path = m_dir.filePath(name);
    return SampleFixture::make(path, args) ? path : QString();
}

QString TestProcessUpProjectThread::upProject(const QString &name, const QString &metres,
                                              const QStringList &more)
{
    return makeProject(name, QStringList{"--direction", "up", "--to", metres, "--width", "400"} + more);
}

void TestProcessUpProjectThread::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestProcessUpProjectThread::convertsIntoMetrePiecesInPlace_data()
{
    QTest::addColumn<QStringList>("args");     // of the upward sample, beyond depth, width and seed
    QTest::addColumn<double>("metres");
    QTest::addColumn<int>("seed");
    QTest::addColumn<QString>("tamper");       // statement run on the upward file
    QTest::addColumn<int>("pieces");           // pieces the run reports
    QTest::addColumn<double>("blackFrom");     // metres of wall that come back black
    QTest::addColumn<double>("blackTo");
    QTest::addColumn<int>("peakMetres");       // bound of the image held (0: not checked)
    QTest::addColumn<bool>("features");        // planted features checked

    QTest::newRow("1 m pieces") << QStringList() << 12.0 << 7 << QString() << 12 << 0.0 << 0.0 << 0 << true;
    // Half-metre pieces with ids 5 000 ... 25 000 become pieces at 10 000 and
    // 20 000 and a deepest piece at 25 000.
    QTest::newRow("0.5 m pieces") << QStringList{"--piece", "0.5"} << 2.5 << 1 << QString() << 5 << 0.0 << 0.0 << 0 << true;
    // Every metre above the next piece is cut off at once, so the image held
    // never grows beyond about two pieces.
    QTest::newRow("2.5 m pieces") << QStringList{"--piece", "2.5"} << 20.0 << 9 << QString() << 8 << 0.0 << 0.0
                                  << 4 << false;
    // Undecodable pieces (index 0 is the deepest) come back as black rows of
    // their depth span, so the wall below them stays at its depth.
    QTest::newRow("bad piece in the middle") << QStringList{"--bad-piece", "4"} << 10.0 << 3 << QString() << 10
                                             << 5.0 << 6.0 << 0 << false;
    QTest::newRow("bad piece at the collar") << QStringList{"--bad-piece", "9"} << 10.0 << 3 << QString() << 10
                                             << 0.0 << 1.0 << 0 << false;
    QTest::newRow("bad piece at the bottom") << QStringList{"--bad-piece", "0"} << 10.0 << 3 << QString() << 10
                                             << 9.0 << 10.0 << 0 << false;
    // Id 40 000 missing from the table: the wall from 6 m to 7 m.
    QTest::newRow("missing metre") << QStringList{"--missing-metre", "4"} << 10.0 << 3 << QString() << 9
                                   << 6.0 << 7.0 << 0 << false;
    // Ids 60 000 .. 250 000 missing: black metres cut as they are made.
    QTest::newRow("twenty metres missing")
        << QStringList() << 30.0 << 4 << QStringLiteral("delete from bigImages where id > 50000 and id < 260000")
        << 10 << 5.0 << 25.0 << 3 << false;
}

void TestProcessUpProjectThread::convertsIntoMetrePiecesInPlace()
{
    QFETCH(QStringList, args);
    QFETCH(double, metres);
    QFETCH(int, seed);
    QFETCH(QString, tamper);
    QFETCH(int, pieces);
    QFETCH(double, blackFrom);
    QFETCH(double, blackTo);
    QFETCH(int, peakMetres);
    QFETCH(bool, features);
    const bool gap = blackTo > 0;
    const QString name = QString::number(++m_serial);
    const QString csv = m_dir.filePath(name + QStringLiteral("-features.csv"));
    const QStringList same{"--to", QString::number(metres), "--width", "400", "--seed", QString::number(seed)};
    const QString path = makeProject(name + QStringLiteral("-up.prj"),
                                     same + args + QStringList{"--direction", "up", "--features-csv", csv});
    const QString downPath = makeProject(name + QStringLiteral("-down.prj"), same);
    QVERIFY(!path.isEmpty() && !downPath.isEmpty());
    if (!tamper.isEmpty())
        QVERIFY(execOn(path, {tamper}));
    loadRecord(path);
    const RunResult run = convert(path);
    QVERIFY(run.succeeded);
    QCOMPARE(run.finished, 1);
    QVERIFY(run.finishedLast);
    QCOMPARE(run.counts, QList<int>{pieces});
    QVERIFY(run.countBeforeProgress);
    QCOMPARE(run.progress, steps(0, pieces));
    // pixelsPerUnit was 0: the worker finds the factor from the first piece
    // for itself, and leaves the process-wide value and the record alone.
    QVERIFY(qAbs(run.pixelFactor - kPpu) < 1e-9);
    QCOMPARE(pixelsPerUnit, 0.0);
    QCOMPARE(ProjectInfo::instance()->direction(), QStringLiteral("up"));
    if (peakMetres > 0) {
        QVERIFY2(run.peakRows > 0 && run.peakRows <= peakMetres * int(10000 * kPpu),
                 qPrintable(QString::number(run.peakRows)));
    }

    const FileState after = readState(path);
    QCOMPARE(after.integrity, QStringLiteral("ok"));
    QCOMPARE(after.direction, QStringLiteral("down"));
    QCOMPARE(after.start, 0);
    QVERIFY(!after.hasNewTable);
    const QList<int> ids = after.ids();
    const int count = int(std::ceil(metres));
    QCOMPARE(ids.size(), count);
    // Metre pieces, each a metre of rows high (the cuts truncate), the
    // deepest ending at the hole's depth within a row, and its own rows
    // below the piece above it.
    for (int k = 0; k + 1 < count; ++k) {
        QCOMPARE(ids.at(k), (k + 1) * 10000);
        const QImage piece = decode(after.pieces.at(k).data);
        QCOMPARE(piece.width(), 400);
        QVERIFY2(qAbs(piece.height() - kPpu * 10000) < 2, qPrintable(QString::number(piece.height())));
    }
    QVERIFY2(qAbs(ids.last() - metres * 10000) <= 1 / kPpu, qPrintable(QString::number(ids.last())));
    const int lastRows = decode(after.pieces.last().data).height();
    QVERIFY2(qAbs(ids.last() - ((count - 1) * 10000 + lastRows / kPpu)) <= 1.0 / kPpu + 1.0,
             qPrintable(QStringLiteral("%1 rows, id %2").arg(lastRows).arg(ids.last())));
    QCOMPARE(run.convertedMaxDepth, ids.last());

    const QImage reference = wall(readState(downPath));
    // The sample's pieces repeat no rows: none is merged away.
    if (!gap)
        QCOMPARE(wall(after).height(), reference.height());
    // As displayed (each piece stretched to its depth span) the wall lies
    // where the downward sample of the same wall has it, across every cut.
    const QImage converted = displayedWall(after, kPpu);
    QVERIFY(qAbs(converted.height() - reference.height()) <= 1);
    for (double metre = blackFrom + 0.5; metre < blackTo; metre += 1.0)
        QVERIFY2(isBlack(converted.pixel(200, int(metre * 10000 * kPpu))), qPrintable(QString::number(metre)));
    int off = 0;
    for (double metre = 0.5; metre < metres; metre += 0.5) {
        if (gap && metre >= blackFrom && metre <= blackTo)
            continue;
        const double diff = fit(converted, int(metre * 10000 * kPpu) - kBand / 2, reference, &off);
        QVERIFY2(diff < 8.0, qPrintable(QStringLiteral("%1 m: difference %2 at offset %3")
                                            .arg(metre).arg(diff).arg(off)));
    }

    if (!features)
        return;
    // Planted features stay at their depth, not moved by as much as a row.
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    file.readLine();
    int planted = 0;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().trimmed().split(',');
        const double depth = fields.size() < 4 ? -1.0 : fields.at(0).toDouble();
        const int row = int(depth * 10000 * kPpu) - kBand / 2;
        if (row < kSlack || row + kBand + kSlack > converted.height())
            continue;
        const double diff = fit(converted, row, reference, &off);
        QVERIFY2(diff < 8.0 && qAbs(off) <= 1, qPrintable(QStringLiteral("feature at %1 m: difference %2 at offset %3")
                                                               .arg(depth).arg(diff).arg(off)));
        // And it is really there: the band a metre away does not fit.
        const int away = row + 1274 + kBand < reference.height() ? row + 1274 : row - 1274;
        QVERIFY(bandDifference(converted, row, reference, away, kBand) > diff + 3.0);
        ++planted;
    }
    QVERIFY(planted > 0);
}

void TestProcessUpProjectThread::projectOfOnePiece()
{
    const QString path = upProject(QStringLiteral("one.prj"), QStringLiteral("1"));
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

void TestProcessUpProjectThread::projectWithoutPiecesIsMarkedDownward()
{
    // Nothing can be lost: the empty table is swapped in and the record
    // says "down", so the project is not offered for conversion again.
    const QString path = makeProject(QStringLiteral("empty-up.prj"), {"--direction", "up", "--no-images"});
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

void TestProcessUpProjectThread::refusedRunLeavesFileAlone_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("tamper");      // statement run before the record is read
    QTest::addColumn<QString>("meanwhile");   // statement run after the record was read
    QTest::addColumn<QString>("logged");      // pattern of the debug line that says why
    QTest::addColumn<bool>("partWay");        // refused after some progress

    const QStringList up{"--direction", "up", "--to", "3", "--width", "400"};
    QTest::newRow("no piece decodes") << up + QStringList{"--bad-piece", "0", "--bad-piece", "1", "--bad-piece", "2"}
                                      << QString() << QString() << QString() << true;
    QTest::newRow("downward project") << QStringList{"--to", "3", "--width", "400"} << QString() << QString()
                                      << QString() << false;
    // A piece whose id is not above 0 lies outside every range the
    // conversion reads; swapping the table would lose it.
    QTest::newRow("piece outside the range")
        << up << QStringLiteral("insert into bigImages (id, data) select 0, data from bigImages where id = 30000")
        << QString() << QString() << false;
    // Another instance converted the file after the record was read;
    // converting it again would reverse its pieces.
    QTest::newRow("file converted meanwhile") << up << QString()
                                              << QStringLiteral("update projectInfo set direction = 'down'")
                                              << QString() << false;
    // A collar id at the end of the integer range would carry the metre
    // counter past it.
    QTest::newRow("ids near the integer limit")
        << up << QStringLiteral("update bigImages set id = 2147480000 where id = 30000") << QString()
        << QStringLiteral("out of range, conversion refused") << false;
}

void TestProcessUpProjectThread::refusedRunLeavesFileAlone()
{
    QFETCH(QStringList, args);
    QFETCH(QString, tamper);
    QFETCH(QString, meanwhile);
    QFETCH(QString, logged);
    QFETCH(bool, partWay);
    const QString path = makeProject(QStringLiteral("refused-%1.prj").arg(++m_serial), args);
    QVERIFY(!path.isEmpty());
    if (!tamper.isEmpty())
        QVERIFY(execOn(path, {tamper}));
    loadRecord(path);
    if (!meanwhile.isEmpty())
        QVERIFY(execOn(path, {meanwhile}));
    const FileState before = readState(path);
    if (!logged.isEmpty())
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(logged));
    const RunResult run = convert(path);
    QVERIFY(!run.succeeded);
    QCOMPARE(run.finished, 1);
    QVERIFY(run.finishedLast);
    QCOMPARE(!run.progress.isEmpty(), partWay);
    const FileState after = readState(path);
    QCOMPARE(after.integrity, QStringLiteral("ok"));
    QCOMPARE(after.hash, before.hash);
    QVERIFY(!after.hasNewTable);
}

void TestProcessUpProjectThread::vanishedFileIsNotCreated()
{
    // The file went away between reading the record and the conversion.
    const QString path = upProject(QStringLiteral("vanished.prj"), QStringLiteral("2"));
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

void TestProcessUpProjectThread::deepestPieceIsTakenFromTheFile()
{
    // The collar piece (greatest id) went after the record was read: depths
    // count from the deepest piece the file holds when the conversion runs.
    const QString path = upProject(QStringLiteral("moved.prj"), QStringLiteral("5"));
    QVERIFY(!path.isEmpty());
    const QString reference = m_dir.filePath(QStringLiteral("moved-ref.prj"));
    QVERIFY(QFile::copy(path, reference));
    const QString deleteCollar = QStringLiteral("delete from bigImages where id = 50000");
    QVERIFY(execOn(reference, {deleteCollar}));
    loadRecord(reference);
    QVERIFY(convert(reference).succeeded);

    loadRecord(path);
    QCOMPARE(ProjectInfo::instance()->maxDepth(), 50000);
    QVERIFY(execOn(path, {deleteCollar}));
    const RunResult run = convert(path);
    QVERIFY(run.succeeded);
    QCOMPARE(run.counts, QList<int>{4});
    QCOMPARE(readState(path).hash, readState(reference).hash);
}

void TestProcessUpProjectThread::rowsAreKeptWhateverTheScale_data()
{
    QTest::addColumn<int>("diameter");       // the record's, in 0.1 mm
    QTest::addColumn<int>("missingMetre");   // 0: none
    // Without a pixel factor the pieces are not cut by depth.
    QTest::newRow("no diameter") << 0 << 0;
    // The pieces are drawn for a 100 mm hole: each brings only 70 % of the
    // rows the record's factor expects. That is the scale of the wall, not
    // missing wall, so no black rows go between the pieces; a metre really
    // missing from the table still comes back as black rows.
    QTest::newRow("70 mm in the record") << 700 << 0;
    QTest::newRow("70 mm in the record, a metre missing") << 700 << 6;
}

void TestProcessUpProjectThread::rowsAreKeptWhateverTheScale()
{
    QFETCH(int, diameter);
    QFETCH(int, missingMetre);
    QStringList more{"--seed", "6"};
    if (missingMetre > 0)
        more << "--missing-metre" << QString::number(missingMetre);
    const QString path = upProject(QStringLiteral("scale%1.prj").arg(++m_serial), QStringLiteral("10"), more);
    QVERIFY(!path.isEmpty());
    QVERIFY(execOn(path, {QStringLiteral("update projectInfo set diameter = %1").arg(diameter)}));
    int rowsBefore = 0;
    for (const Piece &p : readState(path).pieces)
        rowsBefore += decode(p.data).height();
    loadRecord(path);
    const RunResult run = convert(path);
    QVERIFY(run.succeeded);
    const double ppu = diameter > 0 ? 400.0 / (diameter * 3.14) : 0.0;
    if (diameter > 0)
        QVERIFY(qAbs(run.pixelFactor - ppu) < 1e-9);
    else
        QCOMPARE(run.pixelFactor, 0.0);

    const FileState after = readState(path);
    QCOMPARE(after.direction, QStringLiteral("down"));
    int rowsAfter = 0;
    int blackRows = 0;
    for (const Piece &p : after.pieces) {
        const QImage image = decode(p.data);
        QVERIFY(!image.isNull());
        QVERIFY(diameter > 0 || p.id % 10000 == 0);
        rowsAfter += image.height();
        for (int y = 0; y < image.height(); ++y) {
            if (isBlack(image.pixel(image.width() / 2, y)) && isBlack(image.pixel(image.width() / 4, y)))
                ++blackRows;
        }
    }
    // Every row of the pieces is kept, and a missing metre is added at the
    // record's scale.
    const int metreRows = missingMetre > 0 ? int(10000 * ppu) : 0;
    QVERIFY2(qAbs(rowsAfter - (rowsBefore + metreRows)) <= (missingMetre > 0 ? 2 : 0)
                 && blackRows >= metreRows - 20 && blackRows < metreRows + 20,
             qPrintable(QStringLiteral("%1 rows of %2, %3 black").arg(rowsAfter).arg(rowsBefore).arg(blackRows)));
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
    const QString path = upProject(QStringLiteral("reset-%1.prj").arg(++m_serial), QStringLiteral("8"),
                                   {"--seed", "12"});
    const QString other = makeProject(QStringLiteral("reset-other.prj"),
                                      {"--to", "2", "--width", "1000", "--diameter", "120"});
    const QString quiet = m_dir.filePath(QStringLiteral("reset-quiet.prj"));
    QVERIFY(!path.isEmpty() && !other.isEmpty() && copyProject(path, quiet));
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

    QCOMPARE(readState(path).hash, readState(quiet).hash);
}

void TestProcessUpProjectThread::logsWhatItComputes()
{
    const QString path = upProject(QStringLiteral("logs.prj"), QStringLiteral("2.5"), {"--piece", "0.5"});
    QVERIFY(!path.isEmpty());
    loadRecord(path);
    QStringList lines;
    {
        ProjectTest::LogRecorder log;
        QVERIFY(convert(path).succeeded);
        lines = log.messages();
    }
    const QString all = lines.join(QLatin1Char('\n'));
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^FACTORBTPIXELWITHMM: 0\\.127"))).size(), 1);
    QCOMPARE(lines.filter(QStringLiteral("joint 1")).size(), 1);
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^\\[joint 2\\] overlap: \\d+$"))).size(), 4);
    QCOMPARE(lines.filter(QStringLiteral("joint 4")).size(), 4);
    QVERIFY2(lines.contains(QStringLiteral("lastImageDepth: 15000  endDepth: 10000  remainHeight: 636")), qPrintable(all));
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^holeDepth \\d+$"))).size(), 1);
    // Insertions are logged in the order of their ids.
    const QStringList inserts = lines.filter(QStringLiteral("insertNewBigImageIntoTable endDepth:"));
    QCOMPARE(inserts.size(), 3);
    QCOMPARE(inserts.mid(0, 2), (QStringList{"insertNewBigImageIntoTable endDepth: 10000  Res: true",
                                             "insertNewBigImageIntoTable endDepth: 20000  Res: true"}));
}

QTEST_MAIN(TestProcessUpProjectThread)
#include "tst_processupprojectthread.moc"
