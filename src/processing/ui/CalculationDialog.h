#pragma once

#include "processing/ImageArithmetic.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace halvera {

class CMavDoc;

// "Calculation": combines the active image with an open image (or its own
// copy taken when the command began) by one of the fifteen arithmetic
// operations, previewing the result in the active image.
//
// Every change of a combo reads all controls and recomputes the preview from
// the working copy; editing the transparency or the shifts, or clicking the
// ROI box, takes effect at the next combo change. OK keeps the last preview;
// undoing the preview on Cancel is the caller's (the view's dialog command).
//
// Controls carry object names for tests: "outputChannel", "input",
// "inputChannel", "calculate", "roi", "transparency", "xShift", "yShift".
class CCalculationDialog : public QDialog {
    Q_OBJECT
public:
    // `documents` are the open images in the application's order, listed in
    // the Input combo; `repaint` shows the active image after a preview.
    CCalculationDialog(CMavDoc& active, std::vector<CMavDoc*> documents,
                       std::function<void()> repaint, QWidget* parent = nullptr);

    // The settings of the last preview.
    const ArithmeticSettings& settings() const { return settings_; }

    // Checks the edit fields (a message and no closing when one is wrong);
    // the image keeps the last preview.
    void accept() override;

private:
    struct Edits {
        int transparency = 100;
        int xShift = 0;
        int yShift = 0;
    };

    QComboBox* AddCombo(const char* name);
    // The three edit fields, validated; nothing after a message.
    std::optional<Edits> ReadEdits();
    // Every control into settings_; false after a validation message.
    bool ReadControls();
    void Preview();

    CMavDoc& active_;
    std::vector<CMavDoc*> documents_;
    std::function<void()> repaint_;
    ArithmeticSettings settings_;
    QComboBox* output_ = nullptr;
    QComboBox* outputChannel_ = nullptr;
    QComboBox* input_ = nullptr;
    QComboBox* inputChannel_ = nullptr;
    QComboBox* calculate_ = nullptr;
    QCheckBox* roi_ = nullptr;
    QLineEdit* transparency_ = nullptr;
    QLineEdit* xShift_ = nullptr;
    QLineEdit* yShift_ = nullptr;
};

} // namespace halvera
