#include "mouselabel.h"

#include <algorithm>
#include <cmath>

namespace {
// Left edge of the page image in the scene.
constexpr int kImageLeft = 1300;

int roundHalfUp(double v)
{
    return static_cast<int>(std::floor(v + 0.5));
}
} // namespace

MouseLabel *MouseLabel::instance()
{
    static MouseLabel *label = new MouseLabel;
    return label;
}

MouseLabel::MouseLabel()
    : QLabel(nullptr)
    , quadrantNames({QStringLiteral("NE"), QStringLiteral("ES"), QStringLiteral("SW"),
                     QStringLiteral("WN")})
{
}

QString MouseLabel::depthText(int depth)
{
    if (depth < 0)
        return QStringLiteral("0");
    return QString::number(depth / 10000.0, 'f', 3);
}

int MouseLabel::azimuth(int column, int w)
{
    if (w <= 0)
        return 0;
    const int a = roundHalfUp(static_cast<double>(column) / w * 360.0);
    return std::clamp(a, 0, 360);
}

QString MouseLabel::directionText(int column, int w) const
{
    // Left of the image the read-out stays on the north edge at 0 degrees,
    // right of it on the north edge at 360 degrees: both are "N".
    if (w <= 0 || column <= 0 || column >= w)
        return QStringLiteral("N");
    const int east = roundHalfUp(w * 0.25);
    const int south = roundHalfUp(2 * w * 0.25);
    const int west = roundHalfUp(3 * w * 0.25);
    if (column == east)
        return QStringLiteral("E");
    if (column == south)
        return QStringLiteral("S");
    if (column == west)
        return QStringLiteral("W");
    if (column < east)
        return quadrantNames.at(0);
    if (column < south)
        return quadrantNames.at(1);
    if (column < west)
        return quadrantNames.at(2);
    return quadrantNames.at(3);
}

void MouseLabel::clearPosition()
{
    m_depthText.clear();
    m_directionText.clear();
    m_azimuthText.clear();
    clear();
}

void MouseLabel::showPosition(int x, int depth, int width)
{
    setWidthPx(width);
    const int column = x - kImageLeft;
    m_depthText = depthText(depth);
    m_directionText = directionText(column, m_widthPx);
    m_azimuthText = QString::number(azimuth(column, m_widthPx));
    setText(tr("depth ") + m_depthText + QStringLiteral("  ") + tr("direct ") + m_directionText
            + m_azimuthText);
}
