// The batch tool's scanner commands, run as the real binary against a
// private scanner configuration (the pnm and test backends, or none).
#include "CliRunner.h"
#include "ImageFileTestSupport.h"
#include "PictureEncoders.h"
#include "PnmFiles.h"
#include "SaneTestConfig.h"
#include "SyntheticImages.h"
#include "image/ConvertPackedDib.h"
#include "image/PictureFiles.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::CliResult;
using testing::RunCliCapturing;

Bgr Pattern(int x, int y) {
    return Bgr{uint8_t(5 * x), uint8_t(x ^ y), uint8_t(200 - y)};
}

// Each test gives the tool (a process of its own) its own configuration.
class ScanCommands : public ::testing::Test {
protected:
    void useBackends(const std::vector<std::string>& backends) {
        config = std::make_unique<testing::SaneTestConfig>(backends);
        setenv("SANE_CONFIG_DIR", config->directory().c_str(), 1);
    }
    void TearDown() override { unsetenv("SANE_CONFIG_DIR"); }

    std::string writePattern(int width, int height) {
        const std::string path = folder.file("pattern.ppm");
        testing::WritePpm(path, width, height, Pattern);
        return path;
    }

    testing::TemporaryFolder folder;
    std::unique_ptr<testing::SaneTestConfig> config;
};

