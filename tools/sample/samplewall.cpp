#include "samplewall.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

const double kPi = 3.14159265358979323846;

// Uniform numbers from mt19937 without the library's distributions, whose
// algorithms differ between standard libraries: same seed, same wall.
class Random
{
public:
    explicit Random(std::uint32_t seed) : m_engine(seed) {}
    double uniform(double lo, double hi) { return lo + (hi - lo) * (double(m_engine()) / 4294967296.0); }
    int below(int n) { return int(double(m_engine()) / 4294967296.0 * n); }

private:
    std::mt19937 m_engine;
};

double clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
double smooth(double t)
{
    t = clamp01(t);
    return t * t * (3 - 2 * t);
}
int toByte(double v) { return v <= 0 ? 0 : (v >= 255 ? 255 : int(v + 0.5)); }
double roundTo(double v, double step) { return std::round(v / step) * step; }

struct Rock
{
    double r, g, b;
};

// Sandstone, siltstone, shale, mudstone and limestone tones as a camera sees
// them under its own lamp.
const Rock kRocks[] = {
    {186, 154, 112}, // light sandstone
    {160, 121, 82},  // brown sandstone
    {141, 125, 104}, // siltstone
    {100, 97, 93},   // grey shale
    {78, 75, 71},    // dark shale
    {129, 97, 72},   // red-brown mudstone
    {176, 171, 157}, // limestone
};

} // namespace

SampleWall::SampleWall(quint32 seed, double topMetres, double bottomMetres, double diameterMetres,
                       int width, double pixelsPerMetre, const Hole &hole,
                       const QVector<Plane> &planes)
    : m_hole(hole)
    , m_planes(planes)
    , m_seed(seed)
    , m_top(topMetres)
    , m_bottom(bottomMetres)
    , m_diameter(diameterMetres)
    , m_width(width)
    , m_pixelsPerMetre(pixelsPerMetre)
    , m_rowOrigin(std::llround(topMetres * pixelsPerMetre))
{
    makeLayers(seed);
    makeFeatures(seed ^ 0x9e3779b9u);

    Random rnd(seed ^ 0x51ed270bu);
    const double lampAzimuth = rnd.uniform(0, 2 * kPi);
    m_beddingDip = rnd.uniform(1.0, 6.0) * kPi / 180.0;
    m_beddingAzimuth = rnd.uniform(0, 2 * kPi);
    m_light.resize(width);
    for (int x = 0; x < width; ++x) {
        const double theta = (x + 0.5) / width * 2 * kPi;
        m_light[x] = 0.93 + 0.07 * std::cos(theta - lampAzimuth);
    }
}

void SampleWall::makeLayers(std::uint32_t seed)
{
    // Layers are laid out from a fixed origin (1 m above depth 0) so the same
    // seed gives the same bedding whatever the top of the wall is.
    Random rnd(seed);
    const int rockCount = int(sizeof(kRocks) / sizeof(kRocks[0]));
    double top = -1.0;
    m_layers.reserve(int((m_bottom + 2.0) / 0.8) + 8);
    int previous = -1;
    while (top <= m_bottom + 1.0) {
        int kind = rnd.below(rockCount);
        if (kind == previous)
            kind = (kind + 1 + rnd.below(rockCount - 1)) % rockCount;
        previous = kind;
        const double shade = rnd.uniform(-14, 14);
        Layer layer;
        layer.r = kRocks[kind].r + shade + rnd.uniform(-5, 5);
        layer.g = kRocks[kind].g + shade + rnd.uniform(-5, 5);
        layer.b = kRocks[kind].b + shade + rnd.uniform(-5, 5);
        layer.laminaWavelength = rnd.uniform(0.008, 0.06);
        layer.laminaAmplitude = rnd.uniform(2, 9);
        layer.laminaPhase = rnd.uniform(0, 2 * kPi);
        layer.top = top;
        m_layers.append(layer);
        const double u = rnd.uniform(0, 1);
        top += 0.04 + 1.4 * u * u; // many thin beds, a few thick ones
    }
}

