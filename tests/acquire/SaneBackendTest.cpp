// The scanner library itself (SANE), run through the scanner thread on a
// private configuration with the pnm backend (which scans a picture file
// exactly) and the test backend (a virtual scanner with many settings).
#include "acquire/SaneBackend.h"

#include "ImageFileTestSupport.h"
#include "PnmFiles.h"
#include "SaneTestConfig.h"
#include "SyntheticImages.h"
#include "acquire/ScannerThread.h"
#include "image/ConvertPackedDib.h"

#include <cstring>
#include <gtest/gtest.h>
#include <set>

namespace halvera {
namespace {

using namespace std::chrono_literals;
using testing::Bgr;

constexpr auto kAnswer = 30s;

Bgr Pattern(int x, int y) {
    return Bgr{uint8_t(x + 3 * y), uint8_t(11 * y), uint8_t(7 * x)};
}

class SaneBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::UsePrivateSaneConfig({"pnm", "test"});
        scanner = std::make_unique<ScannerThread>(MakeSaneBackend());
    }

    void TearDown() override { scanner.reset(); }

    OpenedScanner open(const std::string& name) {
        auto answer = scanner->openDevice(name);
        const std::optional<OpenedScanner> opened = AwaitResult(answer, kAnswer);
        EXPECT_TRUE(opened && opened->opened) << name;
        return opened.value_or(OpenedScanner{});
    }

    SetOptionResult set(const std::string& name, ScanValue value) {
        auto answer = scanner->setOption(name, std::move(value));
        std::optional<SetOptionResult> result = AwaitResult(answer, kAnswer);
        EXPECT_TRUE(result) << "no answer setting " << name;
        return result ? std::move(*result) : SetOptionResult{"no answer", false, {}};
    }

    void setOk(const std::string& name, ScanValue value) {
        const SetOptionResult result = set(name, std::move(value));
        EXPECT_EQ(result.error, "") << name;
    }

    ScanOutcome scan() {
        ScanJob job = scanner->scan();
        return AwaitScan(job, kAnswer);
    }

    // Opens the pnm device on a colour picture of the pattern.
    void openPatternPicture(int width, int height) {
        const std::string path = folder.file("pattern.ppm");
        testing::WritePpm(path, width, height, Pattern);
        open("pnm:0");
        setOk("filename", path);
    }

    // The picture as a 24-bit image; an empty block when it is none.
    static DibBlock ImageOf(const PackedDib& picture) {
        DibBlock image;
        if (!picture || picture.header()->biBitCount != 24 ||
            !CreateRgb(image, picture.header()->biWidth, picture.header()->biHeight) ||
            !ConvertPackedDib(picture, image.dib()))
            return {};
        return image;
    }

    static bool SameBytes(const PackedDib& a, const PackedDib& b) {
        return a && b && a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size()) == 0;
    }

    testing::Watchdog watchdog{120s, "a scanner library test"};
    testing::TemporaryFolder folder;
    std::unique_ptr<ScannerThread> scanner;
};

TEST_F(SaneBackendTest, ListsTheDevicesOfTheConfiguredBackendsOnly) {
    auto answer = scanner->listDevices();
    const auto list = AwaitResult(answer, kAnswer);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->error, "");
    std::set<std::string> names;
    for (const ScannerDevice& device : list->devices) {
        names.insert(device.name);
        EXPECT_FALSE(device.model.empty()) << device.name;
    }
    EXPECT_EQ(names, (std::set<std::string>{"pnm:0", "pnm:1", "test:0", "test:1"}));
}

TEST_F(SaneBackendTest, AColourPictureScansBitExact) {
    openPatternPicture(37, 23); // odd width: the picture's rows are padded
    const ScanOutcome outcome = scan();
    ASSERT_EQ(outcome.status, ScanStatus::Done) << outcome.detail;
    const DibBlock image = ImageOf(outcome.picture);
    ASSERT_FALSE(image.empty());
    const DibBlock expected = testing::MakeRgb(37, 23, Pattern);
    EXPECT_TRUE(testing::SamePixels(image.dib(), expected.dib()));
}

