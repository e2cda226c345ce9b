#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <thread>
#include <vector>

namespace halvera {

// How many threads a pixel operation may share its rows among: the processor
// count unless set otherwise (benchmarks set 1 to measure one core).
int PixelWorkerCount();
// Sets the count; 0 or less goes back to the processor count.
void SetPixelWorkerCount(int workers);

// Runs band(b) for every band b in 0..bands-1 on up to PixelWorkerCount()
// workers; the caller's thread is one of them and all are joined before the
// call returns. Each worker takes the lowest band not yet taken, so a worker
// the system holds back (other programs on the same cores) leaves its share
// to the others instead of keeping them waiting. A band must write only its
// own pixels, so the result never depends on the split. When a thread cannot
// be started, the workers that run take its bands.
template <class Band> void ForEachRowBand(int64_t bands, const Band& band) {
    if (bands <= 0)
        return;
    const int64_t workers = std::min<int64_t>(PixelWorkerCount(), bands);
    std::atomic<int64_t> next{0};
    const auto work = [&] {
        for (int64_t b = next++; b < bands; b = next++)
            band(b);
    };
    std::vector<std::jthread> helpers;
    try {
        helpers.reserve(static_cast<size_t>(workers - 1));
        for (int64_t started = 1; started < workers; ++started)
            helpers.emplace_back(work);
    } catch (const std::exception&) {
        // Fewer helpers: the bands go to those that started and to this thread.
    }
    work();
}

} // namespace halvera
