#pragma once

#include "image/BitmapInfoHeader.h"
#include "image/CalibrationRecord.h"
#include "image/PackedDib.h"
#include "image/ReadFailure.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace halvera {

// A picture read from a file, with the remark the reader makes about it for
// the status bar (empty: none), such as how a 16-bit picture was shown, and
// the calibration its physical pixel size stands for (PictureCalibration.h),
// when the file gives one.
struct PictureFromFile {
    PackedDib picture;
    std::string note;
    std::optional<CalibrationRecord> calibration;
};

// How the samples of a decoded picture are to be read.
enum class SampleColours {
    Grey,         // one sample, 0 is black
    InvertedGrey, // one sample, 0 is white
    Palette,      // one sample, an index into the palette
    Rgb,          // red, green, blue
};

struct SampleLayout {
    int32_t width = 0;
    int32_t height = 0;
    SampleColours colours = SampleColours::Grey;
    // 1, 2, 4, 8 or 16; palette pictures up to 8. Below 8 bits a pixel has one
    // sample and rows pack pixels from the most significant bit on.
    int bitsPerSample = 8;
    // Every sample of a pixel, including extra ones (alpha), which are dropped.
    int samplesPerPixel = 1;
    // Palette pictures: up to 2^bitsPerSample colours; an index beyond them shows black.
    std::vector<RgbQuad> palette;
};

// Builds the packed DIB of a picture that a file library decodes row by row
// (PNG, TIFF), so every reader converts samples the same way:
//
// - grey and palette pictures of up to 8 bits become 8-bit DIBs whose palette
//   holds the grey levels (value v of b bits shows round(v * 255 / (2^b - 1)))
//   or the file's colours, the rows keeping the file's values as indices;
// - 8-bit RGB becomes a 24-bit DIB;
// - 16-bit grey and RGB are collected whole, then stretched linearly from
//   their smallest to their largest sample (over all channels, so colours keep
//   their balance) onto 0..255 with rounding; a picture of one level uses
//   0..65535 instead. The note says which range was used.
class PictureAssembler {
public:
    // False, with nothing allocated, when the layout is not one the program
    // reads (sizes beyond 1..30000 included) or the memory is not there;
    // refusal() then says which.
    bool Begin(const SampleLayout& layout);
    const std::optional<ReadFailure>& refusal() const { return refusal_; }

    // Bytes of one decoded row as the file library delivers it: the samples of
    // `width` pixels, rounded up to whole bytes; 16-bit samples in the
    // machine's byte order.
    size_t rowBytes() const { return rowBytes_; }

    // Takes decoded row `y` (0 = top) of rowBytes() bytes. Each row is given
    // once, in any order.
    void AddRow(int32_t y, const uint8_t* samples);

    // The picture and its note; the assembler is empty afterwards.
    PictureFromFile Finish();

private:
    void AddIndexRow(uint8_t* target, const uint8_t* samples) const;
    void AddColourRow(uint8_t* target, const uint8_t* samples) const;
    void AddWideRow(int32_t y, const uint8_t* samples);
    std::string StretchWideSamples();

    SampleLayout layout_;
    int channels_ = 0; // 1 or 3
    size_t rowBytes_ = 0;
    PackedDib dib_;
    uint8_t* rows_ = nullptr;
    size_t stride_ = 0;
    // 16-bit pictures: the kept samples, top row first, and their range.
    std::unique_ptr<uint16_t[]> wide_;
    uint16_t lowest_ = UINT16_MAX;
    uint16_t highest_ = 0;
    std::optional<ReadFailure> refusal_;
};

} // namespace halvera
