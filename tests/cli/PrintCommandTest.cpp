// halvera-cli print and the graph operations, through the real binary.
#include "CliPictures.h"
#include "CliRunner.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace halvera::testing {
namespace {

const Pixel kRed{0, 0, 255};

// A page as pdftoppm renders it: red, green, blue per pixel, rows from the top.
struct Rendering {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    bool isNull() const { return rgb.empty(); }
};

// Reads a binary PPM (P6, maximum 255) as pdftoppm writes it.
Rendering ReadPpm(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    Rendering page;
    file >> magic >> page.width >> page.height >> maximum;
    file.get();
    if (magic != "P6" || maximum != 255 || page.width <= 0 || page.height <= 0)
        return {};
    page.rgb.resize(static_cast<size_t>(page.width) * page.height * 3);
    file.read(reinterpret_cast<char*>(page.rgb.data()),
              static_cast<std::streamsize>(page.rgb.size()));
    if (!file)
        return {};
    return page;
}

// The bounding box of the pure red pixels: left, top, right and bottom
// (exclusive); all -1 when there are none.
struct Area {
    int left = -1, top = -1, right = -1, bottom = -1;
};

Area RedArea(const Rendering& page) {
    Area area;
    for (int y = 0; y < page.height; ++y)
        for (int x = 0; x < page.width; ++x) {
            const uint8_t* c = page.rgb.data() + (static_cast<size_t>(y) * page.width + x) * 3;
            if (c[0] < 200 || c[1] > 60 || c[2] > 60)
                continue;
            if (area.left < 0) {
                area = {x, y, x + 1, y + 1};
                continue;
            }
            area.left = std::min(area.left, x);
            area.top = std::min(area.top, y);
            area.right = std::max(area.right, x + 1);
            area.bottom = std::max(area.bottom, y + 1);
        }
    return area;
}

class PrintCommand : public ::testing::Test {
protected:
    PrintCommand() : input(folder.file("in.bmp")), pdf(folder.file("page.pdf")) {
        WriteBmp24(input, 300, 150, [](int, int) { return kRed; });
    }

    // The page rendered at `dpi` by pdftoppm.
    Rendering Render(int dpi) {
        const std::string base = folder.file("page");
        const std::string command =
            "pdftoppm -singlefile -r " + std::to_string(dpi) + " '" + pdf + "' '" + base + "'";
        if (std::system(command.c_str()) != 0)
            return {};
        return ReadPpm(base + ".ppm");
    }

