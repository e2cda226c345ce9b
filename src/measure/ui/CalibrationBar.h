#pragma once

#include "image/AppSettings.h"
#include "image/CalibrationRecord.h"
#include "image/PixelGeometry.h"
#include "platform/SettingsStore.h"

#include <QWidget>
#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace halvera {

class CMavView;

// The "Calibrate" panel: the unit, the real lengths of the ruler's legs, the
// ruler in image pixels and the two scale factors, with OK (apply), Cancel,
// Reset, Save and Load; and "Auto", which measures the real lengths on a
// stage micrometer under the legs from the spacing of its ticks.
//
// It keeps two copies of a calibration: the working copy it shows and edits
// (changed by ruler drags, the edits, the unit list, Load, Reset and a
// preset) and the saved copy Reset and Cancel go back to (changed by OK and a
// preset). The settings change only at OK, Load and a preset. OK, Cancel,
// Reset and Load need an active view (`activeView`); Save needs none.
//
// Below them, the calibration presets kept in `presetStore`
// (CalibrationPresets.h): the list, "Save as preset…" and "Delete". The list
// shows the preset the working copy was chosen as, as "NAME (modified)" while
// the working copy differs from it, and nothing for values set otherwise.
class CCalibrationBar : public QWidget {
    Q_OBJECT
public:
    struct Copy {
        int unit = 0;
        PixelPoint origin, horizontalEnd, verticalEnd;
        int width = 0;  // |x1 - x0|
        int height = 0; // |y2 - y0|
        double realX = 0.0;
        double realY = 0.0;
    };

    CCalibrationBar(AppSettings& settings, SettingsStore& presetStore,
                    std::function<CMavView*()> activeView, QWidget* parent = nullptr);

    const Copy& working() const { return working_; }
    const Copy& saved() const { return saved_; }

    // The ruler moved: its three points in image pixels.
    void UpdateFromRuler(PixelPoint origin, PixelPoint horizontalEnd, PixelPoint verticalEnd);

    void Apply();   // OK
    void Cancel();  // Cancel
    void Restore(); // Reset
    void Save();
    void Load();
    // Auto: fits the period of the micrometer ticks under each leg of the
    // ruler (MicrometerTicks.h) and sets each leg's real size to its length
    // in periods times the typed tick spacing. A leg without a clear period
    // keeps its size, and a message names it.
    void AutoFromTicks();

    // Choosing a preset from the list: it becomes the working and the saved
    // copy and, through the settings' limits as OK stores, the calibration in
    // force under its name; a ruler on the view is laid afresh.
    void ChoosePreset(const std::string& name);
    // "Save as preset…": asks a name and keeps the working copy under it (an
    // existing name after a question). When the working copy is the
    // calibration in force, that takes the name too.
    void SaveAsPreset();
    // "Delete": removes the listed preset after a question; the calibration
    // in force keeps its values but no longer its name.
    void DeletePreset();

protected:
    // The list is read afresh whenever the panel shows: the batch tool may
    // have saved a preset meanwhile.
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    void fullRefresh();
    void showPixelValues();
    void showScaleFactors();
    void showRealSizes();
    void readUnit();
    void readRealSizes();
    // False, after saying so, while a real size field holds no number.
    bool realSizesAreNumbers();
    // The working copy as the settings would hold it.
    CalibrationRecord workingRecord() const;
    void reloadPresets();
    void showPresetState();

    AppSettings& settings_;
    SettingsStore& presetStore_;
    std::function<CMavView*()> activeView_;
    Copy working_;
    Copy saved_;

    QLabel* xRuler_ = nullptr;
    QLabel* yRuler_ = nullptr;
    QLabel* unitLabels_[4] = {};
    QComboBox* unitList_ = nullptr;
    QLineEdit* xSize_ = nullptr;
    QLineEdit* ySize_ = nullptr;
    QLineEdit* tickSpacing_ = nullptr;
    QLineEdit* startX_ = nullptr;
    QLineEdit* startY_ = nullptr;
    QLineEdit* endX_ = nullptr;
    QLineEdit* endY_ = nullptr;
    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    QComboBox* presetList_ = nullptr;
    QPushButton* deletePreset_ = nullptr;
    std::string chosenPreset_;       // the preset the working copy was chosen or saved as
    CalibrationRecord chosenRecord_; // its values
};

} // namespace halvera
