#pragma once

#include "platform/FileListPrompts.h"
#include "platform/UserPrompts.h"

namespace halvera {

// The platform's prompts on Qt: message boxes, file dialogs, the wait cursor,
// the "Quality" dialog, the font and colour dialogs, the print dialog and the
// one-line text question. The
// "New image size" dialog belongs to the application, which completes these
// prompts with it (ShellPrompts). Tests replace all of them by installing
// their own UserPrompts. They answer the file-list and folder questions too.
class QtUserPrompts : public UserPrompts, public FileListPrompts {
public:
    MessageAnswer showMessage(const MessageRequest& request) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    std::optional<std::string> askFileName(const FileDialogRequest& request) override;
    std::vector<std::string> askFileNames(const FileDialogRequest& request) override;
    std::optional<std::string> askFolderName(const std::string& title) override;
    std::optional<int> askJpegQuality() override;
    std::optional<TextAttributes> askTextFont(const TextAttributes& current) override;
    bool askPrintJob() override;
    std::optional<std::string> askText(const TextRequest& request) override;
};

} // namespace halvera
