#include "document/MavDoc.h"

#include "ImageFileTestSupport.h"
#include "PictureEncoders.h"
#include "ReadMessages.h"
#include "RecordingPrompts.h"
#include "SyntheticImages.h"
#include "app/NewImageSize.h"
#include "image/BmpFile.h"
#include "image/PictureFiles.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::Bytes;
using testing::PixelAt;

bool AllBytes(const CDibImage& image, uint8_t value) {
    for (int32_t i = 0; i < image.bitsSize; ++i)
        if (image.bits[i] != value)
            return false;
    return true;
}

// A packed DIB for the pending picture: `header` (whose biSize may exceed 40),
// `tableEntries` colour-table entries of 0xEE, then the rows.
PackedDib Picture(const BitmapInfoHeader& header, size_t tableEntries, const Bytes& rows) {
    const size_t headerSize = header.biSize;
    PackedDib dib = PackedDib::Allocate(headerSize + tableEntries * 4 + rows.size());
    std::memcpy(dib.data(), &header, std::min(sizeof header, headerSize));
    std::memset(dib.data() + headerSize, 0xEE, tableEntries * 4);
    std::memcpy(dib.data() + headerSize + tableEntries * 4, rows.data(), rows.size());
    return dib;
}

// Rows of a 24-bit picture whose pixel (x, y), y = 0 at the top, is (x, y, 7).
Bytes ColourRows(int width, int height) {
    const int stride = static_cast<int>(DibStride(width, 24));
    Bytes rows(static_cast<size_t>(stride) * height, 0xA5);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = rows.data() + static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<uint8_t>(x);
            row[3 * x + 1] = static_cast<uint8_t>(y);
            row[3 * x + 2] = 7;
        }
    }
    return rows;
}

class Document : public ::testing::Test {
protected:
    testing::ScopedRecordingPrompts prompts;
    AppSettings settings;
    CMavDoc doc{settings};
};

TEST_F(Document, HasNoBuffersAndSizeEightBeforeCreation) {
    EXPECT_TRUE(doc.image().empty());
    EXPECT_TRUE(doc.mask().empty());
    EXPECT_EQ(doc.width(), 8);
    EXPECT_EQ(doc.height(), 8);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.CanUndo());
}

TEST_F(Document, NewBlankImageIsWhiteWithEveryCompanionOfItsSize) {
    settings.ImageWidth = 101;
    settings.ImageHeight = 6;
    ASSERT_TRUE(doc.OnNewDocument());

    EXPECT_EQ(doc.width(), 101);
    EXPECT_EQ(doc.height(), 6);
    const CDibImage image = doc.image();
    EXPECT_EQ(image.width(), 101);
    EXPECT_EQ(image.stride, 304);
    EXPECT_TRUE(AllBytes(image, 255));
    EXPECT_EQ(0, std::memcmp(doc.working().header, image.header, image.blockSize));
    EXPECT_EQ(0, std::memcmp(doc.initialCopy().header, image.header, image.blockSize));
    for (const CDibImage plane : {doc.mask(), doc.savedMask(), doc.mapPlane(0), doc.mapPlane(1)}) {
        EXPECT_EQ(plane.bitCount(), 8);
        EXPECT_EQ(plane.width(), 101);
        EXPECT_EQ(plane.height, 6);
        EXPECT_TRUE(AllBytes(plane, 0));
    }
    for (int i = 0; i < CMavDoc::kIntPlanes; ++i) {
        const IntPlane& plane = doc.intPlane(i);
        ASSERT_EQ(plane.count, 101 * 6);
        EXPECT_EQ(plane.width, 101);
        EXPECT_TRUE(std::all_of(plane.values.get(), plane.values.get() + plane.count,
                                [](int32_t v) { return v == 0; }));
    }
    EXPECT_TRUE(doc.pasteImage().empty()) << "made by the paste command";
    EXPECT_TRUE(doc.outline().empty()) << "made by the selection outline";
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(Document, NewImageDialogWidth101GivesA104PixelWideWhiteImage) {
    const ImageSize size = NewImageSizeFromDialog(101, 50);
    settings.ImageWidth = size.width;
    settings.ImageHeight = size.height;
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.image().width(), 104);
    EXPECT_EQ(doc.image().height, 50);
    EXPECT_TRUE(AllBytes(doc.image(), 255));
}

