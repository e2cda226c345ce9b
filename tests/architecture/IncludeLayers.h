#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace halvera::testing {

// The layer order of the source tree, lowest first, as src/layers.txt writes
// it: one layer per line ("image", "measure/ui"), '#' starts a comment.
std::vector<std::string> ParseLayerOrder(const std::string& text);

// One include that breaks the layer rules, or a file no rule places.
struct LayerViolation {
    std::string file; // relative to the source root
    int line = 0;     // 0 for a file with no layer
    std::string reason;
};

// The layer of a file relative to the source root: its first folder, with
// "/ui" when it lies in that folder's ui/ subfolder ("view/ui/MavView.h" ->
// "view/ui", "view/Brush.h" -> "view").
std::string LayerOf(const std::string& relativePath);

// Reads every .h and .cpp file under `sourceRoot` and reports each
//  - quoted include of a file under the root that belongs to a later layer,
//  - quoted include of a ui/ file from a core file (one outside ui/),
//  - Qt include (<Q...>) in a core file,
//  - file whose layer the order does not name.
// Quoted includes that name no file under the root (generated headers) are
// not checked. The result is sorted by file and line.
std::vector<LayerViolation> CheckIncludeLayers(const std::filesystem::path& sourceRoot,
                                               const std::vector<std::string>& order);

} // namespace halvera::testing
