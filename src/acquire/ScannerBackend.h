#pragma once

#include "acquire/ScanOption.h"
#include "image/PackedDib.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace halvera {

// How far one scan has come, shared between the thread that scans and the
// one that waits for it; the waiting side may ask the scan to stop.
struct ScanProgress {
    std::atomic<int64_t> bytesRead{0};
    std::atomic<int64_t> bytesExpected{0}; // 0 while the size is not known
    std::atomic<bool> cancelRequested{false};
};

enum class ScanStatus { Done, Cancelled, Failed };

// The end of one scan: the picture when it is done; a failure says why in
// `detail` (for the batch tool's output; the desktop shows its fixed message).
struct ScanOutcome {
    ScanStatus status = ScanStatus::Failed;
    PackedDib picture;
    std::string detail;
};

// The devices the library can reach, or why they could not be listed.
struct ScannerDeviceList {
    std::vector<ScannerDevice> devices;
    std::string error; // empty: the list is complete (it may still be empty)
};

// The answer to setting one option: the options as the device shows them
// afterwards (setting one may change others), and an error when the option
// is unknown, cannot be set now or the device refused the value.
struct SetOptionResult {
    std::string error;    // empty: the value was set
    bool inexact = false; // the device set a nearby value instead
    std::vector<ScanOption> options;
};

// A scanner library seen from the program. Every call is made from one
// thread (ScannerThread's worker), in this order: start, then devices or
// open; with a device open, options, setOption and scan in any order; stop
// ends it all. Calls may block for as long as the device needs.
class ScannerBackend {
public:
    virtual ~ScannerBackend() = default;

    // Loads and initialises the library: an empty text when it started, else
    // why not (the library's own reason, as a sentence).
    virtual std::string start() = 0;
    // Closes the open device, if any, and releases the library, if started.
    virtual void stop() = 0;
    // The devices the library can reach now.
    virtual ScannerDeviceList devices() = 0;
    // Opens the device called `name`: an empty text when it opened, else why
    // not, as a sentence naming the device.
    virtual std::string open(const std::string& name) = 0;
    // The open device's options with their current values.
    virtual std::vector<ScanOption> options() = 0;
    virtual SetOptionResult setOption(const std::string& name, const ScanValue& value) = 0;
    // Scans one picture with the current options, reporting into `progress`
    // and ending as Cancelled soon after it asks to stop.
    virtual ScanOutcome scan(ScanProgress& progress) = 0;
};

} // namespace halvera
