#include "BmpTestFiles.h"

#include <algorithm>
#include <cstring>

namespace halvera::testing {

namespace {

void Append32(Bytes& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void Append16(Bytes& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

} // namespace

Bytes InfoHeaderBytes(uint32_t size, int32_t width, int32_t height, int depth, uint32_t compression,
                      uint32_t colours, const ChannelMasks& masks) {
    BitmapInfoHeader header = PictureHeader(width, height, depth);
    header.biSize = size;
    header.biCompression = compression;
    header.biClrUsed = colours;
    Bytes bytes(std::max<size_t>(size, sizeof header), 0);
    std::memcpy(bytes.data(), &header, sizeof header);
    bytes.resize(size);
    if (size >= 52) {
        const Bytes inHeader = MaskBytes(masks);
        std::copy(inHeader.begin(), inHeader.end(), bytes.begin() + 40);
    }
    return bytes;
}

Bytes CoreHeaderBytes(uint16_t width, uint16_t height, int depth) {
    Bytes bytes;
    Append32(bytes, 12);
    Append16(bytes, width);
    Append16(bytes, height);
    Append16(bytes, 1);
    Append16(bytes, static_cast<uint16_t>(depth));
    return bytes;
}

Bytes MaskBytes(const ChannelMasks& masks, int count) {
    Bytes bytes;
    Append32(bytes, masks.red);
    Append32(bytes, masks.green);
    Append32(bytes, masks.blue);
    if (count == 4)
        Append32(bytes, 0xFF000000);
    return bytes;
}

Bytes PaletteBytes(const std::vector<RgbQuad>& palette, int entrySize) {
    Bytes bytes;
    for (const RgbQuad& entry : palette) {
        bytes.insert(bytes.end(), {entry.blue, entry.green, entry.red});
        if (entrySize == 4)
            bytes.push_back(entry.reserved);
    }
    return bytes;
}

Bytes AssembleBmp(const Bytes& pictureHeader, const Bytes& between, const Bytes& pixels,
                  std::optional<uint32_t> pixelOffset) {
    Bytes file = {'B', 'M'};
    const auto size =
        static_cast<uint32_t>(14 + pictureHeader.size() + between.size() + pixels.size());
    Append32(file, size);
    Append32(file, 0);
    Append32(file, pixelOffset.value_or(
                       static_cast<uint32_t>(14 + pictureHeader.size() + between.size())));
    file.insert(file.end(), pictureHeader.begin(), pictureHeader.end());
    file.insert(file.end(), between.begin(), between.end());
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

Bytes PixelRows(int depth, int width, const std::vector<uint32_t>& values) {
    Bytes rows;
    for (size_t i = 0; i < values.size(); ++i) {
        if (depth == 16)
            Append16(rows, static_cast<uint16_t>(values[i]));
        else
            Append32(rows, values[i]);
        if ((i + 1) % static_cast<size_t>(width) == 0)
            while (rows.size() % 4 != 0)
                rows.push_back(0);
    }
    return rows;
}

} // namespace halvera::testing
