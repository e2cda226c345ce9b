#include "processing/ImageArithmetic.h"

#include "SyntheticImages.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::kBlack;
using testing::kWhite;
using testing::MakeGrey;
using testing::MakeRgb;
using testing::MakeUniformRgb;
using testing::PixelAt;
using testing::SamePixels;
using testing::SetPixel;

ArithmeticSettings Settings(ArithmeticOperation operation, int transparency = 100) {
    ArithmeticSettings settings;
    settings.operation = operation;
    settings.transparency = transparency;
    return settings;
}

// Runs the operation on a fresh A whose pixels are garbage, so every test also
// sees that A is rebuilt from A' and B alone.
DibBlock Combine(const DibBlock& working, const CDibImage& input,
                 const ArithmeticSettings& settings, const CDibImage& mask = {}) {
    DibBlock image = MakeUniformRgb(working.width(), working.height(), Bgr{7, 7, 7});
    EXPECT_TRUE(ImageArithmetic(image.dib(), working.dib(), mask, input, settings));
    return image;
}

Bgr CombinePixel(Bgr a, Bgr b, const ArithmeticSettings& settings) {
    const DibBlock working = MakeUniformRgb(1, 1, a);
    const DibBlock input = MakeUniformRgb(1, 1, b);
    return PixelAt(Combine(working, input.dib(), settings).dib(), 0, 0);
}

Bgr CombinePixel(Bgr a, Bgr b, ArithmeticOperation operation, int transparency = 100) {
    return CombinePixel(a, b, Settings(operation, transparency));
}

ArithmeticSettings WithChannels(ArithmeticSettings settings, ArithmeticChannel output,
                                ArithmeticChannel input) {
    settings.outputChannel = output;
    settings.inputChannel = input;
    return settings;
}

TEST(ImageArithmetic, AddBlendsByTransparency) {
    const Bgr a{10, 20, 30};
    const Bgr b{200, 100, 50};
    EXPECT_EQ(CombinePixel(a, b, ArithmeticOperation::Add, 100), b);
    EXPECT_EQ(CombinePixel(a, b, ArithmeticOperation::Add, 0), a);
    EXPECT_EQ(CombinePixel(a, b, ArithmeticOperation::Add, 50), (Bgr{105, 60, 40}));
    // (11 * 67 + 200 * 33) div 100 = 73 (73.37 truncated)
    EXPECT_EQ(CombinePixel(Bgr{11, 0, 0}, Bgr{200, 0, 0}, ArithmeticOperation::Add, 33).blue, 73);
}

TEST(ImageArithmetic, MinusStopsAtZeroAndSubGivesTheDistance) {
    EXPECT_EQ(CombinePixel(Bgr{50, 50, 50}, Bgr{80, 80, 80}, ArithmeticOperation::Minus), kBlack);
    // (100 * 200 - 50 * 80) div 100 = 160
    EXPECT_EQ(CombinePixel(Bgr{200, 0, 0}, Bgr{80, 0, 0}, ArithmeticOperation::Minus, 50).blue,
              160);
    EXPECT_EQ(CombinePixel(Bgr{50, 80, 0}, Bgr{80, 50, 0}, ArithmeticOperation::Sub),
              (Bgr{30, 30, 0}));
}

TEST(ImageArithmetic, MultiplyDividesByTenAndCaps) {
    EXPECT_EQ(CombinePixel(Bgr{100, 10, 0}, Bgr{100, 10, 0}, ArithmeticOperation::Multiply),
              (Bgr{255, 10, 0}));
    // 20 * 30 * 50 div 1000 = 30
    EXPECT_EQ(CombinePixel(Bgr{20, 0, 0}, Bgr{30, 0, 0}, ArithmeticOperation::Multiply, 50).blue,
              30);
}

