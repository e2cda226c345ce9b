#include "cli/CommandWords.h"

#include "cli/CliOperation.h"

#include <algorithm>

namespace halvera {

namespace {

// "convert takes --quality", "print takes --fit, --center and --title", ...
std::string KnownOptionsText(std::string_view command, std::span<const CommandOption> known) {
    std::string text(command);
    if (known.empty())
        return text + " takes no options";
    text += " takes ";
    for (size_t i = 0; i < known.size(); ++i) {
        if (i > 0)
            text += i + 1 == known.size() ? " and " : ", ";
        text += known[i].name;
    }
    return text;
}

} // namespace

std::optional<std::string> CommandWords::once(std::string_view name) const {
    std::optional<std::string> value;
    for (const auto& [option, given] : options) {
        if (option != name)
            continue;
        if (value)
            throw UsageError(std::string(name) + " is given twice");
        value = given;
    }
    return value;
}

bool CommandWords::has(std::string_view name) const {
    return std::any_of(options.begin(), options.end(),
                       [name](const auto& option) { return option.first == name; });
}

CommandWords SplitCommandWords(std::string_view command, std::span<const CommandOption> known,
                               const std::vector<std::string>& words) {
    CommandWords split;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!word.starts_with("--")) {
            split.positional.push_back(word);
            continue;
        }
        const auto option = std::find_if(
            known.begin(), known.end(), [&word](const CommandOption& o) { return o.name == word; });
        if (option == known.end())
            throw UsageError("unknown option " + word + "; " + KnownOptionsText(command, known));
        if (!option->takesValue) {
            split.options.emplace_back(word, std::string());
            continue;
        }
        if (i + 1 == words.size())
            throw UsageError(word + " needs a value");
        split.options.emplace_back(word, words[++i]);
    }
    return split;
}

} // namespace halvera
