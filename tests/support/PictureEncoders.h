#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace halvera::testing {

// Pictures written with libpng and libtiff directly, so the readers are
// checked against the libraries' own encoders rather than against files of
// our writers.

enum class TestColours { Grey, GreyAlpha, Palette, Rgb, Rgba };

struct TestPicture {
    int width = 0;
    int height = 0;
    TestColours colours = TestColours::Grey;
    int bits = 8; // 1, 2, 4, 8 or 16
    // Every sample, top row first, pixel by pixel, one value per sample
    // (channels() of them per pixel), whatever `bits` is.
    std::vector<uint16_t> samples;
    std::vector<std::array<uint8_t, 3>> palette; // red, green, blue

    int channels() const;
    uint16_t sample(int x, int y, int channel = 0) const {
        return samples[(static_cast<size_t>(y) * static_cast<size_t>(width) +
                        static_cast<size_t>(x)) *
                           static_cast<size_t>(channels()) +
                       static_cast<size_t>(channel)];
    }
};

// A picture whose samples follow a fixed pattern within 0..2^bits - 1 (for
// 16 bits: a range well inside 0..65535), and for palette pictures a
// palette of 2^bits distinct colours.
TestPicture PatternPicture(int width, int height, TestColours colours, int bits);

bool WritePngFile(const std::string& path, const TestPicture& picture, bool interlaced = false);

struct TiffOptions {
    bool minIsWhite = false; // grey pictures only
    bool tiled = false;      // 16 x 16 tiles instead of strips
    bool deflate = false;
    bool eightBitColourMap = false; // colour map values 0..255 instead of 0..65535
    int pages = 1;                  // the picture written this many times, one page each
};
bool WriteTiffFile(const std::string& path, const TestPicture& picture,
                   const TiffOptions& options = {});

} // namespace halvera::testing
