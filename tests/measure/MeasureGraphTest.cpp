#include "measure/MeasureGraph.h"

#include "NewDocumentTest.h"
#include "SyntheticImages.h"
#include "measure/MeasureColors.h"
#include "measure/MeasureGraphCommands.h"

#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

// A stand-in for text: a 4 x 3 block at the label's position.
void BlockLabel(GraphSurface& surface, PixelPoint at, std::string_view, GraphColour colour) {
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            surface.Set({at.x + x, at.y + y}, colour);
}

DibBlock CopyOf(const CDibImage& image) {
    return MakeRgb(image.width(), image.height, [&](int x, int y) { return PixelAt(image, x, y); });
}

Bgr AsBgr(const MeasureColor& c) {
    return {c.blue, c.green, c.red};
}

class MeasureGraph : public NewDocumentTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(NewDocument(80, 60));
        const CDibImage image = doc.image();
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x)
                SetPixel(image, x, y, Bgr{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7});
    }

    MeasureData& data() { return doc.measureData(); }
    Bgr pixel(int x, int y) { return PixelAt(doc.image(), x, y); }
    const MeasureColor& colour(MeasureColorRole role) { return MeasureColorOf(settings, role); }

    SelectionRecord selection;
};

TEST_F(MeasureGraph, MergeBurnsEveryMarkInItsColourAndUndoRestoresTheImageExactly) {
    const DibBlock before = CopyOf(doc.image());
    ASSERT_TRUE(data().AppendLine({10, 30}, {60, 30}));
    ASSERT_TRUE(MergeMeasurements(doc, selection, BlockLabel));

    EXPECT_EQ(pixel(35, 30), AsBgr(colour(MeasureColorRole::Line)));
    EXPECT_EQ(pixel(10, 30), AsBgr(colour(MeasureColorRole::Coordinate)));
    EXPECT_EQ(pixel(7, 33), AsBgr(colour(MeasureColorRole::Point))); // the end's square
    // The label "(50.000)" at the middle, 16 above.
    EXPECT_EQ(pixel(35, 14), AsBgr(colour(MeasureColorRole::Text)));
    // Untouched elsewhere.
    EXPECT_EQ(pixel(35, 40), (Bgr{35, 40, 7}));
    EXPECT_TRUE(doc.IsModified());

    doc.Undo();
    EXPECT_TRUE(SamePixels(doc.image(), before.dib()));
}

// White text on the white graph shows by its black outline; the marks are
// as without the label.
TEST_F(MeasureGraph, BuildGraphWithWhiteTextShowsTheLabelByItsOutline) {
    ASSERT_TRUE(data().AppendPoint({40, 30}));
    MeasureColorSetting(settings, MeasureColorRole::Text) = 1; // White
    ASSERT_TRUE(BuildMeasureGraph(doc, selection, nullptr));
    const DibBlock withoutLabel = CopyOf(doc.image());
    ASSERT_TRUE(BuildMeasureGraph(doc, selection, BlockLabel));
    EXPECT_FALSE(SamePixels(doc.image(), withoutLabel.dib()));
    EXPECT_EQ(pixel(0, 0), (Bgr{255, 255, 255}));
    EXPECT_EQ(pixel(40, 30), AsBgr(colour(MeasureColorRole::Coordinate)));

    // In yellow the label shows, at (x, y - 18), outlined in blue.
    MeasureColorSetting(settings, MeasureColorRole::Text) = 5;
    ASSERT_TRUE(BuildMeasureGraph(doc, selection, BlockLabel));
    EXPECT_EQ(pixel(41, 13), (Bgr{0, 255, 255}));
    EXPECT_EQ(pixel(39, 13), (Bgr{255, 0, 0}));
}

