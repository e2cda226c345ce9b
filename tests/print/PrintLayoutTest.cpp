#include "print/PrintLayout.h"

#include "print/PrintRatios.h"
#include "print/TitlePlacement.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

constexpr MillimetresPerPixel kUncalibrated{1.0, 1.0};

// A 300 x 150 image on A4 less 5 mm margins (200 x 287 mm = 600 x 861 units).
PrintLayout A4Layout(MillimetresPerPixel perPixel = kUncalibrated) {
    PrintLayout layout(300, 150, perPixel);
    layout.SetPaperMillimetres(200, 287);
    return layout;
}

TEST(PrintLayout, OpensAtAThirdOfTheImageSizeInUnits) {
    const PrintLayout layout = A4Layout();
    EXPECT_EQ(layout.imageRect(), (LayoutRect{0, 0, 100, 50}));
    const auto fields = layout.Fields();
    EXPECT_EQ(fields[0], "0.000");
    EXPECT_EQ(fields[1], "0.000");
    EXPECT_EQ(fields[2], "33.333");
    EXPECT_EQ(fields[3], "16.667");
}

TEST(PrintLayout, PaperIsThreeUnitsPerMillimetreAndKeepsItsSizeForNonPositiveMillimetres) {
    PrintLayout layout(300, 150, kUncalibrated);
    EXPECT_EQ(layout.paperWidth(), 100);
    EXPECT_EQ(layout.paperHeight(), 100);
    layout.SetPaperMillimetres(0, 287);
    EXPECT_EQ(layout.paperWidth(), 100);
    layout.SetPaperMillimetres(200, 287);
    EXPECT_EQ(layout.paperWidth(), 600);
    EXPECT_EQ(layout.paperHeight(), 861);
}

TEST(PrintLayout, MillimetresPerPixelUseTheUnitFactors) {
    EXPECT_DOUBLE_EQ(UnitMillimetres(0), 0.001);
    EXPECT_DOUBLE_EQ(UnitMillimetres(1), 1.0);
    EXPECT_DOUBLE_EQ(UnitMillimetres(2), 10.0);
    EXPECT_DOUBLE_EQ(UnitMillimetres(3), 100.0);
    EXPECT_DOUBLE_EQ(UnitMillimetres(4), 25.4);
    EXPECT_DOUBLE_EQ(UnitMillimetres(5), 0.001);
    EXPECT_DOUBLE_EQ(UnitMillimetres(-1), 0.001);

    const MillimetresPerPixel inch = MillimetresPerPixelOf(4, 1.0, 2.0, 10, 10);
    EXPECT_DOUBLE_EQ(inch.x, 2.54);
    EXPECT_DOUBLE_EQ(inch.y, 5.08);
    const MillimetresPerPixel unusable = MillimetresPerPixelOf(1, 10.0, 10.0, 0, 100);
    EXPECT_DOUBLE_EQ(unusable.x, 1.0);
    EXPECT_DOUBLE_EQ(unusable.y, 1.0);
}

TEST(PrintLayout, RealRatioFollowsTheCalibration) {
    // The default calibration: 100 um over 100 pixels.
    PrintLayout micrometres = A4Layout(MillimetresPerPixelOf(0, 100.0, 100.0, 100, 100));
    EXPECT_TRUE(micrometres.ApplyRatio(1.0));
    EXPECT_EQ(micrometres.imageRect(), (LayoutRect{0, 0, 0, 0}));

    PrintLayout millimetres = A4Layout(MillimetresPerPixelOf(1, 10.0, 10.0, 100, 100));
    EXPECT_TRUE(millimetres.ApplyRatio(2.0));
    EXPECT_EQ(millimetres.imageRect(), (LayoutRect{0, 0, 180, 90}));
    EXPECT_EQ(millimetres.Fields()[2], "60.000");
    EXPECT_EQ(millimetres.Fields()[3], "30.000");

    // Each side by its own axis' scale: 0.1 mm per pixel across, 0.4 down.
    PrintLayout unequal = A4Layout(MillimetresPerPixelOf(1, 10.0, 40.0, 100, 100));
    EXPECT_TRUE(unequal.ApplyRatio(1.0));
    EXPECT_EQ(unequal.Fields()[2], "30.000"); // 300 pixels
    EXPECT_EQ(unequal.Fields()[3], "60.000"); // 150 pixels
    PrintLayout unequalPixels = A4Layout(MillimetresPerPixelOf(1, 10.0, 10.0, 100, 50));
    EXPECT_TRUE(unequalPixels.ApplyRatio(1.0));
    EXPECT_EQ(unequalPixels.imageRect(), (LayoutRect{0, 0, 90, 90}));
}

