// The recovery copies of unsaved images: where they live, what their file
// holds, which instance owns them, and the worker that writes them.
#include "ImageFileTestSupport.h"
#include "NewDocumentTest.h"
#include "SyntheticImages.h"
#include "app/AutosaveWriter.h"
#include "app/RecoveryCopyFile.h"
#include "app/RecoveryFolder.h"
#include "app/RecoverySession.h"
#include "app/RecoverySnapshot.h"

#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::ByteAt;
using testing::PixelAt;
using testing::SetByte;
using testing::SetPixel;
using testing::TemporaryFolder;

namespace fs = std::filesystem;

TEST(RecoveryFolder, FollowsTheStateHomeOrFallsBackToTheHomeFolder) {
    EXPECT_EQ(RecoveryFolderFor("/s", "/home/u"), "/s/halvera/recovery");
    EXPECT_EQ(RecoveryFolderFor(nullptr, "/home/u"), "/home/u/.local/state/halvera/recovery");
    EXPECT_EQ(RecoveryFolderFor("", "/home/u"), "/home/u/.local/state/halvera/recovery");
    EXPECT_EQ(RecoveryFolderFor("relative", "/home/u"), "/home/u/.local/state/halvera/recovery")
        << "a relative state home is ignored";
    EXPECT_EQ(RecoveryFolderFor(nullptr, nullptr), "");
}

class RecoverySnapshotTest : public testing::NewDocumentTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(NewDocument(37, 21));
        SetPixel(doc.image(), 5, 7, Bgr{1, 2, 3});
        SetByte(doc.mask(), 36, 20, 255);
        doc.measureData().AppendLine({1, 1}, {30, 12});
        settings.RulerUnit = 2;
        settings.xRealRulerData = 12.5;
        settings.yPixelRulerData = 250;
        doc.setPath("/pictures/cells.bmp");
        doc.setTitle("cells.bmp");
    }
};

TEST_F(RecoverySnapshotTest, CopiesEverythingTheImageWouldLose) {
    const std::optional<RecoverySnapshot> snapshot = TakeRecoverySnapshot(doc);
    ASSERT_TRUE(snapshot);
    // The snapshot is a copy: later edits do not reach it.
    SetPixel(doc.image(), 5, 7, Bgr{9, 9, 9});
    EXPECT_EQ(PixelAt(snapshot->image.dib(), 5, 7), (Bgr{1, 2, 3}));
    EXPECT_EQ(ByteAt(snapshot->mask.dib(), 36, 20), 255);
    EXPECT_EQ(ByteAt(snapshot->mask.dib(), 0, 0), 0);
    EXPECT_EQ(snapshot->measurements.ItemCount(MeasureKind::Line), 1);
    EXPECT_EQ(snapshot->calibration, (CalibrationRecord{2, 12.5, 100.0, 100, 250}));
    EXPECT_EQ(snapshot->path, "/pictures/cells.bmp");
    EXPECT_EQ(snapshot->title, "cells.bmp");
}

TEST_F(RecoverySnapshotTest, CopyFileGivesBackPixelsSelectionAndCalibration) {
    TemporaryFolder folder;
    const std::string file = folder.file("1-1.hlvrec");
    ASSERT_TRUE(WriteRecoveryCopy(file, *TakeRecoverySnapshot(doc)));

    const std::optional<RecoveryCopyHeader> header = ReadRecoveryCopyHeader(file);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->title, "cells.bmp");
    EXPECT_EQ(header->path, "/pictures/cells.bmp");
    EXPECT_EQ(header->width, 37);
    EXPECT_EQ(header->height, 21);

    const std::optional<RecoverySnapshot> copy = ReadRecoveryCopy(file);
    ASSERT_TRUE(copy);
    EXPECT_TRUE(testing::SamePixels(copy->image.dib(), doc.image()));
    EXPECT_TRUE(testing::SamePixels(copy->mask.dib(), doc.mask()));
    EXPECT_EQ(copy->calibration, (CalibrationRecord{2, 12.5, 100.0, 100, 250}));
    EXPECT_EQ(copy->title, "cells.bmp");
}

TEST_F(RecoverySnapshotTest, CopyFileGivesBackMeasuredItemsExactly) {
    // An edge item whose points need every digit of a double, and a pair.
    ASSERT_TRUE(doc.measureData().AppendEdgeLine({10.25, 20.5}, {30.75, 1.0 / 7.0}, 0.0123));
    ASSERT_TRUE(doc.measureData().AppendPoint({3, 4}));
    ASSERT_TRUE(doc.measureData().AppendEdgePoint({30.123456789012345, 2.000000000000004}));
    ASSERT_TRUE(doc.measureData().AppendPointPair(0, 1));
    TemporaryFolder folder;
    const std::string file = folder.file("1-1.hlvrec");
    ASSERT_TRUE(WriteRecoveryCopy(file, *TakeRecoverySnapshot(doc)));

    const std::optional<RecoverySnapshot> copy = ReadRecoveryCopy(file);
    ASSERT_TRUE(copy);
    EXPECT_TRUE(copy->measurements.SameItems(doc.measureData()));
    ASSERT_EQ(copy->measurements.ItemCount(MeasureKind::Line), 2);
    ASSERT_EQ(copy->measurements.ItemCount(MeasureKind::Point), 2);
    EXPECT_EQ(copy->measurements.edgeFit(MeasureKind::Line, 1),
              doc.measureData().edgeFit(MeasureKind::Line, 1));
    EXPECT_EQ(copy->measurements.subPixel(MeasureKind::Point)[1].x, 30.123456789012345);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"1-1.hlvrec"})
        << "the items are inside the copy, no file beside it";
}

