#pragma once

#include "acquire/VideoSystem.h"
#include "acquire/ui/VideoWindow.h"
#include "image/PackedDib.h"

#include <QPointer>
#include <memory>
#include <string>

class QWidget;

namespace halvera {

struct AppSettings;

// The live preview of the chosen video source in the "Preview Window", and
// single frames grabbed from it. It takes the source from the settings when
// it is created; useSource changes it for the next build.
class CVideoPreview {
public:
    CVideoPreview(const AppSettings& settings, QWidget* owner);
    ~CVideoPreview();
    CVideoPreview(const CVideoPreview&) = delete;
    CVideoPreview& operator=(const CVideoPreview&) = delete;

    // Builds the stream and shows its window; while running only runs the
    // stream again (after a pause). A failure has shown its message and
    // leaves the preview torn down.
    void start();
    void pause();
    // The source the next build uses.
    void useSource(int index, const std::string& name);
    // Stops the stream and hides its window; start() builds it again.
    void teardown();
    bool running() const { return running_; }

    // The newest frame as a 24-bit picture; empty while none has arrived.
    PackedDib snap();
    // Shows the device's adjustable properties (the "Filter" dialog).
    void showFilter();
    // Tears down on a report that ends the stream (the device went away).
    void pollEvents();

    CVideoWindow* window() const { return window_; }
    LiveVideo* stream() const { return stream_.get(); }

private:
    QWidget* owner_;
    int deviceIndex_;
    std::string deviceName_;
    std::unique_ptr<LiveVideo> stream_;
    QPointer<CVideoWindow> window_;
    bool running_ = false;
    bool filterOpen_ = false;
};

} // namespace halvera
