#include "image/BmpFile.h"

#include "ImageFileTestSupport.h"
#include "ReadMessages.h"
#include "RecordingPrompts.h"
#include "SyntheticImages.h"
#include "image/ConvertPackedDib.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::Bytes;
using testing::PutLittle32At;


Bgr Pattern(int x, int y) {
    return Bgr{static_cast<uint8_t>(x * 2 + y), static_cast<uint8_t>(255 - x),
               static_cast<uint8_t>(x ^ y * 5)};
}

std::vector<RgbQuad> TwoColours() {
    return {{0, 128, 255, 0}, {90, 10, 20, 0}};
}

// A 1-bit file of the given size with alternating columns.
Bytes OneBitFile(int width, int height) {
    const Bytes rows = testing::PackIndexedRows(width, height, 1, [](int x, int) { return x & 1; });
    return testing::ImageFileBytes(
        testing::PackedDibBytes(testing::PictureHeader(width, height, 1), TwoColours(), rows), 2);
}

Bytes TwentyFourBitFile(int width, int height) {
    DibBlock image = testing::MakeRgb(width, height, Pattern);
    const CDibImage dib = image.dib();
    const Bytes block(reinterpret_cast<const uint8_t*>(dib.header),
                      reinterpret_cast<const uint8_t*>(dib.header) + dib.blockSize);
    return testing::ImageFileBytes(block, 0);
}

class BmpFileTest : public ::testing::Test {
protected:
    // Reads `bytes` as a BMP file; on refusal expects exactly the read message.
    PackedDib Read(const Bytes& bytes) {
        const std::string path = folder.file("picture.bmp");
        testing::WriteFileBytes(path, bytes);
        return CBmpFile().ReadPackedDib(path);
    }
    void ExpectRefused(const Bytes& bytes, const char* what) {
        prompts.messages.clear();
        EXPECT_FALSE(Read(bytes)) << what;
        ASSERT_EQ(prompts.messages.size(), 1u) << what;
        EXPECT_TRUE(
            testing::IsCannotReadMessage(prompts.messages[0].text, folder.file("picture.bmp")))
            << what << ": " << prompts.messages[0].text;
        EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Warning) << what;
    }

    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
};

TEST_F(BmpFileTest, WritesA24BitFileWithOffset54AndReadsItBackByteIdentical) {
    DibBlock image = testing::MakeRgb(101, 7, Pattern);
    const CDibImage dib = image.dib();
    const std::string path = folder.file("written.bmp");
    ASSERT_TRUE(CBmpFile().Write(path, dib));

    const Bytes file = testing::ReadFileBytes(path);
    ASSERT_EQ(file.size(), 54u + 304 * 7);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(testing::Little32At(file, 2), 54u + 304 * 7);
    EXPECT_EQ(testing::Little32At(file, 6), 0u); // both reserved words
    EXPECT_EQ(testing::Little32At(file, 10), 54u);
    EXPECT_EQ(std::memcmp(file.data() + 14, dib.header, dib.blockSize), 0);

    const PackedDib dib2 = CBmpFile().ReadPackedDib(path);
    ASSERT_TRUE(dib2);
    ASSERT_EQ(dib2.size(), static_cast<size_t>(dib.blockSize));
    EXPECT_EQ(std::memcmp(dib2.data() + 40, dib.bits, dib.bitsSize), 0);
    DibBlock back;
    ASSERT_TRUE(CreateRgb(back, 101, 7));
    ASSERT_TRUE(ConvertPackedDib(dib2, back.dib()));
    EXPECT_EQ(std::memcmp(back.dib().bits, dib.bits, dib.bitsSize), 0);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(prompts.waitCursorBegins, 2);
    EXPECT_EQ(prompts.waitCursorEnds, 2);
}

