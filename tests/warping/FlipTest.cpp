#include "EachInstructionSet.h"
#include "WarpTestImages.h"
#include "warping/FlipHorizontal.h"
#include "warping/FlipVertical.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace halvera::testing {
namespace {

// An odd-sized image (5 x 3, so rows carry padding and a middle column and
// row stay put) with a region that is not symmetric.
struct FlipCase {
    DibBlock image = MakeRgb(5, 3, Pattern);
    DibBlock working = MakeUniformRgb(5, 3, kMarker);
    DibBlock mask = MakeGrey(5, 3, [](int x, int y) { return uint8_t(x + y < 3 ? 255 : 0); });
    DibBlock savedMask = MakeGrey(5, 3, [](int, int) { return uint8_t{0}; });
    DibBlock originalImage = MakeRgb(5, 3, Pattern);
    DibBlock originalMask =
        MakeGrey(5, 3, [](int x, int y) { return uint8_t(x + y < 3 ? 255 : 0); });
};

TEST(FlipHorizontal, MirrorsImageAndMaskTopToBottomWhateverTheRegion) {
    FlipCase c;
    ASSERT_TRUE(FlipHorizontal(c.image.dib(), c.working.dib(), c.mask.dib(), c.savedMask.dib()));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(PixelAt(c.image.dib(), x, y), Pattern(x, 2 - y)) << x << "," << y;
            EXPECT_EQ(ByteAt(c.mask.dib(), x, y), ByteAt(c.originalMask.dib(), x, 2 - y));
        }
    // The copies keep the state before the flip.
    EXPECT_TRUE(SamePixels(c.working.dib(), c.originalImage.dib()));
    EXPECT_TRUE(SamePixels(c.savedMask.dib(), c.originalMask.dib()));
}

TEST(FlipHorizontal, TwiceRestoresImageAndMaskExactly) {
    FlipCase c;
    ASSERT_TRUE(FlipHorizontal(c.image.dib(), c.working.dib(), c.mask.dib(), c.savedMask.dib()));
    ASSERT_TRUE(FlipHorizontal(c.image.dib(), c.working.dib(), c.mask.dib(), c.savedMask.dib()));
    EXPECT_TRUE(SamePixels(c.image.dib(), c.originalImage.dib()));
    EXPECT_TRUE(SamePixels(c.mask.dib(), c.originalMask.dib()));
}

TEST(FlipVertical, MirrorsImageAndMaskLeftToRight) {
    FlipCase c;
    ASSERT_TRUE(FlipVertical(c.image.dib(), c.working.dib(), c.mask.dib(), c.savedMask.dib()));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(PixelAt(c.image.dib(), x, y), Pattern(4 - x, y)) << x << "," << y;
            EXPECT_EQ(ByteAt(c.mask.dib(), x, y), ByteAt(c.originalMask.dib(), 4 - x, y));
        }
    EXPECT_TRUE(SamePixels(c.working.dib(), c.originalImage.dib()));
    EXPECT_TRUE(SamePixels(c.savedMask.dib(), c.originalMask.dib()));
}

TEST(FlipVertical, TwiceRestoresImageAndMaskExactly) {
    FlipCase c;
    ASSERT_TRUE(FlipVertical(c.image.dib(), c.working.dib(), c.mask.dib(), c.savedMask.dib()));
    ASSERT_TRUE(FlipVertical(c.image.dib(), c.working.dib(), c.mask.dib(), c.savedMask.dib()));
    EXPECT_TRUE(SamePixels(c.image.dib(), c.originalImage.dib()));
    EXPECT_TRUE(SamePixels(c.mask.dib(), c.originalMask.dib()));
}

TEST(FlipVertical, WithoutMasksFlipsTheImageAlone) {
    FlipCase c;
    ASSERT_TRUE(FlipVertical(c.image.dib(), c.working.dib(), CDibImage{}, CDibImage{}));
    EXPECT_EQ(PixelAt(c.image.dib(), 0, 1), Pattern(4, 1));
}

