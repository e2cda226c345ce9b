#pragma once

#include <QString>

class QDialog;
class QGridLayout;

namespace halvera {

class CSliderWithBox;

// Lays out an adjustment dialog: rows of caption, slider and number box,
// inside a titled group when `group` is not empty, then OK and Cancel.
class AdjustmentDialogLayout {
public:
    AdjustmentDialogLayout(QDialog& dialog, const QString& group);

    CSliderWithBox* addSlider(const QString& caption, const QString& name, int minimum, int maximum,
                              int tickInterval);
    void addButtons();

private:
    QDialog& dialog_;
    QGridLayout* rows_;
    int rowCount_ = 0;
};

} // namespace halvera
