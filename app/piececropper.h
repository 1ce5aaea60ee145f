#ifndef PIECECROPPER_H
#define PIECECROPPER_H

#include "depthmodel.h"
#include "kdimage.h"

// Cuts a piece read for a page down to the page's depth interval, so that
// every row shown lies on the page and no row is shown on two pages. The
// piece comes with the whole span it covers; the depth model says which of
// its rows lie on the page and draws them at the page's scale and across the
// project's image width.
class PieceCropper
{
public:
    // The part of piece on the page whose column top is at depth top and
    // which ends at pageEnd; *row receives the page row (from the column
    // top) of its first row. Null when no part of the piece is on the page.
    static QImage fitToPage(const KdImage &piece, int top, int pageEnd, const DepthModel &model, int *row);

    // The same part with its depths, drawn int((end - start) x pixelsPerUnit)
    // rows high, for a page that stacks its pieces one below the other.
    static KdImage fitToPage(const KdImage &piece, int pageStart, int pageEnd, double pixelsPerUnit,
                             bool firstOfPage);
};

#endif // PIECECROPPER_H
