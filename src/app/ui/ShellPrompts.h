#pragma once

#include "platform/ui/QtUserPrompts.h"

namespace halvera {

// The desktop program's prompts: the platform's Qt dialogs, and the
// application's own "New image size" dialog for File, New and the offer of
// recovery copies at start. Every modal window
// of the shared prompts is created here or in QtUserPrompts, so tests replace
// all of them by installing their own UserPrompts.
class ShellPrompts : public QtUserPrompts {
public:
    std::optional<ImageSize> askNewImageSize(AppSettings& settings) override;
    std::vector<RecoveryChoice> askRecovery(const std::vector<RecoveryOffer>& offers) override;
};

} // namespace halvera
