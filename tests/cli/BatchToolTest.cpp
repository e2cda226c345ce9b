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
    EXPECT_EQ(result.err, "Can not read the file!\nBMP files of 2 bits per pixel are not read.\n");
    EXPECT_EQ(result.out, "");
}

TEST_F(BatchTool, EveryRefusedFileSaysCanNotReadTheFileAndExits1) {
    const std::string good = WriteBmp24("good.bmp", 5, 2);
    Bytes bytes = testing::ReadFileBytes(good);

    std::vector<std::string> refused = {folder.file("missing.bmp")};
    Bytes shortByOne(bytes.begin(), bytes.end() - 1);
    testing::WriteFileBytes(refused.emplace_back(folder.file("short.bmp")), shortByOne);
    Bytes signature = bytes;
    signature[0] = '=';
    signature[1] = '=';
    testing::WriteFileBytes(refused.emplace_back(folder.file("signature.bmp")), signature);
    Bytes depth12 = bytes;
    depth12[14 + 14] = 12;
    testing::WriteFileBytes(refused.emplace_back(folder.file("depth12.bmp")), depth12);
    testing::WriteFileBytes(refused.emplace_back(folder.file("picture.png")), bytes);
    testing::WriteFileBytes(refused.emplace_back(folder.file("picture.jpeg")), bytes);

    for (const std::string& path : refused) {
        SCOPED_TRACE(path);
        const std::string output = folder.file("out.bmp");
        for (const auto& arguments :
             {std::vector<std::string>{"info", path},
              std::vector<std::string>{"convert", path, output},
              std::vector<std::string>{"apply", path, output, "none"},
              std::vector<std::string>{"apply", good, output, "none", "--mask", path}}) {
            const CliResult result = RunCliCapturing(arguments);
            EXPECT_EQ(result.status, 1) << arguments[0];
            EXPECT_EQ(result.err, "Can not read the file!\n") << arguments[0];
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

TEST_F(BatchTool, WrongUsageExits2WithTheUsageOfEveryOperation) {
    const std::string input = WriteBmp24("in.bmp", 5, 2);
    const std::string output = folder.file("out.bmp");
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"paint", input},
        {"info"},
        {"info", input, input},
        {"info", input, "--quality", "50"},
        {"convert", input},
        {"convert", input, folder.file("out.gif")},
        {"convert", input, output, "--quality", "101"},
        {"convert", input, output, "--quality", "-1"},
        {"convert", input, output, "--quality", "high"},
        {"convert", input, output, "--quality", "50", "--quality", "60"},
        {"convert", input, output, "--quality"},
        {"convert", input, output, "--mask", input},
        {"convert", input, output, "--colour", "red"},
        {"apply", input, output},
        {"apply", input, output, "sharpen"},
        {"apply", input, output, "none", "strength"},
        {"apply", input, output, "none", "strength=3"},
        {"apply", input, output, "none", "=3"},
        {"apply", input, folder.file("out.jpeg"), "none"},
    };
    for (const auto& arguments : wrong) {
        std::string line;
        for (const auto& word : arguments)
            line += word + " ";
        SCOPED_TRACE(line);
        const CliResult result = RunCliCapturing(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("halvera-cli: "), std::string::npos);
        EXPECT_NE(result.err.find("usage: halvera-cli info FILE"), std::string::npos);
        EXPECT_NE(result.err.find("\n       none\n"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(output));
    }
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
