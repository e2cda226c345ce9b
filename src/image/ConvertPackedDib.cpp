#include "image/ConvertPackedDib.h"

#include <cstring>
#include <string>

namespace halvera {

namespace {

int PaletteEntries(int depth) {
    return depth <= 8 ? 1 << depth : 0;
}

// Writes the palette colour of each index of one row; `indexOf(x)` extracts
// the index of column x from the source row.
template <typename IndexOf>
void ConvertIndexedRow(const uint8_t* source, uint8_t* target, int32_t width,
                       const RgbQuad* palette, IndexOf indexOf) {
    for (int32_t x = 0; x < width; ++x, target += 3) {
        const RgbQuad& colour = palette[indexOf(source, x)];
        target[0] = colour.blue;
        target[1] = colour.green;
        target[2] = colour.red;
    }
}

template <typename IndexOf>
void ConvertIndexedRows(const uint8_t* sourceRows, int64_t sourceStride, const RgbQuad* palette,
                        const CDibImage& image, IndexOf indexOf) {
    const int32_t width = image.width();
    const size_t padding = static_cast<size_t>(image.stride - 3 * width);
    // Both are bottom-up: the last source row is the top image row.
    const uint8_t* source = sourceRows + sourceStride * (image.height - 1);
    for (int32_t y = 0; y < image.height; ++y, source -= sourceStride) {
        uint8_t* target = image.row(y);
        ConvertIndexedRow(source, target, width, palette, indexOf);
        std::memset(target + 3 * width, 0, padding);
    }
}

// The name of a BMP compression the program does not read.
std::string CompressionName(const BitmapInfoHeader& header) {
    switch (header.biCompression) {
    case 1:
        return "RLE8 compression";
    case 2:
        return "RLE4 compression";
    case 3:
        return "bit-field pixels";
    case 4:
        return "an embedded JPEG picture";
    case 5:
        return "an embedded PNG picture";
    case 6:
        return "alpha bit-field pixels";
    default:
        return "compression type " + std::to_string(header.biCompression);
    }
}

} // namespace

ReadFailure RefusedHeaderFailure(const BitmapInfoHeader& header) {
    const std::string size =
        std::to_string(header.biWidth) + " x " + std::to_string(header.biHeight) + " pixels";
    if (header.biWidth > kMaxDibSide || header.biHeight > kMaxDibSide ||
        header.biHeight < -kMaxDibSide)
        return {ReadProblem::TooLarge, size};
    if (header.biWidth <= 0 || header.biHeight == 0)
        return {ReadProblem::Damaged, size};
    if (header.biCompression != 0)
        return {ReadProblem::Unsupported, CompressionName(header) + " at " +
                                              std::to_string(header.biBitCount) +
                                              " bits per pixel"};
    if (header.biHeight < 0)
        return {ReadProblem::Unsupported, "rows stored top-down"};
    return {ReadProblem::Unsupported, std::to_string(header.biBitCount) + " bits per pixel"};
}

std::optional<ReadFailure> PackedDibFailure(const PackedDib& dib) {
    if (!dib || dib.size() < sizeof(BitmapInfoHeader))
        return ReadFailure{ReadProblem::Truncated, {}};
    BitmapInfoHeader header;
    std::memcpy(&header, dib.data(), sizeof header);
    const int64_t required = PackedDibRequiredSize(header);
    if (required < 0)
        return RefusedHeaderFailure(header);
    if (dib.size() < static_cast<uint64_t>(required))
        return ReadFailure{ReadProblem::Truncated, {}};
    return std::nullopt;
}

int PackedDibDepth(const BitmapInfoHeader& header) {
    if (header.biWidth <= 0 || header.biWidth > kMaxDibSide)
        return -1;
    if (header.biHeight <= 0 || header.biHeight > kMaxDibSide)
        return -1;
    if (header.biCompression != 0)
        return -1;
    return header.biBitCount;
}

bool IsReadableDibHeader(const BitmapInfoHeader& header) {
    const int depth = PackedDibDepth(header);
    return depth == 1 || depth == 4 || depth == 8 || depth == 24;
}

int64_t PackedDibRequiredSize(const BitmapInfoHeader& header) {
    if (!IsReadableDibHeader(header))
        return -1;
    const int depth = header.biBitCount;
    return kHeaderSize + int64_t{PaletteEntries(depth)} * 4 +
           DibStride(header.biWidth, depth) * header.biHeight;
}

bool ConvertPackedDib(const PackedDib& dib, const CDibImage& image) {
    if (!dib || dib.size() < sizeof(BitmapInfoHeader))
        return false;
    BitmapInfoHeader header;
    std::memcpy(&header, dib.data(), sizeof header);
    const int64_t required = PackedDibRequiredSize(header);
    if (required < 0 || dib.size() < static_cast<uint64_t>(required))
        return false;
    if (image.empty() || image.bitCount() != 24 || image.width() != header.biWidth ||
        image.height != header.biHeight || image.stride != DibStride(header.biWidth, 24))
        return false;

    const int depth = header.biBitCount;
    const auto* palette = reinterpret_cast<const RgbQuad*>(dib.data() + kHeaderSize);
    const uint8_t* rows = dib.data() + kHeaderSize + PaletteEntries(depth) * 4;
    const int64_t stride = DibStride(header.biWidth, depth);
    switch (depth) {
    case 1:
        ConvertIndexedRows(rows, stride, palette, image, [](const uint8_t* row, int32_t x) {
            return (row[x >> 3] >> (7 - (x & 7))) & 1;
        });
        break;
    case 4:
        ConvertIndexedRows(rows, stride, palette, image, [](const uint8_t* row, int32_t x) {
            const uint8_t pair = row[x >> 1];
            return (x & 1) ? pair & 0x0F : pair >> 4;
        });
        break;
    case 8:
        ConvertIndexedRows(rows, stride, palette, image,
                           [](const uint8_t* row, int32_t x) { return row[x]; });
        break;
    default:
        // Same width, same depth: the rows have the same layout, padding included.
        std::memcpy(image.bits, rows, static_cast<size_t>(image.bitsSize));
        break;
    }
    return true;
}

} // namespace halvera
