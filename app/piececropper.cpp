#include "piececropper.h"

#include <QtGlobal>
#include <algorithm>

QImage PieceCropper::fitToPage(const KdImage &piece, int top, int pageEnd, const DepthModel &model, int *row)
{
    return model.pagePart(piece, top, pageEnd, row);
}

KdImage PieceCropper::fitToPage(const KdImage &piece, int pageStart, int pageEnd, double pixelsPerUnit,
                                bool firstOfPage)
{
    Q_UNUSED(firstOfPage)
    const DepthModel project = DepthModel::fromProject();
    const int width = project.imageWidth() > 0 ? project.imageWidth() : piece.image().width();
    const int start = std::max(piece.startDepth(), pageStart);
    const int end = std::min(piece.endDepth(), pageEnd);
    if (end <= start || !(pixelsPerUnit > 0.0))
        return KdImage(start, std::max(start, end), QImage());
    // Rows from the start of this part, as tall as the page makes it.
    const int rows = int((end - start) * pixelsPerUnit);
    const double rowsPerUnit = rows / double(end - start);
    int first = 0;
    return KdImage(start, end, DepthModel::sample(piece, start, end, start, rowsPerUnit, width, &first));
}
