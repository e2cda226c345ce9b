#pragma once

#include "view/ui/AnnotationTool.h"

namespace halvera {

// Places the arrow sign: a click puts the arrow's tip there; the left and
// right arrow keys turn it by an eighth of a turn, up and down change its size
// (8..100). Every placement first puts back the image as it was when the tool
// started, so only the last arrow stays; each is one undo step. The size and
// angle are the application's: taken at creation, given back at the end.
class CArrowSignTool : public CAnnotationTool {
public:
    explicit CArrowSignTool(AppSettings& settings);
    ~CArrowSignTool() override;

    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void OnKeyDown(CMavView& view, int key, int repeatCount, int keyFlags) override;

    int size() const { return size_; }
    double angle() const { return angle_; }

private:
    void place(CMavView& view);

    AppSettings& settings_;
    int size_;
    double angle_;
    bool placed_ = false;
    PixelPoint tip_;
    ColourRef colour_ = 0;
};

} // namespace halvera
