#pragma once

#include <span>
#include <string_view>

namespace halvera {

// The status-bar prompt and the tooltip of a command, kept together as one
// string "prompt\ntooltip" the way the command's resource text is written.
struct CommandInfo {
    int id = 0;
    std::string_view text;
};

// Every command that has a prompt, in id order.
std::span<const CommandInfo> AllCommandInfos();

// The whole "prompt\ntooltip" text of `id`, or empty when the command has none.
std::string_view CommandText(int id);
// The part before the newline: what the status bar shows while the command is highlighted.
std::string_view CommandPrompt(int id);
// The part after the newline; a text without a newline serves as both.
std::string_view CommandTooltip(int id);

} // namespace halvera
