// Benchmark of the upward-project conversion (not a test; run by hand):
//
//   bench_processing_upconvert [depths in metres, default 20 100]
//
// For each depth it writes an upward sample project (1 m pieces, 1000 px
// wide, 100 mm hole), then, each in a child process of its own:
//   - floor: decode every piece and encode it again as JPEG, nothing else;
//   - conversion: ProcessUpProjectThread on a fresh copy of the project.
// It prints both wall times, their ratio, and the peak resident memory
// (VmHWM) of each child, which must stay flat as the depth grows, and the
// rows the conversion lost (the sample's pieces repeat no rows, so none may
// go). A third child converts a copy whose middle half of the pieces is
// missing (filled with black metres); its peak must stay flat as well.

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

#include "benchchild.h"
#include "processupprojectthread.h"
#include "samplefixture.h"

using namespace BenchChild;

namespace {

// Pixel rows of all pieces, from their JPEG headers.
qint64 storedRows(const QString &path)
{
    qint64 rows = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("rows"));
        db.setDatabaseName(path);
        if (!db.open())
            return -1;
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("select data from bigImages")))
            return -1;
        while (q.next()) {
            QByteArray bytes = q.value(0).toByteArray();
            QBuffer buffer(&bytes);
            QImageReader reader(&buffer, "JPG");
            rows += reader.size().height();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("rows"));
    return rows;
}

// Child: decode and re-encode every piece, streaming, as the floor.
int childFloor(const QString &path)
{
    const long baseKb = statusKb("VmRSS");
    QElapsedTimer clock;
    clock.start();
    const int pieces = decodeAndEncodeAll(path, QStringLiteral("select id ,data from bigImages order by id desc"));
    if (pieces < 0)
        return 2;
    std::printf("%lld %ld %ld %d 0\n", clock.elapsed(), statusKb("VmHWM"), baseKb, pieces);
    return 0;
}

// Child: the conversion as the main window runs it.
int childConvert(const QString &path)
{
    const qint64 rowsBefore = storedRows(path);
    loadRecord(path);
    const long baseKb = statusKb("VmRSS");
    QElapsedTimer clock;
    clock.start();
    ProcessUpProjectThread worker(path);
    worker.start();
    worker.wait();
    const qint64 ms = clock.elapsed();
    const long peakKb = statusKb("VmHWM");
    std::printf("%lld %ld %ld %d %lld\n", ms, peakKb, baseKb, worker.succeeded() ? 1 : 0,
                rowsBefore - storedRows(path));
    return worker.succeeded() ? 0 : 3;
}

// Fields the children print after time and peak.
long baseKb(const Result &r) { return r.fields.at(2).toLong(); }
qint64 lostRows(const Result &r) { return r.fields.at(4).toLongLong(); }

QString workCopy(const QString &sample, const QString &path)
{
    QFile::remove(path);
    QFile::copy(sample, path);
    return path;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && (qstrcmp(argv[1], "--floor") == 0 || qstrcmp(argv[1], "--convert") == 0)) {
        qInstallMessageHandler(dropMessages);
        QApplication app(argc, argv);
        return qstrcmp(argv[1], "--floor") == 0 ? childFloor(QString::fromLocal8Bit(argv[2]))
                                                : childConvert(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QTextStream out(stdout);
    out << "upward conversion, 1 m pieces, 1000 px wide, 100 mm hole\n";
    out << "depth_m  floor_ms  convert_ms  ratio  floor_peak_MiB  convert_peak_MiB  convert_growth_MiB"
           "  gap_peak_MiB  lost_rows\n";
    for (int metres : depths(argc, argv)) {
        const QString sample = dir.filePath(QStringLiteral("up%1.prj").arg(metres));
        if (!SampleFixture::make(sample, {"--direction", "up", "--to", QString::number(metres),
                                          "--width", "1000", "--diameter", "100", "--piece", "1"})) {
            out << "kora-sample failed for " << metres << " m\n";
            return 1;
        }
        const QString work = workCopy(sample, dir.filePath(QStringLiteral("work%1.prj").arg(metres)));
        const Result floor = BenchChild::run(QStringLiteral("--floor"), sample, 5);
        const Result conv = BenchChild::run(QStringLiteral("--convert"), work, 5);
        const QString gapWork = workCopy(sample, dir.filePath(QStringLiteral("gap%1.prj").arg(metres)));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("gap"));
            db.setDatabaseName(gapWork);
            if (db.open()) {
                QSqlQuery q(db);
                q.prepare(QStringLiteral("delete from bigImages where id > ? and id <= ?"));
                q.addBindValue(metres * 10000 / 4);
                q.addBindValue(metres * 10000 * 3 / 4);
                q.exec();
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("gap"));
        const Result gap = BenchChild::run(QStringLiteral("--convert"), gapWork, 5);
        if (!floor.ok || !conv.ok || !gap.ok) {
            out << metres << " m: a child failed\n";
            return 1;
        }
        printRow(out, {{7, QString::number(metres)}, {8, QString::number(floor.ms)},
                       {10, QString::number(conv.ms)},
                       {5, QString::number(double(conv.ms) / qMax<qint64>(1, floor.ms), 'f', 2)},
                       {14, mib(floor.peakKb)}, {16, mib(conv.peakKb)},
                       {18, mib(conv.peakKb - baseKb(conv))}, {12, mib(gap.peakKb)},
                       {9, QString::number(lostRows(conv))}});
    }
    return 0;
}
