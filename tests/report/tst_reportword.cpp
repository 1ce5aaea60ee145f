// The word-processor report: the document built for two columns of three
// blocks with and without header and its ring of ten temporary pictures, the
// error texts, failed and hanging conversions, and .odt/.doc/.docx files as
// LibreOffice prints them: their pages, headers and whole walls.

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include "odfpackage.h"
#include "projectinfo.h"
#include "qreportword.h"
#include "qword.h"
#include "reporttestsupport.h"
#include "samplefixture.h"

namespace {

struct TableShape
{
    int rows = 0;
    int columns = 0;
    bool borders = false;
    int pictures = 0;
    int page = 0;          // page of its first cell
    QString firstText;
    QString fontFamily;    // of its first cell
    double fontSize = 0.0;
};

// Looks at the document just before it is saved.
class InspectingWord : public QReportWord
{
public:
    using QReportWord::QReportWord;

    void endOutput() override
    {
        if (QWord *w = word()) {
            QTextDocument *doc = w->document();
            pages = doc->pageCount();
            const double pageHeight = doc->pageSize().height();
            for (QTextFrame *frame : doc->rootFrame()->childFrames()) {
                auto *table = qobject_cast<QTextTable *>(frame);
                if (!table)
                    continue;
                TableShape shape;
                shape.rows = table->rows();
                shape.columns = table->columns();
                shape.borders = table->format().border() > 0;
                const QTextBlock first = table->cellAt(0, 0).firstCursorPosition().block();
                shape.page = int(doc->documentLayout()->blockBoundingRect(first).top() / pageHeight) + 1;
                shape.firstText = first.text();
                shape.fontFamily = first.charFormat().fontFamily();
                shape.fontSize = first.charFormat().fontPointSize();
                for (QTextBlock b = first; b.isValid() && b.position() < table->lastPosition(); b = b.next()) {
                    for (auto it = b.begin(); !it.atEnd(); ++it) {
                        const QTextImageFormat image = it.fragment().charFormat().toImageFormat();
                        if (image.isValid()) {
                            ++shape.pictures;
                            pictures << doc->resource(QTextDocument::ImageResource, QUrl(image.name())).toByteArray();
                        }
                    }
                }
                tables << shape;
            }
            for (int i = 0; i < 10; ++i)
                ringBeforeEnd << (QFile::exists(ringFile(i)) ? ringFile(i) : QString());
        }
        QReportWord::endOutput();
    }

    QList<TableShape> tables;
    QList<QByteArray> pictures;
    QStringList ringBeforeEnd;
    int pages = 0;
};

// LibreOffice's conversions take minutes.
QString runOnThread(QReportBuilder *builder, QString *error = nullptr)
{
    return ReportTest::runOnThread(builder, error, 900000);
}

QString writeScript(const QString &path, const QByteArray &body)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write("#!/bin/sh\n" + body + "\n");
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    return path;
}

} // namespace

class TestReportWord : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void documentStructure_data();
    void documentStructure();
    void errorTexts_data();
    void errorTexts();
    void failedConversionLeavesNoFile_data();
    void failedConversionLeavesNoFile();
    void convertedByLibreOffice_data();
    void convertedByLibreOffice();

private:
    QTemporaryDir m_dir;
    QString m_project;
};

void TestReportWord::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QReportBuilder::setBlockPause(0);
    m_project = m_dir.filePath(QStringLiteral("wall.prj"));
    QVERIFY(SampleFixture::make(m_project, {QStringLiteral("--to"), QStringLiteral("5"), QStringLiteral("--name"),
                                            QStringLiteral("WellA")}));
    ProjectInfo::instance()->reset();
    ProjectInfo::instance()->setDatabase(m_project);
    ProjectInfo::instance()->loadProjectInfo();
}

void TestReportWord::cleanup()
{
    QWord::setOfficeProgram(QString());
    QWord::setConversionTimeout(600000);
}

void TestReportWord::documentStructure_data()
{
    QTest::addColumn<bool>("header");
    QTest::newRow("without header") << false;
    QTest::newRow("with header") << true;
}

