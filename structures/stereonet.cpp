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

// Unit vectors of the planes' poles, pointing down.
QVector<Vec3> polesOf(const QVector<QPair<double, double>> &dipAndDirection)
{
    QVector<Vec3> poles;
    poles.reserve(dipAndDirection.size());
    for (const auto &plane : dipAndDirection)
        poles.append(lineVector(plane.second + 180.0, 90.0 - plane.first));
    return poles;
}

// Eigenvector of the largest eigenvalue of the orientation tensor Σ v·vᵀ of
// the unit vectors (cyclic Jacobi rotations of the symmetric 3 × 3 matrix).
// Its sign is arbitrary; the downward one is returned.
Vec3 principalAxis(const QVector<Vec3> &vectors)
{
    double a[3][3] = {};
    for (const Vec3 &v : vectors) {
        const double c[3] = {v.e, v.n, v.d};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                a[i][j] += c[i] * c[j];
    }
    double q[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int sweep = 0; sweep < 50; ++sweep) {
        const double off = a[0][1] * a[0][1] + a[0][2] * a[0][2] + a[1][2] * a[1][2];
        if (off < 1e-30)
            break;
        for (int p = 0; p < 2; ++p) {
            for (int r = p + 1; r < 3; ++r) {
                if (a[p][r] == 0.0)
                    continue;
                const double theta = (a[r][r] - a[p][p]) / (2.0 * a[p][r]);
                const double t = (theta >= 0.0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0);
                const double s = t * c;
                for (int k = 0; k < 3; ++k) { // a = a·J
                    const double kp = a[k][p];
                    const double kr = a[k][r];
                    a[k][p] = c * kp - s * kr;
                    a[k][r] = s * kp + c * kr;
                }
                for (int k = 0; k < 3; ++k) { // a = Jᵀ·a
                    const double pk = a[p][k];
                    const double rk = a[r][k];
                    a[p][k] = c * pk - s * rk;
                    a[r][k] = s * pk + c * rk;
                }
                for (int k = 0; k < 3; ++k) { // q = q·J
                    const double kp = q[k][p];
                    const double kr = q[k][r];
                    q[k][p] = c * kp - s * kr;
                    q[k][r] = s * kp + c * kr;
                }
            }
        }
    }
    int best = 0;
    for (int i = 1; i < 3; ++i)
        if (a[i][i] > a[best][best])
            best = i;
    Vec3 axis{q[0][best], q[1][best], q[2][best]};
    if (axis.d < 0.0)
        axis = {-axis.e, -axis.n, -axis.d};
    return axis;
}

// (dip, dip direction) of the plane whose pole is v (of that length), v
// taken downwards.
QPair<double, double> planeOfPole(Vec3 v, double length)
{
    if (v.d < 0.0)
        v = {-v.e, -v.n, -v.d};
    const double plunge = qRadiansToDegrees(std::asin(std::clamp(v.d / length, -1.0, 1.0)));
    const double trend = qRadiansToDegrees(std::atan2(v.e, v.n));
    const double dip = 90.0 - plunge;
    // A horizontal mean plane has no dip direction.
    const double direction = dip > 1e-9 ? wrap360(trend + 180.0) : 0.0;
    return qMakePair(dip, direction);
}

} // namespace

QPointF schmidtPole(double dip, double dipDirection)
{
    // The pole of a plane plunges 90 − dip towards the opposite of its dip direction.
    return project(lineVector(dipDirection + 180.0, 90.0 - dip));
}

QPair<double, double> fisherMeanPlane(const QVector<QPair<double, double>> &dipAndDirection)
{
    const QVector<Vec3> poles = polesOf(dipAndDirection);
    // Poles are axes: each is taken on the side of the set's main axis,
    // which does not depend on the order of the planes, then summed.
    const Vec3 axis = principalAxis(poles);
    Vec3 sum;
    for (Vec3 v : poles) {
        if (v.e * axis.e + v.n * axis.n + v.d * axis.d < 0.0)
            v = {-v.e, -v.n, -v.d};
        sum.e += v.e;
        sum.n += v.n;
        sum.d += v.d;
    }
    const double length = std::sqrt(sum.e * sum.e + sum.n * sum.n + sum.d * sum.d);
    if (!(length > 0.0))
        return qMakePair(0.0, 0.0);
    return planeOfPole(sum, length);
}

QPair<double, double> orientationTensorMeanPlane(const QVector<QPair<double, double>> &dipAndDirection)
{
    const QVector<Vec3> poles = polesOf(dipAndDirection);
    if (poles.isEmpty())
        return qMakePair(0.0, 0.0);
    return planeOfPole(principalAxis(poles), 1.0);
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
