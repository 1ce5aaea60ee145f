#ifndef CONVERSIONFIXTURE_H
#define CONVERSIONFIXTURE_H

// Helpers of the processing tests: load a project into the record, run the
// upward conversion on it and read back what the file holds.

#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariant>
#include <QtTest>
#include <cstring>
#include <functional>

#include "globals.h"
#include "processupprojectthread.h"
#include "projectinfo.h"

namespace ConversionFixture {

struct Piece
{
    int id = 0;
    QByteArray data;
};

// Everything the file holds that a conversion may change.
struct FileState
{
    bool opened = false;
    QString integrity;
    QList<Piece> pieces;      // bigImages in ascending id
    QString direction;
    int start = -1;
    bool hasNewTable = false;
    QByteArray hash;          // over pieces and the projectInfo row

    QList<int> ids() const
    {
        QList<int> out;
        for (const Piece &p : pieces)
            out << p.id;
        return out;
    }
};

// Runs use on a connection of the test itself to path; false when the file
// is missing or does not open.
inline bool withConnection(const QString &path, const std::function<void(QSqlDatabase &)> &use)
{
    static int counter = 0;
    const QString name = QStringLiteral("fixture-%1").arg(++counter);
    bool opened = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        opened = QFile::exists(path) && db.open();
        if (opened)
            use(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return opened;
}

inline FileState readState(const QString &path)
{
    FileState state;
    state.opened = withConnection(path, [&state](QSqlDatabase &db) {
        QCryptographicHash hash(QCryptographicHash::Sha1);
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next())
            state.integrity = q.value(0).toString();
        q.finish();
        if (q.exec(QStringLiteral("select id, data from bigImages order by id"))) {
            while (q.next()) {
                Piece p;
                p.id = q.value(0).toInt();
                p.data = q.value(1).toByteArray();
                hash.addData(QByteArray::number(p.id));
                hash.addData(p.data);
                state.pieces << p;
            }
        }
        q.finish();
        if (q.exec(QStringLiteral("select * from projectInfo")) && q.next()) {
            state.direction = q.value(QStringLiteral("direction")).toString();
            state.start = q.value(QStringLiteral("start")).toInt();
            for (int i = 0; i < q.record().count(); ++i)
                hash.addData(q.value(i).toString().toUtf8());
        }
        q.finish();
        state.hasNewTable = db.tables().contains(QStringLiteral("newBigImages"), Qt::CaseInsensitive);
        state.hash = hash.result();
    });
    return state;
}

// Runs statements on the file, stopping at the first that fails.
inline bool execOn(const QString &path, const QStringList &statements)
{
    bool ok = true;
    return withConnection(path, [&](QSqlDatabase &db) {
               for (const QString &s : statements) {
                   QSqlQuery q(db);
                   if (ok && !q.exec(s)) {
                       qWarning() << s << q.lastError().text();
                       ok = false;
                   }
               }
           })
        && ok;
}

// The first value the statement gives on the file; null when none.
inline QVariant scalarOn(const QString &path, const QString &statement)
{
    QVariant value;
    withConnection(path, [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        if (q.exec(statement) && q.next())
            value = q.value(0);
    });
    return value;
}

// Loads the project into the process-wide record as the main window does.
inline void loadRecord(const QString &path)
{
    pixelsPerUnit = 0.0;
    ProjectInfo *info = ProjectInfo::instance();
    info->reset();
    info->setDatabase(path);
    info->loadProjectInfo();
}

// What a worker reported while it ran.
struct Reports
{
    QList<int> counts;          // values of signalImagesCount
    QList<int> progress;        // values of signalOneImageProcessed
    int finished = 0;
    bool countBeforeProgress = true;
    bool finishedLast = false;  // nothing came after signalProcessFinished
};

// Starts worker and waits, processing events, until it has finished, and
// records what it reported. cancelAtStep >= 0 cancels from the GUI thread
// when that progress value arrives; onGuiStep, when given, runs on the GUI
// thread for every progress value. The worker waits for both, like for a
// dialog's request, so the moment is exact.
template <class Worker>
void runWorker(Worker &worker, Reports *reports, int cancelAtStep = -1,
               const std::function<void(int)> &onGuiStep = {})
{
    Reports &r = *reports;
    r.finishedLast = false;
    QObject::connect(&worker, &Worker::signalImagesCount, &worker,
                     [&](int n) { r.counts << n; r.finishedLast = false; }, Qt::DirectConnection);
    QObject::connect(&worker, &Worker::signalOneImageProcessed, &worker,
                     [&](int n) {
                         r.countBeforeProgress = r.countBeforeProgress && !r.counts.isEmpty();
                         r.progress << n;
                         r.finishedLast = false;
                     },
                     Qt::DirectConnection);
    QObject::connect(&worker, &Worker::signalProcessFinished, &worker,
                     [&]() { ++r.finished; r.finishedLast = true; }, Qt::DirectConnection);
    QObject guiSide;
    if (cancelAtStep >= 0 || onGuiStep) {
        QObject::connect(&worker, &Worker::signalOneImageProcessed, &guiSide,
                         [&](int n) {
                             if (onGuiStep)
                                 onGuiStep(n);
                             if (n == cancelAtStep)
                                 worker.canceled();
                         },
                         Qt::BlockingQueuedConnection);
    }
    worker.start();
    while (!worker.wait(20))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();
}

struct RunResult : Reports
{
    bool succeeded = false;
    int convertedMaxDepth = 0;
    int peakRows = 0;
    double pixelFactor = 0.0;   // the factor the worker cut by
};

// Runs the upward conversion on path (record loaded before); see runWorker().
inline RunResult convert(const QString &path, const QStringList &pragmas = {},
                         int cancelAtStep = -1,
                         const std::function<void(int)> &onGuiStep = {})
{
    RunResult result;
    ProcessUpProjectThread worker(path);
    worker.rewriter().setConnectionPragmas(pragmas);
    runWorker(worker, &result, cancelAtStep, onGuiStep);
    result.succeeded = worker.succeeded();
    result.convertedMaxDepth = worker.convertedMaxDepth();
    result.peakRows = worker.peakAccumulatedRows();
    result.pixelFactor = worker.pixelFactor();
    return result;
}

// from, from + 1, ..., to.
inline QList<int> steps(int from, int to)
{
    QList<int> out;
    for (int i = from; i <= to; ++i)
        out << i;
    return out;
}

// A writable copy of source at path, replacing what was there.
inline bool copyProject(const QString &source, const QString &path)
{
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
    return QFile::copy(source, path) && QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

inline QImage decode(const QByteArray &bytes)
{
    return QImage::fromData(bytes, "JPG").convertToFormat(QImage::Format_RGB32);
}

// The whole wall of a file: its decoded pieces stacked top to bottom
// (undecodable pieces are skipped).
inline QImage wall(const FileState &state)
{
    QList<QImage> images;
    int width = 0;
    int height = 0;
    for (const Piece &p : state.pieces) {
        const QImage image = decode(p.data);
        if (image.isNull())
            continue;
        width = qMax(width, image.width());
        height += image.height();
        images << image;
    }
    QImage out(width, height, QImage::Format_RGB32);
    out.fill(Qt::black);
    int y = 0;
    for (const QImage &image : qAsConst(images)) {
        for (int r = 0; r < image.height(); ++r)
            std::memcpy(out.scanLine(y + r), image.constScanLine(r), size_t(image.width()) * 4);
        y += image.height();
    }
    return out;
}

// The wall as the page display shows it: every piece scaled to the height of
// its depth span (previous id to its id) at ppu pixels per depth unit.
inline QImage displayedWall(const FileState &state, double ppu, int startDepth = 0)
{
    const int width = state.pieces.isEmpty() ? 0 : decode(state.pieces.first().data).width();
    const int height = state.pieces.isEmpty() ? 0 : int(qRound((state.pieces.last().id - startDepth) * ppu));
    QImage out(qMax(width, 1), qMax(height, 1), QImage::Format_RGB32);
    out.fill(Qt::black);
    int previous = startDepth;
    for (const Piece &p : state.pieces) {
        const int top = int(qRound((previous - startDepth) * ppu));
        const int bottom = int(qRound((p.id - startDepth) * ppu));
        previous = p.id;
        const QImage image = decode(p.data);
        if (image.isNull() || bottom <= top)
            continue;
        const QImage scaled = image.scaled(width, bottom - top, Qt::IgnoreAspectRatio,
                                           Qt::SmoothTransformation)
                                  .convertToFormat(QImage::Format_RGB32);
        for (int r = 0; r < scaled.height() && top + r < out.height(); ++r)
            std::memcpy(out.scanLine(top + r), scaled.constScanLine(r), size_t(width) * 4);
    }
    return out;
}

// Mean absolute channel difference of rows [rowA, rowA+n) of a and
// [rowB, rowB+n) of b; -1 when a range is outside an image.
inline double bandDifference(const QImage &a, int rowA, const QImage &b, int rowB, int n)
{
    if (rowA < 0 || rowB < 0 || rowA + n > a.height() || rowB + n > b.height() || n <= 0)
        return -1.0;
    const int width = qMin(a.width(), b.width());
    qint64 sum = 0;
    for (int i = 0; i < n; ++i) {
        const QRgb *pa = reinterpret_cast<const QRgb *>(a.constScanLine(rowA + i));
        const QRgb *pb = reinterpret_cast<const QRgb *>(b.constScanLine(rowB + i));
        for (int x = 0; x < width; ++x)
            sum += qAbs(qRed(pa[x]) - qRed(pb[x])) + qAbs(qGreen(pa[x]) - qGreen(pb[x]))
                   + qAbs(qBlue(pa[x]) - qBlue(pb[x]));
    }
    return double(sum) / (double(n) * width * 3);
}

// Offset (rows of b minus rows of a) in [lo, hi] at which the band of a
// starting at rowA matches b best; *difference receives that band difference.
inline int bestOffset(const QImage &a, int rowA, const QImage &b, int n, int lo, int hi,
                      double *difference)
{
    int best = 0;
    double smallest = 1e9;
    for (int off = lo; off <= hi; ++off) {
        const double d = bandDifference(a, rowA, b, rowA + off, n);
        if (d >= 0 && d < smallest) {
            smallest = d;
            best = off;
        }
    }
    *difference = smallest;
    return best;
}

} // namespace ConversionFixture

#endif // CONVERSIONFIXTURE_H
