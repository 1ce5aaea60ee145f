#ifndef HOLESURVEY_H
#define HOLESURVEY_H

#include <QString>
#include <QVector>
#include <array>

class QIODevice;

// The orientation of the hole along its length (a deviation survey): stations
// of measured depth (m), inclination from the vertical (degrees, 0 = straight
// down) and azimuth of the hole's direction (degrees clockwise from north),
// together with the reference the image's azimuth scale is measured from.
//
// Between stations the hole is taken as a circular arc (minimum curvature):
// its direction turns at a constant rate from one station's direction to the
// next. Above the first station and below the last the hole keeps the
// direction of the nearest station.
class HoleSurvey
{
public:
    struct Station
    {
        double depth = 0.0;       // measured depth, m
        double inclination = 0.0; // degrees from vertical
        double azimuth = 0.0;     // degrees from north, [0, 360)
    };

    // What azimuth 0 of the image is: north projected onto the plane across
    // the hole, or the upward direction projected onto it (the top of an
    // inclined hole).
    enum Reference { North, HighSide };

    HoleSurvey() = default;
    // A straight hole of one inclination and azimuth.
    static HoleSurvey straight(double inclination, double azimuth, Reference reference = North);

    QVector<Station> stations() const { return m_stations; }
    // Stations must come in increasing depth (see fromCsv for the checks).
    void setStations(const QVector<Station> &stations) { m_stations = stations; }
    Reference reference() const { return m_reference; }
    void setReference(Reference reference) { m_reference = reference; }

    // No stations: the hole's orientation is unknown, picks stay hole-relative.
    bool isEmpty() const { return m_stations.isEmpty(); }
    // Every station straight down: true and measured orientations agree.
    bool isVertical() const;

    // Unit vector of the hole's direction (down the hole) at a measured depth
    // in metres, in the geographic frame (north, east, down).
    std::array<double, 3> axisAt(double depthMetres) const;

    // An angle in degrees brought into [0, 360).
    static double wrapDegrees(double degrees);

    // The words the project file keeps: "north" and "highside".
    static QString referenceWord(Reference reference);
    // North for anything but "highside".
    static Reference referenceOfWord(const QString &word);

    // Reads stations from CSV text with a heading line. The columns are found
    // by their headings (depth or MD, inclination or INC, azimuth or AZI; any
    // case, units in brackets allowed); commas, semicolons or tabs separate
    // the fields. False with the reason in *error (line numbers from 1) when
    // a column is missing, a field is not a number, an inclination is outside
    // 0..180 or the depths do not increase; *survey is then unchanged.
    static bool fromCsv(QIODevice *device, HoleSurvey *survey, QString *error);
    static bool fromCsv(const QString &path, HoleSurvey *survey, QString *error);

private:
    QVector<Station> m_stations;
    Reference m_reference = North;
};

#endif // HOLESURVEY_H