TEST_F(BmpFileTest, ReadsEveryDepthWithItsFullPalette) {
    const std::vector<RgbQuad> sixteen = [] {
        std::vector<RgbQuad> p(16);
        for (int i = 0; i < 16; ++i)
            p[i] = {static_cast<uint8_t>(i * 16), static_cast<uint8_t>(200 - i), 7, 0};
        return p;
    }();
    const Bytes rows = testing::PackIndexedRows(9, 3, 4, [](int x, int y) { return (x + y) % 16; });
    const PackedDib dib = Read(testing::ImageFileBytes(
        testing::PackedDibBytes(testing::PictureHeader(9, 3, 4), sixteen, rows), 16));
    ASSERT_TRUE(dib);
    DibBlock image;
    ASSERT_TRUE(CreateRgb(image, 9, 3));
    ASSERT_TRUE(ConvertPackedDib(dib, image.dib()));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 9; ++x) {
            const RgbQuad& entry = sixteen[(x + y) % 16];
            ASSERT_EQ(testing::PixelAt(image.dib(), x, y),
                      (Bgr{entry.blue, entry.green, entry.red}));
        }
    EXPECT_TRUE(Read(OneBitFile(12, 2)));
    EXPECT_TRUE(Read(TwentyFourBitFile(40, 2)));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(BmpFileTest, ReadsFilesWithTheLongerHeadersOfLaterVersions) {
    const std::vector<RgbQuad> palette = TwoColours();
    const Bytes rows = testing::PackIndexedRows(9, 2, 1, [](int x, int y) { return (x + y) & 1; });
    const Bytes classic = testing::ImageFileBytes(
        testing::PackedDibBytes(testing::PictureHeader(9, 2, 1), palette, rows), 2);
    for (uint32_t headerSize : {108u, 124u}) {
        // The longer header: the classic 40 bytes with biSize changed, then
        // colour-space fields (zero here), then the same palette and rows.
        Bytes file(classic.begin(), classic.begin() + 54);
        file.insert(file.end(), headerSize - 40, 0);
        file.insert(file.end(), classic.begin() + 54, classic.end());
        PutLittle32At(file, 2, static_cast<uint32_t>(file.size()));
        PutLittle32At(file, 10, static_cast<uint32_t>(14 + headerSize + 8));
        PutLittle32At(file, 14, headerSize);

        const PackedDib dib = Read(file);
        ASSERT_TRUE(dib) << headerSize;
        EXPECT_EQ(dib.header()->biSize, 40u);
        DibBlock image;
        ASSERT_TRUE(CreateRgb(image, 9, 2));
        ASSERT_TRUE(ConvertPackedDib(dib, image.dib()));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 9; ++x) {
                const RgbQuad& entry = palette[(x + y) & 1];
                ASSERT_EQ(testing::PixelAt(image.dib(), x, y),
                          (Bgr{entry.blue, entry.green, entry.red}));
            }
    }
    Bytes oddHeader = classic;
    PutLittle32At(oddHeader, 14, 200);
    ExpectRefused(oddHeader, "a header longer than any version's");
}

TEST_F(BmpFileTest, AcceptsWidth30000AndRefusesWidthOrHeight30001) {
    const PackedDib wide = Read(OneBitFile(30000, 1));
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide.header()->biWidth, 30000);
    ExpectRefused(OneBitFile(30001, 1), "width 30001");
    ExpectRefused(OneBitFile(1, 30001), "height 30001");
}

TEST_F(BmpFileTest, RefusesAStoredSizeThatDiffersFromTheFilesLength) {
    Bytes file = TwentyFourBitFile(5, 3);
    ASSERT_TRUE(Read(file));
    PutLittle32At(file, 2, static_cast<uint32_t>(file.size() + 1));
    ExpectRefused(file, "one byte more");
    PutLittle32At(file, 2, static_cast<uint32_t>(file.size() - 1));
    ExpectRefused(file, "one byte less");
}

