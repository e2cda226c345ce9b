#include "acquire/ScannerThread.h"

#include "acquire/ScanColourMode.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <type_traits>

namespace halvera {

namespace {

// How often AwaitScan looks at the progress of a scan.
constexpr std::chrono::milliseconds kScanLook{100};

} // namespace

struct ScannerThread::State {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> jobs;
    bool stopping = false;
    std::unique_ptr<ScannerBackend> backend;
    std::weak_ptr<ScanProgress> currentScan;
    std::promise<void> finished;

    // The worker: runs the jobs in order until told to stop, then closes the
    // library. It holds the state itself, so it may outlive its owner.
    static void Run(const std::shared_ptr<State>& state) {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock lock(state->mutex);
                state->wake.wait(lock, [&] { return state->stopping || !state->jobs.empty(); });
                if (state->stopping)
                    break;
                job = std::move(state->jobs.front());
                state->jobs.pop_front();
            }
            job();
        }
        state->backend->stop();
        state->finished.set_value();
    }
};

ScannerThread::ScannerThread(std::unique_ptr<ScannerBackend> backend,
                             std::chrono::milliseconds stopTimeout)
    : state_(std::make_shared<State>()), stopTimeout_(stopTimeout) {
    state_->backend = std::move(backend);
    finished_ = state_->finished.get_future();
    worker_ = std::thread([state = state_] { State::Run(state); });
}

ScannerThread::~ScannerThread() {
    {
        std::lock_guard lock(state_->mutex);
        state_->stopping = true;
        state_->jobs.clear(); // their callers see a broken promise
        if (const std::shared_ptr<ScanProgress> scan = state_->currentScan.lock())
            scan->cancelRequested = true;
    }
    state_->wake.notify_all();
    if (finished_.wait_for(stopTimeout_) == std::future_status::ready)
        worker_.join();
    else
        worker_.detach(); // stuck in the library: it ends with the program
}

template <class Result, class Work> std::future<Result> ScannerThread::post(Work work) {
    auto promise = std::make_shared<std::promise<Result>>();
    std::future<Result> future = promise->get_future();
    ScannerBackend* backend = state_->backend.get();
    {
        std::lock_guard lock(state_->mutex);
        state_->jobs.emplace_back([promise, work = std::move(work), backend]() mutable {
            try {
                if constexpr (std::is_void_v<Result>) {
                    work(*backend);
                    promise->set_value();
                } else {
                    promise->set_value(work(*backend));
                }
            } catch (...) {
                promise->set_exception(std::current_exception());
            }
        });
    }
    state_->wake.notify_all();
    return future;
}

std::future<ScannerDeviceList> ScannerThread::listDevices() {
    return post<ScannerDeviceList>([](ScannerBackend& backend) {
        ScannerDeviceList list;
        list.error = backend.start();
        if (list.error.empty())
            list = backend.devices();
        backend.stop();
        if (list.devices.empty() && list.error.empty())
            list.error = kNoScannerFoundMessage;
        return list;
    });
}

namespace {

// The device's name to open: `wanted`, or the first device's when empty.
std::string DeviceToOpen(ScannerBackend& backend, const std::string& wanted, std::string& error) {
    if (!wanted.empty())
        return wanted;
    ScannerDeviceList list = backend.devices();
    error = list.error;
    if (list.devices.empty() && error.empty())
        error = kNoScannerFoundMessage;
    return list.devices.empty() ? std::string() : list.devices.front().name;
}

// Sets `setting` on the open device, keeping the options it shows afterwards;
// a value the device refuses changes nothing.
void SetQuietly(ScannerBackend& backend, const ScanSetting& setting,
                std::vector<ScanOption>& options) {
    SetOptionResult result = backend.setOption(setting.name, setting.value);
    if (result.error.empty())
        options = std::move(result.options);
}

} // namespace

std::future<OpenedScanner> ScannerThread::openDevice(std::string name,
                                                     ScanSettingsByDevice remembered) {
    return post<OpenedScanner>(
        [name = std::move(name), remembered = std::move(remembered)](ScannerBackend& backend) {
            OpenedScanner result;
            result.error = backend.start();
            if (result.error.empty()) {
                result.name = DeviceToOpen(backend, name, result.error);
                if (result.error.empty())
                    result.error = backend.open(result.name);
            }
            if (!result.error.empty()) {
                backend.stop();
                return result;
            }
            result.opened = true;
            result.options = backend.options();
            if (const std::optional<std::string> colour = ColourModeToChoose(result.options))
                SetQuietly(backend, {kScanOptionMode, *colour}, result.options);
            if (const auto settings = remembered.find(result.name); settings != remembered.end()) {
                for (const ScanSetting& setting : settings->second)
                    SetQuietly(backend, setting, result.options);
            }
            return result;
        });
}

std::future<SetOptionResult> ScannerThread::setOption(std::string name, ScanValue value) {
    return post<SetOptionResult>(
        [name = std::move(name), value = std::move(value)](ScannerBackend& backend) {
            return backend.setOption(name, value);
        });
}

ScanJob ScannerThread::scan() {
    ScanJob job;
    job.progress = std::make_shared<ScanProgress>();
    {
        std::lock_guard lock(state_->mutex);
        state_->currentScan = job.progress;
    }
    job.outcome = post<ScanOutcome>(
        [progress = job.progress](ScannerBackend& backend) { return backend.scan(*progress); });
    return job;
}

std::future<void> ScannerThread::closeDevice() {
    return post<void>([](ScannerBackend& backend) { backend.stop(); });
}

bool ScanJob::stalled(std::chrono::steady_clock::time_point now, std::chrono::milliseconds limit) {
    const int64_t bytes = progress ? progress->bytesRead.load() : 0;
    if (bytes != lastBytes_) {
        lastBytes_ = bytes;
        lastChange_ = now;
        return false;
    }
    return now - lastChange_ >= limit;
}

std::optional<ScanOutcome> PollScan(ScanJob& job, std::chrono::milliseconds stallTimeout) {
    if (!job.outcome.valid())
        return ScanOutcome{ScanStatus::Failed, {}, "no scan was started"};
    if (job.outcome.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
        try {
            return job.outcome.get();
        } catch (...) {
            return ScanOutcome{ScanStatus::Failed, {}, "the scanner thread ended before the scan"};
        }
    }
    if (job.stalled(std::chrono::steady_clock::now(), stallTimeout)) {
        job.progress->cancelRequested = true;
        return ScanOutcome{ScanStatus::Failed, {}, "the scanner sent nothing for too long"};
    }
    return std::nullopt;
}

ScanOutcome AwaitScan(ScanJob& job, std::chrono::milliseconds stallTimeout) {
    for (;;) {
        if (std::optional<ScanOutcome> outcome = PollScan(job, stallTimeout))
            return std::move(*outcome);
        job.outcome.wait_for(kScanLook);
    }
}

} // namespace halvera
