// The rules of the video dialogs and status panes, without a device.
#include "acquire/VideoTexts.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

TEST(VideoTexts, CaptureTimeNotAboveZeroBecomesOneSecond) {
    EXPECT_DOUBLE_EQ(ParseCaptureTime("2.5"), 2.5);
    EXPECT_DOUBLE_EQ(ParseCaptureTime("0"), 1.0);
    EXPECT_DOUBLE_EQ(ParseCaptureTime("-3"), 1.0);
    EXPECT_DOUBLE_EQ(ParseCaptureTime("abc"), 1.0);
    EXPECT_DOUBLE_EQ(ParseCaptureTime(""), 1.0);
    EXPECT_DOUBLE_EQ(ParseCaptureTime("inf"), 1.0);
    // As atof reads: the number at the start counts.
    EXPECT_DOUBLE_EQ(ParseCaptureTime(" 12s"), 12.0);
    EXPECT_EQ(FormatCaptureTime(60.0), "60.00");
}

TEST(VideoTexts, CaptureRateNotAboveZeroOrTextBecomes24) {
    EXPECT_DOUBLE_EQ(ParseCaptureRate("5"), 5.0);
    EXPECT_DOUBLE_EQ(ParseCaptureRate("0"), 24.0);
    EXPECT_DOUBLE_EQ(ParseCaptureRate("fast"), 24.0);
    EXPECT_DOUBLE_EQ(ParseCaptureRate("nan"), 24.0);
    EXPECT_EQ(FormatCaptureRate(3.0), "3.000000");
}

TEST(VideoTexts, PlayRateNegativeBecomesOneAndZeroIsKept) {
    EXPECT_DOUBLE_EQ(ParsePlayRate("-2"), 1.0);
    EXPECT_DOUBLE_EQ(ParsePlayRate("0"), 0.0);
    EXPECT_DOUBLE_EQ(ParsePlayRate("2.5"), 2.5);
    EXPECT_DOUBLE_EQ(ParsePlayRate("x"), 0.0);
    EXPECT_EQ(FormatPlayRate(1.0), "1.000");
}

TEST(VideoTexts, ConfirmationNamesTimeRateSourceAndFile) {
    EXPECT_EQ(CaptureConfirmationText(60.0, 3.0, "Simulated camera", "/tmp/a.avi"),
              "\nCapture time:60.00(s)\nCapture rate:3.00(fps)\nSource:Simulated camera"
              "\nFile name:/tmp/a.avi\n\nStart capture to the disc?");
}

TEST(VideoTexts, TimeLeftCountsDownAndBlankWhenOver) {
    EXPECT_DOUBLE_EQ(CaptureTimeLeft(60.0, 1500.0), 58.5);
    EXPECT_LT(CaptureTimeLeft(2.0, 2001.0), 0.0);
    EXPECT_EQ(CaptureStatusText(58.5, 3.0), "Capture time left: 58.5(s) Rate:3.0(fps)");
    EXPECT_EQ(CaptureStatusText(0.0, 3.0), " ");
    EXPECT_EQ(CaptureStatusText(-0.4, 3.0), " ");
}

TEST(VideoTexts, ProgressIsWholePercentAndBlankFromHundred) {
    int64_t percent = -1;
    EXPECT_TRUE(PlaybackProgress(999, 1000, percent));
    EXPECT_EQ(percent, 99);
    // Nanosecond positions of a long file stay exact in 64 bits.
    EXPECT_TRUE(PlaybackProgress(3'600'000'000'000, 7'200'000'000'000, percent));
    EXPECT_EQ(percent, 50);
    EXPECT_FALSE(PlaybackProgress(10, 0, percent));
    EXPECT_FALSE(PlaybackProgress(10, -5, percent));
    EXPECT_EQ(ProgressStatusText(42), "Progress: 42 %");
    EXPECT_EQ(ProgressStatusText(100), " ");
}

} // namespace
} // namespace halvera
