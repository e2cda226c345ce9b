// Autosave and recovery in the running application: which images get a
// recovery copy, when it is removed, the offer at start and the recovered
// image, and the offer's dialog itself.
#include "ShellFixture.h"
#include "SyntheticImages.h"
#include "app/RecoveryCopyFile.h"
#include "app/ui/AutosaveService.h"
#include "app/ui/RecoveryDialog.h"
#include "document/MeasureData.h"
#include "view/CommandIds.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::ByteAt;
using testing::PixelAt;
using testing::SetByte;
using testing::SetPixel;

namespace fs = std::filesystem;

// The names of the copies in `folder`.
std::vector<std::string> CopiesIn(const std::string& folder) {
    std::vector<std::string> copies;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == kRecoveryCopyExtension)
            copies.push_back(entry.path().filename().string());
    }
    return copies;
}

class RecoveryShellTest : public testing::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        folder = tempPath("recovery");
        // No timer: the tests run each round themselves.
        app->StartAutosave(folder, std::chrono::milliseconds(0));
    }

    // A test that ended the application itself has nothing left to close.
    void TearDown() override {
        if (app)
            ShellTest::TearDown();
    }

    CAutosaveService& autosave() { return *app->autosave(); }
    void autosaveRound() {
        autosave().autosaveNow();
        autosave().writer().WaitUntilIdle();
    }
    void invertActiveImage() { ASSERT_TRUE(frame().router().dispatch(kIdInvert)); }
    bool hasCopy(CChildFrame* window) { return fs::exists(autosave().copyFileOf(window)); }

    std::string folder;
};

// Measured items that need every digit of a double: a clicked line, an edge
// line with its fit and an edge point.
MeasureData MeasuredItems() {
    MeasureData items;
    EXPECT_TRUE(items.AppendLine({1, 2}, {20, 2}));
    EXPECT_TRUE(items.AppendEdgeLine({10.25, 5.5}, {30.75, 1.0 / 7.0}, 0.012345678901234567));
    EXPECT_TRUE(items.AppendEdgePoint({12.123456789012345, 3.000000000000004}));
    return items;
}

void ExpectSameItems(const MeasureData& read, const MeasureData& written) {
    EXPECT_TRUE(read.SameItems(written));
    ASSERT_EQ(read.ItemCount(MeasureKind::Line), written.ItemCount(MeasureKind::Line));
    for (int item = 0; item < written.ItemCount(MeasureKind::Line); ++item)
        EXPECT_EQ(read.edgeFit(MeasureKind::Line, item), written.edgeFit(MeasureKind::Line, item));
}

TEST_F(RecoveryShellTest, OnlyImagesWithUnsavedWorkAreCopied) {
    CChildFrame* blank = newImage(40, 30);
    CChildFrame* edited = newImage(40, 30);
    invertActiveImage();
    autosaveRound();
    EXPECT_FALSE(hasCopy(blank)) << "a blank image has nothing to lose";
    ASSERT_TRUE(hasCopy(edited));
    const std::optional<RecoverySnapshot> copy = ReadRecoveryCopy(autosave().copyFileOf(edited));
    ASSERT_TRUE(copy);
    EXPECT_TRUE(testing::SamePixels(copy->image.dib(), edited->document().image()));
    EXPECT_EQ(PixelAt(copy->image.dib(), 3, 3), (Bgr{0, 0, 0})) << "white inverted";

    // Undo back to the picture of the file: nothing to recover any more.
    edited->document().Undo();
    ASSERT_FALSE(edited->document().IsModified());
    autosaveRound();
    EXPECT_FALSE(hasCopy(edited));
}

TEST_F(RecoveryShellTest, SavingRemovesTheCopy) {
    app->OpenDocumentFile(writeBmp("cells.bmp", 32, 24));
    CChildFrame* window = frame().activeDocumentWindow();
    invertActiveImage();
    autosaveRound();
    ASSERT_TRUE(hasCopy(window));
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    QTest::keyClick(&frame(), Qt::Key_S, Qt::ControlModifier);
    settle();
    autosave().writer().WaitUntilIdle();
    EXPECT_FALSE(window->document().IsModified()) << ::testing::PrintToString(prompts.texts());
    EXPECT_FALSE(hasCopy(window));
}

