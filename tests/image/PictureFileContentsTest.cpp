// What a picture file on disk holds beyond one 8-bit picture: the pages and
// sample depth of files written by libtiff and libpng themselves.
#include "image/PictureFileContents.h"

#include "ImageFileTestSupport.h"
#include "PictureEncoders.h"
#include "RecordingPrompts.h"
#include "SyntheticImages.h"
#include "image/BmpFile.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::TestColours;
using testing::TestPicture;

class PictureFileContentsTest : public ::testing::Test {
protected:
    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
};

TEST_F(PictureFileContentsTest, TiffPagesAndDeepSamplesAreFound) {
    const TestPicture grey8 = testing::PatternPicture(5, 3, TestColours::Grey, 8);
    const TestPicture rgb16 = testing::PatternPicture(5, 3, TestColours::Rgb, 16);
    ASSERT_TRUE(testing::WriteTiffFile(folder.file("three.tif"), grey8, {.pages = 3}));
    ASSERT_TRUE(testing::WriteTiffFile(folder.file("deep.tif"), rgb16));
    ASSERT_TRUE(testing::WriteTiffFile(folder.file("both.tif"), rgb16, {.pages = 2}));
    ASSERT_TRUE(testing::WriteTiffFile(folder.file("plain.tif"), grey8));

    const PictureFileContents three = InspectPictureFile(folder.file("three.tif"));
    EXPECT_EQ(three.pages, 3);
    EXPECT_EQ(three.bitsPerSample, 8);
    EXPECT_EQ(three.Beyond8BitPicture(), "3 pages");
    EXPECT_EQ(InspectPictureFile(folder.file("deep.tif")).Beyond8BitPicture(), "16-bit samples");
    EXPECT_EQ(InspectPictureFile(folder.file("both.tif")).Beyond8BitPicture(),
              "2 pages, 16-bit samples");
    EXPECT_EQ(InspectPictureFile(folder.file("plain.tif")).Beyond8BitPicture(), "");
    EXPECT_EQ(three.ReplaceWarning(),
              "The file holds more than this picture (3 pages); saving replaces it.");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(PictureFileContentsTest, PngDepthIsReadFromItsHeader) {
    for (const int bits : {1, 8, 16}) {
        const TestPicture picture = testing::PatternPicture(4, 2, TestColours::Grey, bits);
        ASSERT_TRUE(testing::WritePngFile(folder.file("grey.png"), picture));
        const PictureFileContents contents = InspectPictureFile(folder.file("grey.png"));
        EXPECT_EQ(contents.pages, 1);
        EXPECT_EQ(contents.bitsPerSample, bits);
    }
    EXPECT_EQ(InspectPictureFile(folder.file("grey.png")).ReplaceWarning(),
              "The file holds more than this picture (16-bit samples); saving replaces it.");
    EXPECT_TRUE(prompts.messages.empty());
}

// The signature decides, not the name: a multi-page TIFF named .png is still found.
TEST_F(PictureFileContentsTest, TheFileItselfDecidesAndOtherFilesHoldNothingMore) {
    const TestPicture grey8 = testing::PatternPicture(5, 3, TestColours::Grey, 8);
    ASSERT_TRUE(testing::WriteTiffFile(folder.file("misnamed.png"), grey8, {.pages = 2}));
    EXPECT_EQ(InspectPictureFile(folder.file("misnamed.png")).pages, 2);

    const DibBlock image = testing::MakeUniformRgb(4, 4, testing::Bgr{1, 2, 3});
    ASSERT_TRUE(CBmpFile().Write(folder.file("flat.bmp"), image.dib()));
    testing::WriteFileBytes(folder.file("broken.tif"), testing::Bytes{'I', 'I', '*', 0, 9, 9});
    for (const char* name : {"flat.bmp", "broken.tif", "missing.tif"}) {
        const PictureFileContents contents = InspectPictureFile(folder.file(name));
        EXPECT_EQ(contents.Beyond8BitPicture(), "") << name;
        EXPECT_EQ(contents.ReplaceWarning(), "") << name;
    }
    EXPECT_TRUE(prompts.messages.empty());
}

} // namespace
} // namespace halvera
