#pragma once

namespace halvera {

// The arithmetic of the index image panel: a strip of cells, one per open
// image, of which `visible` fit into the panel starting at cell `first`.
namespace index_panel {

// Cell width for a client area `clientHeight` pixels high: (h * 4) / 3 - 30,
// never below 1 so that a tiny panel still divides.
int CellWidth(int clientHeight);
// How many whole cells fit into `clientWidth`.
int VisibleCells(int clientWidth, int cellWidth);

// The first visible cell after `selected` became the active image: unchanged
// while `selected` is visible, otherwise scrolled just far enough, and never
// past the last image.
int FirstVisibleForSelection(int selected, int first, int visible, int count);

// The scroll bar: its position for a first visible cell, and back.
int ScrollPositionForFirst(int first, int count, int range);
int FirstForScrollPosition(int position, int count, int range);

} // namespace index_panel

} // namespace halvera
