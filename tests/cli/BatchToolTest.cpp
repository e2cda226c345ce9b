// Runs the real halvera-cli binary and checks its files, output and exit status.
#include "CliRunner.h"
#include "ImageFileTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bytes;
using testing::CliResult;
using testing::RunCliCapturing;
using testing::TemporaryFolder;

// Bottom-up 24-bit rows whose pixel (x, y) is colour(x, y); padding bytes are 0xA5.
Bytes ColourRows(int width, int height, const std::function<RgbQuad(int x, int y)>& colour) {
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    Bytes rows(stride * height, 0xA5);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = rows.data() + stride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const RgbQuad c = colour(x, y);
            row[3 * x] = c.blue;
            row[3 * x + 1] = c.green;
            row[3 * x + 2] = c.red;
        }
    }
    return rows;
}

Bytes Bmp24(int width, int height, const Bytes& rows) {
    return testing::ImageFileBytes(
        testing::PackedDibBytes(testing::PictureHeader(width, height, 24), {}, rows), 0);
}

RgbQuad Pattern(int x, int y) {
    return RgbQuad{uint8_t(x * 2), uint8_t(y * 50), uint8_t(x + y), 0};
}

class BatchTool : public ::testing::Test {
protected:
    std::string WriteBmp24(const std::string& name, int width, int height) {
        const std::string path = folder.file(name);
        testing::WriteFileBytes(path, Bmp24(width, height, ColourRows(width, height, Pattern)));
        return path;
    }

    TemporaryFolder folder;
};

TEST_F(BatchTool, ConvertRoundTripsA24BitBmpByteIdenticalInItsPixelRows) {
    const Bytes rows = ColourRows(101, 4, Pattern);
    const std::string input = folder.file("in.bmp");
    testing::WriteFileBytes(input, Bmp24(101, 4, rows));
    const std::string output = folder.file("out.BMP");

    const CliResult result = RunCliCapturing({"convert", input, output});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const Bytes written = testing::ReadFileBytes(output);
    ASSERT_EQ(written.size(), 54 + rows.size());
    EXPECT_EQ(testing::Little32At(written, 10), 54u);
    EXPECT_TRUE(std::equal(rows.begin(), rows.end(), written.begin() + 54)) << "padding included";
}

TEST_F(BatchTool, ConvertWritesJpegAtTheQualityGiven) {
    const std::string input = WriteBmp24("in.bmp", 101, 40);
    const std::string low = folder.file("low.jpg");
    const std::string high = folder.file("high.JPG");
    ASSERT_EQ(RunCliCapturing({"convert", input, low, "--quality", "5"}).status, 0);
    ASSERT_EQ(RunCliCapturing({"convert", "--quality", "100", input, high}).status, 0);
    EXPECT_LT(std::filesystem::file_size(low), std::filesystem::file_size(high));

    const CliResult info = RunCliCapturing({"info", low});
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.out, "width=101 height=40 depth=24\n");
}

TEST_F(BatchTool, InfoReportsTheDepthAsRead) {
    for (const int depth : {1, 4, 8, 24}) {
        SCOPED_TRACE(depth);
        const std::string path = folder.file("depth" + std::to_string(depth) + ".bmp");
        if (depth == 24) {
            WriteBmp24("depth24.bmp", 9, 3);
        } else {
            const std::vector<RgbQuad> palette(size_t{1} << depth);
            const Bytes rows =
                testing::PackIndexedRows(9, 3, depth, [](int x, int) { return x % 2; });
            testing::WriteFileBytes(
                path,
                testing::ImageFileBytes(
                    testing::PackedDibBytes(testing::PictureHeader(9, 3, depth), palette, rows),
                    palette.size()));
        }
        const CliResult result = RunCliCapturing({"info", path});
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, "width=9 height=3 depth=" + std::to_string(depth) + "\n");
    }
}

