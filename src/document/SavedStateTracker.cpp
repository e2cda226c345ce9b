#include "document/SavedStateTracker.h"

#include "document/UndoBuffer.h"

namespace halvera {

namespace {

// The history never holds more than its slots' worth of steps; steps further
// down than this can never be undone to again, so the mirror forgets them.
constexpr std::size_t kKeptSteps = 2 * UndoBuffer::kSlots;

} // namespace

template <class Change> void SavedStateTracker::Update(Change&& change) {
    const bool wasModified = IsModified();
    change();
    if (IsModified() != wasModified && onModifiedChanged)
        onModifiedChanged(IsModified());
}

void SavedStateTracker::Reset() {
    Update([this] {
        steps_.clear();
        applied_ = 0;
        pending_ = false;
        current_ = saved_ = NewVersion();
    });
}

void SavedStateTracker::StepBegun(StepKind kind, bool recorded) {
    Update([&] {
        const bool changesImage = kind != StepKind::Mask;
        // A new step leaves nothing to redo, whether the history took it or not.
        steps_.resize(applied_);
        if (recorded) {
            pending_ = true;
            pendingStep_ = Step{current_, current_, changesImage};
        }
        if (changesImage)
            current_ = NewVersion();
    });
}

void SavedStateTracker::StepEnded(bool kept) {
    if (!pending_)
        return;
    Update([&] {
        pending_ = false;
        if (!kept)
            return; // the image keeps its changes, now outside the history
        pendingStep_.after = current_;
        steps_.push_back(pendingStep_);
        applied_ = steps_.size();
        if (steps_.size() > kKeptSteps) {
            steps_.pop_front();
            --applied_;
        }
    });
}

void SavedStateTracker::StepCancelled(bool pendingStep) {
    Update([&] {
        if (pendingStep) {
            if (pending_ && pendingStep_.changesImage)
                current_ = pendingStep_.before;
            pending_ = false;
            return;
        }
        if (applied_ == 0) {
            current_ = NewVersion();
            return;
        }
        const Step cancelled = steps_[applied_ - 1];
        steps_.resize(--applied_);
        if (cancelled.changesImage)
            current_ = cancelled.before;
    });
}

// A selection-only step restores the mask alone: the picture stays the
// version it is, even one changed outside the history since.
void SavedStateTracker::Undone() {
    Update([this] {
        if (applied_ == 0) {
            current_ = NewVersion();
            return;
        }
        const Step& undone = steps_[--applied_];
        if (undone.changesImage)
            current_ = undone.before;
    });
}

void SavedStateTracker::Redone() {
    Update([this] {
        if (applied_ >= steps_.size()) {
            current_ = NewVersion();
            return;
        }
        const Step& redone = steps_[applied_++];
        if (redone.changesImage)
            current_ = redone.after;
    });
}

void SavedStateTracker::ChangedOutsideHistory() {
    Update([this] { current_ = NewVersion(); });
}

void SavedStateTracker::Saved() {
    Update([this] { saved_ = current_; });
}

} // namespace halvera
