#pragma once

#include "image/PackedDib.h"

#include <cstdint>
#include <span>
#include <string>

namespace halvera {

// What a frame of scanned data holds: grey samples, red-green-blue triples,
// or one colour of a three-pass scan.
enum class ScanFrameKind { Gray, Rgb, Red, Green, Blue };

// The layout the device announced for one frame. Rows come top first, each
// `bytesPerLine` long (which may be more than the samples need); samples are
// 1, 8 or 16 bits, 16-bit ones in the machine's byte order.
struct ScanFrameFormat {
    ScanFrameKind kind = ScanFrameKind::Gray;
    int pixelsPerLine = 0;
    int lines = 0; // -1 when the device does not know the height in advance
    int bytesPerLine = 0;
    int depth = 8;
};

// Turns the frames of one scan into a packed picture: grey frames into an
// 8-bit picture with a grey palette, colour frames (one RGB frame, or the
// red, green and blue frames of a three-pass scan in any order) into a 24-bit
// picture. Rows are flipped to bottom-up and padded to 4 bytes; 16-bit
// samples keep their high byte; in a 1-bit grey frame a set bit is black, in
// a 1-bit colour frame a set bit is full intensity.
class ScanPictureBuilder {
public:
    // Checks the frame's layout and its byte count (lines x bytes per line, or
    // whole lines when the height was unknown) and takes its samples. False,
    // with the reason in `error`, for a frame that does not fit; the scan has
    // then failed.
    bool addFrame(const ScanFrameFormat& format, std::span<const uint8_t> bytes,
                  std::string& error);

    // A grey or RGB frame, or all three colours, have arrived.
    bool complete() const;

    // The picture, with `dotsPerInch` as its resolution (0: unknown); empty
    // before complete() or when the memory is not there. The builder is then empty.
    PackedDib take(int dotsPerInch);

private:
    bool checkLayout(const ScanFrameFormat& format, size_t byteCount, int& lines,
                     std::string& error) const;
    bool startPicture(int width, int height, int bitCount, std::string& error);
    void copyGray(const ScanFrameFormat& format, const uint8_t* bytes, int lines);
    void copyRgb(const ScanFrameFormat& format, const uint8_t* bytes, int lines);
    void copyChannel(const ScanFrameFormat& format, const uint8_t* bytes, int lines, int channel);

    PackedDib picture_;
    int width_ = 0;
    int height_ = 0;
    int64_t stride_ = 0;
    size_t rowsOffset_ = 0;
    unsigned channelsSeen_ = 0; // bit 0 blue, 1 green, 2 red
    bool whole_ = false;        // a grey or RGB frame arrived
};

} // namespace halvera
