// The wall at its true depth everywhere: magenta bands planted by kora-sample
// at known depths are looked for on pages with many starts, in the saved
// pieces of each page and in a report, on projects that start at 1960.3 m and
// at 0.5 m, across a gap of missing pieces, with pieces of other widths, with
// an undecodable piece and after a depth correction.

#include <QDoubleSpinBox>
#include <QPainter>
#include <QtTest>
#include <algorithm>
#include <cmath>

#include "../project/projecttesthelpers.h"
#include "correctdepththread.h"
#include "graphicsleftscaleitem.h"
#include "graphicsscene.h"
#include "mainwindow.h"
#include "modalwatcher.h"
#include "pagerenderer.h"
#include "qreportbuilder.h"
#include "shelltestsupport.h"

namespace {

const int kThickness = 50; // depth units of a band (the tool's default 5 mm)

// What differs between the magenta bands found on picture, whose row 0 starts
// at depth origin, at rowsPerUnit, and those expected there, leaving out bands
// the picture's edges may cut.
QString compareBands(const QImage &picture, double origin, double rowsPerUnit, const QVector<double> &expected,
                     double tolerance, const QString &where)
{
    QVector<double> found; // the middles of the bands
    for (int y = 0, first = -1; y <= picture.height(); ++y) {
        bool on = y < picture.height();
        for (double f : {0.02, 0.5, 0.98}) {
            const QRgb p = on ? picture.pixel(int(f * (picture.width() - 1)), y) : 0;
            on = on && qRed(p) > 170 && qBlue(p) > 170 && qGreen(p) < 110;
        }
        if (on && first < 0)
            first = y;
        if (!on && first >= 0)
            found << origin + ((std::exchange(first, -1) + y - 1) / 2.0 + 0.5) / rowsPerUnit;
    }
    const double from = origin + kThickness + tolerance * 2.0;
    const double to = origin + picture.height() / rowsPerUnit - kThickness - tolerance * 2.0;
    const auto near = [tolerance](const QVector<double> &list, double d) {
        return std::any_of(list.begin(), list.end(), [&](double x) { return std::fabs(x - d) <= tolerance; });
    };
    QString problems;
    for (double e : expected)
        if (e > from && e < to && !near(found, e))
            problems += QStringLiteral(" band %1 m not found;").arg(e / 1e4, 0, 'f', 4);
    for (double f : found)
        if (f > from && f < to && !near(expected, f))
            problems += QStringLiteral(" band at %1 m should not be there;").arg(f / 1e4, 0, 'f', 4);
    return problems.isEmpty() ? QString() : where + problems;
}

// Keeps every block of a report with the depth its wall starts at.
class BlockCatcher : public QReportBuilder
{
public:
    BlockCatcher(const QString &db, float from, float to, float step) : QReportBuilder(job(db, from, to, step)) {}
    static ReportJob job(const QString &db, float from, float to, float step)
    {
        ReportJob job(db, from, to, 1);
        job.parameter.setColumnsPerPage(1);
        job.parameter.setDepthStep(step);
        job.parameter.setWithHeader(false);
        job.parameter.setWithGridLines(false);
        return job;
    }
    void placeBlock(const QImage &block) override
    {
        walls << block.copy(scaleBand(), 20, imageWidth(), imageHeight());
        starts << m_nLastDepth;
        labels << depthLabels(1).value(0);
        QReportBuilder::placeBlock(block);
    }
    void drawHeader() override {}
    void newPage() override {}

    QList<QImage> walls;
    QList<int> starts;
    QStringList labels;
};

// The largest over the smallest density (rows per depth unit) of the stored pieces.
double densitySpread(const QString &path, int start)
{
    ProjectTest::Inspector inspect(path);
    QVector<double> d;
    for (int id : inspect.ids())
        d << ReadBigImageThread::decodeImage(inspect.blob(id)).height() / double(id - std::exchange(start, id));
    const auto range = std::minmax_element(d.begin(), d.end());
    return *range.second / *range.first;
}

// Depth correction of the project at path by factor, as the window runs it.
bool correctDepth(const QString &path, double factor)
{
    ProjectTest::openProject(path);
    CorrectDepthThread worker(path, int(std::lround(ProjectInfo::instance()->maxDepth() * factor / 10.0)));
    worker.start();
    worker.wait();
    return worker.succeeded();
}

} // namespace

