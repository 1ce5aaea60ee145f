#ifndef SINUSOIDFIT_H
#define SINUSOIDFIT_H

#include <QPointF>
#include <QVector>

// A plane crossing a vertical borehole shows on the unrolled wall as one
// period of a sinusoid, depth z(θ) = z0 + A·cos(θ − θd), with θ the azimuth
// of the image column and z growing downwards. Its true dip is atan(2A / D)
// for a hole of diameter D, its dip direction the azimuth θd of the deepest
// point of the trace, its depth z0.
struct SinusoidFit
{
    bool valid = false;
    double depth = 0.0;        // z0, depth units
    double dip = 0.0;          // degrees, 0 (horizontal) .. 90
    double dipDirection = 0.0; // degrees, [0, 360)
    double amplitude = 0.0;    // A, depth units
    double rms = 0.0;          // root mean square misfit of the points, depth units

    // Depth of the fitted trace at an azimuth (degrees).
    double depthAt(double azimuthDegrees) const;
};

// Fits z = z0 + a·cos θ + b·sin θ by linear least squares to points given as
// (azimuth in degrees, depth in depth units) in a hole of the given diameter
// (depth units). Not valid for fewer than three distinct azimuths (taken
// modulo 360) or a diameter ≤ 0.
SinusoidFit fitSinusoid(const QVector<QPointF> &points, double diameter);

#endif // SINUSOIDFIT_H
