// The report builder and its PDF and preview outputs, run on real sample
// projects: blocks and pages, column positions, where headers go, what a
// short last block looks like, the generated PDF as poppler sees it, the
// replacement of an existing report, layouts that cannot be made, a preview
// that ends and leaves no temporary files, and a deep hole.

#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>

#include "creportparameter.h"
#include "partfile.h"
#include "projectinfo.h"
#include "qreportpdf.h"
#include "qreportpreview.h"
#include "reportleftovers.h"
#include "reporttestsupport.h"
#include "../project/projecttesthelpers.h"
#include "samplefixture.h"
#include "structurepickstore.h"
#include "structurespage.h"

namespace {

// Records the hooks the outputs get, in order.
class RecordingBuilder : public QReportBuilder
{
public:
    RecordingBuilder(const QString &db, float from, float to, int columns, float step, bool header,
                     float offset = 0.0f)
        : QReportBuilder(ReportTest::job(db, from, to, 1, columns, step, header, false, offset))
    {
    }
    void placeBlock(const QImage &block) override
    {
        events << QStringLiteral("block");
        positions << QPoint(layout().posX(), layout().posY());
        lastBlock = block;
        firstLabels << depthLabels(2).join(QLatin1Char(' '));
        QReportBuilder::placeBlock(block);
    }
    void drawHeader() override
    {
        events << QStringLiteral("header");
        m_nHeaderHeight = 100;
        layout().setPosY(100);
    }
    void newPage() override { events << QStringLiteral("page"); }

    QStringList events;
    QList<QPoint> positions;
    QImage lastBlock;
    QStringList firstLabels; // first two depth labels of each block
};

// Stores picks in a project that has none.
bool addPicksOnce(const QString &path, QVector<StructurePick> picks)
{
    StructurePickStore store(path);
    bool stored = true;
    if (store.allPicks().isEmpty())
        for (StructurePick &pick : picks)
            stored = stored && store.add(&pick);
    return stored;
}

bool isWhite(const QColor &c)
{
    return c.red() > 245 && c.green() > 245 && c.blue() > 245;
}

} // namespace

using namespace ReportTest;

class TestReportBuilder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void stepUnits_data();
    void stepUnits();
    void blocksAndPages_data();
    void blocksAndPages();
    void depthLabelsFollowThePicture_data();
    void depthLabelsFollowThePicture();
    void fourColumnPositions();
    void headerOnlyAtPageTop();
    void layoutThatCannotBeMade();
    void generatedPdf_data();
    void generatedPdf();
    void existingReportReplacedOnlyWhenComplete_data();
    void existingReportReplacedOnlyWhenComplete();
    void leftoversOfAKilledExportRemoved();
    void previewEnds_data();
    void previewEnds();
    void deepHole();
    void blocksShowTheFilteredPicture();
    void structuresPage_data();
    void structuresPage();
    void frequencyTrack_data();
    void frequencyTrack();

private:
    // Makes the sample project once and opens it in the project record.
    QString loaded(const QString &name, const QStringList &args);
    QString shortProject() { return loaded(QStringLiteral("short"), {QStringLiteral("--to"), QStringLiteral("2.5")}); }
    QString tenMetres() { return loaded(QStringLiteral("ten"), {QStringLiteral("--to"), QStringLiteral("10")}); }

    QTemporaryDir m_dir;
    QHash<QString, QString> m_projects;
};

void TestReportBuilder::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QReportBuilder::setBlockPause(0);
}

QString TestReportBuilder::loaded(const QString &name, const QStringList &args)
{
    if (!m_projects.contains(name)) {
        const QString path = m_dir.filePath(name + QStringLiteral(".prj"));
        if (!SampleFixture::make(path, args))
            return QString();
        m_projects.insert(name, path);
    }
    const QString path = m_projects.value(name);
    ProjectInfo::instance()->reset();
    ProjectInfo::instance()->setDatabase(path);
    ProjectInfo::instance()->loadProjectInfo();
    return path;
}

void TestReportBuilder::stepUnits_data()
{
    QTest::addColumn<float>("step");
    QTest::addColumn<int>("units");
    QTest::newRow("1 m") << 1.0f << 10000;
    QTest::newRow("0.237 m to the nearer centimetre") << 0.237f << 2400;
    QTest::newRow("0.125 m, a tie, goes down") << 0.125f << 1200;
}

