#include "piececropper.h"

#include <QtGlobal>

KdImage PieceCropper::fitToPage(const KdImage &piece, int pageStart, int pageEnd,
                                double pixelsPerUnit, bool firstOfPage)
{
    QImage picture = piece.image();
    int start = piece.startDepth();
    int end = piece.endDepth();
    if (!(pixelsPerUnit > 0.0))
        return piece;

    // Below the page end: keep the rows down to the end.
    if (end > pageEnd) {
        const int keep = int(picture.height() - (end - pageEnd) * pixelsPerUnit);
        picture = picture.copy(0, 0, picture.width(), qMax(0, keep));
        end = pageEnd;
    }

    // Above the page start: drop the rows above it.
    int drop = 0;
    if (start < pageStart) {
        drop = int((pageStart - start) * pixelsPerUnit);
        start = pageStart;
    } else if (firstOfPage) {
        drop = int(picture.height() - (end - start) * pixelsPerUnit);
    }
    if (drop > 0 && !picture.isNull()) {
        drop = qMin(drop, picture.height());
        picture = picture.copy(0, drop, picture.width(), picture.height() - drop);
    }
    return KdImage(start, end, picture);
}
