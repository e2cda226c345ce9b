#pragma once

#include <QMdiArea>

namespace halvera {

// The area of the image windows. It can keep a strip along its bottom clear,
// so that a panel floating over that strip (the index image panel) hides no
// part of an image window: maximized windows and tiles end above it.
class CImageWindowArea : public QMdiArea {
public:
    using QMdiArea::QMdiArea;

    void setBottomClearance(int height) { setViewportMargins(0, 0, 0, height); }
    int bottomClearance() const { return viewportMargins().bottom(); }
};

} // namespace halvera
