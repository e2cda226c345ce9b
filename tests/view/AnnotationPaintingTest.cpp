#include "MaskArt.h"
#include "PaintTestSupport.h"
#include "SyntheticImages.h"
#include "view/Brush.h"
#include "view/FillMaskEllipse.h"
#include "view/FillMaskPolygon.h"
#include "view/FillShapes.h"
#include "view/FloodFillColor.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace halvera {
namespace {

using testing::Art;
using testing::Bgr;
using testing::BlankMask;
using testing::kWhite;
using testing::MakeRgb;
using testing::MakeUniformRgb;
using testing::PaintArt;
using testing::PixelAt;
using testing::RefOf;

constexpr Bgr kInk{10, 20, 30};

DibBlock White(int width, int height) {
    return MakeUniformRgb(width, height, kWhite);
}

// Bounding box of the pixels of `colour`.
PixelRect PaintedBounds(const CDibImage& image, Bgr colour) {
    PixelRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelAt(image, x, y) == colour)
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                       std::max(box.bottom, y)};
    return box;
}

// Pixels of `colour` as a mask picture, to compare with the mask fills.
std::string PaintedAsMaskArt(const CDibImage& image, Bgr colour) {
    DibBlock mask = BlankMask(image.width(), image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelAt(image, x, y) == colour)
                mask.dib().row(y)[x] = 255;
    return testing::MaskArt(mask.dib());
}

TEST(Brush, ColoursAreWrittenBlueGreenRedFromAColourReference) {
    DibBlock image = White(3, 3);
    StampBrush(PaintCanvas(image.dib(), CDibImage{}, 0x00332211), {1, 1}, 1);
    const Bgr p = PixelAt(image.dib(), 1, 1);
    EXPECT_EQ(p.blue, 0x33);
    EXPECT_EQ(p.green, 0x22);
    EXPECT_EQ(p.red, 0x11);
}

TEST(Brush, SizeOnePaintsSinglePixelsAndSizeEightADiscEightAcross) {
    DibBlock image = White(5, 3);
    const PaintCanvas canvas(image.dib(), CDibImage{}, RefOf(kInk));
    StampBrush(canvas, {1, 1}, 1);
    StampBrush(canvas, {3, 0}, 0); // below 1 counts as 1
    EXPECT_EQ(PaintArt(image.dib(), kInk), Art({"...#.", ".#...", "....."}));

    DibBlock disc = White(20, 20);
    StampBrush(PaintCanvas(disc.dib(), CDibImage{}, RefOf(kInk)), {10, 10}, 8);
    // t = 7: three pixels before the centre, four after it.
    EXPECT_EQ(PaintedBounds(disc.dib(), kInk), (PixelRect{7, 7, 14, 14}));
    DibBlock mask = BlankMask(20, 20);
    FillMaskEllipse(mask.dib(), {7, 7, 14, 14}, 255);
    EXPECT_EQ(PaintedAsMaskArt(disc.dib(), kInk), testing::MaskArt(mask.dib()));
}

TEST(Brush, ADiscAtACornerIsSqueezedIntoTheImageAndOneOutsideIsNotPainted) {
    DibBlock image = White(12, 12);
    const PaintCanvas canvas(image.dib(), CDibImage{}, RefOf(kInk));
    StampBrush(canvas, {0, 0}, 8);
    // The box (-3, -3)..(4, 4) clamped to (0, 0)..(4, 4): a 5 x 5 ellipse.
    DibBlock mask = BlankMask(12, 12);
    FillMaskEllipse(mask.dib(), {0, 0, 4, 4}, 255);
    EXPECT_EQ(PaintedAsMaskArt(image.dib(), kInk), testing::MaskArt(mask.dib()));
    EXPECT_EQ(PaintedBounds(image.dib(), kInk), (PixelRect{0, 0, 4, 4}));

    DibBlock untouched = White(12, 12);
    const PaintCanvas outside(untouched.dib(), CDibImage{}, RefOf(kInk));
    StampBrush(outside, {-1, 5}, 8);
    StampBrush(outside, {5, 12}, 8);
    EXPECT_EQ(PaintedBounds(untouched.dib(), kInk).left, INT32_MAX);
}

