#include "largeimage.h"

#include <QFile>
#include <QMutex>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

#include <cstdint>
#include <vector>

#ifdef Q_OS_LINUX
namespace {

constexpr size_t kLargePage = size_t(2) << 20;
// Smaller pictures come from the ordinary heap.
constexpr size_t kLargePicture = kLargePage;
// Memory of released pictures kept for the next ones, at most.
constexpr size_t kKeptBytes = size_t(768) << 20;

// True when the kernel hands out large pages to memory that asks for them
// (the setting reads "[always]" or "[madvise]").
bool largePagesOffered()
{
    static const bool offered = [] {
        QFile f(QStringLiteral("/sys/kernel/mm/transparent_hugepage/enabled"));
        if (!f.open(QIODevice::ReadOnly))
            return false;
        const QByteArray setting = f.readAll();
        return setting.contains("[always]") || setting.contains("[madvise]");
    }();
    return offered;
}

struct Mapping
{
    void *start = nullptr;
    size_t size = 0;
};

// The memory of released pictures, kept for the next pictures of the same
// size: a page read again or the next page reuses the memory of the last
// one, which spares the kernel faulting and clearing it anew. What is kept
// is marked free to the kernel, which takes it back when memory runs short
// (a picture then gets cleared pages, which makes no difference to it).
class KeptMemory
{
public:
    Mapping take(size_t size)
    {
        QMutexLocker lock(&m_mutex);
        for (size_t i = 0; i < m_kept.size(); ++i) {
            if (m_kept[i].size == size) {
                const Mapping m = m_kept[i];
                m_kept[i] = m_kept.back();
                m_kept.pop_back();
                m_bytes -= size;
                return m;
            }
        }
        return Mapping();
    }

    void give(const Mapping &m)
    {
        {
            QMutexLocker lock(&m_mutex);
            if (m_bytes + m.size <= kKeptBytes) {
#ifdef MADV_FREE
                madvise(m.start, m.size, MADV_FREE);
#endif
                m_kept.push_back(m);
                m_bytes += m.size;
                return;
            }
        }
        munmap(m.start, m.size);
    }

private:
    QMutex m_mutex;
    std::vector<Mapping> m_kept;
    size_t m_bytes = 0;
};

KeptMemory &keptMemory()
{
    // Never destroyed: pictures may be released while the program ends.
    static KeptMemory *kept = new KeptMemory;
    return *kept;
}

void release(void *info)
{
    auto *mapping = static_cast<Mapping *>(info);
    keptMemory().give(*mapping);
    delete mapping;
}

// size bytes starting on a large-page boundary, or a null mapping.
Mapping map(size_t size)
{
    Mapping m = keptMemory().take(size);
    if (m.start)
        return m;
    // Mapped with a large page to spare, then cut to a large-page boundary.
    void *raw = mmap(nullptr, size + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return Mapping();
    const auto at = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (at + kLargePage - 1) & ~std::uintptr_t(kLargePage - 1);
    if (aligned > at)
        munmap(raw, aligned - at);
    munmap(reinterpret_cast<void *>(aligned + size), at + kLargePage - aligned);
    m.start = reinterpret_cast<void *>(aligned);
    m.size = size;
    madvise(m.start, size, MADV_HUGEPAGE);
    return m;
}

} // namespace
#endif

QImage LargeImage::create(int width, int height, QImage::Format format)
{
#ifdef Q_OS_LINUX
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (width > 0 && height > 0 && depth > 0 && largePagesOffered()) {
        // Lines 32-bit aligned, as QImage lays them out itself.
        const size_t bytesPerLine = ((size_t(width) * size_t(depth) + 31) >> 5) << 2;
        const bool fits = bytesPerLine <= size_t(INT32_MAX) && size_t(height) <= SIZE_MAX / 2 / bytesPerLine;
        const size_t bytes = fits ? bytesPerLine * size_t(height) : 0;
        if (bytes >= kLargePicture) {
            const Mapping m = map((bytes + kLargePage - 1) / kLargePage * kLargePage);
            if (m.start) {
                auto *mapping = new Mapping(m);
                QImage image(static_cast<uchar *>(m.start), width, height, qsizetype(bytesPerLine), format,
                             release, mapping);
                if (!image.isNull())
                    return image;
                release(mapping); // not taken on by a picture
            }
        }
    }
#endif
    return QImage(width, height, format);
}
