#include "acquire/ScanPictureBuilder.h"

#include "image/BitmapInfoHeader.h"

#include <cmath>
#include <cstring>

namespace halvera {

namespace {

constexpr double kMetresPerInch = 0.0254;

// Sample `index` of a row at 1, 8 or 16 bits, as a byte.
template <int Depth> uint8_t Sample(const uint8_t* row, size_t index) {
    if constexpr (Depth == 8) {
        return row[index];
    } else if constexpr (Depth == 16) {
        uint16_t value;
        std::memcpy(&value, row + 2 * index, sizeof value);
        return static_cast<uint8_t>(value >> 8);
    } else {
        return ((row[index >> 3] >> (7 - (index & 7))) & 1) ? 255 : 0;
    }
}

// Calls `copy` with the depth as a compile-time constant, so that the row
// loops are written once and compiled per depth.
template <class Copy> void ForDepth(int depth, Copy copy) {
    if (depth == 8)
        copy(std::integral_constant<int, 8>{});
    else if (depth == 16)
        copy(std::integral_constant<int, 16>{});
    else
        copy(std::integral_constant<int, 1>{});
}

int ChannelOf(ScanFrameKind kind) {
    switch (kind) {
    case ScanFrameKind::Blue:
        return 0;
    case ScanFrameKind::Green:
        return 1;
    case ScanFrameKind::Red:
        return 2;
    default:
        return -1;
    }
}

std::string Number(int64_t value) {
    return std::to_string(value);
}

} // namespace

bool ScanPictureBuilder::checkLayout(const ScanFrameFormat& format, size_t byteCount, int& lines,
                                     std::string& error) const {
    if (format.depth != 1 && format.depth != 8 && format.depth != 16) {
        error = "the scanner sent " + Number(format.depth) + "-bit samples";
        return false;
    }
    const int64_t samples = format.kind == ScanFrameKind::Rgb ? 3 : 1;
    const int64_t needed = (int64_t{format.pixelsPerLine} * samples * format.depth + 7) / 8;
    if (format.pixelsPerLine < 1 || format.bytesPerLine < needed) {
        error = "the scanner announced lines of " + Number(format.pixelsPerLine) + " pixels in " +
                Number(format.bytesPerLine) + " bytes";
        return false;
    }
    const int64_t count = static_cast<int64_t>(byteCount);
    if (format.lines >= 0) {
        if (count != int64_t{format.lines} * format.bytesPerLine) {
            error = "the scanner sent " + Number(count) + " bytes instead of " +
                    Number(format.lines) + " lines of " + Number(format.bytesPerLine);
            return false;
        }
        lines = format.lines;
    } else {
        if (count % format.bytesPerLine != 0) {
            error = "the scanner sent " + Number(count) + " bytes, not whole lines of " +
                    Number(format.bytesPerLine);
            return false;
        }
        lines = static_cast<int>(std::min<int64_t>(count / format.bytesPerLine, kMaxDibSide + 1));
    }
    if (lines < 1) {
        error = "the scanner sent no lines";
        return false;
    }
    if (format.pixelsPerLine > kMaxDibSide || lines > kMaxDibSide) {
        error = "the scan is larger than " + Number(kMaxDibSide) + " pixels on a side";
        return false;
    }
    return true;
}

bool ScanPictureBuilder::startPicture(int width, int height, int bitCount, std::string& error) {
    stride_ = DibStride(width, bitCount);
    rowsOffset_ = kHeaderSize + (bitCount == 8 ? kGreyPaletteSize : 0);
    picture_ = PackedDib::Allocate(rowsOffset_ + static_cast<size_t>(stride_) * height);
    if (!picture_) {
        error = "there is no memory for the scanned picture";
        return false;
    }
    BitmapInfoHeader& header = *picture_.header();
    header = BitmapInfoHeader{};
    header.biWidth = width;
    header.biHeight = height;
    header.biBitCount = static_cast<uint16_t>(bitCount);
    header.biSizeImage = static_cast<uint32_t>(stride_ * height);
    if (bitCount == 8) {
        header.biClrUsed = kGreyPaletteEntries;
        auto* palette = reinterpret_cast<RgbQuad*>(picture_.data() + kHeaderSize);
        for (int i = 0; i < kGreyPaletteEntries; ++i) {
            const auto level = static_cast<uint8_t>(i);
            palette[i] = RgbQuad{level, level, level, 0};
        }
    }
    width_ = width;
    height_ = height;
    return true;
}

bool ScanPictureBuilder::addFrame(const ScanFrameFormat& format, std::span<const uint8_t> bytes,
                                  std::string& error) {
    int lines = 0;
    if (!checkLayout(format, bytes.size(), lines, error))
        return false;
    const int channel = ChannelOf(format.kind);
    if (whole_ || (channel < 0 && channelsSeen_ != 0) ||
        (channel >= 0 && (channelsSeen_ & (1u << channel)))) {
        error = "the scanner sent more frames than one picture holds";
        return false;
    }
    if (channel >= 0 && channelsSeen_ != 0) {
        if (format.pixelsPerLine != width_ || lines != height_) {
            error = "the colour frames of the scan differ in size";
            return false;
        }
    } else if (!startPicture(format.pixelsPerLine, lines,
                             format.kind == ScanFrameKind::Gray ? 8 : 24, error)) {
        return false;
    }
    if (format.kind == ScanFrameKind::Gray) {
        copyGray(format, bytes.data(), lines);
        whole_ = true;
    } else if (format.kind == ScanFrameKind::Rgb) {
        copyRgb(format, bytes.data(), lines);
        whole_ = true;
    } else {
        copyChannel(format, bytes.data(), lines, channel);
        channelsSeen_ |= 1u << channel;
    }
    return true;
}

bool ScanPictureBuilder::complete() const {
    return whole_ || channelsSeen_ == 7u;
}

void ScanPictureBuilder::copyGray(const ScanFrameFormat& format, const uint8_t* bytes, int lines) {
    // In a 1-bit grey frame a set bit is black.
    const uint8_t flip = format.depth == 1 ? 255 : 0;
    uint8_t* rows = picture_.data() + rowsOffset_;
    ForDepth(format.depth, [&](auto depth) {
        for (int line = 0; line < lines; ++line) {
            const uint8_t* source = bytes + static_cast<size_t>(line) * format.bytesPerLine;
            uint8_t* target = rows + (lines - 1 - line) * stride_;
            for (int x = 0; x < width_; ++x)
                target[x] = Sample<decltype(depth)::value>(source, x) ^ flip;
        }
    });
}

void ScanPictureBuilder::copyRgb(const ScanFrameFormat& format, const uint8_t* bytes, int lines) {
    uint8_t* rows = picture_.data() + rowsOffset_;
    ForDepth(format.depth, [&](auto depth) {
        for (int line = 0; line < lines; ++line) {
            const uint8_t* source = bytes + static_cast<size_t>(line) * format.bytesPerLine;
            uint8_t* target = rows + (lines - 1 - line) * stride_;
            for (size_t x = 0; x < static_cast<size_t>(width_); ++x) {
                target[3 * x] = Sample<decltype(depth)::value>(source, 3 * x + 2);
                target[3 * x + 1] = Sample<decltype(depth)::value>(source, 3 * x + 1);
                target[3 * x + 2] = Sample<decltype(depth)::value>(source, 3 * x);
            }
        }
    });
}

void ScanPictureBuilder::copyChannel(const ScanFrameFormat& format, const uint8_t* bytes, int lines,
                                     int channel) {
    uint8_t* rows = picture_.data() + rowsOffset_;
    ForDepth(format.depth, [&](auto depth) {
        for (int line = 0; line < lines; ++line) {
            const uint8_t* source = bytes + static_cast<size_t>(line) * format.bytesPerLine;
            uint8_t* target = rows + (lines - 1 - line) * stride_ + channel;
            for (size_t x = 0; x < static_cast<size_t>(width_); ++x)
                target[3 * x] = Sample<decltype(depth)::value>(source, x);
        }
    });
}

PackedDib ScanPictureBuilder::take(int dotsPerInch) {
    if (!complete())
        return {};
    if (dotsPerInch > 0) {
        const auto perMetre = static_cast<int32_t>(std::lround(dotsPerInch / kMetresPerInch));
        picture_.header()->biXPelsPerMeter = perMetre;
        picture_.header()->biYPelsPerMeter = perMetre;
    }
    PackedDib picture = std::move(picture_);
    *this = ScanPictureBuilder{};
    return picture;
}

} // namespace halvera
