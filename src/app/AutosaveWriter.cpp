#include "app/AutosaveWriter.h"

#include "app/RecoveryCopyFile.h"

#include <filesystem>
#include <memory>

namespace halvera {

AutosaveWriter::AutosaveWriter() : worker_([this] { Run(); }) {}

AutosaveWriter::~AutosaveWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void AutosaveWriter::Write(std::string file, RecoverySnapshot snapshot) {
    // std::function needs a copyable job: the snapshot's blocks move in a shared pointer.
    auto shared = std::make_shared<RecoverySnapshot>(std::move(snapshot));
    Enqueue([file = std::move(file), shared] { WriteRecoveryCopy(file, *shared); });
}

void AutosaveWriter::Remove(std::string file) {
    Enqueue([file = std::move(file)] {
        std::error_code error;
        std::filesystem::remove(file, error);
    });
}

bool AutosaveWriter::Busy() const {
    std::lock_guard lock(mutex_);
    return running_ || !jobs_.empty();
}

void AutosaveWriter::WaitUntilIdle() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !running_ && jobs_.empty(); });
}

void AutosaveWriter::Enqueue(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    changed_.notify_all();
}

void AutosaveWriter::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        // The queue is emptied before stopping: a clean exit's removals still run.
        if (jobs_.empty())
            return;
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        running_ = true;
        lock.unlock();
        job();
        lock.lock();
        running_ = false;
        changed_.notify_all();
    }
}

} // namespace halvera
