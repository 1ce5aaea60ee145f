// Benchmark of the depth and azimuth corrections (not a test; run by hand):
//
//   bench_processing_corrections [depths in metres, default 20 100]
//
// For each depth it writes a downward sample project (1 m pieces, 1000 px
// wide, 100 mm hole), then, each in a child process of its own:
//   - floor: decode every piece and encode it again as JPEG, nothing else;
//   - depth: CorrectDepthThread to a real depth 5 % deeper, on a fresh copy;
//   - angle: CorrectAngleThread by 90 degrees, on a fresh copy.
//   - vacuum: the compaction the depth and angle times end with, alone: VACUUM
//     of a copy whose image table was rewritten (half of its pages free).
// Each child runs three times and the shortest time counts (the machine is
// shared; the least disturbed run is the one that measures the code). It
// prints the wall times, the ratios to the floor (target <= 1.3) and the
// peak resident memory (VmHWM) of each child, which must stay flat as the
// depth grows.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

#include "benchchild.h"
#include "correctanglethread.h"
#include "correctdepththread.h"
#include "samplefixture.h"

using namespace BenchChild;

namespace {

int childFloor(const QString &path)
{
    QElapsedTimer clock;
    clock.start();
    if (decodeAndEncodeAll(path, QStringLiteral("select id ,data from bigImages")) < 0)
        return 2;
    std::printf("%lld %ld\n", clock.elapsed(), statusKb("VmHWM"));
    return 0;
}

int childVacuum(const QString &path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(path);
    if (!db.open())
        return 2;
    QSqlQuery q(db);
    QElapsedTimer clock;
    for (const char *statement : {"BEGIN", "CREATE TABLE copied AS SELECT * FROM bigImages", "DROP TABLE bigImages",
                                  "ALTER TABLE copied RENAME TO bigImages", "COMMIT", "VACUUM"}) {
        clock.start();  // the last start times the VACUUM alone
        if (!q.exec(QString::fromLatin1(statement)))
            return 3;
    }
    std::printf("%lld %ld\n", clock.elapsed(), statusKb("VmHWM"));
    return 0;
}

int childCorrect(const QString &mode, const QString &path)
{
    loadRecord(path);
    QElapsedTimer clock;
    clock.start();
    CorrectionThread *worker = nullptr;
    if (mode == QLatin1String("--depth"))
        worker = new CorrectDepthThread(path, ProjectInfo::instance()->maxDepth() / 10 * 105 / 100);
    else
        worker = new CorrectAngleThread(path, 90);
    worker->start();
    worker->wait();
    const bool ok = worker->succeeded();
    std::printf("%lld %ld\n", clock.elapsed(), statusKb("VmHWM"));
    delete worker;
    return ok ? 0 : 3;
}

// The best of three runs, each on a fresh copy when the child rewrites.
Result bestOf(const QTemporaryDir &dir, const QString &mode, const QString &sample)
{
    Result best;
    for (int run = 0; run < 3; ++run) {
        QString path = sample;
        if (mode != QLatin1String("--floor")) {
            path = dir.filePath(QStringLiteral("c.prj"));
            QFile::remove(path);
            QFile::copy(sample, path);
        }
        const Result r = BenchChild::run(mode, path);
        if (!r.ok)
            return r;
        if (!best.ok || r.ms < best.ms)
            best = r;
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && (qstrcmp(argv[1], "--floor") == 0 || qstrcmp(argv[1], "--depth") == 0
                      || qstrcmp(argv[1], "--angle") == 0 || qstrcmp(argv[1], "--vacuum") == 0)) {
        qInstallMessageHandler(dropMessages);
        QApplication app(argc, argv);
        const QString path = QString::fromLocal8Bit(argv[2]);
        if (qstrcmp(argv[1], "--vacuum") == 0)
            return childVacuum(path);
        return qstrcmp(argv[1], "--floor") == 0 ? childFloor(path)
                                                : childCorrect(QString::fromLatin1(argv[1]), path);
    }
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QTextStream out(stdout);
    out << "depth and azimuth correction, 1 m pieces, 1000 px wide, 100 mm hole\n";
    out << "depth_m  floor_ms  depth_ms  ratio  angle_ms  ratio  vacuum_ms  file_MiB  floor_peak_MiB  depth_peak_MiB  angle_peak_MiB\n";
    for (int metres : depths(argc, argv)) {
        const QString sample = dir.filePath(QStringLiteral("down%1.prj").arg(metres));
        if (!SampleFixture::make(sample, {"--to", QString::number(metres), "--width", "1000",
                                          "--diameter", "100", "--piece", "1"})) {
            out << "kora-sample failed for " << metres << " m\n";
            return 1;
        }
        const Result floor = bestOf(dir, QStringLiteral("--floor"), sample);
        const Result depth = bestOf(dir, QStringLiteral("--depth"), sample);
        const Result angle = bestOf(dir, QStringLiteral("--angle"), sample);
        const Result vacuum = bestOf(dir, QStringLiteral("--vacuum"), sample);
        if (!floor.ok || !depth.ok || !angle.ok || !vacuum.ok) {
            out << metres << " m: a child failed\n";
            return 1;
        }
        const auto ratio = [&floor](qint64 ms) {
            return QString::number(double(ms) / qMax<qint64>(1, floor.ms), 'f', 2);
        };
        printRow(out, {{7, QString::number(metres)}, {8, QString::number(floor.ms)},
                       {8, QString::number(depth.ms)}, {5, ratio(depth.ms)},
                       {8, QString::number(angle.ms)}, {5, ratio(angle.ms)},
                       {9, QString::number(vacuum.ms)}, {8, mib(QFile(sample).size() / 1024)},
                       {14, mib(floor.peakKb)}, {14, mib(depth.peakKb)}, {14, mib(angle.peakKb)}});
    }
    return 0;
}
