#ifndef TRUEORIENTATION_H
#define TRUEORIENTATION_H

#include <QVector>

#include "holesurvey.h"
#include "structurepick.h"

// Turns the orientation of a plane measured on the wall of the hole (dip
// against the hole's axis, dip direction on the image's azimuth scale) into
// its true, geographic dip and dip direction, with the hole's direction at
// the plane's depth taken from the survey (minimum curvature between the
// stations).
//
// In the hole's frame the plane's normal is
//     n = −sin α · (cos θ · r₀ + sin θ · r₉₀) + cos α · t
// for measured dip α and dip direction θ, t the axis down the hole, r₀ the
// image's azimuth 0 (north or the high side projected across the hole) and
// r₉₀ = t × r₀ (clockwise looking down the hole). The true dip is the angle
// of n against the vertical, the true dip direction the bearing of n's
// horizontal part reversed.
class TrueOrientation
{
public:
    explicit TrueOrientation(const HoleSurvey &survey = HoleSurvey());

    // A survey exists: the true values differ from the measured ones.
    bool isActive() const { return !m_survey.isEmpty(); }
    const HoleSurvey &survey() const { return m_survey; }

    // The true dip and dip direction (degrees) of a plane measured at a depth
    // (depth units). Without a survey, or where the hole is vertical, the
    // measured values come back unchanged.
    void toTrue(double depth, double dip, double dipDirection, double *trueDip,
                double *trueDipDirection) const;

    // The pick with its dip and dip direction replaced by the true ones.
    StructurePick corrected(const StructurePick &pick) const;
    QVector<StructurePick> corrected(const QVector<StructurePick> &picks) const;

    // "highside" was asked for, but the hole is vertical at one of the
    // stations at least: north is used where the hole is vertical.
    bool highSideFallsBackToNorth() const;

private:
    HoleSurvey m_survey;
};

#endif // TRUEORIENTATION_H
