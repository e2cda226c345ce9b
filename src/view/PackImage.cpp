#include "view/PackImage.h"

#include <cstring>

namespace halvera {

PackedDib PackImage(const CDibImage& image) {
    if (image.empty() || image.blockSize <= 0)
        return {};
    PackedDib picture = PackedDib::Allocate(static_cast<size_t>(image.blockSize));
    if (picture)
        std::memcpy(picture.data(), image.header, picture.size());
    return picture;
}

} // namespace halvera
