#include "measure/RulerCalibration.h"

#include "measure/MeasureNumber.h"
#include "platform/MemorySettingsStore.h"

#include <gtest/gtest.h>
#include <limits>

namespace halvera {
namespace {

TEST(RulerCalibration, FreshSettingsGiveUnitScalesInMicrometres) {
    MemorySettingsStore store;
    AppSettings settings;
    settings.Load(store);
    const RulerCalibration calibration(settings);

    EXPECT_EQ(calibration.unitName(), "um");
    EXPECT_EQ(FormatDecimals(calibration.scale().x, 6), "1.000000");
    EXPECT_EQ(FormatDecimals(calibration.scale().y, 6), "1.000000");
}

TEST(RulerCalibration, UnitNamesFollowTheListAndAnUnknownIndexNamesTheFirst) {
    const char* names[] = {"um", "mm", "cm", "dcm", "inch"};
    for (int unit = 0; unit < kRulerUnitCount; ++unit)
        EXPECT_EQ(RulerUnitName(unit), names[unit]);
    EXPECT_EQ(RulerUnitName(5), "um");
    EXPECT_EQ(RulerUnitName(-1), "um");
}

TEST(RulerCalibration, SettersValidateWhatTheyStore) {
    AppSettings settings;
    RulerCalibration calibration(settings);

    calibration.SetUnit(3);
    EXPECT_EQ(settings.RulerUnit, 3);
    calibration.SetUnit(7);
    EXPECT_EQ(settings.RulerUnit, 0);

    calibration.SetRealSize(3000.0, 0.5);
    EXPECT_EQ(settings.xRealRulerData, 2000.0);
    EXPECT_EQ(settings.yRealRulerData, 0.5);
    calibration.SetRealSize(0.0, -4.0);
    EXPECT_EQ(settings.xRealRulerData, 100.0);
    EXPECT_EQ(settings.yRealRulerData, 100.0);
    calibration.SetRealSize(std::numeric_limits<double>::quiet_NaN(), 2000.0);
    EXPECT_EQ(settings.xRealRulerData, 100.0);
    EXPECT_EQ(settings.yRealRulerData, 2000.0);

    calibration.SetPixelSize(0, 2001);
    EXPECT_EQ(settings.xPixelRulerData, 100);
    EXPECT_EQ(settings.yPixelRulerData, 2000);
    calibration.SetPixelSize(1, -3);
    EXPECT_EQ(settings.xPixelRulerData, 1);
    EXPECT_EQ(settings.yPixelRulerData, 100);
}

TEST(RulerCalibration, ScaleIsRealPerPixelReadAfreshFromTheSettings) {
    AppSettings settings;
    RulerCalibration calibration(settings);
    calibration.SetRealSize(50.0, 300.0);
    calibration.SetPixelSize(200, 100);
    EXPECT_EQ(calibration.scale(), (MeasureScale{0.25, 3.0}));

    settings.xRealRulerData = 400.0; // a change made elsewhere shows at once
    EXPECT_EQ(calibration.scale().x, 2.0);
}

TEST(RulerCalibration, ScaleFallsBackToOneWhenEitherPixelSizeIsNotPositive) {
    EXPECT_EQ(ScaleOf(50.0, 30.0, 0, 10), (MeasureScale{1.0, 1.0}));
    EXPECT_EQ(ScaleOf(50.0, 30.0, 10, -1), (MeasureScale{1.0, 1.0}));
    EXPECT_EQ(ScaleOf(50.0, 30.0, 10, 10), (MeasureScale{5.0, 3.0}));
}

TEST(MeasureNumber, ThreeDecimalsWithAPointInAnyLocale) {
    EXPECT_EQ(FormatMeasureValue(50.0), "50.000");
    EXPECT_EQ(FormatMeasureValue(7.0710678), "7.071");
    EXPECT_EQ(FormatMeasureValue(-50.0), "-50.000");
    EXPECT_EQ(FormatMeasureValue(0.0005), "0.001") << "0.0005 is stored a hair above";
    EXPECT_EQ(FormatDecimals(1.0 / 3.0, 6), "0.333333");
}

} // namespace
} // namespace halvera
