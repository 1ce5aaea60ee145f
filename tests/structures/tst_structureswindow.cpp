// The Structures window on a real project: the picks of a depth range reach
// the plots, the exports are real pictures, and the file is left unchanged.

#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include "roseplot.h"
#include "samplefixture.h"
#include "stereonet.h"
#include "stereonetplot.h"
#include "structurepickstore.h"
#include "structureswindow.h"
#include "tadpoleplot.h"

namespace {

QByteArray hashOf(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

int pixelsNear(const QImage &image, const QColor &colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - colour.red()) < 30 && qAbs(c.green() - colour.green()) < 30
                && qAbs(c.blue() - colour.blue()) < 30)
                ++n;
        }
    return n;
}

} // namespace

class TstStructuresWindow : public QObject
{
    Q_OBJECT

private slots:
    void roseBins_data();
    void roseBins();
    void picksOfARangeAreShownAndExported();
    void crowdedNetFollowsNewPicks();
    void failedExportSaysWhy_data();
    void failedExportSaysWhy();
};

void TstStructuresWindow::roseBins_data()
{
    QTest::addColumn<QVector<double>>("directions");
    QTest::addColumn<QVector<int>>("binOfEach"); // of each direction counted
    QTest::newRow("bin edges") << QVector<double>{0, 9.99, 10, 359.9} << QVector<int>{0, 0, 1, 35};
    QTest::newRow("360, -10 and 720.5 wrap") << QVector<double>{360, -10, 720.5} << QVector<int>{0, 35, 0};
    QTest::newRow("not a number is left out") << QVector<double>{qQNaN(), 5} << QVector<int>{0};
}

void TstStructuresWindow::roseBins()
{
    QFETCH(QVector<double>, directions);
    QFETCH(QVector<int>, binOfEach);
    QVector<int> expected(36, 0);
    for (int bin : binOfEach)
        ++expected[bin];
    QCOMPARE(RosePlot::binCounts(directions), expected);
}

void TstStructuresWindow::picksOfARangeAreShownAndExported()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("picks.prj");
    QVERIFY(SampleFixture::make(path, {"--from", "0", "--to", "3", "--width", "200", "--quiet"}));
    StructurePickStore store(path);
    for (int i = 0; i < 3; ++i) {
        StructurePick p;
        p.depth = 5000 + i * 10000; // 0.5, 1.5 and 2.5 m
        p.dip = 30 + 20 * i;
        p.dipDirection = 90 * i;
        p.type = i == 2 ? QStringLiteral("bedding") : QStringLiteral("fracture");
        QVERIFY(store.add(&p));
    }
    const QByteArray before = hashOf(path);

    StructuresWindow window;
    window.setProject(path, 0, 20000); // the first two metres
    QCOMPARE(window.picks().size(), 2);
    QCOMPARE(window.stereonet()->picks().size(), 2);

    const QString png = dir.filePath("net.png");
    const QString svg = dir.filePath("rose.svg");
    QVERIFY(window.stereonet()->exportTo(png, QSize(400, 400)));
    QVERIFY(window.rose()->exportTo(svg, QSize(400, 400)));
    const QImage picture(png);
    QCOMPARE(picture.size(), QSize(400, 400));
    QVERIFY(pixelsNear(picture, StructurePick::typeColour("fracture")) > 10);
    QVERIFY(pixelsNear(picture, StructurePick::typeColour("bedding")) == 0);
    QFile drawing(svg);
    QVERIFY(drawing.open(QIODevice::ReadOnly));
    const QByteArray text = drawing.readAll();
    QVERIFY(text.contains("<svg") && text.contains("<path"));

    // "Mean of" a type: the mean of its picks; a type with no pick in the
    // range has no mean at all (not one at the centre).
    auto *meanOf = window.findChild<QComboBox *>();
    QVERIFY(meanOf);
    meanOf->setCurrentIndex(meanOf->findData(QStringLiteral("fracture")));
    QCOMPARE(window.stereonet()->meanPlane().value_or(qMakePair(-1.0, -1.0)), fisherMeanPlane({{30.0, 0.0}, {50.0, 90.0}}));
    meanOf->setCurrentIndex(meanOf->findData(QStringLiteral("bedding")));
    QVERIFY(!window.stereonet()->meanPlane().has_value());

    QCOMPARE(hashOf(path), before);
}

void TstStructuresWindow::crowdedNetFollowsNewPicks()
{
    // A crowded net keeps its great circles between paints: new picks must
    // still show at once, as a fresh plot of them shows them.
    auto crowd = [](double dipDirection) {
        QVector<StructurePick> picks;
        for (int i = 0; i < 2500; ++i) {
            StructurePick p;
            p.dip = 20.0 + i % 60;
            p.dipDirection = dipDirection + i % 40;
            picks << p;
        }
        return picks;
    };
    StereonetPlot plot;
    plot.setGreatCircles(true);
    plot.setPicks(crowd(0.0));
    const QImage first = plot.toImage(QSize(400, 400));
    QCOMPARE(plot.toImage(QSize(400, 400)), first);
    plot.setPicks(crowd(180.0));
    const QImage second = plot.toImage(QSize(400, 400));
    QVERIFY(second != first);

    StereonetPlot fresh;
    fresh.setGreatCircles(true);
    fresh.setPicks(crowd(180.0));
    QCOMPARE(fresh.toImage(QSize(400, 400)), second);
}

void TstStructuresWindow::failedExportSaysWhy_data()
{
    QTest::addColumn<QString>("place");
    QTest::newRow("missing folder") << "missing";
    QTest::newRow("read-only folder") << "folder";
    QTest::newRow("read-only file") << "file";
}

// A plot that cannot be written says why and leaves what was there.
void TstStructuresWindow::failedExportSaysWhy()
{
    QFETCH(QString, place);
    QTemporaryDir dir;
    const bool missing = place == QLatin1String("missing"), file = place == QLatin1String("file");
    const QString folder = dir.filePath(missing ? "gone" : "out"), target = folder + "/plot.png";
    if (!missing) {
        QFile earlier(target);
        QVERIFY(QDir(dir.path()).mkdir("out") && earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
        earlier.close();
        QVERIFY(QFile::setPermissions(file ? target : folder, QFile::ReadOwner | (file ? QFile::Permissions() : QFile::ExeOwner)));
    }
    QString why;
    const bool written = RosePlot().exportTo(target, QSize(200, 200), &why);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!written);
    QCOMPARE(why, missing ? QStringLiteral("the folder \"%1\" does not exist").arg(folder)
                  : file  ? QStringLiteral("the file \"plot.png\" is read-only")
                          : QStringLiteral("the folder \"%1\" is read-only").arg(folder));
    QFile now(target);
    QCOMPARE(now.open(QIODevice::ReadOnly) ? now.readAll() : QByteArray(), missing ? QByteArray() : QByteArray("earlier"));
    QVERIFY(!QFile::exists(target + ".part"));
}

QTEST_MAIN(TstStructuresWindow)
#include "tst_structureswindow.moc"
