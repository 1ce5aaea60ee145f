// Benchmark of the wall contrast and the structure plots:
// - a 40 m page read with dynamic normalisation on, against the plain read
//   of the same page, and the normalisation's own time per piece against the
//   decoding of a piece;
// - a stereonet of 10 000 picks: the first paint of new picks and a repaint.
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

#include "contrastcontroller.h"
#include "fileinfowidget.h"
#include "globals.h"
#include "graphicsscene.h"
#include "mainwindow.h"
#include "readbigimagethread.h"
#include "samplefixture.h"
#include "stereonetplot.h"

namespace {

double best(const QVector<double> &times)
{
    return *std::min_element(times.cbegin(), times.cend());
}

double median(QVector<double> times)
{
    std::sort(times.begin(), times.end());
    const int n = times.size();
    return n % 2 ? times.at(n / 2) : (times.at(n / 2 - 1) + times.at(n / 2)) / 2.0;
}

} // namespace

class BenchStructures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void normalisationWhileReading();
    void stereonetOfTenThousandPicks();

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
    ReadBigImageThread::setPieceDelay(0);
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

QTEST_MAIN(BenchStructures)
#include "bench_structures.moc"
