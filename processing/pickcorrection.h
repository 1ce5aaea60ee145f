#ifndef PICKCORRECTION_H
#define PICKCORRECTION_H

#include <QString>
#include <functional>

#include "structurepick.h"

class QSqlDatabase;

// How the stored structure picks follow a correction of the wall under them.
// A pick is kept as depth and amplitude (depth units), true dip and dip
// direction (degrees); its dip is atan(2 x amplitude / diameter), as the pick
// tool fits it.
//
// The functions that take a connection change every pick of the file on it,
// inside the transaction the caller holds open for its own correction, so
// picks and wall are corrected together or not at all. A file without picks
// stays without them (no table is made).
class PickCorrection
{
public:
    // atan(2 x amplitude / diameter) in degrees; both in depth units.
    static double dipOf(double amplitude, double diameter);
    // Degrees brought into [0, 360).
    static double wrapped(double degrees);

    // Depth correction, linear from the collar by realDepth / testDepth: depth
    // and amplitude scale, the dip follows the amplitude in a hole of the
    // given diameter (kept when the diameter is not known).
    static void correctDepth(StructurePick *pick, double realDepth, double testDepth, double diameter);
    // Azimuth correction: the wall turned so that the azimuth `degrees` is
    // north now; the dip direction turns with it.
    static void turn(StructurePick *pick, double degrees);
    // Diameter correction: the same trace in a hole of another diameter.
    static void changeDiameter(StructurePick *pick, double diameter);

    // Each writes back only what its correction changes (depth: depth,
    // amplitude and a stored dip; azimuth: dip direction; diameter: a stored
    // dip); NULL stays NULL. Picks whose values the correction needs are
    // missing or not numbers are left as they are and counted in *notMoved.
    static bool correctDepths(QSqlDatabase &db, double realDepth, double testDepth, double diameter,
                              QString *error, int *notMoved = nullptr);
    // degreesAt gives the turn at a depth (the wall may be turned by a
    // slightly different angle where its pieces have another width).
    static bool turnAll(QSqlDatabase &db, const std::function<double(double depth)> &degreesAt,
                        QString *error, int *notMoved = nullptr);
    static bool changeDiameters(QSqlDatabase &db, double diameter, QString *error, int *notMoved = nullptr);
};

#endif // PICKCORRECTION_H
