// The calibration's watchers hear of every change to the calibration in force
// of the settings they watch, once per change, and of nothing else.
#include "measure/CalibrationWatch.h"

#include "image/AppSettings.h"
#include "measure/CalFile.h"
#include "measure/RulerCalibration.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

TEST(CalibrationWatch, EveryChangeOfTheCalibrationInForceIsToldOnce) {
    AppSettings settings;
    int told = 0;
    const CalibrationWatch watch(settings, [&] { ++told; });
    RulerCalibration calibration(settings);

    calibration.SetUnit(1);
    EXPECT_EQ(told, 1);
    calibration.SetRealSize(20.0, 25.0);
    EXPECT_EQ(told, 2);
    calibration.SetPixelSize(50, 60);
    EXPECT_EQ(told, 3);
    StoreCalibration(calibration, {2, 5.0, 6.0, 7, 8});
    EXPECT_EQ(told, 4) << "a whole record is one change";
    calibration.SetPresetName("10x objective");
    EXPECT_EQ(told, 5);
    StoreNamedCalibration(calibration, {{3, 1.0, 1.0, 10, 10}, "20x objective"});
    EXPECT_EQ(told, 7) << "the values, then the name";
    EXPECT_EQ(CalibrationInForce(calibration), (CalibrationRecord{3, 1.0, 1.0, 10, 10}));
}

TEST(CalibrationWatch, WhatChangesNothingIsNotTold) {
    AppSettings settings;
    RulerCalibration calibration(settings);
    calibration.SetPresetName("A");
    int told = 0;
    const CalibrationWatch watch(settings, [&] { ++told; });
    calibration.SetPresetName("A");
    EXPECT_EQ(told, 0);
    // The same values again still forget the preset's name: that is a change.
    StoreCalibration(calibration, CalibrationInForce(calibration));
    EXPECT_EQ(told, 1);
    EXPECT_EQ(calibration.presetName(), "");
    StoreCalibration(calibration, CalibrationInForce(calibration));
    calibration.SetRealSize(3000.0, 3000.0);
    calibration.SetRealSize(2500.0, 2000.0); // both held to 2000
    EXPECT_EQ(told, 2);
}

TEST(CalibrationWatch, OnlyTheWatchedSettingsAndOnlyWhileTheWatchLives) {
    AppSettings watched;
    AppSettings other;
    int told = 0;
    {
        const CalibrationWatch watch(watched, [&] { ++told; });
        const CalibrationWatch second(watched, [&] { told += 10; });
        RulerCalibration(other).SetUnit(2);
        EXPECT_EQ(told, 0);
        RulerCalibration(watched).SetUnit(2);
        EXPECT_EQ(told, 11) << "every watcher of the settings";
    }
    RulerCalibration(watched).SetUnit(3);
    EXPECT_EQ(told, 11);
}

} // namespace
} // namespace halvera
