#pragma once

#include "document/SelectionRecord.h"
#include "image/DibImage.h"

#include <array>
#include <memory>
#include <vector>

namespace halvera {

// The undo and redo history of one document: up to 27 steps of whole-block
// copies, no difference encoding, every restore one block move.
//
// Each slot holds a before-record and an after-record: a full copy of the
// image or mask block and the view's selection record at that moment. A step
// of kind 1 (mask) or 3 (image) uses one slot; a step of kind 4 (image and
// mask) uses two consecutive slots, image first, both records carrying kind 4,
// and is undone and redone as one step.
//
// `count` steps can be undone; `top` - `count` can be redone; `pending` is set
// between a before-record and its after-record. Recording a new step discards
// everything that could have been redone. When a step needs room and the
// history is full, the oldest whole step is dropped (both halves of a kind-4
// step together, so no half step is ever left behind).
//
// While a step is pending, Undo and Redo change nothing and CanUndo/CanRedo are
// false: restoring an older image under an open step would make its
// after-record describe a state the history never had.
class UndoBuffer {
public:
    static constexpr int kSlots = 27;

    UndoBuffer() = default;
    UndoBuffer(const UndoBuffer&) = delete;
    UndoBuffer& operator=(const UndoBuffer&) = delete;

    // Records the before-state of a step of `kind`: the image (kind 3), the mask
    // (kind 1) or both (kind 4). The stored selection record carries `kind`.
    // False, with nothing recorded, while another step is pending or when the
    // copy cannot be allocated; what could be redone is gone either way.
    bool RecordBefore(StepKind kind, const CDibImage& image, const CDibImage& mask,
                      SelectionRecord selection);
    // Records the after-state of the pending step and completes it. Nothing
    // happens when no step is pending. False when the copy cannot be
    // allocated: the step is then dropped, since it could never be redone.
    bool RecordAfter(const CDibImage& image, const CDibImage& mask, SelectionRecord selection);

    // Restores the before-state of the last undoable step and returns its
    // before selection record. With nothing to undo (or a step pending) nothing
    // changes and the record of the current state is returned.
    SelectionRecord Undo(const CDibImage& image, const CDibImage& mask);
    // Restores the after-state of the next redoable step and returns its after
    // selection record; with nothing to redo, as Undo.
    SelectionRecord Redo(const CDibImage& image, const CDibImage& mask);

    // Discards the most recently recorded step (a dialog command that ended
    // with Cancel): a pending before-record, or else the last completed step.
    // Steps the cancelled step pushed out of a full history come back, so the
    // undoable steps are those before the command. Nothing can be redone after.
    void CancelStep();

    // Forgets every step (a document that is created again starts afresh).
    void Clear();

    bool CanUndo() const { return !pending_ && count_ != 0; }
    bool CanRedo() const { return !pending_ && count_ != top_; }

    // How many distinct block copies the history holds. A step whose
    // before-state equals the previous step's after-state (or whose
    // after-state equals its own before-state) shares that copy, so a stream
    // of n image steps holds n + 1 copies, not 2n.
    int heldCopies() const;

    int count() const { return count_; }
    int top() const { return top_; }
    bool pending() const { return pending_; }

private:
    // A copy is shared between records that hold the same pixels; it is
    // never changed while shared (see CopyInto).
    using SharedBlock = std::shared_ptr<DibBlock>;
    struct Record {
        SharedBlock copy;
        SelectionRecord selection;
    };
    struct Slot {
        Record before;
        Record after;
        bool holdsMask = false; // which block the slot's copies are of
    };

    static CDibImage DibOf(const Record& record);
    static bool RecordCopy(Record& record, const CDibImage& block, const Record* previous);
    bool RecordBeforeCopy(int slot, bool holdsMask, const CDibImage& block);
    const Record* LatestAfter(int slot, bool holdsMask) const;

    static int SlotsOf(int32_t kind);
    int SlotsOfStepAt(int slot) const;
    SelectionRecord CurrentRecord() const;
    void MakeRoom(int slots);
    void ReleaseFrom(int slot);
    void RestoreDropped();

    std::array<Slot, kSlots> slots_;
    // Steps pushed out by the last Begin, kept only until CancelStep can no
    // longer bring them back (the next Begin, Undo or Redo).
    std::vector<Slot> dropped_;
    bool pending_ = false;
    int pendingSlots_ = 0;
    int count_ = 0;
    int top_ = 0;
};

} // namespace halvera