TEST_F(BmpFileTest, RefusesFilesShorterThanHeaderPaletteAndRows) {
    // Each file's stored size matches its length; only its content is short.
    auto consistent = [](Bytes file) {
        PutLittle32At(file, 2, static_cast<uint32_t>(file.size()));
        return file;
    };
    Bytes lastRowShort = TwentyFourBitFile(5, 3);
    lastRowShort.pop_back();
    ExpectRefused(consistent(lastRowShort), "24-bit, one byte short");

    // An 8-bit file with a 2-colour palette (biClrUsed 2) whose rows are one
    // byte short: they fit neither after that palette nor after a full one.
    BitmapInfoHeader header = testing::PictureHeader(8, 8, 8);
    header.biClrUsed = 2;
    const Bytes rows = testing::PackIndexedRows(8, 8, 8, [](int x, int) { return x & 1; });
    Bytes shortPalette =
        testing::ImageFileBytes(testing::PackedDibBytes(header, TwoColours(), rows), 2);
    ASSERT_TRUE(Read(shortPalette));
    shortPalette.pop_back();
    ExpectRefused(consistent(shortPalette), "8-bit with a short palette, one byte short");

    const Bytes whole = OneBitFile(9, 2);
    ExpectRefused(consistent(Bytes(whole.begin(), whole.begin() + 54)), "header only");
    ExpectRefused(consistent(Bytes(whole.begin(), whole.begin() + 30)), "cut inside the header");
    ExpectRefused(consistent(Bytes(whole.begin(), whole.begin() + 14)), "file header only");
    ExpectRefused(Bytes(whole.begin(), whole.begin() + 13), "shorter than the file header");
    ExpectRefused({}, "empty file");
}

TEST_F(BmpFileTest, RefusesOtherSignaturesReservedWordsDepthsAndCompression) {
    Bytes file = OneBitFile(4, 4);
    file[6] = 1;
    ExpectRefused(file, "reserved word");
    file = OneBitFile(4, 4);
    file[0] = '=';
    file[1] = '=';
    ExpectRefused(file, "reference signature");

    for (const int depth : {0, 7, 48}) {
        const Bytes rows(((4 * depth + 31) / 32) * 4 * 4, 0);
        ExpectRefused(
            testing::ImageFileBytes(
                testing::PackedDibBytes(testing::PictureHeader(4, 4, depth), {}, rows), 0),
            "depth 0, 7 or 48");
    }
    BitmapInfoHeader bitFields = testing::PictureHeader(4, 4, 24);
    bitFields.biCompression = 3;
    ExpectRefused(testing::ImageFileBytes(testing::PackedDibBytes(bitFields, {}, Bytes(48, 0)), 0),
                  "bit fields");
    // Header values that would overflow 32-bit size arithmetic.
    ExpectRefused(
        testing::ImageFileBytes(
            testing::PackedDibBytes(testing::PictureHeader(INT32_MAX, INT32_MAX, 24), {}, {}), 0),
        "huge header values");
}

TEST_F(BmpFileTest, ReportsAMissingFile) {
    EXPECT_FALSE(CBmpFile().ReadPackedDib(folder.file("absent.bmp")));
    EXPECT_FALSE(CBmpFile().ReadPackedDib(folder.file(""))); // the folder itself
    EXPECT_EQ(
        prompts.texts(),
        (std::vector<std::string>{
            testing::CannotReadMessage(folder.file("absent.bmp"), "there is no such file"),
            testing::CannotReadMessage(folder.file(""), "not a file but a folder or device")}));
}

TEST_F(BmpFileTest, ThePixelOffsetOfABmpFileIsNotConsulted) {
    Bytes file = TwentyFourBitFile(3, 2);
    PutLittle32At(file, 10, 0);
    const PackedDib dib = Read(file);
    ASSERT_TRUE(dib);
    EXPECT_EQ(std::memcmp(dib.data(), file.data() + 14, dib.size()), 0);
}

TEST_F(BmpFileTest, WritingToAMissingFolderReportsAndWritesNothing) {
    DibBlock image = testing::MakeUniformRgb(4, 4, Bgr{1, 2, 3});
    EXPECT_FALSE(CBmpFile().Write(folder.file("missing/picture.bmp"), image.dib()));
    EXPECT_FALSE(CBmpFile().WriteReference(folder.file("missing/picture.ref"), image.dib()));
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{testing::kCannotSaveFile, testing::kCannotSaveFile}));
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Warning);
    EXPECT_FALSE(CBmpFile().Write(folder.file("x.bmp"), CDibImage{})); // no image: no message
    EXPECT_EQ(prompts.messages.size(), 2u);
    EXPECT_TRUE(folder.entries().empty());
}

