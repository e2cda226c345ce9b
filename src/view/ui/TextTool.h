#pragma once

#include "document/TextSettings.h"
#include "view/ui/AnnotationTool.h"

namespace halvera {

// Places text: the first click opens "Add text" with the text's top-left
// corner there; afterwards a press or a drag moves the text so that the
// pointer sits at its horizontal centre and 3/5 of its height, and a
// double-click opens the dialog again. The text is drawn without regard to
// the selection and opens no undo step of its own.
class CTextTool : public CAnnotationTool {
public:
    explicit CTextTool(CMavView& view);

    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnLButtonDblClk(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;

    bool placed() const { return placed_; }
    const TextSettings& text() const { return text_; }

private:
    bool editText(CMavView& view);
    void moveTo(CMavView& view, int x, int y);

    TextSettings text_;
    bool placed_ = false;
};

} // namespace halvera