TEST_F(BatchTool, ReadsSixteenBitFilesAndNamesTheKindsItDoesNotRead) {
    // 2 x 1 at 16 bits, 5-5-5: red 16 of 31, then white.
    const std::string sixteen = folder.file("sixteen.bmp");
    testing::WriteFileBytes(
        sixteen, testing::ImageFileBytes(testing::PackedDibBytes(testing::PictureHeader(2, 1, 16),
                                                                 {}, {0x00, 0x40, 0xFF, 0x7F}),
                                         0));
    CliResult result = RunCliCapturing({"info", sixteen});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "width=2 height=1 depth=24\n");
    const std::string output = folder.file("out.bmp");
    ASSERT_EQ(RunCliCapturing({"convert", sixteen, output}).status, 0);
    const Bytes written = testing::ReadFileBytes(output);
    ASSERT_EQ(written.size(), 54u + 8);
    // round(16 * 255 / 31) = 132; 31 is 255.
    EXPECT_EQ(Bytes(written.begin() + 54, written.begin() + 60), (Bytes{0, 0, 132, 255, 255, 255}));

    const std::string twoBit = folder.file("two-bit.bmp");
    testing::WriteFileBytes(
        twoBit,
        testing::ImageFileBytes(testing::PackedDibBytes(testing::PictureHeader(4, 1, 2),
                                                        std::vector<RgbQuad>(4), Bytes(4, 0)),
                                4));
    result = RunCliCapturing({"info", twoBit});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "Can not read the file!\n" + twoBit + ": unsupported variant: 2 bits per pixel\n");
    EXPECT_EQ(result.out, "");
}

// The message names the file and says what is wrong with it.
TEST_F(BatchTool, EveryRefusedFileSaysCanNotReadTheFileWithTheFileAndTheReasonAndExits1) {
    const std::string good = WriteBmp24("good.bmp", 5, 2);
    Bytes bytes = testing::ReadFileBytes(good);

    std::vector<std::pair<std::string, std::string>> refused = {
        {folder.file("missing.bmp"), "there is no such file"},
        {folder.file("short.bmp"), "the file is cut short"},
        {folder.file("signature.bmp"), "not a BMP picture"},
        {folder.file("depth12.bmp"), "the picture data are damaged"},
        {folder.file("picture.png"), "not a PNG picture"},
        {folder.file("picture.jpeg"), "not a JPEG picture"},
        {folder.file("picture.gif"),
         "its name ends in no picture type (.bmp, .jpg, .jpeg, .png, .tif or .tiff)"},
        {folder.file("folder.tif"), "not a file but a folder or device"},
    };
    testing::WriteFileBytes(refused[1].first, Bytes(bytes.begin(), bytes.end() - 1));
    Bytes signature = bytes;
    signature[0] = '=';
    signature[1] = '=';
    testing::WriteFileBytes(refused[2].first, signature);
    Bytes depth12 = bytes;
    depth12[14 + 14] = 12;
    testing::WriteFileBytes(refused[3].first, depth12);
    testing::WriteFileBytes(refused[4].first, bytes);
    testing::WriteFileBytes(refused[5].first, bytes);
    testing::WriteFileBytes(refused[6].first, bytes);
    std::filesystem::create_directory(refused[7].first);

    for (const auto& [path, reason] : refused) {
        SCOPED_TRACE(path);
        const std::string output = folder.file("out.bmp");
        for (const auto& arguments :
             {std::vector<std::string>{"info", path},
              std::vector<std::string>{"convert", path, output},
              std::vector<std::string>{"apply", path, output, "none"},
              std::vector<std::string>{"apply", good, output, "none", "--mask", path}}) {
            const CliResult result = RunCliCapturing(arguments);
            EXPECT_EQ(result.status, 1) << arguments[0];
            EXPECT_EQ(result.err, "Can not read the file!\n" + path + ": " + reason + "\n")
                << arguments[0];
            EXPECT_EQ(result.out, "");
            EXPECT_FALSE(std::filesystem::exists(output)) << arguments[0];
        }
    }
}

