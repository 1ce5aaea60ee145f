#ifndef IMAGEJOINTER_H
#define IMAGEJOINTER_H

#include <QImage>

// Glues two pieces of the borehole wall vertically. The seam is searched for
// rows that the camera recorded twice (up to 2.5 % of the shorter image); the
// rows found are blended from the upper into the lower image.
class ImageJointer
{
public:
    ImageJointer() = default;

    // top with bottom appended below it. A null top gives bottom unchanged.
    // When memory for the result cannot be obtained, bottom is returned and
    // failed() is true: the caller must not take the result for the join.
    QImage joint(const QImage &top, const QImage &bottom);

    // Rows merged by the last joint().
    int overlap() const { return m_overlap; }
    // The last joint() could not allocate its result.
    bool failed() const { return m_failed; }

    // Sum over the last n rows of top and the first n rows of bottom of the
    // squared channel differences, divided by n (0 for n <= 0).
    static double rowDifference(const QImage &top, const QImage &bottom, int n);
    // Overlap with the smallest row difference among 1 .. limit-1, where
    // limit is 2.5 % of the shorter height; ties keep the smaller overlap.
    static int findOverlap(const QImage &top, const QImage &bottom);

private:
    int m_overlap = 0;
    bool m_failed = false;
};

#endif // IMAGEJOINTER_H
