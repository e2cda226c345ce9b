#pragma once

#include "acquire/ScannerBackend.h"

namespace halvera {

// There is no scanner library, it lists no device, or the device does not open.
inline constexpr const char* kNoScannerDriverMessage = "No scanner driver installed!";
// A transfer failed.
inline constexpr const char* kScanFailedMessage = "Out of memory!";

// Shows "No scanner driver installed!" with the warning icon.
void ReportNoScannerDriver();

// Says what became of a scan that did not bring a picture: "Out of memory!"
// (warning icon) for a failure; nothing for a cancelled scan.
void ReportScanOutcome(const ScanOutcome& outcome);

} // namespace halvera
