#include "IncludeLayers.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

namespace halvera::testing {

namespace fs = std::filesystem;

namespace {

bool IsUiLayer(const std::string& layer) {
    return layer.ends_with("/ui");
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// Checks one file's lines against the order given as layer -> rank.
void CheckFile(const fs::path& root, const std::string& file,
               const std::map<std::string, size_t>& rank, std::vector<LayerViolation>& found) {
    const std::string layer = LayerOf(file);
    const auto own = rank.find(layer);
    if (own == rank.end()) {
        found.push_back({file, 0, "its layer '" + layer + "' is not in the layer order"});
        return;
    }
    static const std::regex quoted(R"re(^\s*#\s*include\s*"([^"]+)")re");
    static const std::regex qt(R"re(^\s*#\s*include\s*<(Q[A-Za-z]*|Qt[A-Za-z]*/[^>]*)>)re");
    std::ifstream in(root / file);
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        std::smatch match;
        if (!IsUiLayer(layer) && std::regex_search(text, match, qt)) {
            found.push_back({file, number, "core file includes Qt <" + match[1].str() + ">"});
            continue;
        }
        if (!std::regex_search(text, match, quoted) || !fs::is_regular_file(root / match[1].str()))
            continue;
        const std::string included = match[1].str();
        const std::string target = LayerOf(included);
        const auto theirs = rank.find(target);
        if (theirs == rank.end())
            continue; // reported at that file
        if (theirs->second > own->second)
            found.push_back({file, number,
                             "includes " + included + " of the higher layer '" + target +
                                 "' (this file is in '" + layer + "')"});
        else if (!IsUiLayer(layer) && IsUiLayer(target))
            found.push_back({file, number, "core file includes the window file " + included});
    }
}

} // namespace

std::vector<std::string> ParseLayerOrder(const std::string& text) {
    std::vector<std::string> order;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = Trimmed(line.substr(0, line.find('#')));
        if (!line.empty())
            order.push_back(line);
    }
    return order;
}

std::string LayerOf(const std::string& relativePath) {
    const size_t first = relativePath.find('/');
    if (first == std::string::npos)
        return {};
    const std::string folder = relativePath.substr(0, first);
    const bool inUi = relativePath.compare(first + 1, 3, "ui/") == 0;
    return inUi ? folder + "/ui" : folder;
}

std::vector<LayerViolation> CheckIncludeLayers(const fs::path& sourceRoot,
                                               const std::vector<std::string>& order) {
    std::map<std::string, size_t> rank;
    for (size_t i = 0; i < order.size(); ++i)
        rank.emplace(order[i], i);
    std::vector<LayerViolation> found;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(sourceRoot)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp"))
            continue;
        CheckFile(sourceRoot, fs::relative(entry.path(), sourceRoot).generic_string(), rank, found);
    }
    std::sort(found.begin(), found.end(), [](const LayerViolation& a, const LayerViolation& b) {
        return a.file != b.file ? a.file < b.file : a.line < b.line;
    });
    return found;
}

} // namespace halvera::testing
