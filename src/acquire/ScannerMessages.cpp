#include "acquire/ScannerMessages.h"

#include "platform/UserPrompts.h"

namespace halvera {

void ReportScannerProblem(const std::string& text) {
    ShowMessage(text, MessageIcon::Warning);
}

void ReportScanOutcome(const ScanOutcome& outcome) {
    if (outcome.status == ScanStatus::Failed)
        ReportScannerProblem("The scan failed: " + outcome.detail + ".");
}

} // namespace halvera
