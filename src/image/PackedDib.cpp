#include "image/PackedDib.h"

#include <new>

namespace halvera {

PackedDib PackedDib::Allocate(size_t size) {
    PackedDib dib;
    dib.data_.reset(new (std::nothrow) uint8_t[size]());
    if (dib.data_)
        dib.size_ = size;
    return dib;
}

PackedDib PackedDib::AllocateForOverwrite(size_t size) {
    PackedDib dib;
    dib.data_.reset(new (std::nothrow) uint8_t[size]);
    if (dib.data_)
        dib.size_ = size;
    return dib;
}

} // namespace halvera
