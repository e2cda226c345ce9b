#pragma once

#include "acquire/ScannerBackend.h"

#include <chrono>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace halvera {

// How long the program waits for the scanner library before giving up.
inline constexpr std::chrono::seconds kScannerCallTimeout{30}; // list, open, set an option
inline constexpr std::chrono::seconds kScanStallTimeout{120};  // a scan that sends nothing
inline constexpr std::chrono::seconds kScannerStopTimeout{5};  // closing at the end

// The device a scan session has open, with its options; `opened` is false
// when the library did not start, found no device, or the device did not
// open, and `error` then says which, as a sentence to show.
struct OpenedScanner {
    bool opened = false;
    std::string name;
    std::vector<ScanOption> options;
    std::string error;
};

// What the user set on each device (by its name), in the order set.
using ScanSettingsByDevice = std::map<std::string, std::vector<ScanSetting>>;

// Said when the library finds no device at all.
inline constexpr const char* kNoScannerFoundMessage = "No scanner was found.";

// One scan under way: its result to come and its progress, through which it
// can also be cancelled.
struct ScanJob {
    std::future<ScanOutcome> outcome;
    std::shared_ptr<ScanProgress> progress;

    // Whether the scan has sent nothing for `limit` up to `now`. Each call
    // with more bytes read than the last restarts the clock.
    bool stalled(std::chrono::steady_clock::time_point now, std::chrono::milliseconds limit);

private:
    int64_t lastBytes_ = -1;
    std::chrono::steady_clock::time_point lastChange_;
};

// Runs a scanner library on a thread of its own, so that no caller ever waits
// on a device: every call only queues the work and returns its result to
// come, which the caller waits for with a timeout (or polls). The work runs
// in the order it was asked for.
//
// Destroying the thread cancels a running scan, drops queued work, and closes
// the device and the library; when the library does not answer within the
// stop timeout the thread is left behind on its own, so that the program
// still ends.
class ScannerThread {
public:
    explicit ScannerThread(std::unique_ptr<ScannerBackend> backend,
                           std::chrono::milliseconds stopTimeout = kScannerStopTimeout);
    ~ScannerThread();
    ScannerThread(const ScannerThread&) = delete;
    ScannerThread& operator=(const ScannerThread&) = delete;

    // Starts the library, lists its devices and releases it again. A list
    // without devices has its error: why the library did not start or list,
    // or kNoScannerFoundMessage.
    std::future<ScannerDeviceList> listDevices();
    // Starts the library and opens the device `name`, or the first device
    // when `name` is empty; on failure the library is released again. A
    // device in a grey mode that offers colour is switched to colour, then
    // what `remembered` holds for it is set again (what no longer fits is
    // left as it is).
    std::future<OpenedScanner> openDevice(std::string name, ScanSettingsByDevice remembered = {});
    std::future<SetOptionResult> setOption(std::string name, ScanValue value);
    ScanJob scan();
    // Closes the device and releases the library.
    std::future<void> closeDevice();

private:
    struct State;
    template <class Result, class Work> std::future<Result> post(Work work);

    std::shared_ptr<State> state_;
    std::chrono::milliseconds stopTimeout_;
    std::future<void> finished_;
    std::thread worker_;
};

// Waits at most `timeout` for `future`; nothing when it did not come (or
// came as an error).
template <class Result>
std::optional<Result> AwaitResult(std::future<Result>& future, std::chrono::milliseconds timeout) {
    if (!future.valid() || future.wait_for(timeout) != std::future_status::ready)
        return std::nullopt;
    try {
        return future.get();
    } catch (...) {
        return std::nullopt;
    }
}

// The end of a scan when it has come, or when the scan has sent nothing for
// `stallTimeout` (it is then cancelled and reported as failed); nothing while
// it runs. Never waits.
std::optional<ScanOutcome> PollScan(ScanJob& job,
                                    std::chrono::milliseconds stallTimeout = kScanStallTimeout);

// Waits for a scan for as long as it keeps sending data (PollScan).
ScanOutcome AwaitScan(ScanJob& job, std::chrono::milliseconds stallTimeout = kScanStallTimeout);

} // namespace halvera