void TestReportBuilder::stepUnits()
{
    QFETCH(float, step);
    QFETCH(int, units);
    QCOMPARE(QReportBuilder::stepUnits(step), units);
}

void TestReportBuilder::blocksAndPages_data()
{
    // One block per column and page on the default page with this project.
    QTest::addColumn<float>("step");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<double>("lastFraction"); // its picture height / a full block's
    QTest::newRow("blocks of 1 m, data ends at 2.5 m") << 1.0f << 3 << 0.5;
    QTest::newRow("blocks of 1.2 m") << 1.2f << 3 << 1000.0 / 12000.0;
}

void TestReportBuilder::blocksAndPages()
{
    QFETCH(float, step);
    QFETCH(int, blocks);
    QFETCH(double, lastFraction);
    const QString path = shortProject();
    QVERIFY(!path.isEmpty());
    RecordingBuilder builder(path, 0.0f, 2.5f, 1, step, false);
    builder.generate();
    QVERIFY2(builder.succeeded(), qPrintable(builder.errorText()));
    QCOMPARE(builder.imageCount(), blocks);
    QCOMPARE(builder.imagesPerColumn(), 1);
    // One page per block, and no empty page after the last one.
    QCOMPARE(builder.events.count(QStringLiteral("page")), blocks - 1);
    QCOMPARE(builder.events.last(), QStringLiteral("block"));

    // The short last block: its picture covers only its share of the area.
    const QImage block = builder.lastBlock;
    const int h = builder.imageHeight();
    const int x = 30 + builder.imageWidth() / 2;
    const int pictureRows = int(std::floor(lastFraction * h));
    QVERIFY(!isWhite(block.pixelColor(x, 20 + pictureRows / 2)));
    QVERIFY(isWhite(block.pixelColor(x, 20 + pictureRows + 3)));
    QVERIFY(isWhite(block.pixelColor(x, 20 + h - 2)));
}

void TestReportBuilder::depthLabelsFollowThePicture_data()
{
    // A range from 0.5 m starts there (the query reads from the whole metre
    // 0 m): the first block's picture and its labels start at 0.5 m.
    QTest::addColumn<float>("step");
    QTest::addColumn<float>("offset");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("blocks of 1 m") << 1.0f << 0.0f << QStringList{"0.5 0.6", "1.5 1.6"};
    QTest::newRow("blocks of 0.8 m") << 0.8f << 0.0f << QStringList{"0.50 0.58", "1.30 1.38", "2.10 2.18"};
    QTest::newRow("start-depth offset") << 1.0f << 100.0f << QStringList{"100.5 100.6", "101.5 101.6"};
}

void TestReportBuilder::depthLabelsFollowThePicture()
{
    QFETCH(float, step);
    QFETCH(float, offset);
    QFETCH(QStringList, labels);
    RecordingBuilder builder(shortProject(), 0.5f, 2.5f, 2, step, false, offset);
    builder.generate();
    QVERIFY(builder.succeeded());
    QCOMPARE(builder.firstLabels, labels);
}

void TestReportBuilder::fourColumnPositions()
{
    const QString path = tenMetres();
    QVERIFY(!path.isEmpty());
    RecordingBuilder builder(path, 0.0f, 10.0f, 4, 1.0f, false);
    builder.generate();
    QVERIFY(builder.succeeded());
    QSet<int> xs;
    for (const QPoint &p : builder.positions)
        xs.insert(p.x());
    QCOMPARE(xs, (QSet<int>{0, 198, 396, 594}));
    const int perPage = builder.imagesPerColumn() * 4;
    QCOMPARE(builder.events.count(QStringLiteral("page")), (10 + perPage - 1) / perPage - 1);
    // The first block of every column starts at the top.
    for (int i = 0; i < builder.positions.size(); i += builder.imagesPerColumn())
        QCOMPARE(builder.positions.at(i).y(), 0);
}

