#include "image/JpegFile.h"

#include "image/AtomicFileWriter.h"
#include "image/ReadFailure.h"
#include "platform/UserPrompts.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

// libjpeg's headers need <cstdio> first, and jerror.h's macros jpeglib.h's types.
#include <jpeglib.h>
// (kept in this order)
#include <jerror.h>

namespace halvera {

namespace {

constexpr const char* kLibraryErrorCaption = "File read error!";

// libjpeg's error manager with the point to return to after a library error.
// libjpeg's longjmp only ever crosses C frames: every function that calls
// setjmp below keeps its objects with destructors in its caller.
struct JpegErrorManager {
    jpeg_error_mgr library; // first, so the library's pointer is ours too
    std::jmp_buf recovery;
    // Whether running out of file may leave the picture whole: true while the
    // rows of a single-scan Huffman-coded picture are decoded, where the
    // entropy decoder reports data it lacks by itself (the file may merely
    // miss its end marker), and once every row is decoded.
    bool endOfFileMayBeHarmless;
    // The library's failure: its message code (0 for none) and text.
    int failedCode;
    char failedText[JMSG_LENGTH_MAX];
};

JpegErrorManager& ErrorsOf(j_common_ptr info) {
    return *reinterpret_cast<JpegErrorManager*>(info->err);
}

// Keeps the library's message for the caller to report and returns to the
// calling routine's recovery point.
[[noreturn]] void JpegErrorExit(j_common_ptr info) {
    JpegErrorManager& errors = ErrorsOf(info);
    errors.failedCode = info->err->msg_code;
    (*info->err->format_message)(info, errors.failedText);
    std::longjmp(errors.recovery, 1);
}

// Why the library gave up reading, in the words of the program's message.
ReadFailure JpegReadFailure(const JpegErrorManager& errors) {
    switch (errors.failedCode) {
    case JERR_NO_SOI:
    case JERR_INPUT_EMPTY:
        return {ReadProblem::NotAPicture, "JPEG"};
    case JERR_INPUT_EOF:
    case JWRN_JPEG_EOF:
        return {ReadProblem::Truncated, {}};
    case JERR_IMAGE_TOO_BIG:
        return {ReadProblem::TooLarge, {}};
    case JERR_OUT_OF_MEMORY:
        return {ReadProblem::OutOfMemory, {}};
    case JERR_CONVERSION_NOTIMPL:
    case JERR_NOT_COMPILED:
    case JERR_ARITH_NOTIMPL:
        return {ReadProblem::Unsupported, errors.failedText};
    default:
        return {ReadProblem::Damaged, errors.failedText};
    }
}

// Trace messages and most warnings are dropped. A file that ends before its
// rows do makes libjpeg fill the rest with grey and only warn; such a picture
// would be measured as if it were whole, so those warnings are errors here.
void JpegEmitMessage(j_common_ptr info, int level) {
    if (level >= 0)
        return;
    const int code = info->err->msg_code;
    if (code == JWRN_HIT_MARKER ||
        (code == JWRN_JPEG_EOF && !ErrorsOf(info).endOfFileMayBeHarmless))
        (*info->err->error_exit)(info);
    ++info->err->num_warnings;
}

jpeg_error_mgr* SetUpErrorManager(JpegErrorManager& errors) {
    jpeg_error_mgr* manager = jpeg_std_error(&errors.library);
    manager->error_exit = JpegErrorExit;
    manager->emit_message = JpegEmitMessage;
    errors.endOfFileMayBeHarmless = false;
    errors.failedCode = 0;
    errors.failedText[0] = '\0';
    return manager;
}

void ShowCannotOpen(const std::string& path) {
    ShowMessage("Cannot open file:" + path + "\n");
}

// round(a * b / 255) for a, b in 0..255.
inline uint8_t MultiplyLevels(unsigned a, unsigned b) {
    const unsigned product = a * b + 128;
    return static_cast<uint8_t>((product + (product >> 8)) >> 8);
}

// One decoded row into blue, green, red. `components` is 1 (grey), 3 (red,
// green, blue) or 4 (cyan, magenta, yellow, black; Adobe files store them
// inverted, so 255 means no ink).
void ConvertDecodedRow(const JSAMPLE* source, uint8_t* target, JDIMENSION width, int components,
                       bool invertedInk) {
    switch (components) {
    case 1:
        for (JDIMENSION x = 0; x < width; ++x, target += 3)
            target[0] = target[1] = target[2] = source[x];
        break;
    case 3:
        for (JDIMENSION x = 0; x < width; ++x, source += 3, target += 3) {
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
        }
        break;
    default: {
        const unsigned flip = invertedInk ? 0 : 255; // to "255 = no ink"
        for (JDIMENSION x = 0; x < width; ++x, source += 4, target += 3) {
            const unsigned white = source[3] ^ flip;
            target[0] = MultiplyLevels(source[2] ^ flip, white);
            target[1] = MultiplyLevels(source[1] ^ flip, white);
            target[2] = MultiplyLevels(source[0] ^ flip, white);
        }
        break;
    }
    }
}

constexpr int kRowsPerCall = 16; // the most rows one call hands out (2 x 8 for h2v2 pictures)

// The start of each of the rows from the top `first` on of the bottom-up
// rows, for the library to decode several rows per call straight into them.
int RowPointers(uint8_t* rows, size_t stride, JDIMENSION height, JDIMENSION first,
                std::array<JSAMPROW, kRowsPerCall>& pointers) {
    const int count = static_cast<int>(std::min<JDIMENSION>(kRowsPerCall, height - first));
    for (int k = 0; k < count; ++k)
        pointers[k] = rows + stride * (height - 1 - (first + k));
    return count;
}

// Grey, YCbCr and RGB pictures are decoded by the library straight into blue,
// green, red rows; four-component ones row by row through ConvertDecodedRow.
bool DecodesToBgr(const jpeg_decompress_struct& decoder) {
    return decoder.jpeg_color_space == JCS_GRAYSCALE || decoder.jpeg_color_space == JCS_YCbCr ||
           decoder.jpeg_color_space == JCS_RGB;
}

void ReadRowsAsBgr(jpeg_decompress_struct& decoder, uint8_t* rows, size_t stride) {
    std::array<JSAMPROW, kRowsPerCall> pointers{};
    while (decoder.output_scanline < decoder.output_height) {
        const int count =
            RowPointers(rows, stride, decoder.output_height, decoder.output_scanline, pointers);
        jpeg_read_scanlines(&decoder, pointers.data(), static_cast<JDIMENSION>(count));
    }
}

void ReadRowsConverted(jpeg_decompress_struct& decoder, uint8_t* rows, size_t stride) {
    const JDIMENSION width = decoder.output_width;
    const int components = decoder.output_components;
    JSAMPARRAY row = (*decoder.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&decoder),
                                                  JPOOL_IMAGE, width * components, 1);
    const bool invertedInk = decoder.saw_Adobe_marker;
    while (decoder.output_scanline < decoder.output_height) {
        jpeg_read_scanlines(&decoder, row, 1);
        const JDIMENSION fromTop = decoder.output_scanline - 1;
        ConvertDecodedRow(row[0], rows + stride * (decoder.output_height - 1 - fromTop), width,
                          components, invertedInk);
    }
}

// Decodes `file` straight into the bottom-up padded rows of `result`. False
// after a message; `decoder` is left for the caller to destroy.
bool DecodeInto(std::FILE* file, jpeg_decompress_struct& decoder, JpegErrorManager& errors,
                PackedDib& result) {
    if (setjmp(errors.recovery))
        return false;
    jpeg_create_decompress(&decoder);
    jpeg_stdio_src(&decoder, file);
    jpeg_read_header(&decoder, TRUE);
    // Larger pictures cannot become documents; refusing them here spares
    // decoding gigabytes for nothing.
    if (decoder.image_width > kMaxDibSide || decoder.image_height > kMaxDibSide)
        ERREXIT1(&decoder, JERR_IMAGE_TOO_BIG, kMaxDibSide);
    const bool direct = DecodesToBgr(decoder);
    if (direct)
        decoder.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&decoder);
    const int components = decoder.output_components;
    if (components != 1 && components != 3 && components != 4)
        ERREXIT(&decoder, JERR_CONVERSION_NOTIMPL);

