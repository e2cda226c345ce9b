#include "image/RowBands.h"

#include <algorithm>
#include <atomic>

namespace halvera {

namespace {

// Threads beyond this add nothing but start-up cost on a desktop machine.
constexpr int kMaxPixelWorkers = 16;

std::atomic<int> chosenWorkers{0};

} // namespace

int PixelWorkerCount() {
    const int chosen = chosenWorkers.load(std::memory_order_relaxed);
    if (chosen > 0)
        return std::min(chosen, kMaxPixelWorkers);
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMaxPixelWorkers);
}

void SetPixelWorkerCount(int workers) {
    chosenWorkers.store(std::max(workers, 0), std::memory_order_relaxed);
}

} // namespace halvera
