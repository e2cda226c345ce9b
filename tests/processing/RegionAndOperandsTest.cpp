// Rules every operation shares: the region of interest, the working copy as
// the only source, row padding, and refusing operands that do not fit.
#include "ProcessingTestSupport.h"
#include "processing/ApplyBrightness.h"
#include "processing/ApplyColorBalance.h"
#include "processing/ApplyContrast.h"
#include "processing/ApplyHueSaturation.h"
#include "processing/EdgeDirectional.h"
#include "processing/EdgeKirsch.h"
#include "processing/EdgeLaplace.h"
#include "processing/EdgePrewitt.h"
#include "processing/EdgeRoberts.h"
#include "processing/EdgeSobel.h"
#include "processing/FilterAverage.h"
#include "processing/FilterLowPass.h"
#include "processing/FilterMedian.h"
#include "processing/GrayscaleImage.h"
#include "processing/InvertImage.h"

#include <cstring>
#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::PixelAt;

struct NamedOperation {
    const char* name;
    testing::ImageOperation run;
    bool inPlace; // works on the image alone, without a working copy
};

std::ostream& operator<<(std::ostream& out, const NamedOperation& op) {
    return out << op.name;
}

const NamedOperation kOperations[] = {
    {"Invert", [](auto& d, auto&, auto& m) { return InvertImage(d, m); }, true},
    {"Grayscale", [](auto& d, auto&, auto& m) { return GrayscaleImage(d, m); }, true},
    {"Brightness",
     [](auto& d, auto& s, auto& m) {
         BrightnessContrastTables tables;
         return ApplyBrightness(tables, d, s, m, 30);
     },
     false},
    {"Contrast",
     [](auto& d, auto& s, auto& m) {
         BrightnessContrastTables tables;
         return ApplyContrast(tables, d, s, m, 90, 40);
     },
     false},
    {"ColorBalance",
     [](auto& d, auto& s, auto& m) { return ApplyColorBalance(d, s, m, 40, -60, 9); }, false},
    {"HueSaturation",
     [](auto& d, auto& s, auto& m) { return ApplyHueSaturation(d, s, m, 100, 50, -20); }, false},
    {"LowPass", [](auto& d, auto& s, auto& m) { return FilterLowPass(d, s, m); }, false},
    {"Median", [](auto& d, auto& s, auto& m) { return FilterMedian(d, s, m); }, false},
    {"Average", [](auto& d, auto& s, auto& m) { return FilterAverage(d, s, m, 4); }, false},
    {"Roberts", [](auto& d, auto& s, auto& m) { return EdgeRoberts(d, s, m); }, false},
    {"Sobel", [](auto& d, auto& s, auto& m) { return EdgeSobel(d, s, m); }, false},
    {"Prewitt", [](auto& d, auto& s, auto& m) { return EdgePrewitt(d, s, m); }, false},
    {"Laplace", [](auto& d, auto& s, auto& m) { return EdgeLaplace(d, s, m); }, false},
    {"Kirsch", [](auto& d, auto& s, auto& m) { return EdgeKirsch(d, s, m); }, false},
    {"HorizontalEdge",
     [](auto& d, auto& s, auto& m) { return EdgeDirectional(d, s, m, kHorizontalEdgeKernel); },
     false},
    {"UpRightEdge",
     [](auto& d, auto& s, auto& m) { return EdgeDirectional(d, s, m, kUpRightEdgeKernel); }, false},
};

// Colourful, with edges everywhere, so every operation changes most pixels.
DibBlock Pattern(int width, int height) {
    return testing::MakeRgb(width, height, [](int x, int y) {
        return Bgr{uint8_t(37 * x + 11 * y), uint8_t(90 + 53 * (x ^ y)),
                   uint8_t(200 - 29 * y + 7 * x)};
    });
}

// Whatever the image held before (an earlier preview): unlike the working copy.
DibBlock EarlierPreview(int width, int height) {
    return testing::MakeRgb(width, height, [](int x, int y) {
        return Bgr{uint8_t(3 + x), uint8_t(250 - y), uint8_t(128)};
    });
}

class EveryOperation : public ::testing::TestWithParam<NamedOperation> {};

TEST_P(EveryOperation, ChangesThePatternWithoutARegion) {
    const DibBlock working = Pattern(6, 5);
    EXPECT_FALSE(
        testing::SamePixels(testing::RunOn(GetParam().run, working.dib()).dib(), working.dib()));
}

TEST_P(EveryOperation, ARegionOfBytesBelow255SelectsNothing) {
    const DibBlock working = Pattern(6, 5);
    const DibBlock weak =
        testing::MakeGrey(6, 5, [](int x, int y) { return uint8_t(1 + (x * 50 + y * 13) % 254); });
    const DibBlock result = testing::RunOn(GetParam().run, working.dib(), weak.dib());
    EXPECT_TRUE(testing::SamePixels(result.dib(), working.dib()));
}

