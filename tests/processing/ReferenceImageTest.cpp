#include "processing/ReferenceImage.h"

#include "RecordingPrompts.h"
#include "SyntheticImages.h"
#include "image/BmpFile.h"
#include "processing/ApplyReference.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace halvera {
namespace {

using testing::Bgr;
using testing::MakeRgb;
using testing::MakeUniformRgb;
using testing::PixelAt;
using testing::SamePixels;
using testing::ScopedRecordingPrompts;

class ReferenceImage : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = std::filesystem::temp_directory_path() /
                     ("halvera-reference-" + std::to_string(::getpid()) + "-" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(directory_);
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }

    std::string Path(const char* name) const { return (directory_ / name).string(); }

    static std::vector<char> Bytes(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path directory_;
};

DibBlock Sample(int width, int height) {
    return MakeRgb(width, height, [](int x, int y) {
        return Bgr{uint8_t(x * 20), uint8_t(y * 30 + 1), uint8_t(x == 1 ? 0 : 200)};
    });
}

TEST_F(ReferenceImage, BuildWritesAReferenceFileThatLoadsBack) {
    ScopedRecordingPrompts prompts;
    const DibBlock image = Sample(5, 3);
    const std::string path = Path("field.ref");
    prompts.fileNames.push_back(path);
    ASSERT_TRUE(BuildReferenceImage(image.dib()));

    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    const FileDialogRequest& request = prompts.fileRequests[0];
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.proposedName, "Reference");
    EXPECT_EQ(request.filter, "Reference(*.ref)|*.ref||");
    EXPECT_EQ(request.defaultExtension, "ref");
    EXPECT_TRUE(request.promptOverwrite);

    // "==", then the file size, two reserved zeros and the pixel offset 54.
    const std::vector<char> bytes = Bytes(path);
    ASSERT_EQ(bytes.size(), 14u + static_cast<size_t>(image.dib().blockSize));
    EXPECT_EQ(bytes[0], '=');
    EXPECT_EQ(bytes[1], '=');
    EXPECT_EQ(static_cast<uint8_t>(bytes[10]), 54);

    DibBlock target = MakeUniformRgb(5, 3, Bgr{1, 1, 1});
    prompts.fileNames.push_back(path);
    ASSERT_TRUE(LoadReferenceImage(target.dib()));
    EXPECT_FALSE(prompts.fileRequests.back().save);
    EXPECT_TRUE(SamePixels(target.dib(), image.dib()));
    EXPECT_TRUE(prompts.messages.empty());

    // Dividing the image by its own reference at level 128.
    DibBlock corrected = MakeUniformRgb(5, 3, Bgr{});
    ASSERT_TRUE(ApplyReference(corrected.dib(), image.dib(), target.dib(), {}, 128, false));
    EXPECT_EQ(PixelAt(corrected.dib(), 1, 2), (Bgr{128, 128, 255}));
}

TEST_F(ReferenceImage, AnOrdinaryBmpFileIsRefused) {
    ScopedRecordingPrompts prompts;
    const DibBlock image = Sample(5, 3);
    const std::string path = Path("field.ref");
    ASSERT_TRUE(CBmpFile().Write(path, image.dib())); // signature "BM"

    DibBlock target = MakeUniformRgb(5, 3, Bgr{1, 2, 3});
    prompts.fileNames.push_back(path);
    EXPECT_FALSE(LoadReferenceImage(target.dib()));
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Can not read the file!"});
    EXPECT_TRUE(SamePixels(target.dib(), MakeUniformRgb(5, 3, Bgr{1, 2, 3}).dib()));
}

TEST_F(ReferenceImage, AReferenceOfAnotherSizeIsRefusedAndTheTargetKept) {
    ScopedRecordingPrompts prompts;
    // 4 x 4 and 6 x 2 images hold blocks larger than a 5 x 3 image: the file
    // is long enough to read, only its header tells the difference.
    for (const auto& [width, height] : {std::pair{4, 4}, std::pair{6, 2}, std::pair{5, 4}}) {
        const std::string path = Path("other.ref");
        prompts.fileNames.push_back(path);
        ASSERT_TRUE(BuildReferenceImage(Sample(width, height).dib()));

        DibBlock target = MakeUniformRgb(5, 3, Bgr{1, 2, 3});
        const BitmapInfoHeader header = *target.dib().header;
        prompts.messages.clear();
        prompts.fileNames.push_back(path);
        EXPECT_FALSE(LoadReferenceImage(target.dib()));
        EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Can not read the file!"});
        EXPECT_EQ(target.dib().header->biWidth, header.biWidth);
        EXPECT_EQ(target.dib().header->biHeight, header.biHeight);
        EXPECT_TRUE(SamePixels(target.dib(), MakeUniformRgb(5, 3, Bgr{1, 2, 3}).dib()));
    }
}

TEST_F(ReferenceImage, CancellingTheFileDialogDoesNothing) {
    ScopedRecordingPrompts prompts;
    DibBlock target = MakeUniformRgb(2, 2, Bgr{1, 2, 3});
    EXPECT_FALSE(LoadReferenceImage(target.dib()));
    EXPECT_FALSE(BuildReferenceImage(target.dib()));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(prompts.fileRequests.size(), 2u);
}

} // namespace
} // namespace halvera
