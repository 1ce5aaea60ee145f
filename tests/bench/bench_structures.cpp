// Benchmark of the wall contrast and the structure plots:
// - a 40 m page read with dynamic normalisation on, against the plain read
//   of the same page, and the normalisation's own time per piece against the
//   decoding of a piece;
// - a stereonet of 10 000 picks: the first paint of new picks and a repaint.
// In child processes, one per run: page changes with 100 000 picks in the file
// (spread over 40 m, or on one page) against none (time, longest stand-still,
// peak memory); resident memory after dynamic normalisation was switched off.
// Run by hand: QT_QPA_PLATFORM=offscreen build/bin/bench_structures

#include <algorithm>

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
#include "structurepickcontroller.h"

using namespace BenchChild;

namespace {

constexpr int kPicks = 100000;

// Writes kPicks picks of every type with random dips into the project at
// path, spread evenly over [fromMetre, toMetre); one in ten has a comment.
bool plantPicks(const QString &path, int fromMetre, int toMetre)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("plant"));
        db.setDatabaseName(path);
        if (db.open() && db.transaction()) {
            QSqlQuery q(db);
            ok = q.exec(QStringLiteral("CREATE TABLE structurePicks (id integer primary key, depth real, dip real, "
                                       "dipDirection real, amplitude real, type text, comment text)"))
                 && q.prepare(QStringLiteral("INSERT INTO structurePicks VALUES (NULL, ?, ?, ?, ?, ?, ?)"));
            QRandomGenerator random(11);
            const QStringList types = StructurePick::types();
            for (int i = 0; ok && i < kPicks; ++i) {
                const double dip = random.bounded(80.0);
                for (const QVariant &value : QVariantList{(fromMetre + (toMetre - fromMetre) * double(i) / kPicks) * 1e4,
                                                          dip, random.bounded(360.0), qTan(qDegreesToRadians(dip)) * 550,
                                                          types.at(i % types.size()),
                                                          i % 10 ? QString() : QStringLiteral("open, iron-stained")})
                    q.addBindValue(value);
                ok = q.exec();
            }
            ok = db.commit() && ok;
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("plant"));
    return ok;
}

// The longest the window did not answer (one turn of its event loop, or the
// call that asked for a page) since it was last reset; milliseconds.
double longestStallMs = 0.0;

// Milliseconds from ask() until the page is read and its picks are on it.
template <class Ask> double pageMs(MainWindow &w, Ask ask)
{
    QElapsedTimer timer;
    timer.start();
    ask();
    longestStallMs = std::max(longestStallMs, timer.nsecsElapsed() / 1e6);
    for (bool more = true; more;) {  // a last turn without waiting once all is there
        more = readingInProgress || w.structurePicks()->pagePicksPending();
        QElapsedTimer turn;
        turn.start();
        QCoreApplication::processEvents(more ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents, more ? 5 : 0);
        longestStallMs = std::max(longestStallMs, turn.nsecsElapsed() / 1e6);
    }
    return timer.nsecsElapsed() / 1e6;
}

QString goMs(MainWindow &w, int fromMetre, int toMetre)
{
    w.fileInfoWidget()->setStartValue(fromMetre);
    w.fileInfoWidget()->setEndValue(toMetre);
    return QString::number(pageMs(w, [&w] { w.handleGoPressed(); }), 'f', 1);
}

// Each next page (5 m) to the end of 40 m, then the first page again with Go:
// the time of every page change and the longest the window stood still (ms).
QStringList pageFigures(MainWindow &w)
{
    QStringList figures;
    longestStallMs = 0.0;
    for (int page = 1; page < 8; ++page)
        figures << QString::number(pageMs(w, [&w] { w.handleNextImages(); }), 'f', 1);
    return figures << goMs(w, 0, 5) << QString::number(longestStallMs, 'f', 1);
}

// After a plain page, 10 pages with dynamic normalisation, then the first
// page with it switched off: resident memory (KiB) after the plain page,
// after the normalised ones, and 1 s and kIdleMs + 2 s after switching off.
QStringList normalisationFigures(MainWindow &w)
{
    QStringList rss{QString::number(statusKb("VmRSS"))};
    WallContrast on;
    on.dynamicNormalisation = true;
    w.contrastController()->setContrast(on);
    for (int page = 0; page < 10; ++page)
        goMs(w, 4 * page, 4 * page + 4);
    rss << QString::number(statusKb("VmRSS"));
    w.contrastController()->setContrast(WallContrast());
    goMs(w, 0, 4);
    QElapsedTimer off;
    off.start();
    for (int ms : {1000, 1000 + LargeImage::kIdleMs + 2000}) {
        while (off.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        rss << QString::number(statusKb("VmRSS"));
    }
    return rss;
}

// A child run (--pages or --normalise on a project): prints the time to the
// first page, the peak resident memory (KiB) and the figures of the mode.
int child(int argc, char **argv)
{
    qInstallMessageHandler(dropMessages);
    QApplication app(argc, argv);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    FileInfoWidget::installAsNavigationPanel();
    MainWindow w;
    w.resize(1200, 900);
    w.show();
    QCoreApplication::processEvents();
    const qint64 open = pageMs(w, [&w, argv] { w.openProjectFile(QString::fromLocal8Bit(argv[2])); });
    const QStringList figures = qstrcmp(argv[1], "--pages") == 0 ? pageFigures(w) : normalisationFigures(w);
    std::printf("%lld %ld %s\n", open, statusKb("VmHWM"), qPrintable(figures.join(' ')));
    return 0;
}

} // namespace

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

