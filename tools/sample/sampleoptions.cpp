#include "sampleoptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>

#include <cmath>
#include <limits>

namespace {

const int kUnitsPerMetre = 10000;

// Saturates instead of overflowing, so a huge value stays huge (and is then
// refused or clamped by the checks below).
int metresToUnits(double m)
{
    const double units = std::round(m * kUnitsPerMetre);
    if (units >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (units <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(units);
}

bool toNumber(const QString &text, double *value)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

bool toInteger(const QString &text, qint64 *value)
{
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (!ok)
        return false;
    *value = v;
    return true;
}

// The options: name, help, value name (none for a flag) and default value.
struct OptionSpec
{
    const char *name;
    const char *help;
    const char *valueName;
    const char *defaultValue;
};

const OptionSpec kOptions[] = {
    {"out", "Project file to write (required).", "FILE", nullptr},
    {"force", "Overwrite FILE if it exists (otherwise refused).", nullptr, nullptr},
    {"from", "Start depth in metres (default 0; must be 0 for --direction up).", "M", "0"},
    {"to", "End depth in metres, greater than --from (default 10).", "M", "10"},
    {"diameter",
     "Borehole diameter in mm (default 100), stored as MM*10 (0.1 mm units). "
     "0 stores 0 (a fault fixture); the picture then uses 100 mm.",
     "MM", "100"},
    {"width", "Image width in pixels, 1..30000 (default 400).", "PX", "400"},
    {"piece", "Piece length in metres, may be fractional (default 1).", "M", "1"},
    {"direction", "Logging direction: down or up (default down).", "down|up", "down"},
    {"generation",
     "Column set of projectInfo: 3 (direction, start, diameter), 5 (+ fLongitude, "
     "fLatitude), 14 (3 + eleven varchar(20) columns), 16 (5 + eleven). Default 16.",
     "3|5|14|16", "16"},
    {"seed", "Random seed, 0..4294967295 (default 1). Same seed, same bytes.", "N", "1"},
    {"name", "projectName (generations 14 and 16 only).", "TEXT", nullptr},
    {"unit", "detectionUnit (generations 14 and 16 only).", "TEXT", nullptr},
    {"number", "orificeNumber (generations 14 and 16 only).", "TEXT", nullptr},
    {"date",
     "date column, normally yyyy/MM/dd (default today); any text is stored "
     "as given, so an unparsable date can be planted.",
     "TEXT", nullptr},
    {"person", "testPerson (generations 14 and 16 only).", "TEXT", nullptr},
    {"longitude", "fLongitude (generations 5 and 16; default 112.9388).", "DEG", "112.9388"},
    {"latitude", "fLatitude (generations 5 and 16; default 28.2282).", "DEG", "28.2282"},
    {"bad-piece",
     "Write a non-JPEG blob for piece INDEX (0-based in ascending id order). "
     "Repeatable.",
     "INDEX", nullptr},
    {"huge-header",
     "Write piece INDEX as a tiny JPEG (16 x 16 pixels of data) whose header "
     "claims WxH pixels (default 65500x65500): a hostile-file fixture. "
     "Repeatable.",
     "INDEX[:WxH]", nullptr},
    {"missing-metre",
     "Omit the piece whose id is M*10000 (bottom edge at M metres; for up "
     "projects the stored id). Repeatable.",
     "M", nullptr},
    {"missing-range",
     "Omit every piece whose id lies strictly between A and B metres: the piece "
     "below the gap then covers it. Repeatable.",
     "A:B", nullptr},
    {"piece-width",
     "Store piece INDEX (0-based in ascending id order) PX pixels wide, the same "
     "wall squeezed or stretched across the circumference. Repeatable.",
     "INDEX:PX", nullptr},
    {"marker",
     "Paint a magenta band (255,0,255) across the wall from M metres down, MM "
     "millimetres thick (default 5), to find the depth of a row in any picture "
     "of the wall. Repeatable.",
     "M[:MM]", nullptr},
    {"no-images", "Create bigImages but leave it empty.", nullptr, nullptr},
    {"features-csv", "Write the planted fractures and vugs to this CSV file.", "FILE", nullptr},
    {"inclination", "Hole inclination from vertical in degrees, 0..89 (default 0).", "DEG", "0"},
    {"hole-azimuth", "Azimuth of the hole's direction in degrees from north (default 0).", "DEG", "0"},
    {"reference", "What image azimuth 0 is: north or highside (default north).", "north|highside", "north"},
    {"plane",
     "A fracture of true dip DIP and dip direction DIR (degrees) at depth M "
     "(metres) instead of the random ones. Repeatable.",
     "M:DIP:DIR", nullptr},
    {"quiet", "Do not print the summary line.", nullptr, nullptr},
};

} // namespace

bool SampleOptions::isMissing(int id) const
{
    if (missingIds.contains(id))
        return true;
    for (const Range &range : missingRanges)
        if (id > range.from && id < range.to)
            return true;
    return false;
}

int SampleOptions::fromUnits() const { return metresToUnits(fromMetres); }
int SampleOptions::toUnits() const { return metresToUnits(toMetres); }
int SampleOptions::pieceUnits() const { return metresToUnits(pieceMetres); }
int SampleOptions::diameterUnits() const { return int(std::llround(diameterMm * 10.0)); }

int SampleOptions::imageDiameterUnits() const
{
    const int d = diameterUnits();
    return d > 0 ? d : 1000;
}

double SampleOptions::pixelsPerUnit() const
{
    return double(width) / (double(imageDiameterUnits()) * 3.14);
}

bool SampleOptions::parse(const QStringList &arguments, QString *error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate("kora-sample",
        "Writes a sample KORA project (.prj): an SQLite file with the tables bigImages,\n"
        "projectInfo and images. The unrolled borehole wall is synthetic but believable:\n"
        "bedding bands (tilted a few degrees), planar fractures, a few vugs and grain texture.\n"
        "\n"
        "Depths are stored in units of 0.1 mm (10000 units = 1 m). Each bigImages row\n"
        "holds one JPEG piece keyed by the depth of its bottom edge: from+piece,\n"
        "from+2*piece, ..., the last one exactly 'to' (shorter when the range does not\n"
        "divide). pixelsPerUnit = width / (diameter_in_0.1mm * 3.14); a piece's pixel\n"
        "height is its depth span * pixelsPerUnit, rounded cumulatively so the rows of\n"
        "all pieces stay proportional to depth.\n"
        "\n"
        "Direction up: the wall 0..L (--from must be 0) is cut into pieces from the\n"
        "bottom upward, as an upward-logged run stores it: the piece covering depth\n"
        "[t, b] gets id L - t and holds the wall rows t..b top to bottom; projectInfo\n"
        "gets direction 'up' and start 0. Converting it to downward order gives the\n"
        "same wall as the down project of the same seed.\n"
        "\n"
        "Fractures: a plane with dip d and dip direction a crossing a hole of diameter\n"
        "D leaves the trace z(theta) = z0 + (D/2) * tan(d) * cos(theta - a), depth\n"
        "positive downward, so the trace is deepest at azimuth theta = a (the dip\n"
        "direction) and shallowest at a + 180. Azimuth theta lies at image column\n"
        "x = theta / 360 * width (north at both edges). --features-csv writes\n"
        "'depth_m,dip_deg,dip_direction_deg,kind' with depth_m = z0 in metres (collar\n"
        "depth for up projects); vugs have dip 0 and direction 0.\n"
        "\n"
        "Inclined holes: --inclination and --hole-azimuth give the hole's direction\n"
        "(degrees from vertical, degrees from north); --reference says what azimuth 0\n"
        "of the image is: north or the hole's high side, projected onto the plane\n"
        "across the hole (north where the hole is vertical). Azimuth runs clockwise\n"
        "looking down the hole. dip_deg and dip_direction_deg in the features CSV\n"
        "are then the true (geographic) orientation; two more columns,\n"
        "apparent_dip_deg and apparent_dip_direction_deg, give the trace as drawn:\n"
        "dip against the hole's axis and the image azimuth of its deepest point.\n"
        "\n"
        "Exit status: 0 on success, 1 for bad options, 2 when the file cannot be written."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();

    for (const OptionSpec &o : kOptions)
        parser.addOption(QCommandLineOption(QString::fromLatin1(o.name), QString::fromUtf8(o.help),
                                            QString::fromLatin1(o.valueName), QString::fromLatin1(o.defaultValue)));

    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return false;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (!parser.positionalArguments().isEmpty()) {
        *error = QStringLiteral("unexpected argument '%1' (see --help)")
                     .arg(parser.positionalArguments().first());
        return false;
    }

    out = parser.value(QStringLiteral("out"));
    if (out.isEmpty()) {
        *error = QStringLiteral("--out FILE is required (see --help)");
        return false;
    }
    force = parser.isSet(QStringLiteral("force"));
    quiet = parser.isSet(QStringLiteral("quiet"));
    noImages = parser.isSet(QStringLiteral("no-images"));
    featuresCsv = parser.value(QStringLiteral("features-csv"));

    auto readNumber = [&](const QString &name, double *v) {
        if (!toNumber(parser.value(name), v)) {
            *error = QStringLiteral("--%1: '%2' is not a number").arg(name, parser.value(name));
            return false;
        }
        return true;
    };
    if (!readNumber(QStringLiteral("from"), &fromMetres) || !readNumber(QStringLiteral("to"), &toMetres)
        || !readNumber(QStringLiteral("diameter"), &diameterMm) || !readNumber(QStringLiteral("piece"), &pieceMetres)
        || !readNumber(QStringLiteral("longitude"), &longitude) || !readNumber(QStringLiteral("latitude"), &latitude))
        return false;

    qint64 v = 0;
    if (!toInteger(parser.value(QStringLiteral("width")), &v) || v < 0 || v > 30000) {
        *error = QStringLiteral("--width: '%1' is not a pixel width (1..30000)")
                     .arg(parser.value(QStringLiteral("width")));
        return false;
    }
    if (v == 0) {
        *error = QStringLiteral("--width 0: a JPEG piece cannot be 0 pixels wide");
        return false;
    }
    width = int(v);

    if (!toInteger(parser.value(QStringLiteral("generation")), &v) || (v != 3 && v != 5 && v != 14 && v != 16)) {
        *error = QStringLiteral("--generation: '%1' is not one of 3, 5, 14, 16")
                     .arg(parser.value(QStringLiteral("generation")));
        return false;
    }
    generation = int(v);

    if (!toInteger(parser.value(QStringLiteral("seed")), &v) || v < 0 || v > 0xffffffffLL) {
        *error = QStringLiteral("--seed: '%1' is not an integer 0..4294967295")
                     .arg(parser.value(QStringLiteral("seed")));
        return false;
    }
    seed = quint32(v);

    direction = parser.value(QStringLiteral("direction")).trimmed().toLower();
    if (direction != QLatin1String("down") && direction != QLatin1String("up")) {
        *error = QStringLiteral("--direction: '%1' is neither down nor up")
                     .arg(parser.value(QStringLiteral("direction")));
        return false;
    }

    if (fromMetres < 0.0) {
        *error = QStringLiteral("--from must not be negative");
        return false;
    }
    if (fromMetres > 200000.0) {
        *error = QStringLiteral("--from: %1 m is beyond the depth range of the file format")
                     .arg(fromMetres);
        return false;
    }
    if (toMetres > 200000.0) {
        *error = QStringLiteral("--to: %1 m is beyond the depth range of the file format")
                     .arg(toMetres);
        return false;
    }
    if (toUnits() <= fromUnits()) {
        *error = QStringLiteral("--to (%1 m) must be greater than --from (%2 m)")
                     .arg(toMetres).arg(fromMetres);
        return false;
    }
    if (isUp() && fromUnits() != 0) {
        *error = QStringLiteral("--direction up needs --from 0: an upward run is numbered from "
                                "the collar (depth 0) of the hole");
        return false;
    }
    if (diameterMm < 0.0 || diameterMm > 10000.0) {
        *error = QStringLiteral("--diameter must be between 0 and 10000 mm");
        return false;
    }
    if (diameterMm > 0.0 && diameterUnits() == 0) {
        *error = QStringLiteral("--diameter %1 mm is stored as 0 (the unit is 0.1 mm); give 0 or at "
                                "least 0.05 mm").arg(diameterMm);
        return false;
    }
    if (pieceUnits() <= 0) {
        *error = QStringLiteral("--piece must be at least 0.0001 m");
        return false;
    }

    for (const QString &text : parser.values(QStringLiteral("bad-piece"))) {
        if (!toInteger(text, &v) || v < 0 || v > 100000000) {
            *error = QStringLiteral("--bad-piece: '%1' is not a piece index").arg(text);
            return false;
        }
        badPieces << int(v);
    }
    for (const QString &text : parser.values(QStringLiteral("huge-header"))) {
        HugeHeader huge;
        const QString index = text.section(QLatin1Char(':'), 0, 0);
        const QString size = text.section(QLatin1Char(':'), 1);
        qint64 w = huge.width, h = huge.height;
        const bool sizeOk = size.isEmpty()
            || (size.count(QLatin1Char('x')) == 1 && toInteger(size.section(QLatin1Char('x'), 0, 0), &w)
                && toInteger(size.section(QLatin1Char('x'), 1), &h));
        if (!toInteger(index, &v) || v < 0 || v > 100000000 || !sizeOk || w < 1 || w > 65535 || h < 1
            || h > 65535) {
            *error = QStringLiteral("--huge-header: '%1' is not INDEX or INDEX:WxH (sides 1..65535)")
                         .arg(text);
            return false;
        }
        huge.index = int(v);
        huge.width = int(w);
        huge.height = int(h);
        hugeHeaders << huge;
    }
    for (const QString &text : parser.values(QStringLiteral("missing-metre"))) {
        double m = 0;
        if (!toNumber(text, &m) || m <= 0.0 || m > 200000.0) {
            *error = QStringLiteral("--missing-metre: '%1' is not a depth in metres").arg(text);
            return false;
        }
        missingIds << metresToUnits(m);
    }

    holeGiven = parser.isSet(QStringLiteral("inclination")) || parser.isSet(QStringLiteral("hole-azimuth"))
                || parser.isSet(QStringLiteral("reference"));
    if (!readNumber(QStringLiteral("inclination"), &inclination) || !readNumber(QStringLiteral("hole-azimuth"), &holeAzimuth))
        return false;
    if (inclination < 0.0 || inclination > 89.0) {
        *error = QStringLiteral("--inclination must be between 0 and 89 degrees");
        return false;
    }
    const QString reference = parser.value(QStringLiteral("reference")).trimmed().toLower();
    if (reference != QLatin1String("north") && reference != QLatin1String("highside")) {
        *error = QStringLiteral("--reference: '%1' is neither north nor highside")
                     .arg(parser.value(QStringLiteral("reference")));
        return false;
    }
    highSide = reference == QLatin1String("highside");
    for (const QString &text : parser.values(QStringLiteral("plane"))) {
        const QStringList parts = text.split(QLatin1Char(':'));
        Plane plane;
        if (parts.size() != 3 || !toNumber(parts[0], &plane.depthMetres) || !toNumber(parts[1], &plane.dip)
            || !toNumber(parts[2], &plane.dipDirection) || plane.dip < 0.0 || plane.dip >= 90.0) {
            *error = QStringLiteral("--plane: '%1' is not M:DIP:DIR (dip 0..89.99)").arg(text);
            return false;
        }
        planes << plane;
    }
    for (const QString &text : parser.values(QStringLiteral("missing-range"))) {
        double a = 0, b = 0;
        if (text.count(QLatin1Char(':')) != 1 || !toNumber(text.section(QLatin1Char(':'), 0, 0), &a)
            || !toNumber(text.section(QLatin1Char(':'), 1), &b) || a < 0.0 || b <= a || b > 200000.0) {
            *error = QStringLiteral("--missing-range: '%1' is not A:B in metres with A < B").arg(text);
            return false;
        }
        missingRanges << Range{metresToUnits(a), metresToUnits(b)};
    }
    for (const QString &text : parser.values(QStringLiteral("piece-width"))) {
        qint64 index = 0, px = 0;
        if (text.count(QLatin1Char(':')) != 1 || !toInteger(text.section(QLatin1Char(':'), 0, 0), &index)
            || !toInteger(text.section(QLatin1Char(':'), 1), &px) || index < 0 || index > 100000000 || px < 1
            || px > 30000) {
            *error = QStringLiteral("--piece-width: '%1' is not INDEX:PX (PX 1..30000)").arg(text);
            return false;
        }
        pieceWidths << PieceWidth{int(index), int(px)};
    }
    for (const QString &text : parser.values(QStringLiteral("marker"))) {
        double m = 0, mm = 5.0;
        const bool thick = text.contains(QLatin1Char(':'));
        if (!toNumber(text.section(QLatin1Char(':'), 0, 0), &m) || m < 0.0 || m > 200000.0
            || (thick && (!toNumber(text.section(QLatin1Char(':'), 1), &mm) || mm < 0.1 || mm > 10000.0))) {
            *error = QStringLiteral("--marker: '%1' is not M or M:MM").arg(text);
            return false;
        }
        markers << Marker{metresToUnits(m), int(std::lround(mm * 10.0))};
    }

    name = parser.isSet(QStringLiteral("name")) ? parser.value(QStringLiteral("name")) : QStringLiteral("Sample hole %1").arg(seed);
    unit = parser.isSet(QStringLiteral("unit")) ? parser.value(QStringLiteral("unit")) : QStringLiteral("KORA Survey Team");
    number = parser.isSet(QStringLiteral("number")) ? parser.value(QStringLiteral("number")) : QStringLiteral("ZK-%1").arg(seed);
    date = parser.isSet(QStringLiteral("date")) ? parser.value(QStringLiteral("date"))
                                 : QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"));
    person = parser.isSet(QStringLiteral("person")) ? parser.value(QStringLiteral("person")) : QStringLiteral("Operator");
    return true;
}
