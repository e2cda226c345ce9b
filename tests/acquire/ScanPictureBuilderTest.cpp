// Scanned frames into packed pictures, on synthetic frames: layouts, depths,
// three-pass colour and the byte-count checks.
#include "acquire/ScanPictureBuilder.h"

#include "image/BitmapInfoHeader.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace halvera {
namespace {

using Bytes = std::vector<uint8_t>;

// Rows of `bytesPerLine` bytes, top first; sample i of line y is sample(i, y);
// the bytes after the samples are 0xEE.
Bytes Frame(int samplesPerLine, int lines, int bytesPerLine,
            const std::function<uint8_t(int i, int y)>& sample) {
    Bytes bytes(static_cast<size_t>(bytesPerLine) * lines, 0xEE);
    for (int y = 0; y < lines; ++y) {
        for (int i = 0; i < samplesPerLine; ++i)
            bytes[static_cast<size_t>(y) * bytesPerLine + i] = sample(i, y);
    }
    return bytes;
}

uint8_t Red(int x, int) {
    return static_cast<uint8_t>(x * 10 + 1);
}
uint8_t Green(int, int y) {
    return static_cast<uint8_t>(y * 20 + 2);
}
uint8_t Blue(int x, int y) {
    return static_cast<uint8_t>(x + y + 3);
}

// The byte of pixel (x, y), y = 0 at the top, in a packed picture.
const uint8_t* PixelOf(const PackedDib& picture, int x, int y) {
    const BitmapInfoHeader& header = *picture.header();
    const size_t offset = header.biSize + header.biClrUsed * 4;
    const int64_t stride = DibStride(header.biWidth, header.biBitCount);
    return picture.data() + offset + (header.biHeight - 1 - y) * stride + x * header.biBitCount / 8;
}

ScanFrameFormat Format(ScanFrameKind kind, int pixels, int lines, int bytesPerLine, int depth = 8) {
    return ScanFrameFormat{kind, pixels, lines, bytesPerLine, depth};
}

TEST(ScanPictureBuilder, RgbFrameBecomesBottomUpBgrRowsWithoutTheLinePadding) {
    constexpr int kWidth = 5, kLines = 3, kBytesPerLine = 17; // two bytes of padding
    const Bytes frame = Frame(kWidth * 3, kLines, kBytesPerLine, [](int i, int y) {
        const int x = i / 3;
        return i % 3 == 0 ? Red(x, y) : i % 3 == 1 ? Green(x, y) : Blue(x, y);
    });
    ScanPictureBuilder builder;
    std::string error;
    ASSERT_TRUE(
        builder.addFrame(Format(ScanFrameKind::Rgb, kWidth, kLines, kBytesPerLine), frame, error))
        << error;
    ASSERT_TRUE(builder.complete());
    const PackedDib picture = builder.take(0);
    ASSERT_TRUE(picture);
    const BitmapInfoHeader& header = *picture.header();
    EXPECT_EQ(header.biWidth, kWidth);
    EXPECT_EQ(header.biHeight, kLines);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biCompression, 0u);
    EXPECT_EQ(header.biClrUsed, 0u);
    EXPECT_EQ(picture.size(), 40u + 16u * kLines);
    for (int y = 0; y < kLines; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const uint8_t* pixel = PixelOf(picture, x, y);
            EXPECT_EQ(pixel[0], Blue(x, y));
            EXPECT_EQ(pixel[1], Green(x, y));
            EXPECT_EQ(pixel[2], Red(x, y));
        }
        EXPECT_EQ(PixelOf(picture, kWidth, y)[0], 0) << "row padding is zero";
    }
}

TEST(ScanPictureBuilder, GrayFramesBecomeEightBitPicturesWithAGreyPalette) {
    ScanPictureBuilder builder;
    std::string error;
    ASSERT_TRUE(
        builder.addFrame(Format(ScanFrameKind::Gray, 3, 2, 4), Frame(3, 2, 4, Blue), error));
    const PackedDib picture = builder.take(0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture.header()->biBitCount, 8);
    EXPECT_EQ(picture.header()->biClrUsed, 256u);
    const uint8_t* palette = picture.data() + 40;
    EXPECT_EQ(palette[4 * 200], 200);
    EXPECT_EQ(palette[4 * 200 + 2], 200);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(*PixelOf(picture, x, y), Blue(x, y));
    }
}