TEST_F(BmpFileTest, AFailedWriteLeavesTheExistingFileWhole) {
    const std::string path = folder.file("kept.bmp");
    DibBlock small = testing::MakeRgb(8, 8, Pattern);
    ASSERT_TRUE(CBmpFile().Write(path, small.dib()));
    chmod(path.c_str(), 0640);
    const Bytes before = testing::ReadFileBytes(path);

    DibBlock large = testing::MakeUniformRgb(200, 200, Bgr{9, 9, 9});
    {
        testing::FileSizeLimit limit(4096);
        EXPECT_FALSE(CBmpFile().Write(path, large.dib()));
    }
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{testing::kCannotSaveFile});
    EXPECT_EQ(testing::ReadFileBytes(path), before);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"kept.bmp"});

    // A successful rewrite replaces the content and keeps the file's permissions.
    ASSERT_TRUE(CBmpFile().Write(path, large.dib()));
    EXPECT_EQ(testing::ReadFileBytes(path).size(), 54u + 600 * 200);
    struct stat status {};
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"kept.bmp"});
}

TEST_F(BmpFileTest, WritingThroughALinkReplacesTheLinkedFileAndNeverAFolder) {
    const std::string real = folder.file("real.bmp");
    const std::string link = folder.file("link.bmp");
    DibBlock image = testing::MakeRgb(6, 2, Pattern);
    ASSERT_TRUE(CBmpFile().Write(real, image.dib()));
    std::filesystem::create_symlink(real, link);
    DibBlock other = testing::MakeUniformRgb(6, 2, Bgr{4, 5, 6});
    ASSERT_TRUE(CBmpFile().Write(link, other.dib()));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(testing::ReadFileBytes(real), testing::ReadFileBytes(link));
    EXPECT_EQ(std::memcmp(testing::ReadFileBytes(real).data() + 14, other.dib().header,
                          other.dib().blockSize),
              0);

    const std::string sub = folder.file("sub");
    std::filesystem::create_directory(sub);
    EXPECT_FALSE(CBmpFile().Write(sub, image.dib()));
    EXPECT_TRUE(std::filesystem::is_directory(sub));
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{testing::kCannotSaveFile});
}

TEST_F(BmpFileTest, An8BitPlaneIsWrittenWithItsPaletteBeforeTheRows) {
    DibBlock plane = testing::MakeGrey(5, 3, [](int x, int y) { return x * 50 + y; });
    const std::string path = folder.file("plane.bmp");
    ASSERT_TRUE(CBmpFile().Write(path, plane.dib()));
    const Bytes file = testing::ReadFileBytes(path);
    EXPECT_EQ(file.size(), 54u + 1024 + 8 * 3);
    EXPECT_EQ(testing::Little32At(file, 10), 54u + 1024);
    const PackedDib dib = CBmpFile().ReadPackedDib(path);
    ASSERT_TRUE(dib);
    DibBlock image;
    ASSERT_TRUE(CreateRgb(image, 5, 3));
    ASSERT_TRUE(ConvertPackedDib(dib, image.dib()));
    EXPECT_EQ(testing::PixelAt(image.dib(), 4, 2), (Bgr{202, 202, 202}));
}

class ReferenceFileTest : public BmpFileTest {
protected:
    bool ReadReferenceBytes(const Bytes& bytes, const CDibImage& target) {
        const std::string path = folder.file("reference.ref");
        testing::WriteFileBytes(path, bytes);
        return CBmpFile().ReadReference(path, target);
    }
    Bytes WrittenReference(const CDibImage& image) {
        const std::string path = folder.file("written.ref");
        EXPECT_TRUE(CBmpFile().WriteReference(path, image));
        return testing::ReadFileBytes(path);
    }
};

