// Benchmark: PDF export of 100 m of a sample project, 2 columns, 1 m steps.
// Prints the wall time of the export (best and median of 3 runs) against
// the floor of decoding every block and painting it once at the size the
// PDF embeds it, and the peak memory of an export of 20 m and of 100 m, each
// in a fresh process; then a word report of 20 m: the time of Qt's document
// writer (an .odt) and of the LibreOffice conversion to .doc, apart.
// Run by hand: QT_QPA_PLATFORM=offscreen build/bin/bench_report_pdfexport

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include "benchchild.h"
#include "projectinfo.h"
#include "qreportbuilder.h"
#include "qreportpdf.h"
#include "qreportword.h"
#include "qword.h"
#include "samplefixture.h"

using namespace BenchChild;

namespace {

constexpr int kMetres = 100;
constexpr int kRuns = 3;

// Peak resident memory of this process, KiB.
long peakKiB()
{
    return statusKb("VmHWM");
}

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
    loadRecord(project);
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
    loadRecord(project);
    const long before = peakKiB();
    const bool ok = exportPdf(project, metres, out.filePath(QStringLiteral("r.pdf")));
    printf("%ld %ld\n", before, peakKiB());
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
    void floorRun(QSize blockSize, QSize wallSize, int blocks, QVector<double> *floors);

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
    QVector<double> walls, floors;
    QReportPDF *builder = nullptr;
    for (int run = 0; run < kRuns; ++run) {
        QTemporaryDir out;
        delete builder;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(exportPdf(m_project, kMetres, out.filePath(QStringLiteral("r.pdf")), &builder));
        walls << timer.elapsed();
    }
    const int blocks = builder->imageCount();
    const QSize wallSize(builder->imageWidth(), builder->imageHeight());
    const QSize blockSize = wallSize + QSize(builder->scaleBand(), 20);
    delete builder;
    for (int run = 0; run < kRuns; ++run)
        floorRun(blockSize, wallSize, blocks, &floors);
    qInfo("PDF export of %d m, 2 columns, 1 m steps: %d blocks of %dx%d px, %d runs", kMetres, blocks,
          blockSize.width(), blockSize.height(), kRuns);
    qInfo("  wall time best %.0f ms, median %.0f ms; floor best %.0f ms, median %.0f ms", best(walls), median(walls),
          best(floors), median(floors));
    qInfo("  ratio best/best %.2f, median/median %.2f (target 1.20), the program's own pace included",
          best(walls) / best(floors), median(walls) / median(floors));
}

void BenchPdfExport::floorRun(QSize blockSize, QSize wallSize, int blocks, QVector<double> *floors)
{
    // Floor: decode every stored block and paint it once into an image of
    // the size the PDF embeds.
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
    *floors << qMax<qint64>(1, timer.elapsed());
    QCOMPARE(decoded, blocks);
}

void BenchPdfExport::peakMemory()
{
    long increase[2] = {0, 0};
    const int ranges[2] = {20, kMetres};
    for (int i = 0; i < 2; ++i) {
        const QList<QByteArray> values = run(QStringLiteral("--peak-%1").arg(ranges[i]), m_project).fields;
        QCOMPARE(values.size(), 2);
        const long before = values.at(0).toLong();
        const long after = values.at(1).toLong();
        increase[i] = after - before;
        qInfo("  export of %3d m: peak %ld KiB (%ld KiB above the process before the export)", ranges[i], after,
              increase[i]);
    }
    qInfo("  peak growth 100 m vs 20 m: %ld KiB", increase[1] - increase[0]);
}

void BenchPdfExport::wordReportTimes()
{
    const QString office = QWord::officeProgram();
    if (office.isEmpty())
        QSKIP("LibreOffice Writer (soffice) not installed");
    QTemporaryDir out;
    loadRecord(m_project);
    // Qt's writer building the document as OpenDocument text, then
    // LibreOffice converting it to .doc, as the report does.
    const QString odt = out.filePath(QStringLiteral("r.odt"));
    QElapsedTimer timer;
    timer.start();
    {
        ReportJob job(m_project, 0.0f, 20.0f, 0);
        job.parameter.setWithHeader(true);
        QReportWord builder(job);
        builder.setFileName(odt);
        builder.generate();
        QVERIFY2(builder.succeeded(), qPrintable(builder.errorText()));
    }
    const qint64 writer = timer.restart();
    QProcess convert;
    convert.start(office, {"-env:UserInstallation=" + QUrl::fromLocalFile(out.filePath("profile")).toString(),
                           "--headless", "--norestore", "--convert-to", "doc:MS Word 97", "--outdir",
                           out.filePath("doc"), odt});
    QVERIFY(convert.waitForFinished(600000));
    const qint64 conversion = timer.elapsed();
    QVERIFY(QFile::exists(out.filePath(QStringLiteral("doc/r.doc"))));
    qInfo("Word report of 20 m, 2 columns, 1 m steps, header: Qt's writer %lld ms, LibreOffice conversion to "
          ".doc %lld ms (the first run of LibreOffice with a new profile)", writer, conversion);
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc == 3 && qstrncmp(argv[1], "--peak-", 7) == 0)
        return runChild(QByteArray(argv[1] + 7).toInt(), QString::fromLocal8Bit(argv[2]));
    BenchPdfExport bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "bench_report_pdfexport.moc"