TEST_F(Document, NewImageThatCannotBeHeldFailsWithAMessage) {
    settings.ImageWidth = 0;
    EXPECT_FALSE(doc.OnNewDocument());
    EXPECT_TRUE(doc.image().empty());
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Memory error!"});
}

TEST_F(Document, PendingPictureIsTakenOverWithItsSizeAndHeader) {
    BitmapInfoHeader header = testing::PictureHeader(9, 4, 24);
    header.biXPelsPerMeter = 3780;
    const Bytes rows = ColourRows(9, 4);
    ASSERT_TRUE(doc.OnNewDocument(Picture(header, 0, rows)));

    const CDibImage image = doc.image();
    EXPECT_EQ(image.width(), 9);
    EXPECT_EQ(image.height, 4);
    EXPECT_EQ(image.header->biXPelsPerMeter, 3780) << "the picture's own header is kept";
    EXPECT_EQ(0, std::memcmp(image.bits, rows.data(), rows.size())) << "padding included";
    EXPECT_EQ(settings.ImageWidth, 9);
    EXPECT_EQ(settings.ImageHeight, 4);
    EXPECT_EQ(PixelAt(doc.working(), 8, 3), (Bgr{8, 3, 7}));
}

// A scanned or snapped picture is in no file: closing it must ask. A blank
// image holds nothing to lose, and neither does a picture just opened.
TEST_F(Document, APictureFromTheScannerOrCameraIsUnsavedWork) {
    ASSERT_TRUE(doc.OnNewDocument(Picture(testing::PictureHeader(4, 2, 24), 0, ColourRows(4, 2))));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.CanUndo());

    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_FALSE(doc.IsModified());

    PackedDib opened = Picture(testing::PictureHeader(4, 2, 24), 0, ColourRows(4, 2));
    ASSERT_TRUE(doc.OnOpenDocument(std::move(opened)));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(Document, PendingPictureWithLargerHeaderAndColourTableGivesOnlyItsPixels) {
    BitmapInfoHeader header = testing::PictureHeader(5, 3, 24);
    header.biSize = 108;
    header.biClrUsed = 3;
    ASSERT_TRUE(doc.OnNewDocument(Picture(header, 3, ColourRows(5, 3))));

    const CDibImage image = doc.image();
    EXPECT_EQ(image.header->biSize, 40u);
    EXPECT_EQ(image.header->biClrUsed, 0u);
    EXPECT_EQ(image.blockSize, 40 + 16 * 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(PixelAt(image, x, y), (Bgr{uint8_t(x), uint8_t(y), 7})) << x << "," << y;
}

TEST_F(Document, PendingPictureOfTheWrongKindShowsItsMessageAndMakesNoDocument) {
    struct Case {
        int width, height, depth;
        uint32_t compression;
        const char* message;
    };
    const Case cases[] = {
        {4, 4, 8, 0, "Please scan 24 bits image"},
        {4, 4, 32, 0, "Please scan 24 bits image"},
        {0, 4, 24, 0, "Cannot scan the image!"},
        {30001, 1, 24, 0, "Cannot scan the image!"},
        {4, -4, 24, 0, "Cannot scan the image!"},
        {4, 4, 24, 1, "Pleas input uncompressed 24 bits image!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        prompts.messages.clear();
        BitmapInfoHeader header = testing::PictureHeader(c.width, c.height, c.depth);
        header.biCompression = c.compression;
        EXPECT_FALSE(doc.OnNewDocument(Picture(header, 0, Bytes(64, 0))));
        EXPECT_TRUE(doc.image().empty());
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].text, c.message);
        EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Warning);
    }
    EXPECT_EQ(settings.ImageWidth, 100) << "a refused picture leaves the settings alone";
}

