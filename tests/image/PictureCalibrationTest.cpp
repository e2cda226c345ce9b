// The calibration a PNG or TIFF file carries: Halvera's own files read back
// exactly, their pHYs chunk and TIFF tags are what other programs read
// (checked here through libpng and libtiff directly), and the pixel sizes
// other programs write are read in each of their forms.
#include "image/PictureCalibration.h"

#include "ImageFileTestSupport.h"
#include "RecordingPrompts.h"
#include "SyntheticImages.h"
#include "image/PngFile.h"
#include "image/TiffFile.h"

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <png.h>
#include <tiffio.h>

namespace halvera {
namespace {

using testing::Bgr;

constexpr int kMicrometre = 0;
constexpr int kMillimetre = 1;
constexpr int kCentimetre = 2;
constexpr int kDecimetre = 3;
constexpr int kInch = 4;

DibBlock SmallPicture() {
    return testing::MakeRgb(5, 3, [](int x, int y) {
        return Bgr{uint8_t(40 * x), uint8_t(60 * y), 7};
    });
}

// Units per pixel along x and y.
std::pair<double, double> ScaleOf(const CalibrationRecord& record) {
    return {record.realX / record.pixelWidth, record.realY / record.pixelHeight};
}

void ExpectScale(const std::optional<CalibrationRecord>& read, int unit, double x, double y) {
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->unit, unit);
    const auto [readX, readY] = ScaleOf(*read);
    EXPECT_NEAR(readX, x, x * 1e-6);
    EXPECT_NEAR(readY, y, y * 1e-6);
}

// ------------------------------------------------------------------ PNG

struct PngChunks {
    bool hasPhys = false;
    png_uint_32 perMetreX = 0;
    png_uint_32 perMetreY = 0;
    int physUnit = -1;
    std::map<std::string, std::string> texts;
};

// The pHYs chunk and text chunks of a PNG file, as libpng reads them.
PngChunks ReadPngChunks(const std::string& path) {
    PngChunks chunks;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return chunks;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_read_info(png, info);
        chunks.hasPhys =
            png_get_pHYs(png, info, &chunks.perMetreX, &chunks.perMetreY, &chunks.physUnit) != 0;
        png_textp texts = nullptr;
        const int count = png_get_text(png, info, &texts, nullptr);
        for (int i = 0; i < count; ++i)
            chunks.texts[texts[i].key] = std::string(texts[i].text, texts[i].text_length);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return chunks;
}

// A 2 x 2 grey PNG as another program writes it, with a pHYs chunk.
bool WritePngWithPhys(const std::string& path, png_uint_32 perUnitX, png_uint_32 perUnitY,
                      int unit) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    bool written = false;
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, 2, 2, 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_pHYs(png, info, perUnitX, perUnitY, unit);
        png_write_info(png, info);
        png_byte row[2] = {10, 200};
        png_write_row(png, row);
        png_write_row(png, row);
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return written;
}

TEST(PngCalibration, WrittenAsPhysAndTextAndReadBackExactly) {
    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
    const DibBlock picture = SmallPicture();
    const CalibrationRecord record{kMicrometre, 123.456789012, 98.7654321, 437, 512};
    const std::string path = folder.file("scaled.png");
    ASSERT_TRUE(CPngFile().Write(path, picture.dib(), record));

    const PngChunks chunks = ReadPngChunks(path);
    ASSERT_TRUE(chunks.hasPhys);
    EXPECT_EQ(chunks.physUnit, PNG_RESOLUTION_METER);
    EXPECT_EQ(chunks.perMetreX, std::lround(437 / 123.456789012e-6));
    EXPECT_EQ(chunks.perMetreY, std::lround(512 / 98.7654321e-6));
    ASSERT_EQ(chunks.texts.count("Halvera calibration"), 1U);
    EXPECT_EQ(ParseCalibrationRecordText(chunks.texts.at("Halvera calibration")), record);

    const PictureFromFile read = CPngFile().ReadPicture(path);
    ASSERT_TRUE(read.picture);
    EXPECT_EQ(read.calibration, record);
}