// A disc whose box ends exactly on the last row or column is whole; one a
// row or column further is squeezed into the image.
TEST(Brush, ADiscEndingOnTheLastRowOrColumnIsWholeAndOnePastIsSqueezed) {
    const auto painted = [](PixelPoint centre) {
        DibBlock image = White(12, 12);
        StampBrush(PaintCanvas(image.dib(), CDibImage{}, RefOf(kInk)), centre, 8);
        return PaintedAsMaskArt(image.dib(), kInk);
    };
    const auto ellipse = [](PixelRect box) {
        DibBlock mask = BlankMask(12, 12);
        FillMaskEllipse(mask.dib(), box, 255);
        return testing::MaskArt(mask.dib());
    };
    // Size 8 reaches three pixels before the centre and four after it.
    EXPECT_EQ(painted({5, 7}), ellipse({2, 4, 9, 11}));  // ends on the last row
    EXPECT_EQ(painted({7, 5}), ellipse({4, 2, 11, 9}));  // ends on the last column
    EXPECT_EQ(painted({7, 7}), ellipse({4, 4, 11, 11})); // both
    EXPECT_EQ(painted({5, 8}), ellipse({2, 5, 9, 11}));  // one row past: squeezed
    EXPECT_EQ(painted({8, 5}), ellipse({5, 2, 11, 9}));  // one column past: squeezed
}

TEST(Brush, AStrokeStampsEveryBresenhamPointUpToTheEnd) {
    DibBlock image = White(6, 3);
    StrokeLine(PaintCanvas(image.dib(), CDibImage{}, RefOf(kInk)), {0, 0}, {5, 2}, 1);
    EXPECT_EQ(PaintArt(image.dib(), kInk), Art({"##....", "..##..", "....##"}));

    DibBlock steep = White(3, 5);
    StrokeLine(PaintCanvas(steep.dib(), CDibImage{}, RefOf(kInk)), {2, 4}, {0, 0}, 1);
    EXPECT_EQ(PaintArt(steep.dib(), kInk), Art({"#..", ".#.", ".#.", "..#", "..#"}));

    DibBlock dot = White(3, 3);
    StrokeLine(PaintCanvas(dot.dib(), CDibImage{}, RefOf(kInk)), {1, 1}, {1, 1}, 1);
    EXPECT_EQ(PaintArt(dot.dib(), kInk), Art({"...", ".#.", "..."}));
}

TEST(Brush, AThickStrokeIsTheUnionOfItsDiscsInsideAndAtTheBorder) {
    // Size 5 along row 2 from x = 1 to x = 12 in a 14-wide image: the discs
    // at both ends are squeezed, those between are whole.
    DibBlock image = White(14, 7);
    StrokeLine(PaintCanvas(image.dib(), CDibImage{}, RefOf(kInk)), {1, 2}, {12, 2}, 5);
    DibBlock mask = BlankMask(14, 7);
    for (int x = 1; x <= 12; ++x)
        FillMaskEllipse(mask.dib(), {std::max(x - 2, 0), 0, std::min(x + 2, 13), 4}, 255);
    EXPECT_EQ(PaintedAsMaskArt(image.dib(), kInk), testing::MaskArt(mask.dib()));
}

