#ifndef THINPOLYLINE_H
#define THINPOLYLINE_H

#include <QImage>
#include <QPointF>

// Draws the polyline through count points (pixel coordinates of the
// picture) one pixel wide, without antialiasing, straight into the picture
// and clipped to it: value is the pixel written, a colour of a 32-bit picture
// or an index of an 8-bit one. The pixels are those a
// painter's cosmetic pen without antialiasing sets, give or take a pixel
// where segments meet or a line runs exactly between pixels; at a tenth of
// the cost, for drawings of many thousand lines.
void drawThinPolyline(QImage &image, const QPointF *points, int count, uint value);

#endif // THINPOLYLINE_H
