#include "image/JpegFile.h"

#include "ImageFileTestSupport.h"
#include "LibjpegEncoder.h"
#include "ReadMessages.h"
#include "RecordingPrompts.h"
#include "SyntheticImages.h"
#include "image/ConvertPackedDib.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <jpeglib.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::Bytes;
using testing::EncodeWithLibjpeg;

const std::string kLibraryCaption = "File read error!";
const std::string kCannotSaveJpeg = "Cannot save the file!";

// Leaves the Adobe marker out of a CMYK file, which libjpeg writes by default.
void WithoutAdobeMarker(jpeg_compress_struct& encoder) {
    encoder.write_Adobe_marker = FALSE;
}

struct JpegFacts {
    JDIMENSION width = 0;
    JDIMENSION height = 0;
    int components = 0;
    bool progressive = false;
    std::vector<int> luminanceQuantisation;
};

JpegFacts ReadFacts(const Bytes& file) {
    jpeg_decompress_struct decoder{};
    jpeg_error_mgr errors{};
    decoder.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&decoder, TRUE);
    JpegFacts facts{decoder.image_width,
                    decoder.image_height,
                    decoder.num_components,
                    decoder.progressive_mode != 0,
                    {}};
    for (int i = 0; i < DCTSIZE2; ++i)
        facts.luminanceQuantisation.push_back(decoder.quant_tbl_ptrs[0]->quantval[i]);
    jpeg_destroy_decompress(&decoder);
    return facts;
}

// The start-of-frame marker of a JPEG file (0xC0 for baseline), or 0.
int FrameMarker(const Bytes& file) {
    size_t at = 2;
    while (at + 4 <= file.size() && file[at] == 0xFF) {
        const int marker = file[at + 1];
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return marker;
        at += 2 + (file[at + 2] << 8 | file[at + 3]);
    }
    return 0;
}

bool Near(Bgr a, Bgr b, int tolerance) {
    return std::abs(a.blue - b.blue) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
           std::abs(a.red - b.red) <= tolerance;
}

// The packed DIB as a 24-bit image.
DibBlock ToImage(const PackedDib& dib) {
    DibBlock image;
    EXPECT_TRUE(CreateRgb(image, dib.header()->biWidth, dib.header()->biHeight));
    EXPECT_TRUE(ConvertPackedDib(dib, image.dib()));
    return image;
}

Bgr Smooth(int x, int y) {
    return Bgr{static_cast<uint8_t>(40 + x), static_cast<uint8_t>(100 + y * 3),
               static_cast<uint8_t>(220 - x)};
}

class JpegFileTest : public ::testing::Test {
protected:
    PackedDib ReadBytes(const Bytes& bytes) {
        const std::string path = folder.file("picture.jpg");
        testing::WriteFileBytes(path, bytes);
        return CJpegFile().ReadPackedDib(path);
    }
    Bytes WriteAndLoad(const CDibImage& image, int quality) {
        const std::string path = folder.file("written.jpg");
        EXPECT_TRUE(CJpegFile().Write(path, image, quality));
        return testing::ReadFileBytes(path);
    }
    // Expects the read message naming the file; returns its reason.
    std::string ExpectRefusal(const Bytes& bytes, const char* what) {
        prompts.messages.clear();
        EXPECT_FALSE(ReadBytes(bytes)) << what;
        if (prompts.messages.size() != 1u) {
            ADD_FAILURE() << what << ": " << prompts.messages.size() << " messages";
            return {};
        }
        const std::string& text = prompts.messages[0].text;
        const std::string path = folder.file("picture.jpg");
        EXPECT_TRUE(testing::IsCannotReadMessage(text, path)) << what << ": " << text;
        EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Warning) << what;
        return text.substr(testing::CannotReadMessage(path, "").size());
    }

    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
};

