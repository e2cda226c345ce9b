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
    WhenReady<ScannerDeviceList>(this, thread().listDevices(), kScannerCallTimeout,
                                 [this](std::optional<ScannerDeviceList> list) {
                                     Prompts().endWaitCursor();
                                     listing_ = false;
                                     if (!list) {
                                         ReportScannerProblem(kScannerSilentMessage);
                                         return;
                                     }
                                     if (list->devices.empty()) {
                                         ReportScannerProblem(list->error);
                                         return;
                                     }
                                     CSelectScannerDialog dialog(
                                         list->devices, settings_.ScannerSource, parentWindow_());
                                     if (dialog.exec() == QDialog::Accepted)
                                         settings_.ScannerSource = dialog.selectedName();
                                 });
}

void CScannerCommands::scan() {
    if (!canScan())
        return;
    opening_ = true;
    Prompts().beginWaitCursor();
    WhenReady<OpenedScanner>(this, thread().openDevice(settings_.ScannerSource, remembered_),
                             kScannerCallTimeout, [this](std::optional<OpenedScanner> device) {
                                 Prompts().endWaitCursor();
                                 opening_ = false;
                                 if (!device) {
                                     thread().closeDevice(); // once it has opened after all
                                     ReportScannerProblem(kScannerSilentMessage);
                                     return;
                                 }
                                 if (!device->opened) {
                                     ReportScannerProblem(device->error);
                                     return;
                                 }
                                 showScanWindow(*device);
                             });
}

void CScannerCommands::showScanWindow(const OpenedScanner& device) {
    window_ = new CScanWindow(thread(), device, parentWindow_());
    window_->setOnPicture([this](PackedDib picture) { deliver_(std::move(picture)); });
    window_->setOnOptionSet(
        [this, name = device.name](const ScanSetting& setting) { remember(name, setting); });
    window_->show();
}

void CScannerCommands::remember(const std::string& device, const ScanSetting& setting) {
    // The last value of each option counts, set again in the order of the
    // last changes: a mode set after the resolution may change the resolution.
    std::vector<ScanSetting>& settings = remembered_[device];
    std::erase_if(settings, [&](const ScanSetting& old) { return old.name == setting.name; });
    settings.push_back(setting);
}

} // namespace halvera
