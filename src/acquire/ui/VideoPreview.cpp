#include "acquire/ui/VideoPreview.h"

#include "acquire/ui/VideoFilterDialog.h"
#include "acquire/ui/VideoWindow.h"
#include "image/AppSettings.h"

namespace halvera {

CVideoPreview::CVideoPreview(const AppSettings& settings, QWidget* owner)
    : owner_(owner), deviceIndex_(settings.CaptureDevice), deviceName_(settings.CaptureName) {}

CVideoPreview::~CVideoPreview() {
    teardown();
}

void CVideoPreview::start() {
    if (running_) {
        stream_->run();
        return;
    }
    teardown();
    stream_ = Video().openPreview(deviceIndex_, deviceName_);
    if (!stream_)
        return;
    LiveVideo* stream = stream_.get();
    window_ = new CVideoWindow(owner_, QStringLiteral("Preview Window"),
                               [stream] { return stream->snapshot(); });
    // Closing the window ends the preview, as the user's abort of a stream does.
    QObject::connect(window_, &CVideoWindow::closedByUser, window_, [this] { teardown(); });
    window_->present(stream_->videoSize());
    running_ = true;
}

void CVideoPreview::pause() {
    if (running_)
        stream_->pause();
}

void CVideoPreview::useSource(int index, const std::string& name) {
    deviceIndex_ = index;
    deviceName_ = name;
}

void CVideoPreview::teardown() {
    // The window goes first: it reads its frames from the stream.
    if (window_) {
        window_->disconnect();
        window_->hide();
        window_->deleteLater();
    }
    window_ = nullptr;
    stream_.reset();
    running_ = false;
}

PackedDib CVideoPreview::snap() {
    return running_ ? stream_->snapshot() : PackedDib();
}

void CVideoPreview::showFilter() {
    if (!running_)
        return;
    filterOpen_ = true;
    CVideoFilterDialog(*stream_).exec();
    filterOpen_ = false;
}

void CVideoPreview::pollEvents() {
    // The open "Filter" dialog works on the stream: its end waits on the bus
    // until the dialog is closed.
    if (filterOpen_)
        return;
    if (stream_ && !stream_->takeEvents().empty())
        teardown();
}

} // namespace halvera
