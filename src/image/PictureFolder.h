#pragma once

#include <string>
#include <vector>

namespace halvera {

// The pictures of one folder, for a run on every picture there: the files
// whose names end in a picture ending (PictureFileTypeOf: .bmp, .jpg, .jpeg,
// .png, .tif, .tiff in any case), in the byte order of their names, so the
// same folder always gives the same order whatever the locale. Sub-folders
// and what lies in them are left out, and so is anything that is no file.
struct FolderPictures {
    std::vector<std::string> paths; // the folder's path joined with each name
    std::string failure;            // why the folder could not be listed; empty when it was
};
FolderPictures PicturesInFolder(const std::string& folder);

// What to tell the user instead of running on the folder: "Can not read the
// folder F: REASON" when it could not be listed, "There are no pictures
// (.bmp, ...) in the folder F." when it holds none; empty when there are
// pictures to run on.
std::string FolderPicturesProblem(const std::string& folder, const FolderPictures& pictures);

} // namespace halvera