void BenchStructures::hundredThousandPicks()
{
    // Three copies of one 40 m project: without picks, with 100 000 spread
    // over it, and with 100 000 on its first page (0 - 5 m).
    const QString paths[3] = {m_dir.filePath("none.prj"), m_dir.filePath("spread.prj"), m_dir.filePath("page.prj")};
    QVERIFY(SampleFixture::make(paths[0], {"--to", "40", "--diameter", "110"}));
    QVERIFY(QFile::copy(paths[0], paths[1]) && QFile::copy(paths[0], paths[2]));
    QVERIFY(plantPicks(paths[1], 0, 40) && plantPicks(paths[2], 0, 5));

    constexpr int kRuns = 3;
    // Next pages, back to the first page, the longest the window stood still, peak memory (MiB).
    QVector<double> change[3], first[3], stall[3], peak[3];
    for (int run = 0; run < kRuns; ++run) {
        for (int i = 0; i < 3; ++i) {
            const Result r = BenchChild::run(QStringLiteral("--pages"), paths[i], 4);
            QVERIFY2(r.ok, qPrintable(paths[i]));
            peak[i] << r.peakKb / 1024.0;
            for (int f = 2; f + 2 < r.fields.size(); ++f)
                change[i] << r.fields.at(f).toDouble();
            first[i] << r.fields.at(r.fields.size() - 2).toDouble();
            stall[i] << r.fields.last().toDouble();
        }
    }
    qInfo("40 m project, 5 m pages, %d runs each; page change = Next, first page = Go back to 0 - 5 m", kRuns);
    const char *names[3] = {"no picks", "100 000 picks spread over 40 m", "100 000 picks on the first page"};
    for (int i = 0; i < 3; ++i) {
        qInfo("%s: page change best %.0f ms, median %.0f ms; first page best %.0f ms, median %.0f ms; "
              "window stood still at most: best %.0f ms, median %.0f ms; peak memory best %.0f MiB, median %.0f MiB",
              names[i], best(change[i]), median(change[i]), best(first[i]), median(first[i]), best(stall[i]),
              median(stall[i]), best(peak[i]), median(peak[i]));
        if (i > 0)
            qInfo("%s, on top of no picks: page change median +%.0f ms, first page median +%.0f ms, peak "
                  "memory median +%.0f MiB (targets <= 300 ms, <= 150 MiB)",
                  names[i], median(change[i]) - median(change[0]), median(first[i]) - median(first[0]),
                  median(peak[i]) - median(peak[0]));
    }
}

void BenchStructures::memoryAfterNormalisation()
{
    QVector<double> rss[4];  // MiB: plain page, 10 normalised pages, 1 s and later after switching off
    for (int run = 0; run < 3; ++run) {
        const Result r = BenchChild::run(QStringLiteral("--normalise"), m_project, 6);
        QVERIFY(r.ok);
        for (int i = 0; i < 4; ++i)
            rss[i] << r.fields.at(i + 2).toDouble() / 1024.0;
    }
    qInfo("resident memory, %d m project of 1024 px pieces: plain page best %.0f MiB, median %.0f MiB; after 10 "
          "normalised pages median %.0f MiB; normalisation off, 1 s later median %.0f MiB, %.1f s later best %.0f "
          "MiB, median %.0f MiB; above the plain page: best %+.0f MiB, median %+.0f MiB (target <= +50 MiB)",
          kMetres, best(rss[0]), median(rss[0]), median(rss[1]), median(rss[2]),
          (1000 + LargeImage::kIdleMs + 2000) / 1000.0, best(rss[3]), median(rss[3]),
          best(rss[3]) - best(rss[0]), median(rss[3]) - median(rss[0]));
}

int main(int argc, char **argv)
{
    if (argc == 3 && (qstrcmp(argv[1], "--pages") == 0 || qstrcmp(argv[1], "--normalise") == 0))
        return child(argc, argv);
    QApplication app(argc, argv);
    BenchStructures bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "bench_structures.moc"
