#pragma once

#include <string_view>
#include <vector>

namespace halvera {

// One entry of a menu bar: a command item, a separator (no text, id 0) or a
// submenu (children). A tab in the text separates the key shown at the right.
struct MenuItem {
    std::string_view text;
    int id = 0;
    std::vector<MenuItem> children;

    bool isSeparator() const { return text.empty() && id == 0; }
    bool isPopup() const { return !children.empty(); }
};

// The menu bar while no image window is open.
const std::vector<MenuItem>& NoImageMenu();
// The menu bar while at least one image window is open.
const std::vector<MenuItem>& ImageMenu();

} // namespace halvera
