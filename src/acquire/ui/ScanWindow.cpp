#include "acquire/ui/ScanWindow.h"

#include "acquire/ScannerMessages.h"
#include "acquire/ui/FutureWatch.h"
#include "acquire/ui/ScanOptionPanel.h"

#include <QDialogButtonBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace halvera {

namespace {

constexpr int kProgressSteps = 1000;

} // namespace

CScanWindow::CScanWindow(ScannerThread& scanner, const OpenedScanner& device, QWidget* parent)
    : QDialog(parent), scanner_(scanner), options_(new CScanOptionPanel),
      progress_(new QProgressBar(this)), scanButton_(new QPushButton(QStringLiteral("Scan"), this)),
      closeButton_(new QPushButton(QStringLiteral("Close"), this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("Scan - ") + QString::fromStdString(device.name));
    scanButton_->setObjectName(QStringLiteral("scan"));
    closeButton_->setObjectName(QStringLiteral("close"));
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, kProgressSteps);
    progress_->setVisible(false);

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(options_);
    options_->showOptions(device.options);
    options_->setOnChange(
        [this](const std::string& name, const ScanValue& value) { setOption(name, value); });

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(scanButton_, QDialogButtonBox::ActionRole);
    buttons->addButton(closeButton_, QDialogButtonBox::RejectRole);
    // Enter in an option's field applies that option and scans nothing.
    scanButton_->setAutoDefault(false);
    closeButton_->setAutoDefault(false);
    connect(scanButton_, &QPushButton::clicked, this, &CScanWindow::scanOrCancel);
    connect(closeButton_, &QPushButton::clicked, this, &CScanWindow::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(progress_);
    layout->addWidget(buttons);
    resize(460, 520);

    scanWatch_.setInterval(kScannerPollInterval);
    connect(&scanWatch_, &QTimer::timeout, this, &CScanWindow::watchScan);
}

CScanWindow::~CScanWindow() {
    endSession();
}

void CScanWindow::scanOrCancel() {
    if (scan_)
        scan_->progress->cancelRequested = true;
    else if (!settingOption_)
        startScan();
}

void CScanWindow::startScan() {
    scan_ = scanner_.scan();
    progress_->setValue(0);
    progress_->setVisible(true);
    updateControls();
    scanWatch_.start();
}

void CScanWindow::watchScan() {
    if (!scan_)
        return;
    ScanJob& job = *scan_;
    const int64_t expected = job.progress->bytesExpected;
    if (expected > 0) {
        progress_->setRange(0, kProgressSteps);
        progress_->setValue(static_cast<int>(job.progress->bytesRead * kProgressSteps / expected));
    } else {
        progress_->setRange(0, 0); // size not known: a busy bar
    }
    if (std::optional<ScanOutcome> outcome = PollScan(job))
        finishScan(std::move(*outcome));
}

void CScanWindow::finishScan(ScanOutcome outcome) {
    scanWatch_.stop();
    scan_.reset();
    progress_->setVisible(false);
    updateControls();
    if (outcome.status == ScanStatus::Done && onPicture_)
        onPicture_(std::move(outcome.picture));
    else
        ReportScanOutcome(outcome);
}

void CScanWindow::setOption(const std::string& name, const ScanValue& value) {
    if (busy())
        return;
    settingOption_ = true;
    updateControls();
    WhenReady<SetOptionResult>(this, scanner_.setOption(name, value), kScannerCallTimeout,
                               [this, name](std::optional<SetOptionResult> result) {
                                   settingOption_ = false;
                                   if (!result) {
                                       ReportScannerProblem(kScannerSilentMessage);
                                       reject();
                                       return;
                                   }
                                   // A refused value shows as the device kept it.
                                   options_->showOptions(result->options);
                                   updateControls();
                                   if (result->error.empty())
                                       reportOptionSet(name, result->options);
                               });
}

void CScanWindow::reportOptionSet(const std::string& name, const std::vector<ScanOption>& options) {
    const ScanOption* option = FindScanOption(options, name);
    // A button's press is an action, not a setting to keep.
    if (onOptionSet_ && option && option->type != ScanValueType::Button)
        onOptionSet_({name, option->value});
}

void CScanWindow::updateControls() {
    scanButton_->setText(scanning() ? QStringLiteral("Cancel") : QStringLiteral("Scan"));
    scanButton_->setEnabled(!settingOption_);
    options_->setEnabled(!busy());
}

void CScanWindow::reject() {
    endSession();
    QDialog::reject();
}

void CScanWindow::endSession() {
    if (!sessionOpen_)
        return;
    sessionOpen_ = false;
    scanWatch_.stop();
    if (scan_)
        scan_->progress->cancelRequested = true;
    scan_.reset();
    // Queued behind the scan, which the request above ends.
    scanner_.closeDevice();
}

} // namespace halvera
