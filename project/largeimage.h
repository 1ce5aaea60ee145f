#ifndef LARGEIMAGE_H
#define LARGEIMAGE_H

#include <QImage>

// Images of many megabytes that are written soon after they are made (a
// page shown through a contrast setting, the buffer pieces are joined in).
// Memory a process touches for the first time is mapped page by page, and
// on some machines (virtual ones above all) every page costs more than
// writing it. A large image is given memory of its own in large pages where
// the system offers them on request: one page fault per 2 MB instead of one
// per 4 KB. When the image is released (on whatever thread lets go of it
// last) its memory is kept for a later image of the same size class (sizes
// within an eighth of each other), as much as was in use at once lately (the
// pictures of the page at work), and given back to the system after a few
// seconds unused, or earlier when the system needs it.
class LargeImage
{
public:
    // An image of that size and format with its pixels not yet set, laid out
    // as QImage(width, height, format) lays it out; null when memory cannot
    // be had.
    static QImage create(int width, int height, QImage::Format format);

    // Memory of released images kept for the next ones, in bytes.
    static qint64 keptBytes();
    // Gives back the kept memory that has lain unused for idleMs or longer.
    // Runs by itself every second with kIdleMs.
    static void releaseUnused(int idleMs);
    static constexpr int kIdleMs = 3000;
};

#endif // LARGEIMAGE_H