TEST(ImageArithmetic, DivideUsesTheScaledDivisorAnd255ForZero) {
    // b * t below 1000 makes the divisor 0.
    EXPECT_EQ(CombinePixel(Bgr{0, 77, 77}, Bgr{9, 9, 9}, ArithmeticOperation::Divide), kWhite);
    // 20 * 100 div 1000 = 2: 101 div 2 = 50; 200 * 50 div 1000 = 10: 99 div 10 = 9.
    EXPECT_EQ(CombinePixel(Bgr{101, 0, 0}, Bgr{20, 0, 0}, ArithmeticOperation::Divide).blue, 50);
    EXPECT_EQ(CombinePixel(Bgr{99, 0, 0}, Bgr{200, 0, 0}, ArithmeticOperation::Divide, 50).blue, 9);
}

TEST(ImageArithmetic, MaxAndMinCompareWithScaledB) {
    // (100 * 50) div 100 = 50 against a = 60
    EXPECT_EQ(CombinePixel(Bgr{60, 40, 0}, Bgr{100, 100, 0}, ArithmeticOperation::Max, 50),
              (Bgr{60, 50, 0}));
    EXPECT_EQ(CombinePixel(Bgr{60, 40, 0}, Bgr{100, 100, 0}, ArithmeticOperation::Min, 50),
              (Bgr{50, 40, 0}));
    EXPECT_EQ(CombinePixel(Bgr{60, 40, 0}, Bgr{100, 100, 0}, ArithmeticOperation::Sub, 50),
              (Bgr{10, 10, 0}));
}

TEST(ImageArithmetic, LogicalOperationsSeeZeroAndNonZeroOnly) {
    // Channels: (a, b) = (0, 0), (0, 7), (3, 7). Transparency plays no part.
    const Bgr a{0, 0, 3};
    const Bgr b{0, 7, 7};
    EXPECT_EQ(CombinePixel(a, b, ArithmeticOperation::And, 0), (Bgr{0, 0, 255}));
    EXPECT_EQ(CombinePixel(a, b, ArithmeticOperation::Or, 0), (Bgr{0, 255, 255}));
    EXPECT_EQ(CombinePixel(a, b, ArithmeticOperation::Xor, 0), (Bgr{0, 255, 0}));
    EXPECT_EQ(CombinePixel(a, b, ArithmeticOperation::AndNot, 0), (Bgr{255, 255, 0}));
    EXPECT_EQ(CombinePixel(a, b, ArithmeticOperation::OrAnd, 0), (Bgr{255, 0, 0}));
    EXPECT_EQ(CombinePixel(a, b, ArithmeticOperation::Not, 0), (Bgr{255, 255, 0}));
}

// The per-value formulas as written, truncating divisions.
int Formula(ArithmeticOperation operation, int a, int b, int t) {
    const auto truth = [](int v) {
        return v != 0;
    };
    switch (operation) {
    case ArithmeticOperation::Add:
        return std::min(255, (a * (100 - t) + b * t) / 100);
    case ArithmeticOperation::Minus:
        return std::max(0, (100 * a - t * b) / 100);
    case ArithmeticOperation::Multiply:
        return std::min(255, a * b * t / 1000);
    case ArithmeticOperation::Divide:
        return b * t / 1000 == 0 ? 255 : a / (b * t / 1000);
    case ArithmeticOperation::And:
        return truth(a) && truth(b) ? 255 : 0;
    case ArithmeticOperation::Or:
        return truth(a) || truth(b) ? 255 : 0;
    case ArithmeticOperation::Not:
        return truth(a) ? 0 : 255;
    case ArithmeticOperation::Xor:
        return truth(a) != truth(b) ? 255 : 0;
    case ArithmeticOperation::AndNot:
        return truth(a) && truth(b) ? 0 : 255;
    case ArithmeticOperation::OrAnd:
        return truth(a) || truth(b) ? 0 : 255;
    case ArithmeticOperation::Max:
        return std::max(a, b * t / 100);
    case ArithmeticOperation::Min:
        return std::min(a, b * t / 100);
    case ArithmeticOperation::Sub:
        return std::abs(a - b * t / 100);
    default:
        return -1;
    }
}