TEST_F(SaneBackendTest, AGreyPictureScansIntoAnEightBitPicture) {
    const std::string path = folder.file("grey.pgm");
    testing::WritePgm(path, 9, 5, [](int x, int y) { return uint8_t(20 * x + y); });
    open("pnm:1");
    setOk("filename", path);
    const ScanOutcome outcome = scan();
    ASSERT_EQ(outcome.status, ScanStatus::Done) << outcome.detail;
    const BitmapInfoHeader& header = *outcome.picture.header();
    EXPECT_EQ(header.biBitCount, 8);
    EXPECT_EQ(header.biWidth, 9);
    EXPECT_EQ(header.biHeight, 5);
    DibBlock image;
    ASSERT_TRUE(CreateRgb(image, 9, 5));
    ASSERT_TRUE(ConvertPackedDib(outcome.picture, image.dib()));
    EXPECT_EQ(testing::PixelAt(image.dib(), 8, 0), (Bgr{160, 160, 160}));
    EXPECT_EQ(testing::PixelAt(image.dib(), 2, 4), (Bgr{44, 44, 44}));
}

TEST_F(SaneBackendTest, ThreePassAndUnknownHeightScansGiveTheSamePicture) {
    openPatternPicture(20, 6);
    const ScanOutcome single = scan();
    ASSERT_EQ(single.status, ScanStatus::Done) << single.detail;

    setOk("three-pass", true);
    const ScanOutcome threePass = scan();
    ASSERT_EQ(threePass.status, ScanStatus::Done) << threePass.detail;
    EXPECT_TRUE(SameBytes(threePass.picture, single.picture));

    setOk("three-pass", false);
    setOk("hand-scanner", true); // the height is not known before the end
    const ScanOutcome handScanner = scan();
    ASSERT_EQ(handScanner.status, ScanStatus::Done) << handScanner.detail;
    EXPECT_TRUE(SameBytes(handScanner.picture, single.picture));
}

TEST_F(SaneBackendTest, LinesLongerThanTheirPixelsAreReadByTheirOwnLength) {
    open("test:0");
    setOk("mode", std::string("Color"));
    setOk("test-picture", std::string("Color pattern"));
    const ScanOutcome whole = scan();
    ASSERT_EQ(whole.status, ScanStatus::Done) << whole.detail;

    // Five pixels of every line are sent but not part of the picture.
    setOk("ppl-loss", 5);
    const ScanOutcome narrower = scan();
    ASSERT_EQ(narrower.status, ScanStatus::Done) << narrower.detail;
    const DibBlock wide = ImageOf(whole.picture);
    const DibBlock cut = ImageOf(narrower.picture);
    ASSERT_FALSE(wide.empty() || cut.empty());
    ASSERT_EQ(cut.width(), wide.width() - 5);
    ASSERT_EQ(cut.height(), wide.height());
    for (int y = 0; y < cut.height(); y += 7) {
        for (int x = 0; x < cut.width(); ++x)
            ASSERT_EQ(testing::PixelAt(cut.dib(), x, y), testing::PixelAt(wide.dib(), x, y))
                << x << ", " << y;
    }
}

TEST_F(SaneBackendTest, TheResolutionSetsTheSizeAndTheHeader) {
    open("test:0");
    setOk("mode", std::string("Color"));
    setOk("resolution", 50.0);
    const ScanOutcome low = scan();
    setOk("resolution", 100.0);
    const ScanOutcome high = scan();
    ASSERT_EQ(low.status, ScanStatus::Done) << low.detail;
    ASSERT_EQ(high.status, ScanStatus::Done) << high.detail;
    EXPECT_NEAR(high.picture.header()->biWidth, 2 * low.picture.header()->biWidth, 1);
    EXPECT_NEAR(high.picture.header()->biHeight, 2 * low.picture.header()->biHeight, 1);
    EXPECT_EQ(high.picture.header()->biXPelsPerMeter, 3937); // 100 / 0.0254
}

