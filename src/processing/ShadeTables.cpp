#include "processing/ShadeTables.h"

#include <algorithm>

namespace halvera {

QuotientTable::QuotientTable(int level) : table_(new uint8_t[256 * 256]) {
    uint8_t* entry = table_.get();
    for (int v = 0; v < 256; ++v)
        *entry++ = 255;
    for (int d = 1; d < 256; ++d)
        for (int v = 0; v < 256; ++v)
            *entry++ = static_cast<uint8_t>(std::min(255, v * level / d));
}

} // namespace halvera
