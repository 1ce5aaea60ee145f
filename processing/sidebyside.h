#ifndef SIDEBYSIDE_H
#define SIDEBYSIDE_H

#include <system_error>
#include <thread>
#include <vector>

// work(0) … work(runs − 1) side by side: all but the last on threads of
// their own, the last on the calling thread; returns when all are done.
// Runs that get no thread (none to be had) are done on the calling thread.
// work must not throw.
template <typename Work>
void sideBySide(int runs, const Work &work)
{
    std::vector<std::thread> helpers;
    if (runs > 1) {
        helpers.reserve(size_t(runs - 1));
        try {
            for (int run = 0; run + 1 < runs; ++run)
                helpers.emplace_back([&work, run] { work(run); });
        } catch (const std::system_error &) {
            // No more threads to be had.
        }
    }
    for (int run = int(helpers.size()); run < runs; ++run)
        work(run);
    for (std::thread &helper : helpers)
        helper.join();
}

#endif // SIDEBYSIDE_H
