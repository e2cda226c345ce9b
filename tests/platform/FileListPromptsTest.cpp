// The batch questions' seam: without installed prompts every question is
// cancelled; installed prompts answer for their lifetime only.
#include "platform/FileListPrompts.h"

#include "RecordingPrompts.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

TEST(FileListPrompts, WithoutInstalledPromptsTheFileAndFolderQuestionsAreCancelled) {
    EXPECT_TRUE(FileLists().askFileNames(FileDialogRequest{}).empty());
    EXPECT_EQ(FileLists().askFolderName("Run recipe on a folder"), std::nullopt);
}

TEST(FileListPrompts, InstalledPromptsAnswerTheFolderQuestionUntilTheyGo) {
    {
        testing::RecordingPrompts prompts;
        prompts.folderNames.push_back("/data/batch7");
        const ScopedFileListPrompts installed(prompts);
        EXPECT_EQ(FileLists().askFolderName("Run recipe on a folder"), "/data/batch7");
        EXPECT_EQ(FileLists().askFolderName("Run recipe on a folder"), std::nullopt)
            << "no answer left: cancelled";
        EXPECT_EQ(prompts.folderRequests,
                  (std::vector<std::string>{"Run recipe on a folder", "Run recipe on a folder"}));
    }
    EXPECT_EQ(FileLists().askFolderName("Run recipe on a folder"), std::nullopt);
}

} // namespace
} // namespace halvera
