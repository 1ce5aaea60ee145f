// Equal-area net positions of poles and the Fisher mean of plane sets.

#include <QtTest>
#include <QRandomGenerator>
#include <QVector3D>
#include <algorithm>
#include <array>
#include <cmath>

#include "stereonet.h"
#include "stereonetplot.h"

using Planes = QVector<QPair<double, double>>;

using Axis = std::array<double, 3>;   // east, north, down

static Axis poleOf(const QPair<double, double> &plane)
{
    const double trend = qDegreesToRadians(plane.second + 180.0);
    const double plunge = qDegreesToRadians(90.0 - plane.first);
    return {std::cos(plunge) * std::sin(trend), std::cos(plunge) * std::cos(trend), std::sin(plunge)};
}

// Angle in degrees between the poles of two planes, taken as axes.
static double axialAngle(const QPair<double, double> &a, const QPair<double, double> &b)
{
    const Axis u = poleOf(a), v = poleOf(b);
    return qRadiansToDegrees(std::acos(std::min(1.0, std::fabs(u[0] * v[0] + u[1] * v[1] + u[2] * v[2]))));
}

// count planes whose poles lie scattered about the pole of (dip, direction)
// by angles of a normal spread (degrees), poles taken downwards.
static Planes scatteredSet(QRandomGenerator &random, int count, double dip, double direction, double spread)
{
    const Axis pole = poleOf(qMakePair(dip, direction));
    const QVector3D m(pole[0], pole[1], pole[2]);
    const QVector3D u = QVector3D::crossProduct(m, std::fabs(m.z()) < 0.9 ? QVector3D(0, 0, 1) : QVector3D(1, 0, 0)).normalized();
    const QVector3D w = QVector3D::crossProduct(m, u);
    Planes planes;
    for (int i = 0; i < count; ++i) {
        // Box–Muller for the angle off the mean, uniform about it.
        const double g = std::sqrt(-2.0 * std::log(1.0 - random.generateDouble()))
                         * std::cos(2.0 * M_PI * random.generateDouble());
        const double theta = qDegreesToRadians(std::fabs(g) * spread), phi = 2.0 * M_PI * random.generateDouble();
        QVector3D v = std::cos(theta) * m + std::sin(theta) * (std::cos(phi) * u + std::sin(phi) * w);
        v *= v.z() < 0.0 ? -1.0f : 1.0f;
        planes.append(qMakePair(90.0 - qRadiansToDegrees(std::asin(std::min(1.0f, v.z()))),
                                std::fmod(qRadiansToDegrees(std::atan2(v.x(), v.y())) + 540.0, 360.0)));
    }
    return planes;
}

class TstStereonet : public QObject
{
    Q_OBJECT

private slots:
    void poles_data();
    void poles();
    void fisherMean_data();
    void fisherMean();
    void meanOfRandomSets_data();
    void meanOfRandomSets();
    void greatCircleEndsOnTheRim();
    void invalidPicksAreLeftOut();
};

void TstStereonet::poles_data()
{
    QTest::addColumn<double>("dip");
    QTest::addColumn<double>("direction");
    QTest::addColumn<QPointF>("position");
    const double r45 = std::sqrt(2.0) * std::sin(M_PI / 8.0); // pole 45° from vertical
    QTest::newRow("horizontal plane") << 0.0 << 123.0 << QPointF(0, 0);
    // A vertical plane's pole is horizontal, opposite its dip direction.
    QTest::newRow("vertical, dips east") << 90.0 << 90.0 << QPointF(-1, 0);
    QTest::newRow("vertical, dips north") << 90.0 << 0.0 << QPointF(0, -1);
    QTest::newRow("vertical, dips west") << 90.0 << 270.0 << QPointF(1, 0);
    QTest::newRow("vertical, dips south") << 90.0 << 180.0 << QPointF(0, 1);
    QTest::newRow("45 to the north-east")
        << 45.0 << 45.0 << QPointF(-r45 / std::sqrt(2.0), -r45 / std::sqrt(2.0));
    QTest::newRow("45 to the south-west")
        << 45.0 << 225.0 << QPointF(r45 / std::sqrt(2.0), r45 / std::sqrt(2.0));
}

void TstStereonet::poles()
{
    QFETCH(double, dip);
    QFETCH(double, direction);
    QFETCH(QPointF, position);
    const QPointF p = schmidtPole(dip, direction);
    QVERIFY2(std::hypot(p.x() - position.x(), p.y() - position.y()) < 1e-9,
             qPrintable(QString("(%1, %2)").arg(p.x()).arg(p.y())));
}

