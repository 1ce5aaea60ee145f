#ifndef LARGEIMAGE_H
#define LARGEIMAGE_H

#include <QImage>

// Images of many megabytes that are written soon after they are made (a
// page, the buffer pieces are joined in). Memory a process touches for the
// first time is mapped page by page, and on some machines (virtual ones
// above all) every page costs more than writing it; these images ask the
// system for large pages instead. The pixels are left uninitialised, as
// QImage leaves them.
class LargeImage
{
public:
    // An image of the given size and format; null when memory cannot be had.
    static QImage create(int width, int height, QImage::Format format);
    // The same advice for memory already allocated but not yet written.
    static void adviseLargePages(const void *data, qsizetype bytes);
};

#endif // LARGEIMAGE_H
