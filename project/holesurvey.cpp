#include "holesurvey.h"

#include <QCoreApplication>
#include <QFile>
#include <QIODevice>
#include <QRegularExpression>
#include <QStringList>
#include <QTextStream>
#include <QtMath>
#include <cmath>

namespace {

using Vec3 = std::array<double, 3>;

QString tr(const char *text)
{
    return QCoreApplication::translate("HoleSurvey", text);
}

Vec3 axisOf(double inclination, double azimuth)
{
    const double i = qDegreesToRadians(inclination);
    const double a = qDegreesToRadians(azimuth);
    return {std::sin(i) * std::cos(a), std::sin(i) * std::sin(a), std::cos(i)};
}

// Which of the three columns a heading names: 0 depth, 1 inclination,
// 2 azimuth, -1 none. "MD (m)", "Depth_m", "INC", "Inclination [deg]", "AZI".
int columnOfHeading(QString heading)
{
    heading = heading.trimmed().toLower();
    const int unit = heading.indexOf(QRegularExpression(QStringLiteral("[(\\[]")));
    if (unit >= 0)
        heading.truncate(unit);
    heading.remove(QRegularExpression(QStringLiteral("[^a-z]")));
    if (heading == QLatin1String("md") || heading == QLatin1String("mdm")
        || heading.startsWith(QLatin1String("depth")) || heading == QLatin1String("measureddepth"))
        return 0;
    if (heading.startsWith(QLatin1String("inc")))
        return 1;
    if (heading.startsWith(QLatin1String("azi")) || heading == QLatin1String("az"))
        return 2;
    return -1;
}

QChar separatorOf(const QString &headingLine)
{
    if (headingLine.contains(QLatin1Char('\t')))
        return QLatin1Char('\t');
    if (headingLine.contains(QLatin1Char(';')))
        return QLatin1Char(';');
    return QLatin1Char(',');
}

} // namespace

HoleSurvey HoleSurvey::straight(double inclination, double azimuth, Reference reference)
{
    HoleSurvey survey;
    survey.m_stations = {Station{0.0, inclination, HoleSurvey::wrapDegrees(azimuth)}};
    survey.m_reference = reference;
    return survey;
}

bool HoleSurvey::isVertical() const
{
    for (const Station &s : m_stations)
        if (s.inclination != 0.0)
            return false;
    return true;
}

std::array<double, 3> HoleSurvey::axisAt(double depthMetres) const
{
    if (m_stations.isEmpty())
        return {0.0, 0.0, 1.0};
    if (depthMetres <= m_stations.first().depth)
        return axisOf(m_stations.first().inclination, m_stations.first().azimuth);
    if (depthMetres >= m_stations.last().depth)
        return axisOf(m_stations.last().inclination, m_stations.last().azimuth);
    int i = 1;
    while (m_stations.at(i).depth < depthMetres)
        ++i;
    const Station &a = m_stations.at(i - 1);
    const Station &b = m_stations.at(i);
    const Vec3 t1 = axisOf(a.inclination, a.azimuth);
    const Vec3 t2 = axisOf(b.inclination, b.azimuth);
    const double f = (depthMetres - a.depth) / (b.depth - a.depth);
    const double c = std::clamp(t1[0] * t2[0] + t1[1] * t2[1] + t1[2] * t2[2], -1.0, 1.0);
    const double dogleg = std::acos(c);
    // A circular arc between the stations turns the direction at a constant
    // rate: spherical interpolation of the two tangents. Nearly parallel
    // tangents interpolate linearly (the arc is then a straight line).
    double w1 = 1.0 - f, w2 = f;
    if (dogleg > 1e-9) {
        w1 = std::sin((1.0 - f) * dogleg) / std::sin(dogleg);
        w2 = std::sin(f * dogleg) / std::sin(dogleg);
    }
    Vec3 t{w1 * t1[0] + w2 * t2[0], w1 * t1[1] + w2 * t2[1], w1 * t1[2] + w2 * t2[2]};
    const double n = std::sqrt(t[0] * t[0] + t[1] * t[1] + t[2] * t[2]);
    if (!(n > 1e-12))
        return t1; // opposite directions: no arc between them
    return {t[0] / n, t[1] / n, t[2] / n};
}

