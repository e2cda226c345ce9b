#include "app/ui/SettingsDialog.h"

#include "DialogDriving.h"
#include "ImageFileTestSupport.h"
#include "ShellFixture.h"
#include "app/ui/AutosaveService.h"
#include "document/UndoMemoryBudget.h"
#include "view/CommandIds.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <fstream>

namespace halvera::testing {
namespace {

// Runs the Settings command of the Setting menu; the undo budget the program
// shares is put back afterwards.
class SettingsDialogTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        keptFolder = UndoBudget().cacheFolder();
        newImage(); // the Setting menu belongs to the menu bar with an image
    }
    void TearDown() override {
        ShellTest::TearDown();
        UndoBudget().setCacheFolder(keptFolder);
        UndoBudget().setLimit(UndoMemoryBudget::kDefaultLimit);
    }

    // The Setting menu's item runs the command as the router dispatches it.
    void openSettings(const std::function<void(QDialog&)>& act) {
        QAction* item = frame().menuAction(kIdProgramSettings);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text(), QStringLiteral("Settings...            (&H)"));
        EXPECT_TRUE(item->isEnabled());
        WithModalDialog([this] { frame().router().dispatch(kIdProgramSettings); }, act);
    }

    std::string keptFolder;
};

TEST_F(SettingsDialogTest, ShowsTheUndoMemoryInMegabytes) {
    app->settings().UndoMemory = 300;
    bool shown = false;
    openSettings([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Settings"));
        EXPECT_EQ(Child<QLineEdit>(dialog, "undoMemory")->text(), QStringLiteral("300"));
        const std::vector<std::string> labels = LabelTexts(dialog);
        EXPECT_NE(std::find(labels.begin(), labels.end(), "Undo memory"), labels.end());
        EXPECT_NE(std::find(labels.begin(), labels.end(), "MB"), labels.end());
        shown = true;
        Press(dialog, QDialogButtonBox::Cancel);
    });
    EXPECT_TRUE(shown);
}

TEST_F(SettingsDialogTest, OkStoresTheUndoMemoryAndTheBudgetTakesItAtOnce) {
    openSettings([](QDialog& dialog) {
        TypeInto(Child<QLineEdit>(dialog, "undoMemory"), QStringLiteral("1024"));
        Press(dialog, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(app->settings().UndoMemory, 1024);
    EXPECT_EQ(UndoBudget().limit(), size_t{1024} << 20);
    EXPECT_TRUE(prompts.messages.empty());
}

// Autosave stops at once when its interval is set to 0 and starts again
// with a new one.
TEST_F(SettingsDialogTest, OkGivesTheAutosaveMinutesToTheRunningAutosave) {
    TemporaryFolder recovery;
    app->StartAutosave(recovery.file("recovery"), std::chrono::minutes(2));
    ASSERT_TRUE(app->autosave()->running());
    openSettings([](QDialog& dialog) {
        EXPECT_EQ(Child<QLineEdit>(dialog, "autosaveMinutes")->text(), QStringLiteral("2"));
        TypeInto(Child<QLineEdit>(dialog, "autosaveMinutes"), QStringLiteral("0"));
        Press(dialog, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(app->settings().AutosaveMinutes, 0);
    EXPECT_FALSE(app->autosave()->running());
    openSettings([](QDialog& dialog) {
        TypeInto(Child<QLineEdit>(dialog, "autosaveMinutes"), QStringLiteral("61"));
        Press(dialog, QDialogButtonBox::Ok); // refused: above an hour
        TypeInto(Child<QLineEdit>(dialog, "autosaveMinutes"), QStringLiteral("5"));
        Press(dialog, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(app->settings().AutosaveMinutes, 5);
    EXPECT_TRUE(app->autosave()->running());
    EXPECT_EQ(prompts.messages.size(), 1u) << "61 was refused";
}

TEST_F(SettingsDialogTest, CancelKeepsTheSettingAndTheBudget) {
    openSettings([](QDialog& dialog) {
        TypeInto(Child<QLineEdit>(dialog, "undoMemory"), QStringLiteral("64"));
        Press(dialog, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(app->settings().UndoMemory, 512);
    EXPECT_EQ(UndoBudget().limit(), UndoMemoryBudget::kDefaultLimit);
}

TEST_F(SettingsDialogTest, AValueOutsideTheRangeIsRefusedAndTheDialogStaysOpen) {
    bool stayedOpen = false;
    openSettings([&](QDialog& dialog) {
        QLineEdit* field = Child<QLineEdit>(dialog, "undoMemory");
        TypeInto(field, QStringLiteral("8"));
        Press(dialog, QDialogButtonBox::Ok);
        stayedOpen = dialog.isVisible();
        EXPECT_TRUE(field->hasFocus());
        TypeInto(field, QStringLiteral("16"));
        QTest::keyClick(field, Qt::Key_Return);
    });
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Please enter an integer between 16 and 65536.");
    EXPECT_EQ(app->settings().UndoMemory, 16);
    EXPECT_EQ(UndoBudget().limit(), size_t{16} << 20);
}

TEST_F(SettingsDialogTest, TheSettingIsAppliedAtStart) {
    auto store = std::make_unique<MemorySettingsStore>();
    store->writeInt(kSettingsSection, "UndoMemory", 2000);
    app.reset();
    app = std::make_unique<CHalveraApp>(std::move(store));
    EXPECT_EQ(UndoBudget().limit(), size_t{2000} << 20);
    app->InitInstance(false).show();
}

// With no memory left for the history and a cache folder that cannot be
// made (a file is in its place), the invert's step is dropped at once and
// the status bar says so.
TEST_F(SettingsDialogTest, TheStatusBarSaysWhenTheOldestStepWasDropped) {
    const std::string blocked = tempPath("not-a-folder");
    std::ofstream(blocked) << "a file";
    UndoBudget().setCacheFolder(blocked + "/halvera");
    UndoBudget().setLimit(1);
    CChildFrame* window = frame().activeDocumentWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(frame().statusPane(0)->text().toStdString(), UndoMemoryBudget::kStepDroppedNotice);

    frame().menuAction(kIdInvert)->trigger();
    settle();
    EXPECT_EQ(frame().statusPane(0)->text().toStdString(),
              "The oldest undo step was dropped: undo memory and disk are full.");
    EXPECT_FALSE(window->document().CanUndo());
}

} // namespace
} // namespace halvera::testing
