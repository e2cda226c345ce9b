#include "measure/CalibrationPresets.h"

#include "image/AppSettings.h"
#include "measure/CalFile.h"
#include "measure/RulerCalibration.h"
#include "platform/MemorySettingsStore.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

TEST(CalibrationPresets, RoundTripThroughTheSettingsStore) {
    MemorySettingsStore store;
    CalibrationPresets presets;
    presets.put("10x objective", {0, 20.0, 25.0, 100, 100});
    presets.put("odd | 50% \"name\", ünïcode", {4, 0.125, 3.5, 7, 2000});
    presets.Save(store);

    EXPECT_EQ(store.readString(kSettingsSection, "RulerPreset1"),
              "0|20.00000000|25.00000000|100|100|10x objective");
    const CalibrationPresets loaded = CalibrationPresets::Load(store);
    EXPECT_EQ(loaded.list(), presets.list());
}

TEST(CalibrationPresets, PutReplacesInPlaceAndRemoveForgets) {
    CalibrationPresets presets;
    presets.put("A", {0, 10.0, 10.0, 100, 100});
    presets.put("B", {1, 10.0, 10.0, 100, 100});
    presets.put("A", {2, 30.0, 30.0, 100, 100});
    ASSERT_EQ(presets.list().size(), 2u);
    EXPECT_EQ(presets.list()[0], (CalibrationPreset{"A", {2, 30.0, 30.0, 100, 100}}));
    EXPECT_TRUE(presets.remove("A"));
    EXPECT_FALSE(presets.remove("A"));
    EXPECT_EQ(presets.find("A"), std::nullopt);
    EXPECT_EQ(presets.find("B")->record.unit, 1);
}

TEST(CalibrationPresets, RecordsKeepTheCalibrationsLimits) {
    CalibrationPresets presets;
    presets.put("wild", {9, -1.0, 5000.0, 0, 3000});
    EXPECT_EQ(presets.find("wild")->record, (CalibrationRecord{0, 100.0, 2000.0, 100, 2000}));
}

TEST(CalibrationPresets, UnreadableEntriesAreSkipped) {
    MemorySettingsStore store;
    store.writeInt(kSettingsSection, "RulerPresetCount", 4);
    store.writeString(kSettingsSection, "RulerPreset1", "0|1|1|1|1|good");
    store.writeString(kSettingsSection, "RulerPreset2", "0|1|1|1|bad count");
    store.writeString(kSettingsSection, "RulerPreset3", "x|1|1|1|1|bad unit");
    store.writeString(kSettingsSection, "RulerPreset4", "0|1|1|1|1|%G0");
    const CalibrationPresets loaded = CalibrationPresets::Load(store);
    ASSERT_EQ(loaded.list().size(), 1u);
    EXPECT_EQ(loaded.list()[0].name, "good");
}

// Choosing a preset and editing the calibration in force afterwards leaves
// the stored preset as it was.
TEST(CalibrationPresets, ChoosingAndEditingNeverChangesTheStoredValues) {
    MemorySettingsStore store;
    CalibrationPresets presets;
    presets.put("10x", {0, 20.0, 20.0, 100, 100});
    presets.put("4x", {0, 50.0, 50.0, 100, 100});
    presets.Save(store);

    AppSettings settings;
    RulerCalibration calibration(settings);
    const CalibrationPresets stored = CalibrationPresets::Load(store);
    for (const CalibrationPreset& preset : stored.list()) {
        StoreNamedCalibration(calibration, {preset.record, preset.name});
        EXPECT_EQ(calibration.presetName(), preset.name);
        calibration.SetRealSize(7.0, 7.0);
        EXPECT_EQ(calibration.presetName(), "");
    }
    EXPECT_EQ(CalibrationPresets::Load(store), presets);
}

TEST(TrimmedPresetName, DropsBlanksAtTheEnds) {
    EXPECT_EQ(TrimmedPresetName("  10x objective \t"), "10x objective");
    EXPECT_EQ(TrimmedPresetName(" \t "), "");
}

} // namespace
} // namespace halvera
