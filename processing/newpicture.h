#ifndef NEWPICTURE_H
#define NEWPICTURE_H

#include <QImage>

// A picture of that size and format with its pixels not yet set, as
// QImage(width, height, format) makes it. A large one is given memory of its
// own in large pages where the system offers them on request: a picture
// written for the first time costs one page fault per 2 MB instead of one
// per 4 KB, which is most of the time of showing a piece through a contrast
// setting where faults are slow. When the picture is released (on whatever
// thread lets go of it last) its memory is kept for a later picture of the
// same size, up to a bound, and given back to the system when it needs it.
QImage newPicture(int width, int height, QImage::Format format);

#endif // NEWPICTURE_H