TEST_F(SaneBackendTest, ADeviceThatFailsMidScanGivesNoPictureAndStaysUsable) {
    openPatternPicture(10, 10);
    setOk("status-ioerror", true);
    const ScanOutcome failed = scan();
    EXPECT_EQ(failed.status, ScanStatus::Failed);
    EXPECT_FALSE(failed.picture);
    EXPECT_NE(failed.detail.find("stopped sending"), std::string::npos) << failed.detail;

    setOk("status-ioerror", false);
    const ScanOutcome again = scan();
    EXPECT_EQ(again.status, ScanStatus::Done) << again.detail;
}

TEST_F(SaneBackendTest, OptionsComeWithTheirKindsConstraintsAndValues) {
    const OpenedScanner test = open("test:0");
    const ScanOption* mode = FindScanOption(test.options, "mode");
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->type, ScanValueType::String);
    EXPECT_EQ(mode->constraint, ScanConstraint::StringList);
    EXPECT_EQ(mode->texts, (std::vector<std::string>{"Gray", "Color"}));
    // The private test.conf starts the device in grey; it is opened in colour.
    EXPECT_EQ(mode->value, ScanValue(std::string("Color")));
    const ScanOption* resolution = FindScanOption(test.options, "resolution");
    ASSERT_NE(resolution, nullptr);
    EXPECT_EQ(resolution->type, ScanValueType::Fixed);
    EXPECT_EQ(resolution->unit, ScanUnit::Dpi);
    EXPECT_EQ(resolution->constraint, ScanConstraint::Range);
    EXPECT_EQ(resolution->max, 1200.0);
    EXPECT_EQ(resolution->value, ScanValue(50.0));
    const ScanOption* right = FindScanOption(test.options, "br-x");
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(right->unit, ScanUnit::Millimetre);
    EXPECT_EQ(right->value, ScanValue(80.0));
    EXPECT_TRUE(FindScanOption(test.options, "three-pass")->active) << "only in colour";
}

TEST_F(SaneBackendTest, SettingAnOptionGivesTheDevicesAnswer) {
    const OpenedScanner pnm = open("pnm:0");
    const ScanOption* resolution = FindScanOption(pnm.options, "resolution");
    ASSERT_NE(resolution, nullptr);
    EXPECT_EQ(resolution->type, ScanValueType::Int) << "unlike the test backend's";
    EXPECT_EQ(resolution->constraint, ScanConstraint::NumberList);
    EXPECT_EQ(set("nonsense", 1).error, "the scanner has no option nonsense");
    EXPECT_NE(set("filename", std::string(5000, 'a')).error.find("longer than"), std::string::npos);
    EXPECT_NE(set("resolution", std::string("high")).error, "") << "a value of the wrong kind";

    open("test:0");
    setOk("mode", std::string("Gray"));
    EXPECT_EQ(set("three-pass", true).error,
              "the option three-pass is not in use with the other settings");
    // Colour brings the three-pass option into use.
    const SetOptionResult colour = set("mode", std::string("Color"));
    EXPECT_TRUE(FindScanOption(colour.options, "three-pass")->active);
    // The device rounds to its own steps and says so.
    const SetOptionResult rounded = set("resolution", 12.7);
    EXPECT_EQ(rounded.error, "");
    EXPECT_TRUE(rounded.inexact);
    EXPECT_EQ(FindScanOption(rounded.options, "resolution")->value, ScanValue(13.0));
}

TEST_F(SaneBackendTest, CancellingASlowScanEndsItAsCancelled) {
    open("test:0");
    setOk("mode", std::string("Color"));
    setOk("resolution", 300.0);
    setOk("br-x", 200.0);
    setOk("br-y", 200.0);
    setOk("read-delay", true);
    setOk("read-delay-duration", 200000); // 0.2 s a buffer: about a minute for the page
    ScanJob job = scanner->scan();
    while (job.progress->bytesRead == 0 && job.outcome.wait_for(1ms) != std::future_status::ready) {
    }
    job.progress->cancelRequested = true;
    const ScanOutcome outcome = AwaitScan(job, kAnswer);
    EXPECT_EQ(outcome.status, ScanStatus::Cancelled) << outcome.detail;
    EXPECT_FALSE(outcome.picture);
    EXPECT_GT(job.progress->bytesExpected, job.progress->bytesRead);
}

} // namespace
} // namespace halvera
