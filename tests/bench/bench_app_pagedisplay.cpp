// Benchmark: how long the main window takes to read and place a long page
// (no pause between pieces), against the floor of decoding the same pieces.
// Run by hand: QT_QPA_PLATFORM=offscreen build/bin/bench_app_pagedisplay

#include <QElapsedTimer>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include "fileinfowidget.h"
#include "globals.h"
#include "graphicsscene.h"
#include "mainwindow.h"
#include "readbigimagethread.h"
#include "samplefixture.h"

class BenchPageDisplay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void decodeFloor();
    void readAndPlacePage();

private:
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
    QString m_project;
    static constexpr int kMetres = 40;
};

void BenchPageDisplay::initTestCase()
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

void BenchPageDisplay::decodeFloor()
{
    QElapsedTimer timer;
    timer.start();
    int pieces = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("floor"));
        db.setDatabaseName(m_project);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("select id, data from bigImages")));
        while (q.next()) {
            const QImage image = ReadBigImageThread::decodeImage(q.value(1).toByteArray());
            QVERIFY(!image.isNull());
            ++pieces;
        }
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("floor"));
    const qint64 ms = timer.elapsed();
    qInfo("decode only: %d pieces in %lld ms (%.1f ms per piece)", pieces, ms, double(ms) / pieces);
}

void BenchPageDisplay::readAndPlacePage()
{
    MainWindow w;
    w.openProjectFile(m_project);
    QTRY_VERIFY_WITH_TIMEOUT(!readingInProgress, 120000);

    w.fileInfoWidget()->setStartValue(0);
    w.fileInfoWidget()->setEndValue(kMetres);
    QElapsedTimer timer;
    timer.start();
    w.handleGoPressed();
    QTRY_VERIFY_WITH_TIMEOUT(!readingInProgress, 300000);
    const qint64 ms = timer.elapsed();
    const int pieces = w.scene()->items().size() - 2; // without the two scales
    QCOMPARE(pieces, kMetres);
    qInfo("read and place: %d pieces (%d x %d scene px) in %lld ms (%.1f ms per piece)", pieces,
          int(w.scene()->sceneRect().width()), int(w.scene()->sceneRect().height()), ms,
          double(ms) / pieces);
}

QTEST_MAIN(BenchPageDisplay)
#include "bench_app_pagedisplay.moc"
