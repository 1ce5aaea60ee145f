#include "kdimage.h"

KdImage::KdImage(int startDepth, int endDepth, const QImage &image)
    : m_image(image), m_startDepth(startDepth), m_endDepth(endDepth)
{
    qRegisterMetaType<KdImage>("KdImage");
}