    TemporaryFolder folder;
    std::string input;
    std::string pdf;
};

TEST_F(PrintCommand, RatioThenCentrePrintsTheFieldsAndPlacesTheImageWithinAPixel) {
    const CliResult result =
        RunCliCapturing({"print", input, pdf, "--calibration", "1,10,10,100,100", "--ratio", "2:1",
                         "--center", "--title", "Slide (4)"});
    ASSERT_EQ(result.status, 0) << result.err;
    // 600 x 861 units of paper; 180 x 90 units centred at (210, 385).
    EXPECT_EQ(result.out, "start-x=70.000 start-y=128.333 width=60.000 height=30.000\n");

    constexpr int kDpi = 100;
    const Rendering page = Render(kDpi);
    ASSERT_FALSE(page.isNull());
    // A4: the 200 x 287 mm printable area and a 5 mm margin all round.
    EXPECT_NEAR(page.width, 210 / 25.4 * kDpi, 1.0);
    EXPECT_NEAR(page.height, 297 / 25.4 * kDpi, 1.0);
    // Each edge within a pixel (a partly covered pixel renders red).
    const Area red = RedArea(page);
    const double perMm = kDpi / 25.4;
    EXPECT_NEAR(red.left, 75.0 * perMm, 1.0);
    EXPECT_NEAR(red.top, (5.0 + 385 / 3.0) * perMm, 1.0);
    EXPECT_NEAR(red.right, 135.0 * perMm, 1.0);
    EXPECT_NEAR(red.bottom, (5.0 + 475 / 3.0) * perMm, 1.0);

    const std::string text = folder.file("page.txt");
    ASSERT_EQ(std::system(("pdftotext '" + pdf + "' '" + text + "'").c_str()), 0);
    const Bytes words = ReadFileBytes(text);
    EXPECT_NE(std::string(words.begin(), words.end()).find("Slide (4)"), std::string::npos);
}

// A picture at the paper's top moves down by the title's line, 23 units, so
// the title stands above it instead of over it.
TEST_F(PrintCommand, ATitleStandsAboveThePicture) {
    const CliResult result =
        RunCliCapturing({"print", input, pdf, "--calibration", "1,10,10,100,100", "--ratio", "2:1",
                         "--title", "Slide"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "start-x=0.000 start-y=7.667 width=60.000 height=30.000\n");

    constexpr int kDpi = 100;
    const Rendering page = Render(kDpi);
    ASSERT_FALSE(page.isNull());
    const Area red = RedArea(page);
    EXPECT_NEAR(red.top, (5.0 + 23 / 3.0) * kDpi / 25.4, 1.0);
    // The title's word box, in points from the page's top, ends above the picture.
    const std::string boxes = folder.file("boxes.html");
    ASSERT_EQ(std::system(("pdftotext -bbox '" + pdf + "' '" + boxes + "'").c_str()), 0);
    const Bytes html = ReadFileBytes(boxes);
    const std::string text(html.begin(), html.end());
    const size_t word = text.find(">Slide</word>");
    ASSERT_NE(word, std::string::npos) << text;
    const size_t yMax = text.rfind("yMax=\"", word);
    ASSERT_NE(yMax, std::string::npos);
    const double bottom = std::stod(text.substr(yMax + 6)) * kDpi / 72.0;
    EXPECT_GT(bottom, 0.0);
    EXPECT_LE(bottom, red.top + 1.0);
}

TEST_F(PrintCommand, DefaultLayoutFitAndPaper) {
    CliResult result = RunCliCapturing({"print", input, pdf});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "start-x=0.000 start-y=0.000 width=33.333 height=16.667\n");

    // The default calibration at 1:1: 0.3 mm, truncated to no width at all.
    result = RunCliCapturing({"print", input, pdf, "--ratio", "1:1"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "start-x=0.000 start-y=0.000 width=0.000 height=0.000\n");

    result = RunCliCapturing({"print", input, pdf, "--fit", "--paper", "100,200"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "start-x=0.000 start-y=75.000 width=100.000 height=50.000\n");
    const Rendering page = Render(50);
    EXPECT_NEAR(page.width, 110 / 25.4 * 50, 1.0);
    // The ending is read without case.
    EXPECT_EQ(RunCli({"print", input, folder.file("Page.Pdf")}), 0);
    EXPECT_TRUE(std::filesystem::exists(folder.file("Page.Pdf")));
}

TEST_F(PrintCommand, ARatioTooLargeWritesNothing) {
    const CliResult result = RunCliCapturing(
        {"print", input, pdf, "--calibration", "1,10,10,100,100", "--ratio", "10:1"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("Print image size is larger than the paper!"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(PrintCommand, WrongUseIsAUsageError) {
    EXPECT_EQ(RunCli({"print", input, pdf, "--ratio", "2.0:1"}), 2);
    EXPECT_EQ(RunCli({"print", input, pdf, "--ratio", "2:1", "--fit"}), 2);
    EXPECT_EQ(RunCli({"print", input, folder.file("page.bmp")}), 2);
    EXPECT_EQ(RunCli({"print", input, pdf, "--paper", "200"}), 2);
    EXPECT_EQ(RunCli({"print", input}), 2);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(PrintCommand, AnUnwritablePageCannotPrint) {
    const CliResult result = RunCliCapturing({"print", input, folder.file("missing/page.pdf")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("Cannot print!"), std::string::npos);
}

class GraphOperations : public ::testing::Test {
protected:
    GraphOperations() : input(folder.file("in.bmp")), output(folder.file("out.bmp")) {
        WriteBmp24(input, 120, 90, [](int x, int y) {
            return Pixel{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 100};
        });
    }
    Pixel At(int x, int y) { return PixelOf(ReadFileBytes(output), 120, 90, x, y); }

    TemporaryFolder folder;
    std::string input;
    std::string output;
};

TEST_F(GraphOperations, MergeDrawsTheItemsIntoTheImage) {
    ASSERT_EQ(RunCli({"apply", input, output, "merge-measurements",
                      "items=line:10,40,100,40;point:60,70"}),
              0);
    EXPECT_EQ(At(50, 40), (Pixel{0, 255, 0}));   // the line, green
    EXPECT_EQ(At(60, 70), (Pixel{0, 0, 255}));   // the point's cross, red
    EXPECT_EQ(At(50, 80), (Pixel{50, 80, 100})); // untouched
}

TEST_F(GraphOperations, BuildGraphDrawsOnWhiteWithItsLabels) {
    ASSERT_EQ(RunCli({"apply", input, output, "build-graph", "items=line:10,40,100,40",
                      "--calibration", "1,10,10,100,100"}),
              0);
    EXPECT_EQ(At(0, 0), (Pixel{255, 255, 255}));
    EXPECT_EQ(At(50, 40), (Pixel{0, 255, 0}));
    // The label "(9.000)" in yellow, above the middle of the line.
    bool yellow = false;
    for (int y = 20; y < 40 && !yellow; ++y)
        for (int x = 50; x < 110 && !yellow; ++x)
            yellow = At(x, y) == Pixel{0, 255, 255};
    EXPECT_TRUE(yellow);
}

TEST_F(GraphOperations, MalformedItemsAreAUsageError) {
    EXPECT_EQ(RunCli({"apply", input, output, "build-graph", "items=line:10,40"}), 2);
    EXPECT_EQ(RunCli({"apply", input, output, "build-graph", "items="}), 2);
    EXPECT_FALSE(std::filesystem::exists(output));
}

} // namespace
} // namespace halvera::testing
