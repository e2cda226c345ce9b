#include "app/ui/ShellPrompts.h"

#include "app/ui/NewImageDialog.h"
#include "app/ui/RecoveryDialog.h"

#include <QApplication>

namespace halvera {

std::optional<ImageSize> ShellPrompts::askNewImageSize(AppSettings& settings) {
    CNewImageDialog dialog(settings, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenSize();
}

std::vector<RecoveryChoice> ShellPrompts::askRecovery(const std::vector<RecoveryOffer>& offers) {
    CRecoveryDialog dialog(offers, QApplication::activeWindow());
    dialog.exec();
    return dialog.choices();
}

} // namespace halvera