TEST(PngCalibration, EachUnitGivesItsPixelsPerMetre) {
    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
    const DibBlock picture = SmallPicture();
    const struct {
        int unit;
        png_uint_32 perMetre; // for 1 unit over 4 pixels
    } units[] = {{kMillimetre, 4000}, {kCentimetre, 400}, {kDecimetre, 40}, {kInch, 157}};
    for (const auto& [unit, perMetre] : units) {
        SCOPED_TRACE(unit);
        const std::string path = folder.file(std::to_string(unit) + ".png");
        ASSERT_TRUE(CPngFile().Write(path, picture.dib(), CalibrationRecord{unit, 1.0, 1.0, 4, 4}));
        const PngChunks chunks = ReadPngChunks(path);
        EXPECT_EQ(chunks.perMetreX, perMetre);
        EXPECT_EQ(chunks.perMetreY, perMetre);
        EXPECT_EQ(CPngFile().ReadPicture(path).calibration,
                  (CalibrationRecord{unit, 1.0, 1.0, 4, 4}));
    }
}

TEST(PngCalibration, NoneWrittenWithoutOne) {
    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
    const DibBlock picture = SmallPicture();
    const std::string path = folder.file("plain.png");
    ASSERT_TRUE(CPngFile().Write(path, picture.dib()));
    const PngChunks chunks = ReadPngChunks(path);
    EXPECT_FALSE(chunks.hasPhys);
    EXPECT_TRUE(chunks.texts.empty());
    EXPECT_FALSE(CPngFile().ReadPicture(path).calibration.has_value());
}

TEST(PngCalibration, OtherProgramsPhysIsReadInMetresOnly) {
    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
    // 0.2 um and 0.25 um per pixel; 0.5 mm; a 72-dpi default of 2835 per metre.
    ASSERT_TRUE(WritePngWithPhys(folder.file("micro.png"), 5000000, 4000000, PNG_RESOLUTION_METER));
    ExpectScale(CPngFile().ReadPicture(folder.file("micro.png")).calibration, kMicrometre, 0.2,
                0.25);
    ASSERT_TRUE(WritePngWithPhys(folder.file("macro.png"), 2000, 2000, PNG_RESOLUTION_METER));
    ExpectScale(CPngFile().ReadPicture(folder.file("macro.png")).calibration, kMillimetre, 0.5,
                0.5);
    ASSERT_TRUE(WritePngWithPhys(folder.file("dpi.png"), 2835, 2835, PNG_RESOLUTION_METER));
    ExpectScale(CPngFile().ReadPicture(folder.file("dpi.png")).calibration, kMillimetre,
                1000.0 / 2835, 1000.0 / 2835);
    // A pHYs of unknown unit gives only the pixels' shape.
    ASSERT_TRUE(WritePngWithPhys(folder.file("aspect.png"), 1, 2, PNG_RESOLUTION_UNKNOWN));
    EXPECT_FALSE(CPngFile().ReadPicture(folder.file("aspect.png")).calibration.has_value());
}

// ------------------------------------------------------------------ TIFF

struct TiffTags {
    uint16_t resolutionUnit = 0;
    float perUnitX = 0;
    float perUnitY = 0;
    bool hasResolution = false;
    std::string description;
};

TiffTags ReadTiffTags(const std::string& path) {
    TiffTags tags;
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (!tiff)
        return tags;
    TIFFGetField(tiff, TIFFTAG_RESOLUTIONUNIT, &tags.resolutionUnit);
    tags.hasResolution = TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &tags.perUnitX) &&
                         TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &tags.perUnitY);
    const char* description = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_IMAGEDESCRIPTION, &description))
        tags.description = description;
    TIFFClose(tiff);
    return tags;
}