    const JDIMENSION width = decoder.output_width;
    const JDIMENSION height = decoder.output_height;
    const auto stride = static_cast<size_t>(DibStride(width, 24));
    // Every row is decoded over; only the header and the row padding are set here.
    result = PackedDib::AllocateForOverwrite(kHeaderSize + stride * height);
    if (!result) {
        ShowMessage("Memory error!", MessageIcon::Stop);
        return false;
    }
    BitmapInfoHeader header;
    header.biWidth = static_cast<int32_t>(width);
    header.biHeight = static_cast<int32_t>(height);
    header.biBitCount = 24;
    std::memcpy(result.data(), &header, sizeof header);
    uint8_t* const rows = result.data() + kHeaderSize;
    const size_t rowBytes = size_t{width} * 3;
    for (JDIMENSION y = 0; y < height && rowBytes < stride; ++y)
        std::memset(rows + stride * y + rowBytes, 0, stride - rowBytes);

    // Multi-scan pictures were read whole by jpeg_start_decompress above.
    errors.endOfFileMayBeHarmless = !jpeg_has_multiple_scans(&decoder) && !decoder.arith_code;
    if (direct)
        ReadRowsAsBgr(decoder, rows, stride);
    else
        ReadRowsConverted(decoder, rows, stride);
    errors.endOfFileMayBeHarmless = true;
    jpeg_finish_decompress(&decoder);
    return true;
}

