#include "stereonet.h"

#include <QtMath>
#include <cmath>
#include <vector>

namespace {

struct Vec3
{
    double e = 0.0; // east
    double n = 0.0; // north
    double d = 0.0; // down
};

// Unit vector of a line given by trend and plunge (degrees), plunging down.
Vec3 lineVector(double trend, double plunge)
{
    const double t = qDegreesToRadians(trend);
    const double p = qDegreesToRadians(plunge);
    return {std::cos(p) * std::sin(t), std::cos(p) * std::cos(t), std::sin(p)};
}

// Equal-area position of a lower-hemisphere unit vector.
QPointF project(const Vec3 &v)
{
    // Angle from the vertical is acos(d); r = √2·sin(angle / 2) is 1 on the rim.
    const double d = std::clamp(v.d, -1.0, 1.0);
    const double r = std::sqrt(std::max(0.0, 1.0 - d)); // √2·sin(acos(d)/2)
    const double h = std::hypot(v.e, v.n);
    if (h <= 0.0)
        return QPointF(0.0, 0.0);
    return QPointF(r * v.e / h, r * v.n / h);
}

double wrap360(double degrees)
{
    double d = std::fmod(degrees, 360.0);
    if (d < 0.0)
        d += 360.0;
    return d >= 360.0 ? 0.0 : d;
}

} // namespace

QPointF schmidtPole(double dip, double dipDirection)
{
    // The pole of a plane plunges 90 − dip towards the opposite of its dip direction.
    return project(lineVector(dipDirection + 180.0, 90.0 - dip));
}

QPair<double, double> fisherMeanPlane(const QVector<QPair<double, double>> &dipAndDirection)
{
    Vec3 sum;
    for (const auto &plane : dipAndDirection) {
        Vec3 v = lineVector(plane.second + 180.0, 90.0 - plane.first);
        if (v.e * sum.e + v.n * sum.n + v.d * sum.d < 0.0)
            v = {-v.e, -v.n, -v.d};
        sum.e += v.e;
        sum.n += v.n;
        sum.d += v.d;
    }
    const double length = std::sqrt(sum.e * sum.e + sum.n * sum.n + sum.d * sum.d);
    if (!(length > 0.0))
        return qMakePair(0.0, 0.0);
    if (sum.d < 0.0)
        sum = {-sum.e, -sum.n, -sum.d};
    const double plunge = qRadiansToDegrees(std::asin(std::clamp(sum.d / length, -1.0, 1.0)));
    const double trend = qRadiansToDegrees(std::atan2(sum.e, sum.n));
    const double dip = 90.0 - plunge;
    // A horizontal mean plane has no dip direction.
    const double direction = dip > 1e-9 ? wrap360(trend + 180.0) : 0.0;
    return qMakePair(dip, direction);
}

void schmidtGreatCircle(double dip, double dipDirection, int n, QPointF *points)
{
    n = std::max(2, n);
    // Cosines and sines of the angles along the plane, the same for every
    // circle of n points.
    thread_local int tableN = 0;
    thread_local std::vector<double> cosines;
    thread_local std::vector<double> sines;
    if (tableN != n) {
        cosines.resize(size_t(n) + 1);
        sines.resize(size_t(n) + 1);
        for (int i = 0; i <= n; ++i) {
            const double a = qDegreesToRadians(180.0 * i / n);
            cosines[size_t(i)] = std::cos(a);
            sines[size_t(i)] = std::sin(a);
        }
        tableN = n;
    }
    const double strike = dipDirection - 90.0;
    const Vec3 s = lineVector(strike, 0.0);
    const Vec3 dipLine = lineVector(dipDirection, dip);
    for (int i = 0; i <= n; ++i) {
        // Lines of the plane from the strike (0) through the dip line (90) to
        // the opposite strike (180), all in the lower hemisphere.
        const double c = cosines[size_t(i)];
        const double si = sines[size_t(i)];
        const Vec3 v{c * s.e + si * dipLine.e, c * s.n + si * dipLine.n, c * s.d + si * dipLine.d};
        points[i] = project(v);
    }
}

QVector<QPointF> schmidtGreatCircle(double dip, double dipDirection, int n)
{
    n = std::max(2, n);
    QVector<QPointF> points(n + 1);
    schmidtGreatCircle(dip, dipDirection, n, points.data());
    return points;
}
