#ifndef STEREONET_H
#define STEREONET_H

#include <QPair>
#include <QPointF>
#include <QVector>

// Lower-hemisphere equal-area (Schmidt) projection of planes given by dip and
// dip direction (degrees). Positions are in a net of radius 1, x towards
// east, y towards north.

// Position of the plane's pole. A horizontal plane's pole is the centre, a
// vertical plane's lies on the rim opposite its dip direction.
QPointF schmidtPole(double dip, double dipDirection);

// The (dip, dip direction) of the plane whose pole is the Fisher mean (the
// normalised sum of unit vectors) of the given planes' poles. Poles are
// axes: each is taken on the side of the main axis of the set (see below),
// so planes dipping steeply to opposite sides average as one steep plane
// and the order of the planes does not matter. (0, 0) for no planes.
QPair<double, double> fisherMeanPlane(const QVector<QPair<double, double>> &dipAndDirection);

// The (dip, dip direction) of the plane whose pole is the main eigenvector
// of the poles' orientation tensor (the axis the poles cluster about).
// (0, 0) for no planes.
QPair<double, double> orientationTensorMeanPlane(const QVector<QPair<double, double>> &dipAndDirection);

// Points of the plane's great circle on the net, from one end of its strike
// to the other (n + 1 points).
QVector<QPointF> schmidtGreatCircle(double dip, double dipDirection, int n = 90);
// The same written into points (room for max(2, n) + 1), for drawing many
// circles.
void schmidtGreatCircle(double dip, double dipDirection, int n, QPointF *points);

#endif // STEREONET_H