TEST_F(Document, PendingPictureShorterThanItsRowsIsRefused) {
    Bytes rows = ColourRows(6, 5);
    rows.pop_back();
    EXPECT_FALSE(doc.OnNewDocument(Picture(testing::PictureHeader(6, 5, 24), 0, rows)));
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Cannot scan the image!"});

    prompts.messages.clear();
    EXPECT_FALSE(doc.OnNewDocument(PackedDib::Allocate(20)));
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Cannot scan the image!"});
}

TEST_F(Document, OpensAnIndexedPictureThroughItsPalette) {
    const BitmapInfoHeader header = testing::PictureHeader(3, 2, 8);
    std::vector<RgbQuad> palette(256);
    palette[1] = RgbQuad{10, 20, 30, 0};
    palette[2] = RgbQuad{40, 50, 60, 0};
    const Bytes rows = testing::PackIndexedRows(3, 2, 8, [](int x, int) { return x == 1 ? 2 : 1; });
    const Bytes bytes = testing::PackedDibBytes(header, palette, rows);
    PackedDib dib = PackedDib::Allocate(bytes.size());
    std::memcpy(dib.data(), bytes.data(), bytes.size());

    ASSERT_TRUE(doc.OnOpenDocument(std::move(dib)));
    EXPECT_EQ(doc.image().bitCount(), 24);
    EXPECT_EQ(PixelAt(doc.image(), 0, 0), (Bgr{10, 20, 30}));
    EXPECT_EQ(PixelAt(doc.image(), 1, 1), (Bgr{40, 50, 60}));
    EXPECT_EQ(settings.ImageWidth, 3);
    EXPECT_EQ(settings.ImageHeight, 2);
    EXPECT_FALSE(doc.mask().empty());
}

TEST_F(Document, OpeningAPictureOfAnUnreadableKindFailsWithAMessage) {
    PackedDib dib = PackedDib::Allocate(40 + 64);
    *dib.header() = testing::PictureHeader(4, 4, 16);
    EXPECT_FALSE(doc.OnOpenDocument(std::move(dib)));
    EXPECT_TRUE(doc.image().empty());
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Can not read the file!"});
}

TEST_F(Document, WorkingCopyAndSavedMaskAreBlockCopies) {
    ASSERT_TRUE(doc.OnNewDocument());
    testing::SetPixel(doc.image(), 2, 2, Bgr{1, 2, 3});
    doc.CopyToWorking();
    EXPECT_EQ(PixelAt(doc.working(), 2, 2), (Bgr{1, 2, 3}));
    testing::SetPixel(doc.image(), 2, 2, Bgr{9, 9, 9});
    doc.RestoreFromWorking();
    EXPECT_EQ(PixelAt(doc.image(), 2, 2), (Bgr{1, 2, 3}));

    testing::SetByte(doc.mask(), 5, 5, 255);
    doc.SaveMask();
    EXPECT_EQ(testing::ByteAt(doc.savedMask(), 5, 5), 255);
}

TEST_F(Document, TextSettingsAreKeptPerDocument) {
    TextSettings text;
    text.text = "scale";
    text.left = 4;
    text.attributes.height = -30;
    doc.setTextSettings(text);
    EXPECT_EQ(doc.textSettings(), text);
}

class DocumentSaving : public Document {
protected:
    void SetUp() override {
        settings.ImageWidth = 13;
        settings.ImageHeight = 5;
        ASSERT_TRUE(doc.OnNewDocument());
        testing::SetPixel(doc.image(), 12, 4, Bgr{1, 2, 3});
        doc.SetModifiedFlag();
    }
    testing::TemporaryFolder folder;
};

