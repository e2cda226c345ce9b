#include "image/BmpRle.h"

namespace halvera {

namespace {

constexpr uint8_t kEndOfLine = 0;
constexpr uint8_t kEndOfPicture = 1;
constexpr uint8_t kDelta = 2;

// Writes palette indices into rows of 4 or 8 bits per pixel at the decoder's
// position; the caller checks the position before every write.
class RleCanvas {
public:
    RleCanvas(int bitCount, int32_t width, int32_t height, uint8_t* rows, size_t stride)
        : fourBit_(bitCount == 4), width_(width),
          storedWidth_(static_cast<int32_t>(stride * 8 / static_cast<size_t>(bitCount))),
          height_(height), rows_(rows), stride_(stride) {}

    // Whether `count` more pixels fit in the current row, padding included.
    bool fits(int count) const { return y_ < height_ && x_ + count <= storedWidth_; }

    // Pixels in the row's padding are dropped.
    void put(uint8_t index) {
        if (x_ >= width_) {
            ++x_;
            return;
        }
        uint8_t* row = rows_ + stride_ * static_cast<size_t>(y_);
        if (fourBit_) {
            uint8_t& pair = row[x_ >> 1];
            pair = (x_ & 1) ? static_cast<uint8_t>((pair & 0xF0) | index)
                            : static_cast<uint8_t>((pair & 0x0F) | index << 4);
        } else {
            row[x_] = index;
        }
        ++x_;
    }

    void endLine() {
        x_ = 0;
        ++y_;
    }

    // Moves right and up; false when the new position leaves the picture.
    bool move(int right, int up) {
        x_ += right;
        y_ += up;
        return x_ <= width_ && y_ < height_;
    }

private:
    bool fourBit_;
    int32_t width_;
    int32_t storedWidth_; // pixels a row of `stride_` bytes holds
    int32_t height_;
    uint8_t* rows_;
    size_t stride_;
    int32_t x_ = 0;
    int32_t y_ = 0; // 0 is the bottom row
};

} // namespace

bool DecodeBmpRle(const uint8_t* data, size_t size, int bitCount, int32_t width, int32_t height,
                  uint8_t* rows, size_t stride) {
    if (bitCount != 4 && bitCount != 8)
        return false;
    RleCanvas canvas(bitCount, width, height, rows, stride);
    const bool fourBit = bitCount == 4;
    size_t at = 0;
    while (at + 2 <= size) {
        const int count = data[at];
        const uint8_t value = data[at + 1];
        at += 2;
        if (count > 0) {
            // A run: one index (8-bit) or two alternating indices (4-bit).
            if (!canvas.fits(count))
                return false;
            for (int i = 0; i < count; ++i)
                canvas.put(fourBit ? ((i & 1) ? value & 0x0F : value >> 4) : value);
            continue;
        }
        switch (value) {
        case kEndOfLine:
            canvas.endLine();
            break;
        case kEndOfPicture:
            return true;
        case kDelta:
            if (at + 2 > size || !canvas.move(data[at], data[at + 1]))
                return false;
            at += 2;
            break;
        default: {
            // A literal stretch of `value` indices, padded to a whole number of
            // 16-bit words.
            const int literal = value;
            const size_t bytes = fourBit ? (static_cast<size_t>(literal) + 1) / 2 : literal;
            const size_t padded = (bytes + 1) & ~size_t{1};
            if (at + padded > size || !canvas.fits(literal))
                return false;
            const uint8_t* source = data + at;
            for (int i = 0; i < literal; ++i)
                canvas.put(fourBit ? ((i & 1) ? source[i >> 1] & 0x0F : source[i >> 1] >> 4)
                                   : source[i]);
            at += padded;
            break;
        }
        }
    }
    // The data ended without its end-of-picture code: the file is cut short.
    return false;
}

} // namespace halvera
