#include "batchprogress.h"

#include <cstdio>
#include <unistd.h>

BatchProgress::BatchProgress(const QString &label)
    : m_label(label)
    , m_enabled(isatty(STDERR_FILENO) == 1)
{
}

void BatchProgress::update(qint64 done, qint64 total)
{
    if (!m_enabled || total <= 0)
        return;
    const int tenth = int(qBound<qint64>(0, done * 10 / total, 10));
    while (m_lastTenth < tenth) {
        ++m_lastTenth;
        std::fprintf(stderr, "%s: %d %%\n", qPrintable(m_label), m_lastTenth * 10);
    }
    std::fflush(stderr);
}
