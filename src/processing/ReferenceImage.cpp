#include "processing/ReferenceImage.h"

#include "image/BmpFile.h"

#include <optional>
#include <string>

namespace halvera {

FileDialogRequest ReferenceFileRequest(bool save) {
    FileDialogRequest request;
    request.save = save;
    request.filter = "Reference(*.ref)|*.ref||";
    request.proposedName = "Reference";
    request.defaultExtension = "ref";
    request.promptOverwrite = save;
    request.pathMustExist = true;
    request.fileMustExist = !save;
    return request;
}

bool BuildReferenceImage(const CDibImage& image) {
    const std::optional<std::string> path = Prompts().askFileName(ReferenceFileRequest(true));
    if (!path)
        return false;
    return CBmpFile().WriteReference(*path, image);
}

bool LoadReferenceImage(const CDibImage& target) {
    const std::optional<std::string> path = Prompts().askFileName(ReferenceFileRequest(false));
    if (!path)
        return false;
    return CBmpFile().ReadReference(*path, target);
}

} // namespace halvera
