// Benchmark of the wall contrast and the structure plots:
// - a 40 m page read with dynamic normalisation on, against the plain read
//   of the same page, and the normalisation's own time per piece against the
//   decoding of a piece;
// - a stereonet of 10 000 picks: the first paint of new picks and a repaint;
// - 100 000 structure picks in the file (spread over 40 m, or all on one
//   page): the time of a page change on top of the same page change without
//   picks, the longest the window stood still meanwhile, and the peak memory
//   above the same run without picks;
// - resident memory after 10 pages were read with dynamic normalisation and
//   it was switched off again, against before.
// The last two run in child processes of this binary, one per measurement.
// Run by hand: QT_QPA_PLATFORM=offscreen build/bin/bench_structures

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QElapsedTimer>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QPainter>
#include <QRandomGenerator>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include "benchchild.h"
#include "contrastcontroller.h"
#include "fileinfowidget.h"
#include "globals.h"
#include "graphicsscene.h"
#include "largeimage.h"
#include "mainwindow.h"
#include "readbigimagethread.h"
#include "samplefixture.h"
#include "stereonetplot.h"
#include "structurepick.h"
#include "structurepickcontroller.h"

using BenchChild::best;
using BenchChild::median;

class BenchStructures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void normalisationWhileReading();
    void stereonetOfTenThousandPicks();
    void hundredThousandPicks();
    void memoryAfterNormalisation();

private:
    double decodeMsPerPiece();
    double readPageMs(MainWindow &w);

    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
    QString m_project;
    static constexpr int kMetres = 40;
    static constexpr int kRounds = 5;
};

void BenchStructures::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    QVERIFY(m_dir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    FileInfoWidget::installAsNavigationPanel();
    m_project = m_dir.filePath(QStringLiteral("bench.prj"));
    QVERIFY(SampleFixture::make(m_project, {QStringLiteral("--to"), QString::number(kMetres),
                                            QStringLiteral("--width"), QStringLiteral("1024"),
                                            QStringLiteral("--diameter"), QStringLiteral("110")}));
}

double BenchStructures::decodeMsPerPiece()
{
    QElapsedTimer timer;
    int pieces = 0;
    qint64 ns = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("floor"));
        db.setDatabaseName(m_project);
        db.open();
        QSqlQuery q(db);
        q.exec(QStringLiteral("select id, data from bigImages"));
        while (q.next()) {
            const QByteArray data = q.value(1).toByteArray();
            timer.start();
            const QImage image = ReadBigImageThread::decodeImage(data);
            ns += timer.nsecsElapsed();
            if (!image.isNull())
                ++pieces;
        }
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("floor"));
    return pieces ? ns / 1e6 / pieces : 0.0;
}

double BenchStructures::readPageMs(MainWindow &w)
{
    w.fileInfoWidget()->setStartValue(0);
    w.fileInfoWidget()->setEndValue(kMetres);
    QElapsedTimer timer;
    timer.start();
    w.handleGoPressed();
    if (!QTest::qWaitFor([] { return !readingInProgress; }, 300000))
        return -1.0;
    return timer.elapsed();
}

