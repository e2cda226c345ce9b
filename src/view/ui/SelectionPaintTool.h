#pragma once

#include "view/ui/Cursors.h"
#include "view/ui/MouseTool.h"

#include <cstdint>

namespace halvera {

// The common part of the tools that draw into the selection mask: Ctrl held
// subtracts from the selection instead of adding to it, and the cursor shows
// which of the two a press would do.
class CSelectionPaintTool : public CMouseTool {
public:
    static constexpr uint8_t kAdd = 255;
    static constexpr uint8_t kSubtract = 0;

    void OnKeyDown(CMavView& view, int key, int repeatCount, int keyFlags) override;
    void OnKeyUp(CMavView& view, int key, int repeatCount, int keyFlags) override;

    uint8_t paintValue() const { return paintValue_; }

protected:
    CSelectionPaintTool(CursorId addCursor, CursorId subtractCursor)
        : addCursor_(addCursor), subtractCursor_(subtractCursor) {}

    // The mask value a mouse message with these key flags paints.
    static uint8_t PaintValueFor(int flags) { return (flags & kMouseControl) ? kSubtract : kAdd; }

    void setPaintValue(CMavView& view, uint8_t value);
    void showCursor(CMavView& view) const;

private:
    CursorId addCursor_;
    CursorId subtractCursor_;
    uint8_t paintValue_ = kAdd;
};

} // namespace halvera
