#pragma once

#include "platform/MoviesFolder.h"
#include "platform/SettingsStore.h"
#include "platform/TextAttributes.h"

#include <array>
#include <string>
#include <string_view>

namespace halvera {

// The section every persistent setting is stored under (the leading blank
// belongs to the name).
inline constexpr std::string_view kSettingsSection = " HLVT";

// The application's settings. The persistent ones are named as their keys in
// the settings store; Load and Save apply the limits below, and a value out of
// its range is replaced, not clamped, unless the limit says otherwise:
//
//   key               type    default      held to
//   xRealRulerData    double  100.0        > 0 else 100.0; above 2000 -> 2000.0
//   yRealRulerData    double  100.0        as xRealRulerData
//   RulerUnit         int     0            0..4 else 0
//   xPixelRulerData   int     100          <= 0 -> 100; above 2000 -> 2000
//   yPixelRulerData   int     100          as xPixelRulerData
//   RulerPreset       string  ""           -   (the preset the calibration was chosen as)
//   MagicRange        int     30           0..100 else 30
//   SignColor         int     0            -
//   PencilSize        int     8            0..100 else 6
//   ImageWidth        int     100          8..2048 else 100
//   ImageHeight       int     100          8..2048 else 100
//   MTColor1..4       int     2, 3, 4, 5   -
//   SnapToEdges       int     0            0..1 else 0
//   CaptureDevice     int     0            -
//   CaptureName       string  ""           -
//   CaptureFile       string  HLV.avi in the movies folder
//                                          empty or the old "C:\HLV.avi" -> the default
//   CaptureRate       double  3.0          > 0 else 3.0 (frames per second)
//   CaptureTimeLimit  double  60.0         > 0 else 60.0 (seconds)
//   ScannerSource     string  ""           -   (empty: the first scanner found)
//   AutosaveMinutes   int     2            0..60 else 2 (0: no autosave)
//   UndoMemory        int     512          16..65536 else 512 (megabytes)
// Reals are stored as text with eight decimals ("100.00000000"), in the C locale.
struct AppSettings {
    // Calibration ruler: real length and length in pixels along x and y.
    double xRealRulerData = 100.0;
    double yRealRulerData = 100.0;
    int RulerUnit = 0;
    int xPixelRulerData = 100;
    int yPixelRulerData = 100;
    // The name of the calibration preset these values were chosen as; empty
    // once they are set any other way.
    std::string RulerPreset;
    // Annotation tools: fill tolerance, colour (a colour reference) and pen size.
    int MagicRange = 30;
    int SignColor = 0;
    int PencilSize = 8;
    // Size of a new blank image; also set from every image created or opened.
    int ImageWidth = 100;
    int ImageHeight = 100;
    // Measurement colour indices (0 black .. 7 magenta).
    int MTColor1 = 2;
    int MTColor2 = 3;
    int MTColor3 = 4;
    int MTColor4 = 5;
    // Whether the measurement tools place clicks on the edges near them (1).
    int SnapToEdges = 0;
    // Video capture device and the file capture writes.
    int CaptureDevice = 0;
    std::string CaptureName;
    std::string CaptureFile = CaptureFileIn(MoviesFolder());
    // The scanner "Scan" opens, as the scanner library names it; chosen with
    // "Select scanner".
    std::string ScannerSource;
    // How often modified images are copied to the recovery folder, in
    // minutes; 0 turns autosave off.
    int AutosaveMinutes = 2;
    static constexpr int kMinAutosaveMinutes = 0;
    static constexpr int kMaxAutosaveMinutes = 60;
    // The memory the undo histories of all open images may hold together, in
    // megabytes; older steps move to the cache folder past it.
    int UndoMemory = kDefaultUndoMemory;
    static constexpr int kDefaultUndoMemory = 512;
    static constexpr int kMinUndoMemory = 16;
    static constexpr int kMaxUndoMemory = 65536;

    // Run-time settings (the capture timing is persisted too); values at start.
    TextAttributes textAttributes;
    int arrowSignSize = 10; // held to 10..100 at start-up
    double arrowSignAngle = 0.0;
    double captureRate = 3.0;       // frames per second
    double captureTimeLimit = 60.0; // seconds
    std::array<int, 33> outputItemOrder = DefaultOutputItemOrder();
    // What CaptureFile is when nothing (or the old default) is stored: HLV.avi
    // in the user's movies folder. The desktop program sets it from its
    // toolkit's folder before loading (UseMoviesFolder).
    std::string defaultCaptureFile = CaptureFileIn(MoviesFolder());

    // Reads every persistent setting (a missing or unreadable one takes its
    // default) and applies the limits.
    void Load(SettingsStore& store);
    // Applies the limits and writes every persistent setting.
    void Save(SettingsStore& store);

    void ApplyLimits();
    // Makes HLV.avi in `folder` the default capture file, and the capture file.
    void UseMoviesFolder(const std::string& folder);
    // The ruler limits alone; applied whenever calibration sets a ruler value.
    void ApplyRulerLimits();

    // "%.8f" in the C locale, whatever the process locale is.
    static std::string FormatRulerReal(double value);
    // Reads text as the C library's atof does in the C locale: leading blanks
    // and a sign are allowed, the longest number at the start is taken, and
    // text that does not start with a number reads as 0.
    static double ParseRulerReal(std::string_view text);
    // The capture file's default name in `folder`.
    static std::string CaptureFileIn(const std::string& folder);

private:
    static constexpr std::array<int, 33> DefaultOutputItemOrder() {
        std::array<int, 33> order{};
        for (int i = 0; i < 33; ++i)
            order[i] = i;
        return order;
    }
};

} // namespace halvera