TEST_F(RecoverySnapshotTest, CutOrForeignFilesAreNoCopies) {
    TemporaryFolder folder;
    const std::string file = folder.file("1-1.hlvrec");
    ASSERT_TRUE(WriteRecoveryCopy(file, *TakeRecoverySnapshot(doc)));
    const auto size = fs::file_size(file);

    fs::resize_file(file, size - 1);
    EXPECT_FALSE(ReadRecoveryCopy(file)) << "a copy cut short";
    EXPECT_TRUE(ReadRecoveryCopyHeader(file)) << "its header is still whole";

    std::ofstream(folder.file("other.hlvrec")) << "BM not a copy at all";
    EXPECT_FALSE(ReadRecoveryCopyHeader(folder.file("other.hlvrec")));
    EXPECT_FALSE(ReadRecoveryCopy(folder.file("missing.hlvrec")));
}

// The number of a process that has ended.
long EndedProcess() {
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    return child;
}

void Touch(const std::string& path) {
    std::ofstream(path) << "copy";
}

TEST(RecoverySession, OffersOnlyTheCopiesOfInstancesThatAreGone) {
    TemporaryFolder folder;
    const std::string recovery = folder.file("state/halvera/recovery");
    RecoverySession session(recovery);
    ASSERT_TRUE(session.active()) << "the folder is created";
    Touch(session.CopyFile(1));

    const std::string ended = std::to_string(EndedProcess());
    // A killed instance leaves its session file and its copy behind.
    Touch(recovery + "/session-" + ended);
    Touch(recovery + "/" + ended + "-3.hlvrec");
    // A copy whose session file is gone (removed at a later start).
    Touch(recovery + "/424242424-1.hlvrec");
    // Other files are no copies.
    Touch(recovery + "/not-a-copy.txt");

    std::vector<std::string> abandoned = {recovery + "/" + ended + "-3.hlvrec",
                                          recovery + "/424242424-1.hlvrec"};
    std::sort(abandoned.begin(), abandoned.end());
    EXPECT_EQ(AbandonedCopies(recovery), abandoned);

    RemoveEndedSessions(recovery);
    EXPECT_FALSE(fs::exists(recovery + "/session-" + ended));
    EXPECT_TRUE(fs::exists(recovery + "/session-" + std::to_string(getpid())))
        << "a running instance keeps its session";
    EXPECT_EQ(AbandonedCopies(recovery).size(), 2u) << "the copies wait for the user";
}

TEST(RecoverySession, AReusedProcessNumberIsNoRunningInstance) {
    TemporaryFolder folder;
    const std::string recovery = folder.file("recovery");
    fs::create_directories(recovery);
    // This process's number, but a start mark that is not this process's.
    std::ofstream(recovery + "/session-" + std::to_string(getpid())) << "another boot 1";
    Touch(recovery + "/" + std::to_string(getpid()) + "-1.hlvrec");
    EXPECT_EQ(AbandonedCopies(recovery).size(), 1u);
}

TEST(RecoverySession, ACleanEndRemovesTheSessionFile) {
    TemporaryFolder folder;
    const std::string sessionFile = folder.file("session-" + std::to_string(getpid()));
    {
        RecoverySession session(folder.file(""));
        EXPECT_TRUE(fs::exists(sessionFile));
        Touch(session.CopyFile(1));
        EXPECT_TRUE(AbandonedCopies(folder.file("")).empty()) << "this instance is running";
    }
    EXPECT_FALSE(fs::exists(sessionFile));
}

TEST_F(RecoverySnapshotTest, WriterWritesThenRemovesInTheOrderAsked) {
    TemporaryFolder folder;
    const std::string kept = folder.file("1-1.hlvrec");
    const std::string removed = folder.file("1-2.hlvrec");
    {
        AutosaveWriter writer;
        writer.Write(kept, *TakeRecoverySnapshot(doc));
        writer.Write(removed, *TakeRecoverySnapshot(doc));
        writer.Remove(removed);
        writer.WaitUntilIdle();
        EXPECT_FALSE(writer.Busy());
        EXPECT_TRUE(ReadRecoveryCopy(kept));
        EXPECT_FALSE(fs::exists(removed));
        // Jobs asked just before the writer ends are still done.
        writer.Remove(kept);
    }
    EXPECT_EQ(folder.entries(), std::vector<std::string>{});
}

} // namespace
} // namespace halvera
