#pragma once

#include "image/AppSettings.h"
#include "image/PixelGeometry.h"

#include <QWidget>
#include <functional>

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
// (changed by ruler drags, the edits, the unit list, Load and Reset) and the
// saved copy Reset and Cancel go back to (changed only by OK). The settings
// change only at OK and Load. OK, Cancel, Reset and Load need an active view
// (`activeView`); Save needs none.
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

    CCalibrationBar(AppSettings& settings, std::function<CMavView*()> activeView,
                    QWidget* parent = nullptr);

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

private:
    void buildLayout();
    void fullRefresh();
    void showPixelValues();
    void showScaleFactors();
    void showRealSizes();
    void readUnit();
    void readRealSizes();

    AppSettings& settings_;
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
};

} // namespace halvera
