#pragma once

#include "image/BitmapInfoHeader.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace halvera {

// A packed device-independent bitmap: 40-byte header, palette, bottom-up rows,
// with no file header, the same layout as the clipboard's bitmap format.
// This is the currency in which pictures enter documents. One owner holds
// it; it is moved, never copied.
class PackedDib {
public:
    PackedDib() = default;
    PackedDib(PackedDib&&) noexcept = default;
    PackedDib& operator=(PackedDib&&) noexcept = default;
    PackedDib(const PackedDib&) = delete;
    PackedDib& operator=(const PackedDib&) = delete;

    // A zero-filled block of `size` bytes; empty when the memory is not there.
    static PackedDib Allocate(size_t size);
    // A block of `size` bytes left as the allocator gives it, for a caller that
    // writes every byte; empty when the memory is not there.
    static PackedDib AllocateForOverwrite(size_t size);

    explicit operator bool() const { return data_ != nullptr; }
    uint8_t* data() { return data_.get(); }
    const uint8_t* data() const { return data_.get(); }
    size_t size() const { return size_; }

    // The header at the start of the block; the block must hold at least 40 bytes.
    BitmapInfoHeader* header() { return reinterpret_cast<BitmapInfoHeader*>(data_.get()); }
    const BitmapInfoHeader* header() const {
        return reinterpret_cast<const BitmapInfoHeader*>(data_.get());
    }

    void reset() {
        data_.reset();
        size_ = 0;
    }

private:
    std::unique_ptr<uint8_t[]> data_;
    size_t size_ = 0;
};

} // namespace halvera