TEST(Brush, OutlinesOfRectanglesEllipsesAndPolygons) {
    DibBlock rect = White(5, 4);
    StrokeRectangle(PaintCanvas(rect.dib(), CDibImage{}, RefOf(kInk)), {3, 2, 0, 0}, 1);
    EXPECT_EQ(PaintArt(rect.dib(), kInk), Art({"####.", "#..#.", "####.", "....."}));

    DibBlock ellipse = White(9, 7);
    StrokeEllipse(PaintCanvas(ellipse.dib(), CDibImage{}, RefOf(kInk)), {0, 0, 8, 6}, 1);
    DibBlock filled = BlankMask(9, 7);
    FillMaskEllipse(filled.dib(), {0, 0, 8, 6}, 255);
    // Every outline pixel lies on the filled ellipse's border.
    const std::string outline = PaintedAsMaskArt(ellipse.dib(), kInk);
    const std::string inside = testing::MaskArt(filled.dib());
    for (size_t i = 0; i < outline.size(); ++i) {
        if (outline[i] == '#') {
            EXPECT_EQ(inside[i], '#') << i;
        }
    }
    EXPECT_EQ(PixelAt(ellipse.dib(), 4, 0), kInk);
    EXPECT_EQ(PixelAt(ellipse.dib(), 0, 3), kInk);
    EXPECT_EQ(PixelAt(ellipse.dib(), 4, 3), kWhite);

    DibBlock triangle = White(5, 5);
    const std::vector<PixelPoint> corners{{0, 0}, {4, 0}, {0, 4}};
    StrokePolygon(PaintCanvas(triangle.dib(), CDibImage{}, RefOf(kInk)), corners, 1);
    EXPECT_EQ(PaintArt(triangle.dib(), kInk), Art({"#####", "#..#.", "#.#..", "##...", "#...."}));

    // One vertex paints nothing.
    DibBlock single = White(3, 3);
    const std::vector<PixelPoint> one{{1, 1}};
    StrokePolygon(PaintCanvas(single.dib(), CDibImage{}, RefOf(kInk)), one, 3);
    EXPECT_EQ(PaintArt(single.dib(), kInk), Art({"...", "...", "..."}));
}

TEST(FillShapes, SolidShapesCoverTheMaskFillsPixelsAndAreClippedToTheImage) {
    DibBlock rect = White(4, 3);
    FillRectColor(PaintCanvas(rect.dib(), CDibImage{}, RefOf(kInk)), {2, 5, -3, 1});
    EXPECT_EQ(PaintArt(rect.dib(), kInk), Art({"....", "###.", "###."}));

    DibBlock ellipse = White(12, 9);
    FillEllipseColor(PaintCanvas(ellipse.dib(), CDibImage{}, RefOf(kInk)), {-3, 1, 10, 12});
    DibBlock ellipseMask = BlankMask(12, 9);
    FillMaskEllipse(ellipseMask.dib(), {-3, 1, 10, 12}, 255);
    EXPECT_EQ(PaintedAsMaskArt(ellipse.dib(), kInk), testing::MaskArt(ellipseMask.dib()));

    const std::vector<PixelPoint> star{{5, -2}, {11, 9}, {-1, 4}, {12, 3}, {0, 10}};
    DibBlock polygon = White(10, 8);
    EXPECT_EQ(FillPolygonColor(PaintCanvas(polygon.dib(), CDibImage{}, RefOf(kInk)), star), 1);
    DibBlock polygonMask = BlankMask(10, 8);
    FillMaskPolygon(polygonMask.dib(), star, 255);
    EXPECT_EQ(PaintedAsMaskArt(polygon.dib(), kInk), testing::MaskArt(polygonMask.dib()));

    const std::vector<PixelPoint> flat{{0, 1}, {5, 1}};
    EXPECT_EQ(FillPolygonColor(PaintCanvas(polygon.dib(), CDibImage{}, RefOf(kInk)), flat), 0);
}

