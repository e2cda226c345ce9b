#include "PackedPictures.h"

#include "image/ConvertPackedDib.h"

#include <gtest/gtest.h>

namespace halvera::testing {

DibBlock Unpacked(const PackedDib& picture) {
    DibBlock image;
    EXPECT_TRUE(picture);
    if (!picture)
        return image;
    EXPECT_TRUE(CreateRgb(image, picture.header()->biWidth, picture.header()->biHeight));
    EXPECT_TRUE(ConvertPackedDib(picture, image.dib()));
    return image;
}

} // namespace halvera::testing