void TestReportBuilder::headerOnlyAtPageTop()
{
    RecordingBuilder builder(tenMetres(), 0.0f, 6.0f, 2, 0.3f, true);
    builder.generate();
    QVERIFY(builder.succeeded());
    QVERIFY(builder.imagesPerColumn() > 1);
    const QStringList &e = builder.events;
    QCOMPARE(e.count(QStringLiteral("header")), e.count(QStringLiteral("page")) + 1);
    for (int i = 0; i < e.size(); ++i) {
        if (e.at(i) == QLatin1String("header")) {
            QVERIFY(i == 0 || e.at(i - 1) == QLatin1String("page"));
            QCOMPARE(e.value(i + 1), QStringLiteral("block"));
        }
    }
    // Blocks of every column start under the header.
    QCOMPARE(builder.positions.first().y(), 100);
}

void TestReportBuilder::layoutThatCannotBeMade()
{
    RecordingBuilder builder(shortProject(), 0.0f, 2.5f, 2, 1.0f, false);
    ReportProjectFacts facts = builder.facts();
    facts.imageWidth = 0;
    builder.setFacts(facts);
    builder.generate();
    QVERIFY(!builder.succeeded());
    QVERIFY(!builder.errorText().isEmpty());
    QVERIFY(builder.events.isEmpty());
    facts.imageWidth = 400;
    QVERIFY(!QReportBuilder::layoutProblem(facts, 0.001f).isEmpty());
}

void TestReportBuilder::generatedPdf_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<float>("step");
    QTest::addColumn<bool>("header");
    QTest::newRow("1 column, 1 m") << 1 << 1.0f << false;
    QTest::newRow("2 columns, 0.25 m, header") << 2 << 0.25f << true;
    QTest::newRow("4 columns, 1 m, header") << 4 << 1.0f << true;
    QTest::newRow("4 columns, 0.5 m") << 4 << 0.5f << false;
}

void TestReportBuilder::generatedPdf()
{
    // A deep log as a user searches and reads it: a page for every columns'
    // worth of blocks, labels and header are text in an embedded font, every
    // depth label is whole, at a readable size and clear of the wall, the
    // azimuth letters stand apart, the header cells keep to themselves and
    // give their units, and every wall reaches its right edge (painted red).
    if (!havePoppler())
        QSKIP("pdftotext/pdftoppm (poppler-utils) not installed");
    QFETCH(int, columns);
    QFETCH(float, step);
    QFETCH(bool, header);
    const QString path = loaded(QStringLiteral("deep-named"),
                                {"--from", "1963", "--to", "1967", "--name", "WellA", "--person", "Li"});
    QVERIFY(!path.isEmpty());
    QTemporaryDir out;
    QReportPDF builder(ReportTest::job(path, 1963.0f, 1967.0f, 1, columns, step, header));
    builder.setImageFilter([](const QImage &picture, double) { return markedWall(picture); });
    builder.setFileName(out.filePath(QStringLiteral("report")));
    const QString written = runOnThread(&builder);
    // No suffix: ".pdf" is added; nothing else is left in the folder.
    QCOMPARE(written, out.filePath(QStringLiteral("report.pdf")));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{QStringLiteral("report.pdf")});

    QProcess fonts; // pdffonts: a title line, a rule, then one line per font
    fonts.start(QStringLiteral("pdffonts"), {written});
    QVERIFY(fonts.waitForFinished(60000));
    const QStringList lines = QString::fromUtf8(fonts.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(lines.size() > 2);
    for (const QString &font : lines.mid(2))
        QVERIFY2(font.contains(QStringLiteral(" yes ")), qPrintable(font)); // embedded

    const QString text = pdfText(written);
    const int blocks = builder.imageCount();
    const int perColumn = builder.imagesPerColumn();
    QCOMPARE(text.count(QLatin1Char('\f')), (blocks + perColumn * columns - 1) / (perColumn * columns));
    const int decimals = step == 1.0f ? 1 : 2;
    for (int i : {0, blocks - 1}) // the first label of the first and the last block
        QVERIFY(text.contains(QString::number(1963.0 + i * step, 'f', decimals)));
    for (const char *field : {"Project Name:WellA", "Person:Li", "Depth:1967.00 m", "Diameter:100 mm"})
        QVERIFY2(text.contains(QLatin1String(field)) == header, field);
    QVERIFY(!text.contains(QStringLiteral("WN")));

    // Page 1: depth labels of the first column end before its wall; the
    // first block's letters stand apart; no header text reaches "Height:".
    const QList<PdfWord> words = pdfWords(written, 1);
    const double wallLeft = 54.0 + 0.75 * (1 + builder.scaleBand()); // margin 54 pt
    QList<QRectF> letters;
    QRectF coordinates, height;
    for (const PdfWord &w : words) {
        if (w.text.startsWith(QStringLiteral("196")) && w.box.left() < wallLeft) {
            QVERIFY2(w.box.right() <= wallLeft + 0.5 && w.box.height() >= 6.0, qPrintable(w.text));
            QCOMPARE(w.text.section(QLatin1Char('.'), 1).size(), decimals);
        }
        if (w.text.size() == 1 && QStringLiteral("NESW").contains(w.text) && w.box.left() < 54 + 487.0 / columns)
            letters << w.box;
        if (w.text.startsWith(QStringLiteral("Coordinates:")))
            coordinates = w.box;
        if (w.text.startsWith(QStringLiteral("Height:")))
            height = w.box;
    }
    std::sort(letters.begin(), letters.end(), [](const QRectF &a, const QRectF &b) {
        return qFuzzyCompare(a.top(), b.top()) ? a.left() < b.left() : a.top() < b.top();
    });
    QVERIFY(letters.size() >= 5);
    for (int i = 1; i < 5; ++i)
        QVERIFY(letters.at(i).left() > letters.at(i - 1).right() + 1.0);
    for (const PdfWord &w : words) {
        if (header && qAbs(w.box.center().y() - coordinates.center().y()) < 2 && w.box.left() < height.left())
            QVERIFY2(w.box.right() < height.left() - 5, qPrintable(w.text));
    }

    // Page 1 as poppler draws it: a red right edge for every column used.
    const QImage page = pdfPage(written, 1, 72);
    QVERIFY(!page.isNull());
    QCOMPARE(redBands(page), qMin(columns, (blocks + perColumn - 1) / perColumn));
}