void SampleWall::makeFeatures(std::uint32_t seed)
{
    Random rnd(seed);
    const double radius = m_diameter / 2.0;
    const double length = m_bottom - m_top;
    const double lineScale = std::max(1.2, m_width / 400.0 * 1.5);

    // Planar fractures, about one every 2 to 4 m, each trace fully inside the wall.
    QVector<Feature> fractures;
    double z = m_top + rnd.uniform(0.6, 1.8);
    while (z < m_bottom) {
        Feature f;
        f.fracture = true;
        f.halfThicknessPx = lineScale * rnd.uniform(0.8, 1.4);
        f.strength = rnd.uniform(0.72, 0.92);
        f.dipDirectionDegrees = roundTo(rnd.uniform(0, 360), 0.01);
        if (f.dipDirectionDegrees >= 360)
            f.dipDirectionDegrees = 0;
        const double z0 = roundTo(z, 0.0001);
        for (int attempt = 0; attempt < 8; ++attempt) {
            const double dip = roundTo(rnd.uniform(10, 70), 0.01);
            double apparentDip = dip, apparentDirection = f.dipDirectionDegrees;
            apparentOrientation(m_hole, dip, f.dipDirectionDegrees, &apparentDip, &apparentDirection);
            const double reach = radius * std::tan(apparentDip * kPi / 180.0)
                                 + (f.halfThicknessPx + 3) / m_pixelsPerMetre + 0.002;
            // In an inclined hole a steep trace would span metres: not drawn.
            if (apparentDip <= 80 && z0 - reach >= m_top && z0 + reach <= m_bottom) {
                f.dipDegrees = dip;
                f.apparentDipDegrees = apparentDip;
                f.apparentDirectionDegrees = apparentDirection;
                f.depthMetres = z0;
                if (m_planes.isEmpty())
                    fractures.append(f);
                break;
            }
        }
        z += rnd.uniform(2.0, 4.0);
    }
    // Planes asked for replace the random fractures (which still drew their
    // numbers, so the vugs and the rest of the wall stay those of the seed).
    for (const Plane &plane : qAsConst(m_planes)) {
        Feature f;
        f.fracture = true;
        f.halfThicknessPx = lineScale * 1.1;
        f.strength = 0.85;
        f.depthMetres = plane.depthMetres;
        f.dipDegrees = plane.dipDegrees;
        f.dipDirectionDegrees = plane.dipDirectionDegrees;
        apparentOrientation(m_hole, plane.dipDegrees, plane.dipDirectionDegrees,
                            &f.apparentDipDegrees, &f.apparentDirectionDegrees);
        fractures.append(f);
    }

    // A few vugs, kept off the fracture traces.
    QVector<Feature> vugs;
    const int vugCount = std::max(1, int(length / 3.0 + rnd.uniform(0, 1)));
    for (int i = 0; i < vugCount; ++i) {
        const double halfWidthMm = rnd.uniform(4, 15);
        const double ratio = rnd.uniform(0.6, 1.3);
        const double halfWidthPx = std::max(2.0, halfWidthMm / 1000.0 * m_pixelsPerMetre);
        const double halfHeightPx = std::max(2.0, halfWidthPx * ratio);
        const double halfHeightM = (halfHeightPx + 2) / m_pixelsPerMetre;
        for (int attempt = 0; attempt < 12; ++attempt) {
            const double lo = m_top + halfHeightM + 0.005;
            const double hi = m_bottom - halfHeightM - 0.005;
            if (hi <= lo)
                break;
            const double zc = roundTo(rnd.uniform(lo, hi), 0.0001);
            const double azimuth = rnd.uniform(0, 360);
            bool clear = true;
            for (const Feature &f : fractures) {
                const double reach = radius * std::tan(f.apparentDipDegrees * kPi / 180.0)
                                     + (f.halfThicknessPx + 10) / m_pixelsPerMetre;
                if (std::fabs(zc - f.depthMetres) < reach + halfHeightM)
                    clear = false;
            }
            if (!clear)
                continue;
            Feature v;
            v.fracture = false;
            v.depthMetres = zc;
            v.vugHalfWidthPx = halfWidthPx;
            v.vugHalfHeightPx = halfHeightPx;
            v.vugAzimuthDegrees = azimuth;
            v.strength = rnd.uniform(0.8, 0.95);
            vugs.append(v);
            break;
        }
    }

    m_features = fractures + vugs;
    std::stable_sort(m_features.begin(), m_features.end(),
                     [](const Feature &a, const Feature &b) { return a.depthMetres < b.depthMetres; });
}

