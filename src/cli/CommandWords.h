#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace halvera {

// One option a batch command knows: "--quality" with a value, "--fit" without.
struct CommandOption {
    std::string_view name;
    bool takesValue = true;
};

// The words after a command's name, split by the command's own options:
// the positional words, and the options with their values in command-line
// order (a switch has an empty value).
struct CommandWords {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;

    // The value of an option that may be given once; nothing when it is not
    // given, wrong usage when it is given twice.
    std::optional<std::string> once(std::string_view name) const;
    // Whether the switch `name` is given.
    bool has(std::string_view name) const;
};

// Splits `words` by `known`, the options of `command`. Options may stand
// anywhere after the command. An option the command does not know is wrong
// usage naming the command's options; so is a known one whose value is missing.
CommandWords SplitCommandWords(std::string_view command, std::span<const CommandOption> known,
                               const std::vector<std::string>& words);

} // namespace halvera
