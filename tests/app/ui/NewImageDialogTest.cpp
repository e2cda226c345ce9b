#include "app/ui/NewImageDialog.h"

#include "ShellFixture.h"
#include "SyntheticImages.h"
#include "app/ui/ShellPrompts.h"
#include "view/CommandIds.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace halvera::testing {
namespace {

class NewImageDialogTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        QApplication::clipboard()->clear();
    }

    static void type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
};

TEST_F(NewImageDialogTest, ProposesTheLastImageSizeWithoutAClipboardPicture) {
    app->settings().ImageWidth = 320;
    app->settings().ImageHeight = 200;
    CNewImageDialog dialog(app->settings());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("New image size"));
    EXPECT_EQ(dialog.widthEdit()->text(), QStringLiteral("320"));
    EXPECT_EQ(dialog.heightEdit()->text(), QStringLiteral("200"));
}

TEST_F(NewImageDialogTest, ProposesTheClipboardPictureSize) {
    QImage picture(33, 21, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    QApplication::clipboard()->setImage(picture);
    CNewImageDialog dialog(app->settings());
    EXPECT_EQ(dialog.widthEdit()->text(), QStringLiteral("33"));
    EXPECT_EQ(dialog.heightEdit()->text(), QStringLiteral("21"));
}

TEST_F(NewImageDialogTest, TypingMoreThan65536IsHeldThere) {
    CNewImageDialog dialog(app->settings());
    type(dialog.widthEdit(), "70000");
    EXPECT_EQ(dialog.widthEdit()->text(), QStringLiteral("65536"));
    type(dialog.heightEdit(), "65536");
    EXPECT_EQ(dialog.heightEdit()->text(), QStringLiteral("65536"));
    type(dialog.heightEdit(), "abc12");
    EXPECT_EQ(dialog.heightEdit()->text(), QStringLiteral("12"));
}

TEST_F(NewImageDialogTest, OkRoundsTheWidthUpToAMultipleOfFourAndStoresTheSize) {
    CNewImageDialog dialog(app->settings());
    type(dialog.widthEdit(), "101");
    type(dialog.heightEdit(), "3");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenSize(), (ImageSize{104, 8}));
    EXPECT_EQ(app->settings().ImageWidth, 104);
    EXPECT_EQ(app->settings().ImageHeight, 8);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(NewImageDialogTest, SidesBeyond2048AreRefusedAndTheDialogStaysOpen) {
    CNewImageDialog dialog(app->settings());
    dialog.show();
    type(dialog.widthEdit(), "3000");
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Please enter an integer between 0 and 2048.");

    type(dialog.widthEdit(), "2048");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(NewImageDialogTest, EmptySideIsRefused) {
    CNewImageDialog dialog(app->settings());
    dialog.show();
    type(dialog.heightEdit(), "");
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Please enter an integer."});
}

TEST_F(NewImageDialogTest, NewCommandAsksForTheSizeAndCreatesAWhiteImageOfIt) {
    prompts.newImageSizes.push_back(ImageSize{104, 50});
    frame().router().dispatch(kIdFileNew);
    EXPECT_EQ(prompts.newImageSizeRequests, 1);
    ASSERT_EQ(frame().documentWindows().size(), 1u);
    const CMavDoc& document = frame().documentWindows()[0]->document();
    EXPECT_EQ(document.width(), 104);
    EXPECT_EQ(document.height(), 50);
    EXPECT_EQ(PixelAt(document.image(), 103, 49), (Bgr{255, 255, 255}));
    EXPECT_EQ(document.title().rfind("HLV ", 0), 0u);
}

TEST_F(NewImageDialogTest, CancelCreatesNothing) {
    frame().router().dispatch(kIdFileNew);
    EXPECT_EQ(prompts.newImageSizeRequests, 1);
    EXPECT_TRUE(frame().documentWindows().empty());
}

// The desktop prompts answer the question with this dialog: what the user
// types passes the size rules on its way to the new image.
TEST_F(NewImageDialogTest, TheDesktopPromptsAskThroughTheDialog) {
    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CNewImageDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        type(dialog->widthEdit(), "101");
        type(dialog->heightEdit(), "50");
        QTest::keyClick(dialog, Qt::Key_Return);
        answered = true;
    });
    ShellPrompts desktop;
    const std::optional<ImageSize> size = desktop.askNewImageSize(app->settings());
    ASSERT_TRUE(answered);
    EXPECT_EQ(size, (ImageSize{104, 50}));
    EXPECT_EQ(app->settings().ImageWidth, 104);

    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<CNewImageDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    EXPECT_EQ(desktop.askNewImageSize(app->settings()), std::nullopt);
}

} // namespace
} // namespace halvera::testing
