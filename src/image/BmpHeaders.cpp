#include "image/BmpHeaders.h"

#include "image/LittleEndian.h"

#include <algorithm>
#include <cstring>

namespace halvera {

namespace {

constexpr uint32_t kOs2v1HeaderSize = 12;
constexpr uint32_t kOs2v2ShortHeaderSize = 16;
constexpr uint32_t kOs2v2HeaderSize = 64;
constexpr uint32_t kClassicHeaderSize = kHeaderSize;
// BITMAPV2INFOHEADER (52 bytes) and every later header hold the masks themselves.
constexpr uint32_t kMasksInHeaderSize = 52;
constexpr uint32_t kLongestHeaderSize = 124;
constexpr uint32_t kMaskBytes = 12;
constexpr uint32_t kMaskBytesWithAlpha = 16;

constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kJpeg = 4;
constexpr uint32_t kPng = 5;
constexpr uint32_t kAlphaBitFields = 6;
// OS/2 2.x gives 3 and 4 their own meanings.
constexpr uint32_t kOs2Huffman = 3;
constexpr uint32_t kOs2Rle24 = 4;

constexpr const char* kTwoBitText = "2 bits per pixel";
constexpr const char* kSixtyFourBitText = "64 bits per pixel";
constexpr const char* kJpegText = "a JPEG picture inside the BMP file";
constexpr const char* kPngText = "a PNG picture inside the BMP file";
constexpr const char* kHuffmanText = "Huffman compression";
constexpr const char* kRle24Text = "24-bit run-length encoding";
constexpr const char* kWideFieldsText = "colour fields wider than 16 bits";

bool IsOs2v2(uint32_t headerSize) {
    return headerSize == kOs2v2ShortHeaderSize || headerSize == kOs2v2HeaderSize;
}

// The classic fields of the picture header; nullopt for an unknown header
// size or a header the available bytes do not hold.
std::optional<BitmapInfoHeader> ReadPictureHeader(const uint8_t* bytes, size_t available) {
    const uint32_t size = Little32(bytes + kBmpFileHeaderSize);
    BitmapInfoHeader info;
    if (size == kOs2v1HeaderSize) {
        if (available < kBmpFileHeaderSize + size)
            return std::nullopt;
        info.biSize = size;
        info.biWidth = Little16(bytes + 18);
        info.biHeight = Little16(bytes + 20);
        info.biPlanes = Little16(bytes + 22);
        info.biBitCount = Little16(bytes + 24);
        return info;
    }
    const bool known = IsOs2v2(size) || (size >= kClassicHeaderSize && size <= kLongestHeaderSize);
    if (!known || available < kBmpFileHeaderSize + size)
        return std::nullopt;
    // The file's layout is the struct's (little-endian); a 16-byte header
    // fills it up to the depth and leaves the rest 0.
    std::memcpy(&info, bytes + kBmpFileHeaderSize, std::min(size, kClassicHeaderSize));
    return info;
}

// The sentence naming a kind of BMP the program does not read, or null.
const char* UnsupportedKind(const BitmapInfoHeader& info) {
    const bool os2v2 = IsOs2v2(info.biSize);
    if (os2v2 && info.biCompression == kOs2Huffman)
        return kHuffmanText;
    if (os2v2 && info.biCompression == kOs2Rle24)
        return kRle24Text;
    if (info.biCompression == kJpeg)
        return kJpegText;
    if (info.biCompression == kPng)
        return kPngText;
    if (info.biBitCount == 2)
        return kTwoBitText;
    if (info.biBitCount == 64)
        return kSixtyFourBitText;
    return nullptr;
}

// The encoding of a compression and depth the program reads; nullopt for any other pair.
std::optional<BmpEncoding> EncodingOf(const BitmapInfoHeader& info) {
    const int depth = info.biBitCount;
    const bool bitFieldDepth = depth == 16 || depth == 32;
    switch (info.biCompression) {
    case kRgb:
        if (bitFieldDepth)
            return BmpEncoding::BitFields;
        if (depth == 1 || depth == 4 || depth == 8 || depth == 24)
            return BmpEncoding::Plain;
        return std::nullopt;
    case kRle8:
        return depth == 8 ? std::optional(BmpEncoding::Rle8) : std::nullopt;
    case kRle4:
        return depth == 4 ? std::optional(BmpEncoding::Rle4) : std::nullopt;
    case kBitFields:
    case kAlphaBitFields:
        if (IsOs2v2(info.biSize) || !bitFieldDepth)
            return std::nullopt;
        return BmpEncoding::BitFields;
    default:
        return std::nullopt;
    }
}

// Reads the masks of a bit-field file into `headers` (the defaults when the
// file is uncompressed) and returns how many bytes they take after the
// picture header; nullopt when a 41..51-byte header leaves no place for them
// or the available bytes do not hold them.
std::optional<uint32_t> ReadMasks(const uint8_t* bytes, size_t available, BmpHeaders& headers) {
    const BitmapInfoHeader& info = headers.info;
    if (info.biCompression == kRgb) {
        headers.masks = DefaultChannelMasks(info.biBitCount);
        return 0;
    }
    const size_t at = kBmpFileHeaderSize + kClassicHeaderSize;
    uint32_t bytesAfterHeader = 0;
    if (info.biSize == kClassicHeaderSize)
        bytesAfterHeader = info.biCompression == kAlphaBitFields ? kMaskBytesWithAlpha : kMaskBytes;
    else if (info.biSize < kMasksInHeaderSize)
        return std::nullopt;
    if (available < at + kMaskBytes)
        return std::nullopt;
    headers.masks = {Little32(bytes + at), Little32(bytes + at + 4), Little32(bytes + at + 8)};
    return bytesAfterHeader;
}

bool SizesReadable(const BitmapInfoHeader& info, BmpEncoding encoding) {
    if (info.biWidth <= 0 || info.biWidth > kMaxDibSide)
        return false;
    if (info.biHeight == 0 || info.biHeight > kMaxDibSide || info.biHeight < -kMaxDibSide)
        return false;
    // Run-length data is laid out from the bottom row up; top-down RLE files
    // are not valid BMP files.
    const bool runLength = encoding == BmpEncoding::Rle8 || encoding == BmpEncoding::Rle4;
    return info.biHeight > 0 || !runLength;
}

} // namespace

BmpHeadersVerdict ParseBmpHeaders(const uint8_t* bytes, size_t available, uint64_t fileSize) {
    if (available < kBmpFileHeaderSize + 4 || Little16(bytes) != kBmpSignature ||
        Little16(bytes + 6) != 0 || Little16(bytes + 8) != 0)
        return {};
    const std::optional<BitmapInfoHeader> info = ReadPictureHeader(bytes, available);
    if (!info)
        return {};
    // A kind the program does not read is named even when the rest of the
    // file is damaged too: that is the more useful message.
    if (const char* reason = UnsupportedKind(*info))
        return {std::nullopt, reason};
    const std::optional<BmpEncoding> encoding = EncodingOf(*info);
    if (!encoding)
        return {};

    BmpHeaders headers;
    headers.info = *info;
    headers.pixelOffset = Little32(bytes + 10);
    headers.paletteStart = kBmpFileHeaderSize + info->biSize;
    headers.paletteEntrySize = info->biSize == kOs2v1HeaderSize ? 3 : 4;
    headers.encoding = *encoding;
    if (*encoding == BmpEncoding::BitFields) {
        const std::optional<uint32_t> maskBytes = ReadMasks(bytes, available, headers);
        if (!maskBytes)
            return {};
        const MaskVerdict verdict = JudgeChannelMasks(headers.masks, info->biBitCount);
        if (verdict == MaskVerdict::TooWide)
            return {std::nullopt, kWideFieldsText};
        if (verdict != MaskVerdict::Usable)
            return {};
        headers.paletteStart += *maskBytes;
    }
    if (!SizesReadable(*info, *encoding) || Little32(bytes + 2) != fileSize)
        return {};
    headers.topDown = info->biHeight < 0;
    headers.height = headers.topDown ? -info->biHeight : info->biHeight;
    return {headers};
}

} // namespace halvera
