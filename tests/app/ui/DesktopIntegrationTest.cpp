// Opening files from the command line and from a file manager's drop, the
// modified mark in the caption, and the tool box's prompts in the status bar.
#include "ReadMessages.h"
#include "ShellFixture.h"
#include "SyntheticImages.h"
#include "app/ui/CommandLine.h"
#include "app/ui/DroppedFiles.h"
#include "view/CommandIds.h"
#include "view/ui/MavView.h"

#include <QCommandLineParser>
#include <QDockWidget>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <fstream>

namespace halvera::testing {
namespace {

class DesktopIntegrationTest : public ShellTest {
protected:
    std::vector<std::string> openTitles() {
        std::vector<std::string> titles;
        for (CChildFrame* window : frame().documentWindows())
            titles.push_back(window->document().title());
        return titles;
    }

    // Paints pixel (0, 0) black as one undo step.
    static void modify(CChildFrame* window) {
        window->view().runImageCommand(
            [](const CDibImage& image, const CDibImage&, const CDibImage&) {
                SetPixel(image, 0, 0, Bgr{0, 0, 0});
            });
    }

    void drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = frame().rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame(), &dropped);
        EXPECT_TRUE(dropped.isAccepted());
        settle();
    }
};

TEST_F(DesktopIntegrationTest, CommandLineNamesFilesRelativeToTheStartingFolder) {
    QCommandLineParser parser;
    DescribeCommandLine(parser);
    ASSERT_TRUE(parser.parse({"halvera", "cells.bmp", "../b/Tissue.JPG", "/data/c d.bmp"}));
    EXPECT_EQ(FilesToOpen(parser, "/home/u/pictures"),
              (std::vector<std::string>{"/home/u/pictures/cells.bmp", "/home/u/b/Tissue.JPG",
                                        "/data/c d.bmp"}));
    QCommandLineParser none;
    DescribeCommandLine(none);
    ASSERT_TRUE(none.parse({"halvera"}));
    EXPECT_TRUE(FilesToOpen(none, "/home/u").empty());
}

// As File Open: each readable file gets its window; one that cannot be read
// says so as File Open would, and the others still open.
TEST_F(DesktopIntegrationTest, FilesFromTheCommandLineOpenAsFileOpenOpensThem) {
    const std::string first = writeBmp("first.bmp", 8, 6);
    const std::string broken = tempPath("broken.bmp");
    { std::ofstream(broken) << "not a picture"; }
    const std::string second = writeBmp("second.BMP", 5, 4);

    QCommandLineParser parser;
    DescribeCommandLine(parser);
    ASSERT_TRUE(parser.parse({"halvera", "first.bmp", "broken.bmp", "second.BMP"}));
    app->OpenFiles(FilesToOpen(parser, dir.path()));
    settle();
    EXPECT_EQ(openTitles(), (std::vector<std::string>{"first.bmp", "second.BMP"}));
    EXPECT_EQ(prompts.texts(),
              std::vector<std::string>{CannotReadMessage(broken, "not a BMP picture")});
    EXPECT_EQ(frame().documentWindows().at(1)->document().path(), second);
    EXPECT_EQ(app->recentFiles().paths().front(), second);
}

TEST_F(DesktopIntegrationTest, FilesDroppedOnTheMainWindowOpen) {
    const std::string first = writeBmp("dropped.bmp", 8, 6);
    const std::string second = writeBmp("also.bmp", 4, 4);
    drop({QUrl::fromLocalFile(QString::fromStdString(first)),
          QUrl(QStringLiteral("https://example.org/picture.bmp")),
          QUrl::fromLocalFile(QString::fromStdString(second))});
    EXPECT_EQ(openTitles(), (std::vector<std::string>{"dropped.bmp", "also.bmp"}));
    EXPECT_TRUE(prompts.messages.empty());

    // Only local files are taken; a drag of nothing else is refused.
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/picture.bmp"))});
    EXPECT_TRUE(DroppedFiles(&web).empty());
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(&frame(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

// Save As writes a copy and the caption keeps the image's own name; the
// modified mark follows the picture relative to the one last written.
TEST_F(DesktopIntegrationTest, ModifiedMarkFollowsThePictureThroughUndoAndRedo) {
    CChildFrame* window = newImage(8, 8);
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("[*]")));
    EXPECT_FALSE(window->isWindowModified());
    modify(window);
    EXPECT_TRUE(window->isWindowModified());

    prompts.fileNames.push_back(tempPath("copy.bmp"));
    frame().router().dispatch(kIdFileSaveAs);
    EXPECT_FALSE(window->isWindowModified());
    frame().router().dispatch(kIdEditUndo);
    EXPECT_TRUE(window->isWindowModified()) << "the undone picture was never saved";
    frame().router().dispatch(kIdEditRedo);
    EXPECT_FALSE(window->isWindowModified()) << "back at the picture last saved";
    frame().router().dispatch(kIdEditUndo);

    // Closing now asks, and No closes without writing.
    const std::string title = window->document().title();
    prompts.answers.push_back(MessageAnswer::No);
    EXPECT_TRUE(window->close());
    settle();
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Save changes to " + title + "?"});
    EXPECT_TRUE(frame().documentWindows().empty());
}

TEST_F(DesktopIntegrationTest, ToolBoxButtonsShowTheirPromptInTheStatusBar) {
    newImage();
    QDockWidget* toolBox = frame().toolBox();
    ASSERT_TRUE(toolBox->isVisible());
    const QList<QToolButton*> buttons = toolBox->findChildren<QToolButton*>();
    ASSERT_FALSE(buttons.isEmpty());
    QToolButton* button = buttons.first();
    ASSERT_FALSE(button->statusTip().isEmpty());
    QTest::mouseMove(button, button->rect().center());
    settle();
    EXPECT_EQ(frame().statusPane(0)->text(), button->statusTip());
    QTest::mouseMove(frame().statusPane(1), QPoint(2, 2));
    settle();
    EXPECT_EQ(frame().statusPane(0)->text(), QStringLiteral("Ready"));
}

} // namespace
} // namespace halvera::testing
