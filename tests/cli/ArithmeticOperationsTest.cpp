// Runs the arithmetic and shade-correction operations of `halvera-cli apply`
// as a user would and checks the files written.
#include "CliPictures.h"
#include "CliRunner.h"
#include "ImageFileTestSupport.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace halvera {
namespace {

using testing::Bmp24;
using testing::Bytes;
using testing::Pixel;
using testing::PixelOf;
using testing::RunCli;
using testing::Stride24;
using testing::TemporaryFolder;

// Every pixel of a written width x height file.
void ExpectPixels(const std::string& path, int width, int height,
                  const std::function<Pixel(int x, int y)>& expected) {
    const Bytes file = testing::ReadFileBytes(path);
    ASSERT_EQ(file.size(), 54 + Stride24(width) * height) << path;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            EXPECT_EQ(PixelOf(file, width, height, x, y), expected(x, y)) << x << "," << y;
}

Pixel Gradient(int x, int y) {
    return {uint8_t(20 * x + 1), uint8_t(30 * y), 200};
}

TEST(CliArithmetic, AddsASecondImageAtHalfTransparency) {
    TemporaryFolder folder;
    const std::string a = folder.file("a.bmp"), b = folder.file("b.bmp");
    const std::string out = folder.file("out.bmp");
    testing::WriteFileBytes(a, Bmp24(5, 4, Gradient));
    testing::WriteFileBytes(b, Bmp24(3, 2, [](int, int) { return Pixel{101, 50, 0}; }));
    ASSERT_EQ(RunCli({"apply", a, out, "arithmetic", "op=0", "with=" + b, "out-channel=0",
                      "in-channel=0", "transparency=50", "roi=0"}),
              0);
    // Only the 3 x 2 overlap changes: (a + b) div 2.
    ExpectPixels(out, 5, 4, [](int x, int y) {
        const Pixel a = Gradient(x, y);
        if (x >= 3 || y >= 2)
            return a;
        return Pixel{uint8_t((a[0] + 101) / 2), uint8_t((a[1] + 50) / 2), 100};
    });
}

TEST(CliArithmetic, WithoutASecondImageTheImageMeetsItsOwnCopyShifted) {
    TemporaryFolder folder;
    const std::string a = folder.file("a.bmp"), out = folder.file("out.bmp");
    testing::WriteFileBytes(a, Bmp24(5, 4, Gradient));
    // Sub of the image and itself moved one pixel right: |a(x) - a(x - 1)| = 20
    // in blue; column 0 has no partner and stays.
    ASSERT_EQ(RunCli({"apply", a, out, "arithmetic", "op=12", "out-channel=0", "in-channel=0",
                      "transparency=100", "roi=0", "xshift=1"}),
              0);
    ExpectPixels(out, 5, 4, [](int x, int y) { return x == 0 ? Gradient(x, y) : Pixel{20, 0, 0}; });
}

TEST(CliArithmetic, RefusesBadArgumentsAndUnreadableInputs) {
    TemporaryFolder folder;
    const std::string a = folder.file("a.bmp"), out = folder.file("out.bmp");
    testing::WriteFileBytes(a, Bmp24(2, 2, Gradient));
    const std::vector<std::string> base = {"apply", a, out, "arithmetic"};
    auto run = [&](std::vector<std::string> extra) {
        std::vector<std::string> words = base;
        words.insert(words.end(), extra.begin(), extra.end());
        return RunCli(words);
    };
    EXPECT_EQ(run({"op=15", "out-channel=0", "in-channel=0", "transparency=100", "roi=0"}), 2);
    EXPECT_EQ(run({"op=0", "out-channel=4", "in-channel=0", "transparency=100", "roi=0"}), 2);
    EXPECT_EQ(
        run({"op=0", "out-channel=0", "in-channel=0", "transparency=100", "roi=0", "xshift=1025"}),
        2);
    EXPECT_EQ(run({"op=0", "out-channel=0", "in-channel=0", "transparency=100", "roi=0",
                   "with=" + folder.file("missing.bmp")}),
              1);
    EXPECT_TRUE(folder.entries() == std::vector<std::string>{"a.bmp"});
}

TEST(CliShadeCorrection, AutomaticCorrectionsTurnUniformGreyWhite) {
    TemporaryFolder folder;
    const std::string in = folder.file("grey.bmp");
    testing::WriteFileBytes(in, Bmp24(12, 9, [](int, int) { return Pixel{80, 80, 80}; }));
    for (const std::string operation : {"shade-morph7", "shade-morph9", "shade-polynomial"}) {
        const std::string out = folder.file(operation + ".bmp");
        // The polynomial fit needs at least 64 x 64 pixels.
        const int expected = operation == "shade-polynomial" ? 1 : 0;
        ASSERT_EQ(RunCli({"apply", in, out, operation}), expected) << operation;
        if (expected == 0)
            ExpectPixels(out, 12, 9, [](int, int) { return Pixel{255, 255, 255}; });
    }
    EXPECT_EQ(folder.entries().size(), 3u); // no output where the fit failed

    const std::string large = folder.file("large.bmp");
    testing::WriteFileBytes(large, Bmp24(64, 64, [](int, int) { return Pixel{80, 80, 80}; }));
    ASSERT_EQ(RunCli({"apply", large, folder.file("fit.bmp"), "shade-polynomial"}), 0);
    ExpectPixels(folder.file("fit.bmp"), 64, 64, [](int, int) { return Pixel{255, 255, 255}; });
}

TEST(CliReference, MakeAndDivideByAReference) {
    TemporaryFolder folder;
    const std::string field = folder.file("field.bmp"), ref = folder.file("field.ref");
    testing::WriteFileBytes(field, Bmp24(5, 4, [](int x, int y) {
                                return Pixel{uint8_t(100 + x), uint8_t(y == 0 ? 0 : 50), 200};
                            }));
    ASSERT_EQ(RunCli({"apply", field, ref, "make-reference"}), 0);
    const Bytes written = testing::ReadFileBytes(ref);
    ASSERT_GE(written.size(), 2u);
    EXPECT_EQ(written[0], '=');
    EXPECT_EQ(written[1], '=');
    EXPECT_EQ(RunCli({"apply", field, folder.file("field2.bmp"), "make-reference"}), 2);

    // The field divided by itself at level 128: 128, or 255 where it is 0.
    const std::string out = folder.file("out.bmp");
    ASSERT_EQ(
        RunCli({"apply", field, out, "reference-divide", "reference=" + ref, "level=128", "roi=0"}),
        0);
    ExpectPixels(out, 5, 4, [](int, int y) {
        return Pixel{128, uint8_t(y == 0 ? 255 : 128), 128};
    });

    // A reference of another size, or a plain BMP file, is refused.
    const std::string other = folder.file("other.bmp"), otherRef = folder.file("other.ref");
    testing::WriteFileBytes(other, Bmp24(4, 5, Gradient));
    ASSERT_EQ(RunCli({"apply", other, otherRef, "make-reference"}), 0);
    EXPECT_EQ(RunCli({"apply", field, folder.file("x.bmp"), "reference-divide",
                      "reference=" + otherRef, "level=128", "roi=0"}),
              1);
    EXPECT_EQ(RunCli({"apply", field, folder.file("y.bmp"), "reference-divide",
                      "reference=" + field, "level=128", "roi=0"}),
              1);
}

} // namespace
} // namespace halvera
