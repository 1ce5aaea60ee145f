#ifndef DEPTHMODEL_H
#define DEPTHMODEL_H

#include "kdimage.h"

#include <QImage>

// Where the rows of the stored pieces belong, for every picture the program
// makes of the wall: the page, the report, saved pictures, the roll and 3D
// pictures and the structure picks all place rows through here.
//
// A piece with id `id` covers the wall from the previous piece's id
// (exclusive) down to its own id; the first piece begins at the project
// start. Its rows are spread evenly over that span, whatever their number
// (after a depth correction a metre holds fewer rows than the nominal scale,
// a piece below missing pieces holds a metre of rows for a longer span), and
// its columns over the full circumference: every piece is drawn across the
// project's image width, whatever its own width.
//
// Pictures of the wall are drawn at some rows per depth unit from an origin
// depth: row y of such a picture shows the piece row that holds the depth of
// the row's middle, origin + (y + 0.5) / rowsPerUnit. The same wall therefore
// lands at the same depth whatever the picture's origin. Depths are in depth
// units (0.1 mm).
class DepthModel
{
public:
    DepthModel() = default;
    DepthModel(int projectStart, double pixelsPerUnit, int imageWidth);
    // The open project's start, scale and width (the project record; GUI
    // thread).
    static DepthModel fromProject();

    int projectStart() const { return m_projectStart; }
    double pixelsPerUnit() const { return m_pixelsPerUnit; }
    int imageWidth() const { return m_imageWidth; }
    bool isValid() const { return m_pixelsPerUnit > 0.0 && m_imageWidth > 0; }

    // Top of a piece: its predecessor's id, the project start for the first
    // piece (and never above the start).
    int pieceTop(bool hasPrevious, qint64 previousId) const;

    // Depth of the top edge of row (fractional rows allowed) of a piece; the
    // piece's height comes from its picture.
    static double depthOfRow(const KdImage &piece, double row);
    // The row of the piece that holds depth; -1 outside the piece or for a
    // piece without picture.
    static int rowAtDepth(const KdImage &piece, double depth);

    // Row of a page (counted from the column top) whose top is at depth top,
    // at the project's scale: the row edge nearest to depth, and the exact
    // (fractional) position.
    int pageRow(int top, double depth) const;
    double pageRowAt(int top, double depth) const;
    // Depth of (fractional) page row row.
    double pageDepth(int top, double row) const;

    // The part (from, to] of piece drawn at rowsPerUnit rows per depth unit
    // and width columns, in a picture whose row 0 is at depth origin. The
    // answer covers the picture's rows *firstRow .. *firstRow + height - 1:
    // from the row edge nearest from to the one nearest to. Null when the
    // piece has no part there or no picture (*firstRow is still set).
    static QImage sample(const KdImage &piece, int from, int to, int origin, double rowsPerUnit,
                         int width, int *firstRow);

    // sample() for a page of this project whose top is at depth top.
    QImage pagePart(const KdImage &piece, int top, int pageEnd, int *firstRow) const;

private:
    int m_projectStart = 0;
    double m_pixelsPerUnit = 0.0;
    int m_imageWidth = 0;
};

#endif // DEPTHMODEL_H
