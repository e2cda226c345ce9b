#include "measure/RecipeBatch.h"

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

namespace halvera {

namespace {

// The state the workers and the reporting thread share.
class BatchQueue {
public:
    BatchQueue(size_t count, size_t lead) : count_(count), lead_(lead) {}

    // The next picture to measure, or `count` when there is none (the batch
    // is done or stopped). Waits while the workers are `lead` ahead.
    size_t Take() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock,
                      [&] { return stopped_ || next_ >= count_ || next_ < reported_ + lead_; });
        if (stopped_ || next_ >= count_)
            return count_;
        return next_++;
    }

    void Finish(size_t index, PictureInspection result) {
        {
            std::lock_guard lock(mutex_);
            done_.emplace(index, std::move(result));
        }
        changed_.notify_all();
    }

    // Waits for the result of `index` and takes it out.
    PictureInspection Await(size_t index) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return done_.count(index) != 0; });
        PictureInspection result = std::move(done_.at(index));
        done_.erase(index);
        return result;
    }

    void Reported(size_t index) {
        {
            std::lock_guard lock(mutex_);
            reported_ = index + 1;
        }
        changed_.notify_all();
    }

    void Stop() {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    const size_t count_;
    const size_t lead_;
    size_t next_ = 0;
    size_t reported_ = 0;
    bool stopped_ = false;
    std::map<size_t, PictureInspection> done_;
};

// Stops the workers however the reporting ends, so that none waits forever.
struct StopOnExit {
    BatchQueue& queue;
    ~StopOnExit() { queue.Stop(); }
};

PictureInspection InspectOne(const InspectionRecipe& recipe, const InspectionSettings& settings,
                             const PictureLoader& load, size_t index) {
    try {
        const LoadedPicture loaded = load(index);
        if (!loaded.failure.empty() || loaded.picture.empty()) {
            PictureInspection failed;
            failed.failure = loaded.failure.empty() ? "no picture" : loaded.failure;
            return failed;
        }
        return InspectPicture(loaded.picture, recipe, settings);
    } catch (const std::bad_alloc&) {
        PictureInspection failed;
        failed.failure = "Memory error!";
        return failed;
    }
}

} // namespace

bool InspectPictures(const InspectionRecipe& recipe, const InspectionSettings& settings,
                     size_t count, int jobs, const PictureLoader& load,
                     const InspectionReport& report) {
    const size_t workers =
        std::clamp<size_t>(static_cast<size_t>(std::max(jobs, 1)), 1, std::max<size_t>(count, 1));
    BatchQueue queue(count, 2 * workers);
    std::vector<std::jthread> threads;
    for (size_t w = 0; w < workers; ++w)
        threads.emplace_back([&] {
            for (size_t index = queue.Take(); index < count; index = queue.Take())
                queue.Finish(index, InspectOne(recipe, settings, load, index));
        });
    const StopOnExit stopOnExit{queue};
    for (size_t index = 0; index < count; ++index) {
        const bool goOn = report(index, queue.Await(index));
        queue.Reported(index);
        if (!goOn)
            return false;
    }
    return true;
}

} // namespace halvera