TEST_F(DocumentSaving, MixedCaseBmpExtensionWritesABmpAndClearsModified) {
    const std::string path = folder.file("picture.bMp");
    ASSERT_TRUE(doc.SaveByExtension(path));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(prompts.qualityRequests, 0);

    PackedDib read = CBmpFile().ReadPackedDib(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(read.header()->biBitCount, 24);
    EXPECT_EQ(0, std::memcmp(read.data() + 40, doc.image().bits, doc.image().bitsSize));
}

TEST_F(DocumentSaving, FiveLetterJpegExtensionWritesAJpegAfterAskingTheQuality) {
    const std::string path = folder.file("picture.JPEG");
    prompts.jpegQualities = {90};
    ASSERT_TRUE(doc.SaveByExtension(path));
    EXPECT_EQ(prompts.qualityRequests, 1);
    EXPECT_FALSE(doc.IsModified());
    const Bytes written = testing::ReadFileBytes(path);
    ASSERT_GE(written.size(), 2u);
    EXPECT_EQ(written[0], 0xFF) << "JPEG start marker";
    EXPECT_EQ(written[1], 0xD8);
    const PackedDib read = OpenPictureFile(path).picture;
    ASSERT_TRUE(read);
    EXPECT_EQ(read.header()->biWidth, 13);
}

TEST_F(DocumentSaving, NameOfNoPictureTypeWritesNothingAndSaysNothing) {
    const std::string path = folder.file("picture.gif");
    EXPECT_FALSE(doc.SaveByExtension(path));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(prompts.qualityRequests, 0);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocumentSaving, JpegAsksForTheQualityFirst) {
    const std::string path = folder.file("picture.JpG");
    prompts.jpegQualities = {90};
    ASSERT_TRUE(doc.SaveByExtension(path));
    EXPECT_EQ(prompts.qualityRequests, 1);
    EXPECT_FALSE(doc.IsModified());
    const PackedDib read = OpenPictureFile(path).picture;
    ASSERT_TRUE(read);
    EXPECT_EQ(read.header()->biWidth, 13);
}

TEST_F(DocumentSaving, CancelledQualityWritesNothing) {
    const std::string path = folder.file("picture.jpg");
    prompts.jpegQualities = {std::nullopt};
    EXPECT_FALSE(doc.SaveByExtension(path));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocumentSaving, FailedWriteKeepsTheDocumentModified) {
    const std::string path = folder.file("missing-folder/picture.bmp");
    EXPECT_FALSE(doc.SaveByExtension(path));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Cannotsave the file!"});
}

// A file with pages or sample depth the document lacks is replaced only on
// Yes; No leaves it byte for byte and the image modified.
TEST_F(DocumentSaving, AFileHoldingMoreThanThePictureIsReplacedOnlyOnYes) {
    const testing::TestPicture page = testing::PatternPicture(6, 4, testing::TestColours::Rgb, 8);
    const std::string pages = folder.file("stack.tif");
    ASSERT_TRUE(testing::WriteTiffFile(pages, page, {.pages = 3}));
    const Bytes before = testing::ReadFileBytes(pages);

    prompts.answers = {MessageAnswer::No};
    EXPECT_FALSE(doc.SaveByExtension(pages));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "The file holds more than this picture (3 pages); saving "
                                        "replaces it. Save anyway?");
    EXPECT_EQ(prompts.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(testing::ReadFileBytes(pages), before);
    EXPECT_TRUE(doc.IsModified());

    prompts.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(doc.SaveByExtension(pages));
    EXPECT_FALSE(doc.IsModified());
    const PackedDib written = OpenPictureFile(pages).picture;
    ASSERT_TRUE(written);
    EXPECT_EQ(written.header()->biWidth, 13);

    // Now one 8-bit page: saving over it again asks nothing.
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.SaveByExtension(pages));
    EXPECT_EQ(prompts.messages.size(), 2u);
}