void BenchStructures::normalisationWhileReading()
{
    MainWindow w;
    w.openProjectFile(m_project);
    QTRY_VERIFY_WITH_TIMEOUT(!readingInProgress, 120000);

    // The machine is shared: several rounds, each way in turn and each way
    // first in every other round, so that neither read always follows the
    // other; best and median of each. A setting is made before its read (the
    // page already shown is done again through it), outside the time.
    QVector<double> plain;
    QVector<double> normalised;
    WallContrast on;
    on.dynamicNormalisation = true;
    for (int round = 0; round < kRounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool normalising = (turn == 0) == (round % 2 == 1);
            w.contrastController()->setContrast(normalising ? on : WallContrast());
            const double ms = readPageMs(w);
            QVERIFY(ms >= 0.0);
            (normalising ? normalised : plain) << ms;
        }
    }
    const QList<QGraphicsPixmapItem *> pieces = w.contrastController()->pieces();
    QCOMPARE(pieces.size(), kMetres);
    qInfo("page of %d m, %d pieces of %d x %d px, window %d rows (0.5 m), %d rounds", kMetres,
          int(pieces.size()), pieces.first()->pixmap().width(), pieces.first()->pixmap().height(),
          w.contrastController()->windowRows(), kRounds);
    const double plainBest = best(plain);
    const double normalisedBest = best(normalised);
    qInfo("page read plain: best %.0f ms (%.1f ms per piece), median %.0f ms; with dynamic normalisation: "
          "best %.0f ms (%.1f ms per piece), median %.0f ms",
          plainBest, plainBest / kMetres, median(plain), normalisedBest, normalisedBest / kMetres,
          median(normalised));
    qInfo("ratio of the best %.2f, of the medians %.2f (target <= 1.3)", normalisedBest / plainBest,
          median(normalised) / median(plain));

    // The normalisation alone, piece by piece as they arrive, against
    // decoding: in a scene of its own, then in another after that one is
    // gone (whose pictures reuse the memory of the first's).
    QVector<QImage> originals;
    for (QGraphicsPixmapItem *item : pieces)
        originals << ContrastController::originalOf(item);
    QVector<double> perPiece;
    for (int pass = 0; pass < 2; ++pass) {
        QGraphicsScene scene;
        ContrastController controller(&scene);
        controller.setContrast(on);
        QElapsedTimer timer;
        timer.start();
        int y = 0;
        for (const QImage &image : qAsConst(originals)) {
            auto *item = scene.addPixmap(QPixmap::fromImage(image));
            item->setOffset(0, y);
            y += image.height();
            controller.pieceAdded(item, image);
        }
        perPiece << double(timer.elapsed()) / originals.size();
    }
    const double decode = decodeMsPerPiece();
    qInfo("normalisation as pieces arrive: %.1f ms per piece, %.1f ms again; decoding: %.1f ms per piece",
          perPiece.at(0), perPiece.at(1), decode);
}

void BenchStructures::stereonetOfTenThousandPicks()
{
    QVector<StructurePick> picks;
    QRandomGenerator random(7);
    const QStringList types = StructurePick::types();
    for (int i = 0; i < 10000; ++i) {
        StructurePick p;
        p.depth = random.bounded(400000);
        p.dip = random.bounded(90.0);
        p.dipDirection = random.bounded(360.0);
        p.type = types.at(i % types.size());
        picks << p;
    }
    StereonetPlot plot;
    plot.setPicks(picks);
    for (bool circles : {false, true}) {
        plot.setGreatCircles(circles);
        QImage image(800, 800, QImage::Format_ARGB32_Premultiplied);
        // The first paint of new picks, then a repaint of the same picks.
        QVector<double> first;
        QVector<double> repaint;
        for (int round = 0; round < kRounds; ++round) {
            plot.setPicks(picks);
            for (int paint = 0; paint < 2; ++paint) {
                QElapsedTimer timer;
                timer.start();
                QPainter painter(&image);
                plot.paintPlot(&painter, QRectF(0, 0, 800, 800));
                painter.end();
                (paint == 0 ? first : repaint) << timer.nsecsElapsed() / 1e6;
            }
        }
        qInfo("stereonet of %d picks%s, 800 x 800: first paint best %.1f ms, median %.1f ms, worst %.1f ms; "
              "repaint best %.1f ms, median %.1f ms (target < 100 ms)",
              int(picks.size()), circles ? " with great circles" : "", best(first), median(first),
              *std::max_element(first.cbegin(), first.cend()), best(repaint), median(repaint));
    }
}

namespace {

constexpr int kPickMetres = 40;
constexpr int kPicks = 100000;

// Writes count picks into the project at path, spread evenly over
// [fromMetre, toMetre).
bool plantPicks(const QString &path, int count, int fromMetre, int toMetre)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("plant"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            ok = q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS structurePicks (id integer primary key, depth real, "
                                       "dip real, dipDirection real, amplitude real, type text, comment text)"));
            db.transaction();
            q.prepare(QStringLiteral("INSERT INTO structurePicks (depth, dip, dipDirection, amplitude, type, comment) "
                                     "VALUES (?, ?, ?, ?, ?, ?)"));
            QRandomGenerator random(11);
            const QStringList types = StructurePick::types();
            const double span = (toMetre - fromMetre) * 10000.0;
            for (int i = 0; ok && i < count; ++i) {
                const double dip = random.bounded(80.0);
                q.addBindValue(fromMetre * 10000.0 + span * i / count);
                q.addBindValue(dip);
                q.addBindValue(random.bounded(360.0));
                q.addBindValue(std::tan(dip * M_PI / 180.0) * 1100.0 / 2.0);
                q.addBindValue(types.at(i % types.size()));
                q.addBindValue(i % 10 == 0 ? QStringLiteral("open, iron-stained") : QString());
                ok = q.exec();
            }
            ok = ok && db.commit();
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("plant"));
    return ok;
}

