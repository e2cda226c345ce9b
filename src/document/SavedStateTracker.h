#pragma once

#include "document/SelectionRecord.h"

#include <cstdint>
#include <deque>
#include <functional>

namespace halvera {

// Whether a document's picture differs from the picture last written to a
// file, followed through every change, Undo and Redo.
//
// Each picture the document holds gets a version number. A step that changes
// the image remembers the version it started from and the version it left,
// so Undo and Redo bring back the version they restore; a change made outside
// the history (a preview render, a nudge of the pasted picture) is a new
// version. The document is modified exactly when its version is not the one
// saved: "Save As, then Undo" is modified again, Undo back to the saved
// picture is not. Selection-only steps keep the version.
//
// The tracker mirrors the undo history step by step from the outside (the
// document tells it what the history did), so it does not depend on how the
// history stores its copies. Whenever the mirror cannot tell which picture is
// shown, it takes a new version: the document then counts as modified, never
// the other way round.
class SavedStateTracker {
public:
    // A new or newly opened picture, as it is on disk (or blank): not modified.
    void Reset();

    // A step was begun; `recorded` tells whether the history took it. An
    // image step that was not recorded still changes the image.
    void StepBegun(StepKind kind, bool recorded);
    // The pending step was completed (`kept`) or dropped by the history.
    void StepEnded(bool kept);
    // The history cancelled its pending step, or else its last completed one;
    // the caller puts the picture from before that step back.
    void StepCancelled(bool pendingStep);
    // The history undid or redid one step.
    void Undone();
    void Redone();

    // The picture changed without a step in the history.
    void ChangedOutsideHistory();
    // The picture shown now was written to a file (Save or Save As).
    void Saved();

    bool IsModified() const { return current_ != saved_; }

    // Called whenever IsModified() changes (the window's modified mark).
    std::function<void(bool modified)> onModifiedChanged;

private:
    struct Step {
        uint64_t before = 0;
        uint64_t after = 0;
        bool changesImage = false;
    };

    uint64_t NewVersion() { return ++lastVersion_; }
    // Runs `change` and reports a change of IsModified().
    template <class Change> void Update(Change&& change);

    // The steps mirrored from the history, oldest first; `applied_` of them
    // can be undone, the rest redone.
    std::deque<Step> steps_;
    std::size_t applied_ = 0;
    bool pending_ = false;
    Step pendingStep_;
    uint64_t lastVersion_ = 0;
    uint64_t current_ = 0;
    uint64_t saved_ = 0;
};

} // namespace halvera
