#include "image/DibImage.h"

#include "SyntheticImages.h"
#include "image/DuplicateBlock.h"
#include "image/RowBands.h"

#include <cstring>
#include <gtest/gtest.h>

namespace halvera {
namespace {

TEST(CreateRgb, PadsRowsToFourBytesAndFillsTheHeader) {
    for (auto [width, stride] : {std::pair{9, 28}, {12, 36}, {40, 120}, {101, 304}, {1, 4}}) {
        DibBlock image;
        ASSERT_TRUE(CreateRgb(image, width, 3));
        const CDibImage dib = image.dib();
        EXPECT_EQ(dib.stride, stride) << "width " << width;
        EXPECT_EQ(dib.bitsSize, stride * 3);
        EXPECT_EQ(dib.blockSize, 40 + stride * 3);
        EXPECT_EQ(dib.bits, reinterpret_cast<uint8_t*>(dib.header) + 40);
        EXPECT_EQ(dib.end, dib.bits + dib.bitsSize);
        EXPECT_EQ(dib.header->biWidth, width);
        EXPECT_EQ(dib.header->biHeight, 3);
        EXPECT_EQ(dib.header->biBitCount, 24);
        EXPECT_EQ(dib.header->biPlanes, 1);
        EXPECT_EQ(dib.header->biSizeImage, 0u);
    }
}

TEST(CreateGrey, WritesAGreyPaletteAndClearsTheRows) {
    DibBlock plane;
    ASSERT_TRUE(CreateGrey(plane, 5, 2));
    const CDibImage dib = plane.dib();
    EXPECT_EQ(dib.stride, 8);
    EXPECT_EQ(dib.blockSize, 40 + 1024 + 16);
    const auto* palette = reinterpret_cast<const RgbQuad*>(dib.header + 1);
    EXPECT_EQ(palette[0].red, 0);
    EXPECT_EQ(palette[200].blue, 200);
    EXPECT_EQ(palette[200].green, 200);
    EXPECT_EQ(palette[255].red, 255);
    for (int i = 0; i < dib.bitsSize; ++i)
        ASSERT_EQ(dib.bits[i], 0);
}

TEST(CreateRgb, RefusesSizesItCannotHoldAndFreesThePreviousBlock) {
    DibBlock image;
    ASSERT_TRUE(CreateRgb(image, 4, 4));
    EXPECT_FALSE(CreateRgb(image, 65536, 65536));
    EXPECT_TRUE(image.empty());
    EXPECT_FALSE(CreateRgb(image, 0, 4));
    EXPECT_FALSE(CreateGrey(image, 4, -1));
    IntPlane plane;
    EXPECT_FALSE(CreateIntPlane(plane, 100000, 100000));
    ASSERT_TRUE(CreateIntPlane(plane, 3, 2));
    EXPECT_EQ(plane.count, 6);
}

TEST(DibBlock, MovesOwnershipAndLeavesTheSourceEmpty) {
    DibBlock first = testing::MakeUniformRgb(3, 2, {1, 2, 3});
    const uint8_t* block = reinterpret_cast<uint8_t*>(first.dib().header);
    DibBlock second = std::move(first);
    EXPECT_TRUE(first.empty());
    EXPECT_EQ(reinterpret_cast<uint8_t*>(second.dib().header), block);
    EXPECT_EQ(testing::PixelAt(second.dib(), 2, 1), (testing::Bgr{1, 2, 3}));
}

TEST(CopyBlock, CopiesHeaderAndRowsInOneMove) {
    DibBlock source = testing::MakeRgb(7, 3, [](int x, int y) {
        return testing::Bgr{uint8_t(x), uint8_t(y), uint8_t(x + y)};
    });
    DibBlock target = testing::MakeUniformRgb(7, 3, {9, 9, 9});
    CopyBlock(target.dib(), source.dib());
    EXPECT_TRUE(testing::SamePixels(target.dib(), source.dib()));
}

// The copy is split into slices of a few megabytes; an odd-sized grey block
// over two slices checks the seam, the partial last slice and the palette.
TEST(DuplicateBlock, CopiesEveryByteWhateverTheWorkerCount) {
    const DibBlock source = testing::MakeGrey(
        2051, 2100, [](int x, int y) { return static_cast<uint8_t>(x * 7 + y * 13); });
    ASSERT_GT(source.dib().blockSize, 4 << 20);
    for (const int workers : {1, 2, 3}) {
        SetPixelWorkerCount(workers);
        DibBlock copy;
        ASSERT_TRUE(DuplicateBlock(copy, source.dib()));
        const CDibImage& dib = copy.dib();
        EXPECT_NE(dib.header, source.dib().header);
        EXPECT_EQ(dib.blockSize, source.dib().blockSize);
        EXPECT_EQ(dib.bits - reinterpret_cast<uint8_t*>(dib.header),
                  source.dib().bits - reinterpret_cast<uint8_t*>(source.dib().header));
        EXPECT_EQ(dib.stride, source.dib().stride);
        EXPECT_EQ(dib.height, source.dib().height);
        EXPECT_EQ(std::memcmp(dib.header, source.dib().header, static_cast<size_t>(dib.blockSize)),
                  0)
            << workers << " workers";
    }
    SetPixelWorkerCount(0);
}

TEST(DuplicateBlock, LeavesTheCopyEmptyForAnEmptySource) {
    DibBlock copy = testing::MakeUniformRgb(2, 2, {1, 2, 3});
    EXPECT_FALSE(DuplicateBlock(copy, CDibImage{}));
    EXPECT_TRUE(copy.empty());
}

} // namespace
} // namespace halvera
