#include "SyntheticImages.h"
#include "processing/ApplyReference.h"
#include "processing/ShadeCorrectMorphological.h"
#include "processing/ShadeCorrectPolynomial.h"
#include "processing/ShadeTables.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

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

bool AllPixels(const CDibImage& image, Bgr colour) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelAt(image, x, y) != colour)
                return false;
    return true;
}

// ---- morphological background ----

bool CorrectMorphological(const DibBlock& image, int size) {
    return size == 7 ? ShadeCorrectMorphological(image.dib(), kShadeElement7, kShadeSmoothing7)
                     : ShadeCorrectMorphological(image.dib(), kShadeElement9, kShadeSmoothing9);
}

TEST(ShadeCorrectMorphological, UniformGreyTurnsWhite) {
    for (const int size : {7, 9}) {
        DibBlock image = MakeUniformRgb(23, 11, Bgr{100, 100, 100});
        ASSERT_TRUE(CorrectMorphological(image, size));
        EXPECT_TRUE(AllPixels(image.dib(), kWhite)) << size;
    }
}

TEST(ShadeCorrectMorphological, ABlackBackgroundGivesWhite) {
    for (const int size : {7, 9}) {
        DibBlock image = MakeUniformRgb(9, 6, kBlack);
        ASSERT_TRUE(CorrectMorphological(image, size));
        EXPECT_TRUE(AllPixels(image.dib(), kWhite)) << size;
    }
}

// A black pixel becomes black when some background in its smoothing window is
// bright, and white when the whole window is black: around one bright pixel
// the black pixels trace the element grown by the smoothing box.
TEST(ShadeCorrectMorphological, OneBrightPixelReachesAsFarAsTheElementAndTheBox) {
    // Element 7 rows have half-widths 1 2 3 3 3 2 1; the 3 x 3 box adds 1 in
    // each direction, giving half-widths 2 3 4 4 4 4 4 3 2 for rows -4..4.
    const int reach7[9] = {2, 3, 4, 4, 4, 4, 4, 3, 2};
    // Element 9 (2 3 4 4 4 4 4 3 2) grown by the 5 x 5 box: rows -6..6.
    const int reach9[13] = {4, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6, 5, 4};
    for (const int size : {7, 9}) {
        const int radius = size == 7 ? 4 : 6;
        const int* reach = size == 7 ? reach7 : reach9;
        DibBlock image = MakeUniformRgb(31, 31, kBlack);
        testing::SetPixel(image.dib(), 15, 15, Bgr{100, 100, 100});
        ASSERT_TRUE(CorrectMorphological(image, size));
        for (int y = 0; y < 31; ++y)
            for (int x = 0; x < 31; ++x) {
                const int dy = y - 15;
                const bool near = std::abs(dy) <= radius && std::abs(x - 15) <= reach[dy + radius];
                const Bgr expected = x == 15 && y == 15 ? PixelAt(image.dib(), 15, 15)
                                     : near             ? kBlack
                                                        : kWhite;
                EXPECT_EQ(PixelAt(image.dib(), x, y), expected) << size << ": " << x << "," << y;
            }
    }
}

TEST(ShadeCorrectMorphological, DividesByTheMeanOfTheClippedWindow) {
    // One row of dark pixels (9, 0, 0), luminance 0, with luminance 100 at
    // x = 10 and 90 at x = 19. Only the element's middle row (half-width 3)
    // lies inside the image, so the background is 100 at x = 7..13, 90 at
    // x = 16..20 and 0 elsewhere; then the 3-wide means, clipped at the end.
    DibBlock image = MakeRgb(21, 1, [](int x, int) {
        return x == 10 ? Bgr{100, 100, 100} : x == 19 ? Bgr{90, 90, 90} : Bgr{9, 0, 0};
    });
    ASSERT_TRUE(CorrectMorphological(image, 7));
    const auto dark = [](int mean) {
        return Bgr{uint8_t(9 * 255 / mean), 0, 0};
    };
    EXPECT_EQ(PixelAt(image.dib(), 5, 0), kWhite);    // mean 0
    EXPECT_EQ(PixelAt(image.dib(), 6, 0), dark(33));  // 100 div 3
    EXPECT_EQ(PixelAt(image.dib(), 7, 0), dark(66));  // 200 div 3
    EXPECT_EQ(PixelAt(image.dib(), 10, 0), kWhite);   // 100 * 255 div 100
    EXPECT_EQ(PixelAt(image.dib(), 14, 0), dark(33)); // 100 div 3
    EXPECT_EQ(PixelAt(image.dib(), 15, 0), dark(30)); // 90 div 3
    EXPECT_EQ(PixelAt(image.dib(), 20, 0), dark(90)); // 180 div 2: two pixels in the window
}