void TestReportBuilder::existingReportReplacedOnlyWhenComplete_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::addColumn<QString>("cause"); // in the error
    QTest::newRow("project file gone") << false << QStringLiteral("could not be opened");
    QTest::newRow("disk full after 32 KiB") << true << QStringLiteral("the disk is full");
}

void TestReportBuilder::existingReportReplacedOnlyWhenComplete()
{
    QFETCH(bool, fullDisk);
    QFETCH(QString, cause);
    const QString path = shortProject();
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("old.pdf"));
    {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the report of last week");
    }
    // A complete report replaces the file of that name; one that fails
    // (the project file is gone, the disk full) keeps it as it was.
    QReportPDF complete(ReportTest::job(path, 0.0f, 2.5f, 1, 2, 1.0f, true));
    complete.setFileName(target);
    QCOMPARE(runOnThread(&complete), target);
    QFile kept(target);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QVERIFY(kept.readAll().startsWith("%PDF"));
    const QByteArray before = ProjectTest::fileHash(target);
    const qint64 limit = 32 * 1024;
    QVERIFY2(QFileInfo(target).size() > 2 * limit, "the report must not fit under the limit");

    QString error;
    if (fullDisk) {
        const auto child = ProjectTest::runChild(QStringLiteral("pdf"), {path, target}, limit, ProjectTest::Limit::FileBytes);
        QVERIFY(child.finished);
        QCOMPARE(child.printed(QStringLiteral("written")), QString());
        error = child.printed(QStringLiteral("error"));
    } else {
        QReportPDF failing(ReportTest::job(m_dir.filePath(QStringLiteral("gone.prj")), 0.0f, 2.5f, 1));
        failing.setFileName(target);
        QCOMPARE(runOnThread(&failing, &error), QString());
    }
    QVERIFY2(error.contains(cause), qPrintable(error));
    QCOMPARE(ProjectTest::fileHash(target), before);
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.pdf")});
}

