#include "app/IndexPanelLayout.h"

#include <algorithm>

namespace halvera::index_panel {

int CellWidth(int clientHeight) {
    return std::max(1, clientHeight * 4 / 3 - 30);
}

int VisibleCells(int clientWidth, int cellWidth) {
    return cellWidth > 0 ? std::max(0, clientWidth / cellWidth) : 0;
}

int FirstVisibleForSelection(int selected, int first, int visible, int count) {
    if (selected < first)
        first = selected;
    else if (visible > 0 && selected - first >= visible)
        first = std::min(selected - visible + 1, count - 1);
    return std::clamp(first, 0, std::max(0, count - 1));
}

int ScrollPositionForFirst(int first, int count, int range) {
    if (count < 2)
        return 0;
    return static_cast<int>(static_cast<long long>(range) * first / (count - 1));
}

int FirstForScrollPosition(int position, int count, int range) {
    if (count < 2 || range <= 0)
        return 0;
    return std::clamp(static_cast<int>(static_cast<long long>(count - 1) * position / range), 0,
                      count - 1);
}

} // namespace halvera::index_panel
