// Benchmark of the wall contrast and the structure plots:
// - a 40 m page read with dynamic normalisation on, against the plain read
//   of the same page, and the normalisation's own time per piece against the
//   decoding of a piece;
// - a stereonet of 10 000 picks redrawn.
// Run by hand: QT_QPA_PLATFORM=offscreen build/bin/bench_structures

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

    // Best of three each way: the machine is shared.
    double plain = 1e18;
    double normalised = 1e18;
    WallContrast on;
    on.dynamicNormalisation = true;
    for (int round = 0; round < 3; ++round) {
        w.contrastController()->setContrast(WallContrast());
        plain = std::min(plain, readPageMs(w));
        w.contrastController()->setContrast(on);
        normalised = std::min(normalised, readPageMs(w));
    }
    const QList<QGraphicsPixmapItem *> pieces = w.contrastController()->pieces();
    QCOMPARE(pieces.size(), kMetres);
    qInfo("page of %d m, %d pieces of %d x %d px, window %d rows (0.5 m)", kMetres,
          int(pieces.size()), pieces.first()->pixmap().width(), pieces.first()->pixmap().height(),
          w.contrastController()->windowRows());
    qInfo("page read plain: %.0f ms (%.1f ms per piece); with dynamic normalisation: %.0f ms "
          "(%.1f ms per piece); ratio %.2f (target <= 1.3)",
          plain, plain / kMetres, normalised, normalised / kMetres, normalised / plain);

    // The normalisation alone, piece by piece as they arrive, against decoding.
    QVector<QImage> originals;
    for (QGraphicsPixmapItem *item : pieces)
        originals << ContrastController::originalOf(item);
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
    const double perPiece = double(timer.elapsed()) / originals.size();
    const double decode = decodeMsPerPiece();
    qInfo("normalisation as pieces arrive: %.1f ms per piece; decoding: %.1f ms per piece; "
          "decode + normalisation against decode: %.2f",
          perPiece, decode, (decode + perPiece) / decode);
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
        // The first paint of new picks, then repaints of the same picks.
        double first = 1e18;
        double best = 1e18;
        for (int round = 0; round < 3; ++round) {
            plot.setPicks(picks);
            for (int paint = 0; paint < 2; ++paint) {
                QElapsedTimer timer;
                timer.start();
                QPainter painter(&image);
                plot.paintPlot(&painter, QRectF(0, 0, 800, 800));
                painter.end();
                const double ms = timer.nsecsElapsed() / 1e6;
                (paint == 0 ? first : best) = std::min(paint == 0 ? first : best, ms);
            }
        }
        qInfo("stereonet of %d picks%s, 800 x 800: first paint %.1f ms, repaint %.1f ms (target < 100 ms)",
              int(picks.size()), circles ? " with great circles" : "", first, best);
    }
}

QTEST_MAIN(BenchStructures)
#include "bench_structures.moc"
