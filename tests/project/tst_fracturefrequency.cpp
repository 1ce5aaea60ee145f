// Fracture frequency (picks per metre) on a planted set of picks: counts per
// window and type, the shorter last window, the Terzaghi weighting and its cap.

#include <QtTest>
#include <cmath>
#include <numeric>

#include "fracturefrequency.h"

namespace {

StructurePick pick(double metres, const QString &type, double dip = 30.0)
{
    return {0, metres * 10000.0, dip, 0.0, 0.0, type, {}};
}

} // namespace

class TstFractureFrequency : public QObject
{
    Q_OBJECT

private slots:
    void countsPerWindow_data()
    {
        QTest::addColumn<QVector<StructurePick>>("picks");
        QTest::addColumn<double>("from"); // the page, metres
        QTest::addColumn<double>("to");
        QTest::addColumn<double>("window");
        QTest::addColumn<bool>("terzaghi");
        QTest::addColumn<QVector<double>>("total");     // per window, picks per metre
        QTest::addColumn<QVector<double>>("fractures"); // per window, fractures per metre
        // Page 10 m to 13.5 m. Picks at window edges count in the window they open;
        // those outside the page do not count: 7 picks in all.
        const QVector<StructurePick> page{
            pick(9.99, "fracture"), pick(10.0, "fracture"), pick(10.2, "fracture"), pick(10.5, "vein"),
            pick(12.0, "fracture"), pick(13.0, "fracture"), pick(13.2, "bedding"), pick(13.49, "vein"),
            pick(13.5, "fracture"), pick(20.0, "fracture")};
        const auto row = [&page](const char *name, double window, QVector<double> total, QVector<double> fractures) {
            QTest::newRow(name) << page << 10.0 << 13.5 << window << false << total << fractures;
        };
        row("half metre", 0.5, {4, 2, 0, 0, 2, 0, 6}, {4, 0, 0, 0, 2, 0, 2});
        row("one metre", 1.0, {3, 0, 1, 6}, {2, 0, 1, 2});
        row("two metres, the last one short", 2.0, {1.5, 4.0 / 1.5}, {1.0, 2.0 / 1.5});
        row("five metres, one short window", 5.0, {7.0 / 3.5}, {4.0 / 3.5});
        // Terzaghi: a plane across the hole counts once, one at 60° twice, one
        // along the hole at most ten times (the veins: 20).
        QTest::newRow("Terzaghi weighting and its cap")
            << QVector<StructurePick>{pick(0.1, "fracture", 0.0), pick(0.2, "fracture", 60.0), pick(0.3, "vein", 89.0),
                                      pick(0.4, "vein", 90.0)}
            << 0.0 << 1.0 << 1.0 << true << QVector<double>{23.0} << QVector<double>{3.0};
    }

    void countsPerWindow()
    {
        QFETCH(QVector<StructurePick>, picks);
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(double, window);
        QFETCH(bool, terzaghi);
        QFETCH(QVector<double>, total);
        QFETCH(QVector<double>, fractures);
        const auto bins = FractureFrequency::compute(picks, from * 10000.0, to * 10000.0, window, terzaghi);
        QCOMPARE(bins.size(), total.size());
        double picked = 0.0;
        for (int i = 0; i < bins.size(); ++i) {
            const double sum = std::accumulate(bins[i].perType.begin(), bins[i].perType.end(), 0.0);
            QVERIFY2(std::fabs(bins[i].total - total[i]) < 1e-9 && std::fabs(sum - bins[i].total) < 1e-9
                         && std::fabs(bins[i].perType.value("fracture") - fractures[i]) < 1e-9,
                     qPrintable(QString("window %1: %2 of %3, fractures %4")
                                    .arg(i).arg(bins[i].total).arg(sum).arg(bins[i].perType.value("fracture"))));
            picked += bins[i].total * (bins[i].to - bins[i].from) / 10000.0;
        }
        QCOMPARE(bins.first().from, from * 10000.0);
        QCOMPARE(bins.last().to, to * 10000.0);
        QVERIFY(std::fabs(picked - (terzaghi ? 23.0 : 7.0)) < 1e-9);
    }
};

QTEST_GUILESS_MAIN(TstFractureFrequency)
#include "tst_fracturefrequency.moc"
