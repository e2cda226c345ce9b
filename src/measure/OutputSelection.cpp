#include "measure/OutputSelection.h"

#include <algorithm>

namespace halvera {

OutputSelection::OutputSelection() {
    selectAll();
}

OutputSelection OutputSelection::NoItems() {
    OutputSelection selection;
    selection.clear();
    return selection;
}

std::vector<int> OutputSelection::items() const {
    std::vector<int> used;
    for (int k : slots_) {
        if (k != kEmpty)
            used.push_back(k);
    }
    return used;
}

bool OutputSelection::contains(int k) const {
    return std::find(slots_.begin(), slots_.end(), k) != slots_.end();
}

bool OutputSelection::add(int k) {
    if (k < 0 || k >= kDataItemCount || contains(k))
        return false;
    const auto empty = std::find(slots_.begin(), slots_.end(), kEmpty);
    if (empty == slots_.end())
        return false;
    *empty = k;
    return true;
}

void OutputSelection::removeAt(int index) {
    if (index < 0 || index >= kSlots || slots_[static_cast<size_t>(index)] == kEmpty)
        return;
    std::move(slots_.begin() + index + 1, slots_.end(), slots_.begin() + index);
    slots_.back() = kEmpty;
}

void OutputSelection::selectAll() {
    for (int k = 0; k < kSlots; ++k)
        slots_[static_cast<size_t>(k)] = k;
}

void OutputSelection::clear() {
    slots_.fill(kEmpty);
}

OutputSelection OutputSelection::FromSlots(const std::array<int, kSlots>& values) {
    OutputSelection selection = NoItems();
    for (int k : values)
        selection.add(k);
    return selection;
}

} // namespace halvera