// The picture as libjpeg decodes it by default (red, green, blue or grey
// samples, top-down), the plain reference for the reader's own row layout.
Bytes DecodeWithLibjpeg(const Bytes& file, int& components) {
    jpeg_decompress_struct decoder{};
    jpeg_error_mgr errors{};
    decoder.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&decoder, TRUE);
    jpeg_start_decompress(&decoder);
    components = decoder.output_components;
    const size_t rowBytes = size_t{decoder.output_width} * size_t(components);
    Bytes samples(rowBytes * decoder.output_height);
    while (decoder.output_scanline < decoder.output_height) {
        JSAMPROW row = samples.data() + rowBytes * decoder.output_scanline;
        jpeg_read_scanlines(&decoder, &row, 1);
    }
    jpeg_finish_decompress(&decoder);
    jpeg_destroy_decompress(&decoder);
    return samples;
}

TEST_F(JpegFileTest, RowsMatchTheLibrarysOwnDecodingExactly) {
    // Odd sizes (row padding, a partial last block row), random samples, and
    // each sampling the reader meets: 4:2:0, 4:2:2, 4:4:4 and grey.
    constexpr int kWidth = 37, kHeight = 29;
    uint32_t seed = 7;
    Bytes colour(kWidth * kHeight * 3);
    for (uint8_t& sample : colour) {
        seed = seed * 1664525u + 1013904223u;
        sample = static_cast<uint8_t>(seed >> 24);
    }
    const Bytes grey(colour.begin(), colour.begin() + kWidth * kHeight);
    const auto sampling = [](int h, int v) {
        return [=](jpeg_compress_struct& encoder) {
            jpeg_set_quality(&encoder, 80, TRUE);
            encoder.comp_info[0].h_samp_factor = h;
            encoder.comp_info[0].v_samp_factor = v;
        };
    };
    const std::vector<Bytes> files = {
        EncodeWithLibjpeg(kWidth, kHeight, JCS_RGB, 3, colour, sampling(2, 2)),
        EncodeWithLibjpeg(kWidth, kHeight, JCS_RGB, 3, colour, sampling(2, 1)),
        EncodeWithLibjpeg(kWidth, kHeight, JCS_RGB, 3, colour, sampling(1, 1)),
        EncodeWithLibjpeg(kWidth, kHeight, JCS_GRAYSCALE, 1, grey)};
    for (size_t f = 0; f < files.size(); ++f) {
        int components = 0;
        const Bytes expected = DecodeWithLibjpeg(files[f], components);
        const PackedDib dib = ReadBytes(files[f]);
        ASSERT_TRUE(dib) << "file " << f;
        const uint8_t* rows = dib.data() + kHeaderSize;
        const int stride = DibStride(kWidth, 24);
        for (int y = 0; y < kHeight; ++y) {
            const uint8_t* row = rows + stride * (kHeight - 1 - y);
            for (int x = 0; x < kWidth; ++x) {
                const uint8_t* want = &expected[size_t(y * kWidth + x) * size_t(components)];
                const uint8_t red = want[0];
                const uint8_t green = components == 3 ? want[1] : want[0];
                const uint8_t blue = components == 3 ? want[2] : want[0];
                ASSERT_EQ(row[3 * x], blue) << "file " << f << " at " << x << "," << y;
                ASSERT_EQ(row[3 * x + 1], green) << "file " << f << " at " << x << "," << y;
                ASSERT_EQ(row[3 * x + 2], red) << "file " << f << " at " << x << "," << y;
            }
            for (int pad = 3 * kWidth; pad < stride; ++pad)
                ASSERT_EQ(row[pad], 0) << "padding of row " << y;
        }
    }
}

