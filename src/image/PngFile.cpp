#include "image/PngFile.h"

#include "image/PictureCalibration.h"
#include "image/ReadFailure.h"
#include "image/WholeFileWrite.h"
#include "platform/UserPrompts.h"

#include <bit>
#include <cerrno>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <new>
#include <png.h>
#include <string_view>
#include <vector>

namespace halvera {

namespace {

constexpr int kCompressionLevel = 6;
constexpr size_t kSignatureSize = 8;
// The keyword of the text chunk that holds Halvera's calibration record.
constexpr const char* kCalibrationKeyword = "Halvera calibration";
// pHYs counts are at most 2^31 - 1 (the PNG standard's limit for 4-byte numbers).
constexpr double kLargestPhysCount = 2147483647.0;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// libpng's errors return to the recovery point of the function that called
// it (png_jmpbuf). The longjmp only crosses libpng's C frames and the
// functions below that call setjmp, which keep every object with a destructor
// in this state, owned by their caller.
struct PngReadState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PictureAssembler assembler;
    std::vector<uint8_t> rows; // one row, or every row of an interlaced picture
    std::vector<png_bytep> rowPointers;
    // The library's message when it gave up, for the reason shown.
    std::string libraryError;

    ~PngReadState() { png_destroy_read_struct(&png, &info, nullptr); }
};

// The library's messages would go to standard error; the user sees the
// program's own message instead.
void IgnoreWarning(png_structp, png_const_charp) {}
[[noreturn]] void ReturnToRecovery(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
// While reading, the message is kept (in the state's string) for the reason.
[[noreturn]] void KeepMessageAndRecover(png_structp png, png_const_charp message) {
    static_cast<std::string*>(png_get_error_ptr(png))->assign(message);
    png_longjmp(png, 1);
}

// Why libpng gave up reading, from its message.
ReadFailure PngReadFailure(const std::string& message) {
    if (message == "Read Error")
        return {ReadProblem::Truncated, {}};
    if (message.find("exceeds user limit") != std::string::npos)
        return {ReadProblem::TooLarge, {}};
    return {ReadProblem::Damaged, message};
}

// The layout libpng delivers for the picture whose header has just been read;
// for a palette picture its colours too.
SampleLayout LayoutOf(png_structp png, png_infop info) {
    SampleLayout layout;
    layout.width = static_cast<int32_t>(png_get_image_width(png, info));
    layout.height = static_cast<int32_t>(png_get_image_height(png, info));
    layout.bitsPerSample = png_get_bit_depth(png, info);
    layout.samplesPerPixel = png_get_channels(png, info);
    const int type = png_get_color_type(png, info);
    if (type & PNG_COLOR_MASK_PALETTE) {
        layout.colours = SampleColours::Palette;
        png_colorp colours = nullptr;
        int count = 0;
        if (png_get_PLTE(png, info, &colours, &count) == PNG_INFO_PLTE)
            for (int i = 0; i < count; ++i)
                layout.palette.push_back(
                    RgbQuad{colours[i].blue, colours[i].green, colours[i].red, 0});
    } else {
        layout.colours = (type & PNG_COLOR_MASK_COLOR) ? SampleColours::Rgb : SampleColours::Grey;
    }
    return layout;
}

// The calibration of the picture whose chunks have all been read: Halvera's
// own record when it is there and sound, else the pixel size of a pHYs
// chunk in metres (one of unknown unit gives only the pixels' aspect).
std::optional<CalibrationRecord> CalibrationOf(png_structp png, png_infop info) {
    png_textp texts = nullptr;
    const int count = png_get_text(png, info, &texts, nullptr);
    for (int i = 0; i < count; ++i)
        if (std::string_view(texts[i].key) == kCalibrationKeyword)
            if (const auto record = ParseCalibrationRecordText(
                    std::string_view(texts[i].text, texts[i].text_length)))
                return record;
    png_uint_32 perMetreX = 0;
    png_uint_32 perMetreY = 0;
    int unit = PNG_RESOLUTION_UNKNOWN;
    if (!png_get_pHYs(png, info, &perMetreX, &perMetreY, &unit) || unit != PNG_RESOLUTION_METER ||
        perMetreX == 0 || perMetreY == 0)
        return std::nullopt;
    return CalibrationForPixelSize(1.0 / perMetreX, 1.0 / perMetreY);
}

// Decodes the open file, whose signature has been read, into the state's
// assembler; false after a library error or for a picture the assembler
// refuses.
bool DecodePng(PngReadState& state, std::FILE* file) {
    if (setjmp(png_jmpbuf(state.png)))
        return false;
    png_init_io(state.png, file);
    png_set_sig_bytes(state.png, kSignatureSize);
    png_set_user_limits(state.png, kMaxDibSide, kMaxDibSide);
    png_read_info(state.png, state.info);
    if (png_get_bit_depth(state.png, state.info) == 16 &&
        std::endian::native == std::endian::little)
        png_set_swap(state.png);
    const int passes = png_set_interlace_handling(state.png);
    png_read_update_info(state.png, state.info);
    if (!state.assembler.Begin(LayoutOf(state.png, state.info)))
        return false;

    const size_t rowBytes = png_get_rowbytes(state.png, state.info);
    const auto height = static_cast<int32_t>(png_get_image_height(state.png, state.info));
    if (rowBytes != state.assembler.rowBytes())
        return false;
    if (passes == 1) {
        state.rows.resize(rowBytes);
        for (int32_t y = 0; y < height; ++y) {
            png_read_row(state.png, state.rows.data(), nullptr);
            state.assembler.AddRow(y, state.rows.data());
        }
    } else {
        // Every pass adds pixels to every row: the whole picture is kept.
        state.rows.resize(rowBytes * static_cast<size_t>(height));
        state.rowPointers.resize(static_cast<size_t>(height));
        for (int32_t y = 0; y < height; ++y)
            state.rowPointers[static_cast<size_t>(y)] = state.rows.data() + rowBytes * y;
        png_read_image(state.png, state.rowPointers.data());
        for (int32_t y = 0; y < height; ++y)
            state.assembler.AddRow(y, state.rowPointers[static_cast<size_t>(y)]);
    }
    // Text chunks may also follow the rows; they join the same info.
    png_read_end(state.png, state.info);
    return true;
}

// The sample depth in the header of the open file; 8 when it cannot be read.
int HeaderBitDepth(png_structp png, png_infop info, std::FILE* file) {
    if (setjmp(png_jmpbuf(png)))
        return 8;
    png_init_io(png, file);
    png_read_info(png, info);
    return png_get_bit_depth(png, info);
}

struct PngWriteState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<uint8_t> row;
    std::string calibrationText;

    ~PngWriteState() { png_destroy_write_struct(&png, &info); }
};

// Sets the pHYs chunk and the text of `record` to be written with the header.
// A pixel size too small or too large for a pHYs count is kept in the text only.
void SetCalibrationChunks(PngWriteState& state, const CalibrationRecord& record) {
    const double metres = RulerUnitInMetres(record.unit);
    const double perMetreX = std::round(record.pixelWidth / (record.realX * metres));
    const double perMetreY = std::round(record.pixelHeight / (record.realY * metres));
    if (perMetreX >= 1.0 && perMetreY >= 1.0 && perMetreX <= kLargestPhysCount &&
        perMetreY <= kLargestPhysCount)
        png_set_pHYs(state.png, state.info, static_cast<png_uint_32>(perMetreX),
                     static_cast<png_uint_32>(perMetreY), PNG_RESOLUTION_METER);
    state.calibrationText = CalibrationRecordText(record);
    png_text text{};
    text.compression = PNG_TEXT_COMPRESSION_NONE;
    text.key = const_cast<char*>(kCalibrationKeyword);
    text.text = state.calibrationText.data();
    text.text_length = state.calibrationText.size();
    png_set_text(state.png, state.info, &text, 1);
}

// Encodes `image` into the open stream; false after a library error.
bool EncodePng(PngWriteState& state, std::FILE* stream, const CDibImage& image,
               const std::optional<CalibrationRecord>& calibration) {
    if (setjmp(png_jmpbuf(state.png)))
        return false;
    const int32_t width = image.width();
    png_init_io(state.png, stream);
    png_set_IHDR(state.png, state.info, static_cast<png_uint_32>(width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(state.png, kCompressionLevel);
    if (calibration)
        SetCalibrationChunks(state, *calibration);
    png_write_info(state.png, state.info);
    uint8_t* row = state.row.data();
    for (int32_t y = 0; y < image.height; ++y) {
        const uint8_t* source = image.row(y);
        for (int32_t x = 0; x < width; ++x, source += 3) {
            row[3 * x] = source[2];
            row[3 * x + 1] = source[1];
            row[3 * x + 2] = source[0];
        }
        png_write_row(state.png, row);
    }
    png_write_end(state.png, nullptr);
    return true;
}

} // namespace

namespace {

bool HasPngSignature(std::FILE* file) {
    png_byte signature[kSignatureSize];
    return std::fread(signature, 1, kSignatureSize, file) == kSignatureSize &&
           png_sig_cmp(signature, 0, kSignatureSize) == 0;
}

// Reads the picture of an open PNG file; empty with `failure` saying why.
PictureFromFile ReadPng(std::FILE* file, ReadFailure& failure) {
    failure = {ReadProblem::NotAPicture, "PNG"};
    if (!HasPngSignature(file))
        return {};
    PngReadState state;
    state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state.libraryError,
                                       KeepMessageAndRecover, IgnoreWarning);
    state.info = state.png ? png_create_info_struct(state.png) : nullptr;
    failure = {ReadProblem::OutOfMemory, {}};
    try {
        if (state.info && DecodePng(state, file)) {
            PictureFromFile picture = state.assembler.Finish();
            picture.calibration = CalibrationOf(state.png, state.info);
            return picture;
        }
    } catch (const std::bad_alloc&) {
        // The rows of an interlaced picture did not fit in memory.
        return {};
    }
    if (!state.libraryError.empty())
        failure = PngReadFailure(state.libraryError);
    else if (state.assembler.refusal())
        failure = *state.assembler.refusal();
    else if (state.info)
        failure = {ReadProblem::Damaged, "rows of another length than the header says"};
    return {};
}

} // namespace

PictureFromFile CPngFile::ReadPicture(const std::string& path) {
    if (const std::optional<ReadFailure> unopenable = UnopenableFile(path)) {
        ReportReadFailure(path, *unopenable);
        return {};
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        ReportReadFailure(path, OpenFailureOf(errno));
        return {};
    }
    PictureFromFile result;
    ReadFailure failure;
    {
        WaitCursor wait;
        result = ReadPng(file.get(), failure);
    }
    if (!result.picture)
        ReportReadFailure(path, failure);
    return result;
}

PictureFileContents CPngFile::Inspect(const std::string& path) {
    PictureFileContents contents;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return contents;
    PngReadState state;
    state.png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, ReturnToRecovery, IgnoreWarning);
    state.info = state.png ? png_create_info_struct(state.png) : nullptr;
    if (state.info)
        contents.bitsPerSample = HeaderBitDepth(state.png, state.info, file.get());
    return contents;
}

bool CPngFile::Write(const std::string& path, const CDibImage& image,
                     const std::optional<CalibrationRecord>& calibration) {
    if (image.empty() || image.bitCount() != 24)
        return false;
    return WriteFileWhole(path, [&image, &calibration](AtomicFileWriter& file) {
        PngWriteState state;
        state.row.resize(3 * static_cast<size_t>(image.width()));
        state.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, ReturnToRecovery,
                                            IgnoreWarning);
        state.info = state.png ? png_create_info_struct(state.png) : nullptr;
        return state.info && EncodePng(state, file.stream(), image, calibration);
    });
}

} // namespace halvera