TEST_F(ScanCommands, ScannersListsTheConfiguredDevicesOneALine) {
    useBackends({"pnm", "test"});
    const CliResult result = RunCliCapturing({"scanners"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("pnm:0\tNoname\tPNM file reader\tvirtual device\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("test:1\t"), std::string::npos);
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 4);
}

TEST_F(ScanCommands, AColourScanIsSavedBitExact) {
    useBackends({"pnm"});
    const std::string picture = writePattern(33, 17);
    const std::string output = folder.file("scan.bmp");
    const CliResult result =
        RunCliCapturing({"scan", output, "--source", "pnm:1", "--option", "filename=" + picture});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const PackedDib written = OpenPictureFile(output).picture;
    ASSERT_TRUE(written);
    DibBlock image;
    ASSERT_TRUE(CreateRgb(image, written.header()->biWidth, written.header()->biHeight));
    ASSERT_TRUE(ConvertPackedDib(written, image.dib()));
    EXPECT_TRUE(testing::SamePixels(image.dib(), testing::MakeRgb(33, 17, Pattern).dib()));
}

// A 16-bit output file is kept unless --force, and without it no scanner is
// even opened.
TEST_F(ScanCommands, ASixteenBitOutputIsReplacedOnlyWithForce) {
    useBackends({});
    const std::string output = folder.file("deep.tif");
    ASSERT_TRUE(testing::WriteTiffFile(
        output, testing::PatternPicture(3, 2, testing::TestColours::Grey, 16)));
    const testing::Bytes before = testing::ReadFileBytes(output);
    CliResult result = RunCliCapturing({"scan", output});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, output + ": The file holds more than this picture (16-bit samples); "
                                   "saving replaces it. Give --force to save anyway.\n");
    EXPECT_EQ(testing::ReadFileBytes(output), before);

    useBackends({"pnm"});
    const std::string picture = writePattern(6, 5);
    result = RunCliCapturing(
        {"scan", output, "--force", "--source", "pnm:1", "--option", "filename=" + picture});
    ASSERT_EQ(result.status, 0) << result.err;
    const PackedDib written = OpenPictureFile(output).picture;
    ASSERT_TRUE(written);
    EXPECT_EQ(written.header()->biWidth, 6);
}

TEST_F(ScanCommands, AGreyScanSaysPleaseScan24BitsImageAndWritesNothing) {
    useBackends({"pnm"});
    const std::string picture = folder.file("grey.pgm");
    testing::WritePgm(picture, 8, 8, [](int x, int) { return uint8_t(x); });
    const std::string output = folder.file("scan.jpg");
    const CliResult result = RunCliCapturing({"scan", output, "--option", "filename=" + picture});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Please scan 24 bits image\n");
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(ScanCommands, ModeAndResolutionAreSetBeforeTheScan) {
    useBackends({"test"});
    const std::string low = folder.file("low.bmp");
    const std::string high = folder.file("high.bmp");
    ASSERT_EQ(RunCliCapturing({"scan", low, "--mode", "Color", "--resolution", "25"}).status, 0);
    const CliResult result = RunCliCapturing(
        {"scan", high, "--source", "test:1", "--resolution", "50", "--mode", "color"});
    ASSERT_EQ(result.status, 0) << result.err;
    const PackedDib first = OpenPictureFile(low).picture;
    const PackedDib second = OpenPictureFile(high).picture;
    ASSERT_TRUE(first && second);
    EXPECT_NEAR(second.header()->biWidth, 2 * first.header()->biWidth, 1);

    // A value between the device's steps is rounded by the device, with a note.
    const CliResult rounded =
        RunCliCapturing({"scan", low, "--mode", "Color", "--resolution", "25.4"});
    EXPECT_EQ(rounded.status, 0);
    EXPECT_EQ(rounded.err, "halvera-cli: the scanner set resolution to 25 instead of 25.4\n");
}

TEST_F(ScanCommands, UnknownOptionsAndRefusedValuesAreClearErrors) {
    useBackends({"pnm", "test"});
    const std::string output = folder.file("scan.bmp");
    const CliResult unknown =
        RunCliCapturing({"scan", output, "--source", "pnm:0", "--option", "colour=yes"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("halvera-cli: the scanner pnm:0 has no option colour (it has: "),
              std::string::npos)
        << unknown.err;
    EXPECT_NE(unknown.err.find("filename"), std::string::npos) << "the options are listed";

    const CliResult noMode =
        RunCliCapturing({"scan", output, "--source", "pnm:0", "--mode", "Color"});
    EXPECT_EQ(noMode.status, 1);
    EXPECT_NE(noMode.err.find("has no option mode"), std::string::npos) << noMode.err;

    const CliResult badMode =
        RunCliCapturing({"scan", output, "--source", "test:0", "--mode", "Colour"});
    EXPECT_EQ(badMode.status, 1);
    EXPECT_EQ(badMode.err, "halvera-cli: the option mode takes one of Gray, Color, not 'Colour'\n");

    // Three-pass scanning is a colour setting.
    const CliResult refused = RunCliCapturing(
        {"scan", output, "--source", "test:0", "--mode", "Gray", "--option", "three-pass=yes"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "halvera-cli: the option three-pass is not in use with the other settings\n");

    const CliResult badNumber =
        RunCliCapturing({"scan", output, "--source", "test:0", "--resolution", "high"});
    EXPECT_EQ(badNumber.status, 1);
    EXPECT_NE(badNumber.err.find("takes a number"), std::string::npos) << badNumber.err;
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(ScanCommands, AFailedScanSaysTheScannersReason) {
    useBackends({"pnm"});
    const std::string picture = writePattern(10, 10);
    const std::string output = folder.file("scan.bmp");
    const CliResult ioError = RunCliCapturing(
        {"scan", output, "--option", "filename=" + picture, "--option", "status-ioerror=yes"});
    EXPECT_EQ(ioError.status, 1);
    EXPECT_EQ(ioError.err,
              "The scan failed: the scanner stopped sending: Error during device I/O.\n");

    const CliResult missingInput =
        RunCliCapturing({"scan", output, "--option", "filename=" + folder.file("gone.ppm")});
    EXPECT_EQ(missingInput.status, 1);
    EXPECT_EQ(missingInput.err, "The scan failed: the scanner did not start: Invalid argument.\n");
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(ScanCommands, AScannerThatStartsInGreyScansInColour) {
    useBackends({"test"});
    const std::string output = folder.file("scan.bmp");
    // A grey scan would be refused ("Please scan 24 bits image").
    const CliResult result = RunCliCapturing({"scan", output, "--resolution", "25"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(std::filesystem::exists(output));

    // Asked for grey, it scans grey, which the image refuses.
    const CliResult grey = RunCliCapturing({"scan", output, "--mode", "Gray"});
    EXPECT_EQ(grey.status, 1);
    EXPECT_EQ(grey.err, "Please scan 24 bits image\n");
}

TEST_F(ScanCommands, WithoutADeviceBothCommandsSaySoAndADeviceThatDoesNotOpenSaysWhy) {
    useBackends({});
    const CliResult list = RunCliCapturing({"scanners"});
    EXPECT_EQ(list.status, 1);
    EXPECT_EQ(list.out, "");
    EXPECT_EQ(list.err, "No scanner was found.\n");
    const CliResult scan = RunCliCapturing({"scan", folder.file("scan.bmp")});
    EXPECT_EQ(scan.status, 1);
    EXPECT_EQ(scan.err, "No scanner was found.\n");

    useBackends({"pnm"});
    const CliResult unknownDevice =
        RunCliCapturing({"scan", folder.file("scan.bmp"), "--source", "pnm:7"});
    EXPECT_EQ(unknownDevice.status, 1);
    EXPECT_EQ(unknownDevice.err, "The scanner pnm:7 could not be opened: Invalid argument.\n");
}

TEST_F(ScanCommands, WrongUseExits2BeforeAnyScannerIsOpened) {
    useBackends({}); // a scan that went ahead would say there is no scanner
    const std::vector<std::vector<std::string>> wrong = {
        {"scan"},
        {"scan", "a.bmp", "b.bmp"},
        {"scan", "scan.gif"},
        {"scan", "scan.bmp", "--option", "filename"},
        {"scan", "scan.bmp", "--option", "=x"},
        {"scan", "scan.bmp", "--mode"},
        {"scan", "scan.bmp", "--source", "a", "--source", "b"},
        {"scan", "scan.bmp", "--quality", "101"},
        {"scan", "scan.bmp", "--mask", "m.bmp"},
        {"scanners", "extra"},
    };
    for (const auto& words : wrong) {
        const CliResult result = RunCliCapturing(words);
        EXPECT_EQ(result.status, 2) << words.back();
        EXPECT_NE(result.err.find("usage: halvera-cli"), std::string::npos) << words.back();
        EXPECT_EQ(result.err.find("No scanner was found."), std::string::npos);
    }
}

TEST_F(ScanCommands, UsageNamesTheScannerCommands) {
    const CliResult help = RunCliCapturing({"--help"});
    EXPECT_NE(help.out.find("halvera-cli scanners\n"), std::string::npos);
    EXPECT_NE(help.out.find("halvera-cli scan OUT [--source NAME] [--resolution DPI] "
                            "[--mode Color|Gray] [--option NAME=VALUE ...] [--quality Q] "
                            "[--force]\n"),
              std::string::npos);
}

} // namespace
} // namespace halvera
