#pragma once

#include "platform/UserPrompts.h"

namespace halvera {

// Prompts for a program without windows: messages go to standard error,
// questions take the first answer that writes nothing (Cancel or No, no file
// name, no new image), and the JPEG quality is the one given at construction.
class StandardErrorPrompts : public UserPrompts {
public:
    explicit StandardErrorPrompts(int jpegQuality = 75) : jpegQuality_(jpegQuality) {}

    MessageAnswer showMessage(const MessageRequest& request) override;
    void beginWaitCursor() override {}
    void endWaitCursor() override {}
    std::optional<std::string> askFileName(const FileDialogRequest&) override { return {}; }
    std::optional<int> askJpegQuality() override { return jpegQuality_; }
    std::optional<ImageSize> askNewImageSize(AppSettings&) override { return {}; }

private:
    int jpegQuality_;
};

} // namespace halvera
