#include "processing/EdgeNorm.h"

namespace halvera {

const std::array<uint8_t, kRootTableSize>& SquareRootTable() {
    static const std::array<uint8_t, kRootTableSize> table = [] {
        std::array<uint8_t, kRootTableSize> roots{};
        int32_t root = 0;
        for (int32_t s = 0; s < kRootTableSize; ++s) {
            while ((root + 1) * (root + 1) <= s)
                ++root;
            roots[s] = static_cast<uint8_t>(root);
        }
        return roots;
    }();
    return table;
}

} // namespace halvera