TEST_P(EveryOperation, AnAllZeroMaskMeansNoRegion) {
    const DibBlock working = Pattern(6, 5);
    const DibBlock zeros = testing::MakeGrey(6, 5, [](int, int) { return uint8_t{0}; });
    EXPECT_TRUE(
        testing::SamePixels(testing::RunOn(GetParam().run, working.dib(), zeros.dib()).dib(),
                            testing::RunOn(GetParam().run, working.dib()).dib()));
}

TEST_P(EveryOperation, ASelectionProtectsUnselectedPixelsAndSelectedOnesReadTheWorkingCopy) {
    const NamedOperation& op = GetParam();
    const DibBlock working = Pattern(7, 6);
    const DibBlock whole = testing::RunOn(op.run, working.dib());
    const DibBlock mask =
        testing::MaskWhere(7, 6, [](int x, int y) { return x >= 2 && y >= 1 && x + y < 8; });
    DibBlock image = op.inPlace ? testing::CopyOf(working.dib()) : EarlierPreview(7, 6);
    const DibBlock before = testing::CopyOf(image.dib());
    ASSERT_TRUE(op.run(image.dib(), working.dib(), mask.dib()));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 7; ++x) {
            const bool selected = testing::ByteAt(mask.dib(), x, y) == 255;
            const Bgr expected = PixelAt(selected ? whole.dib() : before.dib(), x, y);
            EXPECT_EQ(PixelAt(image.dib(), x, y), expected) << x << "," << y;
        }
}

TEST_P(EveryOperation, NeverReadsOrWritesRowPadding) {
    // Widths 5 and 6 leave 1 and 2 padding bytes per 24-bit row; test images
    // fill them with 0xCD. Clearing them must not change any result.
    for (const int width : {5, 6, 1}) {
        const DibBlock padded = Pattern(width, 4);
        DibBlock cleared = testing::CopyOf(padded.dib());
        for (int y = 0; y < 4; ++y)
            std::memset(cleared.dib().row(y) + 3 * width, 0, cleared.dib().stride - 3 * width);
        const DibBlock fromPadded = testing::RunOn(GetParam().run, padded.dib());
        EXPECT_TRUE(testing::SamePixels(fromPadded.dib(),
                                        testing::RunOn(GetParam().run, cleared.dib()).dib()))
            << "width " << width;
        for (int y = 0; y < 4; ++y)
            for (int i = 3 * width; i < fromPadded.dib().stride; ++i)
                ASSERT_EQ(fromPadded.dib().row(y)[i], 0xCD) << "width " << width;
    }
}

TEST_P(EveryOperation, RefusesAMaskOrImageOfAnotherSizeWithoutTouchingAPixel) {
    const DibBlock working = Pattern(6, 5);
    DibBlock image = testing::CopyOf(working.dib());
    const DibBlock narrowMask = testing::MakeGrey(5, 5, [](int, int) { return uint8_t{255}; });
    EXPECT_FALSE(GetParam().run(image.dib(), working.dib(), narrowMask.dib()));
    const DibBlock rgbMask = Pattern(6, 5);
    EXPECT_FALSE(GetParam().run(image.dib(), working.dib(), rgbMask.dib()));
    EXPECT_TRUE(testing::SamePixels(image.dib(), working.dib()));
    if (!GetParam().inPlace) {
        const DibBlock shorter = Pattern(6, 4);
        EXPECT_FALSE(GetParam().run(image.dib(), shorter.dib(), CDibImage{}));
        EXPECT_TRUE(testing::SamePixels(image.dib(), working.dib()));
    }
}

INSTANTIATE_TEST_SUITE_P(ImageOperations, EveryOperation, ::testing::ValuesIn(kOperations),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NeighbourhoodOperations, RefuseToWorkInPlace) {
    const DibBlock working = Pattern(4, 4);
    DibBlock image = testing::CopyOf(working.dib());
    EXPECT_FALSE(FilterLowPass(image.dib(), image.dib(), CDibImage{}));
    EXPECT_FALSE(FilterMedian(image.dib(), image.dib(), CDibImage{}));
    EXPECT_FALSE(FilterAverage(image.dib(), image.dib(), CDibImage{}, 4));
    EXPECT_FALSE(EdgeKirsch(image.dib(), image.dib(), CDibImage{}));
    EXPECT_TRUE(testing::SamePixels(image.dib(), working.dib()));
}

TEST(NeighbourhoodOperations, SeeNineCopiesOfTheOnlyPixelOfA1x1Image) {
    const Bgr colour{17, 99, 201};
    const DibBlock working = testing::MakeUniformRgb(1, 1, colour);
    for (const NamedOperation& op : kOperations) {
        const std::string name = op.name;
        const Bgr result = PixelAt(testing::RunOn(op.run, working.dib()).dib(), 0, 0);
        const bool smoothing = name == "LowPass" || name == "Median" || name == "Average";
        const bool edge = name.find("Edge") != std::string::npos || name == "Roberts" ||
                          name == "Sobel" || name == "Prewitt" || name == "Laplace" ||
                          name == "Kirsch";
        if (smoothing) {
            EXPECT_EQ(result, colour) << name;
        } else if (edge) {
            EXPECT_EQ(result, (Bgr{0, 0, 0})) << name;
        }
    }
}

} // namespace
} // namespace halvera
