// Benchmark of the page mode of QQueryBigImages (run by hand, not by CTest):
// the time to assemble pages must grow in proportion to the number of
// pieces.
//
// For each count N (default 1000, 2000, 3000) it makes a sample project of N
// pieces of 5 cm (width 100 px, about 16 rows a piece) and reads it in page
// mode twice: as one page holding every piece, and in 2 m pages. It prints
// the best time of each and the time per piece; linear assembly keeps the
// time per piece flat as N grows.
//
//   bench_project_pageassembly [--counts 1000,2000,3000] [--repeat N]

#include "globals.h"
#include "qquerybigimages.h"
#include "samplefixture.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

namespace {

const int kWidth = 100;
const int kPieceUnits = 500; // 5 cm

struct Timing
{
    double ms = 0;
    int pages = 0;
    qint64 rows = 0;
};

Timing bestOf(int repeat, QQueryBigImages &reader, int metres, int pageDepth)
{
    Timing best;
    best.ms = 1e300;
    for (int i = 0; i < repeat; ++i) {
        Timing t;
        QMetaObject::Connection c = QObject::connect(
            &reader, &QQueryBigImages::ProgressingImageJointer, &reader,
            [&t](QImage page, int) {
                ++t.pages;
                t.rows += page.height();
            },
            Qt::DirectConnection);
        QElapsedTimer timer;
        timer.start();
        reader.queryRange(0, metres, pageDepth);
        t.ms = timer.nsecsElapsed() / 1e6;
        QObject::disconnect(c);
        if (t.ms < best.ms)
            best = t;
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"counts", "Piece counts, comma-separated (default 1000,2000,3000).", "LIST",
                      "1000,2000,3000"});
    parser.addOption({"repeat", "Runs per measurement, best taken (default 3).", "N", "3"});
    parser.process(app);
    const int repeat = std::max(1, parser.value("repeat").toInt());
    QList<int> counts;
    for (const QString &c : parser.value("counts").split(QLatin1Char(',')))
        if (c.toInt() >= 20)
            counts << c.toInt() / 20 * 20; // whole metres of 5 cm pieces

    QTextStream out(stdout);
    out.setRealNumberNotation(QTextStream::FixedNotation);
    QTemporaryDir dir;
    pixelsPerUnit = kWidth / (1000 * kPi);
    out << "page mode of QQueryBigImages, pieces of 5 cm, " << kWidth << " px wide, best of " << repeat
        << "\n";
    out << "pieces | one page: ms   ms/1000 pieces | 2 m pages: ms   ms/1000 pieces\n";
    for (int count : counts) {
        const int metres = count * kPieceUnits / 10000;
        const QString path = dir.filePath(QStringLiteral("bench-%1.prj").arg(count));
        if (!SampleFixture::make(path, {"--to", QString::number(metres), "--piece", "0.05", "--width",
                                        QString::number(kWidth), "--diameter", "100", "--quiet"})) {
            out << "could not make the sample project of " << count << " pieces\n";
            return 1;
        }
        QQueryBigImages reader;
        if (!reader.open(path)) {
            out << "could not open " << path << "\n";
            return 1;
        }
        const Timing whole = bestOf(repeat, reader, metres, metres * 10000);
        const Timing paged = bestOf(repeat, reader, metres, 20000);
        reader.close();
        out.setRealNumberPrecision(1);
        out << qSetFieldWidth(6) << count << qSetFieldWidth(0) << " | " << qSetFieldWidth(12) << whole.ms
            << qSetFieldWidth(16) << whole.ms * 1000 / count << qSetFieldWidth(0) << " | "
            << qSetFieldWidth(13) << paged.ms << qSetFieldWidth(16) << paged.ms * 1000 / count
            << qSetFieldWidth(0) << "   (" << whole.pages << " + " << paged.pages << " pages, " << whole.rows
            << " rows)\n";
        out.flush();
    }
    return 0;
}
