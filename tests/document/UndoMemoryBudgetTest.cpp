// The undo memory budget: steps past it move to the cache folder and come
// back exact; a disk that takes nothing drops the oldest step with a notice;
// the step files go with their image.
#include "document/UndoMemoryBudget.h"

#include "NewDocumentTest.h"
#include "document/MavDoc.h"
#include "document/UndoStepFile.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace halvera {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

Bytes PixelsOf(const CDibImage& image) {
    return Bytes(image.bits, image.bits + image.bitsSize);
}

size_t FilesIn(const fs::path& folder) {
    if (!fs::exists(folder))
        return 0;
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

// Noise steps on a 640 x 480 image under a budget of 2 MB, the step files in
// a private folder; the budget is put back as it was afterwards.
class UndoMemoryBudgetTest : public testing::NewDocumentTest {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("halvera-undo-budget-" +
                   std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        budget().setCacheFolder((folder_ / "cache").string());
        budget().setNotice([this](const std::string& text) { notices_.push_back(text); });
        budget().setLimit(size_t{2} << 20);
        ASSERT_TRUE(NewDocument(640, 480));
    }

    void TearDown() override {
        budget().setNotice(nullptr);
        budget().setCacheFolder(UndoMemoryBudget::UserCacheFolder());
        budget().setLimit(UndoMemoryBudget::kDefaultLimit);
        fs::remove_all(folder_);
    }

    static UndoMemoryBudget& budget() { return UndoBudget(); }

    // A step that fills the whole image with noise (about 0.9 MB that does
    // not compress); returns the picture it left.
    Bytes NoiseStep() {
        SelectionRecord selection;
        doc.BeginImageStep(selection);
        const CDibImage image = doc.image();
        for (int32_t i = 0; i < image.bitsSize; ++i)
            image.bits[i] = static_cast<uint8_t>(random_());
        doc.EndImageStep(selection);
        return PixelsOf(image);
    }

    // A step that fills the whole image with one value (compresses to little).
    Bytes FillStep(uint8_t value) {
        SelectionRecord selection;
        doc.BeginImageStep(selection);
        const CDibImage image = doc.image();
        std::memset(image.bits, value, static_cast<size_t>(image.bitsSize));
        doc.EndImageStep(selection);
        return PixelsOf(image);
    }

    fs::path folder_;
    std::vector<std::string> notices_;
    std::mt19937 random_{7};
};

TEST_F(UndoMemoryBudgetTest, StepsPastTheBudgetMoveToDiskAndComeBackExact) {
    std::vector<Bytes> states{PixelsOf(doc.image())};
    for (int step = 0; step < 12; ++step)
        states.push_back(NoiseStep());

    EXPECT_EQ(doc.undoHistory().count(), 12) << "no step is lost";
    EXPECT_GT(doc.undoHistory().spilledSlots(), 0);
    EXPECT_EQ(FilesIn(folder_ / "cache"), static_cast<size_t>(doc.undoHistory().spilledSlots()));
    // The base (the picture as now) stays in memory; every step beyond it
    // that would break the budget is on disk.
    EXPECT_LE(budget().heldBytes(), budget().limit() + PixelsOf(doc.image()).size());
    EXPECT_TRUE(notices_.empty());

    for (int undo = 11; undo >= 0; --undo) {
        doc.Undo();
        ASSERT_EQ(PixelsOf(doc.image()), states[static_cast<size_t>(undo)]) << "undo to " << undo;
    }
    for (int redo = 1; redo <= 12; ++redo) {
        doc.Redo();
        ASSERT_EQ(PixelsOf(doc.image()), states[static_cast<size_t>(redo)]) << "redo to " << redo;
    }
}

TEST_F(UndoMemoryBudgetTest, StepFilesGoWithTheirImage) {
    for (int step = 0; step < 8; ++step)
        NoiseStep();
    ASSERT_GT(FilesIn(folder_ / "cache"), 0u);
    doc.OnNewDocument(); // the image is made again: its history goes
    EXPECT_EQ(FilesIn(folder_ / "cache"), 0u);
    {
        CMavDoc other(settings);
        ASSERT_TRUE(other.OnNewDocument());
        SelectionRecord selection;
        for (int step = 0; step < 8; ++step) {
            other.BeginImageStep(selection);
            std::memset(other.image().bits, step, static_cast<size_t>(other.image().bitsSize));
            other.image().bits[step * 1000] = static_cast<uint8_t>(random_());
            other.EndImageStep(selection);
            NoiseStep();
        }
        EXPECT_GT(FilesIn(folder_ / "cache"), 0u);
    }
    doc.OnNewDocument();
    EXPECT_EQ(FilesIn(folder_ / "cache"), 0u) << "a closed image leaves no step file behind";
}

TEST_F(UndoMemoryBudgetTest, AFullDiskDropsTheOldestStepAndSaysSo) {
    // The cache folder lies under a plain file, so no step file can be made.
    std::ofstream(folder_ / "not-a-folder") << "x";
    budget().setCacheFolder((folder_ / "not-a-folder" / "halvera").string());
    std::vector<Bytes> states{PixelsOf(doc.image())};
    for (int step = 0; step < 6; ++step)
        states.push_back(NoiseStep());

    ASSERT_FALSE(notices_.empty());
    EXPECT_EQ(notices_.front(), "The oldest undo step was dropped: undo memory and disk are full.");
    const int kept = doc.undoHistory().count();
    EXPECT_LT(kept, 6);
    EXPECT_GT(kept, 0) << "only the oldest steps go";
    EXPECT_EQ(static_cast<size_t>(6 - kept), notices_.size());
    EXPECT_LE(budget().heldBytes(), budget().limit() + PixelsOf(doc.image()).size());
    // Everything still held is exact.
    for (int undo = 5; undo >= 6 - kept; --undo) {
        doc.Undo();
        ASSERT_EQ(PixelsOf(doc.image()), states[static_cast<size_t>(undo)]);
    }
    EXPECT_FALSE(doc.CanUndo());
}

TEST_F(UndoMemoryBudgetTest, ARaisedBudgetSpillsNothing) {
    budget().setLimit(size_t{64} << 20);
    for (int step = 0; step < 10; ++step)
        NoiseStep();
    EXPECT_EQ(doc.undoHistory().spilledSlots(), 0);
    EXPECT_EQ(FilesIn(folder_ / "cache"), 0u);
    budget().setLimit(size_t{2} << 20); // lowering it moves steps out at once
    EXPECT_GT(doc.undoHistory().spilledSlots(), 0);
}

// Undoing a step and redoing it write the image whole but leave what the
// history holds as it was: nothing is compressed again. Walking two steps
// away moves the history's whole state along.
TEST_F(UndoMemoryBudgetTest, UndoAndRedoOfOneStepLeaveTheHistoryAsItIs) {
    budget().setLimit(size_t{64} << 20);
    const Bytes black = FillStep(0);
    const Bytes noise = NoiseStep();
    const size_t held = doc.undoHistory().heldBytes();
    doc.Undo();
    EXPECT_EQ(PixelsOf(doc.image()), black);
    EXPECT_EQ(doc.undoHistory().heldBytes(), held);
    doc.Redo();
    EXPECT_EQ(PixelsOf(doc.image()), noise);
    EXPECT_EQ(doc.undoHistory().heldBytes(), held);
    doc.Undo();
    doc.Undo();
    EXPECT_LT(doc.undoHistory().heldBytes(), held) << "the noise state gave way to the white one";
    doc.Redo();
    doc.Redo();
    EXPECT_EQ(PixelsOf(doc.image()), noise);
}

// After everything was undone and one step redone, the history's whole state
// may still stand before that step; when the budget then drops the step, the
// steps left still redo exactly.
TEST_F(UndoMemoryBudgetTest, DroppingAStepUndoneAndRedoneKeepsTheOthersExact) {
    budget().setLimit(size_t{64} << 20);
    std::vector<Bytes> states{PixelsOf(doc.image())};
    for (int step = 0; step < 4; ++step)
        states.push_back(NoiseStep());
    for (int step = 0; step < 4; ++step)
        doc.Undo();
    doc.Redo();
    ASSERT_EQ(PixelsOf(doc.image()), states[1]);

    std::ofstream(folder_ / "not-a-folder") << "x";
    budget().setCacheFolder((folder_ / "not-a-folder" / "halvera").string());
    budget().setLimit(1);
    ASSERT_EQ(notices_.size(), 1u);
    EXPECT_FALSE(doc.CanUndo());
    for (size_t redo = 2; redo <= 4; ++redo) {
        ASSERT_TRUE(doc.CanRedo());
        doc.Redo();
        ASSERT_EQ(PixelsOf(doc.image()), states[redo]) << "redo to state " << redo;
    }
}

// The number of a process that has ended.
pid_t EndedProcess() {
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

TEST_F(UndoMemoryBudgetTest, StepFilesOfEndedProgramsAreSweptAndOthersKept) {
    budget().setLimit(1);
    std::vector<Bytes> states{PixelsOf(doc.image())};
    for (int step = 0; step < 3; ++step)
        states.push_back(NoiseStep());
    const fs::path cache = folder_ / "cache";
    const size_t ours = FilesIn(cache);
    ASSERT_GT(ours, 0u);
    const std::string crashed = "undo-" + std::to_string(EndedProcess()) + "-1-4-0.step";
    for (const std::string& name :
         {crashed, std::string("notes.txt"), std::string("undo-x-1.step")})
        std::ofstream(cache / name) << "left behind";

    EXPECT_EQ(RemoveStepFilesOfEndedPrograms(cache.string()), 1);
    EXPECT_FALSE(fs::exists(cache / crashed));
    EXPECT_TRUE(fs::exists(cache / "notes.txt"));
    EXPECT_TRUE(fs::exists(cache / "undo-x-1.step"));
    EXPECT_EQ(FilesIn(cache), ours + 2) << "this program's steps stay";
    for (int undo = 2; undo >= 0; --undo) {
        doc.Undo();
        ASSERT_EQ(PixelsOf(doc.image()), states[static_cast<size_t>(undo)]);
    }
    EXPECT_EQ(RemoveStepFilesOfEndedPrograms((folder_ / "missing").string()), 0);
}

} // namespace
} // namespace halvera
