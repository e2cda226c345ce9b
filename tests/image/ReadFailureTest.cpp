// Why a picture file was not read: every reader names the file and the
// reason on the second line of "Can not read the file!".
#include "image/ReadFailure.h"

#include "ImageFileTestSupport.h"
#include "PictureEncoders.h"
#include "ReadMessages.h"
#include "RecordingPrompts.h"
#include "image/ConvertPackedDib.h"
#include "image/PictureFiles.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bytes;
using testing::CannotReadMessage;
using testing::IsCannotReadMessage;

Bytes Bmp(int width, int height, int depth) {
    const size_t stride = (static_cast<size_t>(width) * depth + 31) / 32 * 4;
    return testing::ImageFileBytes(
        testing::PackedDibBytes(testing::PictureHeader(width, height, depth), {},
                                Bytes(stride * static_cast<size_t>(height), 0x40)),
        0);
}

class ReadFailureTest : public ::testing::Test {
protected:
    // The one message that opening `name` holding `bytes` showed.
    std::string MessageOf(const std::string& name, const Bytes& bytes) {
        const std::string path = folder.file(name);
        testing::WriteFileBytes(path, bytes);
        prompts.messages.clear();
        EXPECT_FALSE(OpenPictureFile(path).picture) << name;
        EXPECT_EQ(prompts.messages.size(), 1u) << name;
        return prompts.messages.empty() ? std::string() : prompts.messages[0].text;
    }

    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
};

TEST(ReadFailureText, SaysWhatTheSystemRefused) {
    EXPECT_EQ(ReadFailureText(OpenFailureOf(ENOENT)), "there is no such file");
    EXPECT_EQ(ReadFailureText(OpenFailureOf(EACCES)), "no permission to read it");
    EXPECT_EQ(ReadFailureText(OpenFailureOf(EISDIR)), "not a file but a folder or device");
    EXPECT_EQ(ReadFailureText(OpenFailureOf(EIO)), "it cannot be opened: Input/output error");
}

TEST_F(ReadFailureTest, MissingFilesAndFoldersAreNamedForEveryType) {
    for (const std::string name : {"absent.bmp", "absent.jpg", "absent.png", "absent.tif"}) {
        prompts.messages.clear();
        EXPECT_FALSE(OpenPictureFile(folder.file(name)).picture);
        EXPECT_EQ(prompts.texts(), std::vector<std::string>{CannotReadMessage(
                                       folder.file(name), "there is no such file")});
    }
    for (const std::string name : {"folder.bmp", "folder.jpeg", "folder.png", "folder.tiff"}) {
        const std::string path = folder.file(name);
        std::filesystem::create_directory(path);
        prompts.messages.clear();
        EXPECT_FALSE(OpenPictureFile(path).picture);
        EXPECT_EQ(prompts.texts(), std::vector<std::string>{CannotReadMessage(
                                       path, "not a file but a folder or device")});
    }
}

TEST_F(ReadFailureTest, AFileOfAnotherKindIsNotAPictureOfItsNamesType) {
    const Bytes bmp = Bmp(4, 3, 24);
    EXPECT_EQ(MessageOf("bmp.png", bmp),
              CannotReadMessage(folder.file("bmp.png"), "not a PNG picture"));
    EXPECT_EQ(MessageOf("bmp.JPEG", bmp),
              CannotReadMessage(folder.file("bmp.JPEG"), "not a JPEG picture"));
    EXPECT_EQ(MessageOf("bmp.tif", bmp),
              CannotReadMessage(folder.file("bmp.tif"), "not a TIFF picture"));
    const Bytes text = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o',
                        'r', 'l', 'd', '!', '!', '!', '!', '!'};
    EXPECT_EQ(MessageOf("text.bmp", text),
              CannotReadMessage(folder.file("text.bmp"), "not a BMP picture"));
}

TEST_F(ReadFailureTest, BmpVariantsTheProgramDoesNotReadAreNamed) {
    EXPECT_EQ(MessageOf("two.bmp", Bmp(4, 3, 2)),
              CannotReadMessage(folder.file("two.bmp"), "unsupported variant: 2 bits per pixel"));
    EXPECT_EQ(MessageOf("deep.bmp", Bmp(4, 3, 64)),
              CannotReadMessage(folder.file("deep.bmp"), "unsupported variant: 64 bits per pixel"));
    // Headers that contradict themselves are refused with some reason.
    Bytes fields = Bmp(4, 3, 24);
    testing::PutLittle32At(fields, 14 + 16, 3); // biCompression: bit fields
    EXPECT_TRUE(IsCannotReadMessage(MessageOf("fields.bmp", fields), folder.file("fields.bmp")));
    Bytes wide = Bmp(4, 3, 24);
    testing::PutLittle32At(wide, 14 + 4, 30001);
    EXPECT_TRUE(IsCannotReadMessage(MessageOf("wide.bmp", wide), folder.file("wide.bmp")));
}

TEST_F(ReadFailureTest, FilesCutShortSaySo) {
    const Bytes bmp = Bmp(4, 3, 24);
    EXPECT_EQ(MessageOf("short.bmp", Bytes(bmp.begin(), bmp.end() - 1)),
              CannotReadMessage(folder.file("short.bmp"), "the file is cut short"));

    const std::string whole = folder.file("whole.png");
    ASSERT_TRUE(testing::WritePngFile(
        whole, testing::PatternPicture(40, 30, testing::TestColours::Rgb, 8)));
    const Bytes png = testing::ReadFileBytes(whole);
    EXPECT_EQ(
        MessageOf("half.png", Bytes(png.begin(), png.begin() + static_cast<long>(png.size() / 2))),
        CannotReadMessage(folder.file("half.png"), "the file is cut short"));
}

// The conversion into an image names what it cannot convert, for pictures
// from any source.
TEST(PackedDibFailure, NamesAnUnreadableHeaderAndMissingRows) {
    const Bytes whole = testing::PackedDibBytes(testing::PictureHeader(4, 3, 8),
                                                std::vector<RgbQuad>(256), Bytes(12, 1));
    PackedDib dib = PackedDib::Allocate(whole.size());
    ASSERT_TRUE(dib);
    std::copy(whole.begin(), whole.end(), dib.data());
    EXPECT_FALSE(PackedDibFailure(dib));

    PackedDib cut = PackedDib::Allocate(whole.size() - 1);
    ASSERT_TRUE(cut);
    std::copy(whole.begin(), whole.end() - 1, cut.data());
    ASSERT_TRUE(PackedDibFailure(cut));
    EXPECT_EQ(ReadFailureText(*PackedDibFailure(cut)), "the file is cut short");

    cut.header()->biBitCount = 2;
    ASSERT_TRUE(PackedDibFailure(cut));
    EXPECT_EQ(ReadFailureText(*PackedDibFailure(cut)), "unsupported variant: 2 bits per pixel");
}

} // namespace
} // namespace halvera
