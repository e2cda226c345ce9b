#pragma once

#include "document/MavDoc.h"
#include "document/SelectionRecord.h"

#include <concepts>
#include <type_traits>
#include <utility>

namespace halvera {

// The image-command pattern: the one way every command that changes pixels
// runs, from a menu, the batch tool or a test.
//
//   1. copy the main image into the working copy when the operation reads the
//      unchanged image (or may be cancelled);
//   2. set the step kind in the selection record and record the undo
//      before-state;
//   3. run the operation: it reads doc.working() (or doc.image()) and
//      doc.mask(), and writes doc.image() (and doc.mask() for mask steps);
//   4. clear fields four to six of the selection record and record the
//      after-state.
//
// The operation returns bool (or nothing, meaning true). False means it
// changed nothing, after its own message: the step is then cancelled, the
// image put back from the working copy when one was taken, and the modified
// flag left as it was. When the undo step cannot be recorded (no memory) the
// operation still runs, without a step.
//
// Repainting is the caller's: the view repaints itself and the index panel
// after this returns.
template <std::invocable Operation>
bool RunCommand(CMavDoc& doc, SelectionRecord& selection, StepKind kind, bool needsWorkingCopy,
                Operation&& operation) {
    const bool wasModified = doc.IsModified();
    if (needsWorkingCopy)
        doc.CopyToWorking();
    selection.setKind(kind);
    const bool recorded = doc.BeginStep(kind, selection);

    bool changed = true;
    if constexpr (std::is_void_v<std::invoke_result_t<Operation>>)
        std::forward<Operation>(operation)();
    else
        changed = static_cast<bool>(std::forward<Operation>(operation)());

    if (!changed) {
        if (needsWorkingCopy)
            doc.RestoreFromWorking();
        // A cancelled step brings the modified state back by itself; without
        // one, the unchanged picture takes its old state again.
        if (recorded)
            doc.CancelStep();
        else
            doc.SetModifiedFlag(wasModified);
        return false;
    }
    selection.clearTail();
    if (recorded)
        doc.EndStep(selection);
    return true;
}

// An image step (kind 3) with the caller's selection record (the view's).
template <std::invocable Operation>
bool RunImageCommand(CMavDoc& doc, SelectionRecord& selection, bool needsWorkingCopy,
                     Operation&& operation) {
    return RunCommand(doc, selection, StepKind::Image, needsWorkingCopy,
                      std::forward<Operation>(operation));
}

// An image step with a fresh selection record, for callers without a view.
template <std::invocable Operation>
bool RunImageCommand(CMavDoc& doc, bool needsWorkingCopy, Operation&& operation) {
    SelectionRecord selection;
    return RunImageCommand(doc, selection, needsWorkingCopy, std::forward<Operation>(operation));
}

// A selection-mask step (kind 1): does not mark the document modified.
template <std::invocable Operation>
bool RunMaskCommand(CMavDoc& doc, SelectionRecord& selection, Operation&& operation) {
    return RunCommand(doc, selection, StepKind::Mask, false, std::forward<Operation>(operation));
}

// A step that changes image and mask together (kind 4), undone as one.
template <std::invocable Operation>
bool RunImageMaskCommand(CMavDoc& doc, SelectionRecord& selection, bool needsWorkingCopy,
                         Operation&& operation) {
    return RunCommand(doc, selection, StepKind::ImageAndMask, needsWorkingCopy,
                      std::forward<Operation>(operation));
}

} // namespace halvera