void TestReportBuilder::leftoversOfAKilledExportRemoved()
{
    const QString path = shortProject();
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("killed.pdf"));
    // What a kill in the middle of an export of a process that is gone
    // leaves: its working folder naming the report, the unfinished report,
    // and an empty working folder of an older version.
    QFile part(PartFile::partName(target));
    QVERIFY(part.open(QIODevice::WriteOnly) && part.write("%PDF-1.4 half") > 0);
    part.close();
    const QString dead = QDir::tempPath() + QStringLiteral("/kora-report-999999999-aB3dE6");
    const QString older = QDir::tempPath() + QStringLiteral("/kora-report-Xy12Zw");
    QVERIFY(QDir().mkpath(dead) && QDir().mkpath(older));
    ReportLeftovers::noteTarget(dead, target);
    // A folder of this running process stays.
    QTemporaryDir mine(ReportLeftovers::folderTemplate());
    QVERIFY(mine.isValid());

    QReportPDF next(ReportTest::job(path, 0.0f, 2.5f, 1));
    QVERIFY(!QFile::exists(PartFile::partName(target)));
    QVERIFY(!QFile::exists(dead));
    QVERIFY(!QFile::exists(older));
    QVERIFY(QFile::exists(mine.path()));
    QVERIFY(QFile::exists(next.tempDir()));
}

void TestReportBuilder::previewEnds_data()
{
    QTest::addColumn<QString>("to");
    QTest::newRow("closed after painting") << "2.5";
    QTest::newRow("range without images") << "0";
}

void TestReportBuilder::previewEnds()
{
    // Without a printer installed, as here, the preview shows the walls (red
    // right edges) of the pages the PDF would have.
    QFETCH(QString, to);
    const QString path = shortProject();
    auto *preview = new QReportPreview(ReportTest::job(path, 0.0f, to.toFloat(), 2, 2, 1.0f, true));
    preview->setImageFilter([](const QImage &picture, double) { return markedWall(picture); });
    QPointer<QReportPreview> alive(preview);
    QSignalSpy ended(preview, &QReportPreview::NotifyPreviewEnd);
    int pages = -1;
    QImage shown;
    QString error;
    bool pagesShown = false;
    QTimer closer;
    closer.setInterval(20);
    connect(&closer, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
        if (!dialog || preview->paintCount() == 0)
            return;
        closer.stop();
        pages = preview->paintCount();
        error = preview->errorText();
        if (auto *widget = dialog->findChild<QPrintPreviewWidget *>()) {
            widget->setViewMode(QPrintPreviewWidget::AllPagesView);
            widget->fitInView();
            shown = widget->grab().toImage();
            // As many pages as the PDF: the blocks, filling both columns.
            const int perPage = preview->imagesPerColumn() * 2;
            pagesShown = widget->pageCount() == qMax(1, (preview->imageCount() + perPage - 1) / perPage);
        }
        dialog->reject();
    });
    closer.start();
    auto *thread = new QExportReportThread(preview);
    connect(thread, &QThread::finished, preview, &QObject::deleteLater);
    QSignalSpy finished(thread, &QExportReportThread::signalProcessFinished);
    // Temporary images go to a folder of this preview alone, gone with it.
    const QString temp = preview->tempDir();
    QVERIFY(QDir(temp).exists());
    QVERIFY(!temp.startsWith(QCoreApplication::applicationDirPath()));
    thread->start();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
    QCOMPARE(ended.count(), 1);
    QVERIFY(pages >= 1);
    QVERIFY(!shown.isNull());
    QVERIFY(pagesShown);
    QCOMPARE(redBands(shown) > 0, to.toFloat() > 0.0f); // a range with images
    QVERIFY2(error.isEmpty(), qPrintable(error));
    thread->wait();
    delete thread;
    QTRY_VERIFY(alive.isNull());
    QVERIFY(!QDir(temp).exists());
}

void TestReportBuilder::deepHole()
{
    // 485 m of a hole logged from 1000 m: every block arrives and the pages
    // hold them all.
    const QString path = loaded(QStringLiteral("deep"), {QStringLiteral("--from"), QStringLiteral("1000"),
                                                         QStringLiteral("--to"), QStringLiteral("1485"),
                                                         QStringLiteral("--width"), QStringLiteral("64")});
    QVERIFY(!path.isEmpty());
    QTemporaryDir out;
    QReportPDF builder(ReportTest::job(path, 1000.0f, 1485.0f, 1));
    builder.setFileName(out.filePath(QStringLiteral("deep.pdf")));
    QSignalSpy blocks(&builder, &QReportBuilder::signalOneImageProcessed);
    QCOMPARE(runOnThread(&builder), out.filePath(QStringLiteral("deep.pdf")));
    QCOMPARE(blocks.count(), 485);
}

