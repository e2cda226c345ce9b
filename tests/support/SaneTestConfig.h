#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace halvera::testing {

// A private configuration of the scanner library in a temporary folder:
// dll.conf naming only `backends` ("pnm", "test"), and the test backend's own
// test.conf (two devices, 8-bit grey, 50 dpi, an 80 x 100 mm solid black
// page). The machine's configuration is never read. The folder is removed
// with the object.
class SaneTestConfig {
public:
    explicit SaneTestConfig(const std::vector<std::string>& backends);
    ~SaneTestConfig();
    SaneTestConfig(const SaneTestConfig&) = delete;
    SaneTestConfig& operator=(const SaneTestConfig&) = delete;

    const std::string& directory() const { return directory_; }

private:
    std::string directory_;
};

// Points the scanner library of this process at a private configuration with
// `backends` (SANE_CONFIG_DIR). The library reads its configuration once per
// process, so every test of a process must ask for the same backends; a
// different set fails the test. Call it before the library is first started.
void UsePrivateSaneConfig(const std::vector<std::string>& backends);

// Ends the test process with a message when it is still running after
// `limit`: a scanner library that hangs fails the test instead of blocking
// the run.
class Watchdog {
public:
    Watchdog(std::chrono::seconds limit, std::string what);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool disarmed_ = false;
    std::thread thread_;
};

} // namespace halvera::testing
