// Benchmark: PDF export of 100 m of a sample project, 2 columns, 1 m steps.
// Prints the wall time of the export (as the program runs it) against
// the floor of decoding every block and painting it once at the size the
// PDF embeds it (best and median of several runs), and the peak memory of
// an export of 20 m and of 100 m, each in a fresh process. Then a word
// report of 20 m: the time of Qt's document writer (an .odt) and of the
// LibreOffice conversion to .doc, apart.
// Run by hand: QT_QPA_PLATFORM=offscreen build/bin/bench_report_pdfexport

#include <QApplication>
#include <cstdlib>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include "benchchild.h"
#include "projectinfo.h"
#include "qreportbuilder.h"
#include "qreportpdf.h"
#include "qreportword.h"
#include "qword.h"
#include "samplefixture.h"

namespace {

constexpr int kMetres = 100;

QString makeProject(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("bench.prj"));
    if (!SampleFixture::make(path, {QStringLiteral("--to"), QString::number(kMetres), QStringLiteral("--width"),
                                    QStringLiteral("1024"), QStringLiteral("--diameter"), QStringLiteral("110")}))
        return QString();
    return path;
}

bool exportPdf(const QString &project, int metres, const QString &out, QReportPDF **kept = nullptr)
{
    BenchChild::loadRecord(project);
    auto *builder = new QReportPDF(ReportJob(project, 0.0f, float(metres), 1));
    builder->setFileName(out);
    builder->generate();
    const bool ok = builder->succeeded();
    if (kept)
        *kept = builder;
    else
        delete builder;
    return ok;
}

// Child mode: one export in a fresh process; prints the peak before and after.
int runChild(int metres, const QString &project)
{
    QTemporaryDir out;
    BenchChild::loadRecord(project);
    const long before = BenchChild::statusKb("VmHWM");
    const bool ok = exportPdf(project, metres, out.filePath(QStringLiteral("r.pdf")));
    printf("%ld %ld\n", before, BenchChild::statusKb("VmHWM"));
    return ok ? 0 : 1;
}

} // namespace

class BenchPdfExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void wallTimeAgainstFloor();
    void peakMemory();
    void wordReportTimes();

private:
    QTemporaryDir m_dir;
    QString m_project;
};

void BenchPdfExport::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_project = makeProject(m_dir);
    QVERIFY(!m_project.isEmpty());
}

void BenchPdfExport::wallTimeAgainstFloor()
{
    constexpr int kRuns = 3;
    QList<qint64> walls;
    QList<qint64> floors;
    int blocks = 0;
    QSize blockSize;
    QSize wallSize;
    for (int run = 0; run < kRuns; ++run) {
        QTemporaryDir out;
        QReportPDF *builder = nullptr;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(exportPdf(m_project, kMetres, out.filePath(QStringLiteral("r.pdf")), &builder));
        walls << timer.elapsed();
        blocks = builder->imageCount();
        blockSize = QSize(builder->imageWidth() + builder->scaleBand(), builder->imageHeight() + 20);
        wallSize = QSize(builder->imageWidth(), builder->imageHeight());
        delete builder;
    }

    // Floor: decode every stored block and paint it once into an image of
    // the size the PDF embeds.
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        int decoded = 0;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("floor"));
            db.setDatabaseName(m_project);
            QVERIFY(db.open());
            QSqlQuery q(db);
            q.setForwardOnly(true);
            QVERIFY(q.exec(QStringLiteral("select id, data from bigImages where id > 0 and id <= %1").arg(kMetres * 10000)));
            while (q.next()) {
                QImage piece;
                piece.loadFromData(q.value(1).toByteArray());
                QImage block(blockSize, QImage::Format_RGB32);
                block.fill(Qt::white);
                QPainter painter(&block);
                painter.drawImage(QRect(QPoint(blockSize.width() - wallSize.width(), 20), wallSize), piece);
                ++decoded;
            }
            q.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("floor"));
        floors << qMax<qint64>(1, timer.elapsed());
        QCOMPARE(decoded, blocks);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(floors.begin(), floors.end());
    const qint64 wallBest = walls.first(), wallMedian = walls.at(kRuns / 2);
    const qint64 floorBest = floors.first(), floorMedian = floors.at(kRuns / 2);
    qInfo("PDF export of %d m, 2 columns, 1 m steps: %d blocks of %dx%d px, %d runs", kMetres, blocks,
          blockSize.width(), blockSize.height(), kRuns);
    qInfo("  wall time best %lld ms, median %lld ms; floor best %lld ms, median %lld ms", wallBest, wallMedian,
          floorBest, floorMedian);
    qInfo("  ratio best/best %.2f, median/median %.2f (target 1.20), the program's own pace included",
          double(wallBest) / floorBest, double(wallMedian) / floorMedian);
}

void BenchPdfExport::wordReportTimes()
{
    const QString office = QWord::officeProgram();
    if (office.isEmpty())
        QSKIP("LibreOffice Writer (soffice) not installed");
    constexpr int kWordMetres = 20;
    QTemporaryDir out;
    BenchChild::loadRecord(m_project);

    // Qt's writer: the document built and written as OpenDocument text.
    const QString odt = out.filePath(QStringLiteral("r.odt"));
    QElapsedTimer timer;
    timer.start();
    {
        ReportJob job(m_project, 0.0f, float(kWordMetres), 0);
        job.parameter.setWithHeader(true);
        QReportWord builder(job);
        builder.setFileName(odt);
        builder.generate();
        QVERIFY2(builder.succeeded(), qPrintable(builder.errorText()));
    }
    const qint64 writer = timer.elapsed();

    // LibreOffice: the same document converted to .doc, as the report does.
    timer.restart();
    QProcess convert;
    convert.start(office, {QStringLiteral("-env:UserInstallation=")
                               + QUrl::fromLocalFile(out.filePath(QStringLiteral("profile"))).toString(),
                           QStringLiteral("--headless"), QStringLiteral("--norestore"),
                           QStringLiteral("--convert-to"), QStringLiteral("doc:MS Word 97"),
                           QStringLiteral("--outdir"), out.filePath(QStringLiteral("doc")), odt});
    QVERIFY(convert.waitForFinished(600000));
    const qint64 conversion = timer.elapsed();
    QVERIFY(QFile::exists(out.filePath(QStringLiteral("doc/r.doc"))));
    qInfo("Word report of %d m, 2 columns, 1 m steps, header: Qt's writer %lld ms, LibreOffice conversion to "
          ".doc %lld ms (the first run of LibreOffice with a new profile)",
          kWordMetres, writer, conversion);
}

void BenchPdfExport::peakMemory()
{
    long increase[2] = {0, 0};
    const int ranges[2] = {20, kMetres};
    for (int i = 0; i < 2; ++i) {
        // The child prints the peak before and after the export.
        const BenchChild::Result child = BenchChild::run(QStringLiteral("--peak-%1").arg(ranges[i]), m_project);
        QVERIFY(child.ok);
        const long before = child.fields.at(0).toLong();
        const long after = child.fields.at(1).toLong();
        increase[i] = after - before;
        qInfo("  export of %3d m: peak %ld KiB (%ld KiB above the process before the export)", ranges[i], after,
              increase[i]);
    }
    qInfo("  peak growth 100 m vs 20 m: %ld KiB", increase[1] - increase[0]);
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc == 3 && qstrncmp(argv[1], "--peak-", 7) == 0)
        return runChild(std::atoi(argv[1] + 7), QString::fromLocal8Bit(argv[2]));
    BenchPdfExport bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "bench_report_pdfexport.moc"