// A 2 x 2 grey TIFF as another program writes it: the resolution in
// `resolutionUnit`, and the description when it is not empty.
bool WriteTiffWithResolution(const std::string& path, uint16_t resolutionUnit, float perUnitX,
                             float perUnitY, const std::string& description = {}) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (!tiff)
        return false;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, 2U);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 2U);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 2U);
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, resolutionUnit);
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, perUnitX);
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, perUnitY);
    if (!description.empty())
        TIFFSetField(tiff, TIFFTAG_IMAGEDESCRIPTION, description.c_str());
    uint8_t row[2] = {10, 200};
    const bool written =
        TIFFWriteScanline(tiff, row, 0, 0) >= 0 && TIFFWriteScanline(tiff, row, 1, 0) >= 0;
    TIFFClose(tiff);
    return written;
}

TEST(TiffCalibration, WrittenAsImageJWritesItAndReadBackExactly) {
    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
    const DibBlock picture = SmallPicture();
    const struct {
        CalibrationRecord record;
        const char* description;
        double perUnitX; // in the unit the description names
    } cases[] = {
        {{kMicrometre, 123.456789012, 98.7654321, 437, 512},
         "ImageJ=1.11a\nunit=micron\n",
         437 / 123.456789012},
        {{kMillimetre, 2.0, 2.0, 10, 10}, "ImageJ=1.11a\nunit=mm\n", 5.0},
        {{kCentimetre, 1.0, 1.0, 300, 300}, "ImageJ=1.11a\nunit=cm\n", 300.0},
        {{kDecimetre, 1.0, 1.0, 300, 300}, "ImageJ=1.11a\nunit=cm\n", 30.0},
        {{kInch, 1.0, 1.0, 600, 600}, "ImageJ=1.11a\nunit=inch\n", 600.0},
    };
    for (const auto& [record, description, perUnitX] : cases) {
        SCOPED_TRACE(description);
        const std::string path = folder.file(std::to_string(record.unit) + ".tif");
        ASSERT_TRUE(CTiffFile().Write(path, picture.dib(), record));
        const TiffTags tags = ReadTiffTags(path);
        EXPECT_EQ(tags.resolutionUnit, RESUNIT_NONE);
        ASSERT_TRUE(tags.hasResolution);
        EXPECT_NEAR(tags.perUnitX, perUnitX, perUnitX * 1e-6);
        EXPECT_EQ(tags.description, description);
        const PictureFromFile read = CTiffFile().ReadPicture(path);
        ASSERT_TRUE(read.picture);
        EXPECT_EQ(read.calibration, record);
    }
}

TEST(TiffCalibration, NoneWrittenWithoutOne) {
    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
    const DibBlock picture = SmallPicture();
    const std::string path = folder.file("plain.tif");
    ASSERT_TRUE(CTiffFile().Write(path, picture.dib()));
    const TiffTags tags = ReadTiffTags(path);
    EXPECT_FALSE(tags.hasResolution);
    EXPECT_TRUE(tags.description.empty());
    EXPECT_FALSE(CTiffFile().ReadPicture(path).calibration.has_value());
}

TEST(TiffCalibration, ResolutionInInchOrCentimetreIsReadWithoutDescription) {
    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
    // 0.2 um per pixel as 127000 per inch and as 50000 per centimetre.
    ASSERT_TRUE(WriteTiffWithResolution(folder.file("inch.tif"), RESUNIT_INCH, 127000, 127000));
    ExpectScale(CTiffFile().ReadPicture(folder.file("inch.tif")).calibration, kMicrometre, 0.2,
                0.2);
    ASSERT_TRUE(WriteTiffWithResolution(folder.file("cm.tif"), RESUNIT_CENTIMETER, 50000, 40000));
    ExpectScale(CTiffFile().ReadPicture(folder.file("cm.tif")).calibration, kMicrometre, 0.2, 0.25);
    // A scan at 300 dpi: 84.667 um per pixel.
    ASSERT_TRUE(WriteTiffWithResolution(folder.file("scan.tif"), RESUNIT_INCH, 300, 300));
    ExpectScale(CTiffFile().ReadPicture(folder.file("scan.tif")).calibration, kMicrometre,
                25400.0 / 300, 25400.0 / 300);
    // A resolution of no unit and no description has no size.
    ASSERT_TRUE(WriteTiffWithResolution(folder.file("none.tif"), RESUNIT_NONE, 5, 5));
    EXPECT_FALSE(CTiffFile().ReadPicture(folder.file("none.tif")).calibration.has_value());
}