TEST(ScanPictureBuilder, SixteenBitSamplesKeepTheirHighByte) {
    constexpr int kWidth = 3;
    Bytes frame(kWidth * 2 * 2);
    for (int i = 0; i < kWidth * 2; ++i) {
        const uint16_t sample = static_cast<uint16_t>(Red(i, 0) << 8 | 0x7F);
        std::memcpy(frame.data() + 2 * i, &sample, 2); // the machine's byte order
    }
    ScanPictureBuilder builder;
    std::string error;
    ASSERT_TRUE(
        builder.addFrame(Format(ScanFrameKind::Gray, kWidth, 2, kWidth * 2, 16), frame, error))
        << error;
    const PackedDib picture = builder.take(0);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < kWidth; ++x)
            EXPECT_EQ(*PixelOf(picture, x, y), Red(y * kWidth + x, 0));
    }
}

TEST(ScanPictureBuilder, OneBitGrayHasSetBitsBlackAndOneBitColourHasThemFull) {
    // Ten pixels in two bytes: 1010 0000 11.. ....
    const Bytes line{0xA0, 0xC0};
    ScanPictureBuilder gray;
    std::string error;
    ASSERT_TRUE(gray.addFrame(Format(ScanFrameKind::Gray, 10, 1, 2, 1), line, error)) << error;
    const PackedDib grey = gray.take(0);
    const std::vector<uint8_t> expected{0, 255, 0, 255, 255, 255, 255, 255, 0, 0};
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(*PixelOf(grey, x, 0), expected[x]) << "pixel " << x;

    // Two pixels of three bits: 110 001 -> yellow, blue.
    ScanPictureBuilder colour;
    ASSERT_TRUE(colour.addFrame(Format(ScanFrameKind::Rgb, 2, 1, 1, 1), Bytes{0xC4}, error))
        << error;
    const PackedDib picture = colour.take(0);
    EXPECT_EQ(PixelOf(picture, 0, 0)[0], 0);
    EXPECT_EQ(PixelOf(picture, 0, 0)[1], 255);
    EXPECT_EQ(PixelOf(picture, 0, 0)[2], 255);
    EXPECT_EQ(PixelOf(picture, 1, 0)[0], 255);
    EXPECT_EQ(PixelOf(picture, 1, 0)[2], 0);
}

TEST(ScanPictureBuilder, ThreePassFramesInAnyOrderMakeTheSamePictureAsOneRgbFrame) {
    constexpr int kWidth = 7, kLines = 4, kBytesPerLine = 8;
    ScanPictureBuilder passes;
    std::string error;
    const std::pair<ScanFrameKind, uint8_t (*)(int, int)> order[] = {
        {ScanFrameKind::Green, Green}, {ScanFrameKind::Blue, Blue}, {ScanFrameKind::Red, Red}};
    for (const auto& [kind, sample] : order) {
        EXPECT_FALSE(passes.complete());
        ASSERT_TRUE(passes.addFrame(Format(kind, kWidth, kLines, kBytesPerLine),
                                    Frame(kWidth, kLines, kBytesPerLine, sample), error))
            << error;
    }
    ASSERT_TRUE(passes.complete());
    const PackedDib threePass = passes.take(0);

    ScanPictureBuilder single;
    const Bytes rgb = Frame(kWidth * 3, kLines, kWidth * 3, [](int i, int y) {
        const int x = i / 3;
        return i % 3 == 0 ? Red(x, y) : i % 3 == 1 ? Green(x, y) : Blue(x, y);
    });
    ASSERT_TRUE(
        single.addFrame(Format(ScanFrameKind::Rgb, kWidth, kLines, kWidth * 3), rgb, error));
    const PackedDib onePass = single.take(0);
    ASSERT_EQ(threePass.size(), onePass.size());
    EXPECT_EQ(std::memcmp(threePass.data(), onePass.data(), onePass.size()), 0);
}