TEST(PrintLayout, ARatioTooLargeIsRefusedButKeepsItsSize) {
    PrintLayout layout = A4Layout(MillimetresPerPixelOf(1, 10.0, 10.0, 100, 100));
    EXPECT_FALSE(layout.ApplyRatio(10.0)); // 300 mm across 200 mm of paper
    EXPECT_EQ(layout.imageRect(), (LayoutRect{0, 0, 900, 450}));
    // Exactly as wide as the paper still fits.
    PrintLayout fits(200, 100, kUncalibrated);
    fits.SetPaperMillimetres(200, 287);
    EXPECT_TRUE(fits.ApplyRatio(1.0));
    EXPECT_EQ(fits.imageRect().right, 600);
    // An absurd ratio on a huge calibration saturates instead of overflowing.
    PrintLayout huge = A4Layout(MillimetresPerPixelOf(4, 2000.0, 2000.0, 1, 1));
    EXPECT_FALSE(huge.ApplyRatio(1000.0));
    EXPECT_GT(huge.imageRect().right, 600);
}

TEST(PrintLayout, CentringKeepsTheSize) {
    PrintLayout layout = A4Layout();
    layout.SetImageRect({10, 20, 111, 70});
    layout.CenterX();
    EXPECT_EQ(layout.imageRect(), (LayoutRect{249, 20, 350, 70}));
    layout.CenterY();
    EXPECT_EQ(layout.imageRect(), (LayoutRect{249, 405, 350, 455}));
}

TEST(PrintLayout, DefaultFitFillsThePaperOnTheTighterAxis) {
    PrintLayout wide = A4Layout(); // sx = 2, sy = 5.74: full width, centred down
    wide.FitDefault();
    EXPECT_EQ(wide.imageRect(), (LayoutRect{0, 280, 600, 580}));

    PrintLayout tall(100, 300, kUncalibrated); // sx = 6, sy = 2.87: full height
    tall.SetPaperMillimetres(200, 287);
    tall.FitDefault();
    EXPECT_EQ(tall.imageRect(), (LayoutRect{156, 0, 443, 861}));
}

TEST(PrintLayout, WithoutAnImageNothingDividesByZero) {
    PrintLayout none(0, 0, kUncalibrated);
    none.SetPaperMillimetres(200, 287);
    none.SetImageRect({10, 10, 40, 40});
    none.FitDefault();
    none.Drag(4, 100, 100, 40, 40, false);
    EXPECT_EQ(none.imageRect(), (LayoutRect{10, 10, 40, 40}));
    none.Drag(4, 100, 90, 40, 40, true);
    EXPECT_EQ(none.imageRect(), (LayoutRect{10, 10, 100, 90}));

    PrintLayout flat(300, 0, kUncalibrated);
    flat.FitDefault();
    flat.Drag(5, 30, 30, 0, 0, false);
    EXPECT_EQ(flat.imageRect(), (LayoutRect{0, 0, 100, 0}));
}

TEST(PrintLayout, PressPicksTitleThenHandlesThenBody) {
    PrintLayout layout = A4Layout();
    layout.SetImageRect({30, 30, 130, 80});
    const LayoutRect noTitle{};
    EXPECT_EQ(layout.PartAt(25, 25, noTitle), 0);
    EXPECT_EQ(layout.PartAt(80, 35, noTitle), 1);
    EXPECT_EQ(layout.PartAt(135, 25, noTitle), 2);
    EXPECT_EQ(layout.PartAt(129, 55, noTitle), 3);
    EXPECT_EQ(layout.PartAt(130, 80, noTitle), 4);
    EXPECT_EQ(layout.PartAt(80, 75, noTitle), 5);
    EXPECT_EQ(layout.PartAt(24, 80, noTitle), 6);
    EXPECT_EQ(layout.PartAt(30, 55, noTitle), 7);
    EXPECT_EQ(layout.PartAt(60, 45, noTitle), kPartBody);
    EXPECT_EQ(layout.PartAt(136, 55, noTitle), kPartNone); // a handle square ends at +6
    EXPECT_EQ(layout.PartAt(23, 24, noTitle), kPartNone);
    EXPECT_EQ(layout.PartAt(30, 30, LayoutRect{20, 20, 60, 40}), kPartTitle);
}

TEST(PrintLayout, HandlesKeepTheProportionsWithoutCtrlAndNotWithIt) {
    PrintLayout layout = A4Layout(); // 300 x 150: 2:1
    layout.Drag(4, 160, 10, 100, 50, false);
    EXPECT_EQ(layout.imageRect(), (LayoutRect{0, 0, 160, 80}));
    layout.Drag(4, 201, 150, 160, 80, false); // 201 * 150 / 300 truncates to 100
    EXPECT_EQ(layout.imageRect(), (LayoutRect{0, 0, 201, 100}));

    layout.Drag(4, 250, 50, 201, 100, true);
    EXPECT_EQ(layout.imageRect(), (LayoutRect{0, 0, 250, 50}));
}