double HoleSurvey::wrapDegrees(double degrees)
{
    double d = std::fmod(degrees, 360.0);
    if (d < 0.0)
        d += 360.0;
    // fmod of a value just below 0 can round up to 360.
    return d >= 360.0 ? 0.0 : d;
}

QString HoleSurvey::referenceWord(Reference reference)
{
    return reference == HighSide ? QStringLiteral("highside") : QStringLiteral("north");
}

HoleSurvey::Reference HoleSurvey::referenceOfWord(const QString &word)
{
    return word.trimmed().compare(QLatin1String("highside"), Qt::CaseInsensitive) == 0 ? HighSide
                                                                                        : North;
}

bool HoleSurvey::fromCsv(QIODevice *device, HoleSurvey *survey, QString *error)
{
    QTextStream in(device);
    in.setCodec("UTF-8");
    QString heading;
    int lineNumber = 0;
    while (!in.atEnd() && heading.trimmed().isEmpty()) {
        heading = in.readLine();
        ++lineNumber;
    }
    if (heading.trimmed().isEmpty()) {
        *error = tr("The file is empty.");
        return false;
    }
    if (heading.startsWith(QChar(0xfeff)))
        heading.remove(0, 1);
    const QChar separator = separatorOf(heading);
    const QStringList headings = heading.split(separator);
    int columns[3] = {-1, -1, -1};
    for (int c = 0; c < headings.size(); ++c) {
        const int kind = columnOfHeading(headings.at(c));
        if (kind >= 0 && columns[kind] < 0)
            columns[kind] = c;
    }
    const char *const wanted[3] = {QT_TRANSLATE_NOOP("HoleSurvey", "depth (depth or MD)"),
                                   QT_TRANSLATE_NOOP("HoleSurvey", "inclination (inclination or INC)"),
                                   QT_TRANSLATE_NOOP("HoleSurvey", "azimuth (azimuth or AZI)")};
    QStringList missing;
    for (int k = 0; k < 3; ++k)
        if (columns[k] < 0)
            missing << tr(wanted[k]);
    if (!missing.isEmpty()) {
        *error = tr("The file has no column for %1. Its headings are: %2.")
                     .arg(missing.join(QStringLiteral(", ")), headings.join(QStringLiteral(", ")));
        return false;
    }
    // Semicolon files often write decimal commas.
    const bool decimalComma = separator != QLatin1Char(',');
    const char *const names[3] = {QT_TRANSLATE_NOOP("HoleSurvey", "depth"),
                                  QT_TRANSLATE_NOOP("HoleSurvey", "inclination"),
                                  QT_TRANSLATE_NOOP("HoleSurvey", "azimuth")};
    QVector<Station> stations;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++lineNumber;
        if (line.trimmed().isEmpty())
            continue;
        const QStringList fields = line.split(separator);
        double values[3];
        for (int k = 0; k < 3; ++k) {
            QString text = fields.value(columns[k]).trimmed();
            if (decimalComma)
                text.replace(QLatin1Char(','), QLatin1Char('.'));
            bool ok = false;
            values[k] = text.toDouble(&ok);
            if (!ok || !std::isfinite(values[k])) {
                *error = tr("Line %1: the %2 \"%3\" is not a number.")
                             .arg(lineNumber)
                             .arg(tr(names[k]), fields.value(columns[k]).trimmed());
                return false;
            }
        }
        if (values[1] < 0.0 || values[1] > 180.0) {
            *error = tr("Line %1: the inclination %2° is outside 0° to 180°.")
                         .arg(lineNumber)
                         .arg(values[1]);
            return false;
        }
        if (!stations.isEmpty() && !(values[0] > stations.last().depth)) {
            *error = tr("Line %1: the depth %2 m does not follow the depth %3 m of the station "
                        "before; the stations must be in increasing depth.")
                         .arg(lineNumber)
                         .arg(values[0])
                         .arg(stations.last().depth);
            return false;
        }
        stations.append(Station{values[0], values[1], HoleSurvey::wrapDegrees(values[2])});
    }
    if (stations.isEmpty()) {
        *error = tr("The file has headings but no stations.");
        return false;
    }
    survey->m_stations = stations;
    return true;
}

bool HoleSurvey::fromCsv(const QString &path, HoleSurvey *survey, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = tr("The file cannot be read: %1").arg(file.errorString());
        return false;
    }
    return fromCsv(&file, survey, error);
}
