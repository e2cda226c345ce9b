#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace halvera {

// A button of a toolbar: its command and the name of its icon
// (resources/icons/<icon>.png). A button with id 0 is the gap between groups.
struct ToolbarButton {
    int id = 0;
    std::string_view icon;

    bool isGap() const { return id == 0; }
};

struct ToolbarResource {
    std::string_view caption;
    int buttonWidth = 20;
    int buttonHeight = 18;
    std::vector<ToolbarButton> buttons;
};

// The seven toolbars of the main window.
const ToolbarResource& MainToolsBar();
const ToolbarResource& ToolBoxBar();
const ToolbarResource& WarpingToolsBar();
const ToolbarResource& MeasurementToolsBar();
const ToolbarResource& PlayToolsBar();
const ToolbarResource& PreviewToolsBar();
const ToolbarResource& VideoToolsBar();

// All seven, in the order the main window creates them.
std::vector<const ToolbarResource*> AllToolbars();

} // namespace halvera