// Every painting operation, for the region test below.
const std::vector<std::function<void(const CDibImage&, const CDibImage&)>>& AllPainters() {
    static const std::vector<std::function<void(const CDibImage&, const CDibImage&)>> painters{
        [](const CDibImage& im, const CDibImage& m) {
            StampBrush(PaintCanvas(im, m, RefOf(kInk)), {8, 8}, 12);
        },
        [](const CDibImage& im, const CDibImage& m) {
            StrokeLine(PaintCanvas(im, m, RefOf(kInk)), {0, 3}, {15, 12}, 5);
        },
        [](const CDibImage& im, const CDibImage& m) {
            StrokeRectangle(PaintCanvas(im, m, RefOf(kInk)), {2, 2, 13, 13}, 3);
        },
        [](const CDibImage& im, const CDibImage& m) {
            StrokeEllipse(PaintCanvas(im, m, RefOf(kInk)), {1, 1, 14, 14}, 3);
        },
        [](const CDibImage& im, const CDibImage& m) {
            FillRectColor(PaintCanvas(im, m, RefOf(kInk)), {0, 0, 15, 15});
        },
        [](const CDibImage& im, const CDibImage& m) {
            FillEllipseColor(PaintCanvas(im, m, RefOf(kInk)), {0, 0, 15, 15});
        },
        [](const CDibImage& im, const CDibImage& m) {
            const std::vector<PixelPoint> p{{0, 0}, {15, 2}, {8, 15}};
            FillPolygonColor(PaintCanvas(im, m, RefOf(kInk)), p);
        },
        [](const CDibImage& im, const CDibImage& m) {
            FloodFillColor(im, RegionOfInterest(m), {6, 6}, RefOf(kInk), 100);
        },
    };
    return painters;
}

TEST(AnnotationPainting, WithASelectionOnlySelectedPixelsChange) {
    // A diagonal band selected; a few bytes that are neither 0 nor 255.
    DibBlock mask = testing::MakeGrey(16, 16, [](int x, int y) -> uint8_t {
        if (std::abs(x - y) <= 3)
            return 255;
        return (x + y) % 7 == 0 ? 128 : 0;
    });
    const auto grey = [](int x, int y) {
        const auto v = static_cast<uint8_t>(100 + (x * 7 + y * 3) % 50);
        return Bgr{v, v, v};
    };
    for (size_t i = 0; i < AllPainters().size(); ++i) {
        DibBlock image = MakeRgb(16, 16, grey);
        AllPainters()[i](image.dib(), mask.dib());
        int changed = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                if (mask.dib().row(y)[x] == 255)
                    changed += PixelAt(image.dib(), x, y) == kInk;
                else
                    EXPECT_EQ(PixelAt(image.dib(), x, y), grey(x, y))
                        << i << " at " << x << "," << y;
            }
        }
        EXPECT_GT(changed, 0) << i;
    }
}

TEST(FloodFillColor, ToleranceZeroTakesOnlyTheSeedColourAndHundredItsRange) {
    // Seed (200, 200, 200); columns 1..4 hold 100, 99, 255 and 200 with one
    // channel off.
    const Bgr seed{200, 200, 200};
    const Bgr row[] = {seed, {100, 100, 100}, {99, 200, 200}, {255, 255, 255}, {200, 201, 200}};
    const auto make = [&] {
        return MakeRgb(5, 1, [&](int x, int) { return row[x]; });
    };

    DibBlock exact = make();
    EXPECT_EQ(FloodFillColor(exact.dib(), RegionOfInterest(CDibImage{}), {0, 0}, RefOf(kInk), 0),
              1);
    EXPECT_EQ(PixelAt(exact.dib(), 0, 0), kInk);
    EXPECT_EQ(PixelAt(exact.dib(), 1, 0), row[1]);

    // All three channels must lie in 100..255: the 99 stops the run.
    DibBlock wide = MakeRgb(5, 1, [&](int x, int) {
        const Bgr order[] = {seed, {100, 100, 100}, {255, 255, 255}, {99, 200, 200}, seed};
        return order[x];
    });
    EXPECT_EQ(FloodFillColor(wide.dib(), RegionOfInterest(CDibImage{}), {0, 0}, RefOf(kInk), 100),
              1);
    EXPECT_EQ(PaintArt(wide.dib(), kInk), "###??");
}