void TestReportBuilder::blocksShowTheFilteredPicture()
{
    // A contrast filter changes the wall picture of the blocks (and only the
    // picture: the scales stay), gets the depth each picture covers, and
    // leaves the project file as it was.
    const QString path = shortProject();
    QVERIFY(!path.isEmpty());
    const QByteArray before = ProjectTest::fileHash(path);

    RecordingBuilder plain(path, 0.0f, 2.5f, 1, 1.0f, false);
    plain.generate();
    QVERIFY(plain.succeeded());

    RecordingBuilder filtered(path, 0.0f, 2.5f, 1, 1.0f, false);
    QList<double> metres;
    filtered.setImageFilter([&metres](const QImage &picture, double m) {
        metres << m;
        QImage shown = picture.convertToFormat(QImage::Format_RGB32);
        shown.fill(Qt::white);
        return shown;
    });
    filtered.generate();
    QVERIFY(filtered.succeeded());
    QCOMPARE(metres.size(), 3);
    QCOMPARE(metres.first(), 1.0);
    QCOMPARE(metres.last(), 0.5); // the short last block

    const QImage a = plain.lastBlock;
    const QImage b = filtered.lastBlock;
    QCOMPARE(a.size(), b.size());
    const int x = 30 + plain.imageWidth() / 2;
    const int y = 20 + plain.imageHeight() / 4;
    QVERIFY(!isWhite(a.pixelColor(x, y)));
    QVERIFY(isWhite(b.pixelColor(x, y)));
    QCOMPARE(b.pixel(10, 5), a.pixel(10, 5)); // the azimuth scale's margin
    QCOMPARE(ProjectTest::fileHash(path), before);
}

void TestReportBuilder::structuresPage_data()
{
    QTest::addColumn<bool>("asked");
    QTest::addColumn<int>("format");
    QTest::addColumn<float>("from"); // picks lie at 1.2 m and 2.6 m
    QTest::addColumn<bool>("extraPage");
    QTest::newRow("asked, picks in range") << true << 1 << 0.0f << true;
    QTest::newRow("not asked") << false << 1 << 0.0f << false;
    QTest::newRow("asked, no picks in range") << true << 1 << 3.0f << false;
    QTest::newRow("asked, word-processor format") << true << 0 << 0.0f << false;
}

void TestReportBuilder::structuresPage()
{
    if (!havePoppler())
        QSKIP("pdftotext/pdftoppm (poppler-utils) not installed");
    QFETCH(bool, asked);
    QFETCH(int, format);
    QFETCH(float, from);
    QFETCH(bool, extraPage);
    const QString path = loaded(QStringLiteral("picked"), {QStringLiteral("--to"), QStringLiteral("4")});
    QVERIFY(!path.isEmpty());
    QVERIFY(addPicksOnce(path, {{0, 12000.0, 40.0, 60.0}, {0, 26000.0, 40.0, 130.0}}));

    CReportParameter para;
    para.setFromDepth(from);
    para.setToDepth(4.0f);
    para.setExportFormat(format);
    para.setWithStructures(asked);
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("s.pdf"));
    QReportPDF builder(ReportTest::job(path, from, 4.0f, 1));
    builder.setExtraPage(StructuresPage::forReport(path, para));
    builder.setFileName(pdf);
    QCOMPARE(runOnThread(&builder), pdf);

    const int perPage = builder.imagesPerColumn() * 2;
    const int blockPages = (int(4.0f - from) + perPage - 1) / perPage;
    QCOMPARE(pdfText(pdf).count(QLatin1Char('\f')), blockPages + (extraPage ? 1 : 0));
    if (!extraPage)
        return;
    // The last page carries the plots: the fractures' red on the net and
    // the rose (the wall pictures of the sample are grey).
    const QImage page = pdfPage(pdf, blockPages + 1, 30);
    QVERIFY(!page.isNull());
    const int red = countPixels(page, [](const QColor &c) { return c.red() > 180 && c.green() < 150 && c.blue() < 150; });
    QVERIFY2(red > 20, qPrintable(QString::number(red)));
}

void TestReportBuilder::frequencyTrack_data()
{
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("terzaghi");
    QTest::newRow("off") << false << false;
    QTest::newRow("on") << true << false;
    QTest::newRow("on, Terzaghi-weighted") << true << true;
}

