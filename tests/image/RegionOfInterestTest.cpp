#include "image/RegionOfInterest.h"

#include "SyntheticImages.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

TEST(RegionOfInterest, AnAllZeroMaskIsNoRegionAndSelectsEverything) {
    DibBlock mask = testing::MakeGrey(5, 3, [](int, int) { return uint8_t{0}; });
    const RegionOfInterest roi(mask.dib());
    EXPECT_FALSE(roi.exists());
    EXPECT_TRUE(RegionOfInterest::Selected(roi.maskRow(1), 4));
}

TEST(RegionOfInterest, PaddingBytesDoNotMakeARegion) {
    DibBlock mask = testing::MakeGrey(5, 2, [](int, int) { return uint8_t{0}; });
    mask.dib().row(1)[6] = 255; // padding of a row of 5 pixels held in 8 bytes
    EXPECT_FALSE(MaskHasRegion(mask.dib()));
    EXPECT_FALSE(MaskHasRegion(CDibImage{}));
}

TEST(RegionOfInterest, BytesBelow255FormARegionThatSelectsNothing) {
    DibBlock mask = testing::MakeGrey(4, 4, [](int x, int) { return uint8_t(1 + x * 80); });
    const RegionOfInterest roi(mask.dib());
    ASSERT_TRUE(roi.exists());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_FALSE(RegionOfInterest::Selected(roi.maskRow(y), x));
}

TEST(RegionOfInterest, OnlyBytesOf255AreSelected) {
    DibBlock mask =
        testing::MakeGrey(3, 3, [](int x, int y) { return uint8_t(x == 1 && y == 2 ? 255 : 0); });
    const RegionOfInterest roi(mask.dib());
    ASSERT_TRUE(roi.exists());
    EXPECT_TRUE(RegionOfInterest::Selected(roi.maskRow(2), 1));
    EXPECT_FALSE(RegionOfInterest::Selected(roi.maskRow(0), 1));
}

} // namespace
} // namespace halvera