TEST(FloodFillColor, DiagonalNeighboursJoinAndTheRangesDoNotDrift) {
    // A staircase of greys, each step 10 apart: with tolerance 15 only the
    // seed's neighbours in value join, not the whole ramp.
    DibBlock ramp = MakeRgb(6, 1, [](int x, int) {
        const auto v = static_cast<uint8_t>(100 + 10 * x);
        return Bgr{v, v, v};
    });
    FloodFillColor(ramp.dib(), RegionOfInterest(CDibImage{}), {0, 0}, RefOf(kInk), 15);
    EXPECT_EQ(PaintArt(ramp.dib(), kInk), "##????");

    DibBlock diagonal = MakeRgb(3, 3, [](int x, int y) { return x == y ? Bgr{0, 0, 0} : kWhite; });
    FloodFillColor(diagonal.dib(), RegionOfInterest(CDibImage{}), {0, 0}, RefOf(kInk), 0);
    EXPECT_EQ(PaintArt(diagonal.dib(), kInk), Art({"#..", ".#.", "..#"}));

    // Both diagonals through the seed: each arm's end is reached only through
    // its own diagonal step, up-left, up-right, down-left and down-right.
    DibBlock cross = MakeRgb(5, 5, [](int x, int y) {
        return x == y || x + y == 4 ? Bgr{0, 0, 0} : kWhite;
    });
    FloodFillColor(cross.dib(), RegionOfInterest(CDibImage{}), {2, 2}, RefOf(kInk), 0);
    EXPECT_EQ(PaintArt(cross.dib(), kInk), Art({"#...#", ".#.#.", "..#..", ".#.#.", "#...#"}));
}

TEST(FloodFillColor, RefusesASeedOfTheFillColourOrOutsideTheSelection) {
    DibBlock image = White(4, 4);
    const RegionOfInterest none{CDibImage{}};
    EXPECT_EQ(FloodFillColor(image.dib(), none, {1, 1}, RefOf(kWhite), 30), 0);
    EXPECT_EQ(FloodFillColor(image.dib(), none, {4, 1}, RefOf(kInk), 30), 0);
    DibBlock mask = BlankMask(4, 4);
    mask.dib().row(0)[0] = 255;
    EXPECT_EQ(FloodFillColor(image.dib(), RegionOfInterest(mask.dib()), {1, 1}, RefOf(kInk), 30),
              0);
    EXPECT_EQ(PaintArt(image.dib(), kInk), Art({"....", "....", "....", "...."}));
    EXPECT_EQ(FloodFillColor(image.dib(), RegionOfInterest(mask.dib()), {0, 0}, RefOf(kInk), 30),
              1);
    EXPECT_EQ(PaintArt(image.dib(), kInk), Art({"#...", "....", "....", "...."}));
}

TEST(FloodFillColor, LongThinImagesAndALargeCheckerboardFillWithoutRecursion) {
    DibBlock wide = White(30000, 1);
    ASSERT_EQ(FloodFillColor(wide.dib(), RegionOfInterest(CDibImage{}), {0, 0}, RefOf(kInk), 0), 1);
    EXPECT_EQ(PixelAt(wide.dib(), 29999, 0), kInk);

    DibBlock tall = White(1, 30000);
    ASSERT_EQ(FloodFillColor(tall.dib(), RegionOfInterest(CDibImage{}), {0, 29999}, RefOf(kInk), 0),
              1);
    EXPECT_EQ(PixelAt(tall.dib(), 0, 0), kInk);

    // Black squares touch only at corners: all of them are one piece.
    constexpr int kSide = 4096;
    DibBlock board = MakeRgb(kSide, kSide, [](int x, int y) {
        return (x + y) % 2 == 0 ? Bgr{0, 0, 0} : kWhite;
    });
    ASSERT_EQ(FloodFillColor(board.dib(), RegionOfInterest(CDibImage{}), {0, 0}, RefOf(kInk), 0),
              1);
    int64_t filled = 0;
    for (int y = 0; y < kSide; ++y) {
        const uint8_t* p = board.dib().row(y);
        for (int x = 0; x < kSide; ++x, p += 3)
            filled += p[0] == kInk.blue && p[1] == kInk.green && p[2] == kInk.red;
    }
    EXPECT_EQ(filled, int64_t{kSide} * kSide / 2);
}

} // namespace
} // namespace halvera