void SampleWall::rowColour(double depth, double *r, double *g, double *b) const
{
    auto it = std::upper_bound(m_layers.begin(), m_layers.end(), depth,
                               [](double d, const Layer &l) { return d < l.top; });
    int i = int(it - m_layers.begin()) - 1;
    if (i < 0)
        i = 0;
    auto tone = [depth](const Layer &l, double *cr, double *cg, double *cb) {
        // Laminae: three incommensurate waves whose contrast itself drifts with
        // depth, so the banding never looks machine-made.
        const double w = 2 * kPi * depth / l.laminaWavelength + l.laminaPhase;
        const double drift = 0.55 + 0.45 * std::sin(2 * kPi * depth / (l.laminaWavelength * 17.3) + l.laminaPhase * 1.7);
        const double f = 1.0 + l.laminaAmplitude / 100.0 * drift
                                   * (std::sin(w) + 0.5 * std::sin(w * 0.4217 + 2.1) + 0.3 * std::sin(w * 2.613 + 0.7));
        *cr = l.r * f;
        *cg = l.g * f;
        *cb = l.b * f;
    };
    tone(m_layers[i], r, g, b);

    // Soft contacts, about 6 mm wide.
    const double contact = 0.006;
    double nr, ng, nb;
    if (i > 0 && depth - m_layers[i].top < contact / 2) {
        tone(m_layers[i - 1], &nr, &ng, &nb);
        const double s = smooth(0.5 + (depth - m_layers[i].top) / contact);
        *r = nr + (*r - nr) * s;
        *g = ng + (*g - ng) * s;
        *b = nb + (*b - nb) * s;
    } else if (i + 1 < m_layers.size() && m_layers[i + 1].top - depth < contact / 2) {
        tone(m_layers[i + 1], &nr, &ng, &nb);
        const double s = smooth(0.5 - (m_layers[i + 1].top - depth) / contact);
        *r = *r + (nr - *r) * s;
        *g = *g + (ng - *g) * s;
        *b = *b + (nb - *b) * s;
    }
}

std::uint32_t SampleWall::hash(std::uint64_t a, std::uint64_t b) const
{
    std::uint64_t z = (a * 0x9E3779B97F4A7C15ull) ^ (b + 0x632BE59BD9B4E019ull) ^ (std::uint64_t(m_seed) << 32);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return std::uint32_t(z >> 16);
}

void SampleWall::addValueNoise(qint64 row, double cell, int octave, double weight, double *out) const
{
    // Value noise on a lattice of about 'cell' pixels that wraps around the
    // circumference, so the azimuth seam does not show. One image row at a time:
    // the lattice values of the two lattice rows around it are hashed once.
    const int columns = std::max(1, int(std::lround(m_width / cell)));
    const double cellWidth = double(m_width) / columns;
    const double fy = (row + 0.5) / cell + 0.61 * octave;
    const qint64 iy = qint64(std::floor(fy));
    const double ty = smooth(fy - double(iy));
    QVector<double> upper(columns), lower(columns);
    for (int c = 0; c < columns; ++c) {
        const std::uint64_t column = std::uint64_t(c) + 7777 + (std::uint64_t(octave) << 36);
        upper[c] = double(hash(std::uint64_t(iy + (1ll << 40)), column)) / 4294967295.0 * 2.0 - 1.0;
        lower[c] = double(hash(std::uint64_t(iy + 1 + (1ll << 40)), column)) / 4294967295.0 * 2.0 - 1.0;
    }
    for (int x = 0; x < m_width; ++x) {
        const double fx = (x + 0.5) / cellWidth + 0.37 * octave;
        const int ix = int(std::floor(fx));
        const double tx = smooth(fx - ix);
        const int c0 = ix % columns;
        const int c1 = (ix + 1) % columns;
        const double top = upper[c0] + (upper[c1] - upper[c0]) * tx;
        const double bottom = lower[c0] + (lower[c1] - lower[c0]) * tx;
        out[x] += weight * (top + (bottom - top) * ty);
    }
}

