#include "pickcorrection.h"

#include "structurepickstore.h"

#include <QtMath>
#include <cmath>

double PickCorrection::dipOf(double amplitude, double diameter)
{
    return qRadiansToDegrees(std::atan(2.0 * amplitude / diameter));
}

double PickCorrection::wrapped(double degrees)
{
    double d = std::fmod(degrees, 360.0);
    if (d < 0.0)
        d += 360.0;
    // fmod of a value just below 0 can round up to 360.
    return d >= 360.0 ? 0.0 : d;
}

void PickCorrection::correctDepth(StructurePick *pick, double realDepth, double testDepth,
                                  double diameter)
{
    if (!(testDepth > 0.0) || !(realDepth > 0.0))
        return;
    // The same product and quotient as the piece ids get.
    pick->depth = pick->depth * realDepth / testDepth;
    pick->amplitude = pick->amplitude * realDepth / testDepth;
    changeDiameter(pick, diameter);
}

void PickCorrection::turn(StructurePick *pick, double degrees)
{
    // Output column x shows the wall of source column x + shift: what lay at
    // azimuth a is at a - degrees now.
    pick->dipDirection = wrapped(pick->dipDirection - degrees);
}

void PickCorrection::changeDiameter(StructurePick *pick, double diameter)
{
    if (diameter > 0.0 && std::isfinite(diameter))
        pick->dip = dipOf(pick->amplitude, diameter);
}

bool PickCorrection::correctDepths(QSqlDatabase &db, double realDepth, double testDepth,
                                   double diameter, QString *error, int *notMoved)
{
    // Depth and amplitude scale; the dip follows the amplitude.
    return StructurePickStore::changeAll(
        db, {QStringLiteral("depth"), QStringLiteral("amplitude")},
        {QStringLiteral("depth"), QStringLiteral("amplitude"), QStringLiteral("dip")},
        [=](StructurePick *p) { correctDepth(p, realDepth, testDepth, diameter); }, error, notMoved);
}

bool PickCorrection::turnAll(QSqlDatabase &db, const std::function<double(double)> &degreesAt,
                             QString *error, int *notMoved)
{
    // The turn may depend on the depth: a pick without one is not moved.
    return StructurePickStore::changeAll(
        db, {QStringLiteral("dipDirection"), QStringLiteral("depth")}, {QStringLiteral("dipDirection")},
        [&](StructurePick *p) { turn(p, degreesAt(p->depth)); }, error, notMoved);
}

bool PickCorrection::changeDiameters(QSqlDatabase &db, double diameter, QString *error, int *notMoved)
{
    return StructurePickStore::changeAll(db, {QStringLiteral("amplitude")}, {QStringLiteral("dip")},
                                         [=](StructurePick *p) { changeDiameter(p, diameter); }, error,
                                         notMoved);
}
