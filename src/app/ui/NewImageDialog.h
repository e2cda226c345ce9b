#pragma once

#include "platform/UserPrompts.h"

#include <QDialog>

class QLineEdit;

namespace halvera {

struct AppSettings;

// The "New image size" dialog. It proposes the size of the picture on the
// clipboard, else the last image size of the settings. An edit never holds
// more than 65536. OK rounds the width up to a multiple of 4, holds both
// sides to 8..65536, stores them as ImageWidth and ImageHeight, and closes
// only when both lie in 0..2048 (otherwise it says so and stays open).
class CNewImageDialog : public QDialog {
    Q_OBJECT
public:
    CNewImageDialog(AppSettings& settings, QWidget* parent = nullptr);

    QLineEdit* widthEdit() const { return width_; }
    QLineEdit* heightEdit() const { return height_; }
    // The size chosen; meaningful after the dialog was accepted.
    ImageSize chosenSize() const { return chosen_; }

public slots:
    void accept() override;

private:
    AppSettings& settings_;
    QLineEdit* width_;
    QLineEdit* height_;
    ImageSize chosen_;
};

// The size of the picture on the clipboard, if there is one.
std::optional<ImageSize> ClipboardPictureSize();

} // namespace halvera
