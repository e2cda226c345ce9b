#pragma once

#include "platform/UserPrompts.h"

#include <optional>
#include <string>
#include <vector>

namespace halvera {

// The questions for a batch of pictures: several existing files at once, or
// an existing folder. They are a seam of their own beside UserPrompts because
// only the desktop program asks them: the batch tool takes its files and
// folders from the command line.
class FileListPrompts {
public:
    virtual ~FileListPrompts() = default;
    // The files chosen (`request.save` is ignored), or none on Cancel.
    virtual std::vector<std::string> askFileNames(const FileDialogRequest& request) = 0;
    // The folder chosen in a dialog titled `title`, or nothing on Cancel.
    virtual std::optional<std::string> askFolderName(const std::string& title) = 0;
};

// The file-list prompts in force; without any installed, every question is
// cancelled.
FileListPrompts& FileLists();

// Installs `prompts` for the lifetime of this object, then puts back the previous ones.
class ScopedFileListPrompts {
public:
    explicit ScopedFileListPrompts(FileListPrompts& prompts);
    ~ScopedFileListPrompts();
    ScopedFileListPrompts(const ScopedFileListPrompts&) = delete;
    ScopedFileListPrompts& operator=(const ScopedFileListPrompts&) = delete;

private:
    FileListPrompts* previous_;
};

} // namespace halvera
