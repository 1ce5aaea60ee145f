#ifndef SAMPLEWALL_H
#define SAMPLEWALL_H

// Synthetic unrolled borehole wall. Every pixel is a function of its depth
// and azimuth (and the seed), so the wall can be rendered piece by piece and
// the pieces join without a seam.

#include <QImage>
#include <QString>
#include <QVector>

#include <cstdint>

class SampleWall
{
public:
    struct Feature
    {
        double depthMetres = 0;       // z0 of a fracture trace, centre of a vug
        double dipDegrees = 0;        // fractures only: true (geographic) orientation
        double dipDirectionDegrees = 0;
        bool fracture = true;
        // The trace as drawn on the wall: dip against the hole's axis and
        // azimuth of its deepest point on the image (equal to the true values
        // in a vertical hole).
        double apparentDipDegrees = 0;
        double apparentDirectionDegrees = 0;
        // Drawing parameters (not exported).
        double halfThicknessPx = 1.5;
        double strength = 0.85;
        double vugHalfWidthPx = 0;    // vugs: semi-axes in pixels
        double vugHalfHeightPx = 0;
        double vugAzimuthDegrees = 0;
    };

    // The hole's direction: inclination from vertical and azimuth (degrees),
    // and what the image's azimuth 0 is: north or the high side, projected
    // onto the plane across the hole (north where the hole is vertical).
    struct Hole
    {
        double inclination = 0;
        double azimuth = 0;
        bool highSide = false;
    };
    // A fracture of given true orientation at a depth (metres).
    struct Plane
    {
        double depthMetres = 0;
        double dipDegrees = 0;
        double dipDirectionDegrees = 0;
    };

    // The wall covers [topMetres, bottomMetres]; global row 0 starts at
    // topMetres. diameterMetres is the hole diameter used for the picture,
    // pixelsPerMetre the common horizontal and vertical scale. Planes, when
    // given, are the fractures instead of random ones.
    SampleWall(quint32 seed, double topMetres, double bottomMetres, double diameterMetres,
               int width, double pixelsPerMetre, const Hole &hole,
               const QVector<Plane> &planes);

    // The trace a plane of true dip and dip direction leaves on the wall of
    // the hole: its dip against the axis and the image azimuth of its deepest
    // point (degrees).
    static void apparentOrientation(const Hole &hole, double dip, double dipDirection,
                                    double *apparentDip, double *apparentDirection);

    const QVector<Feature> &features() const { return m_features; }

    // Renders global rows [firstRow, firstRow + rowCount) as a 32-bit RGB image.
    QImage render(int firstRow, int rowCount) const;

    // "depth_m,dip_deg,dip_direction_deg,kind" plus one line per feature;
    // with withApparent also ",apparent_dip_deg,apparent_dip_direction_deg".
    QString featuresCsv(bool withApparent = false) const;

private:
    struct Layer
    {
        double top = 0;               // metres
        double r = 0, g = 0, b = 0;
        double laminaWavelength = 0.03;
        double laminaAmplitude = 5;
        double laminaPhase = 0;
    };

    void makeLayers(std::uint32_t seed);
    void makeFeatures(std::uint32_t seed);
    void rowColour(double depth, double *r, double *g, double *b) const;
    void addValueNoise(qint64 row, double cell, int octave, double weight, double *out) const;
    std::uint32_t hash(std::uint64_t a, std::uint64_t b) const;

    Hole m_hole;
    QVector<Plane> m_planes;
    quint32 m_seed;
    double m_top;
    double m_bottom;
    double m_diameter;
    int m_width;
    double m_pixelsPerMetre;
    qint64 m_rowOrigin;           // absolute row of global row 0, for the texture
    QVector<Layer> m_layers;
    QVector<Feature> m_features;
    QVector<double> m_light;          // per column illumination factor
    double m_beddingDip = 0;          // radians, small tilt of the bedding
    double m_beddingAzimuth = 0;
};

#endif // SAMPLEWALL_H
