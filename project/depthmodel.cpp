#include "depthmodel.h"

#include "projectinfo.h"

#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <cstring>

DepthModel::DepthModel(int projectStart, double pixelsPerUnit, int imageWidth)
    : m_projectStart(projectStart)
    , m_pixelsPerUnit(std::isfinite(pixelsPerUnit) && pixelsPerUnit > 0.0 ? pixelsPerUnit : 0.0)
    , m_imageWidth(std::max(0, imageWidth))
{
}

DepthModel DepthModel::fromProject()
{
    const ProjectInfo *info = ProjectInfo::instance();
    return DepthModel(info->start(), info->computePixelFactor(), info->imageWidth());
}

int DepthModel::pieceTop(bool hasPrevious, qint64 previousId) const
{
    if (!hasPrevious || previousId < m_projectStart)
        return m_projectStart;
    return int(previousId);
}

double DepthModel::depthOfRow(const KdImage &piece, double row)
{
    const int rows = piece.image().height();
    if (rows <= 0)
        return piece.startDepth();
    return piece.startDepth() + row * double(piece.endDepth() - piece.startDepth()) / rows;
}

int DepthModel::rowAtDepth(const KdImage &piece, double depth)
{
    const int rows = piece.image().height();
    const double span = double(piece.endDepth()) - piece.startDepth();
    if (rows <= 0 || !(span > 0.0) || depth < piece.startDepth() || depth > piece.endDepth())
        return -1;
    return std::min(rows - 1, int(std::floor((depth - piece.startDepth()) * rows / span)));
}

int DepthModel::pageRow(int top, double depth) const
{
    return int(std::lround(pageRowAt(top, depth)));
}

double DepthModel::pageRowAt(int top, double depth) const
{
    return (depth - top) * m_pixelsPerUnit;
}

double DepthModel::pageDepth(int top, double row) const
{
    return m_pixelsPerUnit > 0.0 ? top + row / m_pixelsPerUnit : top;
}

QImage DepthModel::sample(const KdImage &piece, int from, int to, int origin, double rowsPerUnit, int width,
                          int *firstRow)
{
    const int top = piece.startDepth();
    const int bottom = piece.endDepth();
    from = std::max(from, top);
    to = std::min(to, bottom);
    const bool scaled = std::isfinite(rowsPerUnit) && rowsPerUnit > 0.0;
    const qint64 y0 = scaled ? std::llround((double(from) - origin) * rowsPerUnit) : 0;
    const qint64 y1 = scaled ? std::llround((double(to) - origin) * rowsPerUnit) : 0;
    *firstRow = int(qBound<qint64>(-(qint64(1) << 30), y0, qint64(1) << 30));
    const QImage source = piece.image();
    if (!scaled || to <= from || y1 <= y0 || y1 - y0 > (qint64(1) << 28) || source.isNull() || width <= 0)
        return QImage();

    const int rows = source.height();
    const double rowsPerDepth = rows / (double(bottom) - top);
    const auto sourceRow = [&](qint64 y) {
        const double depth = origin + (double(y) + 0.5) / rowsPerUnit;
        return qBound(0, int(std::floor((depth - top) * rowsPerDepth)), rows - 1);
    };
    // Only the rows used are scaled to the width.
    const int r0 = sourceRow(y0);
    const int r1 = sourceRow(y1 - 1);
    QImage used = source.copy(0, r0, source.width(), r1 - r0 + 1);
    if (used.width() != width)
        used = used.scaled(width, used.height(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    used = used.convertToFormat(QImage::Format_RGB32);
    QImage part(width, int(y1 - y0), QImage::Format_RGB32);
    if (used.isNull() || part.isNull())
        return QImage();
    const size_t lineBytes = size_t(width) * sizeof(QRgb);
    for (qint64 y = y0; y < y1; ++y)
        std::memcpy(part.scanLine(int(y - y0)), used.constScanLine(sourceRow(y) - r0), lineBytes);
    return part;
}

QImage DepthModel::pagePart(const KdImage &piece, int top, int pageEnd, int *firstRow) const
{
    return sample(piece, top, pageEnd, top, m_pixelsPerUnit, m_imageWidth, firstRow);
}