TEST(ImageArithmetic, EveryPerValueOperationFollowsItsFormulaForEveryPairOfValues) {
    // A' holds a = x and B holds b = y in every channel: all 65536 pairs.
    const DibBlock working = MakeRgb(256, 256, [](int x, int) {
        return Bgr{uint8_t(x), uint8_t(x), uint8_t(x)};
    });
    const DibBlock input = MakeRgb(256, 256, [](int, int y) {
        return Bgr{uint8_t(y), uint8_t(y), uint8_t(y)};
    });
    for (int op = 0; op <= static_cast<int>(ArithmeticOperation::Sub); ++op) {
        const auto operation = static_cast<ArithmeticOperation>(op);
        for (const int t : {0, 1, 33, 50, 99, 100}) {
            const DibBlock result = Combine(working, input.dib(), Settings(operation, t));
            for (int b = 0; b < 256; ++b)
                for (int a = 0; a < 256; ++a)
                    ASSERT_EQ(PixelAt(result.dib(), a, b).green, Formula(operation, a, b, t))
                        << kArithmeticOperationNames[op] << " a " << a << " b " << b << " t " << t;
        }
    }
}

TEST(ImageArithmetic, SingleChannelOnBothSidesChangesOnlyTheOutputChannel) {
    // Green of A with red of B under Add at t = 100: green takes B's red.
    const auto settings = WithChannels(Settings(ArithmeticOperation::Add), ArithmeticChannel::Green,
                                       ArithmeticChannel::Red);
    EXPECT_EQ(CombinePixel(Bgr{10, 20, 30}, Bgr{200, 100, 50}, settings), (Bgr{10, 50, 30}));
}

TEST(ImageArithmetic, SingleChannelOnOneSidePairsWithEveryChannelOfTheOther) {
    const Bgr a{10, 20, 30};
    const Bgr b{200, 100, 50};
    // Every channel of A with B's red.
    EXPECT_EQ(CombinePixel(a, b,
                           WithChannels(Settings(ArithmeticOperation::Add), ArithmeticChannel::Rgb,
                                        ArithmeticChannel::Red)),
              (Bgr{50, 50, 50}));
    // A's green with every channel of B, at t = 50: (20 + b) div 2.
    EXPECT_EQ(CombinePixel(a, b,
                           WithChannels(Settings(ArithmeticOperation::Add, 50),
                                        ArithmeticChannel::Green, ArithmeticChannel::Rgb)),
              (Bgr{110, 60, 35}));
}

TEST(ImageArithmetic, OrXorAndOrAndPairChannelsUnlessBothSidesNameOne) {
    const Bgr a{0, 0, 7};
    const Bgr b{0, 9, 0};
    // Both sides single: every channel of A with B's red (0).
    EXPECT_EQ(CombinePixel(a, b,
                           WithChannels(Settings(ArithmeticOperation::Or), ArithmeticChannel::Green,
                                        ArithmeticChannel::Red)),
              (Bgr{0, 0, 255}));
    // One side RGB: channel for channel, whatever the other side names.
    EXPECT_EQ(CombinePixel(a, b,
                           WithChannels(Settings(ArithmeticOperation::Xor), ArithmeticChannel::Red,
                                        ArithmeticChannel::Rgb)),
              (Bgr{0, 255, 255}));
}

TEST(ImageArithmetic, NotNegatesOnlyTheOutputChannelWhenBothSidesNameOne) {
    const Bgr a{0, 0, 7};
    EXPECT_EQ(CombinePixel(a, a,
                           WithChannels(Settings(ArithmeticOperation::Not), ArithmeticChannel::Blue,
                                        ArithmeticChannel::Green)),
              (Bgr{255, 0, 7}));
    EXPECT_EQ(CombinePixel(a, a,
                           WithChannels(Settings(ArithmeticOperation::Not), ArithmeticChannel::Rgb,
                                        ArithmeticChannel::Green)),
              (Bgr{255, 255, 0}));
}

DibBlock Gradient(int width, int height) {
    return MakeRgb(width, height, [](int x, int y) {
        return Bgr{uint8_t(10 + x), uint8_t(20 + y), uint8_t(30 + x + y)};
    });
}

