#include "sinusoidfit.h"

#include <QtMath>
#include <cmath>

namespace {

double wrapDegrees(double degrees)
{
    double d = std::fmod(degrees, 360.0);
    if (d < 0.0)
        d += 360.0;
    // fmod of a value just below 0 can round up to 360.
    return d >= 360.0 ? 0.0 : d;
}

// Solves the symmetric 3 × 3 system m·x = r by Cramer's rule; false when the
// system is (numerically) singular.
bool solve3(const double m[3][3], const double r[3], double x[3])
{
    auto det = [](const double a[3][3]) {
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1])
               - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0])
               + a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    const double d = det(m);
    double scale = 0.0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            scale = std::max(scale, std::fabs(m[i][j]));
    if (!(std::fabs(d) > 1e-12 * scale * scale * scale))
        return false;
    for (int c = 0; c < 3; ++c) {
        double a[3][3];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                a[i][j] = (j == c) ? r[i] : m[i][j];
        x[c] = det(a) / d;
    }
    return true;
}

} // namespace

double SinusoidFit::depthAt(double azimuthDegrees) const
{
    return depth + amplitude * std::cos(qDegreesToRadians(azimuthDegrees - dipDirection));
}

SinusoidFit fitSinusoid(const QVector<QPointF> &points, double diameter)
{
    SinusoidFit fit;
    if (!(diameter > 0.0) || !std::isfinite(diameter))
        return fit;

    // Three distinct azimuths are needed for three unknowns.
    QVector<double> azimuths;
    for (const QPointF &p : points) {
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
            return fit;
        const double a = wrapDegrees(p.x());
        bool known = false;
        for (double seen : qAsConst(azimuths)) {
            const double gap = std::fabs(seen - a);
            if (std::min(gap, 360.0 - gap) < 1e-9)
                known = true;
        }
        if (!known)
            azimuths.append(a);
    }
    if (azimuths.size() < 3)
        return fit;

    // Normal equations of z = z0 + a·cos θ + b·sin θ, depths taken relative
    // to their mean so large depths keep their precision.
    double mean = 0.0;
    for (const QPointF &p : points)
        mean += p.y();
    mean /= points.size();

    double m[3][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    double r[3] = {0, 0, 0};
    for (const QPointF &p : points) {
        const double t = qDegreesToRadians(p.x());
        const double row[3] = {1.0, std::cos(t), std::sin(t)};
        const double z = p.y() - mean;
        for (int i = 0; i < 3; ++i) {
            r[i] += row[i] * z;
            for (int j = 0; j < 3; ++j)
                m[i][j] += row[i] * row[j];
        }
    }
    double x[3];
    if (!solve3(m, r, x))
        return fit;

    const double a = x[1];
    const double b = x[2];
    fit.depth = mean + x[0];
    fit.amplitude = std::hypot(a, b);
    // a·cos θ + b·sin θ = A·cos(θ − θd) with θd = atan2(b, a): the deepest
    // point of the trace, where depth is largest.
    fit.dipDirection = fit.amplitude > 0.0 ? wrapDegrees(qRadiansToDegrees(std::atan2(b, a))) : 0.0;
    fit.dip = qRadiansToDegrees(std::atan(2.0 * fit.amplitude / diameter));

    double sum = 0.0;
    for (const QPointF &p : points) {
        const double e = p.y() - fit.depthAt(p.x());
        sum += e * e;
    }
    fit.rms = std::sqrt(sum / points.size());
    fit.valid = true;
    return fit;
}