// The direct definition: 69 or 37 look-ups per pixel, then the box mean.
std::vector<uint8_t> NaiveBackground(const CDibImage& image, std::span<const int> halfWidths,
                                     int smoothing) {
    const int width = image.width(), height = image.height;
    const int centre = static_cast<int>(halfWidths.size()) / 2;
    auto luminance = [&](int x, int y) {
        const Bgr p = PixelAt(image, x, y);
        return (30 * p.red + 59 * p.green + 11 * p.blue) / 100;
    };
    std::vector<int> dilated(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int m = 0;
            for (int r = 0; r < static_cast<int>(halfWidths.size()); ++r)
                for (int c = -halfWidths[r]; c <= halfWidths[r]; ++c) {
                    const int sx = x + c, sy = y + r - centre;
                    if (sx >= 0 && sx < width && sy >= 0 && sy < height)
                        m = std::max(m, luminance(sx, sy));
                }
            dilated[y * width + x] = m;
        }
    std::vector<uint8_t> smoothed(dilated.size());
    const int k = smoothing / 2;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int sum = 0, count = 0;
            for (int sy = y - k; sy <= y + k; ++sy)
                for (int sx = x - k; sx <= x + k; ++sx)
                    if (sx >= 0 && sx < width && sy >= 0 && sy < height) {
                        sum += dilated[sy * width + sx];
                        ++count;
                    }
            smoothed[y * width + x] = static_cast<uint8_t>(sum / count);
        }
    return smoothed;
}

TEST(ShadeCorrectMorphological, EqualsTheDirectDefinitionOnNoise) {
    uint32_t state = 99;
    auto noise = [&state]() {
        state = state * 1664525u + 1013904223u;
        return static_cast<uint8_t>(state >> 24);
    };
    for (const int size : {7, 9}) {
        for (const auto& [width, height] : {std::pair{37, 23}, std::pair{1, 9}, std::pair{5, 1}}) {
            const DibBlock original = MakeRgb(width, height, [&](int, int) {
                return Bgr{noise(), noise(), noise()};
            });
            DibBlock image =
                MakeRgb(width, height, [&](int x, int y) { return PixelAt(original.dib(), x, y); });
            const std::span<const int> element = size == 7 ? std::span<const int>(kShadeElement7)
                                                           : std::span<const int>(kShadeElement9);
            const std::vector<uint8_t> background =
                NaiveBackground(original.dib(), element, size == 7 ? 3 : 5);
            ASSERT_TRUE(CorrectMorphological(image, size));
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const int g = background[y * width + x];
                    const Bgr v = PixelAt(original.dib(), x, y);
                    auto divide = [g](int c) {
                        return uint8_t(g == 0 ? 255 : std::min(255, c * 255 / g));
                    };
                    ASSERT_EQ(PixelAt(image.dib(), x, y),
                              (Bgr{divide(v.blue), divide(v.green), divide(v.red)}))
                        << size << " " << width << "x" << height << ": " << x << "," << y;
                }
        }
    }
}

TEST(ShadeCorrectMorphological, RefusesBadElementsAndNonColourImages) {
    DibBlock image = MakeUniformRgb(4, 4, Bgr{50, 50, 50});
    const int even[2] = {1, 1};
    EXPECT_FALSE(ShadeCorrectMorphological(image.dib(), even, 3));
    EXPECT_FALSE(ShadeCorrectMorphological(image.dib(), kShadeElement7, 4));
    const DibBlock grey = MakeGrey(4, 4, [](int, int) { return uint8_t{9}; });
    EXPECT_FALSE(ShadeCorrectMorphological(grey.dib(), kShadeElement7, 3));
    EXPECT_TRUE(AllPixels(image.dib(), Bgr{50, 50, 50}));
}

