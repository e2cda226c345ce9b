#pragma once

#include "acquire/VideoSystem.h"
#include "acquire/ui/VideoWindow.h"

#include <QPointer>
#include <memory>
#include <string>

class QWidget;

namespace halvera {

struct AppSettings;

// Recording of the chosen video source to the capture file, shown in the
// "Capture Window" while it runs. It takes the source, file, rate and time
// limit from the settings when it is created; the recording is finished (the
// file complete) when it is torn down or deleted.
class CVideoCapture {
public:
    CVideoCapture(const AppSettings& settings, QWidget* owner);
    ~CVideoCapture();
    CVideoCapture(const CVideoCapture&) = delete;
    CVideoCapture& operator=(const CVideoCapture&) = delete;

    // Builds the recording and shows its window; while running only runs it
    // again. A failure has shown its message and leaves it torn down.
    void start();
    void pause();
    // Finishes the file and hides the window.
    void teardown();
    bool running() const { return running_; }
    // Tears down on a report that ends the stream; true when it did.
    bool pollEvents();

    double rate() const { return rate_; }
    double timeLimit() const { return timeLimit_; }
    const std::string& deviceName() const { return deviceName_; }
    const std::string& file() const { return file_; }
    CVideoWindow* window() const { return window_; }
    VideoRecording* recording() const { return recording_.get(); }

private:
    QWidget* owner_;
    int deviceIndex_;
    std::string deviceName_;
    std::string file_;
    double rate_;
    double timeLimit_;
    std::unique_ptr<VideoRecording> recording_;
    QPointer<CVideoWindow> window_;
    bool running_ = false;
};

} // namespace halvera
