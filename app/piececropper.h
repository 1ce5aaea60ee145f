#ifndef PIECECROPPER_H
#define PIECECROPPER_H

#include "kdimage.h"

// Cuts a piece read for a page down to the page's depth interval
// (pageStart, pageEnd], so that every row shown lies on the page and no row
// is shown on two pages. A piece's rows are taken to be pixelsPerUnit rows
// per depth unit, the scale the page is drawn at.
//
// The bottom of a piece that reaches below the page end is cut off. The top
// of a piece that begins above the page start is cut off too: the piece says
// so when its start depth lies above the page start, and the first piece of
// a downward page says so by holding more rows than its span (the reader
// gives it the page start as its top, wherever its rows begin).
class PieceCropper
{
public:
    static KdImage fitToPage(const KdImage &piece, int pageStart, int pageEnd,
                             double pixelsPerUnit, bool firstOfPage);
};

#endif // PIECECROPPER_H
