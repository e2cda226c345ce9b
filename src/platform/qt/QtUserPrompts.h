#pragma once

#include "platform/UserPrompts.h"

namespace halvera {

// The desktop program's prompts: Qt message boxes, file dialogs, the wait
// cursor, the "Quality" dialog and the "New image size" dialog. Every modal window of the shared
// prompts is created here, so tests replace all of them by installing their own UserPrompts.
class QtUserPrompts : public UserPrompts {
public:
    MessageAnswer showMessage(const MessageRequest& request) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    std::optional<std::string> askFileName(const FileDialogRequest& request) override;
    std::optional<int> askJpegQuality() override;
    std::optional<ImageSize> askNewImageSize(AppSettings& settings) override;
    std::optional<TextAttributes> askTextFont(const TextAttributes& current) override;
    bool askPrintJob() override;
};

} // namespace halvera