TEST_F(DocumentSaving, SixteenBitFilesAskAndTheBatchToolsReplaceDoesNot) {
    const testing::TestPicture deep = testing::PatternPicture(6, 4, testing::TestColours::Grey, 16);
    const std::string png = folder.file("deep.png");
    ASSERT_TRUE(testing::WritePngFile(png, deep));
    prompts.answers = {MessageAnswer::No};
    EXPECT_FALSE(doc.SaveByExtension(png));
    EXPECT_EQ(prompts.texts(),
              std::vector<std::string>{"The file holds more than this picture (16-bit samples); "
                                       "saving replaces it. Save anyway?"});

    const std::string tiff = folder.file("deep.tif");
    ASSERT_TRUE(testing::WriteTiffFile(tiff, deep));
    ASSERT_TRUE(doc.SaveByExtension(tiff, CMavDoc::RicherFile::Replace));
    EXPECT_EQ(prompts.messages.size(), 1u);
    const PackedDib written = OpenPictureFile(tiff).picture;
    ASSERT_TRUE(written);
    EXPECT_EQ(written.header()->biWidth, 13);
}

TEST(PictureFiles, AreTypedByTheirEndingInAnyCase) {
    EXPECT_EQ(PictureFileTypeOf("a.bmp"), PictureFileType::Bmp);
    EXPECT_EQ(PictureFileTypeOf("/x/A.BmP"), PictureFileType::Bmp);
    EXPECT_EQ(PictureFileTypeOf(".bmp"), PictureFileType::Bmp);
    EXPECT_EQ(PictureFileTypeOf("b.jPg"), PictureFileType::Jpeg);
    EXPECT_EQ(PictureFileTypeOf("b.jpeg"), PictureFileType::Jpeg);
    EXPECT_EQ(PictureFileTypeOf("b.JPEG"), PictureFileType::Jpeg);
    EXPECT_EQ(PictureFileTypeOf("b.JpEg"), PictureFileType::Jpeg);
    EXPECT_EQ(PictureFileTypeOf("c.TIF"), PictureFileType::Tiff);
    EXPECT_EQ(PictureFileTypeOf("c.Tiff"), PictureFileType::Tiff);
    EXPECT_EQ(PictureFileTypeOf("c.tIFF"), PictureFileType::Tiff);
    EXPECT_EQ(PictureFileTypeOf("b.jpe"), PictureFileType::None);
    EXPECT_EQ(PictureFileTypeOf("b.gif"), PictureFileType::None);
    EXPECT_EQ(PictureFileTypeOf("bmp"), PictureFileType::None);
    EXPECT_EQ(PictureFileTypeOf("b.bmp.txt"), PictureFileType::None);
    EXPECT_EQ(PictureFileTypeOf(""), PictureFileType::None);
}

TEST(PictureFiles, NameOfNoPictureTypeOpensNothingAndSaysNothing) {
    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
    const std::string path = folder.file("picture.gif");
    testing::WriteFileBytes(path, Bytes(100, 1));
    EXPECT_FALSE(OpenPictureFile(path).picture);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST(PictureFiles, MissingFileShowsTheReadersMessageNamingTheFile) {
    testing::ScopedRecordingPrompts prompts;
    EXPECT_FALSE(OpenPictureFile("/nonexistent/folder/picture.BMP").picture);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{testing::CannotReadMessage(
                                   "/nonexistent/folder/picture.BMP", "there is no such file")});
}

TEST(PictureFiles, UntitledNamesCountUp) {
    const std::string first = NextUntitledTitle();
    ASSERT_EQ(first.rfind("HLV ", 0), 0u);
    const int number = std::stoi(first.substr(4));
    EXPECT_GE(number, 1);
    EXPECT_EQ(NextUntitledTitle(), "HLV " + std::to_string(number + 1));
}

} // namespace
} // namespace halvera
