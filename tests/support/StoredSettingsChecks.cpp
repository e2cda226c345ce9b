#include "StoredSettingsChecks.h"

#include <gtest/gtest.h>

namespace halvera::testing {

void ExpectDefaultStoredSettings(const AppSettings& settings) {
    EXPECT_EQ(settings.ImageWidth, 100);
    EXPECT_EQ(settings.ImageHeight, 100);
    EXPECT_EQ(settings.xRealRulerData, 100.0);
    EXPECT_EQ(settings.yRealRulerData, 100.0);
    EXPECT_EQ(settings.xPixelRulerData, 100);
    EXPECT_EQ(settings.yPixelRulerData, 100);
    EXPECT_EQ(settings.RulerUnit, 0);
    EXPECT_EQ(settings.PencilSize, 8);
    EXPECT_EQ(settings.MagicRange, 30);
    EXPECT_EQ(settings.SignColor, 0);
    EXPECT_EQ(settings.MTColor1, 2);
    EXPECT_EQ(settings.MTColor2, 3);
    EXPECT_EQ(settings.MTColor3, 4);
    EXPECT_EQ(settings.MTColor4, 5);
    EXPECT_EQ(settings.SnapToEdges, 0);
    EXPECT_EQ(settings.CaptureDevice, 0);
    EXPECT_EQ(settings.CaptureName, "");
    EXPECT_EQ(settings.CaptureFile, settings.defaultCaptureFile);
    EXPECT_TRUE(settings.CaptureFile.ends_with("/HLV.avi")) << settings.CaptureFile;
    EXPECT_EQ(settings.ScannerSource, "");
    EXPECT_EQ(settings.UndoMemory, 512);
    EXPECT_EQ(settings.captureRate, 3.0);
    EXPECT_EQ(settings.captureTimeLimit, 60.0);
}

void ExpectSameStoredSettings(const AppSettings& actual, const AppSettings& expected) {
    EXPECT_EQ(actual.ImageWidth, expected.ImageWidth);
    EXPECT_EQ(actual.ImageHeight, expected.ImageHeight);
    EXPECT_EQ(actual.xRealRulerData, expected.xRealRulerData);
    EXPECT_EQ(actual.yRealRulerData, expected.yRealRulerData);
    EXPECT_EQ(actual.xPixelRulerData, expected.xPixelRulerData);
    EXPECT_EQ(actual.yPixelRulerData, expected.yPixelRulerData);
    EXPECT_EQ(actual.RulerUnit, expected.RulerUnit);
    EXPECT_EQ(actual.PencilSize, expected.PencilSize);
    EXPECT_EQ(actual.MagicRange, expected.MagicRange);
    EXPECT_EQ(actual.SignColor, expected.SignColor);
    EXPECT_EQ(actual.MTColor1, expected.MTColor1);
    EXPECT_EQ(actual.MTColor2, expected.MTColor2);
    EXPECT_EQ(actual.MTColor3, expected.MTColor3);
    EXPECT_EQ(actual.MTColor4, expected.MTColor4);
    EXPECT_EQ(actual.SnapToEdges, expected.SnapToEdges);
    EXPECT_EQ(actual.CaptureDevice, expected.CaptureDevice);
    EXPECT_EQ(actual.CaptureName, expected.CaptureName);
    EXPECT_EQ(actual.CaptureFile, expected.CaptureFile);
    EXPECT_EQ(actual.ScannerSource, expected.ScannerSource);
    EXPECT_EQ(actual.UndoMemory, expected.UndoMemory);
    EXPECT_EQ(actual.captureRate, expected.captureRate);
    EXPECT_EQ(actual.captureTimeLimit, expected.captureTimeLimit);
}

} // namespace halvera::testing
