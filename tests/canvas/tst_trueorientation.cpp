// True dip and dip direction of planes picked on the walls of inclined holes: points on the trace the
// sample tool draws for a plane of known true orientation, fitted and turned into the geographic
// frame, give the plane back. A vertical survey changes nothing.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <cmath>

#include "samplefixture.h"
#include "sinusoidfit.h"
#include "trueorientation.h"

class TstTrueOrientation : public QObject
{
    Q_OBJECT

private slots:
    void planesOnInclinedWalls_data();
    void planesOnInclinedWalls();
    void verticalSurveyChangesNothing();
};

void TstTrueOrientation::planesOnInclinedWalls_data()
{
    for (const char *column : {"dip", "direction", "inclination", "holeAzimuth"})
        QTest::addColumn<double>(column);
    QTest::addColumn<QString>("reference");
    QTest::newRow("vertical hole, gentle plane") << 10.0 << 30.0 << 0.0 << 0.0 << "north";
    QTest::newRow("vertical hole, high side asked") << 45.0 << 120.0 << 0.0 << 0.0 << "highside";
    QTest::newRow("vertical hole, steep plane") << 80.0 << 250.0 << 0.0 << 0.0 << "north";
    QTest::newRow("30° hole, north") << 30.0 << 200.0 << 30.0 << 45.0 << "north";
    QTest::newRow("30° hole, high side") << 60.0 << 200.0 << 30.0 << 45.0 << "highside";
    QTest::newRow("45° hole, steep plane, north") << 80.0 << 300.0 << 45.0 << 310.0 << "north";
    QTest::newRow("45° hole, gentle plane, high side") << 10.0 << 90.0 << 45.0 << 310.0 << "highside";
    QTest::newRow("60° hole, north") << 50.0 << 140.0 << 60.0 << 160.0 << "north";
    QTest::newRow("60° hole, high side") << 70.0 << 330.0 << 60.0 << 160.0 << "highside";
    QTest::newRow("60° hole towards north-east") << 20.0 << 75.0 << 60.0 << 20.0 << "north";
    QTest::newRow("15° hole, high side") << 40.0 << 260.0 << 15.0 << 270.0 << "highside";
}

void TstTrueOrientation::planesOnInclinedWalls()
{
    QFETCH(double, dip);
    QFETCH(double, direction);
    QFETCH(double, inclination);
    QFETCH(double, holeAzimuth);
    QFETCH(QString, reference);
    QTemporaryDir dir;
    const QString project = dir.filePath("hole.prj"), csv = dir.filePath("truth.csv");
    const int width = 720;
    const double diameter = 1000.0; // 100 mm in depth units
    QVERIFY(SampleFixture::make(project, QStringLiteral("--from 0 --to 3 --piece 3 --width %1 --diameter 100 --plane "
                                                        "1.5:%2:%3 --inclination %4 --hole-azimuth %5 --reference %6")
                                             .arg(width).arg(dip).arg(direction).arg(inclination).arg(holeAzimuth)
                                             .arg(reference).split(' ') << "--features-csv" << csv));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList truth = QString::fromUtf8(file.readAll()).split('\n').value(1).split(',');
    QCOMPARE(truth.value(3), QString("fracture"));

    // The user's clicks: in columns around the hole, the darkest row near
    // where the tool says the trace runs.
    QImage wall;   // the single piece, as long as the hole
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("piece"));
        db.setDatabaseName(project);
        QSqlQuery q(db);
        if (db.open() && q.exec(QStringLiteral("select data from bigImages")) && q.next())
            wall.loadFromData(q.value(0).toByteArray(), "JPG");
    }
    QSqlDatabase::removeDatabase(QStringLiteral("piece"));
    QVERIFY(!wall.isNull());
    const double rowsPerUnit = width / (diameter * 3.14);
    const double amplitude = diameter / 2.0 * std::tan(qDegreesToRadians(truth.value(4).toDouble()));   // apparent dip
    QVector<QPointF> points;
    for (int i = 0; i < 36; ++i) {
        const int x = i * width / 36 + 3;
        const double azimuth = (x + 0.5) / width * 360.0;
        const double expected = (15000.0 + amplitude * std::cos(qDegreesToRadians(azimuth - truth.value(5).toDouble())))
                                * rowsPerUnit;
        int best = -1, darkest = 1 << 30;
        for (int y = qMax(0, int(expected) - 8); y <= qMin(wall.height() - 1, int(expected) + 8); ++y) {
            const int sum = qGray(wall.pixel(x - 1, y)) + qGray(wall.pixel(x, y)) + qGray(wall.pixel(x + 1, y));
            if (sum < darkest)
                darkest = sum, best = y;
        }
        QVERIFY2(darkest < 3 * 90, qPrintable(QString("no trace near row %1").arg(expected)));
        points.append(QPointF(azimuth, (best + 0.5) / rowsPerUnit));
    }
    const SinusoidFit fit = fitSinusoid(points, diameter);
    QVERIFY(fit.valid);

    const TrueOrientation orientation(HoleSurvey::straight(inclination, holeAzimuth,
                                                           HoleSurvey::referenceOfWord(reference)));
    double trueDip = 0.0, trueDirection = 0.0;
    orientation.toTrue(fit.depth, fit.dip, fit.dipDirection, &trueDip, &trueDirection);
    const QString found = QString("true %1/%2, measured %3/%4").arg(trueDip).arg(trueDirection).arg(fit.dip).arg(fit.dipDirection);
    QVERIFY2(std::fabs(trueDip - dip) < 1.0, qPrintable(found));
    QVERIFY2(std::fabs(std::fmod(trueDirection - direction + 540.0, 360.0) - 180.0) < 3.0, qPrintable(found));
}

// Straight down, by one station or several, with either reference: the
// true values are the measured ones, to the last bit.
void TstTrueOrientation::verticalSurveyChangesNothing()
{
    QVector<StructurePick> picks;
    for (int i = 0; i < 40; ++i)
        picks << StructurePick{i + 1, 1234.5 + i * 977.25, std::fmod(i * 7.31, 90.0), std::fmod(i * 47.9, 360.0)};
    HoleSurvey stations;
    stations.setStations({{0.0, 0.0, 0.0}, {50.0, 0.0, 120.0}, {400.0, 0.0, 300.0}});
    for (const HoleSurvey::Reference reference : {HoleSurvey::North, HoleSurvey::HighSide}) {
        stations.setReference(reference);
        for (const TrueOrientation &orientation : {TrueOrientation(HoleSurvey::straight(0.0, 77.0, reference)),
                                                   TrueOrientation(stations)}) {
            QVERIFY(orientation.isActive());
            QCOMPARE(orientation.corrected(picks), picks);
        }
    }
    QVERIFY(TrueOrientation(HoleSurvey::straight(0.0, 0.0, HoleSurvey::HighSide)).highSideFallsBackToNorth());
}

QTEST_GUILESS_MAIN(TstTrueOrientation)
#include "tst_trueorientation.moc"
