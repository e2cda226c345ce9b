#include "acquire/ui/ScannerCommands.h"

#include "acquire/SaneBackend.h"
#include "acquire/ScannerMessages.h"
#include "acquire/ui/FutureWatch.h"
#include "acquire/ui/ScanWindow.h"
#include "acquire/ui/SelectScannerDialog.h"
#include "platform/UserPrompts.h"

namespace halvera {

CScannerCommands::CScannerCommands(AppSettings& settings, ParentWindow parentWindow,
                                   Deliver deliver)
    : settings_(settings), parentWindow_(std::move(parentWindow)), deliver_(std::move(deliver)) {}

CScannerCommands::~CScannerCommands() {
    delete window_.data();
    thread_.reset();
}

bool CScannerCommands::canScan() const {
    return !opening_ && !window_;
}

CScanWindow* CScannerCommands::scanWindow() const {
    return window_;
}

ScannerThread& CScannerCommands::thread() {
    if (!thread_)
        thread_ = std::make_unique<ScannerThread>(MakeSaneBackend());
    return *thread_;
}

void CScannerCommands::selectScanner() {
    if (listing_)
        return;
    listing_ = true;
    Prompts().beginWaitCursor();
    WhenReady<std::vector<ScannerDevice>>(
        this, thread().listDevices(), kScannerCallTimeout,
        [this](std::optional<std::vector<ScannerDevice>> devices) {
            Prompts().endWaitCursor();
            listing_ = false;
            if (!devices || devices->empty()) {
                ReportNoScannerDriver();
                return;
            }
            CSelectScannerDialog dialog(*devices, settings_.ScannerSource, parentWindow_());
            if (dialog.exec() == QDialog::Accepted)
                settings_.ScannerSource = dialog.selectedName();
        });
}

void CScannerCommands::scan() {
    if (!canScan())
        return;
    opening_ = true;
    Prompts().beginWaitCursor();
    WhenReady<OpenedScanner>(this, thread().openDevice(settings_.ScannerSource),
                             kScannerCallTimeout, [this](std::optional<OpenedScanner> device) {
                                 Prompts().endWaitCursor();
                                 opening_ = false;
                                 if (!device)
                                     thread().closeDevice(); // once it has opened after all
                                 if (!device || !device->opened) {
                                     ReportNoScannerDriver();
                                     return;
                                 }
                                 showScanWindow(*device);
                             });
}

void CScannerCommands::showScanWindow(const OpenedScanner& device) {
    window_ = new CScanWindow(thread(), device, parentWindow_());
    window_->setOnPicture([this](PackedDib picture) { deliver_(std::move(picture)); });
    window_->show();
}

} // namespace halvera
