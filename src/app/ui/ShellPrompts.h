#pragma once

#include "platform/ui/QtUserPrompts.h"

namespace halvera {

// The desktop program's prompts: the platform's Qt dialogs, and the
// application's own "New image size" dialog for File, New. Every modal window
// of the shared prompts is created here or in QtUserPrompts, so tests replace
// all of them by installing their own UserPrompts.
class ShellPrompts : public QtUserPrompts {
public:
    std::optional<ImageSize> askNewImageSize(AppSettings& settings) override;
};

} // namespace halvera