// Beside each block a track of picks per metre: drawn where the block has
// picks (the first metre) and empty where it has none (the second).
void TestReportBuilder::frequencyTrack()
{
    if (!havePoppler())
        QSKIP("pdftotext/pdftoppm (poppler-utils) not installed");
    QFETCH(bool, asked);
    QFETCH(bool, terzaghi);
    const QString path = loaded(QStringLiteral("tracked"), {"--to", "4"});
    QVERIFY(!path.isEmpty());
    QVERIFY(addPicksOnce(path, {{0, 2000.0, 60.0, 90.0}, {0, 4000.0, 60.0, 90.0}, {0, 6000.0, 60.0, 90.0}}));

    ReportJob job = ReportTest::job(path, 0.0f, 4.0f, 1);
    job.parameter.setWithFrequency(asked);
    job.parameter.setFrequencyTerzaghi(terzaghi);
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("f.pdf"));
    QReportPDF builder(job);
    builder.setFileName(pdf);
    QCOMPARE(runOnThread(&builder), pdf);

    const QString text = pdfText(pdf);
    for (const char *title : {"P10", "(1/m),"})
        QVERIFY2(text.contains(QLatin1String(title)) == asked, title);
    QCOMPARE(text.contains(QStringLiteral("Terzaghi-weighted")), terzaghi);
    if (!asked) {
        QCOMPARE(builder.trackBand(), 0);
        return;
    }

    // The scale under each title: "0" at the track's left edge, its end at
    // the right.
    const QList<PdfWord> words = pdfWords(pdf, 1);
    QList<QPair<PdfWord, PdfWord>> scales;
    for (const PdfWord &zero : words)
        for (const PdfWord &end : words)
            if (zero.text == QLatin1String("0") && end.box.left() > zero.box.right()
                && end.box.left() < zero.box.right() + 200.0 && qAbs(end.box.top() - zero.box.top()) < 0.5)
                scales << qMakePair(zero, end);
    QVERIFY2(scales.size() >= 2, qPrintable(text));

    const int dpi = 144;
    const QImage page = pdfPage(pdf, 1, dpi);
    QVERIFY(!page.isNull());
    const double px = dpi / 72.0;
    const double trackHeight = builder.imageHeight() * builder.layout().deviceScaleY();
    // Three picks of dip 60° in the first metre: 3 per metre, 6 weighted
    // (5 and 10 on the scale); none in the others (1 on the scale).
    const QString busiest = terzaghi ? QStringLiteral("10") : QStringLiteral("5");
    int withPicks = 0, without = 0;
    for (const auto &scale : qAsConst(scales)) {
        const QRectF left = scale.first.box;
        const QRect column(int((left.left() + 4) * px), int((left.bottom() + 6) * px),
                           int((scale.second.box.right() - left.left() - 8) * px), int((trackHeight - 12) * px));
        const int dark = countPixels(page, [](const QColor &c) { return c.lightness() < 100; }, column);
        if (scale.second.text == busiest) {
            ++withPicks;
            QVERIFY2(dark > trackHeight, qPrintable(QString::number(dark)));
        } else {
            ++without;
            QCOMPARE(scale.second.text, QStringLiteral("1"));
            QCOMPARE(dark, 0);
        }
    }
    QCOMPARE(withPicks, 1);
    QVERIFY(without >= 1);
}

namespace {

// Child of existingReportReplacedOnlyWhenComplete: exports the report of args[0] to args[1].
int fullDiskChild(const QString &routine, const QStringList &args)
{
    if (routine != QLatin1String("pdf") || args.size() < 2)
        return 2;
    QReportBuilder::setBlockPause(0);
    ProjectTest::openProject(args.at(0));
    QReportPDF report(ReportTest::job(args.at(0), 0.0f, 2.5f, 1, 2, 1.0f, true));
    report.setFileName(args.at(1));
    QString error;
    ProjectTest::print(QStringLiteral("written"), runOnThread(&report, &error));
    ProjectTest::print(QStringLiteral("error"), error);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    return ProjectTest::testMain<TestReportBuilder>(argc, argv, fullDiskChild);
}
#include "tst_reportbuilder.moc"
