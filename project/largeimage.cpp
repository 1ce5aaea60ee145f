#include "largeimage.h"

#include <QFile>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#ifdef Q_OS_LINUX
namespace {

constexpr size_t kLargePage = size_t(2) << 20;
// Smaller pictures come from the ordinary heap.
constexpr size_t kLargePicture = kLargePage;

// The size class of a picture of that many bytes: whole large pages, and
// above 16 MB a multiple of an eighth of the power of two below it, so that
// pictures that differ a little (the pieces of a page) use each other's
// memory, at most an eighth more than they need.
size_t sizeClass(size_t bytes)
{
    size_t step = kLargePage;
    size_t power = size_t(1) << 24;
    while (power <= bytes / 2)
        power <<= 1;
    if (bytes > (size_t(1) << 24))
        step = std::max(step, power / 8);
    return (bytes + step - 1) / step * step;
}

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

using Clock = std::chrono::steady_clock;

// The memory of released pictures, kept for the next pictures of the same
// size class: a page read again or the next page reuses the memory of the
// last one, which spares the kernel faulting and clearing it anew. What is
// kept is marked free to the kernel, which takes it back when memory runs
// short (a picture then gets cleared pages, which makes no difference to
// it). At most as much is kept as was in use at once in the last few
// seconds, and memory unused for kIdleMs goes back to the system.
class KeptMemory
{
public:
    Mapping take(size_t size)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Mapping m;
        for (size_t i = 0; i < m_kept.size(); ++i) {
            if (m_kept[i].mapping.size == size) {
                m = m_kept[i].mapping;
                m_kept.erase(m_kept.begin() + std::ptrdiff_t(i));
                m_bytes -= size;
                break;
            }
        }
        m_live += size;
        notePeak();
        return m;
    }

    // A mapping made anew failed: it was counted as live in take().
    void untake(size_t size)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_live -= size;
    }

    void give(const Mapping &m)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            notePeak(); // counting the picture let go of
            m_live -= m.size;
            if (m_bytes + m.size <= m_peak) {
#ifdef MADV_FREE
                madvise(m.start, m.size, MADV_FREE);
#endif
                // Newest last: the oldest are given back first.
                m_kept.push_back(Kept{m, Clock::now()});
                m_bytes += m.size;
                startTrimmer();
                return;
            }
        }
        munmap(m.start, m.size);
    }

    void releaseUnused(std::chrono::milliseconds idle)
    {
        std::vector<Mapping> unused;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            const Clock::time_point before = Clock::now() - idle;
            auto keep = std::stable_partition(m_kept.begin(), m_kept.end(),
                                              [before](const Kept &k) { return k.since > before; });
            for (auto it = keep; it != m_kept.end(); ++it) {
                unused.push_back(it->mapping);
                m_bytes -= it->mapping.size;
            }
            m_kept.erase(keep, m_kept.end());
        }
        for (const Mapping &m : unused)
            munmap(m.start, m.size);
    }

    qint64 bytes()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return qint64(m_bytes);
    }

private:
    struct Kept
    {
        Mapping mapping;
        Clock::time_point since;
    };

    // The most memory in use at once lately; it follows the work down once
    // a peak is older than kIdleMs.
    void notePeak()
    {
        const Clock::time_point now = Clock::now();
        if (m_live >= m_peak || now - m_peakAt > std::chrono::milliseconds(LargeImage::kIdleMs)) {
            m_peak = m_live;
            m_peakAt = now;
        }
    }

    // A thread of its own gives back idle memory while any is kept, so that
    // it goes also when the program has nothing more to do.
    void startTrimmer()
    {
        if (m_trimming)
            return;
        m_trimming = true;
        std::thread([this] {
            for (;;) {
                std::this_thread::sleep_for(std::chrono::seconds(1));
                releaseUnused(std::chrono::milliseconds(LargeImage::kIdleMs));
                std::lock_guard<std::mutex> lock(m_mutex);
                if (m_kept.empty()) {
                    m_trimming = false;
                    return;
                }
            }
        }).detach();
    }

    std::mutex m_mutex;
    std::vector<Kept> m_kept;
    size_t m_bytes = 0;
    size_t m_live = 0;
    size_t m_peak = 0;
    Clock::time_point m_peakAt;
    bool m_trimming = false;
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
    if (raw == MAP_FAILED) {
        keptMemory().untake(size);
        return Mapping();
    }
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
            const Mapping m = map(sizeClass(bytes));
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

qint64 LargeImage::keptBytes()
{
#ifdef Q_OS_LINUX
    return keptMemory().bytes();
#else
    return 0;
#endif
}

void LargeImage::releaseUnused(int idleMs)
{
#ifdef Q_OS_LINUX
    keptMemory().releaseUnused(std::chrono::milliseconds(std::max(0, idleMs)));
#else
    Q_UNUSED(idleMs)
#endif
}
