// The batch tool writes the calibration in force into the PNG and TIFF files
// it writes (checked through libpng and libtiff), prints the one a file
// carries, and brings a picture's own calibration into force on request.
#include "CliPictures.h"
#include "CliRunner.h"

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>

namespace halvera {
namespace {

using testing::CliResult;
using testing::RunCliCapturing;

testing::Pixel CalibratedPattern(int x, int y) {
    return {uint8_t(x * 11), uint8_t(y * 13), 90};
}

// The pHYs chunk of a PNG file as libpng reads it: pixels per metre along x
// and y; zero when it has none or one of another unit.
std::pair<png_uint_32, png_uint_32> PhysPerMetre(const std::string& path) {
    std::pair<png_uint_32, png_uint_32> perMetre{0, 0};
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return perMetre;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    int unit = PNG_RESOLUTION_UNKNOWN;
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_read_info(png, info);
        if (!png_get_pHYs(png, info, &perMetre.first, &perMetre.second, &unit) ||
            unit != PNG_RESOLUTION_METER)
            perMetre = {0, 0};
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return perMetre;
}

struct TiffScale {
    uint16_t resolutionUnit = 0;
    float perUnitX = 0;
    std::string description;
};

TiffScale TiffScaleOf(const std::string& path) {
    TiffScale scale;
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (!tiff)
        return scale;
    TIFFGetField(tiff, TIFFTAG_RESOLUTIONUNIT, &scale.resolutionUnit);
    TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &scale.perUnitX);
    const char* description = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_IMAGEDESCRIPTION, &description))
        scale.description = description;
    TIFFClose(tiff);
    return scale;
}

// A 4 x 4 grey TIFF another program wrote, at `perInch` pixels per inch.
void WriteTiffAtDpi(const std::string& path, float perInch) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    ASSERT_NE(tiff, nullptr);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, 4U);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 4U);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 4U);
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, perInch);
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, perInch);
    uint8_t row[4] = {0, 80, 160, 240};
    for (uint32_t y = 0; y < 4; ++y)
        ASSERT_GE(TIFFWriteScanline(tiff, row, y, 0), 0);
    TIFFClose(tiff);
}

class PictureCalibrationCli : public ::testing::Test {
protected:
    void SetUp() override { testing::WriteBmp24(plain, 20, 10, CalibratedPattern); }

    testing::TemporaryFolder folder;
    const std::string plain = folder.file("plain.bmp");
};