TEST_F(RecoveryShellTest, MeasuredItemsAreInTheCopyAndLeaveWithItOnSave) {
    app->OpenDocumentFile(writeBmp("cells.bmp", 32, 24));
    CChildFrame* window = frame().activeDocumentWindow();
    invertActiveImage();
    window->document().measureData() = MeasuredItems();
    autosaveRound();
    ASSERT_TRUE(hasCopy(window)) << "items never written need a copy";
    const std::optional<RecoverySnapshot> copy = ReadRecoveryCopy(autosave().copyFileOf(window));
    ASSERT_TRUE(copy);
    ExpectSameItems(copy->measurements, MeasuredItems());
    EXPECT_EQ(CopiesIn(folder).size() + 1,
              static_cast<size_t>(std::distance(fs::directory_iterator(folder), {})))
        << "the copy and the session file, no file beside the copy";

    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    QTest::keyClick(&frame(), Qt::Key_S, Qt::ControlModifier);
    settle();
    autosave().writer().WaitUntilIdle();
    EXPECT_FALSE(hasCopy(window)) << ::testing::PrintToString(prompts.texts());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1) << "the session file alone";
}

TEST_F(RecoveryShellTest, ClosingWithoutSavingRemovesTheCopyCancelKeepsIt) {
    CChildFrame* window = newImage();
    invertActiveImage();
    autosaveRound();
    const std::string copy = autosave().copyFileOf(window);
    ASSERT_TRUE(fs::exists(copy));

    prompts.answers = {MessageAnswer::Cancel};
    window->close();
    settle();
    autosave().writer().WaitUntilIdle();
    ASSERT_EQ(app->CountDocuments(), 1) << "Cancel keeps the window";
    EXPECT_TRUE(fs::exists(copy));

    prompts.answers = {MessageAnswer::No};
    window->close();
    settle();
    autosave().writer().WaitUntilIdle();
    ASSERT_EQ(app->CountDocuments(), 0);
    EXPECT_FALSE(fs::exists(copy));
}

TEST_F(RecoveryShellTest, ACleanExitLeavesNothingToRecover) {
    newImage();
    invertActiveImage();
    autosaveRound();
    ASSERT_EQ(CopiesIn(folder).size(), 1u);
    prompts.answers = {MessageAnswer::No};
    frame().close();
    app.reset();
    settle();
    EXPECT_TRUE(fs::is_empty(folder)) << "no copy and no session file";
}

// Copies as a program that was killed left them behind.
class LeftCopiesTest : public RecoveryShellTest {
protected:
    // The number of a process that has ended.
    static long EndedProcess() {
        const pid_t child = fork();
        if (child == 0)
            _exit(0);
        int status = 0;
        waitpid(child, &status, 0);
        return child;
    }

    std::string leaveCopy(int serial, const std::string& path, const std::string& title) {
        settings.ImageWidth = 48;
        settings.ImageHeight = 20;
        CMavDoc document(settings);
        EXPECT_TRUE(document.OnNewDocument());
        SetPixel(document.image(), 7, 5, Bgr{10, 20, 30});
        SetByte(document.mask(), 47, 19, 255);
        document.measureData() = MeasuredItems();
        document.setPath(path);
        document.setTitle(title);
        settings.RulerUnit = 1;
        settings.xRealRulerData = 2.5;
        const std::string file =
            folder + "/" + std::to_string(ended) + "-" + std::to_string(serial) + ".hlvrec";
        EXPECT_TRUE(WriteRecoveryCopy(file, *TakeRecoverySnapshot(document)));
        return file;
    }

    long ended = EndedProcess();
    AppSettings settings;
};