TEST(TiffCalibration, DescriptionNamesTheUnitInEveryForm) {
    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
    const struct {
        uint16_t resolutionUnit;
        const char* description;
        int unit;
        double scale; // 1 / 5 per pixel in the unit named, or converted
    } cases[] = {
        {RESUNIT_NONE, "ImageJ=1.53t\nunit=micron\n", kMicrometre, 0.2},
        {RESUNIT_NONE, "ImageJ=1.53t\nunit=um\n", kMicrometre, 0.2},
        {RESUNIT_NONE, "ImageJ=1.53t\nunit=\\u00B5m\n", kMicrometre, 0.2},
        {RESUNIT_NONE, "ImageJ=1.53t\nunit=\xC2\xB5m\n", kMicrometre, 0.2},
        {RESUNIT_NONE, "ImageJ=1.53t\nimages=1\nunit=mm\nloop=false\n", kMillimetre, 0.2},
        {RESUNIT_NONE, "ImageJ=1.53t\nunit=nm\n", kMicrometre, 0.0002},
        // The description's unit wins over the ResolutionUnit, as in ImageJ.
        {RESUNIT_CENTIMETER, "ImageJ=1.53t\nunit=cm\n", kCentimetre, 0.2},
        {RESUNIT_INCH, "ImageJ=1.53t\nunit=inch\n", kInch, 0.2},
        {RESUNIT_INCH, "ImageJ=1.53t\nunit=micron\n", kMicrometre, 0.2},
    };
    int index = 0;
    for (const auto& [resolutionUnit, description, unit, scale] : cases) {
        SCOPED_TRACE(description);
        const std::string path = folder.file(std::to_string(++index) + ".tif");
        ASSERT_TRUE(WriteTiffWithResolution(path, resolutionUnit, 5, 5, description));
        ExpectScale(CTiffFile().ReadPicture(path).calibration, unit, scale, scale);
    }
}

// ------------------------------------------------------------------ record text

TEST(CalibrationRecordText, RoundTripsExactlyAndRefusesWhatIsNotARecord) {
    const CalibrationRecord record{kInch, 0.1 + 0.2, 1999.99999999, 1, 2000};
    EXPECT_EQ(ParseCalibrationRecordText(CalibrationRecordText(record)), record);
    EXPECT_EQ(CalibrationRecordText(CalibrationRecord{}),
              "unit=0 realX=100 realY=100 pixelWidth=100 pixelHeight=100");
    for (const char* text : {"", "unit=0 realX=100 realY=100 pixelWidth=100",
                             "unit=0 realX=100 realY=100 pixelWidth=100 pixelHeight=100 colour=1",
                             "unit=5 realX=100 realY=100 pixelWidth=100 pixelHeight=100",
                             "unit=0 realX=100,5 realY=100 pixelWidth=100 pixelHeight=100",
                             "unit=0 realX=0 realY=100 pixelWidth=100 pixelHeight=100",
                             "unit=0 realX=100 realY=100 pixelWidth=2001 pixelHeight=100"})
        EXPECT_FALSE(ParseCalibrationRecordText(text).has_value()) << text;
}

TEST(CalibrationToWrite, NothingForTheUncalibratedDefaults) {
    AppSettings settings;
    EXPECT_FALSE(CalibrationToWrite(settings).has_value());
    settings.RulerPreset = "10x objective";
    EXPECT_EQ(CalibrationToWrite(settings), CalibrationRecord{});
    settings.RulerPreset.clear();
    settings.RulerUnit = kMillimetre;
    settings.xPixelRulerData = 250;
    EXPECT_EQ(CalibrationToWrite(settings), (CalibrationRecord{kMillimetre, 100, 100, 250, 100}));
}

} // namespace
} // namespace halvera
