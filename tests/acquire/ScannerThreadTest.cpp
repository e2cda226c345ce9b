// The scanner thread on a scripted backend: what runs where and in which
// order, and that neither a slow device nor one that never answers can hold
// up its callers or the end of the program.
#include "acquire/ScannerThread.h"

#include "SaneTestConfig.h"
#include "acquire/ScanOptionValue.h"

#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <set>
#include <thread>

namespace halvera {
namespace {

using namespace std::chrono_literals;
using testing::Watchdog;

// What the backend was asked, shared with the test (the backend itself
// belongs to the scanner thread and may outlive the test's objects).
struct Script {
    std::mutex mutex;
    std::vector<std::string> calls;
    std::set<std::thread::id> threads;
    bool driver = true;
    bool opens = true;
    std::vector<ScannerDevice> devices{{"dev:0", "Acme", "A", "flatbed"},
                                       {"dev:1", "Acme", "B", "flatbed"}};
    // A device with a mode option starts in grey; nullopt: it has none.
    std::optional<std::string> mode;
    int resolution = 75;
    // A scan waits until it is cancelled, or until released when it ignores cancelling.
    bool scanIgnoresCancel = false;
    bool released = false;
    std::condition_variable release;

    void record(std::string call) {
        std::lock_guard lock(mutex);
        calls.push_back(std::move(call));
        threads.insert(std::this_thread::get_id());
    }
    std::vector<std::string> recorded() {
        std::lock_guard lock(mutex);
        return calls;
    }
    void letScanEnd() {
        {
            std::lock_guard lock(mutex);
            released = true;
        }
        release.notify_all();
    }
};

class ScriptedBackend : public ScannerBackend {
public:
    explicit ScriptedBackend(std::shared_ptr<Script> script) : script_(std::move(script)) {}

    std::string start() override {
        script_->record("start");
        return script_->driver ? "" : "The scanner library did not start: no driver.";
    }
    void stop() override { script_->record("stop"); }
    ScannerDeviceList devices() override {
        script_->record("devices");
        return {script_->devices, {}};
    }
    std::string open(const std::string& name) override {
        script_->record("open " + name);
        return script_->opens ? "" : "The scanner " + name + " could not be opened: refused.";
    }
    std::vector<ScanOption> options() override {
        script_->record("options");
        return current();
    }
    SetOptionResult setOption(const std::string& name, const ScanValue& value) override {
        script_->record("set " + name + "=" + FormatScanValue(value));
        const int* number = std::get_if<int>(&value);
        const std::string* text = std::get_if<std::string>(&value);
        if (name == kScanOptionResolution && number)
            script_->resolution = *number;
        else if (name == kScanOptionMode && text && script_->mode && *text != "Sepia")
            script_->mode = *text;
        else
            return {"refused", false, current()};
        return {{}, false, current()};
    }
    ScanOutcome scan(ScanProgress& progress) override {
        script_->record("scan");
        progress.bytesRead = 1;
        // A cancel request comes without a notification: look at it often.
        std::unique_lock lock(script_->mutex);
        while (!script_->released && (script_->scanIgnoresCancel || !progress.cancelRequested))
            script_->release.wait_for(lock, std::chrono::milliseconds(2));
        script_->calls.push_back(progress.cancelRequested ? "scan cancelled" : "scan done");
        return ScanOutcome{
            progress.cancelRequested ? ScanStatus::Cancelled : ScanStatus::Done, {}, {}};
    }

private:
    std::vector<ScanOption> current() const {
        std::vector<ScanOption> list(1);
        list[0].name = kScanOptionResolution;
        list[0].value = script_->resolution;
        if (script_->mode) {
            ScanOption mode;
            mode.name = kScanOptionMode;
            mode.type = ScanValueType::String;
            mode.constraint = ScanConstraint::StringList;
            mode.texts = {"Gray", "Color", "Sepia"};
            mode.value = *script_->mode;
            list.push_back(mode);
        }
        return list;
    }

