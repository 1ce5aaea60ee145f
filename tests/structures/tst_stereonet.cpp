// Equal-area net positions of poles and the Fisher mean of plane sets; picks
// with invalid values left out of the net.

#include <QtTest>
#include <cmath>

#include "stereonet.h"
#include "stereonetplot.h"

using Planes = QVector<QPair<double, double>>;

class TstStereonet : public QObject
{
    Q_OBJECT

private slots:
    void poles_data();
    void poles();
    void fisherMean_data();
    void fisherMean();
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
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QVector<StructurePick> picks(5);
    picks[0].dip = 30, picks[0].dipDirection = 90;
    picks[1].dip = 30, picks[1].dipDirection = 90;
    picks[2].dip = nan, picks[2].dipDirection = 270;     // NULL in the file
    picks[3].dip = 95, picks[3].dipDirection = 270;      // out of range
    picks[4].dip = 60, picks[4].dipDirection = std::numeric_limits<double>::infinity();
    StereonetPlot plot;
    plot.setPicks(picks);
    QCOMPARE(plot.leftOut(), 3);
    QCOMPARE(plot.picks().size(), 2);
    const QPair<double, double> mean = plot.meanPlane();
    QVERIFY2(std::fabs(mean.first - 30.0) < 0.01 && std::fabs(mean.second - 90.0) < 0.01,
             qPrintable(QStringLiteral("%1/%2").arg(mean.first).arg(mean.second)));
}

QTEST_MAIN(TstStereonet)
#include "tst_stereonet.moc"