TEST(PrintLayout, EachProportionalHandleFollowsItsRule) {
    const LayoutRect start{60, 60, 260, 160}; // 200 x 100 for a 2:1 image
    struct Case {
        int handle, x, y;
        LayoutRect expected;
    };
    const Case cases[] = {
        {0, 100, 0, {100, 80, 260, 160}},   // left = x, top from the width
        {7, 100, 999, {100, 80, 260, 160}}, // the left-middle handle likewise
        {1, 0, 80, {100, 80, 260, 160}},    // top = y, left from the height
        {2, 160, 0, {60, 110, 160, 160}},   // right = x, top from the width
        {3, 161, 0, {60, 60, 161, 110}},    // right = x, bottom from the width
        {5, 0, 110, {60, 60, 160, 110}},    // bottom = y, right from the height
        {6, 159, 0, {159, 60, 260, 110}},   // left = x, bottom from the width
    };
    for (const Case& c : cases) {
        PrintLayout layout = A4Layout();
        layout.SetImageRect(start);
        layout.Drag(c.handle, c.x, c.y, 0, 0, false);
        EXPECT_EQ(layout.imageRect(), c.expected) << "handle " << c.handle;
    }
}

TEST(PrintLayout, FreeHandlesSetTheirSidesAndTheBodyMoves) {
    const LayoutRect start{60, 60, 260, 160};
    struct Case {
        int handle;
        LayoutRect expected;
    };
    const Case cases[] = {
        {0, {10, 20, 260, 160}}, {1, {60, 20, 260, 160}}, {2, {10, 20, 60, 160}},
        {3, {10, 60, 60, 160}},  {4, {10, 20, 60, 60}},   {5, {60, 20, 260, 60}},
        {6, {10, 20, 260, 60}},  {7, {10, 60, 260, 160}}, {8, {65, 67, 265, 167}},
    };
    for (const Case& c : cases) {
        PrintLayout layout = A4Layout();
        layout.SetImageRect(start);
        layout.Drag(c.handle, 10, 20, 5, 13, true);
        EXPECT_EQ(layout.imageRect(), c.expected) << "handle " << c.handle;
    }
}

TEST(PrintLayout, DraggingPastTheOppositeSideNormalises) {
    PrintLayout layout = A4Layout();
    layout.SetImageRect({60, 60, 260, 160});
    layout.Drag(3, 20, 0, 0, 0, true);
    EXPECT_EQ(layout.imageRect(), (LayoutRect{20, 60, 60, 160}));
    layout.Drag(3, 20, 0, 0, 0, true); // zero width: no division anywhere
    layout.Drag(5, 0, 60, 0, 0, true);
    EXPECT_EQ(layout.imageRect().width(), 0);
    EXPECT_EQ(layout.imageRect().height(), 0);
    EXPECT_EQ(layout.Fields()[2], "0.000");
}

TEST(PrintLayout, SpinArrowsStepOneMillimetre) {
    PrintLayout layout = A4Layout();
    layout.Nudge(LayoutSpin::StartX, true);
    EXPECT_EQ(layout.imageRect(), (LayoutRect{3, 0, 103, 50}));
    layout.Nudge(LayoutSpin::StartY, false);
    EXPECT_EQ(layout.imageRect(), (LayoutRect{3, -3, 103, 47}));
    layout.Nudge(LayoutSpin::Width, true);
    layout.Nudge(LayoutSpin::Height, true);
    EXPECT_EQ(layout.imageRect(), (LayoutRect{3, -3, 106, 50}));
    EXPECT_EQ(layout.Fields()[0], "1.000");
    EXPECT_EQ(layout.Fields()[1], "-1.000");
}

TEST(PrintLayout, PageViewKeepsThePaperAspectCentredInThePane) {
    const PageView portrait = FitPageView(600, 861, 400, 500);
    EXPECT_EQ(portrait.height, 500);
    EXPECT_EQ(portrait.width, 348); // 600 * 500 / 861
    EXPECT_EQ(portrait.left, 26);
    EXPECT_EQ(portrait.top, 0);
    const PageView landscape = FitPageView(861, 600, 400, 500);
    EXPECT_EQ(landscape.width, 400);
    EXPECT_EQ(landscape.height, 278);
    EXPECT_EQ(landscape.top, 111);
}

