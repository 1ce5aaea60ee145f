#ifndef MEASUREMENTLABEL_H
#define MEASUREMENTLABEL_H

#include <QString>

// Texts of the label a finished measurement line gets (measure length 11,
// measure angle 12, mark lithology 13) and the arithmetic behind them.
namespace MeasurementLabel {

// One end of the line as the cursor read-out shows it: depth in metres,
// direction ("NE", "E", ...) and azimuth in degrees.
struct Reading
{
    QString depth;
    QString direction;
    QString azimuth;
};

// Inclination (degrees) of the plane through two wall points given by
// depth (metres) and azimuth (degrees) in a hole of the given diameter
// (metres). Never NaN or infinite.
double inclinationAngle(float h1, float a1, float h2, float a2, double diameterMetres);

// The label of a line of the given type from r1 to r2, pixelLength pixels
// long, on a page of pixelsPerUnit scene pixels per depth unit (0 when the
// scale is unknown) in a hole of diameterMetres. Empty for any other type.
QString text(int type, const Reading &r1, const Reading &r2, double pixelLength, double pixelsPerUnit,
             double diameterMetres);

} // namespace MeasurementLabel

#endif // MEASUREMENTLABEL_H
