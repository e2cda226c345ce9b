#include "acquire/ScanColourMode.h"

#include <algorithm>
#include <cctype>

namespace halvera {

namespace {

constexpr const char* kColourMode = "Color"; // the library's own name for it

bool NamesColour(const std::string& mode) {
    std::string lower(mode.size(), ' ');
    std::transform(mode.begin(), mode.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find("color") != std::string::npos || lower.find("colour") != std::string::npos;
}

} // namespace

std::optional<std::string> ColourModeToChoose(const std::vector<ScanOption>& options) {
    const ScanOption* mode = FindScanOption(options, kScanOptionMode);
    if (!mode || !mode->editable() || mode->constraint != ScanConstraint::StringList)
        return {};
    const std::string* current = std::get_if<std::string>(&mode->value);
    if (!current || NamesColour(*current))
        return {};
    const std::vector<std::string>& offered = mode->texts;
    if (std::find(offered.begin(), offered.end(), kColourMode) != offered.end())
        return kColourMode;
    const auto colour = std::find_if(offered.begin(), offered.end(), NamesColour);
    if (colour == offered.end())
        return {};
    return *colour;
}

} // namespace halvera
