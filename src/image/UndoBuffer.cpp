#include "image/UndoBuffer.h"

#include <algorithm>
#include <new>

namespace halvera {

namespace {

// Copies the whole of `block` into `copy`, reusing the memory `copy` already
// holds when it has the same layout (a document's blocks never change size),
// so a steady stream of steps does not allocate.
bool CopyInto(DibBlock& copy, const CDibImage& block) {
    if (block.empty())
        return false;
    const auto headerAndPalette =
        static_cast<int32_t>(block.bits - reinterpret_cast<const uint8_t*>(block.header));
    const CDibImage& held = copy.dib();
    const bool sameLayout =
        !held.empty() && held.blockSize == block.blockSize && held.stride == block.stride &&
        held.height == block.height &&
        held.bits - reinterpret_cast<const uint8_t*>(held.header) == headerAndPalette;
    if (!sameLayout) {
        copy.release();
        std::unique_ptr<uint8_t[]> memory(new (std::nothrow) uint8_t[block.blockSize]);
        if (!memory)
            return false;
        copy.adopt(std::move(memory), block.blockSize, headerAndPalette, block.stride,
                   block.height);
    }
    CopyBlock(copy.dib(), block);
    return true;
}

} // namespace

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
        copied = CopyInto(first.before.copy, image);
        break;
    case StepKind::Mask:
        copied = CopyInto(first.before.copy, mask);
        break;
    case StepKind::ImageAndMask:
        copied =
            CopyInto(first.before.copy, image) && CopyInto(slots_[count_ + 1].before.copy, mask);
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
        copied = CopyInto(first.after.copy, image);
        break;
    case StepKind::Mask:
        copied = CopyInto(first.after.copy, mask);
        break;
    case StepKind::ImageAndMask:
        copied = CopyInto(first.after.copy, image) && CopyInto(slots_[count_ + 1].after.copy, mask);
        slots_[count_ + 1].after.selection = selection;
        break;
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
        CopyBlock(image, before.copy.dib());
        break;
    case StepKind::Mask:
        CopyBlock(mask, before.copy.dib());
        break;
    case StepKind::ImageAndMask:
        CopyBlock(mask, before.copy.dib());
        --count_;
        CopyBlock(image, slots_[count_].before.copy.dib());
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
        CopyBlock(image, after.copy.dib());
        break;
    case StepKind::Mask:
        CopyBlock(mask, after.copy.dib());
        break;
    case StepKind::ImageAndMask:
        CopyBlock(image, after.copy.dib());
        ++count_;
        CopyBlock(mask, slots_[count_].after.copy.dib());
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
