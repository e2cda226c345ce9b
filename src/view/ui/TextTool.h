#pragma once

#include "document/SelectionRecord.h"
#include "document/TextSettings.h"
#include "view/ui/AnnotationTool.h"

namespace halvera {

// Places text: the first click opens "Add text" with the text's top-left
// corner there; afterwards a press or a drag moves the text so that the
// pointer sits at its horizontal centre and 3/5 of its height, and a
// double-click opens the dialog again. The text is drawn without regard to
// the selection. Each change is an undo step of its own: the text as the
// dialog's OK leaves it, and each press-to-release move.
class CTextTool : public CAnnotationTool {
public:
    explicit CTextTool(CMavView& view);

    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnLButtonDblClk(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void Finish(CMavView& view) override;

    bool placed() const { return placed_; }
    const TextSettings& text() const { return text_; }

private:
    bool editText(CMavView& view);
    void moveTo(CMavView& view, int x, int y);
    void beginStep(CMavView& view);
    void endStep(CMavView& view);
    void cancelStep(CMavView& view);

    TextSettings text_;
    bool placed_ = false;
    // A press on the placed text is moving it until the release.
    bool moving_ = false;
    // A change is under way as a step (begun), which the history may have
    // taken (recorded) or not.
    bool stepBegun_ = false;
    bool stepRecorded_ = false;
    // The view's selection record before the dialog's step, for its Cancel.
    SelectionRecord selectionBefore_;
};

} // namespace halvera
