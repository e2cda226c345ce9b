#include "app/ui/AutosaveService.h"

#include "app/RecoverySnapshot.h"
#include "app/ui/ChildFrame.h"

#include <filesystem>

namespace halvera {

CAutosaveService::CAutosaveService(const std::string& folder, std::chrono::milliseconds interval,
                                   QObject* parent)
    : QObject(parent), session_(folder) {
    connect(&timer_, &QTimer::timeout, this, &CAutosaveService::autosaveNow);
    setInterval(interval);
}

CAutosaveService::~CAutosaveService() {
    // Windows still open here are closed without a clean exit's removal
    // (the program is going down some other way): their copies stay.
    timer_.stop();
    for (auto& [window, copy] : copies_)
        disconnect(window, nullptr, this, nullptr);
}

void CAutosaveService::setInterval(std::chrono::milliseconds interval) {
    if (interval.count() <= 0) {
        timer_.stop();
        return;
    }
    timer_.start(interval);
}

void CAutosaveService::watch(CChildFrame* window) {
    copies_.emplace(window, Copy{session_.CopyFile(nextSerial_++), false});
    connect(window, &CChildFrame::saved, this, [this, window] { removeCopy(window); });
    connect(window, &QObject::destroyed, this, [this, window] {
        removeCopy(window);
        copies_.erase(window);
    });
}

void CAutosaveService::adopt(CChildFrame* window, const std::string& copyFile) {
    watch(window);
    Copy& copy = copies_.at(window);
    std::error_code error;
    std::filesystem::rename(copyFile, copy.file, error);
    copy.written = !error;
}

void CAutosaveService::autosaveNow() {
    // A round still being written is not queued behind: its snapshots would
    // only pile up in memory.
    if (writer_.Busy())
        return;
    for (auto& [window, copy] : copies_) {
        if (!NeedsRecoveryCopy(window->document())) {
            removeCopy(window);
            continue;
        }
        if (std::optional<RecoverySnapshot> snapshot = TakeRecoverySnapshot(window->document())) {
            writer_.Write(copy.file, std::move(*snapshot));
            copy.written = true;
        }
    }
}

std::string CAutosaveService::copyFileOf(CChildFrame* window) const {
    const auto found = copies_.find(window);
    return found == copies_.end() ? std::string() : found->second.file;
}

void CAutosaveService::removeCopy(CChildFrame* window) {
    Copy& copy = copies_.at(window);
    if (!copy.written)
        return;
    writer_.Remove(copy.file);
    copy.written = false;
}

} // namespace halvera
