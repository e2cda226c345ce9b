#include "ImageFileTestSupport.h"
#include "PictureEncoders.h"
#include "ShellFixture.h"
#include "SyntheticImages.h"
#include "app/ui/DocumentCommands.h"
#include "image/BmpFile.h"
#include "image/ConvertPackedDib.h"
#include "view/CommandIds.h"
#include "view/ui/MavView.h"

#include <QLabel>
#include <QMdiArea>
#include <filesystem>
#include <fstream>

namespace halvera::testing {
namespace {

class DocumentWindowTest : public ShellTest {
protected:
    // Paints pixel (0, 0) black through the image-command pattern: the image is modified.
    static void modify(CChildFrame* window) {
        window->view().runImageCommand(
            [](const CDibImage& image, const CDibImage&, const CDibImage&) {
                SetPixel(image, 0, 0, Bgr{0, 0, 0});
            });
        ASSERT_TRUE(window->document().IsModified());
    }

    // Pixel (0, 0) of the BMP file at `path`.
    static Bgr firstPixelOf(const std::string& path) {
        const PackedDib dib = CBmpFile().ReadPackedDib(path);
        EXPECT_TRUE(dib);
        DibBlock image;
        CreateRgb(image, dib.header()->biWidth, dib.header()->biHeight);
        EXPECT_TRUE(ConvertPackedDib(dib, image.dib()));
        return PixelAt(image.dib(), 0, 0);
    }

