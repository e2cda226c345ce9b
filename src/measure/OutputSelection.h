#pragma once

#include "measure/MeasureDataItems.h"

#include <array>
#include <vector>

namespace halvera {

// Which data items the result output includes: 33 slots, each a data item
// number k (0..32) or empty (-1). Used slots come first, in the order the user
// picked them; an item is selected when it stands in any slot. The slot order
// never changes an output, which always follows the item numbers.
class OutputSelection {
public:
    static constexpr int kSlots = kDataItemCount;
    static constexpr int kEmpty = -1;

    // Every item selected, in item order (the start-up selection).
    OutputSelection();
    static OutputSelection NoItems();

    // The slots as kept: used slots first, then kEmpty.
    const std::array<int, kSlots>& slotValues() const { return slots_; }
    // The items of the used slots, in slot order.
    std::vector<int> items() const;
    bool contains(int k) const;

    // Puts k into the first empty slot unless it is already selected or not an
    // item number; false when nothing changed.
    bool add(int k);
    // Removes the used slot `index` (slot i is items()[i]); later slots move up
    // one place and the last slot becomes empty.
    void removeAt(int index);
    void selectAll();
    void clear();

    // Takes slots as a file holds them: values outside 0..32 select nothing and
    // an item standing twice is kept once, so the used slots stay first.
    static OutputSelection FromSlots(const std::array<int, kSlots>& values);

    bool operator==(const OutputSelection&) const = default;

private:
    std::array<int, kSlots> slots_;
};

} // namespace halvera
