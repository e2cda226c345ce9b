#include "SaneTestConfig.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

namespace halvera::testing {

namespace {

// The test backend's settings; without them its pages come out 1 x 1.
constexpr const char* kTestBackendConfig = R"(number_of_devices 2
mode Gray
depth 8
hand-scanner false
three-pass false
three-pass-order RGB
resolution_min 1.0
resolution_max 1200.0
resolution_quant 1.0
resolution 50.0
test-picture "Solid black"
invert-endianess false
read-limit false
read-limit-size 1
read-delay false
read-delay-duration 1000
read-status-code "Default"
fuzzy-parameters false
ppl-loss 0
non-blocking false
select-fd false
enable-test-options false
geometry_min 0.0
geometry_max 200.0
geometry_quant 1.0
tl_x 0.0
tl_y 0.0
br_x 80.0
br_y 100.0
)";

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream file(path);
    file << text;
    if (!file)
        throw std::runtime_error("cannot write " + path.string());
}

} // namespace

SaneTestConfig::SaneTestConfig(const std::vector<std::string>& backends) {
    std::string pattern = (std::filesystem::temp_directory_path() / "halvera-sane-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a folder for the scanner configuration");
    directory_ = pattern;
    std::string names;
    for (const std::string& backend : backends)
        names += backend + "\n";
    WriteText(std::filesystem::path(directory_) / "dll.conf", names);
    WriteText(std::filesystem::path(directory_) / "test.conf", kTestBackendConfig);
}

SaneTestConfig::~SaneTestConfig() {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

void UsePrivateSaneConfig(const std::vector<std::string>& backends) {
    static std::vector<std::string> chosen = backends;
    static const auto config = std::make_unique<SaneTestConfig>(backends);
    ASSERT_EQ(chosen, backends) << "one scanner configuration per process";
    // No trailing ':' so that the system's folder is not searched after it.
    setenv("SANE_CONFIG_DIR", config->directory().c_str(), 1);
}

Watchdog::Watchdog(std::chrono::seconds limit, std::string what) {
    thread_ = std::thread([this, limit, what = std::move(what)] {
        std::unique_lock lock(mutex_);
        if (!done_.wait_for(lock, limit, [this] { return disarmed_; })) {
            std::fprintf(stderr, "watchdog: %s did not end within %lld s\n", what.c_str(),
                         static_cast<long long>(limit.count()));
            std::abort();
        }
    });
}

Watchdog::~Watchdog() {
    {
        std::lock_guard lock(mutex_);
        disarmed_ = true;
    }
    done_.notify_all();
    thread_.join();
}

} // namespace halvera::testing
