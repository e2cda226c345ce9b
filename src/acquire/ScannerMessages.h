#pragma once

#include "acquire/ScannerBackend.h"

#include <string>

namespace halvera {

// Said when the scanner library does not answer within its time.
inline constexpr const char* kScannerSilentMessage = "The scanner did not answer.";

// Shows a scanner's problem (a sentence from the scanner layer) with the
// warning icon.
void ReportScannerProblem(const std::string& text);

// Says what became of a scan that did not bring a picture: "The scan failed:"
// and the reason (warning icon) for a failure; nothing for a cancelled scan.
void ReportScanOutcome(const ScanOutcome& outcome);

} // namespace halvera