// The longest the window did not answer (one turn of its event loop, or the
// call that asked for the page) since it was last reset; milliseconds.
double longestStallMs = 0.0;

// Runs the event loop until no page read is running and the page's picks
// are on it; milliseconds.
double waitForPage(MainWindow &w, const QElapsedTimer &timer)
{
    longestStallMs = std::max(longestStallMs, timer.nsecsElapsed() / 1e6);
    QElapsedTimer turn;
    const auto process = [&turn](QEventLoop::ProcessEventsFlags flags, int maxMs) {
        turn.start();
        QCoreApplication::processEvents(flags, maxMs);
        longestStallMs = std::max(longestStallMs, turn.nsecsElapsed() / 1e6);
    };
    while (readingInProgress || w.structurePicks()->pagePicksPending())
        process(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    process(QEventLoop::AllEvents, 0);
    return timer.nsecsElapsed() / 1e6;
}

void childSetUp(const QTemporaryDir &settings)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    FileInfoWidget::installAsNavigationPanel();
}

// Shows the window and opens the project in it; milliseconds until its
// first page is on screen.
double openShown(MainWindow &w, const QString &path)
{
    w.resize(1200, 900);
    w.show();
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    w.openProjectFile(path);
    return waitForPage(w, timer);
}

// The program on the project: its first page (0 - 5 m), then each next page
// to the end, then the first page again. Prints the wall time of opening,
// the peak and the current resident memory (KiB), the longest the window
// stood still during the page changes and the time of every page change (ms).
int childPages(const QString &path)
{
    QTemporaryDir settings;
    childSetUp(settings);
    MainWindow w;
    const double open = openShown(w, path);
    QElapsedTimer timer;
    QStringList changes;
    longestStallMs = 0.0;
    for (int page = 1; page < kPickMetres / 5; ++page) {
        timer.start();
        w.handleNextImages();
        changes << QString::number(waitForPage(w, timer), 'f', 1);
    }
    w.fileInfoWidget()->setStartValue(0);
    w.fileInfoWidget()->setEndValue(5);
    timer.start();
    w.handleGoPressed();
    changes << QString::number(waitForPage(w, timer), 'f', 1);
    QTextStream(stdout) << qint64(open) << ' ' << BenchChild::statusKb("VmHWM") << ' '
                        << BenchChild::statusKb("VmRSS") << ' ' << QString::number(longestStallMs, 'f', 1) << ' '
                        << changes.join(QLatin1Char(' ')) << '\n';
    return 0;
}

