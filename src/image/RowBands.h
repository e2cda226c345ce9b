#pragma once

#include <algorithm>
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

// Runs band(b) for every band b in 0..bands-1, the bands shared out among up
// to PixelWorkerCount() workers (band b to worker b mod n); the caller's thread
// is one of them and all are joined before the call returns. A band must write
// only its own pixels, so the result never depends on the split. When a thread
// cannot be started, its bands run on the caller's thread.
template <class Band> void ForEachRowBand(int64_t bands, const Band& band) {
    if (bands <= 0)
        return;
    const int64_t workers = std::min<int64_t>(PixelWorkerCount(), bands);
    const auto work = [&](int64_t worker) {
        for (int64_t b = worker; b < bands; b += workers)
            band(b);
    };
    std::vector<std::jthread> helpers;
    int64_t started = 1;
    try {
        helpers.reserve(static_cast<size_t>(workers - 1));
        for (; started < workers; ++started)
            helpers.emplace_back(work, started);
    } catch (const std::exception&) {
        for (int64_t worker = started; worker < workers; ++worker)
            work(worker);
    }
    work(0);
}

} // namespace halvera