void TstStereonet::fisherMean_data()
{
    QTest::addColumn<Planes>("planes");
    QTest::addColumn<double>("dip");
    QTest::addColumn<double>("direction");
    QTest::newRow("symmetric about 40/120")
        << Planes{{30, 120}, {50, 120}, {40, 110}, {40, 130}}
        << 40.0 << 120.0;
    QTest::newRow("one plane") << Planes{{62, 301}} << 62.0 << 301.0;
    // Steep planes on both sides of vertical are one set, not two that cancel.
    QTest::newRow("steep across vertical")
        << Planes{{88, 90}, {88, 270}} << 90.0 << 90.0;
    QTest::newRow("none") << Planes{} << 0.0 << 0.0;
}

void TstStereonet::fisherMean()
{
    QFETCH(Planes, planes);
    QFETCH(double, dip);
    QFETCH(double, direction);
    const QPair<double, double> mean = fisherMeanPlane(planes);
    QVERIFY2(std::fabs(mean.first - dip) < 0.3, qPrintable(QString::number(mean.first)));
    const double gap = std::fabs(std::fmod(mean.second - direction + 540.0, 360.0) - 180.0);
    // A vertical plane dips to either side of its strike.
    QVERIFY2(gap < 0.3 || (dip == 90.0 && std::fabs(gap - 180.0) < 0.3),
             qPrintable(QString::number(mean.second)));
}

void TstStereonet::meanOfRandomSets_data()
{
    QTest::addColumn<int>("count");
    // tensorAgreement in degrees: a few dispersed planes leave the two estimates further apart.
    for (const char *column : {"dip", "direction", "spread", "tensorAgreement"})
        QTest::addColumn<double>(column);
    QTest::newRow("tight, moderate dip") << 12 << 40.0 << 130.0 << 8.0 << 1.0;
    QTest::newRow("tight, steep across vertical") << 15 << 86.0 << 20.0 << 8.0 << 1.0;
    QTest::newRow("five dispersed steep planes") << 5 << 75.0 << 300.0 << 25.0 << 15.0;
    QTest::newRow("dispersed, steep") << 30 << 80.0 << 200.0 << 30.0 << 6.0;
    QTest::newRow("dispersed, gentle") << 30 << 25.0 << 60.0 << 25.0 << 6.0;
}

void TstStereonet::meanOfRandomSets()
{
    QFETCH(int, count);
    QFETCH(double, dip);
    QFETCH(double, direction);
    QFETCH(double, spread);
    QFETCH(double, tensorAgreement);
    QRandomGenerator random(quint32(count * 1000 + dip * 10 + direction));
    for (int set = 0; set < 20; ++set) {
        Planes planes = scatteredSet(random, count, dip, direction, spread);
        const QPair<double, double> mean = fisherMeanPlane(planes);
        // The order of the picks (their depths) does not move the mean.
        for (int shuffle = 0; shuffle < 10; ++shuffle) {
            std::shuffle(planes.begin(), planes.end(), random);
            QVERIFY2(axialAngle(mean, fisherMeanPlane(planes)) < 1e-4, qPrintable(QString("set %1").arg(set)));
        }
        // The mean lies where the poles cluster: close to the main axis of
        // the orientation tensor, which has no sign to choose.
        const double apart = axialAngle(mean, orientationTensorMeanPlane(planes));
        QVERIFY2(apart < tensorAgreement, qPrintable(QString("set %1: %2").arg(set).arg(apart)));
    }
}

void TstStereonet::greatCircleEndsOnTheRim()
{
    const QVector<QPointF> circle = schmidtGreatCircle(30.0, 90.0, 60);
    QCOMPARE(circle.size(), 61);
    // Ends at the strike directions (north and south), passes the dip line (plunge 30°, 60° from the vertical) in the east.
    QVERIFY(std::hypot(circle.first().x(), circle.first().y() - 1.0) < 1e-9);
    QVERIFY(std::hypot(circle.last().x(), circle.last().y() + 1.0) < 1e-9);
    const QPointF middle = circle.at(30);
    QVERIFY(std::fabs(middle.y()) < 1e-9);
    QVERIFY(std::fabs(middle.x() - std::sqrt(2.0) * std::sin(M_PI / 6.0)) < 1e-9);
}

void TstStereonet::invalidPicksAreLeftOut()
{
    QVector<StructurePick> picks;
    // Two good ones, NULL in the file, out of range, infinite.
    for (const auto &p : Planes{{30, 90}, {30, 90}, {qQNaN(), 270}, {95, 270}, {60, qInf()}})
        picks << StructurePick{0, 0.0, p.first, p.second};
    StereonetPlot plot;
    plot.setPicks(picks);
    QCOMPARE(plot.leftOut(), 3);
    QCOMPARE(plot.picks().size(), 2);
    const QPair<double, double> mean = plot.meanPlane().value_or(qMakePair(-1.0, -1.0));
    QVERIFY2(std::fabs(mean.first - 30.0) < 0.01 && std::fabs(mean.second - 90.0) < 0.01,
             qPrintable(QStringLiteral("%1/%2").arg(mean.first).arg(mean.second)));
}

QTEST_MAIN(TstStereonet)
#include "tst_stereonet.moc"