// The program reads a page plain, then 10 pages with dynamic normalisation,
// then the first page again with it switched off. Prints the resident memory
// (KiB) after the plain page, after the normalised pages, and 1 s and
// kIdleMs + 2 s after normalisation was switched off.
int childNormalisation(const QString &path)
{
    QTemporaryDir settings;
    childSetUp(settings);
    MainWindow w;
    openShown(w, path);
    QElapsedTimer timer;
    timer.start();
    const long before = BenchChild::statusKb("VmRSS");
    WallContrast on;
    on.dynamicNormalisation = true;
    w.contrastController()->setContrast(on);
    for (int page = 0; page < 10; ++page) {
        w.fileInfoWidget()->setStartValue(4 * page);
        w.fileInfoWidget()->setEndValue(4 * page + 4);
        w.handleGoPressed();
        waitForPage(w, timer);
    }
    const long normalised = BenchChild::statusKb("VmRSS");
    w.contrastController()->setContrast(WallContrast());
    w.fileInfoWidget()->setStartValue(0);
    w.fileInfoWidget()->setEndValue(4);
    w.handleGoPressed();
    waitForPage(w, timer);
    QElapsedTimer off;
    off.start();
    while (off.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const long soon = BenchChild::statusKb("VmRSS");
    while (off.elapsed() < 1000 + LargeImage::kIdleMs + 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QTextStream(stdout) << 0 << ' ' << BenchChild::statusKb("VmHWM") << ' ' << before << ' ' << normalised << ' '
                        << soon << ' ' << BenchChild::statusKb("VmRSS") << '\n';
    return 0;
}

QVector<double> fieldsFrom(const BenchChild::Result &r, int first)
{
    QVector<double> values;
    for (int i = first; i < r.fields.size(); ++i)
        values << r.fields.at(i).toDouble();
    return values;
}

} // namespace

void BenchStructures::hundredThousandPicks()
{
    // Three copies of one 40 m project: without picks, with 100 000 spread
    // over it, and with 100 000 on its first page (0 - 5 m).
    const QString none = m_dir.filePath(QStringLiteral("nopicks.prj"));
    QVERIFY(SampleFixture::make(none, {QStringLiteral("--to"), QString::number(kPickMetres), QStringLiteral("--diameter"),
                                       QStringLiteral("110")}));
    const QString spread = m_dir.filePath(QStringLiteral("spread.prj"));
    const QString onePage = m_dir.filePath(QStringLiteral("onepage.prj"));
    QVERIFY(QFile::copy(none, spread) && QFile::copy(none, onePage));
    QVERIFY(plantPicks(spread, kPicks, 0, kPickMetres));
    QVERIFY(plantPicks(onePage, kPicks, 0, 5));

    constexpr int kRuns = 3;
    QVector<double> peak[3];
    const QString paths[3] = {none, spread, onePage};
    QVector<double> change[3];  // next pages
    QVector<double> first[3];   // back to the first page
    QVector<double> stall[3];   // longest the window stood still
    for (int run = 0; run < kRuns; ++run) {
        for (int i = 0; i < 3; ++i) {
            const BenchChild::Result r = BenchChild::run(QStringLiteral("--pages"), paths[i], 4);
            QVERIFY2(r.ok, qPrintable(paths[i]));
            peak[i] << r.peakKb / 1024.0;
            stall[i] << r.fields.value(3).toDouble();
            QVector<double> times = fieldsFrom(r, 4);
            QVERIFY(!times.isEmpty());
            first[i] << times.takeLast();
            change[i] += times;
        }
    }
    qInfo("40 m project, 5 m pages, %d runs each; page change = Next, first page = Go back to 0 - 5 m", kRuns);
    const char *names[3] = {"no picks", "100 000 picks spread over 40 m", "100 000 picks on the first page"};
    for (int i = 0; i < 3; ++i) {
        qInfo("%s: page change best %.0f ms, median %.0f ms; first page best %.0f ms, median %.0f ms; "
              "window stood still at most: best %.0f ms, median %.0f ms; peak memory best %.0f MiB, median %.0f MiB",
              names[i], best(change[i]), median(change[i]), best(first[i]), median(first[i]), best(stall[i]),
              median(stall[i]), best(peak[i]), median(peak[i]));
    }
    for (int i = 1; i < 3; ++i) {
        qInfo("%s, on top of no picks: page change median +%.0f ms, first page median +%.0f ms, peak memory "
              "median +%.0f MiB (targets <= 300 ms, <= 150 MiB)",
              names[i], median(change[i]) - median(change[0]), median(first[i]) - median(first[0]),
              median(peak[i]) - median(peak[0]));
    }
}

void BenchStructures::memoryAfterNormalisation()
{
    QVector<double> before, normalised, soon, after;
    for (int run = 0; run < 3; ++run) {
        const BenchChild::Result r = BenchChild::run(QStringLiteral("--normalise"), m_project, 6);
        QVERIFY(r.ok);
        before << r.fields.at(2).toDouble() / 1024.0;
        normalised << r.fields.at(3).toDouble() / 1024.0;
        soon << r.fields.at(4).toDouble() / 1024.0;
        after << r.fields.at(5).toDouble() / 1024.0;
    }
    qInfo("resident memory, %d m project of 1024 px pieces: plain page best %.0f MiB, median %.0f MiB; after 10 "
          "normalised pages median %.0f MiB; normalisation off, 1 s later median %.0f MiB, %.1f s later best %.0f "
          "MiB, median %.0f MiB; above the plain page: best %+.0f MiB, median %+.0f MiB (target <= +50 MiB)",
          kMetres, best(before), median(before), median(normalised), median(soon),
          (1000 + LargeImage::kIdleMs + 2000) / 1000.0, best(after), median(after),
          best(after) - best(before), median(after) - median(before));
}

int main(int argc, char **argv)
{
    if (argc == 3 && (qstrcmp(argv[1], "--pages") == 0 || qstrcmp(argv[1], "--normalise") == 0)) {
        qInstallMessageHandler(BenchChild::dropMessages);
        QApplication app(argc, argv);
        const QString path = QString::fromLocal8Bit(argv[2]);
        return qstrcmp(argv[1], "--pages") == 0 ? childPages(path) : childNormalisation(path);
    }
    QApplication app(argc, argv);
    BenchStructures bench;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&bench, argc, argv);
}

#include "bench_structures.moc"
