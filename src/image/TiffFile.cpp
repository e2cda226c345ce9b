#include "image/TiffFile.h"

#include "image/ReadFailure.h"
#include "image/TiffCalibration.h"
#include "image/WholeFileWrite.h"
#include "platform/UserPrompts.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <tiffio.h>
#include <unistd.h>
#include <vector>

namespace halvera {

namespace {

// Tiles are multiples of 16 pixels; small pictures are often stored in one
// tile of a usual size. A tile side beyond both is no real file's and is
// refused before any buffer for it is allocated.
constexpr uint32_t kUsualTileSide = 1024;

bool IsSensibleTileSide(uint32_t side, int32_t pictureSide) {
    const uint32_t rounded = (static_cast<uint32_t>(pictureSide) + 15) / 16 * 16;
    return side > 0 && side <= std::max(kUsualTileSide, rounded);
}

// The library's messages would go to standard error; the user sees the
// program's own message instead.
int Silence(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

// While reading, the library's last error message is kept (in the string
// `text` points to) for the reason shown.
int KeepLastError(TIFF*, void* text, const char*, const char* format, va_list arguments) {
    char message[256];
    std::vsnprintf(message, sizeof message, format, arguments);
    static_cast<std::string*>(text)->assign(message);
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

struct OptionsFreer {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

// Opens `path` with `mode` ("r") or a descriptor (when `descriptor` >= 0, which
// the handle then owns) with every library message silenced; the last error
// message lands in `lastError` when one is given.
TiffHandle OpenQuietly(const char* name, const char* mode, int descriptor = -1,
                       std::string* lastError = nullptr) {
    std::unique_ptr<TIFFOpenOptions, OptionsFreer> options(TIFFOpenOptionsAlloc());
    if (!options)
        return nullptr;
    if (lastError)
        TIFFOpenOptionsSetErrorHandlerExtR(options.get(), KeepLastError, lastError);
    else
        TIFFOpenOptionsSetErrorHandlerExtR(options.get(), Silence, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), Silence, nullptr);
    return TiffHandle(descriptor >= 0 ? TIFFFdOpenExt(descriptor, name, mode, options.get())
                                      : TIFFOpenExt(name, mode, options.get()));
}

// A palette of 2^bits colours from the file's 16-bit colour map. Some
// writers store 8-bit values in it; a map with no value above 255 is read so.
std::vector<RgbQuad> PaletteOf(TIFF* tiff, int bits) {
    uint16_t* red = nullptr;
    uint16_t* green = nullptr;
    uint16_t* blue = nullptr;
    if (bits > 8 || !TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue))
        return {};
    const size_t count = size_t{1} << bits;
    bool eightBit = true;
    for (size_t i = 0; i < count; ++i)
        eightBit = eightBit && red[i] < 256 && green[i] < 256 && blue[i] < 256;
    const int shift = eightBit ? 0 : 8;
    std::vector<RgbQuad> palette(count);
    for (size_t i = 0; i < count; ++i)
        palette[i] =
            RgbQuad{static_cast<uint8_t>(blue[i] >> shift), static_cast<uint8_t>(green[i] >> shift),
                    static_cast<uint8_t>(red[i] >> shift), 0};
    return palette;
}

// The name of a photometric interpretation the program does not read.
std::string PhotometricName(uint16_t photometric) {
    switch (photometric) {
    case PHOTOMETRIC_SEPARATED:
        return "CMYK colours";
    case PHOTOMETRIC_YCBCR:
        return "YCbCr colours";
    case PHOTOMETRIC_CIELAB:
    case PHOTOMETRIC_ICCLAB:
    case PHOTOMETRIC_ITULAB:
        return "Lab colours";
    case PHOTOMETRIC_MASK:
        return "a transparency mask";
    default:
        return "photometric interpretation " + std::to_string(photometric);
    }
}

std::string SampleFormatName(uint16_t format) {
    switch (format) {
    case SAMPLEFORMAT_IEEEFP:
        return "floating-point samples";
    case SAMPLEFORMAT_INT:
        return "signed samples";
    default:
        return "sample format " + std::to_string(format);
    }
}

// The layout of the file's first picture, or nothing for one the program
// does not read, with `failure` saying why.
std::optional<SampleLayout> LayoutOf(TIFF* tiff, ReadFailure& failure) {
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bits = 1;
    uint16_t samples = 1;
    uint16_t photometric = 0;
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t format = SAMPLEFORMAT_UINT;
    failure = {ReadProblem::Damaged, "the picture's size or colours are not given"};
    if (!TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height) ||
        !TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric))
        return std::nullopt;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
    failure = {ReadProblem::TooLarge,
               std::to_string(width) + " x " + std::to_string(height) + " pixels"};
    if (width > static_cast<uint32_t>(kMaxDibSide) || height > static_cast<uint32_t>(kMaxDibSide))
        return std::nullopt;
    failure = {ReadProblem::Unsupported, SampleFormatName(format)};
    if (format != SAMPLEFORMAT_UINT)
        return std::nullopt;
    failure = {ReadProblem::Unsupported, "colours in separate planes"};
    if (planar != PLANARCONFIG_CONTIG && samples > 1)
        return std::nullopt;

