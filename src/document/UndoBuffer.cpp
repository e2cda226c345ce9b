#include "document/UndoBuffer.h"

#include <algorithm>

namespace halvera {

namespace {

uint64_t NextHistoryId() {
    static uint64_t histories = 0;
    return ++histories;
}

} // namespace

UndoBuffer::UndoBuffer(UndoMemoryBudget& budget) : budget_(budget), id_(NextHistoryId()) {
    budget_.Register(this);
}

UndoBuffer::~UndoBuffer() {
    budget_.Unregister(this);
}

// The position of the newest after-state of the block below `slot`, or
// kBelowAll when no slot below holds that block.
int UndoBuffer::NewestAfterBelow(bool mask, int slot) const {
    for (int i = slot - 1; i >= 0; --i)
        if (slots_[i].holdsMask == mask)
            return 2 * i + 1;
    return kBelowAll;
}

// The differences of the block between two positions: each position of a
// slot holding the block carries the difference from the state below it.
std::vector<const BlockDelta*> UndoBuffer::DeltasBetween(bool mask, int from, int to) const {
    std::vector<const BlockDelta*> deltas;
    for (int position = std::min(from, to) + 1; position <= std::max(from, to); ++position) {
        const Slot& slot = slots_[position / 2];
        if (slot.holdsMask == mask)
            deltas.push_back(position % 2 == 0 ? &slot.before.delta : &slot.after.delta);
    }
    return deltas;
}

const UndoBuffer::Slot& UndoBuffer::SlotHolding(const BlockDelta* delta) const {
    for (const Slot& slot : slots_)
        if (&slot.before.delta == delta || &slot.after.delta == delta)
            return slot;
    return slots_[0];
}

// The block's differences between its base and `position`, those of steps
// on disk read back into `readBack` for this walk only; those without change
// are left out. False when a step file can no longer be read.
bool UndoBuffer::DeltasFromBase(bool mask, int position, std::vector<BlockDelta>& readBack,
                                std::vector<const BlockDelta*>& deltas) const {
    const std::vector<const BlockDelta*> between =
        DeltasBetween(mask, HistoryOf(mask).position, position);
    readBack.resize(2 * between.size());
    for (size_t i = 0; i < between.size(); ++i) {
        const BlockDelta* delta = between[i];
        const Slot& slot = SlotHolding(delta);
        if (slot.file) {
            if (!slot.file->Read(readBack[2 * i], readBack[2 * i + 1]))
                return false;
            delta = delta == &slot.before.delta ? &readBack[2 * i] : &readBack[2 * i + 1];
        }
        if (delta->changes())
            deltas.push_back(delta);
    }
    return true;
}

// Walks the block's base to `position`.
bool UndoBuffer::MoveBase(bool mask, int position) {
    BlockHistory& history = HistoryOf(mask);
    if (history.base.empty() || history.position == position)
        return true;
    std::vector<BlockDelta> readBack;
    std::vector<const BlockDelta*> deltas;
    if (!DeltasFromBase(mask, position, readBack, deltas) ||
        !ApplyDeltas(history.base, deltas, nullptr))
        return false;
    history.position = position;
    return true;
}

// Writes the block's state at `position` into `live` whole (Undo and Redo).
// A state at most one change from the base is written without moving the
// base: undoing a step and redoing it compresses nothing. Past that the base
// moves to the state written, so no walk takes more than two changes.
bool UndoBuffer::ShowState(bool mask, int position, const CDibImage& live) {
    BlockHistory& history = HistoryOf(mask);
    if (history.base.empty())
        return true;
    std::vector<BlockDelta> readBack;
    std::vector<const BlockDelta*> deltas;
    if (!DeltasFromBase(mask, position, readBack, deltas))
        return false;
    if (deltas.size() <= 1)
        return WriteWalkedState(history.base, deltas, live);
    if (!ApplyDeltas(history.base, deltas, &live))
        return false;
    history.position = position;
    return true;
}

bool UndoBuffer::RecordBeforeState(int slot, bool holdsMask, const CDibImage& block) {
    if (block.empty())
        return false;
    slots_[slot].holdsMask = holdsMask;
    BlockHistory& history = HistoryOf(holdsMask);
    // Undo and Redo may have left the base off the state the step follows.
    if (!MoveBase(holdsMask, NewestAfterBelow(holdsMask, slot)) ||
        !TakeState(history.base, block, slots_[slot].before.delta))
        return false;
    history.position = 2 * slot;
    return true;
}

bool UndoBuffer::RecordAfterState(int slot, const CDibImage& block) {
    BlockHistory& history = HistoryOf(slots_[slot].holdsMask);
    if (!TakeState(history.base, block, slots_[slot].after.delta))
        return false;
    history.position = 2 * slot + 1;
    return true;
}

// Moves the positions of the bases by `slots` slots, as the slots move.
void UndoBuffer::ShiftPositions(int slots) {
    for (BlockHistory& history : blocks_)
        history.position = std::max(kBelowAll, history.position + 2 * slots);
}

// Brings every base standing at `slot` or above down to the newest state
// below it, before those slots are released.
void UndoBuffer::Unwind(int slot) {
    for (const bool mask : {false, true})
        if (HistoryOf(mask).position >= 2 * slot)
            MoveBase(mask, NewestAfterBelow(mask, slot));
}

int UndoBuffer::heldCopies() const {
    int held = 0;
    for (const BlockHistory& history : blocks_)
        held += history.base.empty() ? 0 : 1;
    const auto add = [&](const Slot& slot) {
        held += (slot.before.delta.changes() || (slot.file && slot.file->beforeChanges()) ? 1 : 0) +
                (slot.after.delta.changes() || (slot.file && slot.file->afterChanges()) ? 1 : 0);
    };
    std::for_each(slots_.begin(), slots_.end(), add);
    std::for_each(dropped_.begin(), dropped_.end(), add);
    return held;
}

size_t UndoBuffer::heldBytes() const {
    size_t bytes = 0;
    for (const BlockHistory& history : blocks_)
        bytes += history.base.heldBytes();
    const auto add = [&](const Slot& slot) {
        bytes += slot.before.delta.heldBytes() + slot.after.delta.heldBytes();
    };
    std::for_each(slots_.begin(), slots_.end(), add);
    std::for_each(dropped_.begin(), dropped_.end(), add);
    return bytes;
}

int UndoBuffer::spilledSlots() const {
    return static_cast<int>(
        std::count_if(slots_.begin(), slots_.end(), [](const Slot& slot) { return !!slot.file; }));
}

int UndoBuffer::OldestSlotInMemory() const {
    int oldest = -1;
    for (int i = 0; i < top_; ++i) {
        const Slot& slot = slots_[i];
        const bool inMemory = slot.before.delta.heldBytes() + slot.after.delta.heldBytes() > 0;
        if (slot.number != 0 && inMemory && (oldest < 0 || slot.number < slots_[oldest].number))
            oldest = i;
    }
    return oldest;
}

uint64_t UndoBuffer::OldestStepInMemory() const {
    const int slot = OldestSlotInMemory();
    return slot < 0 ? 0 : slots_[slot].number;
}

bool UndoBuffer::SpillOldestStep(const std::string& folder) {
    const int index = OldestSlotInMemory();
    if (index < 0)
        return false;
    Slot& slot = slots_[index];
    slot.file = UndoStepFile::Write(folder, StepFileName(id_, slot.number, slot.holdsMask),
                                    slot.before.delta, slot.after.delta);
    if (!slot.file)
        return false;
    slot.before.delta = BlockDelta{};
    slot.after.delta = BlockDelta{};
    return true;
}

bool UndoBuffer::DropOldestStep() {
    if (count_ == 0)
        return false;
    RemoveOldestStep(nullptr);
    return true;
}

int UndoBuffer::SlotsOf(int32_t kind) {
    return kind == static_cast<int32_t>(StepKind::ImageAndMask) ? 2 : 1;
}

int UndoBuffer::SlotsOfStepAt(int slot) const {
    return SlotsOf(slots_[slot].before.selection.kind());
}

SelectionRecord UndoBuffer::CurrentRecord() const {
    if (pending_)
        return slots_[count_].before.selection;
    if (count_ > 0)
        return slots_[count_ - 1].after.selection;
    return slots_[0].before.selection;
}

void UndoBuffer::MakeRoom(int slots) {
    while (count_ + slots > kSlots)
        RemoveOldestStep(&dropped_);
}

// Removes the oldest whole step, into `keep` when given.
void UndoBuffer::RemoveOldestStep(std::vector<Slot>* keep) {
    const int oldest = SlotsOfStepAt(0);
    // A base left inside the step (by Undo and Redo) first moves to the
    // step's end, the state the positions below all slots stand for.
    for (const bool mask : {false, true}) {
        const int position = HistoryOf(mask).position;
        if (position >= 0 && position < 2 * oldest)
            MoveBase(mask, NewestAfterBelow(mask, oldest));
    }
    if (keep)
        for (int i = 0; i < oldest; ++i)
            keep->push_back(std::move(slots_[i]));
    std::move(slots_.begin() + oldest, slots_.end(), slots_.begin());
    for (int i = kSlots - oldest; i < kSlots; ++i)
        slots_[i] = Slot{};
    count_ -= oldest;
    top_ -= oldest;
    ShiftPositions(-oldest);
}

void UndoBuffer::ReleaseFrom(int slot) {
    for (int i = slot; i < kSlots; ++i)
        slots_[i] = Slot{};
}

void UndoBuffer::RestoreDropped() {
    const int dropped = static_cast<int>(dropped_.size());
    if (dropped > 0) {
        std::move_backward(slots_.begin(), slots_.begin() + count_,
                           slots_.begin() + count_ + dropped);
        std::move(dropped_.begin(), dropped_.end(), slots_.begin());
        count_ += dropped;
        dropped_.clear();
        ShiftPositions(dropped);
    }
    top_ = count_;
}

bool UndoBuffer::RecordBefore(StepKind kind, const CDibImage& image, const CDibImage& mask,
                              SelectionRecord selection) {
    if (pending_)
        return false;
    selection.setKind(kind);
    const int slots = SlotsOf(selection.kind());

    // The new step follows the newest state kept below it; the bases leave
    // the redoable states before those are discarded.
    dropped_.clear();
    Unwind(count_);
    top_ = count_;
    MakeRoom(slots);
    ReleaseFrom(count_);

    Slot& first = slots_[count_];
    bool recorded = false;
    switch (kind) {
    case StepKind::Image:
        recorded = RecordBeforeState(count_, false, image);
        break;
    case StepKind::Mask:
        recorded = RecordBeforeState(count_, true, mask);
        break;
    case StepKind::ImageAndMask:
        recorded =
            RecordBeforeState(count_, false, image) && RecordBeforeState(count_ + 1, true, mask);
        slots_[count_ + 1].before.selection = selection;
        break;
    }
    if (!recorded) {
        Unwind(count_);
        ReleaseFrom(count_);
        RestoreDropped();
        return false;
    }
    first.before.selection = selection;
    pending_ = true;
    pendingSlots_ = slots;
    return true;
}

bool UndoBuffer::RecordAfter(const CDibImage& image, const CDibImage& mask,
                             SelectionRecord selection) {
    if (!pending_)
        return true;
    pending_ = false;
    Slot& first = slots_[count_];
    selection.setKind(first.before.selection.kind());

    bool recorded = false;
    switch (static_cast<StepKind>(selection.kind())) {
    case StepKind::Image:
        recorded = RecordAfterState(count_, image);
        break;
    case StepKind::Mask:
        recorded = RecordAfterState(count_, mask);
        break;
    case StepKind::ImageAndMask:
        recorded = RecordAfterState(count_, image) && RecordAfterState(count_ + 1, mask);
        slots_[count_ + 1].after.selection = selection;
        break;
    }
    if (!recorded) {
        Unwind(count_);
        ReleaseFrom(count_);
        RestoreDropped();
        return false;
    }
    first.after.selection = selection;
    const uint64_t number = budget_.NextStepNumber();
    for (int i = 0; i < pendingSlots_; ++i)
        slots_[count_ + i].number = number;
    count_ += pendingSlots_;
    top_ = count_;
    budget_.KeepWithinLimit();
    return true;
}

SelectionRecord UndoBuffer::Undo(const CDibImage& image, const CDibImage& mask) {
    if (pending_ || count_ == 0)
        return CurrentRecord();
    dropped_.clear();
    --count_;
    switch (static_cast<StepKind>(slots_[count_].before.selection.kind())) {
    case StepKind::Image:
        ShowState(false, 2 * count_, image);
        break;
    case StepKind::Mask:
        ShowState(true, 2 * count_, mask);
        break;
    case StepKind::ImageAndMask:
        ShowState(true, 2 * count_, mask);
        --count_;
        ShowState(false, 2 * count_, image);
        break;
    }
    return slots_[count_].before.selection;
}

SelectionRecord UndoBuffer::Redo(const CDibImage& image, const CDibImage& mask) {
    if (pending_ || count_ >= top_)
        return CurrentRecord();
    dropped_.clear();
    switch (static_cast<StepKind>(slots_[count_].after.selection.kind())) {
    case StepKind::Image:
        ShowState(false, 2 * count_ + 1, image);
        break;
    case StepKind::Mask:
        ShowState(true, 2 * count_ + 1, mask);
        break;
    case StepKind::ImageAndMask:
        ShowState(false, 2 * count_ + 1, image);
        ++count_;
        ShowState(true, 2 * count_ + 1, mask);
        break;
    }
    ++count_;
    return slots_[count_ - 1].after.selection;
}

void UndoBuffer::Clear() {
    ReleaseFrom(0);
    dropped_.clear();
    blocks_ = {};
    pending_ = false;
    count_ = top_ = 0;
}

void UndoBuffer::CancelStep() {
    if (pending_) {
        pending_ = false;
    } else {
        if (count_ == 0)
            return;
        count_ -= SlotsOfStepAt(count_ - 1);
    }
    Unwind(count_);
    ReleaseFrom(count_);
    RestoreDropped();
}

} // namespace halvera
