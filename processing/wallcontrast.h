#ifndef WALLCONTRAST_H
#define WALLCONTRAST_H

#include <QImage>

#include <vector>

// How the wall picture is shown: a view setting only, the project file is
// never changed. Brightness shifts (−1 … 1 of the full range), contrast
// scales about mid-grey (1 = unchanged), gamma bends the tones (1 = linear;
// above 1 brightens the dark tones). The automatic stretch maps the
// clipPercent darkest and brightest pixels to black and white; dynamic
// normalisation equalises the histogram over a window of rows sliding down
// the picture, so dark and saturated stretches of the log become readable.
struct WallContrast
{
    double brightness = 0.0;
    double contrast = 1.0;
    double gamma = 1.0;
    bool autoStretch = false;
    double clipPercent = 1.0;
    bool dynamicNormalisation = false;
    int windowRows = 500;

    // True when applying it changes nothing.
    bool isIdentity() const;

    bool operator==(const WallContrast &o) const;
    bool operator!=(const WallContrast &o) const { return !(*this == o); }

    // The picture as it is shown; the input is left alone. Null stays null.
    QImage apply(const QImage &image) const;

    // Tone curve of brightness, contrast and gamma as a lookup table.
    void toneTable(uchar table[256]) const;
};

// Linear stretch between the clipPercent-th and (100 − clipPercent)-th
// percentile of the luminance; a picture of one tone stays as it is.
QImage stretchToPercentiles(const QImage &image, double clipPercent);

// Histogram equalisation of the luminance over a window of windowRows rows
// centred on each row (clipped at the picture's ends).
QImage equaliseSlidingWindow(const QImage &image, int windowRows);

// Rows firstRow … lastRow of the equalised picture; the rows outside that
// span only serve as the windows' context. The result has
// lastRow − firstRow + 1 rows (the span is clipped to the picture), so a
// long picture can be equalised piece by piece without seams.
QImage equaliseSlidingWindow(const QImage &image, int windowRows, int firstRow, int lastRow);

// The same over a picture kept in pieces: lines holds one pointer per row
// (32-bit pixels, width of them each), top to bottom. The result is RGB32;
// tone, when given, is a tone table (WallContrast::toneTable) every pixel is
// passed through after, in the same pass.
QImage equaliseSlidingWindow(const std::vector<const QRgb *> &lines, int width, int windowRows,
                             int firstRow, int lastRow, const uchar *tone = nullptr);

// The same written into out, a 32-bit picture whose lines become rows
// firstRow … firstRow + out.height() − 1 of the equalised picture (as far as
// lines reaches; out.width() pixels of each row are read). The rows are done
// in that many runs side by side, one thread each (0: as many as pay off for
// the size of the span and the machine); the result is the same for any
// number of runs.
void equaliseSlidingWindowInto(QImage &out, const std::vector<const QRgb *> &lines, int windowRows,
                               int firstRow, const uchar *tone = nullptr, int threads = 0);

#endif // WALLCONTRAST_H
