#pragma once

#include "app/RecoverySnapshot.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace halvera {

// Writes and removes recovery copies on a worker thread of its own, one job
// at a time in the order asked, so that the window thread only takes the
// snapshots. A removal asked after a write of the same file always comes
// after it. Destroying the writer finishes every job asked before.
class AutosaveWriter {
public:
    AutosaveWriter();
    ~AutosaveWriter();
    AutosaveWriter(const AutosaveWriter&) = delete;
    AutosaveWriter& operator=(const AutosaveWriter&) = delete;

    // Writes `snapshot` to `file` whole (WriteRecoveryCopy).
    void Write(std::string file, RecoverySnapshot snapshot);
    // Removes `file`, if it is there.
    void Remove(std::string file);
    // Whether jobs are waiting or running; the autosave skips a round rather
    // than pile snapshots up behind a slow disk.
    bool Busy() const;
    // Returns once every job asked so far is done.
    void WaitUntilIdle();

private:
    void Enqueue(std::function<void()> job);
    void Run();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> jobs_;
    bool running_ = false; // a job is being done
    bool stopping_ = false;
    std::thread worker_;
};

} // namespace halvera