    SampleLayout layout;
    layout.width = static_cast<int32_t>(width);
    layout.height = static_cast<int32_t>(height);
    layout.bitsPerSample = bits;
    layout.samplesPerPixel = samples;
    switch (photometric) {
    case PHOTOMETRIC_MINISBLACK:
        layout.colours = SampleColours::Grey;
        break;
    case PHOTOMETRIC_MINISWHITE:
        layout.colours = SampleColours::InvertedGrey;
        break;
    case PHOTOMETRIC_RGB:
        layout.colours = SampleColours::Rgb;
        break;
    case PHOTOMETRIC_PALETTE:
        layout.colours = SampleColours::Palette;
        layout.palette = PaletteOf(tiff, bits);
        failure = {ReadProblem::Damaged, "a palette picture without its palette"};
        if (layout.palette.empty())
            return std::nullopt;
        break;
    default:
        failure = {ReadProblem::Unsupported, PhotometricName(photometric)};
        return std::nullopt;
    }
    return layout;
}

bool ReadStrips(TIFF* tiff, PictureAssembler& assembler, int32_t height) {
    const size_t rowBytes = assembler.rowBytes();
    if (TIFFScanlineSize64(tiff) != rowBytes)
        return false;
    std::unique_ptr<uint8_t[]> row(new (std::nothrow) uint8_t[rowBytes]);
    if (!row)
        return false;
    for (int32_t y = 0; y < height; ++y) {
        if (TIFFReadScanline(tiff, row.get(), static_cast<uint32_t>(y), 0) < 0)
            return false;
        assembler.AddRow(y, row.get());
    }
    return true;
}

// Reads a band of tiles at a time into whole rows, then hands the rows on.
bool ReadTiles(TIFF* tiff, PictureAssembler& assembler, const SampleLayout& layout) {
    uint32_t tileWidth = 0;
    uint32_t tileLength = 0;
    if (!TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &tileWidth) ||
        !TIFFGetField(tiff, TIFFTAG_TILELENGTH, &tileLength) ||
        !IsSensibleTileSide(tileWidth, layout.width) ||
        !IsSensibleTileSide(tileLength, layout.height))
        return false;
    const size_t bitsPerPixel =
        static_cast<size_t>(layout.bitsPerSample) * static_cast<size_t>(layout.samplesPerPixel);
    const size_t tileRowBytes = tileWidth * bitsPerPixel / 8;
    if (tileWidth * bitsPerPixel % 8 != 0 || TIFFTileRowSize64(tiff) != tileRowBytes ||
        TIFFTileSize64(tiff) != tileRowBytes * tileLength)
        return false;
    const size_t rowBytes = assembler.rowBytes();
    const auto width = static_cast<uint32_t>(layout.width);
    const auto height = static_cast<uint32_t>(layout.height);
    std::unique_ptr<uint8_t[]> tile(new (std::nothrow) uint8_t[tileRowBytes * tileLength]);
    const uint32_t bandRows = std::min(tileLength, height);
    std::unique_ptr<uint8_t[]> band(new (std::nothrow) uint8_t[rowBytes * bandRows]);
    if (!tile || !band)
        return false;
    for (uint32_t top = 0; top < height; top += tileLength) {
        const uint32_t rows = std::min(tileLength, height - top);
        for (uint32_t left = 0; left < width; left += tileWidth) {
            if (TIFFReadTile(tiff, tile.get(), left, top, 0, 0) < 0)
                return false;
            // The tile's bytes that lie inside the picture's row.
            const size_t start = left * bitsPerPixel / 8;
            const size_t bytes = std::min(tileRowBytes, rowBytes - start);
            for (uint32_t r = 0; r < rows; ++r)
                std::memcpy(band.get() + rowBytes * r + start, tile.get() + tileRowBytes * r,
                            bytes);
        }
        for (uint32_t r = 0; r < rows; ++r)
            assembler.AddRow(static_cast<int32_t>(top + r), band.get() + rowBytes * r);
    }
    return true;
}