// ---- polynomial background ----

TEST(ShadeCorrectPolynomial, UniformGreyTurnsWhite) {
    for (const auto& [width, height] : {std::pair{64, 64}, std::pair{130, 70}}) {
        DibBlock image = MakeUniformRgb(width, height, Bgr{90, 90, 90});
        ASSERT_EQ(ShadeCorrectPolynomial(image.dib()), PolynomialShadeResult::Corrected);
        EXPECT_TRUE(AllPixels(image.dib(), kWhite)) << width;
    }
}

TEST(ShadeCorrectPolynomial, FlattensAVignettedField) {
    // A field 200 bright in the middle falling to about 110 in the corners:
    // a quadratic surface, which the fit follows to within a grey level.
    const int width = 640, height = 480;
    DibBlock image = MakeRgb(width, height, [](int x, int y) {
        const double dx = x - 320.0, dy = y - 240.0;
        const auto v = static_cast<uint8_t>(200.0 - (dx * dx + dy * dy) / 1780.0);
        return Bgr{v, v, v};
    });
    ASSERT_EQ(ShadeCorrectPolynomial(image.dib()), PolynomialShadeResult::Corrected);
    for (int y = 0; y < height; y += 3)
        for (int x = 0; x < width; x += 3)
            ASSERT_GE(PixelAt(image.dib(), x, y).green, 250) << x << "," << y;
}

TEST(ShadeCorrectPolynomial, ABackgroundAtOrBelowZeroGivesWhite) {
    // Grey 4x on a 64 x 64 image: the surface is z = 4x, so column 0, where
    // it is 0, turns white; everywhere else v div (surface) is 1 or more.
    DibBlock image = MakeRgb(64, 64, [](int x, int) {
        const auto v = static_cast<uint8_t>(4 * x);
        return Bgr{v, v, v};
    });
    ASSERT_EQ(ShadeCorrectPolynomial(image.dib()), PolynomialShadeResult::Corrected);
    EXPECT_TRUE(AllPixels(image.dib(), kWhite));
}

TEST(ShadeCorrectPolynomial, DarkSamplesFarFromTheSurfaceAreDropped) {
    // A dark quarter pulls the first fit down; the two outlier passes drop its
    // samples, so the final surface is the bright level 200 and the dark pixels
    // become 40 * 255 div 200 = 51 (div 199 gives 51 as well, whichever side
    // of 200 the rounding of the fit lands).
    DibBlock image = MakeRgb(64, 64, [](int x, int y) {
        return x < 16 && y < 16 ? Bgr{40, 40, 40} : Bgr{200, 200, 200};
    });
    ASSERT_EQ(ShadeCorrectPolynomial(image.dib()), PolynomialShadeResult::Corrected);
    EXPECT_TRUE(AllPixels(image.dib(), kWhite) == false);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(PixelAt(image.dib(), x, y), (x < 16 && y < 16 ? Bgr{51, 51, 51} : kWhite))
                << x << "," << y;
}

TEST(ShadeCorrectPolynomial, AnImageWithoutAFitIsLeftUnchanged) {
    const auto gradient = [](int x, int y) {
        return Bgr{uint8_t(x), uint8_t(y), 60};
    };
    // Narrower than 64 pixels: every cell is empty and every sample is (0, 0, 0).
    // A black image samples (0, 0, 0) too. Samples in one column besides the
    // empty cells' (0, 0) take only two values of x, which fix no x^2 term.
    DibBlock narrow = MakeRgb(63, 100, gradient);
    DibBlock shallow = MakeRgb(200, 40, gradient);
    DibBlock black = MakeUniformRgb(128, 128, kBlack);
    DibBlock oneColumn = MakeRgb(64, 64, [](int x, int) {
        return x == 5 ? Bgr{100, 100, 100} : kBlack;
    });
    for (DibBlock* image : {&narrow, &shallow, &black, &oneColumn}) {
        const DibBlock before = MakeRgb(image->width(), image->height(),
                                        [&](int x, int y) { return PixelAt(image->dib(), x, y); });
        EXPECT_EQ(ShadeCorrectPolynomial(image->dib()), PolynomialShadeResult::NoBackgroundFit);
        EXPECT_TRUE(SamePixels(image->dib(), before.dib()));
    }
}

