// Measurements outlive their image's window: closing it or quitting asks
// about items never written to a file, and Save writes them beside the image.
#include "ImageFileTestSupport.h"
#include "ShellFixture.h"
#include "measure/ui/DataPanel.h"
#include "view/CommandIds.h"
#include "view/ui/MavView.h"

#include <QMdiArea>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <regex>

namespace halvera::testing {
namespace {

class KeepMeasurementsTest : public ShellTest {
protected:
    // Points measured with the point tool, clicked at image pixels.
    void measurePoints(CChildFrame* window, std::initializer_list<QPoint> points) {
        frame().mdiArea()->setActiveSubWindow(window);
        settle();
        CMavView& view = window->view();
        ASSERT_TRUE(view.onCommand(kIdMeasurePoint));
        for (const QPoint& point : points)
            QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                              view.logicalToClient(view.imageToWindow(point)));
    }

    bool closeWindow(CChildFrame* window) {
        const bool closed = window->close();
        settle();
        return closed;
    }

    static std::string textOf(const std::string& path) {
        const Bytes bytes = ReadFileBytes(path);
        return {bytes.begin(), bytes.end()};
    }

    static std::string question(const std::string& title) {
        return "Keep the measurements of " + title + "?";
    }
};

TEST_F(KeepMeasurementsTest, SaveWritesTheMeasurementsBesideTheImageAsTheResultsCsv) {
    const std::string image = writeBmp("cells.bmp", 60, 40);
    CChildFrame* window = app->OpenDocumentFile(image);
    ASSERT_NE(window, nullptr);
    measurePoints(window, {{12, 7}, {30, 21}});
    ASSERT_EQ(window->document().measureData().ItemCount(MeasureKind::Point), 2);

    prompts.answers = {MessageAnswer::Save};
    EXPECT_TRUE(closeWindow(window));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, question("cells.bmp"));
    EXPECT_EQ(prompts.messages[0].buttons, MessageButtons::SaveDiscardCancel);
    EXPECT_TRUE(prompts.fileRequests.empty()) << "the file beside the image is free";
    EXPECT_TRUE(frame().documentWindows().empty());

    const std::string csv = textOf(image + ".measure.csv");
    EXPECT_TRUE(csv.starts_with("Kind,No,X(Point),X(Point) judgement,Y(Point)")) << csv;
    // The clicked pixels, in the default calibration of one unit per pixel.
    EXPECT_TRUE(std::regex_search(csv, std::regex("\nPoint,1,12\\.000,(Pass|Error),7\\.000,")))
        << csv;
    EXPECT_TRUE(std::regex_search(csv, std::regex("\nPoint,2,30\\.000,(Pass|Error),21\\.000,")))
        << csv;
}

TEST_F(KeepMeasurementsTest, CancelKeepsTheWindowAndDiscardClosesWithoutAFile) {
    const std::string image = writeBmp("kept.bmp", 60, 40);
    CChildFrame* window = app->OpenDocumentFile(image);
    measurePoints(window, {{5, 5}});

    prompts.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(closeWindow(window));
    EXPECT_EQ(frame().documentWindows().size(), 1u);
    EXPECT_EQ(window->document().measureData().ItemCount(MeasureKind::Point), 1);

    prompts.answers = {MessageAnswer::Discard};
    EXPECT_TRUE(closeWindow(window));
    EXPECT_EQ(prompts.texts(),
              (std::vector<std::string>{question("kept.bmp"), question("kept.bmp")}));
    EXPECT_TRUE(frame().documentWindows().empty());
    EXPECT_FALSE(std::filesystem::exists(image + ".measure.csv"));
}

// Quitting asks, image by image, after the image's own question; one Cancel
// stops quitting with every window open.
TEST_F(KeepMeasurementsTest, QuittingAsksForEveryImageAndCancelStopsIt) {
    CChildFrame* first = newImage(50, 50);
    CChildFrame* second = newImage(50, 50);
    measurePoints(first, {{3, 3}});
    measurePoints(second, {{4, 4}});
    second->document().SetModifiedFlag();

    prompts.answers = {MessageAnswer::Discard, MessageAnswer::No, MessageAnswer::Cancel};
    EXPECT_FALSE(frame().close());
    EXPECT_TRUE(frame().isVisible());
    EXPECT_EQ(frame().documentWindows().size(), 2u);
    EXPECT_EQ(prompts.texts(),
              (std::vector<std::string>{question(first->document().title()),
                                        "Save changes to " + second->document().title() + "?",
                                        question(second->document().title())}));

    prompts.answers = {MessageAnswer::Discard, MessageAnswer::No, MessageAnswer::Discard};
    EXPECT_TRUE(frame().close());
    EXPECT_FALSE(frame().isVisible());
}

TEST_F(KeepMeasurementsTest, ItemsTheResultsPanelSavedNeedNoQuestionUntilTheyChange) {
    CChildFrame* window = newImage(50, 50);
    measurePoints(window, {{8, 9}});
    prompts.fileNames.push_back(tempPath("Result.csv"));
    QTest::mouseClick(frame().resultsPanel()->findChild<QPushButton*>("save"), Qt::LeftButton);
    ASSERT_TRUE(std::filesystem::exists(tempPath("Result.csv")));

    measurePoints(window, {{20, 9}});
    prompts.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(closeWindow(window)) << "a point added after the export";
    ASSERT_EQ(prompts.messages.size(), 1u);

    window->document().measureData().DeleteItem(MeasureKind::Point, 1);
    EXPECT_TRUE(closeWindow(window));
    EXPECT_EQ(prompts.messages.size(), 1u) << "the items are as exported again";
}

// An untitled image has nowhere beside it, and an existing measurement file
// is not replaced unasked: both ask for the file name.
TEST_F(KeepMeasurementsTest, WithoutAFreeFileBesideTheImageTheUserNamesOne) {
    CChildFrame* untitled = newImage(50, 50);
    measurePoints(untitled, {{6, 6}});
    const std::string title = untitled->document().title();
    EXPECT_FALSE(closeWindow(untitled)) << "Save, then the file dialog is cancelled";
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_TRUE(prompts.fileRequests[0].save);
    EXPECT_EQ(prompts.fileRequests[0].proposedName, title + ".measure.csv");

    prompts.fileNames.push_back(tempPath("chosen.csv"));
    EXPECT_TRUE(closeWindow(untitled));
    EXPECT_TRUE(textOf(tempPath("chosen.csv")).find("\nPoint,1,6.000,") != std::string::npos);

    const std::string image = writeBmp("again.bmp", 60, 40);
    WriteFileBytes(image + ".measure.csv", Bytes{'o', 'l', 'd'});
    CChildFrame* window = app->OpenDocumentFile(image);
    measurePoints(window, {{7, 7}});
    EXPECT_FALSE(closeWindow(window)) << "the dialog for the existing file is cancelled";
    ASSERT_EQ(prompts.fileRequests.size(), 3u);
    EXPECT_EQ(prompts.fileRequests[2].proposedName, image + ".measure.csv");
    EXPECT_TRUE(prompts.fileRequests[2].promptOverwrite);
    EXPECT_EQ(textOf(image + ".measure.csv"), "old");
}

} // namespace
} // namespace halvera::testing
