#pragma once

#include "app/AutosaveWriter.h"
#include "app/RecoverySession.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <map>
#include <string>

namespace halvera {

class CChildFrame;

// Autosave: every interval, each image window whose image needs a recovery
// copy (NeedsRecoveryCopy) has a snapshot taken here, in the window thread,
// and written by the worker to this instance's copy in the recovery folder.
// A copy is removed when its image is saved, when its window closes (after
// the user's answer), and when its image no longer needs one. Destroying the
// service (a clean exit, after every window has closed) finishes the writes
// and ends the session, so nothing is offered at the next start.
class CAutosaveService : public QObject {
    Q_OBJECT
public:
    // `interval` zero: no autosave until setInterval gives one.
    CAutosaveService(const std::string& folder, std::chrono::milliseconds interval,
                     QObject* parent = nullptr);
    ~CAutosaveService() override;

    void setInterval(std::chrono::milliseconds interval);
    bool running() const { return timer_.isActive(); }

    // Keeps `window`'s image in the recovery folder from now on.
    void watch(CChildFrame* window);
    // Makes `copyFile`, a copy an ended instance left, the copy of `window`
    // (moved, so the image is never without one), then watches it.
    void adopt(CChildFrame* window, const std::string& copyFile);
    // One autosave round now.
    void autosaveNow();

    // The file that holds `window`'s copy, whether written yet or not.
    std::string copyFileOf(CChildFrame* window) const;
    const std::string& folder() const { return session_.folder(); }
    AutosaveWriter& writer() { return writer_; }

private:
    struct Copy {
        std::string file;
        bool written = false;
    };
    void removeCopy(CChildFrame* window);

    RecoverySession session_;
    AutosaveWriter writer_;
    QTimer timer_;
    std::map<CChildFrame*, Copy> copies_;
    int nextSerial_ = 1;
};

} // namespace halvera