QImage SampleWall::render(int firstRow, int rowCount) const
{
    QImage image(m_width, rowCount, QImage::Format_RGB32);
    if (image.isNull())
        return image;

    const double radius = m_diameter / 2.0;
    struct Active
    {
        const Feature *feature;
        double centreRow;     // global row coordinate (pixel centres at R + 0.5)
        double amplitude;     // fractures: trace half-height in pixels
        double azimuth;       // radians
    };
    QVector<Active> active;
    for (const Feature &f : m_features) {
        Active a;
        a.feature = &f;
        a.centreRow = (f.depthMetres - m_top) * m_pixelsPerMetre;
        double reach;
        if (f.fracture) {
            a.amplitude = radius * std::tan(f.apparentDipDegrees * kPi / 180.0) * m_pixelsPerMetre;
            a.azimuth = f.apparentDirectionDegrees * kPi / 180.0;
            reach = a.amplitude + f.halfThicknessPx + 4;
        } else {
            a.amplitude = 0;
            a.azimuth = f.vugAzimuthDegrees * kPi / 180.0;
            reach = f.vugHalfHeightPx + 3;
        }
        if (a.centreRow + reach >= firstRow && a.centreRow - reach <= firstRow + rowCount)
            active.append(a);
    }

    // The bedding is tilted a little against the hole, so its colour depends
    // on the row plus a small sinusoidal offset per column. Colours come from
    // a table sampled every quarter row.
    QVector<double> offset(m_width);
    double maxOffset = 0;
    for (int x = 0; x < m_width; ++x) {
        const double theta = (x + 0.5) / m_width * 2 * kPi;
        offset[x] = radius * std::tan(m_beddingDip) * std::cos(theta - m_beddingAzimuth) * m_pixelsPerMetre;
        maxOffset = std::max(maxOffset, std::fabs(offset[x]));
    }
    const int sub = 4;
    const double tableStart = firstRow - std::ceil(maxOffset) - 2;
    const int tableSize = int((rowCount + 2 * std::ceil(maxOffset) + 4) * sub) + 1;
    QVector<double> tableR(tableSize), tableG(tableSize), tableB(tableSize);
    for (int i = 0; i < tableSize; ++i) {
        const double depth = m_top + (tableStart + double(i) / sub) / m_pixelsPerMetre;
        rowColour(depth, &tableR[i], &tableG[i], &tableB[i]);
    }

    const double darkR = 40, darkG = 32, darkB = 26;
    QVector<double> mottle(m_width);
    for (int y = 0; y < rowCount; ++y) {
        const int row = firstRow + y;
        const double rowCentre = row + 0.5;

        QVector<const Active *> here;
        for (const Active &a : active) {
            const double reach = a.feature->fracture
                                     ? a.amplitude + a.feature->halfThicknessPx + 4
                                     : a.feature->vugHalfHeightPx + 3;
            if (std::fabs(rowCentre - a.centreRow) <= reach)
                here.append(&a);
        }

        std::fill(mottle.begin(), mottle.end(), 0.0);
        addValueNoise(row + m_rowOrigin, 28.0, 1, 0.7 * 7, mottle.data());
        addValueNoise(row + m_rowOrigin, 7.0, 2, 0.3 * 7, mottle.data());

        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < m_width; ++x) {
            const double light = m_light[x];
            const std::uint32_t h = hash(std::uint64_t(row + m_rowOrigin) + (1ull << 41), std::uint64_t(x));
            double grain = (double(h & 0xffff) / 65535.0 * 2 - 1) * 9;
            if ((h >> 16) % 997 == 0)
                grain += 28; // a bright quartz grain now and then
            const double chroma = (double((h >> 24) & 0xff) / 255.0 * 2 - 1) * 3;
            const double m = mottle[x];
            const int t = std::clamp(int(std::lround((rowCentre + offset[x] - tableStart) * sub)), 0, tableSize - 1);
            double r = tableR[t] * light + m + grain + chroma;
            double g = tableG[t] * light + m + grain;
            double b = tableB[t] * light + m + grain - chroma;

            for (const Active *a : here) {
                const Feature &f = *a->feature;
                double alpha = 0;
                if (f.fracture) {
                    const double theta = (x + 0.5) / m_width * 2 * kPi;
                    // Depth grows downward: the trace is deepest at the dip direction.
                    const double trace = a->centreRow + a->amplitude * std::cos(theta - a->azimuth);
                    const double slope = -a->amplitude * std::sin(theta - a->azimuth) * 2 * kPi / m_width;
                    const double distance = std::fabs(rowCentre - trace) / std::sqrt(1 + slope * slope);
                    // The aperture opens and closes along the trace.
                    const double half = f.halfThicknessPx
                                        * (0.8 + 0.25 * std::sin(3 * theta + f.dipDirectionDegrees)
                                           + 0.15 * std::sin(7 * theta + f.dipDegrees));
                    alpha = f.strength * clamp01(half + 0.5 - distance);
                    if (alpha <= 0 && distance < half + 3)
                        alpha = 0.15 * (1 - (distance - half) / 3); // weathered rim
                } else {
                    const double centreX = a->azimuth / (2 * kPi) * m_width;
                    double dx = x + 0.5 - centreX;
                    dx -= std::round(dx / m_width) * m_width;
                    const double dy = rowCentre - a->centreRow;
                    const double q = std::sqrt((dx * dx) / (f.vugHalfWidthPx * f.vugHalfWidthPx)
                                               + (dy * dy) / (f.vugHalfHeightPx * f.vugHalfHeightPx));
                    const double edge = (1 - q) * std::min(f.vugHalfWidthPx, f.vugHalfHeightPx);
                    alpha = f.strength * clamp01(edge + 0.5);
                }
                if (alpha > 0) {
                    r += (darkR - r) * alpha;
                    g += (darkG - g) * alpha;
                    b += (darkB - b) * alpha;
                }
            }
            line[x] = qRgb(toByte(r), toByte(g), toByte(b));
        }
    }
    return image;
}

