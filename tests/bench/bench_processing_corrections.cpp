// Benchmark of the depth and azimuth corrections (not a test; run by hand):
//
//   bench_processing_corrections [depths in metres, default 20 100]
//
// For each depth it writes a downward sample project (1 m pieces, 1000 px
// wide, 100 mm hole), then, each in a child process of its own:
//   - floor: decode every piece and encode it again as JPEG, nothing else;
//   - depth: CorrectDepthThread to a real depth 5 % deeper, on a fresh copy;
//   - angle: CorrectAngleThread by 90 degrees, on a fresh copy.
// Each child runs three times and the shortest time counts (the machine is
// shared; the least disturbed run is the one that measures the code). It
// prints the wall times, the ratios to the floor (target <= 1.3) and the
// peak resident memory (VmHWM) of each child, which must stay flat as the
// depth grows.

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

#include "correctanglethread.h"
#include "correctdepththread.h"
#include "globals.h"
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

int childFloor(const QString &path)
{
    QElapsedTimer clock;
    clock.start();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("floor"));
        db.setDatabaseName(path);
        if (!db.open())
            return 2;
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("select id ,data from bigImages")))
            return 2;
        while (q.next()) {
            QImage image;
            image.loadFromData(q.value(1).toByteArray(), "JPG");
            QByteArray out;
            QBuffer buffer(&out);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "JPG");
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("floor"));
    std::printf("%lld %ld\n", clock.elapsed(), statusKb("VmHWM"));
    return 0;
}

int childCorrect(const QString &mode, const QString &path)
{
    pixelsPerUnit = 0.0;
    ProjectInfo *info = ProjectInfo::instance();
    info->reset();
    info->setDatabase(path);
    info->loadProjectInfo();
    QElapsedTimer clock;
    clock.start();
    CorrectionThread *worker = nullptr;
    if (mode == QLatin1String("--depth"))
        worker = new CorrectDepthThread(path, info->maxDepth() / 10 * 105 / 100);
    else
        worker = new CorrectAngleThread(path, 90);
    worker->start();
    worker->wait();
    const bool ok = worker->succeeded();
    std::printf("%lld %ld\n", clock.elapsed(), statusKb("VmHWM"));
    delete worker;
    return ok ? 0 : 3;
}

struct ChildResult
{
    bool ok = false;
    qint64 ms = 0;
    long peakKb = 0;
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
    if (f.size() < 2)
        return r;
    r.ms = f.at(0).toLongLong();
    r.peakKb = f.at(1).toLong();
    r.ok = true;
    return r;
}

QString copy(const QTemporaryDir &dir, const QString &sample, const QString &name)
{
    const QString path = dir.filePath(name);
    QFile::remove(path);
    QFile::copy(sample, path);
    return path;
}

// The best of three runs, each on a fresh copy when the child rewrites.
ChildResult bestOf(const QTemporaryDir &dir, const QString &mode, const QString &sample)
{
    ChildResult best;
    for (int run = 0; run < 3; ++run) {
        const QString path = mode == QLatin1String("--floor") ? sample : copy(dir, sample, QStringLiteral("c.prj"));
        const ChildResult r = runChild(mode, path);
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
                      || qstrcmp(argv[1], "--angle") == 0)) {
        qInstallMessageHandler(dropMessages);
        QApplication app(argc, argv);
        const QString path = QString::fromLocal8Bit(argv[2]);
        return qstrcmp(argv[1], "--floor") == 0 ? childFloor(path)
                                                : childCorrect(QString::fromLatin1(argv[1]), path);
    }
    QCoreApplication app(argc, argv);
    QList<int> depths;
    for (int i = 1; i < argc; ++i)
        depths << QString::fromLocal8Bit(argv[i]).toInt();
    if (depths.isEmpty())
        depths = {20, 100};

    QTemporaryDir dir;
    QTextStream out(stdout);
    out << "depth and azimuth correction, 1 m pieces, 1000 px wide, 100 mm hole\n";
    out << "depth_m  floor_ms  depth_ms  ratio  angle_ms  ratio  floor_peak_MiB  depth_peak_MiB  angle_peak_MiB\n";
    for (int metres : qAsConst(depths)) {
        const QString sample = dir.filePath(QStringLiteral("down%1.prj").arg(metres));
        if (!SampleFixture::make(sample, {"--to", QString::number(metres), "--width", "1000",
                                          "--diameter", "100", "--piece", "1"})) {
            out << "kora-sample failed for " << metres << " m\n";
            return 1;
        }
        const ChildResult floor = bestOf(dir, QStringLiteral("--floor"), sample);
        const ChildResult depth = bestOf(dir, QStringLiteral("--depth"), sample);
        const ChildResult angle = bestOf(dir, QStringLiteral("--angle"), sample);
        if (!floor.ok || !depth.ok || !angle.ok) {
            out << metres << " m: a child failed\n";
            return 1;
        }
        const auto ratio = [&floor](qint64 ms) {
            return QString::number(double(ms) / qMax<qint64>(1, floor.ms), 'f', 2);
        };
        out << qSetFieldWidth(7) << metres << qSetFieldWidth(0) << "  "
            << qSetFieldWidth(8) << floor.ms << qSetFieldWidth(0) << "  "
            << qSetFieldWidth(8) << depth.ms << qSetFieldWidth(0) << "  "
            << qSetFieldWidth(5) << ratio(depth.ms) << qSetFieldWidth(0) << "  "
            << qSetFieldWidth(8) << angle.ms << qSetFieldWidth(0) << "  "
            << qSetFieldWidth(5) << ratio(angle.ms) << qSetFieldWidth(0) << "  "
            << qSetFieldWidth(14) << QString::number(floor.peakKb / 1024.0, 'f', 1) << qSetFieldWidth(0) << "  "
            << qSetFieldWidth(14) << QString::number(depth.peakKb / 1024.0, 'f', 1) << qSetFieldWidth(0) << "  "
            << qSetFieldWidth(14) << QString::number(angle.peakKb / 1024.0, 'f', 1) << qSetFieldWidth(0) << "\n";
        out.flush();
    }
    return 0;
}
