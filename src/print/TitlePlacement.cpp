#include "print/TitlePlacement.h"

namespace halvera {

LayoutRect PlaceTitleAbovePicture(PrintLayout& layout, int width, int height) {
    LayoutRect picture = layout.imageRect();
    if (picture.top < height) {
        const int down = height - picture.top;
        picture.top += down;
        picture.bottom += down;
        layout.SetImageRect(picture);
    }
    return {picture.left, picture.top - height, picture.left + width, picture.top};
}

} // namespace halvera
