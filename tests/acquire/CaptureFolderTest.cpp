// Where a recording may go: a missing folder and a file in place of a folder
// are said before the device is asked.
#include "acquire/CaptureFolder.h"

#include "ImageFileTestSupport.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

TEST(CaptureFolder, AFileInAFolderThatExistsCanBeTried) {
    testing::TemporaryFolder dir;
    EXPECT_FALSE(CaptureFolderProblem(dir.file("clip.avi")));
    EXPECT_FALSE(CaptureFolderProblem("clip.avi")) << "the current folder";
}

TEST(CaptureFolder, AMissingFolderOrAFileForAFolderIsNamed) {
    testing::TemporaryFolder dir;
    const std::string missing = dir.file("Videos/HLV.avi");
    EXPECT_EQ(CaptureFolderProblem(missing), "Cannot record to " + missing + ": the folder " +
                                                 dir.file("Videos") + " does not exist.");
    const std::string notes = dir.file("notes.txt");
    testing::WriteFileBytes(notes, testing::Bytes{'x'});
    EXPECT_EQ(CaptureFolderProblem(notes + "/HLV.avi"),
              "Cannot record to " + notes + "/HLV.avi: " + notes + " is not a folder.");
}

} // namespace
} // namespace halvera
