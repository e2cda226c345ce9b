#include "acquire/CaptureFolder.h"

#include <filesystem>
#include <system_error>

namespace halvera {

std::optional<std::string> CaptureFolderProblem(const std::string& file) {
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    if (folder.empty())
        return {};
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(folder, error);
    if (!std::filesystem::exists(status))
        return "Cannot record to " + file + ": the folder " + folder.string() + " does not exist.";
    if (!std::filesystem::is_directory(status))
        return "Cannot record to " + file + ": " + folder.string() + " is not a folder.";
    return {};
}

} // namespace halvera
