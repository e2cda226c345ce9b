// Other programs' picture files in the desktop program: File Open reads PNG
// and TIFF, the status bar says how a 16-bit picture is shown, and Save As
// writes both types.
#include "PictureEncoders.h"
#include "ShellFixture.h"
#include "SyntheticImages.h"
#include "image/ConvertPackedDib.h"
#include "image/JpegFile.h"
#include "image/PictureFiles.h"
#include "image/TiffFile.h"
#include "platform/ui/FileDialogFilter.h"
#include "view/CommandIds.h"
#include "view/ui/MavView.h"

#include <QLabel>
#include <QRegularExpression>

namespace halvera::testing {
namespace {

class PictureFileShellTest : public ShellTest {
protected:
    CChildFrame* openThroughTheDialog(const std::string& path) {
        prompts.fileNames.push_back(path);
        frame().router().dispatch(kIdFileOpen);
        settle();
        return frame().activeDocumentWindow();
    }
};

TEST_F(PictureFileShellTest, SixteenBitPicturesOpenStretchedAndTheStatusBarSaysSoOnce) {
    TestPicture deep;
    deep.width = 3;
    deep.height = 2;
    deep.bits = 16;
    deep.samples = {1200, 1200, 1200, 4000, 4000, 4000};
    const std::string path = tempPath("camera.TIFF");
    ASSERT_TRUE(WriteTiffFile(path, deep));

    CChildFrame* window = openThroughTheDialog(path);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->document().path(), path);
    EXPECT_EQ(PixelAt(window->document().image(), 0, 0), (Bgr{0, 0, 0}));
    EXPECT_EQ(PixelAt(window->document().image(), 2, 1), (Bgr{255, 255, 255}));
    EXPECT_EQ(frame().statusPane(0)->text(),
              QStringLiteral("16-bit picture shown stretched from 1200..4000"));
    EXPECT_TRUE(prompts.messages.empty());

    // An 8-bit picture has nothing to say; the pane keeps what it showed.
    frame().setStatusPaneText(0, QStringLiteral("Ready"));
    const std::string plain = tempPath("plain.png");
    ASSERT_TRUE(WritePngFile(plain, PatternPicture(5, 4, TestColours::Palette, 4)));
    ASSERT_NE(openThroughTheDialog(plain), nullptr);
    EXPECT_EQ(frame().documentWindows().size(), 2u);
    EXPECT_EQ(frame().statusPane(0)->text(), QStringLiteral("Ready"));
}

TEST_F(PictureFileShellTest, SaveAsWritesPngAndTiffThatOpenAgainUnchanged) {
    CChildFrame* window = newImage(9, 7);
    ASSERT_NE(window, nullptr);
    window->view().runImageCommand([](const CDibImage& image, const CDibImage&, const CDibImage&) {
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width(); ++x)
                SetPixel(image, x, y, Bgr{uint8_t(x * 20), uint8_t(y * 30), uint8_t(x + y)});
    });
    for (const std::string name : {"copy.png", "copy.tif", "copy.TIFF"}) {
        const std::string path = tempPath(name);
        prompts.fileNames.push_back(path);
        frame().router().dispatch(kIdFileSaveAs);
        EXPECT_FALSE(window->document().IsModified()) << name;
        const PictureFromFile file = OpenPictureFile(path);
        ASSERT_TRUE(file.picture) << name;
        DibBlock image;
        ASSERT_TRUE(CreateRgb(image, 9, 7));
        ASSERT_TRUE(ConvertPackedDib(file.picture, image.dib()));
        EXPECT_TRUE(SamePixels(image.dib(), window->document().image())) << name;
    }
    EXPECT_EQ(prompts.qualityRequests, 0);
    EXPECT_TRUE(prompts.messages.empty());
}

// JPEG and TIFF names in any letter case open from the command line and from
// the Open dialog, whose filter lists them whatever their case.
TEST_F(PictureFileShellTest, JpegAndTiffNamesInAnyCaseOpenFromTheCommandLineAndTheDialog) {
    DibBlock image = MakeRgb(6, 4, [](int x, int y) {
        return Bgr{uint8_t(40 * x), uint8_t(60 * y), 128};
    });
    const std::vector<std::string> names = {"a.JPEG", "b.jpeg", "c.JpG", "d.Tiff", "e.TIF"};
    for (const std::string& name : names) {
        const std::string path = tempPath(name);
        const bool written =
            EndsWithIgnoringCase(name, ".TIF") || EndsWithIgnoringCase(name, ".TIFF")
                ? CTiffFile().Write(path, image.dib())
                : CJpegFile().Write(path, image.dib(), 95);
        ASSERT_TRUE(written) << name;
    }
    app->OpenFiles({tempPath("a.JPEG"), tempPath("d.Tiff")});
    settle();
    ASSERT_EQ(frame().documentWindows().size(), 2u);
    EXPECT_EQ(frame().documentWindows().at(0)->document().path(), tempPath("a.JPEG"));
    EXPECT_EQ(frame().documentWindows().at(1)->document().path(), tempPath("d.Tiff"));
    EXPECT_TRUE(SamePixels(frame().documentWindows().at(1)->document().image(), image.dib()));

    for (const std::string name : {"b.jpeg", "c.JpG", "e.TIF"})
        EXPECT_NE(openThroughTheDialog(tempPath(name)), nullptr) << name;
    EXPECT_EQ(frame().documentWindows().size(), 5u);
    EXPECT_TRUE(prompts.messages.empty());

    // The dialog's first filter, "All pictures", shows every one of them.
    ASSERT_FALSE(prompts.fileRequests.empty());
    const QString all =
        FilterPatterns(ConvertFileFilter(prompts.fileRequests.back().filter).constFirst());
    for (const std::string& name : names) {
        bool shown = false;
        for (const QString& pattern : all.split(u' ', Qt::SkipEmptyParts))
            shown = shown ||
                    QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern))
                        .match(QString::fromStdString(name))
                        .hasMatch();
        EXPECT_TRUE(shown) << name << " with " << all.toStdString();
    }
}

} // namespace
} // namespace halvera::testing
