#include "PictureEncoders.h"

#include <bit>
#include <csetjmp>
#include <cstdio>
#include <png.h>
#include <tiffio.h>

namespace halvera::testing {

namespace {

// Packs one row of samples as both file formats store them: below 8 bits
// the leftmost pixel in the most significant bits, 16 bits in the byte
// order the library expects (`bigEndian16`).
std::vector<uint8_t> PackRow(const TestPicture& picture, int y, bool bigEndian16) {
    const size_t count = static_cast<size_t>(picture.width) * picture.channels();
    const uint16_t* samples = picture.samples.data() + count * static_cast<size_t>(y);
    std::vector<uint8_t> row((count * static_cast<size_t>(picture.bits) + 7) / 8, 0);
    for (size_t i = 0; i < count; ++i) {
        const unsigned value = samples[i];
        if (picture.bits == 16) {
            row[2 * i] = static_cast<uint8_t>(bigEndian16 ? value >> 8 : value);
            row[2 * i + 1] = static_cast<uint8_t>(bigEndian16 ? value : value >> 8);
        } else {
            const size_t bit = i * static_cast<size_t>(picture.bits);
            row[bit / 8] |= static_cast<uint8_t>(value << (8 - picture.bits - bit % 8));
        }
    }
    return row;
}

int PngColourType(TestColours colours) {
    switch (colours) {
    case TestColours::Grey:
        return PNG_COLOR_TYPE_GRAY;
    case TestColours::GreyAlpha:
        return PNG_COLOR_TYPE_GRAY_ALPHA;
    case TestColours::Palette:
        return PNG_COLOR_TYPE_PALETTE;
    case TestColours::Rgb:
        return PNG_COLOR_TYPE_RGB;
    case TestColours::Rgba:
        return PNG_COLOR_TYPE_RGB_ALPHA;
    }
    return PNG_COLOR_TYPE_GRAY;
}

bool EncodePng(png_structp png, png_infop info, std::FILE* file, const TestPicture& picture,
               bool interlaced, std::vector<png_bytep>& pointers, std::vector<png_color>& palette) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
                 static_cast<png_uint_32>(picture.height), picture.bits,
                 PngColourType(picture.colours),
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (picture.colours == TestColours::Palette)
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_write_info(png, info);
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    return true;
}

} // namespace

int TestPicture::channels() const {
    switch (colours) {
    case TestColours::GreyAlpha:
        return 2;
    case TestColours::Rgb:
        return 3;
    case TestColours::Rgba:
        return 4;
    default:
        return 1;
    }
}

TestPicture PatternPicture(int width, int height, TestColours colours, int bits) {
    TestPicture picture;
    picture.width = width;
    picture.height = height;
    picture.colours = colours;
    picture.bits = bits;
    const unsigned top = bits == 16 ? 0xFFFF : (1u << bits) - 1;
    const int channels = picture.channels();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c) {
                unsigned value = static_cast<unsigned>(x * 7 + y * 13 + c * 5);
                // 16 bits: a 12-bit camera's values shifted up, from 1000 on.
                value = bits == 16 ? 1000 + (value * 37) % 3096 : value % (top + 1);
                picture.samples.push_back(static_cast<uint16_t>(value));
            }
    if (colours == TestColours::Palette)
        for (unsigned i = 0; i <= top; ++i)
            picture.palette.push_back({static_cast<uint8_t>(i * 3), static_cast<uint8_t>(255 - i),
                                       static_cast<uint8_t>(i * 11 + 1)});
    return picture;
}

bool WritePngFile(const std::string& path, const TestPicture& picture, bool interlaced) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<std::vector<uint8_t>> rows;
    std::vector<png_bytep> pointers;
    for (int y = 0; y < picture.height; ++y)
        rows.push_back(PackRow(picture, y, true));
    for (auto& row : rows)
        pointers.push_back(row.data());
    std::vector<png_color> palette;
    for (const auto& colour : picture.palette)
        palette.push_back(png_color{colour[0], colour[1], colour[2]});
    const bool written = EncodePng(png, info, file, picture, interlaced, pointers, palette);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && written;
}

namespace {

// Writes `picture` as the current page of `tiff`.
bool WriteTiffPage(TIFF* tiff, const TestPicture& picture, const TiffOptions& options) {
    const int channels = picture.channels();
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(picture.width));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(picture.height));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, picture.bits);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, channels);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION,
                 options.deflate ? COMPRESSION_ADOBE_DEFLATE : COMPRESSION_NONE);
    const bool rgb = picture.colours == TestColours::Rgb || picture.colours == TestColours::Rgba;
    uint16_t photometric =
        rgb ? PHOTOMETRIC_RGB
            : (options.minIsWhite ? PHOTOMETRIC_MINISWHITE : PHOTOMETRIC_MINISBLACK);
    std::vector<uint16_t> red, green, blue;
    if (picture.colours == TestColours::Palette) {
        photometric = PHOTOMETRIC_PALETTE;
        const int scale = options.eightBitColourMap ? 1 : 257;
        for (const auto& colour : picture.palette) {
            red.push_back(static_cast<uint16_t>(colour[0] * scale));
            green.push_back(static_cast<uint16_t>(colour[1] * scale));
            blue.push_back(static_cast<uint16_t>(colour[2] * scale));
        }
        TIFFSetField(tiff, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
    }
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, photometric);
    if (channels == 2 || channels == 4) {
        const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    const bool nativeBig = std::endian::native == std::endian::big;
    bool written = true;
    if (options.tiled) {
        constexpr int kTile = 16;
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, kTile);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, kTile);
        const size_t tileRow = (static_cast<size_t>(kTile) * channels * picture.bits + 7) / 8;
        for (int top = 0; top < picture.height; top += kTile)
            for (int left = 0; left < picture.width; left += kTile) {
                std::vector<uint8_t> tile(tileRow * kTile, 0);
                for (int r = 0; r < kTile && top + r < picture.height; ++r) {
                    const std::vector<uint8_t> row = PackRow(picture, top + r, nativeBig);
                    const size_t start = static_cast<size_t>(left) * channels * picture.bits / 8;
                    for (size_t b = 0; b < tileRow && start + b < row.size(); ++b)
                        tile[tileRow * r + b] = row[start + b];
                }
                written = written && TIFFWriteTile(tiff, tile.data(), static_cast<uint32_t>(left),
                                                   static_cast<uint32_t>(top), 0, 0) >= 0;
            }
    } else {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 3);
        for (int y = 0; y < picture.height; ++y) {
            std::vector<uint8_t> row = PackRow(picture, y, nativeBig);
            written =
                written && TIFFWriteScanline(tiff, row.data(), static_cast<uint32_t>(y), 0) >= 0;
        }
    }
    return written;
}

} // namespace

bool WriteTiffFile(const std::string& path, const TestPicture& picture,
                   const TiffOptions& options) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (!tiff)
        return false;
    bool written = true;
    for (int page = 0; page < options.pages && written; ++page)
        written = WriteTiffPage(tiff, picture, options) && TIFFWriteDirectory(tiff) == 1;
    TIFFClose(tiff);
    return written;
}

} // namespace halvera::testing
