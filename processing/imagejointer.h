#ifndef IMAGEJOINTER_H
#define IMAGEJOINTER_H

#include <QImage>

// Glues two pieces of the borehole wall vertically. The seam is searched for
// rows that the camera recorded twice (up to 2.5 % of the shorter image); the
// rows found are blended from the upper into the lower image.
//
// Rows count as recorded twice only when they match clearly better than
// neighbouring rows of the same pieces do: pieces that simply continue one
// another keep every row (their seam rows are neighbours, and the closest of
// the candidates is still no closer than neighbours are).
class ImageJointer
{
public:
    ImageJointer() = default;

    // top with bottom appended below it. A null top gives bottom unchanged.
    // When memory for the result cannot be obtained, bottom is returned and
    // failed() is true: the caller must not take the result for the join.
    QImage joint(const QImage &top, const QImage &bottom);

    // joint() into a buffer that grows: rows first .. first+rows-1 of buffer
    // (32-bit RGB) hold the upper image; bottom is joined below them in place,
    // with the same result as joint() gives. The buffer is replaced by one of
    // three times the joined rows (first reset to 0) only when they need more
    // than half of it, and its rows are moved up only when the held rows reach its
    // end: a caller cutting rows from the top (first += n, rows -= n) joins
    // piece after piece in time linear in their rows. An empty buffer or
    // rows <= 0 starts a new buffer holding bottom. false (and failed())
    // when memory for the buffer cannot be obtained; the buffer is unchanged.
    bool append(QImage *buffer, int *first, int *rows, const QImage &bottom);

    // append() for a piece decoded straight into the buffer, in two steps.
    // reserve() makes room for `more` rows below the held rows (moving the
    // held rows to the top, or taking a larger buffer as append() does; rows
    // <= 0 starts over at the top of the buffer, which has room for four
    // such pieces) and returns a writable view on them. It returns a null
    // image when rows are held and width is not the buffer's (append() the
    // piece instead), or when memory cannot be obtained (failed()).
    // appendReserved() then joins the rows written there to the held ones in
    // place, with the result append() gives. The view must be dropped before
    // the next reserve().
    QImage reserve(QImage *buffer, int *first, int *rows, int width, int more);
    void appendReserved(QImage *buffer, int *first, int *rows, int more);

    // Rows merged by the last joint(), append() or appendReserved().
    int overlap() const { return m_overlap; }
    // The last joint() or append() could not allocate its result.
    bool failed() const { return m_failed; }

    // Sum over the last n rows of top and the first n rows of bottom of the
    // squared channel differences, divided by n (0 for n <= 0).
    static double rowDifference(const QImage &top, const QImage &bottom, int n);
    // Lower median over the last rows of top and the first rows of bottom (rows
    // each) of the difference between a row and the next row of the same
    // image, summed like rowDifference() for one row: how much neighbouring
    // rows of these pieces differ.
    static double neighbourDifference(const QImage &top, const QImage &bottom, int rows);
    // Overlap with the smallest row difference among 1 .. limit-1, where
    // limit is 2.5 % of the shorter height; ties keep the smaller overlap.
    // 0 unless that difference is below kRepeatRatio times
    // neighbourDifference(top, bottom, limit): the rows are not repeated.
    static int findOverlap(const QImage &top, const QImage &bottom);

    // A repeated row differs from its copy by recording and compression
    // noise only; a seam whose best candidate is not clearly closer than
    // neighbouring rows has no repeated rows.
    static constexpr double kRepeatRatio = 0.85;

private:
    // Room for needed rows from first on (rows of them held): the held rows
    // moved to the top, or a larger buffer. false (failed()) without memory.
    bool makeRoom(QImage *buffer, int *first, int rows, qint64 needed);

    int m_overlap = 0;
    bool m_failed = false;
};

#endif // IMAGEJOINTER_H