// On a black and on a white picture, in every measurement colour, the label's
// pixels are its colour and the pixels round them the opposite colour.
TEST_F(MeasureGraph, LabelsCarryAnOutlineOfTheOppositeColourOnBlackAndOnWhite) {
    ASSERT_TRUE(data().AppendPoint({40, 30}));
    for (const Bgr background : {Bgr{0, 0, 0}, Bgr{255, 255, 255}})
        for (int index = 0; index < static_cast<int>(kMeasureColors.size()); ++index) {
            const CDibImage image = doc.image();
            for (int y = 0; y < image.height; ++y)
                for (int x = 0; x < image.width(); ++x)
                    SetPixel(image, x, y, background);
            MeasureColorSetting(settings, MeasureColorRole::Text) = index;
            const MeasureColor& c = kMeasureColors[static_cast<size_t>(index)];
            const Bgr text{c.blue, c.green, c.red};
            const Bgr outline{static_cast<uint8_t>(255 - c.blue),
                              static_cast<uint8_t>(255 - c.green),
                              static_cast<uint8_t>(255 - c.red)};
            ASSERT_TRUE(MergeMeasurements(doc, selection, BlockLabel));
            // The label: a 4 x 3 block at (40, 12), 18 rows above the point.
            for (int y = 11; y <= 15; ++y)
                for (int x = 39; x <= 44; ++x) {
                    const bool inside = x >= 40 && x <= 43 && y >= 12 && y <= 14;
                    const Bgr expected = inside ? text : outline;
                    EXPECT_EQ(pixel(x, y), expected)
                        << c.name << " at " << x << "," << y << " on " << int(background.red);
                }
            EXPECT_EQ(pixel(45, 13), background) << "one pixel wide";
            EXPECT_EQ(pixel(41, 10), background);
        }
}

TEST_F(MeasureGraph, AMarkInTheKeyColourIsLeftOut) {
    ASSERT_TRUE(data().AppendLine({10, 30}, {60, 30}));
    MeasureColorSetting(settings, MeasureColorRole::Line) = 1; // White on white
    ASSERT_TRUE(BuildMeasureGraph(doc, selection, nullptr));
    EXPECT_EQ(pixel(35, 30), (Bgr{255, 255, 255}));
    EXPECT_EQ(pixel(10, 30), AsBgr(colour(MeasureColorRole::Coordinate)));
}

TEST_F(MeasureGraph, WithoutItemsBothCommandsLeaveTheImageButRecordAStep) {
    const DibBlock before = CopyOf(doc.image());
    ASSERT_TRUE(MergeMeasurements(doc, selection, BlockLabel));
    ASSERT_TRUE(BuildMeasureGraph(doc, selection, BlockLabel));
    EXPECT_TRUE(SamePixels(doc.image(), before.dib()));
    EXPECT_TRUE(doc.CanUndo());
    EXPECT_EQ(doc.undoHistory().count(), 2); // two image steps of one slot each
}

TEST_F(MeasureGraph, ItemsOffTheImageAreClippedAndEveryKindDraws) {
    ASSERT_TRUE(data().AppendPoint({1, 1}));
    ASSERT_TRUE(data().AppendCircle({40, 30}, {40, 50}));
    ASSERT_TRUE(data().AppendRectangle({70, 50, 100, 90}));
    ASSERT_TRUE(data().AppendAngle({60, 10}, {40, 10}, {40, -20}));
    ASSERT_TRUE(BuildMeasureGraph(doc, selection, BlockLabel));
    const Bgr line = AsBgr(colour(MeasureColorRole::Line));
    EXPECT_EQ(pixel(43, 47), AsBgr(colour(MeasureColorRole::Point))); // the circle point's square
    EXPECT_EQ(pixel(20, 30), line);                                   // the circle's left
    EXPECT_EQ(pixel(75, 50), line);                                   // the rectangle's top
    EXPECT_EQ(pixel(50, 10), line);                                   // an angle arm
    EXPECT_EQ(pixel(60 - 10, 59), (Bgr{255, 255, 255}));
}

TEST(GraphSurface, CopyRefusesAnImageOfAnotherSize) {
    const DibBlock image = MakeUniformRgb(4, 3, Bgr{1, 2, 3});
    GraphSurface surface(5, 3);
    surface.Fill(kGraphWhite);
    EXPECT_FALSE(CopyGraphOntoImage(surface, kGraphGrey, image.dib()));
    EXPECT_EQ(PixelAt(image.dib(), 0, 0), (Bgr{1, 2, 3}));
    EXPECT_FALSE(GraphSurface(0, 3).valid());
}

TEST(GraphSurface, RowsRunFromTheTopOfThePicture) {
    const DibBlock image = MakeUniformRgb(3, 2, Bgr{0, 0, 0});
    GraphSurface surface(3, 2);
    surface.Fill(kGraphGrey);
    surface.Set({2, 0}, GraphColour{10, 20, 30});
    surface.Set({5, 0}, GraphColour{1, 1, 1}); // off the surface: ignored
    ASSERT_TRUE(CopyGraphOntoImage(surface, kGraphGrey, image.dib()));
    EXPECT_EQ(PixelAt(image.dib(), 2, 0), (Bgr{30, 20, 10}));
    EXPECT_EQ(PixelAt(image.dib(), 2, 1), (Bgr{0, 0, 0}));
}

} // namespace
} // namespace halvera::testing
