#pragma once

#include <array>
#include <cstdint>

namespace halvera {

// What an undo step restores; stored in the first word of its selection record.
enum class StepKind : int32_t {
    Mask = 1,         // the selection mask
    Image = 3,        // the main image
    ImageAndMask = 4, // both, recorded in two consecutive undo slots
};

// The view's selection-state record: seven 32-bit words handed to the undo
// history with every step and handed back by Undo and Redo. Word 0 is the kind
// of the step; the others belong to the view and are stored and returned
// unchanged.
struct SelectionRecord {
    std::array<int32_t, 7> words{};

    int32_t kind() const { return words[0]; }
    void setKind(int32_t kind) { words[0] = kind; }
    void setKind(StepKind kind) { words[0] = static_cast<int32_t>(kind); }

    // Clears fields four to six (indices 3, 4 and 5), which the view resets
    // after every finished command.
    void clearTail() { words[3] = words[4] = words[5] = 0; }

    bool operator==(const SelectionRecord&) const = default;
};

} // namespace halvera