// ---- division helpers ----

TEST(ExactDivisor, MatchesIntegerDivisionForSixteenBitOperands) {
    for (uint32_t d = 1; d < 70000; d = d < 700 ? d + 1 : d * 3 / 2) {
        const ExactDivisor divisor(std::min<uint32_t>(d, 65535));
        const uint32_t dd = std::min<uint32_t>(d, 65535);
        for (uint32_t n = 0; n < 65536; n += (d < 700 ? 1 : 7))
            ASSERT_EQ(divisor.divide(n), n / dd) << n << "/" << dd;
        ASSERT_EQ(divisor.divide(65535), 65535 / dd);
    }
}

// ---- reference division ----

TEST(ApplyReference, AnIdenticalReferenceAtLevel128Gives128Or255) {
    const DibBlock working = MakeRgb(5, 3, [](int x, int y) {
        return Bgr{uint8_t(x * 50), uint8_t(y * 100 + 1), uint8_t(x == 2 ? 0 : 9)};
    });
    DibBlock image = MakeUniformRgb(5, 3, kBlack);
    ASSERT_TRUE(ApplyReference(image.dib(), working.dib(), working.dib(), {}, 128, false));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const Bgr p = PixelAt(image.dib(), x, y);
            EXPECT_EQ(p.blue, x == 0 ? 255 : 128);
            EXPECT_EQ(p.green, 128);
            EXPECT_EQ(p.red, x == 2 ? 255 : 128);
        }
}

TEST(ApplyReference, ScalesByTheLevelAndCaps) {
    const DibBlock working = MakeUniformRgb(2, 2, Bgr{100, 200, 7});
    const DibBlock reference = MakeUniformRgb(2, 2, Bgr{200, 50, 3});
    DibBlock image = MakeUniformRgb(2, 2, kBlack);
    // 100 * 255 div 200 = 127; 200 * 255 div 50 = 1020 -> 255; 7 * 255 div 3 = 595 -> 255.
    ASSERT_TRUE(ApplyReference(image.dib(), working.dib(), reference.dib(), {}, 255, false));
    EXPECT_TRUE(AllPixels(image.dib(), Bgr{127, 255, 255}));
    // Level 0 makes every channel with a non-zero reference black.
    ASSERT_TRUE(ApplyReference(image.dib(), working.dib(), reference.dib(), {}, 0, false));
    EXPECT_TRUE(AllPixels(image.dib(), kBlack));
}

TEST(ApplyReference, TheRegionLimitsWhenAskedAndOthersGetTheWorkingCopy) {
    const DibBlock working = MakeUniformRgb(3, 2, Bgr{50, 60, 70});
    const DibBlock reference = MakeUniformRgb(3, 2, Bgr{100, 120, 140});
    const DibBlock mask = MakeGrey(3, 2, [](int x, int) { return uint8_t(x == 1 ? 255 : 0); });
    DibBlock image = MakeUniformRgb(3, 2, kWhite);
    ASSERT_TRUE(ApplyReference(image.dib(), working.dib(), reference.dib(), mask.dib(), 200, true));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(PixelAt(image.dib(), x, y), (x == 1 ? Bgr{100, 100, 100} : Bgr{50, 60, 70}));
    // The box off: every pixel is computed again.
    ASSERT_TRUE(
        ApplyReference(image.dib(), working.dib(), reference.dib(), mask.dib(), 200, false));
    EXPECT_TRUE(AllPixels(image.dib(), Bgr{100, 100, 100}));
}

TEST(ApplyReference, RefusesAReferenceOfAnotherSize) {
    const DibBlock working = MakeUniformRgb(3, 2, Bgr{50, 60, 70});
    const DibBlock reference = MakeUniformRgb(2, 3, Bgr{100, 120, 140});
    DibBlock image = MakeUniformRgb(3, 2, kWhite);
    EXPECT_FALSE(ApplyReference(image.dib(), working.dib(), reference.dib(), {}, 128, false));
    EXPECT_FALSE(ApplyReference(image.dib(), working.dib(), working.dib(), {}, 256, false));
    EXPECT_TRUE(AllPixels(image.dib(), kWhite));
}

} // namespace
} // namespace halvera
