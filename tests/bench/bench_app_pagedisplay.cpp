// Benchmark: how long the main window takes to read and place a page, against
// the floor of decoding the same pieces:
// - a 5 m page of a 30 m demo project (1 m pieces), asked for with Go;
// - opening a project until its first page is on screen (the 30 m demo and
//   a project of 2 000 pieces);
// - a long page of 40 pieces.
// Each figure is the best and the median of several runs.
// Run by hand: QT_QPA_PLATFORM=offscreen build/bin/bench_app_pagedisplay

#include <QElapsedTimer>
#include <QEventLoop>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>

#include "benchchild.h"
#include "fileinfowidget.h"
#include "globals.h"
#include "graphicsscene.h"
#include "mainwindow.h"
#include "readbigimagethread.h"
#include "samplefixture.h"

using BenchChild::best;
using BenchChild::median;

namespace {

// Runs the event loop until the page read has ended; milliseconds since
// timer started, looked at every millisecond.
double untilReadEnds(const QElapsedTimer &timer)
{
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&loop] {
        if (!readingInProgress)
            loop.quit();
    });
    poll.start();
    if (readingInProgress)
        loop.exec();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

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
    // Decoding the pieces with ids in (from, to], milliseconds.
    double decodeMs(const QString &path, int from, int to, int *pieces = nullptr);

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
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type != QtDebugMsg)
            fprintf(stderr, "%s\n", qPrintable(text));
    });
    m_project = m_dir.filePath(QStringLiteral("bench.prj"));
    QVERIFY(SampleFixture::make(m_project, {QStringLiteral("--to"), QString::number(kMetres),
                                            QStringLiteral("--width"), QStringLiteral("1024"),
                                            QStringLiteral("--diameter"), QStringLiteral("110")}));
    m_demo = m_dir.filePath(QStringLiteral("demo.prj"));
    QVERIFY(SampleFixture::make(m_demo, {QStringLiteral("--to"), QStringLiteral("30")}));
}

double BenchPageDisplay::decodeMs(const QString &path, int from, int to, int *pieces)
{
    QElapsedTimer timer;
    qint64 ns = 0;
    int decoded = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("floor"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        q.prepare(QStringLiteral("select id, data from bigImages where id > ? and id <= ?"));
        q.addBindValue(from);
        q.addBindValue(to);
        q.exec();
        timer.start();
        while (q.next()) {
            const QImage image = ReadBigImageThread::decodeImage(q.value(1).toByteArray());
            if (!image.isNull())
                ++decoded;
        }
        ns = timer.nsecsElapsed();
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("floor"));
    if (pieces)
        *pieces = decoded;
    return ns / 1e6;
}

void BenchPageDisplay::fiveMetrePage()
{
    MainWindow w;
    w.openProjectFile(m_demo);
    QTRY_VERIFY_WITH_TIMEOUT(!readingInProgress, 120000);
    QVector<double> page;
    QVector<double> floor;
    for (int round = 0; round < kRounds; ++round) {
        // Pages 5 - 10 m and 10 - 15 m in turn: a new page each time.
        const int start = 5 + 5 * (round % 2);
        w.fileInfoWidget()->setStartValue(start);
        w.fileInfoWidget()->setEndValue(start + 5);
        QElapsedTimer timer;
        timer.start();
        w.handleGoPressed();
        page << untilReadEnds(timer);
        QCOMPARE(int(w.scene()->items().size()) - 2, 5);
        floor << decodeMs(m_demo, start * 10000, (start + 5) * 10000);
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
    QTest::newRow("demo 30 m") << QStringList{QStringLiteral("--to"), QStringLiteral("30")};
    QTest::newRow("2000 pieces") << QStringList{QStringLiteral("--to"), QStringLiteral("200"),
                                                QStringLiteral("--piece"), QStringLiteral("0.1")};
}

void BenchPageDisplay::openProjectFirstPage()
{
    QFETCH(QStringList, args);
    const QString path = m_dir.filePath(QStringLiteral("open-%1.prj").arg(QTest::currentDataTag()).replace(' ', '-'));
    if (!QFile::exists(path))
        QVERIFY(SampleFixture::make(path, args));
    QVector<double> open;
    for (int round = 0; round < kRounds; ++round) {
        MainWindow w;
        QElapsedTimer timer;
        timer.start();
        w.openProjectFile(path);
        open << untilReadEnds(timer);
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

    QVector<double> page;
    for (int round = 0; round < 3; ++round) {
        w.fileInfoWidget()->setStartValue(0);
        w.fileInfoWidget()->setEndValue(kMetres);
        QElapsedTimer timer;
        timer.start();
        w.handleGoPressed();
        page << untilReadEnds(timer);
        QCOMPARE(int(w.scene()->items().size()) - 2, kMetres); // without the two scales
    }
    int pieces = 0;
    const double floor = decodeMs(m_project, 0, kMetres * 10000, &pieces);
    qInfo("read and place: %d pieces (%d x %d scene px) best %.0f ms, median %.0f ms (%.1f ms per piece); "
          "decoding them %.0f ms",
          pieces, int(w.scene()->sceneRect().width()), int(w.scene()->sceneRect().height()), best(page),
          median(page), best(page) / pieces, floor);
}

QTEST_MAIN(BenchPageDisplay)
#include "bench_app_pagedisplay.moc"
