#include "MaskArt.h"

#include "SyntheticImages.h"

#include <stdexcept>

namespace halvera::testing {

DibBlock MaskFromArt(std::initializer_list<std::string_view> rows) {
    const auto height = static_cast<int>(rows.size());
    const auto width = static_cast<int>(rows.begin()->size());
    DibBlock mask = BlankMask(width, height);
    int y = 0;
    for (std::string_view row : rows) {
        if (static_cast<int>(row.size()) != width)
            throw std::invalid_argument("mask art rows differ in length");
        for (int x = 0; x < width; ++x)
            SetByte(mask.dib(), x, y, row[static_cast<size_t>(x)] == '#' ? 255 : 0);
        ++y;
    }
    return mask;
}

DibBlock BlankMask(int width, int height) {
    DibBlock mask;
    if (!CreateGrey(mask, width, height))
        throw std::runtime_error("test mask could not be created");
    return mask;
}

std::string MaskArt(const CDibImage& mask) {
    std::string art;
    for (int y = 0; y < mask.height; ++y) {
        if (y > 0)
            art += '\n';
        for (int x = 0; x < mask.width(); ++x) {
            const uint8_t b = ByteAt(mask, x, y);
            art += b == 255 ? '#' : b == 0 ? '.' : '?';
        }
    }
    return art;
}

std::string Art(std::initializer_list<std::string_view> rows) {
    std::string art;
    bool first = true;
    for (std::string_view row : rows) {
        if (!first)
            art += '\n';
        art += row;
        first = false;
    }
    return art;
}

} // namespace halvera::testing
