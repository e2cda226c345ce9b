#include "document/UndoBuffer.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace halvera {

namespace {

int32_t HeaderAndPalette(const CDibImage& block) {
    return static_cast<int32_t>(block.bits - reinterpret_cast<const uint8_t*>(block.header));
}

bool SameLayout(const CDibImage& held, const CDibImage& block) {
    return !held.empty() && held.blockSize == block.blockSize && held.stride == block.stride &&
           held.height == block.height && HeaderAndPalette(held) == HeaderAndPalette(block);
}

// Whether `copy` holds exactly the bytes of `block`.
bool SameContent(const std::shared_ptr<DibBlock>& copy, const CDibImage& block) {
    return copy && SameLayout(copy->dib(), block) &&
           std::memcmp(copy->dib().header, block.header, static_cast<size_t>(block.blockSize)) == 0;
}

// Copies the whole of `block` into `copy`. The memory `copy` holds is reused
// when no other record shares it and it has the same layout (a document's
// blocks never change size), so a steady stream of steps does not allocate; a
// shared copy is never written, it is replaced by a fresh one.
bool CopyInto(std::shared_ptr<DibBlock>& copy, const CDibImage& block) {
    if (block.empty())
        return false;
    if (!(copy && copy.use_count() == 1 && SameLayout(copy->dib(), block))) {
        copy.reset();
        std::unique_ptr<uint8_t[]> memory(new (std::nothrow) uint8_t[block.blockSize]);
        if (!memory)
            return false;
        try {
            auto fresh = std::make_shared<DibBlock>();
            fresh->adopt(std::move(memory), block.blockSize, HeaderAndPalette(block), block.stride,
                         block.height);
            copy = std::move(fresh);
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    CopyBlock(copy->dib(), block);
    return true;
}

} // namespace

CDibImage UndoBuffer::DibOf(const Record& record) {
    return record.copy ? record.copy->dib() : CDibImage{};
}

// The after-record holding the newest recorded state of the image (or of the
// mask) below `slot`, or null when the nearest such slot has none.
const UndoBuffer::Record* UndoBuffer::LatestAfter(int slot, bool holdsMask) const {
    for (int i = slot - 1; i >= 0; --i)
        if (slots_[i].holdsMask == holdsMask)
            return slots_[i].after.copy ? &slots_[i].after : nullptr;
    return nullptr;
}

// Records `block` into `record`, sharing the copy of `previous` when
// it holds the same bytes.
bool UndoBuffer::RecordCopy(Record& record, const CDibImage& block, const Record* previous) {
    if (previous && SameContent(previous->copy, block)) {
        record.copy = previous->copy;
        return true;
    }
    return CopyInto(record.copy, block);
}

// Records the before-copy of `slot`, of the mask or of the image, sharing the
// newest recorded after-state of the same block when nothing changed since.
bool UndoBuffer::RecordBeforeCopy(int slot, bool holdsMask, const CDibImage& block) {
    slots_[slot].holdsMask = holdsMask;
    return RecordCopy(slots_[slot].before, block, LatestAfter(slot, holdsMask));
}

int UndoBuffer::heldCopies() const {
    std::vector<const DibBlock*> held;
    const auto add = [&](const Record& record) {
        if (record.copy && std::find(held.begin(), held.end(), record.copy.get()) == held.end())
            held.push_back(record.copy.get());
    };
    for (const Slot& slot : slots_) {
        add(slot.before);
        add(slot.after);
    }
    for (const Slot& slot : dropped_) {
        add(slot.before);
        add(slot.after);
    }
    return static_cast<int>(held.size());
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
    while (count_ + slots > kSlots) {
        const int oldest = SlotsOfStepAt(0);
        for (int i = 0; i < oldest; ++i)
            dropped_.push_back(std::move(slots_[i]));
        std::move(slots_.begin() + oldest, slots_.end(), slots_.begin());
        for (int i = kSlots - oldest; i < kSlots; ++i)
            slots_[i] = Slot{};
        count_ -= oldest;
        top_ -= oldest;
    }
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
    }
    top_ = count_;
}

bool UndoBuffer::RecordBefore(StepKind kind, const CDibImage& image, const CDibImage& mask,
                              SelectionRecord selection) {
    if (pending_)
        return false;
    selection.setKind(kind);
    const int slots = SlotsOf(selection.kind());

    dropped_.clear();
    top_ = count_;
    MakeRoom(slots);
    ReleaseFrom(count_ + slots);

    Slot& first = slots_[count_];
    bool copied = false;
    switch (kind) {
    case StepKind::Image:
        copied = RecordBeforeCopy(count_, false, image);
        break;
    case StepKind::Mask:
        copied = RecordBeforeCopy(count_, true, mask);
        break;
    case StepKind::ImageAndMask:
        copied = RecordBeforeCopy(count_, false, image) && RecordBeforeCopy(count_ + 1, true, mask);
        slots_[count_ + 1].before.selection = selection;
        break;
    }
    if (!copied) {
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

    bool copied = false;
    switch (static_cast<StepKind>(selection.kind())) {
    case StepKind::Image:
        copied = RecordCopy(first.after, image, &first.before);
        break;
    case StepKind::Mask:
        copied = RecordCopy(first.after, mask, &first.before);
        break;
    case StepKind::ImageAndMask: {
        Slot& second = slots_[count_ + 1];
        copied = RecordCopy(first.after, image, &first.before) &&
                 RecordCopy(second.after, mask, &second.before);
        second.after.selection = selection;
        break;
    }
    }
    if (!copied) {
        ReleaseFrom(count_);
        RestoreDropped();
        return false;
    }
    first.after.selection = selection;
    count_ += pendingSlots_;
    top_ = count_;
    return true;
}

SelectionRecord UndoBuffer::Undo(const CDibImage& image, const CDibImage& mask) {
    if (pending_ || count_ == 0)
        return CurrentRecord();
    dropped_.clear();
    --count_;
    const Record& before = slots_[count_].before;
    switch (static_cast<StepKind>(before.selection.kind())) {
    case StepKind::Image:
        CopyBlock(image, DibOf(before));
        break;
    case StepKind::Mask:
        CopyBlock(mask, DibOf(before));
        break;
    case StepKind::ImageAndMask:
        CopyBlock(mask, DibOf(before));
        --count_;
        CopyBlock(image, DibOf(slots_[count_].before));
        break;
    }
    return slots_[count_].before.selection;
}

SelectionRecord UndoBuffer::Redo(const CDibImage& image, const CDibImage& mask) {
    if (pending_ || count_ >= top_)
        return CurrentRecord();
    dropped_.clear();
    const Record& after = slots_[count_].after;
    switch (static_cast<StepKind>(after.selection.kind())) {
    case StepKind::Image:
        CopyBlock(image, DibOf(after));
        break;
    case StepKind::Mask:
        CopyBlock(mask, DibOf(after));
        break;
    case StepKind::ImageAndMask:
        CopyBlock(image, DibOf(after));
        ++count_;
        CopyBlock(mask, DibOf(slots_[count_].after));
        break;
    }
    ++count_;
    return slots_[count_ - 1].after.selection;
}

void UndoBuffer::Clear() {
    ReleaseFrom(0);
    dropped_.clear();
    pending_ = false;
    count_ = top_ = 0;
}

void UndoBuffer::CancelStep() {
    if (pending_) {
        pending_ = false;
        ReleaseFrom(count_);
        RestoreDropped();
        return;
    }
    if (count_ == 0)
        return;
    count_ -= SlotsOfStepAt(count_ - 1);
    ReleaseFrom(count_);
    RestoreDropped();
}

} // namespace halvera