TEST_F(JpegFileTest, AGreyPictureOpensWithThreeEqualChannels) {
    Bytes samples(16 * 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            samples[y * 16 + x] = static_cast<uint8_t>(x * 16);
    const PackedDib dib = ReadBytes(EncodeWithLibjpeg(16, 8, JCS_GRAYSCALE, 1, samples));
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib.header()->biBitCount, 24);
    DibBlock image = ToImage(dib);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            const Bgr pixel = testing::PixelAt(image.dib(), x, y);
            ASSERT_EQ(pixel.blue, pixel.green);
            ASSERT_EQ(pixel.green, pixel.red);
            ASSERT_NEAR(pixel.red, x * 16, 4) << x << "," << y;
        }
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(JpegFileTest, Width101OpensWithStride304AndIsWrittenAsBaseline) {
    DibBlock image = testing::MakeRgb(101, 6, Smooth);
    const Bytes file = WriteAndLoad(image.dib(), 100);
    const JpegFacts facts = ReadFacts(file);
    EXPECT_EQ(facts.width, 101u);
    EXPECT_EQ(facts.height, 6u);
    EXPECT_EQ(facts.components, 3);
    EXPECT_FALSE(facts.progressive);
    EXPECT_EQ(FrameMarker(file), 0xC0);

    const PackedDib dib = ReadBytes(file);
    ASSERT_TRUE(dib);
    const BitmapInfoHeader& header = *dib.header();
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 101);
    EXPECT_EQ(header.biHeight, 6);
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biCompression, 0u);
    EXPECT_EQ(header.biSizeImage, 0u);
    ASSERT_EQ(dib.size(), 40u + 304 * 6);
    DibBlock back = ToImage(dib);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 101; ++x)
            ASSERT_TRUE(Near(testing::PixelAt(back.dib(), x, y), Smooth(x, y), 6)) << x << "," << y;
        EXPECT_EQ(back.dib().row(y)[303], 0); // padding of the block as read
    }
}

TEST_F(JpegFileTest, Quality0And100ReachTheLibraryWithBaselineTables) {
    DibBlock image = testing::MakeRgb(40, 16, Smooth);
    const Bytes best = WriteAndLoad(image.dib(), 100);
    const JpegFacts bestFacts = ReadFacts(best);
    EXPECT_EQ(bestFacts.luminanceQuantisation, std::vector<int>(DCTSIZE2, 1));
    const Bytes worst = WriteAndLoad(image.dib(), 0);
    const JpegFacts worstFacts = ReadFacts(worst);
    EXPECT_EQ(worstFacts.luminanceQuantisation, std::vector<int>(DCTSIZE2, 255));
    EXPECT_LT(worst.size(), best.size());
    EXPECT_TRUE(ReadBytes(best));
    EXPECT_TRUE(ReadBytes(worst));
    EXPECT_TRUE(prompts.messages.empty());
}

