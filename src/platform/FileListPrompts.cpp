#include "platform/FileListPrompts.h"

namespace halvera {

namespace {

class CancellingFileLists : public FileListPrompts {
public:
    std::vector<std::string> askFileNames(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> askFolderName(const std::string&) override { return std::nullopt; }
};

FileListPrompts*& CurrentFileLists() {
    static CancellingFileLists fallback;
    static FileListPrompts* current = &fallback;
    return current;
}

} // namespace

FileListPrompts& FileLists() {
    return *CurrentFileLists();
}

ScopedFileListPrompts::ScopedFileListPrompts(FileListPrompts& prompts)
    : previous_(CurrentFileLists()) {
    CurrentFileLists() = &prompts;
}

ScopedFileListPrompts::~ScopedFileListPrompts() {
    CurrentFileLists() = previous_;
}

} // namespace halvera
