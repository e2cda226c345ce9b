// Measurements outlive their image's window: closing it or quitting asks
// about items never written to a file, Save writes them beside the image as
// its measurement file, and opening the image brings them back.
#include "ImageFileTestSupport.h"
#include "ShellFixture.h"
#include "measure/MeasurementSidecar.h"
#include "measure/ui/DataPanel.h"
#include "view/CommandIds.h"
#include "view/ui/MavView.h"

#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <nlohmann/json.hpp>

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

    static nlohmann::json jsonOf(const std::string& path) {
        return nlohmann::json::parse(textOf(path));
    }

    static std::string question(const std::string& title) {
        return "Keep the measurements of " + title + "?";
    }
};

TEST_F(KeepMeasurementsTest, SaveWritesTheMeasurementsBesideTheImageAsItsMeasurementFile) {
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

    const nlohmann::json json = jsonOf(image + ".measure.json");
    EXPECT_EQ(json["format"], "halvera-measurements");
    EXPECT_EQ(json["image"], "cells.bmp");
    // The clicked pixels, in the default calibration of one unit per pixel.
    EXPECT_EQ(json["calibration"]["realX"].get<double>(), 100.0);
    EXPECT_EQ(json["items"], nlohmann::json::parse(R"([{"kind": "point", "at": [[12.0, 7.0]]},
                                                        {"kind": "point", "at": [[30.0, 21.0]]}])"));
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
    EXPECT_FALSE(std::filesystem::exists(image + ".measure.json"));
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

// An untitled image has nowhere beside it, and a measurement file that
// cannot be read is not replaced unasked: both ask for the file name.
TEST_F(KeepMeasurementsTest, WithoutAFreeFileBesideTheImageTheUserNamesOne) {
    CChildFrame* untitled = newImage(50, 50);
    measurePoints(untitled, {{6, 6}});
    const std::string title = untitled->document().title();
    EXPECT_FALSE(closeWindow(untitled)) << "Save, then the file dialog is cancelled";
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_TRUE(prompts.fileRequests[0].save);
    EXPECT_EQ(prompts.fileRequests[0].proposedName, title + ".measure.json");

    prompts.fileNames.push_back(tempPath("chosen.json"));
    EXPECT_TRUE(closeWindow(untitled));
    EXPECT_EQ(jsonOf(tempPath("chosen.json"))["items"][0]["at"],
              nlohmann::json::parse("[[6.0, 6.0]]"));

    const std::string image = writeBmp("again.bmp", 60, 40);
    WriteFileBytes(image + ".measure.json", Bytes{'o', 'l', 'd'});
    CChildFrame* window = app->OpenDocumentFile(image);
    measurePoints(window, {{7, 7}});
    EXPECT_FALSE(closeWindow(window)) << "the dialog for the existing file is cancelled";
    ASSERT_EQ(prompts.fileRequests.size(), 3u);
    EXPECT_EQ(prompts.fileRequests[2].proposedName, image + ".measure.json");
    EXPECT_TRUE(prompts.fileRequests[2].promptOverwrite);
    EXPECT_EQ(textOf(image + ".measure.json"), "old");
}

// Saving the picture writes its measurements too; opening it again fills
// the results panel with them, and they need no question until they change.
TEST_F(KeepMeasurementsTest, OpeningThePictureBringsItsMeasurementsBack) {
    const std::string image = writeBmp("cells.bmp", 60, 40);
    CChildFrame* window = app->OpenDocumentFile(image);
    measurePoints(window, {{12, 7}, {30, 21}});
    window->document().SetModifiedFlag();
    ASSERT_TRUE(window->documentCommands().onCommand(kIdFileSave));
    ASSERT_TRUE(std::filesystem::exists(image + ".measure.json"));
    EXPECT_TRUE(closeWindow(window));
    EXPECT_TRUE(prompts.messages.empty()) << "the measurements were written with the picture";

    CChildFrame* reopened = app->OpenDocumentFile(image);
    ASSERT_NE(reopened, nullptr);
    settle();
    EXPECT_EQ(reopened->document().measureData().ItemCount(MeasureKind::Point), 2);
    EXPECT_EQ(frame().resultsPanel()->list()->rowCount(), 2);
    EXPECT_EQ(frame().statusPane(0)->text().toStdString(),
              "Measurements restored from cells.bmp.measure.json");
    EXPECT_TRUE(closeWindow(reopened));
    EXPECT_TRUE(prompts.messages.empty());
}

// "Save measurements" writes only the measurement file; one that cannot be
// read is reported when the picture opens, and kept as it was.
TEST_F(KeepMeasurementsTest, SaveMeasurementsAndAFileThatCannotBeRead) {
    const std::string image = writeBmp("menu.bmp", 60, 40);
    CChildFrame* window = app->OpenDocumentFile(image);
    measurePoints(window, {{4, 5}});
    const auto pictureBytes = ReadFileBytes(image);
    frame().menuAction(kIdSaveMeasurements)->trigger();
    settle();
    EXPECT_EQ(jsonOf(image + ".measure.json")["items"].size(), 1u);
    EXPECT_EQ(ReadFileBytes(image), pictureBytes);
    EXPECT_TRUE(closeWindow(window));
    EXPECT_TRUE(prompts.messages.empty());

    const std::string newer = R"({"format": "halvera-measurements", "version": 2})";
    WriteFileBytes(image + ".measure.json", Bytes(newer.begin(), newer.end()));
    window = app->OpenDocumentFile(image);
    ASSERT_NE(window, nullptr);
    settle();
    EXPECT_EQ(frame().statusPane(0)->text().toStdString(),
              "menu.bmp.measure.json is not read: version 2 is newer than this program reads");
    EXPECT_EQ(window->document().measureData().ItemCount(MeasureKind::Point), 0);
    measurePoints(window, {{9, 9}});
    window->document().SetModifiedFlag();
    ASSERT_TRUE(window->documentCommands().onCommand(kIdFileSave));
    EXPECT_EQ(textOf(image + ".measure.json"), newer) << "Save does not replace it";
    EXPECT_NE(frame().statusPane(0)->text().toStdString().find("is kept as it is"),
              std::string::npos);
    prompts.answers = {MessageAnswer::Discard};
    EXPECT_TRUE(closeWindow(window));
}

} // namespace
} // namespace halvera::testing