void TestReportWord::documentStructure()
{
    // 0 to 4 m in steps of 0.25 m: 16 blocks, two columns of three per page,
    // so pages of 6, 6 and 4 blocks. The ring of ten temporary pictures goes
    // round once and more; the document keeps every picture as it was,
    // although files 1 to 6 were written again.
    QFETCH(bool, header);
    QTemporaryDir out;
    QScopedPointer<InspectingWord> holder(new InspectingWord(ReportTest::job(m_project, 0.0f, 4.0f, 0, 2, 0.25f, header)));
    InspectingWord &report = *holder;
    const QString temp = report.tempDir();
    report.setFileName(out.filePath(QStringLiteral("r.odt")));
    QCOMPARE(runOnThread(&report), out.filePath(QStringLiteral("r.odt")));
    QCOMPARE(report.imagesPerColumn(), 3);
    QCOMPARE(report.imageCount(), 16);
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(report.ringBeforeEnd.at(i), temp + QStringLiteral("/temp_%1.jpg").arg(i + 1));
        QVERIFY(!QFile::exists(report.ringFile(i)));
    }
    QCOMPARE(QSet<QByteArray>(report.pictures.begin(), report.pictures.end()).size(), 16);

    const int perPage = header ? 3 : 1;
    QCOMPARE(report.tables.size(), 3 * perPage);
    QCOMPARE(report.pages, 3);
    QCOMPARE(report.pageCount(), 3);
    const int blocksOnPage[3] = {6, 6, 4};
    for (int page = 0; page < 3; ++page) {
        const TableShape &blocks = report.tables.at(page * perPage + perPage - 1);
        QCOMPARE(blocks.rows, 3);
        QCOMPARE(blocks.columns, 2);
        QVERIFY(!blocks.borders);
        QCOMPARE(blocks.pictures, blocksOnPage[page]);
        QCOMPARE(blocks.page, page + 1);
        // The font chosen over a whole table reaches its cells.
        QCOMPARE(blocks.fontFamily, QStringLiteral("Microsoft YaHei"));
        QCOMPARE(blocks.fontSize, 10.5);
        if (header) {
            const TableShape &top = report.tables.at(page * perPage);
            const TableShape &grid = report.tables.at(page * perPage + 1);
            QCOMPARE(top.rows * 10 + top.columns, 12);
            QCOMPARE(grid.rows * 10 + grid.columns, 33);
            QVERIFY(top.borders && grid.borders);
            QCOMPARE(top.page, page + 1);
            QCOMPARE(top.firstText, QStringLiteral("Project Name:WellA"));
            QCOMPARE(top.fontFamily, QStringLiteral("Microsoft YaHei"));
            QCOMPARE(top.fontSize, 10.5);
        }
    }

    // The file: a complete OpenDocument package with its page set-up and
    // every picture.
    QFile file(out.filePath(QStringLiteral("r.odt")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList entries = OdfPackage::entryNames(file.readAll());
    QCOMPARE(entries.first(), QStringLiteral("mimetype"));
    QVERIFY(entries.contains(QStringLiteral("styles.xml")));
    QVERIFY(entries.contains(QStringLiteral("content.xml")));
    QCOMPARE(entries.filter(QStringLiteral("Pictures/")).size(), 16);
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("r.odt")});
    holder.reset();
    QVERIFY(!QDir(temp).exists());
}

void TestReportWord::errorTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("officeInstalled");
    QTest::addColumn<QString>("error");
    QTest::newRow("file exists") << "exists.doc" << true << "Error: file already exist!";
    QTest::newRow("no name") << "" << true << "Error: file name empty";
    QTest::newRow(".doc without a word processor") << "r.doc" << false << "Error: word not installed!";
    QTest::newRow(".docx without a word processor") << "r.docx" << false << "Error: word not installed!";
}

void TestReportWord::errorTexts()
{
    QFETCH(QString, name);
    QFETCH(bool, officeInstalled);
    QFETCH(QString, error);
    QTemporaryDir out;
    QFile existing(out.filePath(QStringLiteral("exists.doc")));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    const QString fake = writeScript(out.filePath(QStringLiteral("office")), "exit 0");
    QWord::setOfficeProgram(officeInstalled ? fake : out.filePath(QStringLiteral("none")));

    const QString path = name.isEmpty() ? QString() : out.filePath(name);
    QWord word;
    QVERIFY(!word.openDocument(path));
    QCOMPARE(word.errorText(), error);
    QVERIFY(!word.document());
    // Messages add up.
    QVERIFY(!word.openDocument(path));
    QCOMPARE(word.errorText(), error + error);

    // The report tells the user the word processor's message and writes
    // nothing (an existing file is one it may replace).
    if (name != QLatin1String("exists.doc")) {
        QReportWord report(ReportTest::job(m_project, 0.0f, 1.0f, 0));
        report.setFileName(path);
        QString message;
        QCOMPARE(runOnThread(&report, &message), QString());
        QCOMPARE(message, error);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 2);
    }
}

