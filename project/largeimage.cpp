#include "largeimage.h"

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

QImage LargeImage::create(int width, int height, QImage::Format format)
{
    QImage image(width, height, format);
    if (!image.isNull())
        adviseLargePages(image.constBits(), image.sizeInBytes());
    return image;
}

void LargeImage::adviseLargePages(const void *data, qsizetype bytes)
{
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    // Below a few large pages the advice gains nothing.
    if (!data || bytes < qsizetype(8) << 20)
        return;
    static const quintptr page = quintptr(sysconf(_SC_PAGESIZE) > 0 ? sysconf(_SC_PAGESIZE) : 4096);
    const quintptr begin = (quintptr(data) + page - 1) & ~(page - 1);
    const quintptr end = (quintptr(data) + quintptr(bytes)) & ~(page - 1);
    // Advice only: where the system has no large pages, nothing changes.
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), size_t(end - begin), MADV_HUGEPAGE);
#else
    Q_UNUSED(data)
    Q_UNUSED(bytes)
#endif
}
