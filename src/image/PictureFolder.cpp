#include "image/PictureFolder.h"

#include "image/PictureFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace halvera {

namespace {

namespace fs = std::filesystem;

// Why `folder` cannot be listed before it is opened; empty when it is a folder.
std::string NotAFolder(const fs::path& folder) {
    std::error_code error;
    const fs::file_status status = fs::status(folder, error);
    if (status.type() == fs::file_type::not_found)
        return "there is no such folder";
    if (error)
        return error.message();
    if (status.type() != fs::file_type::directory)
        return "it is not a folder";
    return {};
}

bool IsPictureFile(const fs::directory_entry& entry) {
    std::error_code error; // an entry that cannot be looked at (a broken link) is no file
    return entry.is_regular_file(error) &&
           PictureFileTypeOf(entry.path().filename().string()) != PictureFileType::None;
}

} // namespace

FolderPictures PicturesInFolder(const std::string& folder) {
    FolderPictures result;
    result.failure = NotAFolder(folder);
    if (!result.failure.empty())
        return result;
    std::vector<fs::path> names;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error))
        if (IsPictureFile(*entry))
            names.push_back(entry->path().filename());
    if (error) {
        result.failure = error.message();
        return result;
    }
    std::sort(names.begin(), names.end(),
              [](const fs::path& a, const fs::path& b) { return a.native() < b.native(); });
    for (const fs::path& name : names)
        result.paths.push_back((fs::path(folder) / name).string());
    return result;
}

std::string FolderPicturesProblem(const std::string& folder, const FolderPictures& pictures) {
    if (!pictures.failure.empty())
        return "Can not read the folder " + folder + ": " + pictures.failure;
    if (pictures.paths.empty())
        return "There are no pictures (" + std::string(kPictureEndings) + ") in the folder " +
               folder + ".";
    return {};
}

} // namespace halvera
