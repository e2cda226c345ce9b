// The status bar's words on the image pixel under the pointer.
#include "view/PixelReadout.h"

#include "SyntheticImages.h"

#include <clocale>
#include <gtest/gtest.h>

namespace halvera {
namespace {

class PixelReadoutTest : public ::testing::Test {
protected:
    // Pixel (x, y) is red x, green y, blue 200; rows are stored bottom-up.
    DibBlock image = testing::MakeRgb(7, 5, [](int x, int y) {
        return testing::Bgr{200, static_cast<uint8_t>(y), static_cast<uint8_t>(x)};
    });
    AppSettings settings;
};

TEST_F(PixelReadoutTest, NamesThePixelFromTheTopLeftAndItsColourAsRedGreenBlue) {
    EXPECT_EQ(PixelReadout(image.dib(), {0, 0}, settings), "x=0 y=0 RGB(0,0,200)");
    EXPECT_EQ(PixelReadout(image.dib(), {6, 4}, settings), "x=6 y=4 RGB(6,4,200)");
    EXPECT_EQ(PixelReadout(image.dib(), {3, 1}, settings), "x=3 y=1 RGB(3,1,200)");
}

TEST_F(PixelReadoutTest, SaysNothingOutsideThePicture) {
    for (const PixelPoint outside :
         {PixelPoint{-1, 0}, PixelPoint{0, -1}, PixelPoint{7, 0}, PixelPoint{0, 5}})
        EXPECT_EQ(PixelReadout(image.dib(), outside, settings), "")
            << outside.x << "," << outside.y;
    EXPECT_EQ(PixelReadout(CDibImage{}, {0, 0}, settings), "");
}

TEST_F(PixelReadoutTest, AddsThePositionInTheCalibratedUnitWhateverTheLocale) {
    EXPECT_TRUE(IsDefaultCalibration(settings));
    settings.RulerUnit = 4;
    EXPECT_FALSE(IsDefaultCalibration(settings));
    EXPECT_EQ(PixelReadout(image.dib(), {3, 2}, settings),
              "x=3 y=2 RGB(3,2,200) (3.000, 2.000 inch)");

    settings.RulerUnit = 0;
    settings.xRealRulerData = 25.0; // 0.25 um per pixel across
    settings.yPixelRulerData = 40;  // 2.5 um per pixel down
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(PixelReadout(image.dib(), {6, 3}, settings),
              "x=6 y=3 RGB(6,3,200) (1.500, 7.500 um)");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace
} // namespace halvera
