#include "image/PictureAssembler.h"

#include <cstring>
#include <new>
#include <string>

namespace halvera {

namespace {

constexpr int kIndexedDepth = 8;
constexpr int kColourDepth = 24;

// Why the program does not read a picture of `layout`, or nothing when it does.
std::optional<ReadFailure> LayoutRefusal(const SampleLayout& layout) {
    const std::string size =
        std::to_string(layout.width) + " x " + std::to_string(layout.height) + " pixels";
    if (layout.width > kMaxDibSide || layout.height > kMaxDibSide)
        return ReadFailure{ReadProblem::TooLarge, size};
    if (layout.width < 1 || layout.height < 1)
        return ReadFailure{ReadProblem::Damaged, size};
    const int bits = layout.bitsPerSample;
    const int colourSamples = layout.colours == SampleColours::Rgb ? 3 : 1;
    if (layout.samplesPerPixel < colourSamples)
        return ReadFailure{ReadProblem::Damaged, "fewer samples per pixel than its colours need"};
    const ReadFailure tooManyColours{ReadProblem::Damaged,
                                     "more palette colours than its depth allows"};
    switch (bits) {
    case 1:
    case 2:
    case 4:
        if (layout.samplesPerPixel != 1 || layout.colours == SampleColours::Rgb)
            return ReadFailure{ReadProblem::Unsupported,
                               std::to_string(bits) + "-bit samples, several to a pixel"};
        if (layout.palette.size() > (size_t{1} << bits))
            return tooManyColours;
        return std::nullopt;
    case 8:
        if (layout.palette.size() > 256)
            return tooManyColours;
        return std::nullopt;
    case 16:
        if (layout.colours == SampleColours::Palette)
            return ReadFailure{ReadProblem::Unsupported, "a 16-bit palette"};
        return std::nullopt;
    default:
        return ReadFailure{ReadProblem::Unsupported, std::to_string(bits) + " bits per sample"};
    }
}

// Value `v` of a `bits`-bit grey sample as an 8-bit level, rounded.
uint8_t GreyLevel(unsigned v, int bits) {
    const unsigned top = (1u << bits) - 1;
    return static_cast<uint8_t>((v * 255 + top / 2) / top);
}

} // namespace

bool PictureAssembler::Begin(const SampleLayout& layout) {
    *this = PictureAssembler();
    refusal_ = LayoutRefusal(layout);
    if (refusal_)
        return false;
    refusal_ = ReadFailure{ReadProblem::OutOfMemory, {}};
    layout_ = layout;
    channels_ = layout.colours == SampleColours::Rgb ? 3 : 1;
    rowBytes_ = (static_cast<size_t>(layout.width) * static_cast<size_t>(layout.samplesPerPixel) *
                     static_cast<size_t>(layout.bitsPerSample) +
                 7) /
                8;

    const int depth = channels_ == 3 ? kColourDepth : kIndexedDepth;
    const size_t paletteBytes = depth == kIndexedDepth ? kGreyPaletteSize : 0;
    stride_ = static_cast<size_t>(DibStride(layout.width, depth));
    const auto height = static_cast<size_t>(layout.height);
    dib_ = PackedDib::Allocate(kHeaderSize + paletteBytes + stride_ * height);
    if (!dib_)
        return false;
    if (layout.bitsPerSample == 16) {
        wide_.reset(new (std::nothrow) uint16_t[static_cast<size_t>(layout.width) * height *
                                                static_cast<size_t>(channels_)]);
        if (!wide_) {
            dib_.reset();
            return false;
        }
    }

    BitmapInfoHeader& header = *dib_.header();
    header = BitmapInfoHeader{};
    header.biWidth = layout.width;
    header.biHeight = layout.height;
    header.biBitCount = static_cast<uint16_t>(depth);
    auto* palette = reinterpret_cast<RgbQuad*>(dib_.data() + kHeaderSize);
    if (layout.colours == SampleColours::Palette) {
        std::memcpy(palette, layout.palette.data(), layout.palette.size() * sizeof(RgbQuad));
    } else if (depth == kIndexedDepth) {
        // Below 16 bits the rows keep the file's values; the palette shows
        // them as grey levels. A 16-bit picture's rows hold stretched levels.
        const int bits = layout.bitsPerSample == 16 ? 8 : layout.bitsPerSample;
        const unsigned top = (1u << bits) - 1;
        for (unsigned v = 0; v <= top; ++v) {
            const uint8_t level = GreyLevel(layout.colours == SampleColours::InvertedGrey &&
                                                    layout.bitsPerSample != 16
                                                ? top - v
                                                : v,
                                            bits);
            palette[v] = RgbQuad{level, level, level, 0};
        }
    }
    rows_ = dib_.data() + kHeaderSize + paletteBytes;
    refusal_.reset();
    return true;
}

void PictureAssembler::AddRow(int32_t y, const uint8_t* samples) {
    if (!dib_ || y < 0 || y >= layout_.height)
        return;
    if (layout_.bitsPerSample == 16) {
        AddWideRow(y, samples);
        return;
    }
    // DIB rows are bottom-up.
    uint8_t* target = rows_ + stride_ * static_cast<size_t>(layout_.height - 1 - y);
    if (channels_ == 3)
        AddColourRow(target, samples);
    else
        AddIndexRow(target, samples);
}

void PictureAssembler::AddIndexRow(uint8_t* target, const uint8_t* samples) const {
    const int32_t width = layout_.width;
    const int bits = layout_.bitsPerSample;
    if (bits == 8) {
        const auto step = static_cast<size_t>(layout_.samplesPerPixel);
        for (int32_t x = 0; x < width; ++x, samples += step)
            target[x] = *samples;
        return;
    }
    // 1, 2 or 4 bits: the leftmost pixel in the most significant bits.
    const unsigned mask = (1u << bits) - 1;
    const int perByte = 8 / bits;
    for (int32_t x = 0; x < width; ++x) {
        const int shift = 8 - bits * (x % perByte + 1);
        target[x] = static_cast<uint8_t>((samples[x / perByte] >> shift) & mask);
    }
}

void PictureAssembler::AddColourRow(uint8_t* target, const uint8_t* samples) const {
    const auto step = static_cast<size_t>(layout_.samplesPerPixel);
    for (int32_t x = 0; x < layout_.width; ++x, samples += step, target += 3) {
        target[0] = samples[2];
        target[1] = samples[1];
        target[2] = samples[0];
    }
}

void PictureAssembler::AddWideRow(int32_t y, const uint8_t* samples) {
    const auto width = static_cast<size_t>(layout_.width);
    const auto channels = static_cast<size_t>(channels_);
    const auto step = static_cast<size_t>(layout_.samplesPerPixel);
    const bool inverted = layout_.colours == SampleColours::InvertedGrey;
    uint16_t* target = wide_.get() + width * channels * static_cast<size_t>(y);
    uint16_t lowest = lowest_;
    uint16_t highest = highest_;
    for (size_t x = 0; x < width; ++x, samples += 2 * step) {
        for (size_t c = 0; c < channels; ++c) {
            uint16_t value;
            std::memcpy(&value, samples + 2 * c, sizeof value);
            if (inverted)
                value = static_cast<uint16_t>(UINT16_MAX - value);
            lowest = value < lowest ? value : lowest;
            highest = value > highest ? value : highest;
            *target++ = value;
        }
    }
    lowest_ = lowest;
    highest_ = highest;
}

// Maps the kept 16-bit samples onto 0..255 into the DIB rows and says how.
std::string PictureAssembler::StretchWideSamples() {
    unsigned low = lowest_;
    unsigned high = highest_;
    if (high <= low) {
        low = 0;
        high = UINT16_MAX;
    }
    const unsigned range = high - low;
    std::unique_ptr<uint8_t[]> level(new (std::nothrow) uint8_t[UINT16_MAX + 1]);
    if (!level)
        return {};
    for (unsigned v = 0; v <= UINT16_MAX; ++v) {
        const unsigned clamped = v < low ? low : (v > high ? high : v);
        level[v] = static_cast<uint8_t>(((clamped - low) * 255u + range / 2) / range);
    }

    const auto width = static_cast<size_t>(layout_.width);
    const size_t values = width * static_cast<size_t>(channels_);
    for (int32_t y = 0; y < layout_.height; ++y) {
        const uint16_t* source = wide_.get() + values * static_cast<size_t>(y);
        uint8_t* target = rows_ + stride_ * static_cast<size_t>(layout_.height - 1 - y);
        if (channels_ == 3) {
            for (size_t x = 0; x < width; ++x, source += 3, target += 3) {
                target[0] = level[source[2]];
                target[1] = level[source[1]];
                target[2] = level[source[0]];
            }
        } else {
            for (size_t x = 0; x < width; ++x)
                target[x] = level[source[x]];
        }
    }
    return "16-bit picture shown stretched from " + std::to_string(low) + ".." +
           std::to_string(high);
}

PictureFromFile PictureAssembler::Finish() {
    PictureFromFile result;
    if (dib_ && wide_) {
        result.note = StretchWideSamples();
        if (result.note.empty())
            dib_.reset();
    }
    result.picture = std::move(dib_);
    *this = PictureAssembler();
    return result;
}

} // namespace halvera