class TestDepthPlacement : public QObject
{
    Q_OBJECT

    QTemporaryDir m_settings;
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        ShellTest::setUp(m_settings);
        QReportBuilder::setBlockPause(0);
    }

    void sameWallEverywhere_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QVector<double>>("markers"); // metres
        QTest::addColumn<double>("correction");       // real over test depth; 1 for none
        QTest::addColumn<double>("stretch");          // largest depth span of a stored row, in rows
        QTest::addColumn<QStringList>("pageStarts");
        QTest::addColumn<QVector<double>>("report");  // from, to (0: the end), step, metres

        const auto row = [](const char *name, const QStringList &args, const QVector<double> &markers,
                            double correction, double stretch, const QStringList &pageStarts,
                            const QVector<double> &report) {
            QTest::newRow(name) << args << markers << correction << stretch << pageStarts << report;
        };
        const QVector<double> deep{1961.42, 1965.05, 1968.77};
        const QStringList deepArgs{"--from", "1960.3", "--to", "1972", "--seed", "3"};
        row("start 1960.3 m", deepArgs, deep, 1, 1, {"1960.3", "1961", "1961.2", "1963.57", "1966"}, {1960, 0, 1});
        row("after a depth correction", deepArgs, deep, 1.1, 1.1, {"2157", "2157.3", "2159.45", "2162"},
            {2157.2, 0, 0.7});
        row("start 0.5 m, a piece that does not decode", {"--from", "0.5", "--to", "8", "--bad-piece", "2"},
            {1.42, 4.37, 6.01}, 1, 1, {"0", "0.5", "1.3", "2"}, {0, 0, 0.8});
        // The piece at 111 m holds the wall of 110-111 m spread over 10-111 m:
        // bands at 110.96 and 110.98 m of that wall belong at 107.2 and 109.2 m.
        row("across a gap", {"--to", "120", "--missing-range", "10:111"}, {8.2, 110.96, 110.98, 113.9}, 1, 101,
            {"106", "108", "110", "105.55", "7"}, {104.5, 0, 1});
        row("pieces of other widths, report inside metres",
            {"--to", "6", "--piece-width", "0:200", "--piece-width", "2:800", "--piece-width", "3:399"},
            {0.5, 2.5, 3.2}, 1, 1, {"0", "0.3", "2.1"}, {0.35, 4.35, 1});
    }

    void sameWallEverywhere()
    {
        QFETCH(QStringList, args);
        QFETCH(QVector<double>, markers);
        QFETCH(double, correction);
        QFETCH(double, stretch);
        QFETCH(QStringList, pageStarts);
        QFETCH(QVector<double>, report);

        for (double m : markers)
            args << QStringLiteral("--marker") << QString::number(m);
        const QString name = QString::number(qHash(QByteArray(QTest::currentDataTag()))) + ".prj";
        const QString path = ShellTest::makeProject(m_dir, name, args);
        QVERIFY(!path.isEmpty());
        // Where the middle of each band belongs, depth units.
        QVector<double> expected;
        for (double m : markers) {
            double middle = m * 1e4 + kThickness / 2.0;
            if (stretch > 2.0 && middle > 1100000.0 && middle < 1110000.0)
                middle = 100000.0 + (middle - 1100000.0) * stretch; // in the piece below the gap
            expected << middle * correction;
        }
        if (correction != 1.0) {
            // The start moves with the wall, and every piece keeps its density.
            QVERIFY(correctDepth(path, correction));
            ProjectInfo::instance()->loadProjectInfo();
            QCOMPARE(ProjectInfo::instance()->start(), int(std::lround(19603000 * correction)));
            const double spread = densitySpread(path, ProjectInfo::instance()->start());
            QVERIFY2(spread <= 1.02, qPrintable(QString::number(spread)));
        }

        MainWindow w;
        ModalWatcher watcher;
        SHELL_OPEN_PROJECT(&w, path);
        ProjectInfo *info = ProjectInfo::instance();
        const double ppu = pixelsPerUnit;
        const int width = info->imageWidth();
        const double pageTolerance = 1.0 / ppu + stretch / ppu;
        QStringList problems;
        for (const QString &start : pageStarts) {
            ShellTest::typeInto(w.fileInfoWidget()->startSpin, start);
            ShellTest::typeInto(w.fileInfoWidget()->endSpin,
                                QString::number(std::min(start.toDouble() + 5.0, info->maxDepth() / 1e4)));
            w.handleGoPressed();
            SHELL_WAIT_READ(&w);
            QVERIFY2(watcher.count() == 0, qPrintable(start + QLatin1Char(' ') + watcher.texts().join(' ')));
            const int top = int(w.leftScale()->startDepth());
            const int height = int(w.scene()->sceneRect().height()) - 240;
            QImage page(width, height, QImage::Format_RGB32);
            page.fill(Qt::white);
            QPainter painter(&page);
            w.scene()->render(&painter, QRectF(page.rect()), QRectF(1300, 120, width, height));
            painter.end();
            const QString where = QStringLiteral("page from %1 m:").arg(start);
            problems << compareBands(page, top, ppu, expected, pageTolerance, where);

            // The saved pieces of the page (image column only, 1 m each).
            const PageRenderer renderer(w.scene(), w.leftScale(), info->pageStart(), info->pageEnd());
            for (int s = info->pageStart(); s < info->pageEnd(); s += 10000) {
                const QImage piece = renderer.renderPiece(s, std::min(s + 10000, info->pageEnd()), true);
                const double origin = top + (renderer.sceneY(s) - 120) / ppu;
                problems << compareBands(piece, origin, ppu, expected, pageTolerance,
                                         where + QStringLiteral(" saved from %1 m:").arg(s / 1e4));
            }
        }

        // The report starts where asked (or where the wall does), each block's
        // first label where its wall starts; a piece that does not decode stays
        // white at its depths, with a log line.
        if (args.contains(QStringLiteral("--bad-piece")))
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("could not be decoded; its span is left white"));
        const double to = report.at(1) > 0.0 ? report.at(1) : info->maxDepth() / 1e4;
        BlockCatcher builder(path, float(report.at(0)), float(to), float(report.at(2)));
        builder.generate();
        QVERIFY2(builder.succeeded(), qPrintable(builder.errorText()));
        const int step = QReportBuilder::stepUnits(float(report.at(2)));
        const int from = std::max(int(std::lround(report.at(0) * 1e4)), info->start());
        QVERIFY(std::abs(builder.starts.value(0) - from) <= 2); // From is a 32-bit float
        QCOMPARE(builder.walls.size(), int(std::ceil((std::lround(to * 1e4) - from) / double(step))));
        const double rowsPerUnit = double(builder.imageHeight()) / step;
        for (int i = 0; i < builder.walls.size(); ++i) {
            const int start = builder.starts.at(i);
            QVERIFY2(std::fabs(builder.labels.at(i).toDouble() * 1e4 - start) <= 50.0,
                     qPrintable(builder.labels.at(i)));
            problems << compareBands(builder.walls.at(i), start, rowsPerUnit, expected, 1.0 / rowsPerUnit + stretch / ppu,
                                     QStringLiteral("report block from %1 m:").arg(start / 1e4));
        }
        problems.removeAll(QString());
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    void correctionRefusedWithAPieceAboveTheStart()
    {
        // A record whose start lies below the first piece: the correction would
        // leave that piece above the start, where no page reaches it.
        const QString path = ShellTest::makeProject(m_dir, "above.prj", {"--from", "2", "--to", "6"});
        QVERIFY(!path.isEmpty());
        QVERIFY(ProjectTest::Inspector(path).exec("update projectInfo set start = 35000"));
        const QByteArray before = ShellTest::fileHash(path);
        QVERIFY(!before.isEmpty());
        QVERIFY(!correctDepth(path, 1.25));
        QCOMPARE(ShellTest::fileHash(path), before);
    }
};

QTEST_MAIN(TestDepthPlacement)
#include "tst_depthplacement.moc"
