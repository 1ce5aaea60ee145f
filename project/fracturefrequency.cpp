#include "fracturefrequency.h"

#include <QtMath>
#include <cmath>

double FractureFrequency::terzaghiWeight(double measuredDip)
{
    const double c = std::fabs(std::cos(qDegreesToRadians(measuredDip)));
    if (!std::isfinite(c) || c * kMaxWeight <= 1.0)
        return kMaxWeight;
    return 1.0 / c;
}

QVector<FractureFrequency::Bin> FractureFrequency::compute(const QVector<StructurePick> &picks,
                                                           double from, double to,
                                                           double windowMetres, bool terzaghi)
{
    QVector<Bin> bins;
    const double window = windowMetres * 10000.0;
    if (!(window > 0.0) || !(to > from))
        return bins;
    const int count = int(std::ceil((to - from) / window - 1e-9));
    bins.resize(count);
    for (int i = 0; i < count; ++i) {
        bins[i].from = from + i * window;
        bins[i].to = std::min(to, from + (i + 1) * window);
    }
    for (const StructurePick &p : picks) {
        if (!(p.depth >= from) || !(p.depth < to))
            continue;
        const int i = std::min(count - 1, int((p.depth - from) / window));
        const double weight = terzaghi ? terzaghiWeight(p.dip) : 1.0;
        bins[i].perType[p.type] += weight;
        bins[i].total += weight;
    }
    for (Bin &bin : bins) {
        const double metres = (bin.to - bin.from) / 10000.0;
        bin.total /= metres;
        for (double &value : bin.perType)
            value /= metres;
    }
    return bins;
}
