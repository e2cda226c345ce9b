#include "measure/CalibrationWatch.h"

#include <mutex>
#include <vector>

namespace halvera {

namespace {

// The watchers of every settings object. Workers calibrate settings of their
// own, so the list is shared between threads.
struct Watchers {
    std::mutex mutex;
    std::vector<CalibrationWatch*> list;
};

Watchers& AllWatchers() {
    static Watchers watchers;
    return watchers;
}

} // namespace

CalibrationWatch::CalibrationWatch(const AppSettings& settings, std::function<void()> changed)
    : settings_(settings), changed_(std::move(changed)) {
    Watchers& watchers = AllWatchers();
    const std::lock_guard lock(watchers.mutex);
    watchers.list.push_back(this);
}

CalibrationWatch::~CalibrationWatch() {
    Watchers& watchers = AllWatchers();
    const std::lock_guard lock(watchers.mutex);
    std::erase(watchers.list, this);
}

void TellCalibrationChanged(const AppSettings& settings) {
    std::vector<std::function<void()>> calls;
    {
        Watchers& watchers = AllWatchers();
        const std::lock_guard lock(watchers.mutex);
        for (const CalibrationWatch* watch : watchers.list)
            if (&watch->settings_ == &settings)
                calls.push_back(watch->changed_);
    }
    // Outside the lock: a watcher may itself start or end a watch.
    for (const std::function<void()>& call : calls)
        call();
}

} // namespace halvera