// The luminance table of the JPEG standard (Annex K), in natural order, and
// the library's quality scaling of it: 5000 / q below 50, 200 - 2q from 50 on,
// (entry * scale + 50) / 100 limited to 1..255 for baseline.
std::vector<int> LuminanceTableAtQuality(int quality) {
    static constexpr int kAnnexK[DCTSIZE2] = {
        16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
        14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
        18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
        49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
    const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    std::vector<int> table;
    for (const int entry : kAnnexK)
        table.push_back(std::clamp((entry * scale + 50) / 100, 1, 255));
    return table;
}

TEST_F(JpegFileTest, TheChosenQualityScalesTheLuminanceTable) {
    DibBlock image = testing::MakeRgb(40, 16, Smooth);
    for (const int quality : {75, 50}) {
        const JpegFacts facts = ReadFacts(WriteAndLoad(image.dib(), quality));
        EXPECT_EQ(facts.luminanceQuantisation, LuminanceTableAtQuality(quality))
            << "quality " << quality;
    }
    // The default quality and its neighbours give three different tables.
    EXPECT_NE(LuminanceTableAtQuality(75), LuminanceTableAtQuality(76));
    EXPECT_NE(LuminanceTableAtQuality(75), LuminanceTableAtQuality(74));
}

TEST_F(JpegFileTest, ATruncatedPictureIsRefusedNamingTheFile) {
    DibBlock image = testing::MakeRgb(64, 64, [](int x, int y) {
        return Bgr{static_cast<uint8_t>(x * y), static_cast<uint8_t>(x * 7 ^ y),
                   static_cast<uint8_t>(y * 13)};
    });
    const Bytes whole = WriteAndLoad(image.dib(), 90);
    ExpectRefusal(Bytes(whole.begin(), whole.begin() + whole.size() / 2), "half the file");
    ExpectRefusal(Bytes(whole.begin(), whole.end() - 40), "end of the rows missing");
    EXPECT_EQ(prompts.waitCursorBegins, prompts.waitCursorEnds);
}

TEST_F(JpegFileTest, TruncatedProgressiveAndArithmeticPicturesAreRefusedToo) {
    Bytes noise(64 * 64 * 3);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<uint8_t>(i * 7919 % 251);
    const Bytes progressive =
        EncodeWithLibjpeg(64, 64, JCS_RGB, 3, noise,
                          [](jpeg_compress_struct& encoder) { jpeg_simple_progression(&encoder); });
    ASSERT_TRUE(ReadFacts(progressive).progressive);
    ASSERT_TRUE(ReadBytes(progressive));
    ExpectRefusal(Bytes(progressive.begin(), progressive.end() - 200), "progressive");

    const Bytes arithmetic =
        EncodeWithLibjpeg(64, 64, JCS_RGB, 3, noise,
                          [](jpeg_compress_struct& encoder) { encoder.arith_code = TRUE; });
    ASSERT_TRUE(ReadBytes(arithmetic));
    ExpectRefusal(Bytes(arithmetic.begin(), arithmetic.end() - 200), "arithmetic");
}

TEST_F(JpegFileTest, APictureMissingOnlyItsEndMarkerIsWhole) {
    DibBlock image = testing::MakeRgb(24, 24, Smooth);
    const Bytes whole = WriteAndLoad(image.dib(), 90);
    const PackedDib full = ReadBytes(whole);
    const PackedDib cut = ReadBytes(Bytes(whole.begin(), whole.end() - 2));
    ASSERT_TRUE(full);
    ASSERT_TRUE(cut);
    ASSERT_EQ(full.size(), cut.size());
    EXPECT_EQ(std::memcmp(full.data(), cut.data(), full.size()), 0);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(JpegFileTest, FilesThatAreNoJpegAreRefusedAsSuch) {
    EXPECT_EQ(ExpectRefusal({}, "empty file"), "not a JPEG picture");
    EXPECT_EQ(ExpectRefusal({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0}, "a BMP"),
              "not a JPEG picture");
    EXPECT_EQ(ExpectRefusal({0xFF, 0xD8, 0xFF}, "start marker only"), "the file is cut short");
}

TEST_F(JpegFileTest, PicturesWiderThan30000PixelsAreRefusedBeforeDecoding) {
    const Bytes samples(30001, 128);
    EXPECT_EQ(ExpectRefusal(EncodeWithLibjpeg(30001, 1, JCS_GRAYSCALE, 1, samples), "width 30001"),
              "larger than 30000 x 30000 pixels");
}

// Left half red, right half cyan, in ink values (0 = no ink).
Bytes RedAndCyanInk(bool inverted) {
    Bytes samples(16 * 8 * 4);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            uint8_t* p = samples.data() + (y * 16 + x) * 4;
            const bool red = x < 8;
            const uint8_t ink[4] = {static_cast<uint8_t>(red ? 0 : 255),
                                    static_cast<uint8_t>(red ? 255 : 0),
                                    static_cast<uint8_t>(red ? 255 : 0), 0};
            for (int c = 0; c < 4; ++c)
                p[c] = inverted ? static_cast<uint8_t>(255 - ink[c]) : ink[c];
        }
    return samples;
}

TEST_F(JpegFileTest, FourComponentPicturesAreConvertedToRgb) {
    for (const bool adobe : {true, false}) {
        // Files with an Adobe marker store their ink inverted.
        const Bytes file = EncodeWithLibjpeg(16, 8, JCS_CMYK, 4, RedAndCyanInk(adobe),
                                             adobe ? nullptr : WithoutAdobeMarker);
        ASSERT_EQ(ReadFacts(file).components, 4);
        const PackedDib dib = ReadBytes(file);
        ASSERT_TRUE(dib) << "Adobe " << adobe;
        DibBlock image = ToImage(dib);
        EXPECT_TRUE(Near(testing::PixelAt(image.dib(), 2, 3), Bgr{0, 0, 255}, 3))
            << "Adobe " << adobe;
        EXPECT_TRUE(Near(testing::PixelAt(image.dib(), 13, 5), Bgr{255, 255, 0}, 3))
            << "Adobe " << adobe;
    }
    // Half the black ink gives mid grey.
    Bytes grey(8 * 8 * 4, 0);
    for (size_t i = 3; i < grey.size(); i += 4)
        grey[i] = 128;
    const PackedDib dib = ReadBytes(EncodeWithLibjpeg(8, 8, JCS_CMYK, 4, grey, WithoutAdobeMarker));
    ASSERT_TRUE(dib);
    EXPECT_TRUE(Near(testing::PixelAt(ToImage(dib).dib(), 4, 4), Bgr{127, 127, 127}, 3));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(JpegFileTest, AMissingFileIsReportedWithItsPath) {
    const std::string path = folder.file("absent.jpg");
    EXPECT_FALSE(CJpegFile().ReadPackedDib(path));
    EXPECT_EQ(prompts.texts(),
              std::vector<std::string>{testing::CannotReadMessage(path, "there is no such file")});
}

TEST_F(JpegFileTest, AnUnwritablePathReportsThePathThenTheSaveFailure) {
    DibBlock image = testing::MakeUniformRgb(8, 8, Bgr{1, 2, 3});
    const std::string path = folder.file("missing/picture.jpg");
    EXPECT_FALSE(CJpegFile().Write(path, image.dib(), 75));
    EXPECT_EQ(prompts.texts(),
              (std::vector<std::string>{"Cannot open file:" + path + "\n", kCannotSaveJpeg}));
    EXPECT_TRUE(folder.entries().empty());
}

TEST_F(JpegFileTest, AFailedWriteLeavesTheExistingFileWhole) {
    const std::string path = folder.file("kept.jpg");
    DibBlock small = testing::MakeRgb(8, 8, Smooth);
    ASSERT_TRUE(CJpegFile().Write(path, small.dib(), 75));
    const Bytes before = testing::ReadFileBytes(path);

    DibBlock noisy = testing::MakeRgb(300, 300, [](int x, int y) {
        return Bgr{static_cast<uint8_t>(x * y * 31), static_cast<uint8_t>(x ^ y * 7),
                   static_cast<uint8_t>(x * 91 + y)};
    });
    {
        testing::FileSizeLimit limit(2048);
        EXPECT_FALSE(CJpegFile().Write(path, noisy.dib(), 100));
    }
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[0].caption, kLibraryCaption);
    EXPECT_EQ(prompts.messages[1].text, kCannotSaveJpeg);
    EXPECT_EQ(testing::ReadFileBytes(path), before);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"kept.jpg"});
}

TEST_F(JpegFileTest, OnlyTwentyFourBitImagesAreWritten) {
    DibBlock plane = testing::MakeGrey(8, 8, [](int, int) { return 0; });
    EXPECT_FALSE(CJpegFile().Write(folder.file("plane.jpg"), plane.dib(), 75));
    EXPECT_FALSE(CJpegFile().Write(folder.file("none.jpg"), CDibImage{}, 75));
    EXPECT_TRUE(folder.entries().empty());
}

} // namespace
} // namespace halvera