TEST(ImageArithmetic, TheImageItselfAsInputLeavesAddUnchanged) {
    const DibBlock working = Gradient(7, 5);
    for (const int t : {0, 37, 100})
        EXPECT_TRUE(
            SamePixels(Combine(working, working.dib(), Settings(ArithmeticOperation::Add, t)).dib(),
                       working.dib()));
}

TEST(ImageArithmetic, ASmallerInputChangesOnlyTheTopLeftOverlap) {
    const DibBlock working = Gradient(6, 5);
    const DibBlock input = MakeUniformRgb(3, 2, Bgr{1, 2, 3});
    const DibBlock result = Combine(working, input.dib(), Settings(ArithmeticOperation::Add));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(PixelAt(result.dib(), x, y),
                      (x < 3 && y < 2 ? Bgr{1, 2, 3} : PixelAt(working.dib(), x, y)))
                << x << "," << y;
}

TEST(ImageArithmetic, ShiftsMoveTheInputRightAndDown) {
    const DibBlock working = Gradient(6, 5);
    const DibBlock input = MakeRgb(2, 2, [](int x, int y) {
        return Bgr{uint8_t(x), uint8_t(y), 99};
    });
    ArithmeticSettings settings = Settings(ArithmeticOperation::Add);
    settings.xShift = 3;
    settings.yShift = 1;
    DibBlock result = Combine(working, input.dib(), settings);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool covered = x >= 3 && x < 5 && y >= 1 && y < 3;
            EXPECT_EQ(
                PixelAt(result.dib(), x, y),
                (covered ? Bgr{uint8_t(x - 3), uint8_t(y - 1), 99} : PixelAt(working.dib(), x, y)))
                << x << "," << y;
        }

    // A negative shift moves B left and up: its pixel (1, 1) lands on (0, 0).
    settings.xShift = -1;
    settings.yShift = -1;
    result = Combine(working, input.dib(), settings);
    EXPECT_EQ(PixelAt(result.dib(), 0, 0), (Bgr{1, 1, 99}));
    EXPECT_EQ(PixelAt(result.dib(), 1, 0), PixelAt(working.dib(), 1, 0));

    // Shifted off the image: nothing changes.
    settings.xShift = 6;
    EXPECT_TRUE(SamePixels(Combine(working, input.dib(), settings).dib(), working.dib()));
}

TEST(ImageArithmetic, ResultsLargerThanTheCacheGiveTheSameBytes) {
    // Large results are written past the cache; an odd width (rows with
    // padding) and a shift that leaves a margin on every side.
    constexpr int kWidth = 2401, kHeight = 2400;
    const auto a = [](int x, int y) {
        return Bgr{uint8_t(x * 7 + y), uint8_t(x ^ y), uint8_t(x * y + 3)};
    };
    const auto b = [](int x, int y) {
        return Bgr{uint8_t(x + y * 5), uint8_t(x * 3 - y), uint8_t(x * 11 ^ y * 13)};
    };
    const DibBlock working = MakeRgb(kWidth, kHeight, a);
    const DibBlock input = MakeRgb(kWidth - 5, kHeight - 4, b);
    for (const auto& [operation, t] :
         {std::pair{ArithmeticOperation::Sub, 100}, std::pair{ArithmeticOperation::Add, 50}}) {
        ArithmeticSettings settings = Settings(operation, t);
        settings.xShift = 3;
        settings.yShift = 2;
        const DibBlock result = Combine(working, input.dib(), settings);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const Bgr pa = a(x, y);
                const bool covered = x >= 3 && x < kWidth - 2 && y >= 2 && y < kHeight - 2;
                Bgr expected = pa;
                if (covered) {
                    const Bgr pb = b(x - 3, y - 2);
                    const auto value = [&](uint8_t va, uint8_t vb) {
                        return uint8_t(operation == ArithmeticOperation::Sub
                                           ? std::abs(va - vb)
                                           : (va * (100 - t) + vb * t) / 100);
                    };
                    expected = Bgr{value(pa.blue, pb.blue), value(pa.green, pb.green),
                                   value(pa.red, pb.red)};
                }
                ASSERT_EQ(PixelAt(result.dib(), x, y), expected) << x << "," << y;
            }
    }
}