TEST_F(PictureCalibrationCli, ConvertWritesTheGivenCalibrationAndInfoPrintsIt) {
    const std::string png = folder.file("scaled.png");
    CliResult result =
        RunCliCapturing({"convert", plain, png, "--calibration", "0,100,125,500,500"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(PhysPerMetre(png), std::make_pair(png_uint_32{5000000}, png_uint_32{4000000}));
    result = RunCliCapturing({"info", png});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "width=20 height=10 depth=24\ncalibration=um,0.2,0.25\n");

    // The PNG's own calibration goes on into a TIFF, as ImageJ writes it.
    const std::string tiff = folder.file("scaled.tif");
    result = RunCliCapturing({"convert", png, tiff, "--calibration-from-image"});
    ASSERT_EQ(result.status, 0) << result.err;
    const TiffScale scale = TiffScaleOf(tiff);
    EXPECT_EQ(scale.resolutionUnit, RESUNIT_NONE);
    EXPECT_FLOAT_EQ(scale.perUnitX, 5.0F);
    EXPECT_EQ(scale.description, "ImageJ=1.11a\nunit=micron\n");
    result = RunCliCapturing({"info", tiff});
    EXPECT_EQ(result.out, "width=20 height=10 depth=24\ncalibration=um,0.2,0.25\n");

    // Nine significant digits, and the unit as the panel names it.
    result = RunCliCapturing({"convert", plain, png, "--calibration", "4,1,2,3,3"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(RunCliCapturing({"info", png}).out,
              "width=20 height=10 depth=24\ncalibration=inch,0.333333333,0.666666667\n");
}

TEST_F(PictureCalibrationCli, NoCalibrationIsWrittenWithoutAnOption) {
    const std::string scaled = folder.file("scaled.png");
    ASSERT_EQ(testing::RunCli({"convert", plain, scaled, "--calibration", "1,1,1,10,10"}), 0);
    for (const std::string output : {"copy.png", "inverted.png"}) {
        SCOPED_TRACE(output);
        const std::string path = folder.file(output);
        const CliResult result = output == "copy.png"
                                     ? RunCliCapturing({"convert", scaled, path})
                                     : RunCliCapturing({"apply", scaled, path, "invert"});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(PhysPerMetre(path), std::make_pair(png_uint_32{0}, png_uint_32{0}));
        EXPECT_EQ(RunCliCapturing({"info", path}).out, "width=20 height=10 depth=24\n");
    }
    EXPECT_EQ(RunCliCapturing({"info", plain}).out, "width=20 height=10 depth=24\n");
}

TEST_F(PictureCalibrationCli, ApplyCarriesThePicturesOwnCalibration) {
    const std::string dpi = folder.file("scan.tif");
    WriteTiffAtDpi(dpi, 127000.0F); // 0.2 um per pixel
    EXPECT_EQ(RunCliCapturing({"info", dpi}).out,
              "width=4 height=4 depth=8\ncalibration=um,0.2,0.2\n");
    const std::string output = folder.file("inverted.tif");
    const CliResult result =
        RunCliCapturing({"apply", dpi, output, "invert", "--calibration-from-image"});
    ASSERT_EQ(result.status, 0) << result.err;
    const TiffScale scale = TiffScaleOf(output);
    EXPECT_EQ(scale.resolutionUnit, RESUNIT_NONE);
    EXPECT_FLOAT_EQ(scale.perUnitX, 5.0F);
    EXPECT_EQ(RunCliCapturing({"info", output}).out,
              "width=4 height=4 depth=24\ncalibration=um,0.2,0.2\n");
}

TEST_F(PictureCalibrationCli, RefusedBeforeAnythingIsWritten) {
    const std::string output = folder.file("out.png");
    // A picture that carries none.
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"convert", plain, output, "--calibration-from-image"},
          {"apply", plain, output, "invert", "--calibration-from-image"},
          {"print", plain, folder.file("out.pdf"), "--calibration-from-image"}}) {
        SCOPED_TRACE(command[0]);
        const CliResult result = RunCliCapturing(command);
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find("carries no calibration"), std::string::npos) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_FALSE(std::filesystem::exists(folder.file("out.pdf")));
    // Both options at once.
    const CliResult both = RunCliCapturing(
        {"convert", plain, output, "--calibration", "0,1,1,1,1", "--calibration-from-image"});
    EXPECT_EQ(both.status, 2);
    EXPECT_NE(both.err.find("not both"), std::string::npos) << both.err;
    EXPECT_FALSE(std::filesystem::exists(output));
    // measure needs the picture it takes the calibration from.
    EXPECT_EQ(RunCliCapturing({"measure", "--calibration-from-image", "point:1,1"}).status, 2);
}

TEST_F(PictureCalibrationCli, MeasureAndPrintUseThePicturesCalibration) {
    const std::string scaled = folder.file("scaled.png");
    ASSERT_EQ(testing::RunCli({"convert", plain, scaled, "--calibration", "1,1,2,10,10"}), 0);
    // Given after --image or before it, the picture's calibration measures.
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"measure", "--image", scaled, "--calibration-from-image",
                                   "--values", "line:0,0,10,0"},
          {"measure", "--calibration-from-image", "--values", "--image", scaled,
           "line:0,0,10,0"}}) {
        const CliResult result = RunCliCapturing(command);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out.substr(0, result.out.find(" Angle")), "line Length=1.000");
    }

    // print lays the page out at the picture's own scale: the same page as
    // with that calibration given, another than with another.
    const auto page = [&](std::vector<std::string> options, const std::string& name) {
        std::vector<std::string> command{"print", scaled, folder.file(name), "--ratio", "1:1"};
        command.insert(command.end(), options.begin(), options.end());
        const CliResult result = RunCliCapturing(command);
        EXPECT_EQ(result.status, 0) << result.err;
        return testing::ReadFileBytes(folder.file(name));
    };
    const testing::Bytes own = page({"--calibration-from-image"}, "own.pdf");
    EXPECT_EQ(own, page({"--calibration", "1,1,2,10,10"}, "given.pdf"));
    EXPECT_NE(own, page({"--calibration", "1,1,1,10,10"}, "other.pdf"));
}

} // namespace
} // namespace halvera