    static std::string contentsOf(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    // Runs the menu item of command `id` in the menu bar shown now.
    void runMenu(int id) {
        QAction* item = frame().menuAction(id);
        ASSERT_NE(item, nullptr);
        frame().router().refresh(item);
        ASSERT_TRUE(item->isEnabled());
        item->trigger();
        settle();
    }

    QString messagePane() { return frame().statusPane(0)->text(); }

    // Closes `window` and says whether it is gone.
    bool closeWindow(CChildFrame* window) {
        const bool closed = window->close();
        settle();
        return closed;
    }
};

TEST_F(DocumentWindowTest, ClosingAnUnmodifiedImageAsksNothing) {
    CChildFrame* window = newImage();
    EXPECT_TRUE(closeWindow(window));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(frame().documentWindows().empty());
}

TEST_F(DocumentWindowTest, YesSavesToTheImagesFileAndCloses) {
    const std::string path = writeBmp("cells.bmp", 8, 8);
    CChildFrame* window = app->OpenDocumentFile(path);
    ASSERT_NE(window, nullptr);
    modify(window);
    prompts.answers.push_back(MessageAnswer::Yes);
    EXPECT_TRUE(closeWindow(window));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Save changes to cells.bmp?");
    EXPECT_EQ(prompts.messages[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(firstPixelOf(path), (Bgr{0, 0, 0}));
    EXPECT_TRUE(frame().documentWindows().empty());
}

TEST_F(DocumentWindowTest, YesOnAnImageWithoutFileAsksForOne) {
    CChildFrame* window = newImage(8, 8);
    modify(window);
    const std::string path = tempPath("new.bmp");
    prompts.answers.push_back(MessageAnswer::Yes);
    prompts.fileNames.push_back(path);
    EXPECT_TRUE(closeWindow(window));
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_TRUE(prompts.fileRequests[0].save);
    EXPECT_EQ(firstPixelOf(path), (Bgr{0, 0, 0}));
}

TEST_F(DocumentWindowTest, CancelledSaveKeepsTheWindowOpen) {
    CChildFrame* window = newImage(8, 8);
    modify(window);
    prompts.answers.push_back(MessageAnswer::Yes); // then the file dialog is cancelled
    EXPECT_FALSE(closeWindow(window));
    ASSERT_EQ(frame().documentWindows().size(), 1u);
    EXPECT_TRUE(window->document().IsModified());
}

TEST_F(DocumentWindowTest, FailedSaveKeepsTheWindowOpenAndTheFileIntact) {
    const std::string path = writeBmp("kept.bmp", 8, 8);
    const std::string before = contentsOf(path);
    CChildFrame* window = app->OpenDocumentFile(path);
    ASSERT_NE(window, nullptr);
    modify(window);
    // The image now belongs to a file in a folder that does not exist.
    window->document().setPath(tempPath("missing/kept.bmp"));
    prompts.answers.push_back(MessageAnswer::Yes);
    EXPECT_FALSE(closeWindow(window));
    EXPECT_EQ(frame().documentWindows().size(), 1u);
    EXPECT_TRUE(window->document().IsModified());
    EXPECT_GE(prompts.messages.size(), 2u); // the question, then the write failure
    EXPECT_FALSE(std::filesystem::exists(tempPath("missing")));
    EXPECT_EQ(contentsOf(path), before);
}

TEST_F(DocumentWindowTest, NoClosesWithoutWriting) {
    const std::string path = writeBmp("untouched.bmp", 8, 8);
    const std::string before = contentsOf(path);
    CChildFrame* window = app->OpenDocumentFile(path);
    modify(window);
    prompts.answers.push_back(MessageAnswer::No);
    EXPECT_TRUE(closeWindow(window));
    EXPECT_TRUE(frame().documentWindows().empty());
    EXPECT_EQ(contentsOf(path), before);
}

TEST_F(DocumentWindowTest, CancelKeepsTheWindowOpen) {
    CChildFrame* window = newImage();
    modify(window);
    prompts.answers.push_back(MessageAnswer::Cancel);
    EXPECT_FALSE(closeWindow(window));
    EXPECT_EQ(frame().documentWindows().size(), 1u);
    EXPECT_TRUE(prompts.fileRequests.empty());
}

TEST_F(DocumentWindowTest, FileCloseAsksLikeTheWindowsOwnClose) {
    CChildFrame* window = newImage();
    modify(window);
    QAction* close = frame().menuAction(kIdFileClose);
    ASSERT_NE(close, nullptr);
    frame().router().refresh(close);
    EXPECT_TRUE(close->isEnabled());

    prompts.answers.push_back(MessageAnswer::Cancel);
    close->trigger();
    settle();
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(frame().documentWindows().size(), 1u);

    prompts.answers.push_back(MessageAnswer::No);
    close->trigger();
    settle();
    EXPECT_EQ(prompts.messages.size(), 2u);
    EXPECT_TRUE(frame().documentWindows().empty());
    EXPECT_FALSE(frame().hasImageMenu());
}

TEST_F(DocumentWindowTest, ExitAsksForEveryModifiedImageAndStopsAtCancel) {
    CChildFrame* first = newImage();
    CChildFrame* second = newImage();
    modify(first);
    modify(second);
    prompts.answers = {MessageAnswer::No, MessageAnswer::Cancel};
    EXPECT_FALSE(frame().close());
    EXPECT_TRUE(frame().isVisible());
    EXPECT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(frame().documentWindows().size(), 2u);

    prompts.answers = {MessageAnswer::No, MessageAnswer::No};
    EXPECT_TRUE(frame().close());
    EXPECT_FALSE(frame().isVisible());
}

TEST_F(DocumentWindowTest, SaveAsOffersTheFilterAndTheTitleAndWritesACopy) {
    const std::string original = writeBmp("original.bmp", 8, 8);
    prompts.fileNames.push_back(original);
    frame().router().dispatch(kIdFileOpen);
    CChildFrame* window = frame().activeDocumentWindow();
    ASSERT_NE(window, nullptr);
    const std::string title = window->document().title();
    modify(window);

    const std::string copy = tempPath("copy.bmp");
    prompts.fileNames.push_back(copy);
    frame().router().dispatch(kIdFileSaveAs);
    ASSERT_EQ(prompts.fileRequests.size(), 2u);
    const FileDialogRequest& request = prompts.fileRequests[1];
    EXPECT_EQ(request.filter,
              "All pictures(*.bmp; *.jpg; *.jpeg; *.png; *.tif; *.tiff)|"
              "*.bmp; *.jpg; *.jpeg; *.png; *.tif; *.tiff|"
              "BMP file(*.bmp)|*.bmp|JPEG file(*.jpg; *.jpeg)|*.jpg; *.jpeg|PNG file(*.png)|*.png|"
              "TIFF file(*.tif; *.tiff)|*.tif; *.tiff|Other files(*.*)|*.*||");
    EXPECT_EQ(request.proposedName, title);
    EXPECT_TRUE(request.promptOverwrite);
    EXPECT_TRUE(request.pathMustExist);
    EXPECT_EQ(firstPixelOf(copy), (Bgr{0, 0, 0}));
    EXPECT_FALSE(window->document().IsModified());
    // The image keeps its own file and title.
    EXPECT_EQ(window->document().path(), original);
    EXPECT_EQ(window->document().title(), title);
    EXPECT_EQ(window->windowTitle(),
              QString::fromStdString(title) + QStringLiteral("[*] (100.0%)"));

    // Save writes the image's own file, without asking.
    EXPECT_NE(firstPixelOf(original), (Bgr{0, 0, 0}));
    modify(window);
    frame().router().dispatch(kIdFileSave);
    EXPECT_EQ(prompts.fileRequests.size(), 2u);
    EXPECT_EQ(firstPixelOf(original), (Bgr{0, 0, 0}));
}

// Save As keeps the window on its own file; the dialog's title and the
// status bar say so, so that a later Save is not taken to write the copy.
TEST_F(DocumentWindowTest, SaveAsSaysItWroteACopyAndWhichFileTheWindowStillEdits) {
    const std::string original = writeBmp("a.bmp", 8, 8);
    CChildFrame* window = app->OpenDocumentFile(original);
    ASSERT_NE(window, nullptr);
    modify(window);
    prompts.fileNames.push_back(tempPath("b.bmp"));
    runMenu(kIdFileSaveAs);
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_EQ(prompts.fileRequests[0].title, "Save a copy as");
    EXPECT_EQ(messagePane(), "Saved a copy as b.bmp; this window still edits a.bmp");
    EXPECT_EQ(firstPixelOf(tempPath("b.bmp")), (Bgr{0, 0, 0}));
    EXPECT_NE(firstPixelOf(original), (Bgr{0, 0, 0}));

    CChildFrame* untitled = newImage(8, 8);
    modify(untitled);
    const std::string title = untitled->document().title();
    prompts.fileNames.push_back(tempPath("c.png"));
    runMenu(kIdFileSave); // an image without a file saves through Save As
    ASSERT_EQ(prompts.fileRequests.size(), 2u);
    EXPECT_EQ(prompts.fileRequests[1].title, "Save a copy as");
    EXPECT_EQ(messagePane(), "Saved a copy as c.png; this window is still untitled");
    EXPECT_EQ(untitled->document().title(), title);
    EXPECT_TRUE(untitled->document().path().empty());
}

// A three-page TIFF opens as its first page; saving it back asks, and No
// keeps all three pages and the window open.
TEST_F(DocumentWindowTest, SavingOverAFileThatHoldsMoreAsksFirst) {
    const std::string path = tempPath("stack.tif");
    const TestPicture page = PatternPicture(8, 6, TestColours::Rgb, 8);
    ASSERT_TRUE(WriteTiffFile(path, page, {.pages = 3}));
    const std::string before = contentsOf(path);
    CChildFrame* window = app->OpenDocumentFile(path);
    ASSERT_NE(window, nullptr);
    modify(window);

    prompts.answers = {MessageAnswer::No};
    runMenu(kIdFileSave);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"The file holds more than this picture "
                                                        "(3 pages); saving replaces it. Save "
                                                        "anyway?"});
    EXPECT_EQ(contentsOf(path), before);
    EXPECT_TRUE(window->document().IsModified());

    prompts.answers = {MessageAnswer::Yes, MessageAnswer::No}; // save changes, but keep the file
    EXPECT_FALSE(closeWindow(window));
    EXPECT_EQ(frame().documentWindows().size(), 1u);
    EXPECT_EQ(contentsOf(path), before);

    prompts.answers = {MessageAnswer::Yes};
    runMenu(kIdFileSave);
    EXPECT_FALSE(window->document().IsModified());
    EXPECT_NE(contentsOf(path), before);
}

TEST_F(DocumentWindowTest, SavingAsJpegAsksForTheQualityAndCancelWritesNothing) {
    CChildFrame* window = newImage(8, 8);
    modify(window);
    const std::string path = tempPath("picture.JPG");
    prompts.fileNames.push_back(path);
    prompts.jpegQualities.push_back(std::nullopt);
    frame().router().dispatch(kIdFileSaveAs);
    EXPECT_EQ(prompts.qualityRequests, 1);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(window->document().IsModified());

    prompts.fileNames.push_back(path);
    frame().router().dispatch(kIdFileSaveAs);
    EXPECT_EQ(prompts.qualityRequests, 2);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(window->document().IsModified());
}

TEST_F(DocumentWindowTest, OpenUsesTheFilterAndReadsByTheEnding) {
    const std::string mixed = writeBmp("Mixed.BmP", 12, 10);
    prompts.fileNames.push_back(mixed);
    frame().router().dispatch(kIdFileOpen);
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_FALSE(prompts.fileRequests[0].save);
    EXPECT_TRUE(prompts.fileRequests[0].fileMustExist);
    EXPECT_EQ(prompts.fileRequests[0].filter,
              "All pictures(*.bmp; *.jpg; *.jpeg; *.png; *.tif; *.tiff)|"
              "*.bmp; *.jpg; *.jpeg; *.png; *.tif; *.tiff|"
              "BMP file(*.bmp)|*.bmp|JPEG file(*.jpg; *.jpeg)|*.jpg; *.jpeg|PNG file(*.png)|*.png|"
              "TIFF file(*.tif; *.tiff)|*.tif; *.tiff|Other files(*.*)|*.*||");
    ASSERT_EQ(frame().documentWindows().size(), 1u);
    EXPECT_EQ(frame().documentWindows()[0]->document().width(), 12);
    EXPECT_EQ(app->settings().ImageWidth, 12);

    // A name of no picture type: nothing opens, nothing is said.
    const std::string gif = tempPath("photo.gif");
    std::filesystem::copy_file(mixed, gif);
    EXPECT_EQ(app->OpenDocumentFile(gif), nullptr);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(frame().documentWindows().size(), 1u);
}

TEST_F(DocumentWindowTest, OpeningAnOpenFileAgainActivatesItsWindow) {
    const std::string path = writeBmp("once.bmp", 8, 8);
    CChildFrame* first = app->OpenDocumentFile(path);
    newImage();
    EXPECT_EQ(app->OpenDocumentFile(path), first);
    EXPECT_EQ(frame().activeDocumentWindow(), first);
    EXPECT_EQ(frame().documentWindows().size(), 2u);
}

TEST_F(DocumentWindowTest, RecentFilesKeepTheLastFourAndOpenFromTheMenu) {
    std::vector<std::string> paths;
    for (int i = 0; i < 5; ++i)
        paths.push_back(writeBmp("recent" + std::to_string(i) + ".bmp", 8, 8));
    for (const std::string& path : paths)
        app->OpenDocumentFile(path);
    EXPECT_EQ(app->recentFiles().paths(),
              (std::vector<std::string>{paths[4], paths[3], paths[2], paths[1]}));
    for (CChildFrame* window : frame().documentWindows())
        window->close();
    settle();

    EXPECT_TRUE(frame().router().state(kIdFileMru1 + 3).enabled);
    frame().router().dispatch(kIdFileMru1 + 2);
    ASSERT_EQ(frame().documentWindows().size(), 1u);
    EXPECT_EQ(frame().documentWindows()[0]->document().path(), paths[2]);

    // An entry whose file is gone leaves the list.
    std::filesystem::remove(paths[1]);
    frame().router().dispatch(kIdFileMru1 + 3);
    EXPECT_EQ(app->recentFiles().paths().size(), 3u);
}

TEST_F(DocumentWindowTest, NewPictureFromAScanOrSnapshotOpensAWindow) {
    const DibBlock picture = MakeUniformRgb(6, 4, Bgr{10, 20, 30});
    PackedDib packed = PackedDib::Allocate(picture.dib().blockSize);
    ASSERT_TRUE(packed);
    std::memcpy(packed.data(), picture.dib().header, picture.dib().blockSize);
    CChildFrame* window = app->NewDocumentFromPicture(std::move(packed));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->document().width(), 6);
    EXPECT_EQ(PixelAt(window->document().image(), 5, 3), (Bgr{10, 20, 30}));
    EXPECT_TRUE(window->isWindowModified()) << "the picture is in no file yet";
    EXPECT_EQ(app->NewDocumentFromPicture(PackedDib()), nullptr);
}

} // namespace
} // namespace halvera::testing
