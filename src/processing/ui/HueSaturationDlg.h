#pragma once

#include <QDialog>
#include <functional>
#include <optional>

namespace halvera {

class CMavDoc;
class CSliderWithBox;

// "Hue/Saturation": in the group "HSB", a hue slider of -180..180 degrees
// (ticks every 60) and saturation and brightness sliders of -100..100 (ticks
// every 20), each with a number box. The conversion to and from HSV costs too
// much to follow a drag, so the image is recomputed from the working copy only
// when the mouse lets go of a slider. OK first brings the image up to the
// values shown, should they have changed since the last preview (typed into a
// box or set from the keyboard), then keeps it; restoring it on Cancel is the
// caller's.
//
// Controls are named "hue", "saturation" and "brightness", boxes with "Box"
// appended, for tests.
class CHueSaturationDlg : public QDialog {
    Q_OBJECT
public:
    CHueSaturationDlg(CMavDoc& doc, std::function<void()> repaint, QWidget* parent = nullptr);

    void accept() override;

private:
    struct Values {
        int hue;
        int saturation;
        int brightness;
        bool operator==(const Values&) const = default;
    };

    Values shown() const;
    void Preview();

    CMavDoc& doc_;
    std::function<void()> repaint_;
    CSliderWithBox* hue_;
    CSliderWithBox* saturation_;
    CSliderWithBox* brightness_;
    Values previewed_{0, 0, 0};
};

} // namespace halvera
