#ifndef SAMPLEOPTIONS_H
#define SAMPLEOPTIONS_H

// Command line of kora-sample, parsed and checked.

#include <QList>
#include <QString>
#include <QStringList>

class SampleOptions
{
public:
    QString out;
    bool force = false;
    bool quiet = false;
    double fromMetres = 0.0;
    double toMetres = 10.0;
    double diameterMm = 100.0;
    int width = 400;
    double pieceMetres = 1.0;
    QString direction = QStringLiteral("down");
    int generation = 16;
    quint32 seed = 1;

    QString name;
    QString unit;
    QString number;
    QString date;
    QString person;
    double longitude = 112.9388;
    double latitude = 28.2282;

    QList<int> badPieces;
    struct HugeHeader
    {
        int index = 0;            // piece, 0-based in ascending id order
        int width = 65500;        // size the JPEG header claims
        int height = 65500;
    };
    QList<HugeHeader> hugeHeaders;
    QList<int> missingIds;        // depth units, from --missing-metre
    struct Range
    {
        int from = 0;             // depth units
        int to = 0;
    };
    QList<Range> missingRanges;   // --missing-range: ids strictly inside
    struct PieceWidth
    {
        int index = 0;            // piece, 0-based in ascending id order
        int width = 0;            // pixels
    };
    QList<PieceWidth> pieceWidths;
    struct Marker
    {
        int depth = 0;            // depth units of the band's top edge
        int thickness = 50;       // depth units
    };
    QList<Marker> markers;
    bool isMissing(int id) const;
    bool noImages = false;
    QString featuresCsv;

    // The hole's direction (--inclination, --hole-azimuth) and the image's
    // azimuth reference (--reference); holeGiven when any was set.
    double inclination = 0.0;
    double holeAzimuth = 0.0;
    bool highSide = false;
    bool holeGiven = false;
    // Fractures of given true orientation (--plane M:DIP:DIR).
    struct Plane
    {
        double depthMetres = 0.0;
        double dip = 0.0;
        double dipDirection = 0.0;
    };
    QList<Plane> planes;

    // Derived values, depth units (0.1 mm).
    int fromUnits() const;
    int toUnits() const;
    int pieceUnits() const;
    int diameterUnits() const;          // as stored in projectInfo (may be 0)
    int imageDiameterUnits() const;     // diameter used for the picture (100 mm when 0)
    double pixelsPerUnit() const;       // width / (imageDiameterUnits * 3.14)
    bool isUp() const { return direction == QLatin1String("up"); }

    // Parses the application's arguments. On --help or --version it prints and
    // exits. Returns false with a message in *error for bad input.
    bool parse(const QStringList &arguments, QString *error);
};

#endif // SAMPLEOPTIONS_H
