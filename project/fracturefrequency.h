#ifndef FRACTUREFREQUENCY_H
#define FRACTUREFREQUENCY_H

#include <QMap>
#include <QString>
#include <QVector>

#include "structurepick.h"

// Picks per metre of hole (P10) over a depth range, in consecutive windows
// of a chosen length, per pick type and in total. Optionally each pick counts
// with the Terzaghi weight 1/|cos δ| (capped at 10), δ the angle between the
// plane's normal and the hole's axis, which is the measured dip: planes
// nearly parallel to the hole are crossed rarely and count for more.
class FractureFrequency
{
public:
    struct Bin
    {
        double from = 0.0; // depth units
        double to = 0.0;
        QMap<QString, double> perType; // picks per metre, by type word
        double total = 0.0;            // picks per metre, all types
    };

    static constexpr double kMaxWeight = 10.0;

    // The window lengths offered to the user, metres.
    static QVector<double> windows() { return {0.5, 1.0, 2.0, 5.0}; }

    // The weight of a pick of this measured dip (degrees).
    static double terzaghiWeight(double measuredDip);

    // Windows of windowMetres from `from` down to `to` (depth units; the last
    // one may be shorter and is divided by its own length). A pick counts in
    // the window holding its depth, [window start, window end).
    static QVector<Bin> compute(const QVector<StructurePick> &picks, double from, double to,
                                double windowMetres, bool terzaghi);
};

#endif // FRACTUREFREQUENCY_H
