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
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

#include "globals.h"
#include "processupprojectthread.h"
#include "projectinfo.h"
#include "samplefixture.h"

namespace {

long statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toLong();
    }
    return -1;
}

void dropMessages(QtMsgType, const QMessageLogContext &, const QString &) {}

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
    int pieces = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("floor"));
        db.setDatabaseName(path);
        if (!db.open())
            return 2;
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("select id ,data from bigImages order by id desc")))
            return 2;
        while (q.next()) {
            QImage image;
            image.loadFromData(q.value(1).toByteArray(), "JPG");
            QByteArray out;
            QBuffer buffer(&out);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "JPG");
            ++pieces;
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("floor"));
    std::printf("%lld %ld %ld %d 0\n", clock.elapsed(), statusKb("VmHWM"), baseKb, pieces);
    return 0;
}

// Child: the conversion as the main window runs it.
int childConvert(const QString &path)
{
    const qint64 rowsBefore = storedRows(path);
    pixelsPerUnit = 0.0;
    ProjectInfo *info = ProjectInfo::instance();
    info->reset();
    info->setDatabase(path);
    info->loadProjectInfo();
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

struct ChildResult
{
    bool ok = false;
    qint64 ms = 0;
    long peakKb = 0;
    long baseKb = 0;
    qint64 lostRows = 0;
};

ChildResult runChild(const QString &mode, const QString &path)
{
    ChildResult r;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(QCoreApplication::applicationFilePath(), {mode, path});
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        return r;
    const QList<QByteArray> f = p.readAllStandardOutput().trimmed().split(' ');
    if (f.size() < 5)
        return r;
    r.ms = f.at(0).toLongLong();
    r.peakKb = f.at(1).toLong();
    r.baseKb = f.at(2).toLong();
    r.lostRows = f.at(4).toLongLong();
    r.ok = true;
    return r;
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
    QList<int> depths;
    for (int i = 1; i < argc; ++i)
        depths << QString::fromLocal8Bit(argv[i]).toInt();
    if (depths.isEmpty())
        depths = {20, 100};

    QTemporaryDir dir;
    QTextStream out(stdout);
    out << "upward conversion, 1 m pieces, 1000 px wide, 100 mm hole\n";
    out << "depth_m  floor_ms  convert_ms  ratio  floor_peak_MiB  convert_peak_MiB  convert_growth_MiB"
           "  gap_peak_MiB  lost_rows\n";
    for (int metres : qAsConst(depths)) {
        const QString sample = dir.filePath(QStringLiteral("up%1.prj").arg(metres));
        if (!SampleFixture::make(sample, {"--direction", "up", "--to", QString::number(metres),
                                          "--width", "1000", "--diameter", "100", "--piece", "1"})) {
            out << "kora-sample failed for " << metres << " m\n";
            return 1;
        }
        const QString work = dir.filePath(QStringLiteral("work%1.prj").arg(metres));
        QFile::remove(work);
        QFile::copy(sample, work);
        const ChildResult floor = runChild(QStringLiteral("--floor"), sample);
        const ChildResult conv = runChild(QStringLiteral("--convert"), work);
        const QString gapWork = dir.filePath(QStringLiteral("gap%1.prj").arg(metres));
        QFile::remove(gapWork);
        QFile::copy(sample, gapWork);
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
        const ChildResult gap = runChild(QStringLiteral("--convert"), gapWork);
        if (!floor.ok || !conv.ok || !gap.ok) {
            out << metres << " m: a child failed\n";
            return 1;
        }
        out << qSetFieldWidth(7) << metres << qSetFieldWidth(0) << "  "
            << qSetFieldWidth(8) << floor.ms << qSetFieldWidth(0) << "  "
            << qSetFieldWidth(10) << conv.ms << qSetFieldWidth(0) << "  "
            << qSetFieldWidth(5) << QString::number(double(conv.ms) / qMax<qint64>(1, floor.ms), 'f', 2)
            << qSetFieldWidth(0) << "  "
            << qSetFieldWidth(14) << QString::number(floor.peakKb / 1024.0, 'f', 1) << qSetFieldWidth(0) << "  "
            << qSetFieldWidth(16) << QString::number(conv.peakKb / 1024.0, 'f', 1) << qSetFieldWidth(0) << "  "
            << qSetFieldWidth(18) << QString::number((conv.peakKb - conv.baseKb) / 1024.0, 'f', 1)
            << qSetFieldWidth(0) << "  "
            << qSetFieldWidth(12) << QString::number(gap.peakKb / 1024.0, 'f', 1)
            << qSetFieldWidth(0) << "  "
            << qSetFieldWidth(9) << conv.lostRows << qSetFieldWidth(0) << "\n";
        out.flush();
    }
    return 0;
}
