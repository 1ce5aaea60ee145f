#include "measurementlabel.h"

#include <QCoreApplication>
#include <QtMath>
#include <cmath>

namespace {

constexpr int kLengthMeasureType = 11;
constexpr int kAngleMeasureType = 12;
constexpr int kLithologyMarkType = 13;

} // namespace

double MeasurementLabel::inclinationAngle(float h1, float a1, float h2, float a2, double diameterMetres)
{
    // The horizontal chord between two wall points at azimuths a1 and a2 of a
    // hole of diameter d is d * |sin((a1 - a2) / 2)|; the plane through the
    // two points rises by |h1 - h2| over it. Points at the crest and trough
    // of a fracture trace (180 degrees apart) give the fracture's dip.
    const double dh = std::fabs(double(h1) - double(h2));
    const double halfDifference = qDegreesToRadians((double(a1) - double(a2)) * 0.5);
    double chord = diameterMetres * std::fabs(std::sin(halfDifference));
    if (!std::isfinite(chord) || chord < 0.0)
        chord = 0.0;
    if (!std::isfinite(dh))
        return 0.0;
    // A zero chord (same azimuth, or no diameter known) is a vertical plane
    // unless the two points coincide.
    const double degrees = qRadiansToDegrees(std::atan2(dh, chord));
    return std::isfinite(degrees) ? degrees : 0.0;
}

QString MeasurementLabel::text(int type, const Reading &r1, const Reading &r2, double pixelLength,
                               double pixelsPerUnit, double diameterMetres)
{
    if (type != kLengthMeasureType && type != kAngleMeasureType && type != kLithologyMarkType)
        return QString();

    // The label's words are the main window's (its translations).
    auto pointText = [](const Reading &t) {
        return QStringLiteral("(H:") + t.depth + QStringLiteral("m") + QStringLiteral(", ") + t.direction
            + t.azimuth + QCoreApplication::translate("MainWindow", "d") + QStringLiteral(")");
    };
    const QString points = pointText(r1) + QStringLiteral(" - ") + pointText(r2);

    // A plain picture has no project scale: its lengths are only known in pixels.
    const bool scaleKnown = std::isfinite(pixelsPerUnit) && pixelsPerUnit > 0.0;
    const QString lengthText = QStringLiteral("L = ")
        + (scaleKnown ? QString::number(pixelLength / (pixelsPerUnit * 10000.0), 'f', 3)
                            + QStringLiteral("m  ")
                      : QCoreApplication::translate("MainWindow", "unknown (no project scale, %1 pixels)")
                                .arg(qRound64(pixelLength))
                            + QStringLiteral("  "));

    const float h1 = r1.depth.toFloat();
    const float h2 = r2.depth.toFloat();
    const float a1 = r1.azimuth.toFloat();
    const float a2 = r2.azimuth.toFloat();
    const double angle = inclinationAngle(h1, a1, h2, a2, diameterMetres);
    // The plane dips towards its deeper point.
    const Reading &deeper = h1 > h2 ? r1 : r2;
    const QString degree = QCoreApplication::translate("MainWindow", "D");
    const QString inclinationText = QCoreApplication::translate("MainWindow", "inclination") + deeper.direction
        + deeper.azimuth + degree + QStringLiteral(", ")
        + QCoreApplication::translate("MainWindow", "inclinationAngle") + QString::number(angle, 'f', 2) + degree;

    if (type == kLengthMeasureType)
        return points + QStringLiteral("\n") + lengthText;
    if (type == kAngleMeasureType)
        return points + QStringLiteral("\n") + inclinationText;
    return points + QStringLiteral("\n") + lengthText + inclinationText;
}
