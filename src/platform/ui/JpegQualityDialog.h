#pragma once

#include <QDialog>

class QLineEdit;
class QSlider;

namespace halvera {

// The "Quality" dialog shown before an image is written as JPEG: a slider
// 0..100 with a tick every 10 and an edit box that follow each other. It
// starts at 75 every time; OK accepts only a whole number in 0..100.
class JpegQualityDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kInitialQuality = 75;

    explicit JpegQualityDialog(QWidget* parent = nullptr);

    // The quality in the edit box; meaningful after the dialog was accepted.
    int quality() const;

    QSlider* slider() const { return slider_; }
    QLineEdit* edit() const { return edit_; }

public slots:
    // Runs the range check; closes the dialog only when it passes.
    void accept() override;

private:
    QSlider* slider_;
    QLineEdit* edit_;
};

} // namespace halvera