TEST(ScanPictureBuilder, ByteCountMustBeTheAnnouncedLinesTimesBytesPerLine) {
    const Bytes frame = Frame(4, 3, 4, Red);
    std::string error;
    ScanPictureBuilder shortRead;
    EXPECT_FALSE(shortRead.addFrame(Format(ScanFrameKind::Gray, 4, 3, 4),
                                    std::span(frame).first(frame.size() - 1), error));
    EXPECT_NE(error.find("instead of 3 lines of 4"), std::string::npos) << error;
    EXPECT_FALSE(shortRead.complete());

    Bytes longer = frame;
    longer.push_back(0);
    ScanPictureBuilder longRead;
    EXPECT_FALSE(longRead.addFrame(Format(ScanFrameKind::Gray, 4, 3, 4), longer, error));
}

TEST(ScanPictureBuilder, UnknownHeightTakesWholeLinesOnly) {
    const Bytes frame = Frame(4, 5, 4, Green);
    std::string error;
    ScanPictureBuilder whole;
    ASSERT_TRUE(whole.addFrame(Format(ScanFrameKind::Gray, 4, -1, 4), frame, error)) << error;
    EXPECT_EQ(whole.take(0).header()->biHeight, 5);

    ScanPictureBuilder partial;
    EXPECT_FALSE(partial.addFrame(Format(ScanFrameKind::Gray, 4, -1, 4),
                                  std::span(frame).first(frame.size() - 2), error));
    ScanPictureBuilder empty;
    EXPECT_FALSE(empty.addFrame(Format(ScanFrameKind::Gray, 4, -1, 4), Bytes{}, error));
}

TEST(ScanPictureBuilder, LayoutsThatCannotBeAPictureAreRefused) {
    const Bytes frame = Frame(12, 2, 12, Red);
    std::string error;
    ScanPictureBuilder builder;
    EXPECT_FALSE(builder.addFrame(Format(ScanFrameKind::Gray, 12, 2, 12, 4), frame, error))
        << "4-bit samples";
    EXPECT_FALSE(builder.addFrame(Format(ScanFrameKind::Rgb, 5, 2, 12), frame, error))
        << "lines too short for five pixels";
    EXPECT_FALSE(builder.addFrame(Format(ScanFrameKind::Gray, 0, 2, 12), frame, error));

    ASSERT_TRUE(builder.addFrame(Format(ScanFrameKind::Red, 12, 2, 12), frame, error)) << error;
    EXPECT_FALSE(builder.addFrame(Format(ScanFrameKind::Red, 12, 2, 12), frame, error))
        << "the same colour twice";
    EXPECT_FALSE(builder.addFrame(Format(ScanFrameKind::Green, 6, 4, 6), frame, error))
        << "colours of another size";
    EXPECT_FALSE(builder.addFrame(Format(ScanFrameKind::Gray, 12, 2, 12), frame, error))
        << "a grey frame inside a colour scan";
    EXPECT_FALSE(builder.take(0)) << "two colours are not a picture";

    ScanPictureBuilder gray;
    ASSERT_TRUE(gray.addFrame(Format(ScanFrameKind::Gray, 12, 2, 12), frame, error));
    EXPECT_FALSE(gray.addFrame(Format(ScanFrameKind::Gray, 12, 2, 12), frame, error))
        << "a second picture";
}

TEST(ScanPictureBuilder, ScansOverThirtyThousandPixelsOnASideAreRefused) {
    const Bytes frame(30001);
    std::string error;
    ScanPictureBuilder builder;
    EXPECT_FALSE(builder.addFrame(Format(ScanFrameKind::Gray, 30001, 1, 30001), frame, error));
    EXPECT_FALSE(builder.addFrame(Format(ScanFrameKind::Gray, 1, -1, 1), frame, error));
    EXPECT_TRUE(builder.addFrame(Format(ScanFrameKind::Gray, 1, -1, 1),
                                 std::span(frame).first(30000), error))
        << error;
}

TEST(ScanPictureBuilder, TheResolutionGoesIntoTheHeader) {
    ScanPictureBuilder builder;
    std::string error;
    ASSERT_TRUE(builder.addFrame(Format(ScanFrameKind::Gray, 4, 1, 4), Frame(4, 1, 4, Red), error));
    const PackedDib picture = builder.take(300);
    EXPECT_EQ(picture.header()->biXPelsPerMeter, 11811); // 300 / 0.0254, rounded
    EXPECT_EQ(picture.header()->biYPelsPerMeter, 11811);
}

} // namespace
} // namespace halvera
