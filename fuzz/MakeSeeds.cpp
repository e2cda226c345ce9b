// Writes the fuzzers' seed corpus: small valid files of every kind the
// readers accept. Usage: make_fuzz_seeds CORPUS_DIR  (writes CORPUS_DIR/<target>/...)
#include "LibjpegEncoder.h"
#include "PictureEncoders.h"
#include "image/BmpFile.h"
#include "image/JpegFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace halvera;

namespace {

using Bytes = std::vector<uint8_t>;

void Save(const std::filesystem::path& path, const Bytes& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        std::fclose(file) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

void PutLittle32(Bytes& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A BMP file of depth 1, 4 or 8 with a full palette and a diagonal pattern.
Bytes IndexedBmp(int width, int height, int depth) {
    const int entries = 1 << depth;
    const int stride = ((width * depth + 31) / 32) * 4;
    Bytes file(14 + 40 + entries * 4 + stride * height, 0);
    file[0] = 'B';
    file[1] = 'M';
    PutLittle32(file, 2, static_cast<uint32_t>(file.size()));
    PutLittle32(file, 10, static_cast<uint32_t>(54 + entries * 4));
    BitmapInfoHeader header;
    header.biWidth = width;
    header.biHeight = height;
    header.biBitCount = static_cast<uint16_t>(depth);
    std::memcpy(file.data() + 14, &header, sizeof header);
    for (int i = 0; i < entries; ++i) {
        uint8_t* entry = file.data() + 54 + i * 4;
        entry[0] = static_cast<uint8_t>(i * 255 / (entries - 1));
        entry[1] = static_cast<uint8_t>(255 - i * 7);
        entry[2] = static_cast<uint8_t>(i * 31);
    }
    uint8_t* rows = file.data() + 54 + entries * 4;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int bit = x * depth;
            const int value = (x + y) % entries;
            rows[y * stride + bit / 8] |= static_cast<uint8_t>(value << (8 - depth - bit % 8));
        }
    return file;
}

// A run-length encoded BMP file (8-bit: compression 1, 4-bit: 2) with a
// palette of `colours` entries and the given pixel data, as ImageMagick writes them.
Bytes RleBmp(int width, int height, int depth, int colours, const Bytes& data) {
    Bytes file(14 + 40 + colours * 4, 0);
    file[0] = 'B';
    file[1] = 'M';
    PutLittle32(file, 10, static_cast<uint32_t>(file.size()));
    BitmapInfoHeader header;
    header.biWidth = width;
    header.biHeight = height;
    header.biBitCount = static_cast<uint16_t>(depth);
    header.biCompression = depth == 8 ? 1 : 2;
    header.biSizeImage = static_cast<uint32_t>(data.size());
    header.biClrUsed = static_cast<uint32_t>(colours);
    std::memcpy(file.data() + 14, &header, sizeof header);
    for (int i = 0; i < colours; ++i)
        file[54 + i * 4] = static_cast<uint8_t>(i * 40);
    file.insert(file.end(), data.begin(), data.end());
    PutLittle32(file, 2, static_cast<uint32_t>(file.size()));
    return file;
}

// An 8-bit BMP file stored top row first (negative height).
Bytes TopDownBmp(int width, int height) {
    Bytes file = IndexedBmp(width, height, 8);
    BitmapInfoHeader header;
    std::memcpy(&header, file.data() + 14, sizeof header);
    header.biHeight = -height;
    std::memcpy(file.data() + 14, &header, sizeof header);
    return file;
}

DibBlock Gradient(int width, int height) {
    DibBlock image;
    CreateRgb(image, width, height);
    const CDibImage dib = image.dib();
    std::memset(dib.bits, 0, static_cast<size_t>(dib.bitsSize));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = dib.row(y) + 3 * x;
            p[0] = static_cast<uint8_t>(x * 9);
            p[1] = static_cast<uint8_t>(y * 17);
            p[2] = static_cast<uint8_t>((x + y) * 5);
        }
    return image;
}

// A JPEG encoded with libjpeg directly, for kinds the program never writes.
Bytes EncodedJpeg(int width, int height, J_COLOR_SPACE space, int components, bool progressive) {
    const size_t rowBytes = static_cast<size_t>(width) * components;
    Bytes samples(rowBytes * height);
    for (size_t y = 0; y < static_cast<size_t>(height); ++y)
        for (size_t i = 0; i < rowBytes; ++i)
            samples[y * rowBytes + i] = static_cast<uint8_t>(i * 11 + y * 23);
    return testing::EncodeWithLibjpeg(width, height, space, components, samples,
                                      [progressive](jpeg_compress_struct& encoder) {
                                          jpeg_set_quality(&encoder, 50, TRUE);
                                          if (progressive)
                                              jpeg_simple_progression(&encoder);
                                      });
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    for (const char* target : {"fuzz_bmp", "fuzz_reference", "fuzz_jpeg", "fuzz_png", "fuzz_tiff"})
        std::filesystem::create_directories(root / target);

    Save(root / "fuzz_bmp" / "depth1-9x3.bmp", IndexedBmp(9, 3, 1));
    Save(root / "fuzz_bmp" / "depth4-5x2.bmp", IndexedBmp(5, 2, 4));
    Save(root / "fuzz_bmp" / "depth8-6x2.bmp", IndexedBmp(6, 2, 8));
    // Runs, a literal, a delta, end of line and end of picture.
    Save(root / "fuzz_bmp" / "rle8-7x3.bmp",
         RleBmp(7, 3, 8, 5, {3, 1, 0, 4, 2, 3, 4, 0, 0, 0, 0, 2, 2, 1, 5, 2, 0, 0, 0, 1}));
    Save(root / "fuzz_bmp" / "rle4-5x2.bmp",
         RleBmp(5, 2, 4, 16, {5, 0x12, 0, 0, 0, 3, 0x45, 0x60, 2, 0x77, 0, 1}));
    Save(root / "fuzz_bmp" / "topdown8-5x3.bmp", TopDownBmp(5, 3));
    const DibBlock small = Gradient(7, 3);
    const DibBlock wide = Gradient(101, 2);
    CBmpFile files;
    if (!files.Write((root / "fuzz_bmp" / "depth24-7x3.bmp").string(), small.dib()) ||
        !files.Write((root / "fuzz_bmp" / "depth24-101x2.bmp").string(), wide.dib()) ||
        !files.WriteReference((root / "fuzz_reference" / "7x3.ref").string(), small.dib()) ||
        !files.WriteReference((root / "fuzz_reference" / "101x2.ref").string(), wide.dib()))
        return 1;

    const DibBlock colour = Gradient(16, 16);
    if (!CJpegFile().Write((root / "fuzz_jpeg" / "colour-16x16.jpg").string(), colour.dib(), 50))
        return 1;
    Save(root / "fuzz_jpeg" / "grey-8x8.jpg", EncodedJpeg(8, 8, JCS_GRAYSCALE, 1, false));
    Save(root / "fuzz_jpeg" / "cmyk-8x8.jpg", EncodedJpeg(8, 8, JCS_CMYK, 4, false));
    Save(root / "fuzz_jpeg" / "progressive-16x8.jpg", EncodedJpeg(16, 8, JCS_RGB, 3, true));

    using testing::PatternPicture;
    using testing::TestColours;
    struct Seed {
        const char* name;
        TestColours colours;
        int bits;
    };
    const Seed seeds[] = {
        {"grey1-8x4", TestColours::Grey, 1},   {"grey8-8x4", TestColours::Grey, 8},
        {"grey16-8x4", TestColours::Grey, 16}, {"palette4-8x4", TestColours::Palette, 4},
        {"rgb8-8x4", TestColours::Rgb, 8},     {"rgba16-8x4", TestColours::Rgba, 16}};
    for (const Seed& seed : seeds) {
        const testing::TestPicture picture = PatternPicture(8, 4, seed.colours, seed.bits);
        if (!testing::WritePngFile((root / "fuzz_png" / (std::string(seed.name) + ".png")).string(),
                                   picture) ||
            !testing::WriteTiffFile(
                (root / "fuzz_tiff" / (std::string(seed.name) + ".tif")).string(), picture))
            return 1;
    }
    const testing::TestPicture grey = PatternPicture(9, 7, TestColours::Grey, 8);
    const testing::TestPicture tiledColour = PatternPicture(18, 17, TestColours::Rgb, 8);
    if (!testing::WritePngFile((root / "fuzz_png" / "interlaced-9x7.png").string(), grey, true) ||
        !testing::WriteTiffFile((root / "fuzz_tiff" / "tiled-18x17.tif").string(), tiledColour,
                                {.tiled = true}) ||
        !testing::WriteTiffFile((root / "fuzz_tiff" / "deflate-9x7.tif").string(), grey,
                                {.deflate = true}) ||
        !testing::WriteTiffFile((root / "fuzz_tiff" / "white-9x7.tif").string(), grey,
                                {.minIsWhite = true}))
        return 1;
    return 0;
}
