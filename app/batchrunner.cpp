#include "batchrunner.h"

#include "batchprogress.h"
#include "creportparameter.h"
#include "globals.h"
#include "graphicsleftscaleitem.h"
#include "graphicsstructurepickitem.h"
#include "pageassembler.h"
#include "pagerenderer.h"
#include "projectcheck.h"
#include "projectinfo.h"
#include "qexportreportthread.h"
#include "qreportbuilder.h"
#include "readbigimagethread.h"
#include "reportcontroller.h"
#include "reportdlg.h"
#include "reportprojectfacts.h"
#include "sqliteconnection.h"
#include "pickexporter.h"
#include "structurepickcontroller.h"
#include "structurepickstore.h"
#include "structurespage.h"
#include "terminaltext.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <cstdio>

namespace {

void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    // A batch run says nothing but its result and its failure; the
    // program's debug lines and the toolkit's warnings stay out of it.
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

QString metres(double units)
{
    return QString::number(units / kDepthUnitsPerMetre, 'f', 2);
}

} // namespace

void BatchRunner::prepareProcess()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    SqliteConnection::setAlwaysReadOnly(true);
    qInstallMessageHandler(quietMessages);
}

BatchRunner::BatchRunner(const BatchRequest &request)
    : m_request(request)
{
    static const char *const names[] = {"report", "pages", "picks", "info"};
    m_label = QStringLiteral("kora %1").arg(QLatin1String(names[request.command]));
}

int BatchRunner::run()
{
    if (!m_request.out.isEmpty()) {
        const QFileInfo folder(QFileInfo(m_request.out).absolutePath());
        if (!folder.isDir())
            return failed(tr("the folder \"%1\" does not exist; nothing was written").arg(folder.filePath()));
        if (!folder.isWritable())
            return failed(tr("the folder \"%1\" cannot be written; nothing was written").arg(folder.filePath()));
    }
    switch (m_request.command) {
    case BatchRequest::Info:
        return runInfo();
    case BatchRequest::Picks:
        return runPicks();
    case BatchRequest::Report:
        return runReport();
    case BatchRequest::Pages:
        return runPages();
    }
    return UsageError;
}

int BatchRunner::failed(const QString &text)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(m_label), qPrintable(text));
    return Failed;
}

int BatchRunner::usage(const QString &text)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(m_label), qPrintable(text));
    return UsageError;
}