TEST_F(LeftCopiesTest, RecoverOpensTheImageAsItWasDiscardDeletesLaterKeeps) {
    const std::string named = leaveCopy(1, "/pictures/cells.bmp", "cells.bmp");
    const std::string untitled = leaveCopy(2, "", "HLV 1");
    const std::string later = leaveCopy(3, "", "HLV 2");
    prompts.recoveryAnswers = {
        {RecoveryChoice::Recover, RecoveryChoice::Recover, RecoveryChoice::Later}};
    app->OfferRecovery();

    ASSERT_EQ(prompts.recoveryOffers.size(), 1u);
    const std::vector<RecoveryOffer>& offers = prompts.recoveryOffers[0];
    ASSERT_EQ(offers.size(), 3u);
    EXPECT_EQ(offers[0].name, "cells.bmp");
    EXPECT_EQ(offers[0].width, 48);
    EXPECT_EQ(offers[0].height, 20);
    EXPECT_LE(std::abs(offers[0].savedAt - std::time(nullptr)), 60);

    const std::vector<CChildFrame*> windows = frame().documentWindows();
    ASSERT_EQ(windows.size(), 2u);
    const CMavDoc& recovered = windows[0]->document();
    EXPECT_TRUE(recovered.IsModified());
    EXPECT_EQ(recovered.path(), "/pictures/cells.bmp");
    EXPECT_EQ(recovered.title(), "cells.bmp");
    EXPECT_EQ(PixelAt(recovered.image(), 7, 5), (Bgr{10, 20, 30}));
    EXPECT_EQ(PixelAt(recovered.image(), 8, 5), (Bgr{255, 255, 255}));
    EXPECT_EQ(ByteAt(recovered.mask(), 47, 19), 255);
    ExpectSameItems(recovered.measureData(), MeasuredItems());
    EXPECT_EQ(app->settings().RulerUnit, 1) << "the calibration the image was measured with";
    EXPECT_EQ(app->settings().xRealRulerData, 2.5);
    EXPECT_EQ(frame().calibrationStatus()->text(), QStringLiteral("0.0250 x 1.0000 mm/px"))
        << "the status bar follows the recovered calibration";
    EXPECT_TRUE(windows[1]->document().path().empty()) << "an untitled image stays untitled";
    EXPECT_TRUE(windows[1]->document().IsModified());

    // The recovered images' copies are this instance's now.
    EXPECT_FALSE(fs::exists(named));
    EXPECT_FALSE(fs::exists(untitled));
    EXPECT_TRUE(fs::exists(autosave().copyFileOf(windows[0])));
    EXPECT_TRUE(fs::exists(later));

    // Later: offered again at the next start, alone; Discard deletes it.
    prompts.recoveryAnswers = {{RecoveryChoice::Discard}};
    app->OfferRecovery();
    ASSERT_EQ(prompts.recoveryOffers.size(), 2u);
    ASSERT_EQ(prompts.recoveryOffers[1].size(), 1u);
    EXPECT_EQ(prompts.recoveryOffers[1][0].name, "HLV 2");
    EXPECT_FALSE(fs::exists(later));
    EXPECT_EQ(app->CountDocuments(), 2);
    EXPECT_EQ(CopiesIn(folder).size(), 2u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 3)
        << "this instance's two copies and its session file, nothing left beside them";
}

std::vector<RecoveryOffer> TwoOffers() {
    return {{"cells.bmp", 640, 480, 1700000000}, {"HLV 3", 64, 48, 1700000100}};
}

// The texts of the labels of `dialog`.
QStringList LabelTexts(const QDialog& dialog) {
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

TEST(RecoveryDialog, ShowsEachImageAndClosesOnceEveryRowIsDecided) {
    CRecoveryDialog dialog(TwoOffers());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QStringList texts = LabelTexts(dialog);
    EXPECT_TRUE(texts.contains("cells.bmp"));
    EXPECT_TRUE(texts.contains("640 x 480"));
    EXPECT_TRUE(texts.contains(CRecoveryDialog::TimeText(1700000000)));
    EXPECT_TRUE(texts.contains("HLV 3"));

    QTest::mouseClick(dialog.recoverButton(0), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible()) << "one row is still undecided";
    EXPECT_FALSE(dialog.recoverButton(0)->isEnabled());
    EXPECT_FALSE(dialog.discardButton(0)->isVisible());
    QTest::mouseClick(dialog.discardButton(1), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.choices(),
              (std::vector<RecoveryChoice>{RecoveryChoice::Recover, RecoveryChoice::Discard}));
}

TEST(RecoveryDialog, CloseLeavesTheUndecidedForLater) {
    CRecoveryDialog dialog(TwoOffers());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.discardButton(1), Qt::LeftButton);
    auto* close = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close);
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.choices(),
              (std::vector<RecoveryChoice>{RecoveryChoice::Later, RecoveryChoice::Discard}));
}

} // namespace
} // namespace halvera
