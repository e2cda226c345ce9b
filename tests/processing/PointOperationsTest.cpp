#include "ProcessingTestSupport.h"
#include "processing/GrayscaleImage.h"
#include "processing/InvertImage.h"
#include "processing/MeanGray.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::Grey;
using testing::PixelAt;

TEST(InvertImage, ComplementsEveryChannelAndRestoresOnASecondRun) {
    DibBlock image = testing::MakeRgb(3, 2, [](int x, int y) {
        return x == 0 ? Bgr{255, 255, 255} : Bgr{0x12, uint8_t(40 * x), uint8_t(200 + y)};
    });
    const DibBlock original = testing::CopyOf(image.dib());
    ASSERT_TRUE(InvertImage(image.dib(), CDibImage{}));
    EXPECT_EQ(PixelAt(image.dib(), 0, 0), (Bgr{0, 0, 0}));
    EXPECT_EQ(PixelAt(image.dib(), 1, 1), (Bgr{0xED, 215, 54}));
    EXPECT_EQ(PixelAt(image.dib(), 2, 0), (Bgr{0xED, 175, 55}));
    ASSERT_TRUE(InvertImage(image.dib(), CDibImage{}));
    EXPECT_TRUE(testing::SamePixels(image.dib(), original.dib()));
}

TEST(GrayscaleImage, WeighsRedGreenAndBlueThirtyFiftyNineEleven) {
    const Bgr colours[] = {{0, 0, 255},     {0, 255, 0}, {255, 0, 0},
                           {255, 255, 255}, {1, 1, 1},   {30, 20, 10}};
    // (30 R + 59 G + 11 B) / 100, rounded down.
    const uint8_t expected[] = {76, 150, 28, 255, 1, 18};
    DibBlock image = testing::MakeRgb(6, 1, [&](int x, int) { return colours[x]; });
    ASSERT_TRUE(GrayscaleImage(image.dib(), CDibImage{}));
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(PixelAt(image.dib(), x, 0), Grey(expected[x])) << "pixel " << x;
}

TEST(GrayscaleImage, ChangesOnlySelectedPixels) {
    DibBlock image = testing::MakeUniformRgb(2, 2, Bgr{0, 0, 255});
    DibBlock mask = testing::MaskWhere(2, 2, [](int x, int y) { return x == 1 && y == 0; });
    ASSERT_TRUE(GrayscaleImage(image.dib(), mask.dib()));
    EXPECT_EQ(PixelAt(image.dib(), 1, 0), Grey(76));
    EXPECT_EQ(PixelAt(image.dib(), 0, 0), (Bgr{0, 0, 255}));
    EXPECT_EQ(PixelAt(image.dib(), 1, 1), (Bgr{0, 0, 255}));
}

TEST(MeanGray, CountsFromOneSoNPixelsAreDividedByNPlusOne) {
    DibBlock image = testing::MakeUniformRgb(2, 1, Grey(100));
    EXPECT_EQ(MeanGray(image.dib(), CDibImage{}), 66u); // 200 / 3

    DibBlock pair = testing::MakeRgb(2, 2, [](int x, int y) {
        return x == 0 && y == 1 ? Bgr{0, 0, 255} : Grey(200); // red has grey 76
    });
    DibBlock mask = testing::MaskWhere(2, 2, [](int x, int) { return x == 0; });
    EXPECT_EQ(MeanGray(pair.dib(), mask.dib()), 92u); // (200 + 76) / 3
}

TEST(MeanGray, AnEmptySelectionGivesZero) {
    DibBlock image = testing::MakeUniformRgb(3, 3, Grey(250));
    DibBlock weak = testing::MakeGrey(3, 3, [](int, int) { return uint8_t{128}; });
    EXPECT_EQ(MeanGray(image.dib(), weak.dib()), 0u);
}

TEST(MeanGray, SumsAWhiteImageOfMoreThanSixteenMillionPixelsWithoutOverflow) {
    // 4200 x 4200 white pixels sum to 4.5e9, beyond 32 bits.
    DibBlock image;
    ASSERT_TRUE(CreateRgb(image, 4200, 4200));
    std::fill(image.dib().bits, image.dib().end, uint8_t{255});
    EXPECT_EQ(MeanGray(image.dib(), CDibImage{}), 254u); // 255 N / (N + 1)
}

TEST(MeanGray, RefusesAMaskOfAnotherSize) {
    DibBlock image = testing::MakeUniformRgb(3, 3, Grey(10));
    DibBlock mask = testing::MakeGrey(2, 3, [](int, int) { return uint8_t{255}; });
    EXPECT_FALSE(MeanGray(image.dib(), mask.dib()).has_value());
}

} // namespace
} // namespace halvera
