#include "app/ui/ShellPrompts.h"

#include "app/ui/NewImageDialog.h"

#include <QApplication>

namespace halvera {

std::optional<ImageSize> ShellPrompts::askNewImageSize(AppSettings& settings) {
    CNewImageDialog dialog(settings, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenSize();
}

} // namespace halvera
