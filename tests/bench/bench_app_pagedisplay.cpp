// Benchmark: how long the main window takes to read and place a long page
// of 40 pieces, a 5 m page of a 30 m demo project, and the first page of a
// project it opens (the demo, 2 000 pieces), against the floor of decoding
// the same pieces; best and median of several runs.
// Run by hand: QT_QPA_PLATFORM=offscreen build/bin/bench_app_pagedisplay

#include <QElapsedTimer>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include "benchchild.h"
#include "fileinfowidget.h"
#include "globals.h"
#include "graphicsscene.h"
#include "mainwindow.h"
#include "readbigimagethread.h"
#include "samplefixture.h"

using namespace BenchChild;

// Milliseconds from start() until the page read it began has ended.
template <class Start> static double readMs(Start start)
{
    QElapsedTimer timer;
    timer.start();
    start();
    while (readingInProgress)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return timer.nsecsElapsed() / 1e6;
}

static double goMs(MainWindow &w, int fromMetre, int toMetre)
{
    w.fileInfoWidget()->setStartValue(fromMetre);
    w.fileInfoWidget()->setEndValue(toMetre);
    return readMs([&w] { w.handleGoPressed(); });
}

class BenchPageDisplay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fiveMetrePage();
    void openProjectFirstPage_data();
    void openProjectFirstPage();
    void readAndPlacePage();

private:
    void decodeFloor(const QString &path, int from, int to, QVector<double> *times);

    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
    QString m_project;
    QString m_demo;
    static constexpr int kMetres = 40;
    static constexpr int kRounds = 7;
};

void BenchPageDisplay::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    QVERIFY(m_dir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    FileInfoWidget::installAsNavigationPanel();
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    m_project = m_dir.filePath(QStringLiteral("bench.prj"));
    QVERIFY(SampleFixture::make(m_project, {QStringLiteral("--to"), QString::number(kMetres),
                                            QStringLiteral("--width"), QStringLiteral("1024"),
                                            QStringLiteral("--diameter"), QStringLiteral("110")}));
    m_demo = m_dir.filePath(QStringLiteral("demo.prj"));
    QVERIFY(SampleFixture::make(m_demo, {"--to", "30"}));
}

// The floor: decoding the pieces of path with ids in (from, to]; adds the
// milliseconds to times.
void BenchPageDisplay::decodeFloor(const QString &path, int from, int to, QVector<double> *times)
{
    QElapsedTimer timer;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("floor"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("select id, data from bigImages where id > %1 and id <= %2").arg(from).arg(to)));
        timer.start();
        while (q.next()) {
            const QImage image = ReadBigImageThread::decodeImage(q.value(1).toByteArray());
            QVERIFY(!image.isNull());
        }
        *times << timer.nsecsElapsed() / 1e6;
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("floor"));
}

void BenchPageDisplay::fiveMetrePage()
{
    MainWindow w;
    w.openProjectFile(m_demo);
    QTRY_VERIFY_WITH_TIMEOUT(!readingInProgress, 120000);
    QVector<double> page, floor;
    for (int round = 0; round < kRounds; ++round) {
        const int start = 5 + 5 * (round % 2);  // 5 - 10 m and 10 - 15 m in turn: a new page each time
        page << goMs(w, start, start + 5);
        QCOMPARE(int(w.scene()->items().size()) - 2, 5);
        decodeFloor(m_demo, start * 10000, (start + 5) * 10000, &floor);
    }
    qInfo("5 m page (5 pieces of 1 m, demo 30 m): on screen best %.1f ms, median %.1f ms; decoding its "
          "pieces best %.1f ms, median %.1f ms; ratio of the best %.2f, of the medians %.2f "
          "(target <= 1.5 x + 300 ms: %.0f ms)",
          best(page), median(page), best(floor), median(floor), best(page) / best(floor),
          median(page) / median(floor), 1.5 * median(floor) + 300.0);
}

void BenchPageDisplay::openProjectFirstPage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("demo 30 m") << QStringList{"--to", "30"};
    QTest::newRow("2000 pieces") << QStringList{"--to", "200", "--piece", "0.1"};
}

void BenchPageDisplay::openProjectFirstPage()
{
    QFETCH(QStringList, args);
    const QString path = m_dir.filePath(QTest::currentDataTag() + QStringLiteral(".prj"));
    QVERIFY(SampleFixture::make(path, args));
    QVector<double> open;
    for (int round = 0; round < kRounds; ++round) {
        MainWindow w;
        open << readMs([&] { w.openProjectFile(path); });
        QVERIFY(w.scene()->items().size() > 2);
    }
    qInfo("open project (%s) -> first page on screen: best %.1f ms, median %.1f ms (target <= 500 ms)",
          QTest::currentDataTag(), best(open), median(open));
}

void BenchPageDisplay::readAndPlacePage()
{
    MainWindow w;
    w.openProjectFile(m_project);
    QTRY_VERIFY_WITH_TIMEOUT(!readingInProgress, 120000);

    QVector<double> page, floor;
    for (int round = 0; round < 3; ++round) {
        page << goMs(w, 0, kMetres);
        QCOMPARE(int(w.scene()->items().size()) - 2, kMetres); // without the two scales
    }
    decodeFloor(m_project, 0, kMetres * 10000, &floor);
    qInfo("read and place: %d pieces (%d x %d scene px) best %.0f ms, median %.0f ms (%.1f ms per piece); "
          "decoding them %.0f ms", kMetres, int(w.scene()->sceneRect().width()), int(w.scene()->sceneRect().height()),
          best(page), median(page), best(page) / kMetres, floor.first());
}

QTEST_MAIN(BenchPageDisplay)
#include "bench_app_pagedisplay.moc"