TEST(ImageArithmetic, TheRegionLimitsOnlyWhenItExistsAndIsAskedFor) {
    const DibBlock working = Gradient(4, 3);
    const DibBlock input = MakeUniformRgb(4, 3, Bgr{1, 2, 3});
    ArithmeticSettings settings = Settings(ArithmeticOperation::Add);
    settings.limitToRegion = true;

    const DibBlock empty = MakeGrey(4, 3, [](int, int) { return uint8_t{0}; });
    EXPECT_TRUE(
        SamePixels(Combine(working, input.dib(), settings, empty.dib()).dib(), input.dib()));

    // Only bytes of 255 are selected; 254 is part of the region but unselected.
    const DibBlock mask =
        MakeGrey(4, 3, [](int x, int y) { return uint8_t(y == 1 ? (x == 2 ? 254 : 255) : 0); });
    const DibBlock limited = Combine(working, input.dib(), settings, mask.dib());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(PixelAt(limited.dib(), x, y),
                      (y == 1 && x != 2 ? Bgr{1, 2, 3} : PixelAt(working.dib(), x, y)));

    settings.limitToRegion = false;
    EXPECT_TRUE(SamePixels(Combine(working, input.dib(), settings, mask.dib()).dib(), input.dib()));
}

TEST(ImageArithmetic, MaskAndBlendsTheUnselectedPixelsOnly) {
    const DibBlock working = Gradient(4, 3);
    const DibBlock input = MakeUniformRgb(4, 3, Bgr{110, 120, 130});
    const ArithmeticSettings settings = Settings(ArithmeticOperation::MaskAnd, 50);

    // No region: nothing changes, whether or not the region box is ticked.
    const DibBlock empty = MakeGrey(4, 3, [](int, int) { return uint8_t{0}; });
    EXPECT_TRUE(
        SamePixels(Combine(working, input.dib(), settings, empty.dib()).dib(), working.dib()));
    ArithmeticSettings ticked = settings;
    ticked.limitToRegion = true;
    EXPECT_TRUE(SamePixels(Combine(working, input.dib(), ticked).dib(), working.dib()));

    const DibBlock mask = MakeGrey(4, 3, [](int x, int) { return uint8_t(x < 2 ? 255 : 0); });
    const DibBlock result = Combine(working, input.dib(), settings, mask.dib());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const Bgr a = PixelAt(working.dib(), x, y);
            const Bgr blended{uint8_t((a.blue + 110) / 2), uint8_t((a.green + 120) / 2),
                              uint8_t((a.red + 130) / 2)};
            EXPECT_EQ(PixelAt(result.dib(), x, y), x < 2 ? a : blended) << x << "," << y;
        }
}

TEST(ImageArithmetic, InvalidSettingsOrOperandsTouchNothing) {
    const DibBlock working = Gradient(4, 3);
    DibBlock image = MakeUniformRgb(4, 3, Bgr{7, 7, 7});
    const DibBlock untouched = MakeUniformRgb(4, 3, Bgr{7, 7, 7});
    const DibBlock wrongMask = MakeGrey(3, 3, [](int, int) { return uint8_t{255}; });

    ArithmeticSettings settings = Settings(ArithmeticOperation::Add, 101);
    EXPECT_FALSE(ImageArithmetic(image.dib(), working.dib(), {}, working.dib(), settings));
    settings = Settings(ArithmeticOperation::Add);
    settings.xShift = 1025;
    EXPECT_FALSE(ImageArithmetic(image.dib(), working.dib(), {}, working.dib(), settings));
    settings = Settings(ArithmeticOperation::Add);
    EXPECT_FALSE(
        ImageArithmetic(image.dib(), working.dib(), wrongMask.dib(), working.dib(), settings));
    EXPECT_FALSE(ImageArithmetic(image.dib(), working.dib(), {}, image.dib(), settings));
    EXPECT_FALSE(ImageArithmetic(image.dib(), working.dib(), {}, wrongMask.dib(), settings));
    EXPECT_TRUE(SamePixels(image.dib(), untouched.dib()));
}