TEST(PrintLayout, DeviceRectangleScalesWithThePrintableArea) {
    PrintLayout layout = A4Layout();
    layout.SetImageRect({60, 90, 360, 240});
    // 600 x 861 units onto 4800 x 6888 device pixels: 8 per unit.
    EXPECT_EQ(layout.ToDevice(layout.imageRect(), 4800, 6888), (DeviceRect{480, 720, 2400, 1200}));
}

// A printer's printable area is rarely whole millimetres: A4 less margins of
// 3.625 mm is 202.75 mm across. The layout works on the whole millimetres,
// the page on all of it, so 100 mm stays 100 mm on paper.
TEST(PrintLayout, DeviceRectangleKeepsTheFractionOfAMillimetreOfThePaper) {
    PrintLayout layout(1000, 500, MillimetresPerPixelOf(1, 10.0, 10.0, 100, 100));
    layout.SetPaperMillimetres(202.75, 289.75);
    EXPECT_EQ(layout.paperWidth(), 606);
    EXPECT_EQ(layout.paperHeight(), 867);
    EXPECT_TRUE(layout.ApplyRatio(1.0));
    // 1200 dpi: 202.75 x 289.75 mm are 9579 x 13689 device pixels.
    const DeviceRect device = layout.ToDevice(layout.imageRect(), 9579, 13689);
    EXPECT_NEAR(device.width / (1200 / 25.4), 100.0, 0.02);
    EXPECT_NEAR(device.height / (1200 / 25.4), 50.0, 0.02);
    EXPECT_DOUBLE_EQ(layout.DevicePerUnitX(9579), 9579 / (202.75 * 3));
}

TEST(TitlePlacement, TheTitleTakesTheLineAboveThePictureAndMakesRoomAtTheTop) {
    PrintLayout layout = A4Layout(); // the picture at (0, 0), 100 x 50 units
    EXPECT_EQ(PlaceTitleAbovePicture(layout, 70, 24), (LayoutRect{0, 0, 70, 24}));
    EXPECT_EQ(layout.imageRect(), (LayoutRect{0, 24, 100, 74})) << "moved down, size kept";

    layout.SetImageRect({40, 300, 140, 350}); // room enough above
    EXPECT_EQ(PlaceTitleAbovePicture(layout, 70, 24), (LayoutRect{40, 276, 110, 300}));
    EXPECT_EQ(layout.imageRect(), (LayoutRect{40, 300, 140, 350}));

    layout.SetImageRect({40, 10, 140, 60}); // some room, not enough
    EXPECT_EQ(PlaceTitleAbovePicture(layout, 70, 24), (LayoutRect{40, 0, 110, 24}));
    EXPECT_EQ(layout.imageRect(), (LayoutRect{40, 24, 140, 74}));
}

TEST(PrintRatios, SeventyTwoEntriesInTheListOrder) {
    const auto& ratios = PrintRatios();
    ASSERT_EQ(ratios.size(), 72u);
    std::vector<std::string> expected = {"1:1"};
    for (const char* a :
         {"1.5", "2",   "2.5", "3",   "3.5", "4",   "4.5", "5",   "5.5", "6",   "6.5",
          "7",   "7.5", "8",   "8.5", "9",   "9.5", "10",  "20",  "30",  "40",  "50",
          "60",  "70",  "80",  "90",  "100", "150", "200", "250", "300", "350", "400",
          "450", "500", "600", "650", "700", "750", "800", "850", "900", "950", "1000"})
        expected.push_back(std::string(a) + ":1");
    for (const char* b : {"2",   "3",   "4",   "5",   "6",   "7",   "8",   "9",   "10",
                          "20",  "30",  "40",  "50",  "60",  "70",  "80",  "90",  "100",
                          "150", "200", "250", "300", "350", "400", "450", "500", "550"})
        expected.push_back(std::string("1:") + b);
    ASSERT_EQ(expected.size(), 72u);
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(ratios[i].text, expected[i]) << "entry " << i;
    EXPECT_DOUBLE_EQ(ratios[3].factor, 2.5);
    EXPECT_DOUBLE_EQ(ratios[71].factor, 1.0 / 550);
}

TEST(PrintRatios, FoundOnlyBySpellingAsListed) {
    EXPECT_EQ(FindPrintRatio("1:1"), 0);
    EXPECT_EQ(FindPrintRatio("2.5:1"), 3);
    EXPECT_EQ(FindPrintRatio("1:150"), 63);
    EXPECT_FALSE(FindPrintRatio("2.0:1"));
    EXPECT_FALSE(FindPrintRatio("550:1"));
    EXPECT_FALSE(FindPrintRatio("1:1000"));
}

} // namespace
} // namespace halvera