void BatchRunner::result(const QString &line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

bool BatchRunner::openProject()
{
    if (!SqliteConnection::fileExists(m_request.project))
        return false;
    ProjectInfo *info = ProjectInfo::instance();
    info->reset();
    info->setDatabase(QFileInfo(m_request.project).absoluteFilePath());
    if (!info->isDatabaseOpen())
        return false;
    info->loadProjectInfo();
    pixelsPerUnit = info->computePixelFactor();
    return true;
}

bool BatchRunner::range(int *from, int *to)
{
    const ProjectInfo *info = ProjectInfo::instance();
    const int top = info->start();
    const int bottom = info->maxDepth();
    *from = m_request.hasFrom ? int(std::lround(m_request.from * kDepthUnitsPerMetre)) : top;
    *to = m_request.hasTo ? int(std::lround(m_request.to * kDepthUnitsPerMetre)) : bottom;
    if (*from < top || *to > bottom || *from >= *to) {
        usage(tr("the range from %1 m to %2 m lies outside the project, which spans %3 m to %4 m")
                  .arg(metres(*from), metres(*to), metres(top), metres(bottom)));
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// info

int BatchRunner::runInfo()
{
    if (!openProject())
        return failed(tr("the project file \"%1\" could not be opened").arg(m_request.project));
    const ProjectInfo *info = ProjectInfo::instance();
    ProjectCheck check;
    BatchProgress progress(m_label);
    check.setProgress([&progress](int done, int total) { progress.update(done, total); });
    if (!check.run(info->projectPath(), info->start(), info->computePixelFactor()))
        return failed(check.errorText());

    QJsonArray undecodable;
    for (int id : check.undecodable())
        undecodable << id / double(kDepthUnitsPerMetre);
    QJsonArray gaps;
    for (const ProjectCheck::Gap &gap : check.gaps())
        gaps << QJsonObject{{QStringLiteral("fromM"), gap.from / double(kDepthUnitsPerMetre)},
                            {QStringLiteral("toM"), gap.to / double(kDepthUnitsPerMetre)}};
    QJsonObject widths;
    const QMap<int, int> widthCounts = check.widths();
    for (auto it = widthCounts.cbegin(); it != widthCounts.cend(); ++it)
        widths.insert(QString::number(it.key()), it.value());
    QJsonArray oddWidths;
    for (int id : check.oddWidthIds())
        oddWidths << id / double(kDepthUnitsPerMetre);
    const bool sound = undecodable.isEmpty() && gaps.isEmpty() && oddWidths.isEmpty();

    if (m_request.json) {
        QJsonObject o;
        o.insert(QStringLiteral("file"), info->projectPath());
        o.insert(QStringLiteral("projectName"), info->projectName());
        o.insert(QStringLiteral("testDepartment"), info->detectionUnit());
        o.insert(QStringLiteral("number"), info->orificeNumber());
        o.insert(QStringLiteral("person"), info->testPerson());
        o.insert(QStringLiteral("date"), info->date().isValid() ? info->date().toString(Qt::ISODate) : QString());
        o.insert(QStringLiteral("direction"), info->direction());
        o.insert(QStringLiteral("startM"), info->start() / double(kDepthUnitsPerMetre));
        o.insert(QStringLiteral("endM"), info->maxDepth() / double(kDepthUnitsPerMetre));
        o.insert(QStringLiteral("diameterMm"), info->diameter() / 10.0);
        o.insert(QStringLiteral("longitude"), info->fLongitude());
        o.insert(QStringLiteral("latitude"), info->fLatitude());
        o.insert(QStringLiteral("pieceCount"), check.pieceCount());
        o.insert(QStringLiteral("imageWidth"), info->imageWidth());
        o.insert(QStringLiteral("check"), QJsonObject{{QStringLiteral("sound"), sound},
                                                      {QStringLiteral("undecodableM"), undecodable},
                                                      {QStringLiteral("gaps"), gaps},
                                                      {QStringLiteral("widths"), widths},
                                                      {QStringLiteral("otherWidthM"), oddWidths}});
        result(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented)).trimmed());
        return Done;
    }

    // Labels and values, written at the end with the values in one column
    // (a Chinese label is twice as wide in a terminal as its length).
    QVector<QPair<QString, QString>> rows;
    auto line = [&rows](const QString &label, const QString &value) { rows.append({label, value}); };
    auto writeRows = [this, &rows] {
        for (const QString &text : TerminalText::alignedRows(rows, 18))
            result(text);
        return Done;
    };
    line(tr("File:"), info->projectPath());
    line(tr("Project Name:"), info->projectName());
    line(tr("Test department:"), info->detectionUnit());
    line(tr("Number:"), info->orificeNumber());
    line(tr("Person:"), info->testPerson());
    line(tr("Date:"), info->date().toString(QStringLiteral("yyyy.M.d")));
    line(tr("Direction:"), info->direction());
    line(tr("Depth range:"), tr("%1 m to %2 m").arg(metres(info->start()), metres(info->maxDepth())));
    line(tr("Diameter:"), tr("%1 mm").arg(info->diameter() / 10.0));
    line(tr("Coordinates:"), QStringLiteral("%1, %2").arg(info->fLatitude()).arg(info->fLongitude()));
    line(tr("Pieces:"), QString::number(check.pieceCount()));
    line(tr("Image width:"), tr("%1 px").arg(info->imageWidth()));
    if (sound) {
        line(tr("Check:"), tr("no faults found"));
        return writeRows();
    }
    QStringList depths;
    for (int id : check.undecodable())
        depths << metres(id);
    if (!depths.isEmpty())
        line(tr("Undecodable:"), tr("%n piece(s), ending at %1 m", nullptr, depths.size()).arg(depths.join(QStringLiteral(", "))));
    QStringList spans;
    for (const ProjectCheck::Gap &gap : check.gaps())
        spans << QStringLiteral("%1-%2 m").arg(metres(gap.from), metres(gap.to));
    if (!spans.isEmpty())
        line(tr("Gaps:"), spans.join(QStringLiteral(", ")));
    if (!check.oddWidthIds().isEmpty()) {
        QStringList counts;
        for (auto it = widthCounts.cbegin(); it != widthCounts.cend(); ++it)
            counts << tr("%1 px (%n piece(s))", nullptr, it.value()).arg(it.key());
        line(tr("Widths differ:"), counts.join(QStringLiteral(", ")));
    }
    return writeRows();
}

// ---------------------------------------------------------------------------
// picks

int BatchRunner::runPicks()
{
    if (!SqliteConnection::fileExists(m_request.project))
        return failed(tr("the project file \"%1\" could not be opened").arg(m_request.project));
    const QVector<StructurePick> picks = StructurePickStore(m_request.project).allPicks();
    QString error;
    // CSV or LAS by the suffix, as "Export picks..." writes them.
    if (!PickExporter::write(picks, m_request.project, m_request.out, &error))
        return failed(tr("\"%1\" could not be written (%2); nothing was written, an existing file is kept")
                          .arg(m_request.out, error));
    result(m_request.out);
    return Done;
}

// ---------------------------------------------------------------------------
// report

CReportParameter BatchRunner::reportParameter(const BatchRequest &request)
{
    const ProjectInfo *info = ProjectInfo::instance();
    CReportParameter para;
    para.setExportFormat(BatchRequest::reportFormat(request.out));
    para.setFromDepth(float(request.hasFrom ? request.from : info->start() / double(kDepthUnitsPerMetre)));
    para.setToDepth(float(request.hasTo ? request.to : info->maxDepth() / double(kDepthUnitsPerMetre)));
    para.setColumnsPerPage(request.columns);
    para.setWithHeader(request.header);
    para.setWithGridLines(request.grid);
    para.setWithStructures(request.structures);
    para.setWithFrequency(request.frequency);
    if (request.hasStep) {
        para.setDepthStep(float(request.step));
    } else {
        // The step the dialog fills in: its recommendation, as shown (one
        // decimal), never below what the dialog accepts.
        const int recommended = ReportDlg::recommendedStep(info->diameter(), request.columns, request.header,
                                                           request.frequency && para.exportFormat() == 1);
        const double shown = QString::number(recommended / 10000.0, 'f', 1).toDouble();
        para.setDepthStep(float(qMax(shown, ReportDlg::kMinimumStep)));
    }
    // What the window adds to the dialog's choices, with its start values.
    ReportController::completeReportParameter(para, 0);
    return para;
}

int BatchRunner::runReport()
{
    if (!openProject())
        return failed(tr("the project file \"%1\" could not be opened").arg(m_request.project));
    const ProjectInfo *info = ProjectInfo::instance();
    if (info->direction() == QLatin1String("up"))
        return failed(tr("the project is logged upwards; open it once in KORA, which turns it "
                         "downwards, then make the report"));
    int from = 0;
    int to = 0;
    if (!range(&from, &to))
        return UsageError;
    const CReportParameter para = reportParameter(m_request);
    const QString problem = QReportBuilder::layoutProblem(ReportProjectFacts::fromProject(), para.depthStep());
    if (!problem.isEmpty())
        return failed(problem);

    const QString db = info->projectPath();
    QReportBuilder *builder = ReportController::createBuilder(db, para);
    builder->setFileName(QFileInfo(m_request.out).absoluteFilePath());
    builder->setExtraPage(StructuresPage::forReport(db, para));

    // Blocks of one step each, from the whole metre above the range down
    // to its end.
    BatchProgress progress(m_label);
    const int step = QReportBuilder::stepUnits(para.depthStep());
    const int blocks = (to - int(para.fromDepth()) * kDepthUnitsPerMetre + step - 1) / step;
    QEventLoop loop;
    QExportReportThread thread(builder);
    QObject::connect(builder, &QReportBuilder::signalOneImageProcessed, &loop,
                     [&](int number) { progress.update(number + 1, blocks); });
    QObject::connect(&thread, &QThread::finished, &loop, &QEventLoop::quit);
    thread.start();
    loop.exec();
    thread.wait();
    // Signals still queued for the progress are of no use now.
    QCoreApplication::removePostedEvents(&loop);

    const bool ok = builder->succeeded();
    const QString why = builder->errorText();
    const QString written = builder->fileName();
    delete builder;
    if (!ok)
        return failed(tr("%1; the report was not written, an existing file is kept").arg(why));
    result(written);
    return Done;
}

// ---------------------------------------------------------------------------
// pages

int BatchRunner::runPages()
{
    if (!openProject())
        return failed(tr("the project file \"%1\" could not be opened").arg(m_request.project));
    ProjectInfo *info = ProjectInfo::instance();
    if (info->direction() == QLatin1String("up"))
        return failed(tr("the project is logged upwards; open it once in KORA, which turns it "
                         "downwards, then save its pages"));
    if (info->imageWidth() <= 0 || info->diameter() <= 0)
        return failed(tr("the project has no readable images or no borehole diameter"));
    int from = 0;
    int to = 0;
    if (!range(&from, &to))
        return UsageError;

    // Pages as long as the window allows, cut at whole pieces so that the
    // pieces follow on from page to page.
    const int step = m_request.pieceDepthMm * 10;
    const double longest = PageAssembler::maxPageDepth(info->imageWidth(), pixelsPerUnit);
    const int pageDepth = qMax(step, int(longest / step) * step);
    const QString base = QFileInfo(m_request.out).absoluteFilePath();
    ReadBigImageThread::setPieceDelay(0);
    BatchProgress progress(m_label);

    QStringList written;
    for (int start = from; start < to; start += pageDepth) {
        const int end = int(qMin<qint64>(qint64(start) + pageDepth, to));
        QGraphicsScene scene;
        PageAssembler page(&scene, info);
        info->setPageStart(start);
        info->setPageEnd(end);
        page.startRead(start, end);
        page.addScales();

        QEventLoop loop;
        ReadBigImageThread reader(info->projectPath(), start, end);
        QObject::connect(&reader, &ReadBigImageThread::readOneBigImage, &loop, [&](KdImage piece) {
            QImage scaled;
            if (QGraphicsPixmapItem *item = page.add(piece, pixelsPerUnit, &scaled))
                item->setPixmap(QPixmap::fromImage(scaled));
            progress.update(qMin(piece.endDepth(), end) - from, to - from);
        });
        QObject::connect(&reader, &ReadBigImageThread::readThreadFinished, &loop, &QEventLoop::quit,
                         Qt::QueuedConnection);
        reader.start();
        loop.exec();
        reader.wait();

        if (m_request.original) {
            PageRenderer::hideAllButImages(&scene);
        } else {
            // The stored structure picks, drawn as the page on screen draws them.
            GraphicsStructurePickItem::Page geometry;
            QString why;
            const GraphicsLeftScaleItem *left = page.leftScale();
            if (StructurePickController::pageGeometry(left, scene.sceneRect().width(), &geometry, &why)) {
                const QVector<StructurePick> picks =
                    StructurePickStore(info->projectPath()).picks(left->startDepth(), left->endDepth());
                for (const StructurePick &pick : picks)
                    scene.addItem(new GraphicsStructurePickItem(geometry, pick));
            }
        }
        PageRenderer renderer(&scene, page.leftScale(), info->pageStart(), info->pageEnd());
        const bool ok = info->pageEnd() > start
                        && renderer.renderPage(step, base, m_request.original, false);
        written << renderer.writtenFiles();
        if (!ok) {
            for (const QString &file : qAsConst(written))
                result(file);
            return failed(tr("the pieces from %1 m on could not be written (the disk may be full, "
                             "or the range holds no images)")
                              .arg(metres(start)));
        }
    }
    progress.update(1, 1);
    for (const QString &file : qAsConst(written))
        result(file);
    return Done;
}