// Uncompressed strips of more than 64 KiB each, or the whole picture as one
// strip. libtiff writes the strip byte counts as SHORT when several strips
// each fit in 16 bits; two such counts then sit inside the directory entry,
// and ImageJ 1.53 reads them from that place as if it were an offset
// (NegativeArraySizeException). A strip larger than 64 KiB, or a single
// strip, makes libtiff write LONG counts, as other writers do.
uint32_t RowsPerStrip(int32_t width, int32_t height) {
    constexpr uint64_t kSmallestStrip = 0x10000;
    const uint64_t rowBytes = 3 * static_cast<uint64_t>(width);
    const uint64_t rows = (kSmallestStrip + rowBytes - 1) / rowBytes;
    return static_cast<uint32_t>(std::min<uint64_t>(rows, static_cast<uint64_t>(height)));
}

// Writes `image` as 8-bit RGB rows into the writer's open file. libtiff gets
// its own descriptor of that file, which it closes; the writer's stream has
// written nothing and still commits the file.
bool WriteRgbTiff(AtomicFileWriter& file, const CDibImage& image, const std::string& path,
                  const std::optional<CalibrationRecord>& calibration) {
    const int descriptor = dup(fileno(file.stream()));
    if (descriptor < 0)
        return false;
    TiffHandle tiff = OpenQuietly(path.c_str(), "w", descriptor);
    if (!tiff) {
        close(descriptor);
        return false;
    }
    const int32_t width = image.width();
    TIFF* out = tiff.get();
    TIFFSetField(out, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(width));
    TIFFSetField(out, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(image.height));
    TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(out, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(out, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, RowsPerStrip(width, image.height));
    if (calibration)
        SetCalibrationTags(out, *calibration);
    std::unique_ptr<uint8_t[]> row(new (std::nothrow) uint8_t[3 * static_cast<size_t>(width)]);
    if (!row)
        return false;
    for (int32_t y = 0; y < image.height; ++y) {
        const uint8_t* source = image.row(y);
        uint8_t* target = row.get();
        for (int32_t x = 0; x < width; ++x, source += 3, target += 3) {
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
        }
        if (TIFFWriteScanline(out, row.get(), static_cast<uint32_t>(y), 0) < 0)
            return false;
    }
    return TIFFFlush(out) == 1;
}

} // namespace

namespace {

// Why libtiff gave up reading the rows, from its last message.
ReadFailure TiffReadFailure(const std::string& message) {
    if (message.find("Read error") != std::string::npos ||
        message.find("past end") != std::string::npos)
        return {ReadProblem::Truncated, {}};
    return {ReadProblem::Damaged, message};
}

// Reads the first picture of the file `path`, known to open; empty with
// `failure` saying why.
PictureFromFile ReadTiff(const std::string& path, ReadFailure& failure) {
    std::string lastError;
    const TiffHandle tiff = OpenQuietly(path.c_str(), "r", -1, &lastError);
    failure = {ReadProblem::NotAPicture, "TIFF"};
    if (!tiff)
        return {};
    const std::optional<SampleLayout> layout = LayoutOf(tiff.get(), failure);
    if (!layout)
        return {};
    PictureAssembler assembler;
    if (!assembler.Begin(*layout)) {
        failure = *assembler.refusal();
        return {};
    }
    lastError.clear();
    const bool read = TIFFIsTiled(tiff.get()) ? ReadTiles(tiff.get(), assembler, *layout)
                                              : ReadStrips(tiff.get(), assembler, layout->height);
    if (read) {
        PictureFromFile picture = assembler.Finish();
        picture.calibration = ReadCalibrationTags(tiff.get());
        return picture;
    }
    failure = lastError.empty()
                  ? ReadFailure{ReadProblem::Damaged, "a strip or tile of an unusual size"}
                  : TiffReadFailure(lastError);
    return {};
}

} // namespace

PictureFromFile CTiffFile::ReadPicture(const std::string& path) {
    if (const std::optional<ReadFailure> unopenable = UnopenableFile(path)) {
        ReportReadFailure(path, *unopenable);
        return {};
    }
    PictureFromFile result;
    ReadFailure failure;
    {
        WaitCursor wait;
        result = ReadTiff(path, failure);
    }
    if (!result.picture)
        ReportReadFailure(path, failure);
    return result;
}

PictureFileContents CTiffFile::Inspect(const std::string& path) {
    PictureFileContents contents;
    const TiffHandle tiff = OpenQuietly(path.c_str(), "r");
    if (!tiff)
        return contents;
    uint16_t bits = 1;
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_BITSPERSAMPLE, &bits);
    contents.bitsPerSample = bits;
    contents.pages = std::max(1, static_cast<int>(TIFFNumberOfDirectories(tiff.get())));
    return contents;
}

bool CTiffFile::Write(const std::string& path, const CDibImage& image,
                      const std::optional<CalibrationRecord>& calibration) {
    if (image.empty() || image.bitCount() != 24)
        return false;
    return WriteFileWhole(
        path, [&](AtomicFileWriter& file) { return WriteRgbTiff(file, image, path, calibration); });
}

} // namespace halvera
