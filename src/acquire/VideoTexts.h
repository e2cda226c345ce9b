#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace halvera {

// The numbers the video dialogs and status panes show and read. Decimal
// numbers are written and read in the C locale whatever the desktop's locale
// is, so a German desktop still shows "60.00".

// "%0.<decimals>f" in the C locale.
std::string FormatFixed(double value, int decimals);

// The "Capture time" dialog: shown with two decimals; any text is read as
// atof reads it, and a result not above 0 (or not finite) becomes 1.0 s.
std::string FormatCaptureTime(double seconds);
double ParseCaptureTime(std::string_view text);

// The "Capture rate" dialog: shown with six decimals; a result not above 0
// (or not finite) becomes 24.0 frames per second.
std::string FormatCaptureRate(double rate);
double ParseCaptureRate(std::string_view text);

// The "Play rate " dialog: shown with three decimals; a negative result (or
// one that is not finite) becomes 1.0, and 0 is kept.
std::string FormatPlayRate(double rate);
double ParsePlayRate(std::string_view text);

// The question asked before recording starts.
std::string CaptureConfirmationText(double seconds, double rate, std::string_view source,
                                    std::string_view file);

// A file the player cannot play: its name and the framework's reason.
std::string CannotPlayMessage(std::string_view path, std::string_view reason);

// Seconds left of a capture limited to `limitSeconds` after `elapsedMs`
// milliseconds; negative once the limit has passed.
double CaptureTimeLeft(double limitSeconds, double elapsedMs);

// Status pane 1 during capture: the time left and the rate while time is
// left, else " ".
std::string CaptureStatusText(double secondsLeft, double rate);

// Playback progress in whole percent: position x 100 div duration in 64-bit
// integers; nothing when the duration is not above 0.
bool PlaybackProgress(int64_t position, int64_t duration, int64_t& percent);
// Status pane 2: "Progress: N %" below 100, else " ".
std::string ProgressStatusText(int64_t percent);

} // namespace halvera
