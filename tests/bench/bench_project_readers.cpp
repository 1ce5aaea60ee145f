// Benchmark of the big-image readers (run by hand, not by CTest).
//
// Makes a 50 m sample project (width 1000 px, diameter 100 mm) in a
// temporary folder, reads it through QQueryBigImages in raw mode and in page
// mode (2 m pages at scale 0.5), and prints each time against a plain decode
// of the same blobs (QImage::loadFromData over every blob).
//
//   bench_project_readers [--metres N] [--width PX] [--repeat N]

#include "globals.h"
#include "qquerybigimages.h"
#include "samplefixture.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <QVariant>
#include <algorithm>
#include <cstdio>

namespace {

QList<QByteArray> loadBlobs(const QString &path)
{
    QList<QByteArray> blobs;
    const QString name = QStringLiteral("bench-blobs");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("select data from bigImages order by id")))
                while (q.next())
                    blobs << q.value(0).toByteArray();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return blobs;
}

template <typename F>
double bestOf(int repeat, F f)
{
    double best = 1e300;
    for (int i = 0; i < repeat; ++i) {
        QElapsedTimer timer;
        timer.start();
        f();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"metres", "Length of the sample project (default 50).", "N", "50"});
    parser.addOption({"width", "Image width in pixels (default 1000).", "PX", "1000"});
    parser.addOption({"repeat", "Runs per measurement, best taken (default 3).", "N", "3"});
    parser.process(app);
    const int metres = std::max(2, parser.value("metres").toInt());
    const int width = std::max(16, parser.value("width").toInt());
    const int repeat = std::max(1, parser.value("repeat").toInt());

    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.prj"));
    if (!SampleFixture::make(path, {"--to", QString::number(metres), "--width", QString::number(width),
                                    "--diameter", "100", "--quiet"})) {
        out << "could not make the sample project\n";
        return 1;
    }
    const QList<QByteArray> blobs = loadBlobs(path);
    qint64 bytes = 0;
    for (const QByteArray &b : blobs)
        bytes += b.size();
    out << "project: " << metres << " m, " << blobs.size() << " pieces, width " << width << " px, "
        << bytes / 1024 << " KiB of JPEG\n";

    // Baseline: decode every blob once.
    int decoded = 0;
    const double plain = bestOf(repeat, [&]() {
        decoded = 0;
        for (const QByteArray &b : blobs) {
            QImage image;
            if (image.loadFromData(b, "JPG"))
                ++decoded;
        }
    });

    pixelsPerUnit = width / (1000 * kPi);
    QQueryBigImages reader;
    if (!reader.open(path)) {
        out << "could not open the sample project\n";
        return 1;
    }

    // Raw mode: the receiver decodes each buffer, as the report does.
    int rawPieces = 0;
    QObject::connect(&reader, &QQueryBigImages::ProgressingImageBuffers, &reader,
                     [&](int, QByteArray *data) {
                         QImage image;
                         if (image.loadFromData(*data))
                             ++rawPieces;
                     },
                     Qt::DirectConnection);
    const double raw = bestOf(repeat, [&]() {
        rawPieces = 0;
        reader.queryRange(0, metres);
    });

    // Page mode: 2 m pages at half scale.
    int pages = 0;
    QObject::connect(&reader, &QQueryBigImages::ProgressingImageJointer, &reader,
                     [&](QImage image, int) {
                         if (!image.isNull())
                             ++pages;
                     },
                     Qt::DirectConnection);
    reader.setScale(0.5, 0.5);
    const double paged = bestOf(repeat, [&]() {
        pages = 0;
        reader.queryRange(0, metres, 20000);
    });
    reader.close();

    out.setRealNumberNotation(QTextStream::FixedNotation);
    out.setRealNumberPrecision(1);
    out << "plain decode of every blob: " << plain << " ms (" << decoded << " images)\n";
    out.setRealNumberPrecision(2);
    out << "raw mode (read + decode):   " << raw << " ms, " << raw / plain << " x plain (" << rawPieces
        << " buffers)\n";
    out << "page mode (2 m, scale 0.5): " << paged << " ms, " << paged / plain << " x plain (" << pages
        << " pages)\n";
    return 0;
}