void TestReportWord::failedConversionLeavesNoFile_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("error");
    QTest::newRow("fails") << QByteArray("echo 'source file could not be loaded'; exit 1")
                           << "Error: the word processor could not convert the document!";
    QTest::newRow("hangs") << QByteArray("sleep 60") << "Error: the word processor did not finish in time!";
    QTest::newRow("writes half and hangs")
        << QByteArray("for a in \"$@\"; do last=$a; done; mkdir -p \"$(dirname \"$last\")/out\"; "
                      "echo half > \"$(dirname \"$last\")/out/report.doc\"; sleep 60")
        << "Error: the word processor did not finish in time!";
}

void TestReportWord::failedConversionLeavesNoFile()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, error);
    QTemporaryDir out;
    QWord::setOfficeProgram(writeScript(out.filePath(QStringLiteral("office")), script));
    QWord::setConversionTimeout(1500);
    const QString target = out.filePath(QStringLiteral("old.doc"));
    {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("last week's report");
    }
    QString temp;
    {
        QReportWord report(ReportTest::job(m_project, 0.0f, 2.0f, 0));
        temp = report.tempDir();
        report.setFileName(target);
        QString message;
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(runOnThread(&report, &message), QString());
        QCOMPARE(message, error);
        QVERIFY(timer.elapsed() < 30000);
        QCOMPARE(QDir(temp).entryList(QDir::Files), QStringList());
    }
    QFile kept(target);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("last week's report"));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QStringLiteral("office"), QStringLiteral("old.doc")}));
}

void TestReportWord::convertedByLibreOffice_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<float>("step");
    QTest::addColumn<int>("columns");
    QTest::addColumn<bool>("header");
    QTest::addColumn<int>("pages");
    // 5 m of 1 m blocks, one per column: 2 + 2 + 1, and 4 + 1 blocks.
    QTest::newRow(".odt, 2 columns") << "odt" << 1.0f << 2 << false << 3;
    QTest::newRow(".doc, 4 columns, header") << "doc" << 1.0f << 4 << true << 2;
    // Blocks of 0.25 m, three per column: 6 + 6 + 6 + 2.
    QTest::newRow(".docx, 2 columns, header") << "docx" << 0.25f << 2 << true << 4;
}

void TestReportWord::convertedByLibreOffice()
{
    // The document as LibreOffice prints it: as many pages as the layout
    // has, each with its header and its blocks, every wall whole up to its
    // right edge (painted red here), and nothing after the last block.
    QFETCH(QString, suffix);
    QFETCH(float, step);
    QFETCH(int, columns);
    QFETCH(bool, header);
    QFETCH(int, pages);
    const QString office = QWord::officeProgram();
    if (office.isEmpty() || !ReportTest::havePoppler())
        QSKIP("LibreOffice Writer (soffice) or poppler-utils not installed");
    QTemporaryDir out;
    const QString name = out.filePath(QStringLiteral("report.") + suffix);
    QReportWord report(ReportTest::job(m_project, 0.0f, 5.0f, 0, columns, step, header, true));
    report.setImageFilter([](const QImage &picture, double) { return ReportTest::markedWall(picture); });
    report.setFileName(name);
    QString error;
    QCOMPARE(runOnThread(&report, &error), name);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const int perPage = report.imagesPerColumn() * columns;
    QCOMPARE((report.imageCount() + perPage - 1) / perPage, pages);

    QProcess pdf;
    pdf.start(office, {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(out.filePath("profile")).toString(),
                       QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                       QStringLiteral("--outdir"), out.path(), name});
    QVERIFY(pdf.waitForFinished(300000));
    const QString printed = out.filePath(QStringLiteral("report.pdf"));
    QVERIFY(QFile::exists(printed));
    const QString text = ReportTest::pdfText(printed);
    QCOMPARE(text.count(QLatin1Char('\f')), pages); // one after each page
    const QStringList texts = text.split(QLatin1Char('\f'));
    for (int i = 0; i < pages; ++i) {
        const int blocks = qMin(perPage, report.imageCount() - i * perPage);
        const int filledColumns = qMin(columns, (blocks + report.imagesPerColumn() - 1) / report.imagesPerColumn());
        const QImage page = ReportTest::pdfPage(printed, i + 1, 72);
        QVERIFY(!page.isNull());
        QCOMPARE(ReportTest::redBands(page), filledColumns);
        QCOMPARE(texts.at(i).contains(QStringLiteral("Project Name:WellA")), header);
    }
}

QTEST_MAIN(TestReportWord)
#include "tst_reportword.moc"
