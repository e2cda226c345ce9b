#include "acquire/ScannerMessages.h"

#include "platform/UserPrompts.h"

namespace halvera {

void ReportNoScannerDriver() {
    ShowMessage(kNoScannerDriverMessage, MessageIcon::Warning);
}

void ReportScanOutcome(const ScanOutcome& outcome) {
    if (outcome.status == ScanStatus::Failed)
        ShowMessage(kScanFailedMessage, MessageIcon::Warning);
}

} // namespace halvera
