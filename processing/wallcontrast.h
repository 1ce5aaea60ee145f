#ifndef WALLCONTRAST_H
#define WALLCONTRAST_H

#include <QImage>

#include <vector>

// How the wall picture is shown: a view setting only, the project file is
// never changed. Brightness shifts (−1 … 1 of the full range), contrast
// scales about mid-grey (1 = unchanged), gamma bends the tones (1 = linear;
// above 1 brightens the dark tones). The automatic stretch maps the
// lightness of the clipPercent darkest and brightest pixels to black and
// white, keeping hues; dynamic
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

// Luminance levels the automatic stretch takes to black and white. The
// default levels (0 and 255) leave a picture as it is.
struct StretchLevels
{
    double low = 0.0;
    double high = 255.0;

    // Levels a fraction t of the way from a to b.
    static StretchLevels blend(const StretchLevels &a, const StretchLevels &b, double t);
};

// The clipPercent-th and (100 − clipPercent)-th percentile of the picture's
// luminance; the default levels for a picture of one tone.
StretchLevels stretchLevels(const QImage &image, double clipPercent);

// One line of 32-bit pixels with its lightness stretched linearly from the
// levels to 0 … 255. Each pixel keeps its hue: its channels keep their
// differences from the lightness, shrunk together only as far as the new
// lightness needs to stay within 0 … 255. from and to may be the same line.
void stretchLine(const QRgb *from, QRgb *to, int width, const StretchLevels &levels);

// The picture's lightness stretched between its percentile levels (above);
// a picture of one tone stays as it is.
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
