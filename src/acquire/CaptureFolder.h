#pragma once

#include <optional>
#include <string>

namespace halvera {

// Why a recording cannot be written to `file` because of where it would go:
// its folder does not exist or is no folder. Nothing when the file can be
// tried (whether it may be written there shows when the recording starts).
// A name without a folder goes into the current one.
std::optional<std::string> CaptureFolderProblem(const std::string& file);

} // namespace halvera
