#pragma once

#include "view/PaintCanvas.h"

#include <QDialog>

namespace halvera {

struct AppSettings;
class CSliderWithBox;
class CSignPaletteWidget;

// "Sign setting": the annotation tools' colour (a palette of swatches with a
// preview), brush size ("Tool size") and fill tolerance ("Tolarence"), both
// 0..100. OK stores SignColor, PencilSize and MagicRange; Cancel stores
// nothing.
class CSignSettingDlg : public QDialog {
    Q_OBJECT
public:
    CSignSettingDlg(AppSettings& settings, QWidget* parent = nullptr);

    // The colour chosen so far.
    ColourRef colour() const;

    void accept() override;

private:
    AppSettings& settings_;
    CSignPaletteWidget* palette_;
    CSliderWithBox* size_;
    CSliderWithBox* tolerance_;
};

// Opens the dialog on the application's settings (the Sign setting command).
void RunSignSettingDialog(AppSettings& settings, QWidget* parent);

} // namespace halvera