// ---- Feature And ----

// A picture from rows of characters: '#' white, '.' black, 'm' the colour
// (126, 127, 128) (red, green, blue), any other a grey.
DibBlock Picture(std::initializer_list<const char*> rows) {
    const auto width = static_cast<int>(std::strlen(*rows.begin()));
    const auto height = static_cast<int>(rows.size());
    return MakeRgb(width, height, [&](int x, int y) {
        switch (rows.begin()[y][x]) {
        case '#':
            return kWhite;
        case '.':
            return kBlack;
        case 'm':
            return Bgr{128, 127, 126};
        default:
            return Bgr{90, 90, 90};
        }
    });
}

void ExpectPicture(const CDibImage& image, std::initializer_list<const char*> rows) {
    const DibBlock expected = Picture(rows);
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            EXPECT_EQ(PixelAt(image, x, y), PixelAt(expected.dib(), x, y)) << x << "," << y;
}

TEST(FeatureAnd, KeepsTheFourConnectedWhiteRegionsThatBTouches) {
    // A U-shaped region (the fill must go up and down), a region touching it
    // only diagonally, and a grey pixel.
    const DibBlock working = Picture({
        "#..#..",
        "#..#..",
        "####.#",
        "....#g",
    });
    const DibBlock input = Picture({
        "......",
        "...#..",
        "......",
        "......",
    });
    const DibBlock result =
        Combine(working, input.dib(), Settings(ArithmeticOperation::FeatureAnd));
    ExpectPicture(result.dib(), {
                                    "#..#..",
                                    "#..#..",
                                    "####..",
                                    "......",
                                });
}

TEST(FeatureAnd, AllBlackInputMakesTheOverlapColumnsBlackInEveryRow) {
    const DibBlock working = Picture({
        "##g##",
        "#g###",
        "##g##",
        "###g#",
    });
    const DibBlock input = MakeUniformRgb(3, 2, kBlack);
    const DibBlock result =
        Combine(working, input.dib(), Settings(ArithmeticOperation::FeatureAnd));
    ExpectPicture(result.dib(), {
                                    "...##",
                                    "...##",
                                    "...##",
                                    "...g#",
                                });
}

TEST(FeatureAnd, PixelsOfTheMarkerColourAreNotMistakenForFilledOnes) {
    // The region filled from B's seed reaches beyond B's columns, where it must
    // stay as it was; a pixel that happens to have the colour (126, 127, 128)
    // is black like every other unfilled pixel.
    const DibBlock working = Picture({
        "m.####",
        "..#..m",
    });
    const DibBlock input = Picture({
        "...#",
    });
    const DibBlock result =
        Combine(working, input.dib(), Settings(ArithmeticOperation::FeatureAnd));
    ExpectPicture(result.dib(), {
                                    "..####",
                                    "..#..m",
                                });
}

TEST(FeatureAnd, TheRegionLimitsSeedsAndConversion) {
    const DibBlock working = Picture({
        "##g##",
        "##g##",
        "##g##",
    });
    const DibBlock input = Picture({
        "#...#",
        ".....",
    });
    // Selected: columns 1..4 of the two overlap rows. The seed of the left
    // region is not selected, so only the right region is kept; unselected
    // pixels and the row below the overlap keep their values.
    const DibBlock mask =
        MakeGrey(5, 3, [](int x, int y) { return uint8_t(x >= 1 && y < 2 ? 255 : 0); });
    ArithmeticSettings settings = Settings(ArithmeticOperation::FeatureAnd);
    settings.limitToRegion = true;
    ExpectPicture(Combine(working, input.dib(), settings, mask.dib()).dib(), {
                                                                                 "#..##",
                                                                                 "#..##",
                                                                                 "##g##",
                                                                             });
    // Without the box every seed counts and all rows of the overlap columns
    // are converted.
    settings.limitToRegion = false;
    ExpectPicture(Combine(working, input.dib(), settings, mask.dib()).dib(), {
                                                                                 "##.##",
                                                                                 "##.##",
                                                                                 "##.##",
                                                                             });
}

} // namespace
} // namespace halvera
