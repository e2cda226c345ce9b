#pragma once

#include <functional>

namespace halvera {

struct AppSettings;

// Who is told when the calibration in force of one settings object changes.
// RulerCalibration tells every change it makes (its values or its preset's
// name), so each way of changing the calibration reaches the watchers without
// knowing them: the Calibrate panel, a preset, a .Cal file, a picture's own
// calibration, a recovered image. The main window watches its settings to
// keep the status bar and the results panel current.
//
// Watchers are called on the thread that made the change, after it.
class CalibrationWatch {
public:
    CalibrationWatch(const AppSettings& settings, std::function<void()> changed);
    ~CalibrationWatch();
    CalibrationWatch(const CalibrationWatch&) = delete;
    CalibrationWatch& operator=(const CalibrationWatch&) = delete;

private:
    const AppSettings& settings_;
    std::function<void()> changed_;
    friend void TellCalibrationChanged(const AppSettings& settings);
};

// Calls every watcher of `settings`.
void TellCalibrationChanged(const AppSettings& settings);

} // namespace halvera