TEST_F(ReferenceFileTest, RoundTripsTheWholeBlockUnderItsOwnSignature) {
    DibBlock image = testing::MakeRgb(101, 5, Pattern);
    const Bytes file = WrittenReference(image.dib());
    ASSERT_EQ(file.size(), 54u + 304 * 5);
    EXPECT_EQ(file[0], '=');
    EXPECT_EQ(file[1], '=');
    EXPECT_EQ(testing::Little32At(file, 2), file.size());
    EXPECT_EQ(testing::Little32At(file, 10), 54u);

    DibBlock target = testing::MakeUniformRgb(101, 5, Bgr{0, 0, 0});
    ASSERT_TRUE(ReadReferenceBytes(file, target.dib()));
    EXPECT_EQ(std::memcmp(target.dib().header, image.dib().header, image.dib().blockSize), 0);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_FALSE(CBmpFile().ReadReference(folder.file("written.ref"), CDibImage{}));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ReferenceFileTest, RefusesBadFilesAndLeavesTheTargetUntouched) {
    DibBlock source = testing::MakeRgb(8, 5, Pattern);
    const Bytes good = WrittenReference(source.dib());
    DibBlock target = testing::MakeUniformRgb(8, 5, Bgr{7, 7, 7});
    const DibBlock original = testing::MakeUniformRgb(8, 5, Bgr{7, 7, 7});
    const auto expectRefused = [&](const Bytes& bytes, const CDibImage& into, const char* what) {
        prompts.messages.clear();
        EXPECT_FALSE(ReadReferenceBytes(bytes, into)) << what;
        EXPECT_EQ(prompts.texts(), std::vector<std::string>{testing::kCannotReadFile}) << what;
    };

    Bytes file = good;
    file[0] = 'B';
    file[1] = 'M';
    expectRefused(file, target.dib(), "signature BM");
    file = good;
    PutLittle32At(file, 10, 55);
    expectRefused(file, target.dib(), "pixel offset 55");
    file = good;
    file[8] = 1;
    expectRefused(file, target.dib(), "reserved word");
    file = good;
    PutLittle32At(file, 2, static_cast<uint32_t>(good.size() + 1));
    expectRefused(file, target.dib(), "stored size one byte off");
    file = Bytes(good.begin(), good.end() - 1);
    PutLittle32At(file, 2, static_cast<uint32_t>(file.size()));
    expectRefused(file, target.dib(), "one byte short");
    file = good;
    file[14 + 14] = 8; // biBitCount
    expectRefused(file, target.dib(), "another depth");

    // 4 x 10 has the same block size as 8 x 5 (24-byte rows): still refused.
    DibBlock otherShape = testing::MakeRgb(4, 10, Pattern);
    ASSERT_EQ(otherShape.dib().blockSize, target.dib().blockSize);
    expectRefused(WrittenReference(otherShape.dib()), target.dib(), "another shape");
    DibBlock otherSize = testing::MakeRgb(8, 6, Pattern);
    expectRefused(WrittenReference(otherSize.dib()), target.dib(), "another size");

    EXPECT_EQ(std::memcmp(target.dib().header, original.dib().header, original.dib().blockSize), 0);
    prompts.messages.clear();
    EXPECT_FALSE(CBmpFile().ReadReference(folder.file("absent.ref"), target.dib()));
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{testing::kCannotReadFile});
}

TEST(ReportFileError, ShowsTheReadAndSaveMessagesAsWarningsAndNothingElse) {
    testing::ScopedRecordingPrompts prompts;
    CBmpFile::ReportFileError(1);
    CBmpFile::ReportFileError(2);
    CBmpFile::ReportFileError(0);
    CBmpFile::ReportFileError(3);
    ASSERT_EQ(prompts.texts(), (std::vector<std::string>{testing::kCannotReadFile, testing::kCannotSaveFile}));
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(prompts.messages[1].icon, MessageIcon::Warning);
    EXPECT_EQ(prompts.messages[1].buttons, MessageButtons::Ok);
}

} // namespace
} // namespace halvera
