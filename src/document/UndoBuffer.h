#pragma once

#include "document/CompressedBlock.h"
#include "document/SelectionRecord.h"
#include "document/UndoMemoryBudget.h"
#include "document/UndoStepFile.h"
#include "image/DibImage.h"

#include <array>
#include <memory>
#include <vector>

namespace halvera {

// The undo and redo history of one document: up to 27 steps, each held as
// the difference from its neighbour state, compressed (CompressedBlock.h).
//
// Each slot holds a before-record and an after-record: the view's selection
// record at that moment and a difference of the image or mask block. The
// after-record holds the change the step made (after-state against
// before-state); the before-record holds what changed between the newest
// earlier state of the same block and this step's start, nothing in the
// usual case where one step starts where the last ended. For each block the
// history keeps one whole compressed state, its base, at one of these
// positions; Undo and Redo walk the base to the state asked for through the
// differences between and write that state whole into the block (the base
// itself follows only when it would be more than one change away, so undoing
// and redoing a step need no compression). So every
// byte comes back exactly, also when the block was changed without a step
// in between (a zoom-frame render, a nudged paste), as with whole copies.
//
// A step of kind 1 (mask) or 3 (image) uses one slot; a step of kind 4 (image
// and mask) uses two consecutive slots, image first, both records carrying
// kind 4, and is undone and redone as one step.
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

    // The history keeps within `budget` together with every other one.
    explicit UndoBuffer(UndoMemoryBudget& budget = UndoBudget());
    ~UndoBuffer();
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

    // How many distinct block states the history holds: one base per block it
    // has recorded and one per difference that is not empty. A step whose
    // before-state equals the previous step's after-state (or whose
    // after-state equals its own before-state) adds none, so a stream of n
    // image steps holds n + 1 states, not 2n.
    int heldCopies() const;
    // The bytes of compressed data the history holds in memory.
    size_t heldBytes() const;
    // How many steps (slots) are held in the cache folder.
    int spilledSlots() const;

    // For the budget: the number of the oldest completed step still in
    // memory (0 when there is none), moving it to a file in `folder` (false
    // when it cannot be written whole), and dropping the oldest undoable step
    // (false when there is none).
    uint64_t OldestStepInMemory() const;
    bool SpillOldestStep(const std::string& folder);
    bool DropOldestStep();

    int count() const { return count_; }
    int top() const { return top_; }
    bool pending() const { return pending_; }

private:
    struct Record {
        BlockDelta delta;
        SelectionRecord selection;
    };
    struct Slot {
        Record before;          // from the newest earlier state of the block to this step's start
        Record after;           // from this step's start to its end
        bool holdsMask = false; // which block the slot's differences are of
        uint64_t number = 0;    // the step's number in the budget, once completed
        std::unique_ptr<UndoStepFile> file; // both differences, when moved to disk
    };
    // A block's base and where in the history it stands: 2 * slot for the
    // before-state of a slot, 2 * slot + 1 for its after-state, kBelowAll for
    // a state older than every slot held (its slots were dropped or
    // cancelled).
    struct BlockHistory {
        BlockState base;
        int position = kBelowAll;
    };
    static constexpr int kBelowAll = -1;

    BlockHistory& HistoryOf(bool mask) { return blocks_[mask ? 1 : 0]; }
    const BlockHistory& HistoryOf(bool mask) const { return blocks_[mask ? 1 : 0]; }
    int NewestAfterBelow(bool mask, int slot) const;
    const Slot& SlotHolding(const BlockDelta* delta) const;
    std::vector<const BlockDelta*> DeltasBetween(bool mask, int from, int to) const;
    bool DeltasFromBase(bool mask, int position, std::vector<BlockDelta>& readBack,
                        std::vector<const BlockDelta*>& deltas) const;
    bool MoveBase(bool mask, int position);
    bool ShowState(bool mask, int position, const CDibImage& live);
    bool RecordBeforeState(int slot, bool holdsMask, const CDibImage& block);
    bool RecordAfterState(int slot, const CDibImage& block);
    void ShiftPositions(int slots);
    void Unwind(int slot);

    static int SlotsOf(int32_t kind);
    int SlotsOfStepAt(int slot) const;
    SelectionRecord CurrentRecord() const;
    void MakeRoom(int slots);
    void RemoveOldestStep(std::vector<Slot>* keep);
    int OldestSlotInMemory() const;
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
    std::array<BlockHistory, 2> blocks_; // image, mask
    UndoMemoryBudget& budget_;
    uint64_t id_;
};

} // namespace halvera