    std::shared_ptr<Script> script_;
};

class ScannerThreadTest : public ::testing::Test {
protected:
    std::unique_ptr<ScannerThread> makeThread(std::chrono::milliseconds stopTimeout = 10s) {
        return std::make_unique<ScannerThread>(std::make_unique<ScriptedBackend>(script),
                                               stopTimeout);
    }

    std::shared_ptr<Script> script = std::make_shared<Script>();
    Watchdog watchdog{60s, "a scanner thread test"};
};

TEST_F(ScannerThreadTest, ListingStartsTheLibraryListsAndReleasesIt) {
    auto thread = makeThread();
    auto answer = thread->listDevices();
    const auto list = AwaitResult(answer, 10s);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->devices.size(), 2u);
    EXPECT_EQ(list->devices[1].model, "B");
    EXPECT_EQ(list->error, "");
    EXPECT_EQ(script->recorded(), (std::vector<std::string>{"start", "devices", "stop"}));
}

TEST_F(ScannerThreadTest, AnEmptyListSaysWhy) {
    auto thread = makeThread();
    script->devices.clear();
    auto none = thread->listDevices();
    EXPECT_EQ(AwaitResult(none, 10s)->error, kNoScannerFoundMessage);

    script->driver = false;
    auto noDriver = thread->listDevices();
    const auto list = AwaitResult(noDriver, 10s);
    EXPECT_TRUE(list->devices.empty());
    EXPECT_EQ(list->error, "The scanner library did not start: no driver.");
}

TEST_F(ScannerThreadTest, OpeningWithoutANameOpensTheFirstDevice) {
    auto thread = makeThread();
    auto answer = thread->openDevice("");
    const auto opened = AwaitResult(answer, 10s);
    ASSERT_TRUE(opened && opened->opened);
    EXPECT_EQ(opened->name, "dev:0");
    EXPECT_EQ(opened->error, "");
    ASSERT_EQ(opened->options.size(), 1u);
    EXPECT_EQ(script->recorded(),
              (std::vector<std::string>{"start", "devices", "open dev:0", "options"}));
}

TEST_F(ScannerThreadTest, AFailedOpenReleasesTheLibraryAgainAndSaysWhy) {
    auto thread = makeThread();
    script->opens = false;
    auto refused = thread->openDevice("dev:1");
    const auto notOpened = AwaitResult(refused, 10s);
    EXPECT_FALSE(notOpened->opened);
    EXPECT_EQ(notOpened->error, "The scanner dev:1 could not be opened: refused.");
    EXPECT_EQ(script->recorded(), (std::vector<std::string>{"start", "open dev:1", "stop"}));

    script->opens = true;
    script->devices.clear();
    auto noDevice = thread->openDevice("");
    const auto nothing = AwaitResult(noDevice, 10s);
    EXPECT_FALSE(nothing->opened) << "nothing to open";
    EXPECT_EQ(nothing->error, kNoScannerFoundMessage);

    script->driver = false;
    auto noDriver = thread->openDevice("dev:0");
    const auto unstarted = AwaitResult(noDriver, 10s);
    EXPECT_FALSE(unstarted->opened);
    EXPECT_EQ(unstarted->error, "The scanner library did not start: no driver.");
}

TEST_F(ScannerThreadTest, AGreyDeviceOpensInColourThenTakesWhatWasSetOnItBefore) {
    auto thread = makeThread();
    script->mode = "Gray";
    auto plain = thread->openDevice("dev:0");
    const auto colour = AwaitResult(plain, 10s);
    ASSERT_TRUE(colour && colour->opened);
    EXPECT_EQ(std::get<std::string>(FindScanOption(colour->options, kScanOptionMode)->value),
              "Color");
    EXPECT_EQ(script->recorded(),
              (std::vector<std::string>{"start", "open dev:0", "options", "set mode=Color"}));

    // What was set on this device comes back in the order it was set; what
    // the device no longer takes is left; another device's settings are not used.
    script->mode = "Gray";
    ScanSettingsByDevice remembered;
    remembered["dev:0"] = {{kScanOptionResolution, 300},
                           {kScanOptionMode, std::string("Sepia")},
                           {kScanOptionMode, std::string("Gray")}};
    remembered["dev:1"] = {{kScanOptionResolution, 600}};
    auto again = thread->openDevice("dev:0", remembered);
    const auto restored = AwaitResult(again, 10s);
    ASSERT_TRUE(restored && restored->opened);
    EXPECT_EQ(std::get<std::string>(FindScanOption(restored->options, kScanOptionMode)->value),
              "Gray");
    EXPECT_EQ(std::get<int>(FindScanOption(restored->options, kScanOptionResolution)->value), 300);
    const std::vector<std::string> calls = script->recorded();
    EXPECT_EQ(std::vector<std::string>(calls.end() - 5, calls.end()),
              (std::vector<std::string>{"options", "set mode=Color", "set resolution=300",
                                        "set mode=Sepia", "set mode=Gray"}));
}

TEST_F(ScannerThreadTest, WorkRunsInOrderOnOneThreadThatIsNotTheCallers) {
    auto thread = makeThread();
    auto opened = thread->openDevice("dev:1");
    auto set = thread->setOption("resolution", 300);
    auto closed = thread->closeDevice();
    ASSERT_EQ(closed.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(script->recorded(), (std::vector<std::string>{"start", "open dev:1", "options",
                                                            "set resolution=300", "stop"}));
    EXPECT_EQ(script->threads.size(), 1u);
    EXPECT_EQ(script->threads.count(std::this_thread::get_id()), 0u);
}

TEST_F(ScannerThreadTest, AScanRunsUntilCancelledThroughItsProgress) {
    auto thread = makeThread();
    ScanJob job = thread->scan();
    EXPECT_EQ(job.outcome.wait_for(50ms), std::future_status::timeout) << "the caller never waits";
    job.progress->cancelRequested = true;
    const auto outcome = AwaitResult(job.outcome, 10s);
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->status, ScanStatus::Cancelled);
}

TEST_F(ScannerThreadTest, AScanThatSendsNothingIsGivenUpAndCancelled) {
    auto thread = makeThread();
    ScanJob job = thread->scan();
    const ScanOutcome outcome = AwaitScan(job, 200ms);
    EXPECT_EQ(outcome.status, ScanStatus::Failed);
    EXPECT_FALSE(outcome.detail.empty());
    EXPECT_TRUE(job.progress->cancelRequested);
}

TEST_F(ScannerThreadTest, EndingCancelsTheRunningScanDropsQueuedWorkAndStops) {
    auto thread = makeThread();
    ScanJob job = thread->scan();
    auto queued = thread->setOption("resolution", 600);
    while (script->recorded().empty())
        std::this_thread::sleep_for(1ms);
    thread.reset();
    EXPECT_EQ(script->recorded(), (std::vector<std::string>{"scan", "scan cancelled", "stop"}));
    EXPECT_THROW(queued.get(), std::future_error) << "dropped work never answers";
}

TEST_F(ScannerThreadTest, ADeviceThatNeverAnswersDoesNotHoldUpTheEnd) {
    script->scanIgnoresCancel = true;
    auto thread = makeThread(100ms);
    ScanJob job = thread->scan();
    while (script->recorded().empty())
        std::this_thread::sleep_for(1ms);
    thread.reset(); // returns although the scan goes on
    EXPECT_EQ(script->recorded(), std::vector<std::string>{"scan"});

    // When the device answers at last, the thread left behind still closes the library.
    script->letScanEnd();
    ASSERT_EQ(job.outcome.wait_for(10s), std::future_status::ready);
    for (int i = 0; i < 1000 && script->recorded().back() != "stop"; ++i)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(script->recorded().back(), "stop");
}

} // namespace
} // namespace halvera