TEST_F(BatchTool, UnwritableOutputSaysCannotsaveTheFile) {
    const std::string input = WriteBmp24("in.bmp", 5, 2);
    const CliResult result =
        RunCliCapturing({"convert", input, folder.file("no/such/folder/out.bmp")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Cannotsave the file!\n");
}

// A usage error prints the usage of the command given, not the whole help.
TEST_F(BatchTool, WrongUsageExits2WithTheUsageOfThatCommandOnly) {
    const std::string input = WriteBmp24("in.bmp", 5, 2);
    const std::string output = folder.file("out.bmp");
    const std::string commands = "usage: halvera-cli COMMAND ...\n";
    const std::string info = "usage: halvera-cli info FILE\n";
    const std::string convert = "usage: halvera-cli convert IN OUT [--quality Q]\n";
    const std::string apply = "usage: halvera-cli apply IN OUT OP [NAME=VALUE ...]";
    const std::vector<std::pair<std::vector<std::string>, std::string>> wrong = {
        {{}, commands},
        {{"paint", input}, commands},
        {{"info"}, info},
        {{"info", input, input}, info},
        {{"info", input, "--quality", "50"}, info},
        {{"convert", input}, convert},
        {{"convert", input, folder.file("out.gif")}, convert},
        {{"convert", input, output, "--quality", "101"}, convert},
        {{"convert", input, output, "--quality", "-1"}, convert},
        {{"convert", input, output, "--quality", "high"}, convert},
        {{"convert", input, output, "--quality", "50", "--quality", "60"}, convert},
        {{"convert", input, output, "--quality"}, convert},
        {{"convert", input, output, "--mask", input}, convert},
        {{"convert", input, output, "--colour", "red"}, convert},
        {{"apply", input, output}, apply},
        {{"apply", input, output, "sharpen"}, apply},
        {{"apply", input, output, "none", "strength"}, apply},
        {{"apply", input, output, "none", "strength=3"}, apply},
        {{"apply", input, output, "none", "=3"}, apply},
        {{"apply", input, folder.file("out.gif"), "none"}, apply},
    };
    for (const auto& [arguments, usage] : wrong) {
        std::string line;
        for (const auto& word : arguments)
            line += word + " ";
        SCOPED_TRACE(line);
        const CliResult result = RunCliCapturing(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_TRUE(result.err.starts_with("halvera-cli: ")) << result.err;
        const size_t usageAt = result.err.find("\nusage: ");
        ASSERT_NE(usageAt, std::string::npos) << result.err;
        EXPECT_EQ(result.err.substr(usageAt + 1, usage.size()), usage) << result.err;
        // One command's usage: no other command and no list of every
        // operation's words.
        for (const std::string other : {"halvera-cli measure", "halvera-cli print IN",
                                        "halvera-cli snap", "\n       invert\n"})
            EXPECT_EQ(result.err.find(other), std::string::npos) << other << " in " << result.err;
        EXPECT_FALSE(std::filesystem::exists(output));
    }
}

// apply's usage names the operation's own words when the operation is known,
// and every operation's name when it is not.
TEST_F(BatchTool, ApplyUsageErrorsShowTheOperationsWords) {
    const std::string input = WriteBmp24("in.bmp", 5, 2);
    const std::string output = folder.file("out.bmp");
    CliResult result =
        RunCliCapturing({"apply", input, output, "brightness-contrast", "brightness=500"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("OP here: brightness-contrast [brightness=B] [contrast=C]\n"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(result.err.find("hue-saturation"), std::string::npos) << result.err;

    result = RunCliCapturing({"apply", input, output, "sharpen"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("unknown operation 'sharpen'"), std::string::npos);
    for (const std::string name : {" none", " invert", " brightness-contrast", " build-graph"})
        EXPECT_NE(result.err.find(name), std::string::npos) << name << " in " << result.err;
    EXPECT_EQ(result.err.find("brightness=B"), std::string::npos) << result.err;
}

// An option the command does not know is unknown, wherever it stands, even
// as the last word; the message names the options the command has.
TEST_F(BatchTool, AnUnknownOptionIsRefusedAsUnknownNamingTheCommandsOwnOptions) {
    const std::string input = WriteBmp24("in.bmp", 5, 2);
    const std::string output = folder.file("out.bmp");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"convert", input, output, "--bogus"},
         "unknown option --bogus; convert takes --quality, --calibration, --preset, "
         "--calibration-from-image and --force"},
        {{"convert", "--bogus", input, output},
         "unknown option --bogus; convert takes --quality, --calibration, --preset, "
         "--calibration-from-image and --force"},
        {{"info", input, "--bogus"}, "unknown option --bogus; info takes no options"},
        {{"apply", input, output, "none", "--bogus"},
         "unknown option --bogus; apply takes --mask, --mask-out, --quality, --calibration, "
         "--preset, --calibration-from-image and --force"},
        {{"print", input, folder.file("out.pdf"), "--bogus"},
         "unknown option --bogus; print takes --calibration, --preset, "
         "--calibration-from-image, --ratio, --fit, --center, --title and --paper"},
        {{"measure", "point:1,1", "--bogus"},
         "unknown option --bogus; measure takes --image, --snap, --calibration-from-image, "
         "--calibration, --preset"},
        {{"calibrate", input, "--spacing", "10", "--bogus"},
         "unknown option --bogus; calibrate takes --spacing, --unit, --axis and --save-cal"},
        {{"snap", output, "--bogus"},
         "unknown option --bogus; snap takes --source, --quality and --force"},
        {{"record", folder.file("out.avi"), "--bogus"},
         "unknown option --bogus; record takes --time, --rate and --source"},
        {{"video-frame", input, "0", output, "--bogus"},
         "unknown option --bogus; video-frame takes --quality and --force"},
        {{"video-sources", "--bogus"}, "unknown option --bogus; video-sources takes no options"},
        {{"scan", output, "--bogus"},
         "unknown option --bogus; scan takes --source, --resolution, --mode, --option, "
         "--quality and --force"},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(message);
        const CliResult result = RunCliCapturing(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_TRUE(result.err.starts_with("halvera-cli: " + message)) << result.err;
        EXPECT_EQ(result.err.find("needs a value"), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists(output));
    }
    // A known option that stands last still needs its value.
    const CliResult last = RunCliCapturing({"convert", input, output, "--quality"});
    EXPECT_EQ(last.status, 2);
    EXPECT_TRUE(last.err.starts_with("halvera-cli: --quality needs a value\n")) << last.err;
}

// make-reference checks its output's name before the input is read.
TEST_F(BatchTool, AReferenceOutputNameIsCheckedBeforeAnyFileIsRead) {
    const CliResult result = RunCliCapturing(
        {"apply", folder.file("missing.bmp"), folder.file("out.bmp"), "make-reference"});
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(
        result.err.starts_with("halvera-cli: the output file of make-reference must end in .ref: "))
        << result.err;
    EXPECT_FALSE(std::filesystem::exists(folder.file("out.bmp")));
}

// The arguments are checked before the input is read: with a missing input a
// late check would first fail with "Can not read the file!" and exit 1.
TEST_F(BatchTool, WrongOperationArgumentsExit2BeforeAnyFileIsReadOrWritten) {
    const std::string missing = folder.file("missing.bmp");
    const std::string output = folder.file("out.bmp");
    const std::string maskOut = folder.file("mask.bmp");
    const std::vector<std::vector<std::string>> wrong = {
        {"invert", "strength=3"},
        {"brightness-contrast", "brightness=10", "sharpness=5"},
        {"brightness-contrast", "brightness=bright"},
        {"hue-saturation", "hue=181"},
        {"scale-rect", "source=3,0,2,1", "dest=0,0,4,1"},
        {"reference-divide", "level=5", "roi=0"},
    };
    for (const auto& operation : wrong) {
        std::vector<std::string> arguments = {"apply", missing, output};
        arguments.insert(arguments.end(), operation.begin(), operation.end());
        arguments.insert(arguments.end(), {"--mask", missing, "--mask-out", maskOut});
        SCOPED_TRACE(operation.back());
        const CliResult result = RunCliCapturing(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err.find("Can not read the file!"), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("usage: halvera-cli"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(output));
        EXPECT_FALSE(std::filesystem::exists(maskOut));
    }
}

TEST_F(BatchTool, HelpPrintsTheUsageAndSucceeds) {
    const CliResult result = RunCliCapturing({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("halvera-cli apply IN OUT OP"), std::string::npos);
    EXPECT_EQ(result.err, "");
}

TEST_F(BatchTool, ApplyNoneKeepsThePixelsAndWritesTheMaskAsAGreyBmp) {
    const std::string input = WriteBmp24("in.bmp", 6, 3);
    // The mask picture's blue byte is the mask byte; green and red do not count.
    const std::string mask = folder.file("mask.bmp");
    testing::WriteFileBytes(mask, Bmp24(6, 3, ColourRows(6, 3, [](int x, int y) {
                                            return RgbQuad{uint8_t(x < 2 ? 255 : y), 77, 200, 0};
                                        })));
    const std::string output = folder.file("out.bmp");
    const std::string maskOut = folder.file("mask-out.bmp");

    const CliResult result =
        RunCliCapturing({"apply", input, output, "none", "--mask", mask, "--mask-out", maskOut});
    ASSERT_EQ(result.status, 0) << result.err;

    const Bytes in = testing::ReadFileBytes(input);
    const Bytes out = testing::ReadFileBytes(output);
    ASSERT_EQ(out.size(), in.size());
    EXPECT_TRUE(std::equal(in.begin() + 54, in.end(), out.begin() + 54));

    const Bytes grey = testing::ReadFileBytes(maskOut);
    ASSERT_EQ(grey.size(), 14 + 40 + 1024 + 8 * 3u);
    EXPECT_EQ(testing::Little32At(grey, 10), 54u + 1024u);
    EXPECT_EQ(grey[14 + 14], 8) << "8 bits per pixel";
    EXPECT_EQ(grey[54 + 4 * 200], 200) << "grey palette";
    for (int y = 0; y < 3; ++y) {
        const uint8_t* row = grey.data() + 1078 + 8 * (2 - y);
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(row[x], x < 2 ? 255 : y) << x << "," << y;
    }
    EXPECT_EQ(RunCliCapturing({"info", maskOut}).out, "width=6 height=3 depth=8\n");
}

TEST_F(BatchTool, IndexedMaskIsReadThroughItsPalette) {
    const std::string input = WriteBmp24("in.bmp", 4, 2);
    std::vector<RgbQuad> palette(2);
    palette[0] = RgbQuad{255, 0, 0, 0}; // index 0 is selected: its blue is 255
    palette[1] = RgbQuad{0, 255, 255, 0};
    const Bytes rows = testing::PackIndexedRows(4, 2, 1, [](int x, int) { return x == 3; });
    const std::string mask = folder.file("mask.bmp");
    testing::WriteFileBytes(
        mask, testing::ImageFileBytes(
                  testing::PackedDibBytes(testing::PictureHeader(4, 2, 1), palette, rows), 2));
    const std::string maskOut = folder.file("mask-out.bmp");

    ASSERT_EQ(RunCliCapturing({"apply", input, folder.file("out.bmp"), "none", "--mask", mask,
                               "--mask-out", maskOut})
                  .status,
              0);
    const Bytes grey = testing::ReadFileBytes(maskOut);
    ASSERT_GE(grey.size(), 1078u + 4);
    EXPECT_EQ((Bytes{grey.begin() + 1078, grey.begin() + 1082}), (Bytes{255, 255, 255, 0}));
}

TEST_F(BatchTool, MaskOfAnotherSizeIsRefused) {
    const std::string input = WriteBmp24("in.bmp", 6, 3);
    const std::string mask = WriteBmp24("mask.bmp", 6, 4);
    const std::string output = folder.file("out.bmp");
    const CliResult result = RunCliCapturing({"apply", input, output, "none", "--mask", mask});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("6 x 4"), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(output));
}

} // namespace
} // namespace halvera
