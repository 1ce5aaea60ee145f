// Sinusoid fits of structure picks: true dip and dip direction recovered from
// points along the traces the sample tool plants, and the degenerate inputs.

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

#include "samplefixture.h"
#include "sinusoidfit.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Planted
{
    double depthMetres;
    double dip;
    double direction;
};

// Points a user would click on the trace: the centres of image columns
// spread over [from, from + span) degrees, at whole pixel rows.
QVector<QPointF> pick(const Planted &p, double diameterUnits, int width, double from,
                      double span, int count)
{
    const double unitsPerRow = diameterUnits * kPi / width; // pixels are square
    const double z0 = p.depthMetres * 10000.0;
    const double amplitude = diameterUnits / 2.0 * std::tan(p.dip * kPi / 180.0);
    QVector<QPointF> points;
    for (int i = 0; i < count; ++i) {
        const double wanted = from + span * i / count;
        const double column = std::floor(std::fmod(wanted + 720.0, 360.0) / 360.0 * width);
        double azimuth = (column + 0.5) / width * 360.0;
        if (wanted < 0.0 && azimuth > 180.0)
            azimuth -= 360.0; // the user's click left of north, as a negative azimuth
        const double z = z0 + amplitude * std::cos((azimuth - p.direction) * kPi / 180.0);
        points.append(QPointF(azimuth, std::round(z / unitsPerRow) * unitsPerRow));
    }
    return points;
}

double angleGap(double a, double b)
{
    return std::fabs(std::fmod(a - b + 540.0, 360.0) - 180.0);
}

} // namespace

class TstSinusoidFit : public QObject
{
    Q_OBJECT

private slots:
    void plantedFractures_data();
    void plantedFractures();
    void limitingPlanes_data();
    void limitingPlanes();
    void refusesDegenerateInput_data();
    void refusesDegenerateInput();
};

void TstSinusoidFit::plantedFractures_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("span");
    QTest::newRow("whole width") << 0.0 << 360.0;
    QTest::newRow("a third of the width") << 100.0 << 120.0;
    QTest::newRow("across north") << -60.0 << 120.0;
}

// The sample tool's features CSV is the truth: the fit of points on each
// planted trace gives its dip within 1° and its dip direction within 3°.
void TstSinusoidFit::plantedFractures()
{
    QFETCH(double, from);
    QFETCH(double, span);
    QTemporaryDir dir;
    const QString csv = dir.filePath("features.csv");
    const int width = 1000;
    const double diameterUnits = 1100.0; // 110 mm
    QVERIFY(SampleFixture::make(dir.filePath("wall.prj"),
                                {"--from", "0", "--to", "6", "--diameter", "110", "--width",
                                 QString::number(width), "--seed", "11", "--features-csv", csv}));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    file.readLine();
    int checked = 0;
    while (!file.atEnd()) {
        const QStringList f = QString::fromUtf8(file.readLine()).trimmed().split(',');
        if (f.value(3) != QLatin1String("fracture"))
            continue;
        const Planted p{f[0].toDouble(), f[1].toDouble(), f[2].toDouble()};
        // A trace needs some height on the picture to carry a direction.
        if (p.dip < 10.0)
            continue;
        const SinusoidFit fit = fitSinusoid(pick(p, diameterUnits, width, from, span, 12), diameterUnits);
        QVERIFY(fit.valid);
        QVERIFY2(std::fabs(fit.dip - p.dip) < 1.0,
                 qPrintable(QString("dip %1 planted %2").arg(fit.dip).arg(p.dip)));
        QVERIFY2(angleGap(fit.dipDirection, p.direction) < 3.0,
                 qPrintable(QString("direction %1 planted %2").arg(fit.dipDirection).arg(p.direction)));
        QVERIFY(fit.dipDirection >= 0.0 && fit.dipDirection < 360.0);
        QVERIFY(std::fabs(fit.depth - p.depthMetres * 10000.0) < 5.0);
        ++checked;
    }
    QVERIFY(checked >= 2);
}

void TstSinusoidFit::limitingPlanes_data()
{
    QTest::addColumn<double>("dip");
    QTest::addColumn<double>("direction");
    QTest::newRow("horizontal") << 0.0 << 0.0;
    QTest::newRow("steep") << 85.0 << 300.0;
    QTest::newRow("due north") << 45.0 << 0.0;
}

void TstSinusoidFit::limitingPlanes()
{
    QFETCH(double, dip);
    QFETCH(double, direction);
    const double diameter = 1000.0;
    const double amplitude = diameter / 2.0 * std::tan(dip * kPi / 180.0);
    QVector<QPointF> points;
    for (double a : {10.0, 95.0, 190.0, 280.0})
        points.append(QPointF(a, 50000.0 + amplitude * std::cos((a - direction) * kPi / 180.0)));
    const SinusoidFit fit = fitSinusoid(points, diameter);
    QVERIFY(fit.valid);
    QCOMPARE(qRound(fit.dip * 1000), qRound(dip * 1000));
    if (dip > 0.0)
        QVERIFY(angleGap(fit.dipDirection, direction) < 1e-6);
    QVERIFY(std::fabs(fit.depth - 50000.0) < 1e-6);
    QVERIFY(fit.rms < 1e-6);
    QVERIFY(std::fabs(fit.depthAt(direction) - (50000.0 + amplitude)) < 1e-6);
}

void TstSinusoidFit::refusesDegenerateInput_data()
{
    QTest::addColumn<QVector<QPointF>>("points");
    QTest::addColumn<double>("diameter");
    const QVector<QPointF> three{{0, 10}, {120, 20}, {240, 30}};
    QTest::newRow("two points") << QVector<QPointF>{{0, 10}, {90, 20}} << 1000.0;
    QTest::newRow("one azimuth twice") << QVector<QPointF>{{0, 10}, {360, 12}, {90, 20}} << 1000.0;
    QTest::newRow("no diameter") << three << 0.0;
    QTest::newRow("negative diameter") << three << -5.0;
    QTest::newRow("not a number") << QVector<QPointF>{{0, 10}, {120, qQNaN()}, {240, 30}} << 1000.0;
}

void TstSinusoidFit::refusesDegenerateInput()
{
    QFETCH(QVector<QPointF>, points);
    QFETCH(double, diameter);
    QVERIFY(!fitSinusoid(points, diameter).valid);
}

QTEST_GUILESS_MAIN(TstSinusoidFit)
#include "tst_sinusoidfit.moc"