TEST(FlipHorizontal, RefusesBuffersThatDoNotMatchAndTouchesNothing) {
    FlipCase c;
    DibBlock wide = MakeUniformRgb(6, 3, kMarker);
    EXPECT_FALSE(FlipHorizontal(c.image.dib(), wide.dib(), c.mask.dib(), c.savedMask.dib()));
    // The image itself cannot serve as its own working copy.
    EXPECT_FALSE(FlipHorizontal(c.image.dib(), c.image.dib(), c.mask.dib(), c.savedMask.dib()));
    // A mask of another size, or only one of the two masks.
    DibBlock smallMask = MakeGrey(4, 3, [](int, int) { return uint8_t{0}; });
    EXPECT_FALSE(FlipVertical(c.image.dib(), c.working.dib(), smallMask.dib(), c.savedMask.dib()));
    EXPECT_FALSE(FlipVertical(c.image.dib(), c.working.dib(), c.mask.dib(), CDibImage{}));
    EXPECT_TRUE(SamePixels(c.image.dib(), c.originalImage.dib()));
    EXPECT_TRUE(SamePixels(c.mask.dib(), c.originalMask.dib()));
    EXPECT_EQ(PixelAt(c.working.dib(), 0, 0), kMarker);
}

// The flips on images of awkward sizes (one pixel, odd widths, rows that are
// not whole vectors or cache lines, odd and even heights), once for each
// instruction set the row kernels are compiled for.
class FlipOnEachInstructionSet : public testing::OnEachInstructionSet {};

HALVERA_ON_EACH_INSTRUCTION_SET(FlipOnEachInstructionSet);

constexpr int kSizes[][2] = {{1, 1},  {1, 2},  {2, 1},   {3, 4},    {17, 5},
                             {64, 6}, {65, 7}, {100, 3}, {171, 10}, {256, 9}};

uint8_t MaskPattern(int x, int y) {
    return static_cast<uint8_t>((x * 13 + y * 29) % 3 == 0 ? 255 : (x * 7 + y) % 256);
}

using FlipOperation = bool (*)(const CDibImage&, const CDibImage&, const CDibImage&,
                               const CDibImage&);
// Where the pixel that lands at (x, y) comes from, for an image of width x height.
using FlipSource = std::pair<int, int> (*)(int x, int y, int width, int height);

// Flips images and masks of every size: every pixel and mask byte must come
// from its mirrored place, the working copy and saved mask must hold the
// unflipped image and mask, and a second flip must restore both.
void ExpectFlipsOfEverySize(FlipOperation flip, FlipSource sourceOf) {
    for (const auto& [width, height] : kSizes) {
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        DibBlock image = MakeRgb(width, height, Pattern);
        DibBlock working = MakeUniformRgb(width, height, kMarker);
        DibBlock mask = MakeGrey(width, height, MaskPattern);
        DibBlock savedMask = MakeGrey(width, height, [](int, int) { return uint8_t{9}; });
        const DibBlock originalImage = MakeRgb(width, height, Pattern);
        const DibBlock originalMask = MakeGrey(width, height, MaskPattern);
        ASSERT_TRUE(flip(image.dib(), working.dib(), mask.dib(), savedMask.dib()));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const auto [fromX, fromY] = sourceOf(x, y, width, height);
                ASSERT_EQ(PixelAt(image.dib(), x, y), Pattern(fromX, fromY))
                    << size << " at " << x << "," << y;
                ASSERT_EQ(ByteAt(mask.dib(), x, y), MaskPattern(fromX, fromY))
                    << size << " at " << x << "," << y;
            }
        EXPECT_TRUE(SamePixels(working.dib(), originalImage.dib())) << size;
        EXPECT_TRUE(SamePixels(savedMask.dib(), originalMask.dib())) << size;

        ASSERT_TRUE(flip(image.dib(), working.dib(), mask.dib(), savedMask.dib()));
        EXPECT_TRUE(SamePixels(image.dib(), originalImage.dib())) << size;
        EXPECT_TRUE(SamePixels(mask.dib(), originalMask.dib())) << size;
        const auto [firstX, firstY] = sourceOf(0, 0, width, height);
        EXPECT_EQ(PixelAt(working.dib(), 0, 0), Pattern(firstX, firstY)) << size;
    }
}

TEST_P(FlipOnEachInstructionSet, TopBottomFlipOfEverySizeKeepsTheCopiesAndUndoesItself) {
    ExpectFlipsOfEverySize(FlipHorizontal, [](int x, int y, int, int height) {
        return std::pair{x, height - 1 - y};
    });
}

TEST_P(FlipOnEachInstructionSet, LeftRightFlipOfEverySizeKeepsTheCopiesAndUndoesItself) {
    ExpectFlipsOfEverySize(FlipVertical, [](int x, int y, int width, int) {
        return std::pair{width - 1 - x, y};
    });
}

} // namespace
} // namespace halvera::testing
