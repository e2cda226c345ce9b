#pragma once

#include "acquire/ScannerThread.h"
#include "image/AppSettings.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class QWidget;

namespace halvera {

class CScanWindow;

// The application's scanner, alive as long as the program: "Select scanner"
// chooses the default source, kept in the settings (ScannerSource); "Scan"
// opens it (the first device when none was chosen) with a scan window, whose
// every picture is handed to `deliver` (the application's new image from a
// picture). The options set in a scan window are remembered per device while
// the program runs and set again when the device is opened the next time.
// The scanner library runs on a thread of its own, started at the first use.
class CScannerCommands : public QObject {
    Q_OBJECT
public:
    using Deliver = std::function<void(PackedDib picture)>;
    using ParentWindow = std::function<QWidget*()>;

    CScannerCommands(AppSettings& settings, ParentWindow parentWindow, Deliver deliver);
    // Closes the scan window (cancelling its scan) and ends the scanner thread.
    ~CScannerCommands() override;

    // Select scanner: lists the devices, then asks with the "Select scanner"
    // dialog; OK keeps the choice, Cancel the previous one. Without a device
    // it says why (the library's reason, or "No scanner was found.").
    void selectScanner();
    // Scan: opens the default source and shows its scan window; when that
    // fails it says why (the library's reason).
    void scan();
    // Scan is possible while no scan window is open or opening.
    bool canScan() const;

    // The open scan window, or null.
    CScanWindow* scanWindow() const;

private:
    ScannerThread& thread();
    void showScanWindow(const OpenedScanner& device);
    void remember(const std::string& device, const ScanSetting& setting);

    AppSettings& settings_;
    ParentWindow parentWindow_;
    Deliver deliver_;
    std::unique_ptr<ScannerThread> thread_;
    QPointer<CScanWindow> window_;
    ScanSettingsByDevice remembered_;
    bool opening_ = false;
    bool listing_ = false;
};

} // namespace halvera