// Encodes the rows of `image` top-down into a new file for `target`. False
// after a message; `encoder` is left for the caller to destroy.
bool EncodeInto(AtomicFileWriter& target, const std::string& path, const CDibImage& image,
                int quality, jpeg_compress_struct& encoder, JpegErrorManager& errors) {
    if (setjmp(errors.recovery))
        return false;
    jpeg_create_compress(&encoder);
    if (!target.Open()) {
        ShowCannotOpen(path);
        return false;
    }
    jpeg_stdio_dest(&encoder, target.stream());
    const auto width = static_cast<JDIMENSION>(image.width());
    encoder.image_width = width;
    encoder.image_height = static_cast<JDIMENSION>(image.height);
    encoder.input_components = 3;
    // The library reads our blue, green, red rows as they are: the same
    // conversion as from red, green, blue, without a reordered copy.
    encoder.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&encoder);
    jpeg_set_quality(&encoder, quality, TRUE);
    jpeg_start_compress(&encoder, TRUE);

    std::array<JSAMPROW, kRowsPerCall> rows{};
    while (encoder.next_scanline < encoder.image_height) {
        const int count = static_cast<int>(
            std::min<JDIMENSION>(kRowsPerCall, encoder.image_height - encoder.next_scanline));
        for (int k = 0; k < count; ++k)
            rows[k] = image.row(static_cast<int32_t>(encoder.next_scanline) + k);
        jpeg_write_scanlines(&encoder, rows.data(), static_cast<JDIMENSION>(count));
    }
    jpeg_finish_compress(&encoder);
    return true;
}

} // namespace

PackedDib CJpegFile::ReadPackedDib(const std::string& path) {
    if (const std::optional<ReadFailure> unopenable = UnopenableFile(path)) {
        ReportReadFailure(path, *unopenable);
        return {};
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        ReportReadFailure(path, OpenFailureOf(errno));
        return {};
    }
    WaitCursor wait;
    jpeg_decompress_struct decoder{};
    JpegErrorManager errors{};
    decoder.err = SetUpErrorManager(errors);
    PackedDib result;
    if (!DecodeInto(file, decoder, errors, result))
        result.reset();
    jpeg_destroy_decompress(&decoder);
    std::fclose(file);
    // A library failure is reported here; a lack of memory for the rows was
    // reported where it happened.
    if (errors.failedCode != 0)
        ReportReadFailure(path, JpegReadFailure(errors));
    return result;
}

bool CJpegFile::Write(const std::string& path, const CDibImage& image, int quality) {
    if (image.empty() || image.bitCount() != 24)
        return false;
    WaitCursor wait;
    AtomicFileWriter target(path);
    jpeg_compress_struct encoder{};
    JpegErrorManager errors{};
    encoder.err = SetUpErrorManager(errors);
    bool written = EncodeInto(target, path, image, quality, encoder, errors);
    written = written && target.Commit();
    jpeg_destroy_compress(&encoder);
    if (errors.failedCode != 0)
        ShowMessage(errors.failedText, MessageIcon::Stop, MessageButtons::Ok, kLibraryErrorCaption);
    if (!written)
        ShowMessage("Cannot save the file!");
    return written;
}

} // namespace halvera
