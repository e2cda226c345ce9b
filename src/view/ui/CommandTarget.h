#pragma once

#include <QString>
#include <optional>

namespace halvera {

// What an updater says about a command: menus and toolbar buttons show it.
struct CommandState {
    bool enabled = true;
    bool checked = false;
    std::optional<QString> text; // set only when the item's text changes with state
};

// Something a command can be routed to: the active view, its document, the
// child frame, the main frame and the application, in that order. The first
// target that answers true handles the command (or its update); the others
// never see it. A command that no target handles is shown disabled.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;

    // Runs command `id` and returns true when this target handles it.
    virtual bool onCommand(int id) = 0;
    // Fills `state` and returns true when this target handles command `id`.
    virtual bool onUpdateCommand(int id, CommandState& state) = 0;
};

} // namespace halvera
