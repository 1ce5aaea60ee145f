#include "trueorientation.h"

#include <QtMath>
#include <cmath>

namespace {

using Vec3 = std::array<double, 3>;

double dot(const Vec3 &a, const Vec3 &b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec3 cross(const Vec3 &a, const Vec3 &b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// The part of v across the axis t, as a unit vector; false when v lies along t.
bool across(const Vec3 &v, const Vec3 &t, Vec3 *out)
{
    const double along = dot(v, t);
    Vec3 r{v[0] - along * t[0], v[1] - along * t[1], v[2] - along * t[2]};
    const double n = std::sqrt(dot(r, r));
    if (!(n > 1e-9))
        return false;
    *out = {r[0] / n, r[1] / n, r[2] / n};
    return true;
}

} // namespace

TrueOrientation::TrueOrientation(const HoleSurvey &survey)
    : m_survey(survey)
{
}

void TrueOrientation::toTrue(double depth, double dip, double dipDirection, double *trueDip,
                             double *trueDipDirection) const
{
    *trueDip = dip;
    *trueDipDirection = dipDirection;
    if (m_survey.isEmpty())
        return;
    const Vec3 t = m_survey.axisAt(depth / 10000.0);
    // Straight down: the image's scale is the geographic one.
    if (t[0] == 0.0 && t[1] == 0.0)
        return;

    const Vec3 north{1.0, 0.0, 0.0};
    const Vec3 up{0.0, 0.0, -1.0};
    Vec3 r0;
    const bool highSide = m_survey.reference() == HoleSurvey::HighSide;
    if (!across(highSide ? up : north, t, &r0) && !across(highSide ? north : up, t, &r0))
        return;
    const Vec3 r90 = cross(t, r0);

    const double a = qDegreesToRadians(dip);
    const double d = qDegreesToRadians(dipDirection);
    Vec3 n;
    for (int k = 0; k < 3; ++k)
        n[k] = -std::sin(a) * (std::cos(d) * r0[k] + std::sin(d) * r90[k]) + std::cos(a) * t[k];
    // The downward normal: its bearing reversed is where the plane dips.
    if (n[2] < 0.0)
        n = {-n[0], -n[1], -n[2]};
    const double length = std::sqrt(dot(n, n));
    *trueDip = qRadiansToDegrees(std::acos(std::clamp(n[2] / length, -1.0, 1.0)));
    const double horizontal = std::hypot(n[0], n[1]);
    *trueDipDirection = horizontal > 1e-12 ? HoleSurvey::wrapDegrees(qRadiansToDegrees(std::atan2(-n[1], -n[0])))
                                           : 0.0;
}

StructurePick TrueOrientation::corrected(const StructurePick &pick) const
{
    StructurePick p = pick;
    toTrue(pick.depth, pick.dip, pick.dipDirection, &p.dip, &p.dipDirection);
    return p;
}

QVector<StructurePick> TrueOrientation::corrected(const QVector<StructurePick> &picks) const
{
    if (!isActive())
        return picks;
    QVector<StructurePick> result;
    result.reserve(picks.size());
    for (const StructurePick &p : picks)
        result.append(corrected(p));
    return result;
}

bool TrueOrientation::highSideFallsBackToNorth() const
{
    if (m_survey.reference() != HoleSurvey::HighSide || m_survey.isEmpty())
        return false;
    for (const HoleSurvey::Station &s : m_survey.stations())
        if (s.inclination == 0.0 || s.inclination == 180.0)
            return true;
    return false;
}
