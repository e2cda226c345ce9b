#include "image/BmpDecoder.h"

#include "image/BmpBitFields.h"
#include "image/BmpRle.h"

#include <algorithm>
#include <cstring>

namespace halvera {

namespace {

constexpr uint64_t kFileHeaderSize = 14;

// The header of a converted picture of `depth` bits (1, 4, 8 or 24).
void WriteConvertedHeader(BitmapInfoHeader& target, const BmpHeaders& headers, int depth) {
    target = headers.info;
    target.biSize = kHeaderSize;
    target.biHeight = headers.height;
    target.biBitCount = static_cast<uint16_t>(depth);
    target.biCompression = 0;
    target.biSizeImage = 0;
    target.biClrUsed = 0;
    target.biClrImportant = 0;
}

// Copies `entries` palette entries into the DIB's palette (blue, green, red,
// reserved). OS/2 1.x entries have no reserved byte; it stays 0.
void CopyPalette(const uint8_t* source, uint32_t entries, uint32_t entrySize, uint8_t* target) {
    if (entrySize == 4) {
        std::memcpy(target, source, size_t{entries} * 4);
        return;
    }
    for (uint32_t i = 0; i < entries; ++i, source += 3, target += 4)
        std::memcpy(target, source, 3);
}

// Uncompressed rows of the DIB's own depth and stride; a top-down file's
// first row is the top image row, so the order is reversed.
void CopyRows(const uint8_t* pixels, const BmpHeaders& headers, size_t stride, uint8_t* rows) {
    const int32_t height = headers.height;
    if (!headers.topDown) {
        std::memcpy(rows, pixels, stride * static_cast<size_t>(height));
        return;
    }
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(rows + stride * static_cast<size_t>(height - 1 - y),
                    pixels + stride * static_cast<size_t>(y), stride);
}

// 16- or 32-bit rows into 24-bit rows of `stride` bytes, bottom row first.
void ConvertBitFieldRows(const uint8_t* pixels, const BmpHeaders& headers, size_t stride,
                         uint8_t* rows) {
    const BitmapInfoHeader& info = headers.info;
    const BitFieldRowConverter converter(headers.masks, info.biBitCount);
    const auto sourceStride = static_cast<size_t>(DibStride(info.biWidth, info.biBitCount));
    const int32_t height = headers.height;
    for (int32_t row = 0; row < height; ++row) {
        const int32_t fileRow = headers.topDown ? height - 1 - row : row;
        converter.convertRow(pixels + sourceStride * static_cast<size_t>(fileRow),
                             rows + stride * static_cast<size_t>(row), info.biWidth);
    }
}

} // namespace

BmpReading ReadBmpBytes(const uint8_t* file, size_t size) {
    const BmpHeadersVerdict verdict = ParseBmpHeaders(file, size, size);
    if (!verdict.headers)
        return {PackedDib{}, verdict.unsupported ? verdict.unsupported : ""};
    const BmpHeaders& headers = *verdict.headers;
    const std::optional<BmpLayout> layout = LocateBmpPixels(headers, size);
    if (!layout)
        return {};
    if (!layout->packedDib)
        return {DecodeBmpPixels(headers, *layout, file), {}};
    PackedDib dib = AllocatePackedDibOfFile(headers, size);
    if (dib)
        std::memcpy(dib.data() + kHeaderSize, file + kFileHeaderSize + headers.info.biSize,
                    dib.size() - kHeaderSize);
    return {std::move(dib), {}};
}

PackedDib AllocatePackedDibOfFile(const BmpHeaders& headers, uint64_t fileSize) {
    const uint64_t rest = fileSize - kFileHeaderSize - headers.info.biSize;
    PackedDib dib = PackedDib::AllocateForOverwrite(kHeaderSize + rest);
    if (!dib)
        return {};
    BitmapInfoHeader header = headers.info;
    header.biSize = kHeaderSize;
    std::memcpy(dib.data(), &header, sizeof header);
    return dib;
}

PackedDib DecodeBmpPixels(const BmpHeaders& headers, const BmpLayout& layout, const uint8_t* file) {
    const BitmapInfoHeader& info = headers.info;
    const int depth = info.biBitCount <= 8 ? info.biBitCount : 24;
    const uint32_t fullPalette = depth <= 8 ? uint32_t{1} << depth : 0;
    const auto stride = static_cast<size_t>(DibStride(info.biWidth, depth));
    const size_t rowsStart = kHeaderSize + size_t{fullPalette} * 4;
    // Zero-filled: palette entries the file lacks show black, and pixels that
    // run-length data skips keep index 0.
    PackedDib dib = PackedDib::Allocate(rowsStart + stride * static_cast<size_t>(headers.height));
    if (!dib)
        return {};
    WriteConvertedHeader(*dib.header(), headers, depth);
    CopyPalette(file + headers.paletteStart, std::min(layout.paletteEntries, fullPalette),
                headers.paletteEntrySize, dib.data() + kHeaderSize);

    const uint8_t* pixels = file + layout.pixelStart;
    uint8_t* rows = dib.data() + rowsStart;
    switch (headers.encoding) {
    case BmpEncoding::Rle8:
    case BmpEncoding::Rle4:
        if (!DecodeBmpRle(pixels, layout.pixelBytes, depth, info.biWidth, headers.height, rows,
                          stride))
            return {};
        break;
    case BmpEncoding::BitFields:
        ConvertBitFieldRows(pixels, headers, stride, rows);
        break;
    case BmpEncoding::Plain:
        CopyRows(pixels, headers, stride, rows);
        break;
    }
    return dib;
}

} // namespace halvera