QString SampleWall::featuresCsv(bool withApparent) const
{
    QString text = QStringLiteral("depth_m,dip_deg,dip_direction_deg,kind");
    text += withApparent ? QStringLiteral(",apparent_dip_deg,apparent_dip_direction_deg\n")
                         : QStringLiteral("\n");
    for (const Feature &f : m_features) {
        if (f.fracture)
            text += QStringLiteral("%1,%2,%3,fracture")
                        .arg(f.depthMetres, 0, 'f', 4)
                        .arg(f.dipDegrees, 0, 'f', 2)
                        .arg(f.dipDirectionDegrees, 0, 'f', 2);
        else
            text += QStringLiteral("%1,0,0,vug").arg(f.depthMetres, 0, 'f', 4);
        if (withApparent)
            text += QStringLiteral(",%1,%2").arg(f.apparentDipDegrees, 0, 'f', 4).arg(f.apparentDirectionDegrees, 0, 'f', 4);
        text += QLatin1Char('\n');
    }
    return text;
}

void SampleWall::apparentOrientation(const Hole &hole, double dip, double dipDirection,
                                     double *apparentDip, double *apparentDirection)
{
    if (hole.inclination == 0.0) {
        *apparentDip = dip;
        *apparentDirection = dipDirection;
        return;
    }
    // Frame north, east, down. The hole's axis t, the image's azimuth 0 r0
    // across it, and r90 = t x r0 (clockwise looking down the hole).
    const double i = hole.inclination * kPi / 180.0, h = hole.azimuth * kPi / 180.0;
    const double t[3] = {std::sin(i) * std::cos(h), std::sin(i) * std::sin(h), std::cos(i)};
    auto across = [&t](const double v[3], double out[3]) {
        const double along = v[0] * t[0] + v[1] * t[1] + v[2] * t[2];
        for (int k = 0; k < 3; ++k)
            out[k] = v[k] - along * t[k];
        const double n = std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
        for (int k = 0; k < 3; ++k)
            out[k] /= n;
        return n > 1e-9;
    };
    const double north[3] = {1, 0, 0}, up[3] = {0, 0, -1};
    double r0[3];
    if (!(hole.highSide && across(up, r0)))
        across(north, r0);
    const double r90[3] = {t[1] * r0[2] - t[2] * r0[1], t[2] * r0[0] - t[0] * r0[2],
                           t[0] * r0[1] - t[1] * r0[0]};
    // The plane's normal and where it meets the wall: a point at azimuth
    // theta and distance s along the hole, R u(theta) + s t, lies on the
    // plane through the axis at s0 when s - s0 = -R (n.u(theta)) / (n.t),
    // a cosine of amplitude A peaking at the apparent direction.
    const double d = dip * kPi / 180.0, a = dipDirection * kPi / 180.0;
    const double n[3] = {-std::sin(d) * std::cos(a), -std::sin(d) * std::sin(a), std::cos(d)};
    const double nt = n[0] * t[0] + n[1] * t[1] + n[2] * t[2];
    const double n0 = n[0] * r0[0] + n[1] * r0[1] + n[2] * r0[2];
    const double n90 = n[0] * r90[0] + n[1] * r90[1] + n[2] * r90[2];
    const double c = -n0 / nt, s = -n90 / nt; // A / R = hypot(c, s)
    *apparentDip = std::atan(std::hypot(c, s)) * 180.0 / kPi;
    double direction = std::atan2(s, c) * 180.0 / kPi;
    if (direction < 0)
        direction += 360.0;
    *apparentDirection = direction >= 360.0 ? 0.0 : direction;
}
