// Fracture frequency (picks per metre) on a planted set of picks: counts per
// window and type, the shorter last window, the Terzaghi weighting and its cap.

#include <QtTest>
#include <cmath>

#include "fracturefrequency.h"

namespace {

StructurePick pick(double metres, const QString &type, double dip = 30.0)
{
    StructurePick p;
    p.depth = metres * 10000.0;
    p.type = type;
    p.dip = dip;
    return p;
}

} // namespace

class TstFractureFrequency : public QObject
{
    Q_OBJECT

private slots:
    void countsPerWindow_data();
    void countsPerWindow();
    void terzaghiWeighting();
};

void TstFractureFrequency::countsPerWindow_data()
{
    QTest::addColumn<double>("window");
    QTest::addColumn<QVector<double>>("total");     // per window, picks per metre
    QTest::addColumn<QVector<double>>("fractures"); // per window, fractures per metre
    // Page 10 m to 13.5 m. Picks at window edges count in the window they open;
    // those outside the page do not count.
    QTest::newRow("half metre") << 0.5 << QVector<double>{4, 2, 0, 0, 2, 0, 6}
                                << QVector<double>{4, 0, 0, 0, 2, 0, 2};
    QTest::newRow("one metre") << 1.0 << QVector<double>{3, 0, 1, 6} << QVector<double>{2, 0, 1, 2};
    QTest::newRow("two metres, the last one short") << 2.0 << QVector<double>{1.5, 4.0 / 1.5}
                                                    << QVector<double>{1.0, 2.0 / 1.5};
    QTest::newRow("five metres, one short window") << 5.0 << QVector<double>{7.0 / 3.5}
                                                   << QVector<double>{4.0 / 3.5};
}

void TstFractureFrequency::countsPerWindow()
{
    QFETCH(double, window);
    QFETCH(QVector<double>, total);
    QFETCH(QVector<double>, fractures);
    const QVector<StructurePick> picks{
        pick(9.99, "fracture"), pick(10.0, "fracture"), pick(10.2, "fracture"), pick(10.5, "vein"),
        pick(12.0, "fracture"), pick(13.0, "fracture"), pick(13.2, "bedding"), pick(13.49, "vein"),
        pick(13.5, "fracture"), pick(20.0, "fracture")};
    const QVector<FractureFrequency::Bin> bins =
        FractureFrequency::compute(picks, 100000.0, 135000.0, window, false);
    QCOMPARE(bins.size(), total.size());
    double picked = 0.0;
    for (int i = 0; i < bins.size(); ++i) {
        QVERIFY2(std::fabs(bins[i].total - total[i]) < 1e-9,
                 qPrintable(QString("window %1: %2").arg(i).arg(bins[i].total)));
        QVERIFY(std::fabs(bins[i].perType.value("fracture") - fractures[i]) < 1e-9);
        double sum = 0.0;
        for (double v : bins[i].perType)
            sum += v;
        QVERIFY(std::fabs(sum - bins[i].total) < 1e-9);
        picked += bins[i].total * (bins[i].to - bins[i].from) / 10000.0;
    }
    QCOMPARE(bins.first().from, 100000.0);
    QCOMPARE(bins.last().to, 135000.0);
    QVERIFY(std::fabs(picked - 7.0) < 1e-9);
}

// A plane across the hole counts once, one at 60° twice, one along the hole
// at most ten times.
void TstFractureFrequency::terzaghiWeighting()
{
    const QVector<StructurePick> picks{pick(0.1, "fracture", 0.0), pick(0.2, "fracture", 60.0),
                                       pick(0.3, "vein", 89.0), pick(0.4, "vein", 90.0)};
    const QVector<FractureFrequency::Bin> bins = FractureFrequency::compute(picks, 0.0, 10000.0, 1.0, true);
    QCOMPARE(bins.size(), 1);
    QVERIFY(std::fabs(bins[0].perType.value("fracture") - 3.0) < 1e-9);
    QVERIFY(std::fabs(bins[0].perType.value("vein") - 20.0) < 1e-9);
    QVERIFY(std::fabs(bins[0].total - 23.0) < 1e-9);
}

QTEST_GUILESS_MAIN(TstFractureFrequency)
#include "tst_fracturefrequency.moc"
