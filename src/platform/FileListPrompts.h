#pragma once

#include "platform/UserPrompts.h"

#include <string>
#include <vector>

namespace halvera {

// The question for several existing files at once (a batch of pictures). It
// is a seam of its own beside UserPrompts because only the desktop program
// asks it: the batch tool takes its files from the command line.
class FileListPrompts {
public:
    virtual ~FileListPrompts() = default;
    // The files chosen (`request.save` is ignored), or none on Cancel.
    virtual std::vector<std::string> askFileNames(const FileDialogRequest& request) = 0;
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
