#pragma once

#include "acquire/ScannerThread.h"

#include <QDialog>
#include <QTimer>
#include <functional>
#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace halvera {

class CScanOptionPanel;

// The scan window of an open scanner: the device's options, a Scan button, a
// progress bar while a scan runs and Close. Each scan that brings a picture
// hands it on (the application makes a new image of it) and the window stays
// open for the next one; a failed scan says why, a cancelled one nothing. While a scan runs the
// Scan button cancels it. Closing the window cancels a running scan and closes the device and the
// library; the window then deletes itself.
//
// Every call to the scanner goes through its thread; the window only looks
// for the answers on a timer, so it never waits on the device.
class CScanWindow : public QDialog {
    Q_OBJECT
public:
    using PictureHandler = std::function<void(PackedDib picture)>;
    // Told of every option the user set, with the value the device took.
    using OptionSetHandler = std::function<void(const ScanSetting& setting)>;

    CScanWindow(ScannerThread& scanner, const OpenedScanner& device, QWidget* parent = nullptr);
    ~CScanWindow() override;

    void setOnPicture(PictureHandler handler) { onPicture_ = std::move(handler); }
    void setOnOptionSet(OptionSetHandler handler) { onOptionSet_ = std::move(handler); }

    // Whether a scan or an option change is waiting for the scanner.
    bool busy() const { return scanning() || settingOption_; }
    bool scanning() const { return scan_.has_value(); }

    CScanOptionPanel* options() const { return options_; }
    QPushButton* scanButton() const { return scanButton_; }
    QPushButton* closeButton() const { return closeButton_; }
    QProgressBar* progressBar() const { return progress_; }

public slots:
    // Starts a scan, or cancels the running one.
    void scanOrCancel();
    void reject() override;

private:
    void startScan();
    void watchScan();
    void finishScan(ScanOutcome outcome);
    void setOption(const std::string& name, const ScanValue& value);
    void reportOptionSet(const std::string& name, const std::vector<ScanOption>& options);
    void updateControls();
    void endSession();

    ScannerThread& scanner_;
    CScanOptionPanel* options_;
    QProgressBar* progress_;
    QPushButton* scanButton_;
    QPushButton* closeButton_;
    QTimer scanWatch_;
    std::optional<ScanJob> scan_;
    bool settingOption_ = false;
    bool sessionOpen_ = true;
    PictureHandler onPicture_;
    OptionSetHandler onOptionSet_;
};

} // namespace halvera
